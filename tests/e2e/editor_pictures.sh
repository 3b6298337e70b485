#!/usr/bin/env bash
# The README's pictures of the editor (editor_pictures.script, which tools/screenshots.sh runs
# for docs/): EDIT typed in the game on map01 opens the editor on map01 with its picture as
# underlay, the right way up; the elements keep their own colours after the game's drawing;
# a line chain's rubber band follows the mouse.
set -euo pipefail
exe=$1
root=$2
source "$(dirname "$0")/lib/editor.bash"
copy_data
cp "$root/data/maps/map01.map" "$root/data/maps/map01.tga" "$work/data/maps/"

sed "s#@SHOTS@#$shots#g" "$root/tests/e2e/editor_pictures.script" > "$work/pictures.script"
run_script "$work/pictures.script" "$work/pictures.log"
console_lines "$work/pictures.log" | grep -xF "Executing Console Command: EDIT" > /dev/null || fail "no EDIT"
grep '^CONSOLE: WARNING' "$work/pictures.log" > "$work/warnings" || true
diff -u - "$work/warnings" <<'LOG' || fail "the warnings differ"
CONSOLE: WARNING: "map01" has unsaved changes; SAVE it, or close the window again to discard them
LOG
for picture in editor-map01 editor-states editor-chain; do
  [ -s "$shots/$picture.png" ] || fail "no $picture.png"
done

# The underlay at half its brightness: a peg's glow at (404, 124) and the calm field at
# (288, 672), each where map01's picture has it with y up (its first stored row at y = 0).
for point in "404 124" "288 672"; do
  # shellcheck disable=SC2086
  texel=$(colour_at "$work/data/maps/map01.tga" $point)
  expected=$(awk -v c="$texel" 'BEGIN { split(c, t); print t[1] * 127 / 255, t[2] * 127 / 255, t[3] * 127 / 255 }')
  # shellcheck disable=SC2046,SC2086
  got=$(colour_at "$shots/editor-map01.png" $(pixel_of $point))
  same_colour "$got" "$expected" || fail "the underlay at ($point) is $got, not $expected"
done
# Plain, selected and highlighted objects all have the plain object's purple inside.
for point in "372 391" "796 455" "160 224"; do
  # shellcheck disable=SC2046,SC2086
  got=$(colour_at "$shots/editor-map01.png" $(pixel_of $point))
  same_colour "$got" "128 0 128" || fail "the object at ($point) is $got inside, not purple"
done
# The rubber band from (832, 640) to the mouse at (896, 704), in magenta.
# shellcheck disable=SC2046
got=$(colour_at "$shots/editor-chain.png" $(pixel_of 864 672))
same_colour "$got" "255 0 255" || fail "no rubber band: $got"
echo "editor pictures: ok"
