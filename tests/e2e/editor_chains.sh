#!/usr/bin/env bash
# Line chains in the editor, by scripted mouse and keys on the real program: a double-click
# and Escape leave the map as it was, on empty space, on a vertex that has a linedef and on a
# lone vertex (which the chain did not make, so it stays); a click
# on the chain's own start point adds nothing; a double-click, two clicks and Escape leave two
# linedefs on three new vertexes, no floating one, and the editor back in its first mode (where
# a right double-click places an object).
set -euo pipefail
exe=$1
root=$2
source "$(dirname "$0")/lib/editor.bash"
copy_data

write_map CHAIN <<'MAP'
Vertexes { (128, 128) (384, 128) (768, 768) }
Linedefs { 0, 1 }
Objects { }
MAP

begin_script "$work/chain.script"
command_line "LOAD CHAIN"
command_line "SAVE BEFORE"
point_at 512 512  # empty space
double_click
press 0x1B
command_line "SAVE EMPTY"
point_at 128 128  # the linedef's first vertex
double_click
press 0x1B
command_line "SAVE ONVERTEX"
point_at 768 768  # the lone vertex
double_click
press 0x1B
command_line "SAVE LONE"
point_at 128 640
double_click
point_at 200 700
point_at 136 632  # back at the start point (snapped)
click
point_at 384 640
click
point_at 384 896
click
press 0x1B
point_at 640 320
double_click right
command_line "SAVE CHAINED"
end_script
run_script "$work/chain.script" "$work/chain.log"

expect_map BEFORE <<'MAP'
Vertexes
{
\t(128, 128)
\t(384, 128)
\t(768, 768)
}

Linedefs
{
\t0, 1
}

Objects
{
}

MAP
maps=$work/data/maps
cmp "$maps/BEFORE.map" "$maps/EMPTY.map" || fail "a double-click and Escape on empty space changed the map"
cmp "$maps/BEFORE.map" "$maps/ONVERTEX.map" || fail "a double-click and Escape on a vertex changed the map"

cmp "$maps/BEFORE.map" "$maps/LONE.map" || fail "a chain started on a lone vertex and ended at once took the vertex"

expect_map CHAINED <<'MAP'
Vertexes
{
\t(128, 128)
\t(384, 128)
\t(768, 768)
\t(128, 640)
\t(384, 640)
\t(384, 896)
}

Linedefs
{
\t0, 1
\t3, 4
\t4, 5
}

Objects
{
\t(640, 320)
}

MAP
! grep -q '^CONSOLE: WARNING' "$work/chain.log" || fail "$(grep '^CONSOLE: WARNING' "$work/chain.log")"
echo "editor chains: ok"
