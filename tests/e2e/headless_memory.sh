#!/usr/bin/env bash
# A long headless run keeps its memory: 5 000 frames of aiming (the arrow turning every frame)
# by script on the offscreen driver stay under 300 MB. Each swap must hand its frame to the
# driver, which would otherwise queue every frame it was given.
# windows: skip it measures the Linux offscreen driver's memory
set -euo pipefail
exe=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$root"
# The sanitizers' own bookkeeping is not the program's memory.
if ldd "$exe" 2> /dev/null | grep -e libasan -e libtsan > /dev/null; then
  echo "headless memory: skipped in a sanitizer build"
  exit 0
fi
cat > "$work/aim.script" <<'SCRIPT'
frame 60 key down 0x41
frame 61 key up 0x41
frame 100 key down 0x25
frame 101 key repeat 0x25
frame 5100 key up 0x25
frame 5101 close
SCRIPT
peak=$(PINWHIRL_SCRIPT="$work/aim.script" PINWHIRL_FIXED_STEP=0.01 python3 -c '
import resource, subprocess, sys
status = subprocess.run([sys.argv[1]], stderr=open(sys.argv[2], "w"), timeout=600).returncode
if status != 0:
    sys.exit("the run exited with %d" % status)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss // 1024)
' "$exe" "$work/log")
grep -q "::: _Shutdown : Application (finished)" "$work/log" || { echo "the run did not end by its close"; exit 1; }
echo "headless memory: peak $peak MB after 5 000 aiming frames"
[ "$peak" -lt 300 ] || { echo "more than 300 MB"; exit 1; }
