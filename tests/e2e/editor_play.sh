#!/usr/bin/env bash
# A map made in the editor and played, as a user does it on the real program: the windowed
# editor from the start-up dialog; a closed triangle drawn as one line chain (a double-click,
# two clicks, a right click on the first vertex); an object placed with a right double-click
# and given BALLSPAWN 1 and COLLECT 0 on the ~ command line; a second object; PLAY refused
# while the map has no file; SAVE TEST, which writes exactly the writer's text and keeps the
# picture already there; a third object; PLAY, which warns that the third is not saved, and
# PLAY again, which plays TEST from its file: that picture, the ball at the spawn, the second
# object and not the third, and the shot bounces off the triangle.
set -euo pipefail
exe=$1
root=$2
source "$(dirname "$0")/lib/editor.bash"
copy_data
# A picture of someone's own beside a map that has no file yet: SAVE keeps it (it is not the
# one the painter would make), and the game plays over it.
write_picture "$work/data/maps/TEST.tga" 40 90 160

begin_script "$work/play.script"
point_at 128 128
double_click
point_at 512 128
click
point_at 320 448
click
point_at 128 128
click right
point_at 192 320
double_click right
command_line "SET BALLSPAWN 1"
command_line "SET COLLECT 0"
point_at 704 704
double_click right
command_line "PLAY"
command_line "SAVE TEST"
point_at 832 192  # not saved: the game must not see it
double_click right
screenshot "$shots/editor.png"
command_line "PLAY"
command_line "PLAY" closes
next_frame 5
screenshot "$shots/game.png"
press 0x20  # the first shot the game offers falls onto the triangle's left side
next_frame 100
end_script
run_script "$work/play.script" "$work/play.log"

expect_map TEST <<'MAP'
Vertexes
{
\t(128, 128)
\t(512, 128)
\t(320, 448)
}

Linedefs
{
\t0, 1
\t1, 2
\t2, 0
}

Objects
{
\t(192, 320)
\t{
\t\t"BALLSPAWN" "1"
\t\t"COLLECT" "0"
\t}
\t(704, 704)
}

MAP

console_lines "$work/play.log" | grep -E '^(Executing Console Command|Saved map|Kept|Painted|WARNING)' > "$work/commands"
diff -u - "$work/commands" <<'LOG' || fail "the commands' log differs"
Executing Console Command: SET BALLSPAWN 1
Executing Console Command: SET COLLECT 0
Executing Console Command: PLAY
WARNING: the map has no name yet; save it with SAVE NAME, then PLAY
Executing Console Command: SAVE TEST
Saved map "data/maps/TEST.map"
Kept background picture "data/maps/TEST.tga", which was not painted from the map
Executing Console Command: PLAY
WARNING: "TEST" has unsaved changes; SAVE it, or PLAY again to discard them
Executing Console Command: PLAY
LOG
# On the field (y down, as the game mirrors the map): TEST's background, the ball at the spawn,
# the second object, and nothing where the unsaved third would be.
background="40 90 160"
same_colour "$(colour_at "$shots/game.png" 600 900)" "$background" || fail "not TEST's background"
same_colour "$(colour_at "$shots/game.png" 192 704)" "$background" && fail "no ball at the spawn"
same_colour "$(colour_at "$shots/game.png" 704 320)" "$background" && fail "no item for the second object"
same_colour "$(colour_at "$shots/game.png" 832 832)" "$background" || fail "the unsaved object is played"
grep -q '^CONSOLE: LINEDEF Collision occurred; .* linedef = (320,576)->(128,896);' "$work/play.log" ||
  fail "the shot did not bounce off the triangle's third side"
echo "editor play: ok"
