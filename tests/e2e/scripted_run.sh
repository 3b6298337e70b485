#!/usr/bin/env bash
# A scripted headless run of the real executable: a few key events, then the
# close box. It must exit 0 and log the whole shutdown.
set -euo pipefail
exe=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/run.script" <<'SCRIPT'
# keys the minimal game ignores, then the close box
frame 1 key down 0x41
frame 2 key repeat 0x41
frame 3 key up 0x41
frame 3 wheel 1
frame 4 mouse 20 30
frame 4 button down left
frame 5 button up left
frame 8 close
SCRIPT

cd "$root"
status=0
PINWHIRL_SCRIPT="$work/run.script" PINWHIRL_FIXED_STEP=0.01 timeout 60 "$exe" 2> "$work/log" || status=$?
if [ "$status" -ne 0 ]; then
  echo "pinwhirl exited with $status"; cat "$work/log"; exit 1
fi

expect() {
  grep -qxF -- "$1" "$work/log" || { echo "missing log line: $1"; cat "$work/log"; exit 1; }
}
expect "CONSOLE (pre-initialization!): ::: Initialization : Application (starting)"
expect "CONSOLE: ::: Initialization : Application (finished)"
expect "CONSOLE: ::: _Shutdown : Application (starting)"
expect "CONSOLE: ::: Shutdown : Renderer (finished)"
expect "CONSOLE: ::: Shutdown : Sound (finished)"
expect "CONSOLE: ::: Shutdown : Video System (finished)"
expect "CONSOLE: ::: Shutdown : Message Handler (finished)"
expect "CONSOLE: ::: Shutdown : Input System (finished)"
expect "CONSOLE: ::: Shutdown : Console (starting)"
expect "CONSOLE (pre-initialization!): ::: Shutdown : Console (finished)"
expect "CONSOLE (pre-initialization!): ::: _Shutdown : Application (finished)"
# The shutdown happens once, at the end of the frame that saw the close box.
[ "$(grep -c '::: _Shutdown : Application (starting)' "$work/log")" -eq 1 ]
echo "scripted run: ok"
