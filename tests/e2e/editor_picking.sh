#!/usr/bin/env bash
# The editor's hover picking and click selection, by scripted mouse and keys on the real
# program: an object 5 units away wins over a linedef right under the cursor; at zoom 12 a
# linedef 30 units away is highlighted and one 40 units away is not; a click selects a
# linedef and a second click deselects it; a click on a vertex selects nothing. SET on the ~
# command line marks whatever is highlighted, Delete removes the selection (and what is under
# the mouse), and the saved maps show both.
set -euo pipefail
exe=$1
root=$2
source "$(dirname "$0")/lib/editor.bash"
copy_data

write_map PICK <<'MAP'
Vertexes { (64, 512) (448, 512) (640, 128) (896, 128) (640, 832) (896, 832) (640, 448) (896, 448) (128, 896) }
Linedefs { 0, 1 2, 3 4, 5 6, 7 }
Objects { (256, 517) }
MAP

begin_script "$work/pick.script"
command_line "LOAD PICK"
point_at 256 512  # on the first linedef, 5 units below the object
command_line "SET HIT 1"
point_at 768 158  # 30 units above the second
command_line "SET HIT 2"
point_at 768 872  # 40 units above the third
command_line "SET HIT 3"
command_line "SAVE PICKED"

point_at 768 140  # the second linedef: one click selects it
click
point_at 768 452  # the fourth: two clicks leave it as it was
command_line "SET HIT 4"
click
click
point_at 130 893  # the lone vertex: a click selects nothing
click
point_at 512 700  # nothing near: Delete takes the selection only
press 0x2E
command_line "SAVE CLICKED"
point_at 130 893  # Delete with the vertex under the mouse takes it: it was the one clicked
press 0x2E
command_line "SAVE VERTEX"
end_script
run_script "$work/pick.script" "$work/pick.log"

expect_map PICKED <<'MAP'
Vertexes
{
\t(64, 512)
\t(448, 512)
\t(640, 128)
\t(896, 128)
\t(640, 832)
\t(896, 832)
\t(640, 448)
\t(896, 448)
\t(128, 896)
}

Linedefs
{
\t0, 1
\t2, 3
\t{
\t\t"HIT" "2"
\t}
\t4, 5
\t6, 7
}

Objects
{
\t(256, 517)
\t{
\t\t"HIT" "1"
\t}
}

MAP

# The selected linedef went with its two vertexes.
expect_map CLICKED <<'MAP'
Vertexes
{
\t(64, 512)
\t(448, 512)
\t(640, 832)
\t(896, 832)
\t(640, 448)
\t(896, 448)
\t(128, 896)
}

Linedefs
{
\t0, 1
\t2, 3
\t4, 5
\t{
\t\t"HIT" "4"
\t}
}

Objects
{
\t(256, 517)
\t{
\t\t"HIT" "1"
\t}
}

MAP

grep -q '(128, 896)' "$work/data/maps/VERTEX.map" && fail "the lone vertex was not under the mouse"
[ "$(grep -c '^CONSOLE: Saved map ' "$work/pick.log")" -eq 3 ] || fail "three saves expected"
! grep -q '^CONSOLE: WARNING' "$work/pick.log" || fail "$(grep '^CONSOLE: WARNING' "$work/pick.log")"
echo "editor picking: ok"
