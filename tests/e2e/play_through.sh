#!/usr/bin/env bash
# The game played by script on the shipped data (play_through.script): the title, aiming, a shot
# that bounces and takes map01's last collectible, the map-complete picture, map02. Twice, with
# byte-identical logs and pictures; the debug overlay on map01 to map03 (overlay.script).
# tools/screenshots.sh runs the same scripts for the pictures in docs/.
set -euo pipefail
exe=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$root"

# Runs a script (a file in tests/e2e, or a path) with its screenshots and log in a folder.
play() {
  local script=$1 out=$2 status=0
  [ -f "$script" ] || script="$root/tests/e2e/$script"
  mkdir -p "$out"
  sed "s#@SHOTS@#$out#g" "$script" > "$out/run.script"
  PINWHIRL_SCRIPT="$out/run.script" PINWHIRL_FIXED_STEP=0.01 timeout 120 "$exe" 2> "$out/log" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "$script exited with $status"; tail -30 "$out/log"; exit 1
  fi
}

play play_through.script "$work/one"
play play_through.script "$work/two"
cmp "$work/one/log" "$work/two/log" || { echo "the two runs logged differently"; exit 1; }
for picture in title aiming flight map-complete map02; do
  [ -s "$work/one/$picture.png" ] || { echo "no $picture.png"; exit 1; }
  cmp "$work/one/$picture.png" "$work/two/$picture.png" || { echo "$picture.png differs between runs"; exit 1; }
done
bounces=$(grep -c "^CONSOLE: \(LINEDEF\|VERTEX\) Collision occurred; " "$work/one/log" || true)
[ "$bounces" -ge 1 ] || { echo "the flight logged no bounce"; exit 1; }

# The same keys with keypad minus for Space reach the map-complete screen without a shot: its
# picture of frame 520 and map02's after the key must be the ones the shot led to.
sed -e '/^frame 150 /s/0x20/0x6D/' -e '/^frame 151 /s/0x20/0x6D/' -e '/flight.png/d' \
  "$root/tests/e2e/play_through.script" > "$work/complete.script"
play "$work/complete.script" "$work/complete"
cmp "$work/one/map-complete.png" "$work/complete/map-complete.png" ||
  { echo "map01 was not complete when the script expected it"; exit 1; }
cmp "$work/one/map02.png" "$work/complete/map02.png" || { echo "the key did not lead to map02"; exit 1; }

play overlay.script "$work/overlay"
for n in 01 02 03; do
  [ -s "$work/overlay/overlay-map$n.png" ] || { echo "no overlay-map$n.png"; exit 1; }
done
cmp -s "$work/overlay/overlay-map01.png" "$work/overlay/overlay-map02.png" && { echo "map02 never came"; exit 1; }
cmp -s "$work/overlay/overlay-map02.png" "$work/overlay/overlay-map03.png" && { echo "map03 never came"; exit 1; }
echo "play through: ok ($bounces bounces)"
