#!/usr/bin/env bash
# An unknown script line is reported with its line number before anything runs.
set -euo pipefail
exe=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '# fine\nframe 1 key down 0x41\nframe 2 jump high\n' > "$work/bad.script"
cd "$root"
status=0
PINWHIRL_SCRIPT="$work/bad.script" PINWHIRL_FIXED_STEP=0.01 timeout 60 "$exe" 2> "$work/log" || status=$?
[ "$status" -ne 0 ] || { echo "a bad script must fail"; exit 1; }
grep -qF "$work/bad.script:3: " "$work/log" || { echo "no line number in: $(cat "$work/log")"; exit 1; }
if grep -q "::: Initialization" "$work/log"; then echo "the program ran despite the bad script"; exit 1; fi
echo "bad script: ok"
