#!/usr/bin/env bash
# SOLVE on the real program, as a mapper uses it: the windowed editor from the start-up dialog,
# LOAD MAP03 and BG MAP03 on the ~ command line, SOLVE, then frames until the log says
# 'Solved "MAP03": ...'. The shot it names must complete map03 at the 0.005 s step (the solver
# tool flies it), and the final picture shows the fastest win's path in its own green. The search
# takes 8 ms of each frame's real time, so how many frames it needs depends on the machine: a run
# too short is made again, longer. (The Windows check's scripted .exe runs the program's clock
# by the script, and the whole search there takes one frame.)
# SOLVE_PICTURE=file keeps the final picture (tools/screenshots.sh makes the README's with it).
set -euo pipefail
exe=$1
root=$2
source "$(dirname "$0")/lib/editor.bash"
# The search's slices are real time: a sanitizer build flies a few times slower, and the frames
# it would need make the run a matter of minutes. The in-process SOLVE tests run there instead.
if ldd "$exe" 2> /dev/null | grep -e libasan -e libtsan > /dev/null; then
  echo "editor solve: skipped in a sanitizer build"
  exit 0
fi
copy_data
cp "$root/data/maps/map03.map" "$root/data/maps/map03.tga" "$work/data/maps/"
# The solver tool of the build that made the data writer ($3, build/tests/game_data_writer): under
# the Windows check the program is a wrapper for the .exe, and the rest is the Linux build's.
solver=$(dirname "$3")/../tools/solve
[ -x "$solver" ] || fail "no solver at $solver"

# The path's colour, in how many pixels of the map view (x below 957).
path_pixels() {
  python3 - "$root/tools/picture-difference.py" "$1" <<'PY'
import importlib.util, sys
found = importlib.util.spec_from_file_location("picture_difference", sys.argv[1])
module = importlib.util.module_from_spec(found)
found.loader.exec_module(module)
(width, height), rows = module.read_png(sys.argv[2])
print(sum(1 for row in rows for x in range(min(width, 957)) if tuple(row[x * 3 : x * 3 + 3]) == (64, 255, 96)))
PY
}

solved=
for frames in 2000 5000; do
  begin_script "$work/solve.script"
  mouse_to 1100 900  # over the info view: nothing on the map is highlighted
  command_line "LOAD MAP03"
  command_line "BG MAP03"
  command_line "SOLVE"
  frame=$frames
  screenshot "$shots/solved.png"
  end_script
  run_script "$work/solve.script" "$work/solve.log" 600
  solved=$(console_lines "$work/solve.log" | grep '^Solved "MAP03": ' || true)
  [ -n "$solved" ] && break
  echo "not solved within $frames frames; again, longer"
done
[ -n "$solved" ] || fail "no Solved line"
echo "$solved"
pattern='^Solved "MAP03": ([0-9]+) of ([0-9]+) shots win; fastest: angle ([0-9]+) power ([0-9]+), ([0-9]+\.[0-9]{2}) s$'
[[ $solved =~ $pattern ]] || fail "not of the form: $solved"
angle=${BASH_REMATCH[3]}
power=${BASH_REMATCH[4]}
seconds=${BASH_REMATCH[5]}
[ "${BASH_REMATCH[1]}" -ge 1 ] && [ "${BASH_REMATCH[1]}" -le "${BASH_REMATCH[2]}" ] || fail "counts: $solved"

# The named shot completes map03 at 0.005 s, in the time the log gives.
flown=$("$solver" --root "$work" --step 0.005 --shot "$angle" "$power" map03 2> /dev/null) ||
  fail "the solver says the shot does not win: $flown"
echo "$flown"
[[ $flown == *": won after "* ]] || fail "not won: $flown"
frames=$(sed -n 's/.* won after \([0-9]*\) frames.*/\1/p' <<< "$flown")
[ "$(awk -v f="$frames" 'BEGIN { printf "%.2f", f * 0.004999999888241291 }')" = "$seconds" ] ||
  fail "$frames frames are not $seconds s"

# The path over the map.
drawn=$(path_pixels "$shots/solved.png")
[ "$drawn" -gt 500 ] || fail "the path has $drawn pixels"
! grep -q '^CONSOLE: WARNING' "$work/solve.log" || fail "$(grep '^CONSOLE: WARNING' "$work/solve.log")"
[ -z "${SOLVE_PICTURE:-}" ] || cp "$shots/solved.png" "$SOLVE_PICTURE"
echo "editor solve: ok"
