#!/usr/bin/env bash
# The mapper's loop on the real program, from the start-up dialog's windowed editor: a closed
# box drawn as one line chain, a ball spawn (BALLSPAWN 1, COLLECT 0) and a collectible, SAVE
# MYLEVEL and PLAY at once: its walls are painted where the physics has them, and the first
# shot bounces off the box's top (and then its right side). EDIT, the top wall deleted, SAVE, PLAY: the wall is gone from
# the picture and the same shot flies out where it was. EDIT again: LOAD and BG of broken files
# refuse them, and the edited map is saved as it was. With PINWHIRL_E2E_PICTURES=folder the
# run leaves its pictures there (tools/screenshots.sh makes the README's so).
set -euo pipefail
exe=$1
root=$2
source "$(dirname "$0")/lib/editor.bash"
copy_data
# Broken files that LOAD and BG must refuse.
: > "$work/data/maps/EMPTY.map"
printf 'Vertexes { (1, 2 }\nLinedefs { } Objects { }\n' > "$work/data/maps/SYNTAX.map"
printf 'Vertexes { (1, 2) } Linedefs { 0, 1 } Objects { }\n' > "$work/data/maps/HOLE.map"
printf 'This is no picture at all, only words.' > "$work/data/maps/GARBAGE.tga"
: > "$work/data/maps/ZERO.tga"

begin_script "$work/loop.script"
# The box (256, 256)-(768, 768), y up: a double-click, three clicks, a right click on the start.
point_at 256 256
double_click
point_at 768 256
click
point_at 768 768
click
point_at 256 768
click
point_at 256 256
click right
point_at 384 640
double_click right
command_line "SET BALLSPAWN 1"
command_line "SET COLLECT 0"
point_at 640 384
double_click right
point_at 900 100  # the mouse off the map, so nothing is highlighted in the picture
screenshot "$shots/editor-loop-drawn.png"
command_line "SAVE MYLEVEL"
command_line "PLAY" closes
next_frame 5
screenshot "$shots/editor-loop-played.png"
press 0x20  # 315 degrees at half power: up to the right, into the box's top
next_frame 44
screenshot "$shots/editor-loop-flight.png"
next_frame 15
command_line "EDIT" closes
next_frame 2
point_at 512 768  # the top wall
press 0x2E
command_line "SAVE"
command_line "PLAY" closes
next_frame 5
screenshot "$shots/editor-loop-replayed.png"
press 0x20
next_frame 60
command_line "EDIT" closes
next_frame 2
for name in EMPTY SYNTAX HOLE; do command_line "LOAD $name"; done
for name in GARBAGE ZERO; do command_line "BG $name"; done
command_line "SAVE CHECK"
end_script
run_script "$work/loop.script" "$work/loop.log"

expect_map MYLEVEL <<'MAP'
Vertexes
{
\t(256, 256)
\t(768, 256)
\t(768, 768)
\t(256, 768)
}

Linedefs
{
\t0, 1
\t1, 2
\t3, 0
}

Objects
{
\t(384, 640)
\t{
\t\t"BALLSPAWN" "1"
\t\t"COLLECT" "0"
\t}
\t(640, 384)
}

MAP
cmp -s "$work/data/maps/MYLEVEL.map" "$work/data/maps/CHECK.map" || fail "the refused files changed the edited map"

console_lines "$work/loop.log" |
  grep -E '^(Executing Console Command: (SAVE|PLAY|EDIT|LOAD|BG)|Saved map|Painted|Kept|WARNING|(LINEDEF|VERTEX) Collision)' |
  sed -E 's/^((LINEDEF|VERTEX) Collision).*(linedef|vertex) = ([^;]*);.*/\1 \4/' > "$work/commands"
diff -u - "$work/commands" <<'LOG' || fail "the log differs"
Executing Console Command: SAVE MYLEVEL
Saved map "data/maps/MYLEVEL.map"
Painted background picture "data/maps/MYLEVEL.tga"
Executing Console Command: PLAY
LINEDEF Collision (768,256)->(256,256)
LINEDEF Collision (768,768)->(768,256)
Executing Console Command: EDIT
Executing Console Command: SAVE
Saved map "data/maps/MYLEVEL.map"
Painted background picture "data/maps/MYLEVEL.tga"
Executing Console Command: PLAY
Executing Console Command: EDIT
Executing Console Command: LOAD EMPTY
WARNING: cannot read map file "data/maps/EMPTY.map": Syntax error on line 1 of buffer "data/maps/EMPTY.map": couldn't find expected token-word "Vertexes"
Executing Console Command: LOAD SYNTAX
WARNING: cannot read map file "data/maps/SYNTAX.map": Syntax error on line 1 of buffer "data/maps/SYNTAX.map": couldn't find expected ' ) ' character
Executing Console Command: LOAD HOLE
WARNING: cannot read map file "data/maps/HOLE.map": Syntax error on line 1 of buffer "data/maps/HOLE.map": linedef vertex number 1 names no vertex of this file (it has 1, numbered from 0)
Executing Console Command: BG GARBAGE
WARNING: cannot read underlay picture "data/maps/GARBAGE.tga": it is not an uncompressed true-colour TGA picture (the check ( !memcmp( primerTGA, _primerTGA_correct, sizeof( primerTGA ) ) ) failed)
Executing Console Command: BG ZERO
WARNING: cannot read underlay picture "data/maps/ZERO.tga": the file ends early (the check ( bytesRead == sizeof( primerTGA ) ) failed)
Executing Console Command: SAVE CHECK
Saved map "data/maps/CHECK.map"
Painted background picture "data/maps/CHECK.tga"
LOG

# The field, y down: the walls at y = 256 and 768 and x = 256 and 768 are lit, the field
# between and beside them is dark; after the edit the top wall is gone and only it.
bright() { awk -v c="$1" 'BEGIN { split(c, x); exit !(x[1] > 180 && x[2] > 180 && x[3] > 180) }'; }
dark() { awk -v c="$1" 'BEGIN { split(c, x); exit !(x[1] < 90 && x[2] < 90 && x[3] < 90) }'; }
for shot in played replayed; do
  for point in "512 768" "256 512" "768 512" "512 256"; do
    # shellcheck disable=SC2086
    colour=$(colour_at "$shots/editor-loop-$shot.png" $point)
    if [ "$shot $point" = "replayed 512 256" ]; then
      dark "$colour" || fail "$shot: the deleted wall still shows at ($point): $colour"
    else
      bright "$colour" || fail "$shot: no wall at ($point): $colour"
    fi
  done
  for point in "450 300" "600 500" "900 512" "512 100"; do
    # shellcheck disable=SC2086
    colour=$(colour_at "$shots/editor-loop-$shot.png" $point)
    dark "$colour" || fail "$shot: ($point) off the walls is $colour"
  done
done
if [ -n "${PINWHIRL_E2E_PICTURES:-}" ]; then
  cp "$shots/editor-loop-drawn.png" "$shots/editor-loop-flight.png" "$PINWHIRL_E2E_PICTURES/"
fi
echo "editor loop: ok"
