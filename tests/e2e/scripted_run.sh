#!/usr/bin/env bash
# A scripted headless run of the real executable: a few key events, then the
# close box. It must exit 0 and log the whole shutdown.
set -euo pipefail
exe=$1
root=$2
write_data=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The engine's lifecycle does not depend on the shipped data: the tests' own small folder does.
"$write_data" "$work"

cat > "$work/run.script" <<'SCRIPT'
# keys and clicks the title ignores in its first half second, then the close box
frame 1 key down 0x41
frame 2 key repeat 0x41
frame 3 key up 0x41
frame 3 wheel 1
frame 4 mouse 20 30
frame 4 button down left
frame 5 button up left
frame 8 close
SCRIPT

cd "$work"

# Runs pinwhirl with a script; it must exit 0 and end with the whole shutdown log, once.
run() {
  local script=$1 log=$2
  local status=0
  PINWHIRL_SCRIPT="$script" PINWHIRL_FIXED_STEP=0.01 timeout 60 "$exe" 2> "$log" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "pinwhirl exited with $status"; cat "$log"; exit 1
  fi
  grep -qxF "CONSOLE (pre-initialization!): ::: Initialization : Application (starting)" "$log" &&
    grep -qxF "CONSOLE: ::: Initialization : Application (finished)" "$log" ||
    { echo "start-up incomplete"; cat "$log"; exit 1; }
  [ "$(grep -c '::: _Shutdown : Application (starting)' "$log")" -eq 1 ] ||
    { echo "the shutdown must run exactly once"; cat "$log"; exit 1; }
  # The map's elements trace their own destruction when the game goes at the very end.
  sed -n '/::: _Shutdown : Application (starting)/,$p' "$log" | grep -vx '~MapElement() called' > "$log.shutdown"
  diff -u "$work/expected-shutdown" "$log.shutdown" || { echo "the shutdown log differs"; exit 1; }
}

cat > "$work/expected-shutdown" <<'LOG'
CONSOLE: ::: _Shutdown : Application (starting)
CONSOLE: ::: Shutdown : Renderer (starting)
CONSOLE: ::: Shutdown : Renderer (finished)
CONSOLE: ::: Shutdown : Sound (starting)
CONSOLE: ::: Shutdown : Sound (finished)
CONSOLE: ::: Shutdown : Video System (starting)
CONSOLE: ::: Shutdown : Video System (finished)
CONSOLE: ::: Shutdown : Message Handler (starting)
CONSOLE: ::: Shutdown : Message Handler (finished)
CONSOLE: ::: Shutdown : Input System (starting)
CONSOLE: ::: Shutdown : Input System (finished)
CONSOLE: ::: Shutdown : Console (starting)
CONSOLE (pre-initialization!): ::: Shutdown : Console (finished)
CONSOLE (pre-initialization!): ::: _Shutdown : Application (finished)
LOG

run "$work/run.script" "$work/log"

# Escape ends play the same way (a key after the title's half second starts it).
printf 'frame 60 key down 0x41\nframe 61 key down 0x1B\nframe 62 key up 0x1B\n' > "$work/escape.script"
run "$work/escape.script" "$work/escape.log"
echo "scripted run: ok"
