#!/usr/bin/env bash
# The Windows check: cross-builds pinwhirl.exe for x86_64 and i686 with MinGW-w64 (no
# warning allowed), then under wine and Xvfb, in a fresh wine prefix, runs the Windows
# platform's own tests and the end-to-end tests of tests/e2e (as ctest runs them, the
# scripted .exe in place of the Linux program), with the data/ of the Linux build, and
# compares a scripted run's log and picture with the Linux program's. .ci/run runs it
# after the Linux suites.
#
#   tools/windows-check.sh [linux-build-dir]      (default: build)
#
# An e2e script that cannot run against the .exe says so in a line of its own:
#   # windows: skip <reason>
# The i686 .exe runs under wine32 where that can be installed, else it is built only.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux_build=${1:-build}

say() { printf 'windows-check: %s\n' "$*"; }

# --- packages ---
export DEBIAN_FRONTEND=noninteractive
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
install() {
  local missing=()
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  apt-get install -y --no-install-recommends "${missing[@]}" > /dev/null ||
    { apt-get update > /dev/null && apt-get install -y --no-install-recommends "${missing[@]}" > /dev/null; }
}
tools/install-deps.sh
install g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev googletest wine64 xvfb python3
archs=(x86_64)
wine32_packages=(wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386)
if dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386; then
  if install "${wine32_packages[@]}"; then
    archs+=(i686)
  fi
fi
[ ${#archs[@]} -eq 2 ] || say "wine32 cannot be installed: the i686 .exe is built, not run"

# --- builds ---
for arch in x86_64 i686; do
  dir=build-win-$arch
  toolchain=()  # a configured build keeps its toolchain
  [ -f "$dir/CMakeCache.txt" ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-$arch.cmake)
  cmake -S . -B "$dir" -G Ninja "${toolchain[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPINWHIRL_WERROR=ON > /dev/null
  cmake --build "$dir"
done
# The data the program reads is made by the Linux build's host tools.
cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$linux_build"

# --- wine, Xvfb and ALSA's null device (a real waveOut device that plays nothing) ---
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2> /dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
display=90
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
Xvfb :$display -screen 0 1600x1200x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.1; done
export DISPLAY=:$display
printf '</usr/share/alsa/alsa.conf>\npcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$work/asound.conf"
export ALSA_CONFIG_PATH=$work/asound.conf
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
PATH=/usr/lib/wine:$PATH
wine64 wineboot -i > "$work/wineboot.log" 2>&1

passed=0
failed=0
check() {  # check <name> <command...>: runs one check and counts it
  local name=$1
  shift
  if "$@" > "$work/out" 2>&1; then
    passed=$((passed + 1))
    say "ok: $name"
  else
    failed=$((failed + 1))
    say "FAILED: $name"
    tail -n 40 "$work/out"
  fi
}

# min and max are function-like macros of the Windows SDK's windows.h in C++ too (MinGW's
# defines them for C only, so the cross-build cannot see them): (std::min)(a, b) survives both.
no_sdk_macro_calls() { ! grep -rnE '\b(min|max)[[:space:]]*\(' Engine Game --include='*.cpp' --include='*.h'; }
check "no min( or max( in Engine/ and Game/" no_sdk_macro_calls

# The title, then a shot straight up (angle 270: 45 Left presses from 315) that falls back onto
# its tee, so the log holds collision lines whose tiny horizontal motion shows the shot's
# direction to the last bit; a screenshot of the title picture as named.
comparison_script() {
  printf 'dialog 1004 ok\nframe 10 screenshot %s\nframe 60 key down 0x20\nframe 61 key up 0x20\n' "$1"
  for ((press = 0; press < 45; ++press)); do
    printf 'frame %d key down 0x25\nframe %d key up 0x25\n' $((62 + 2 * press)) $((63 + 2 * press))
  done
  printf 'frame 160 key down 0x20\nframe 161 key up 0x20\nframe 400 close\n'
}

# The same run, its log and its frame-10 picture, on Linux and under wine. The log differs
# only in the display-mode count (wine lists the X screen's modes); in the picture, text is
# drawn by wine's own font rasteriser, so at most a few per cent of its pixels may differ.
compare_with_linux() {
  local exe=$1 out=$work/compare
  mkdir -p "$out"
  comparison_script "$out/linux.png" > "$out/linux.script"
  comparison_script "$out/wine.png" > "$out/wine.script"
  PINWHIRL_SCRIPT=$out/linux.script PINWHIRL_FIXED_STEP=0.01 SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    timeout 60 "$linux_build/pinwhirl" 2> "$out/linux.log" || { cat "$out/linux.log"; return 1; }
  PINWHIRL_SCRIPT=$out/wine.script PINWHIRL_FIXED_STEP=0.01 timeout 60 "$exe" 2> "$out/wine.log" ||
    { cat "$out/wine.log"; return 1; }
  local modes='^CONSOLE: VideoSystem : found [0-9]+ display mode\(s\) $'
  grep -q '^CONSOLE: LINEDEF Collision occurred' "$out/linux.log" || { echo "the shot hit nothing"; return 1; }
  diff -u <(grep -Ev "$modes" "$out/linux.log") <(grep -Ev "$modes" "$out/wine.log") || return 1
  /usr/bin/python3 tools/picture-difference.py "$out/linux.png" "$out/wine.png" 2
}

# The e2e tests' command lines (tab-separated), the Linux program replaced by $1.
e2e_commands() {
  ctest --test-dir "$linux_build" --show-only=json-v1 -R '^e2e_' | /usr/bin/python3 -c '
import json, sys
linux_program = sys.argv[1]
for test in json.load(sys.stdin)["tests"]:
    print("\t".join(sys.argv[2] if word == linux_program else word for word in test["command"]))
' "$(cd "$linux_build" && pwd)/pinwhirl" "$1"
}

for arch in "${archs[@]}"; do
  dir=$root/build-win-$arch
  loader=wine64
  [ "$arch" = i686 ] && loader=wine
  printf '#!/bin/sh\nexec %s %s "$@"\n' "$loader" "$dir/scripted/pinwhirl.exe" > "$work/pinwhirl-$arch"
  chmod +x "$work/pinwhirl-$arch"
  check "$arch windows_platform_test" timeout 300 "$loader" "$dir/windows_platform_test.exe"
  check "$arch log and picture as on Linux" compare_with_linux "$work/pinwhirl-$arch"
  # Each e2e test with the command line ctest gives it, the .exe in place of the Linux program.
  while IFS=$'\t' read -r -a command; do
    script=${command[1]}
    skip=$(sed -n 's/^# windows: skip *//p' "$script" | head -n 1)
    if [ -n "$skip" ]; then
      say "skipped: $arch $(basename "$script") ($skip)"
      continue
    fi
    check "$arch $(basename "$script")" "${command[@]}"
  done < <(e2e_commands "$work/pinwhirl-$arch")
done

echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
