#!/usr/bin/env bash
# Where the back buffer is kept, a frame draws only what changed since the last one; where it is
# not (PINWHIRL_BACK_BUFFER=discarded: the swap promises nothing and leaves the buffer magenta),
# every frame draws everything. The game played by script both ways must show the same pictures,
# byte for byte: the title, aiming, the flight with the frame rate shown and the command line
# opened over it, typed in and cancelled, the map-complete picture and map02. Only under the
# console's translucent panel (shown with the command line) may a channel differ by one level:
# llvmpipe rounds its half-and-half blend one way or the other by the tiles a draw covers.
# windows: skip PINWHIRL_BACK_BUFFER is the Linux offscreen driver's; wine's drivers keep nothing
set -euo pipefail
exe=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$root"

{
  # play_through's keys: the title, Up held from power 50 to 71, Right once, Space at frame 150.
  grep -v -e screenshot -e close tests/e2e/play_through.script
  printf 'frame %s key %s\n' 160 'down 0x7A' 161 'up 0x7A' 200 'down 0xC0' 201 'up 0xC0' 210 'down 0x48' \
    211 'up 0x48' 230 'down 0x1B' 231 'up 0x1B' 300 'down 0x7A' 301 'up 0x7A'
  for frame in $(seq 2 2 600); do echo "frame $frame screenshot @SHOTS@/f$frame.png"; done
  echo "frame 601 close"
} > "$work/redraw.script"

play() {
  local out=$1 status=0
  mkdir -p "$out"
  sed "s#@SHOTS@#$out#g" "$work/redraw.script" > "$out/run.script"
  PINWHIRL_SCRIPT="$out/run.script" PINWHIRL_FIXED_STEP=0.01 timeout 300 "$exe" 2> "$out/log" || status=$?
  [ "$status" -eq 0 ] || { echo "the run exited with $status"; tail -30 "$out/log"; exit 1; }
}

play "$work/kept"
PINWHIRL_BACK_BUFFER=discarded play "$work/discarded"
cmp "$work/kept/log" "$work/discarded/log" || { echo "the two runs logged differently"; exit 1; }
count=0
for picture in "$work"/kept/f*.png; do
  name=$(basename "$picture")
  frame=${name//[^0-9]/}
  count=$((count + 1))
  cmp -s "$picture" "$work/discarded/$name" && continue
  # The console is shown from the frame after the ~ key (200) to the one of Escape (230).
  if [ "$frame" -gt 200 ] && [ "$frame" -le 232 ] &&
    python3 "$root/tools/picture-difference.py" "$picture" "$work/discarded/$name" 0 1 > /dev/null; then
    continue
  fi
  echo "$name differs where every frame is drawn whole"
  python3 "$root/tools/picture-difference.py" "$picture" "$work/discarded/$name" 0 1
  exit 1
done
[ "$count" -eq 300 ] || { echo "only $count pictures"; exit 1; }
grep -q "LINEDEF Collision occurred\|VERTEX Collision occurred" "$work/kept/log" || { echo "no bounce"; exit 1; }
echo "partial redraw: ok ($count pictures)"
