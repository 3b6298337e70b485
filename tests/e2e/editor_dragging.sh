#!/usr/bin/env bash
# Dragging in the editor, by scripted mouse on the real program (grid 64, snap on): an
# unselected object moves alone and is unselected again on release; a selected one moves the
# whole selection, which stays selected; a vertex lands on a grid point at the first frame of
# movement; a wheel notch during a drag ends it without deselecting what was dragged. The saved
# maps show where everything went, and Delete over empty space shows what stayed selected.
set -euo pipefail
exe=$1
root=$2
source "$(dirname "$0")/lib/editor.bash"
copy_data

write_map DRAG <<'MAP'
Vertexes { (500, 600) }
Linedefs { }
Objects { (192, 192) (448, 192) (704, 192) (192, 704) }
MAP

# Holds the left button on the element at a world point and drags it to another, with a
# one-pixel nudge first: the drag begins at the first movement, from where the mouse is then.
drag() {
  local x y
  point_at "$1" "$2"
  button down left
  read -r x y < <(pixel_of "$1" "$2")
  mouse_to $((x + 1)) "$y"
  point_at "$3" "$4"
}

begin_script "$work/drag.script"
command_line "LOAD DRAG"
drag 500 600 505 610  # the vertex: on the grid point at once
command_line "SAVE VERTEX"
button up left
drag 192 192 192 320  # the first object, unselected, two cells up
button up left
point_at 448 192  # the second and third selected
click
point_at 704 192
click
drag 448 192 512 192  # the second one cell right: the third goes with it
button up left
command_line "SAVE MOVED"
point_at 896 896  # nothing near: Delete takes the selection only
press 0x2E
command_line "SAVE SELECTED"
drag 192 704 256 704  # the fourth, unselected, and a wheel notch before the release
event wheel 1
button up left
command_line "SAVE WHEEL"
point_at 896 896
press 0x2E
command_line "SAVE KEPT"
end_script
run_script "$work/drag.script" "$work/drag.log"

expect_map VERTEX <<'MAP'
Vertexes
{
\t(512, 640)
}

Linedefs
{
}

Objects
{
\t(192, 192)
\t(448, 192)
\t(704, 192)
\t(192, 704)
}

MAP

expect_map MOVED <<'MAP'
Vertexes
{
\t(512, 640)
}

Linedefs
{
}

Objects
{
\t(192, 320)
\t(512, 192)
\t(768, 192)
\t(192, 704)
}

MAP

# The object dragged unselected is unselected again; the two selected ones went.
expect_map SELECTED <<'MAP'
Vertexes
{
\t(512, 640)
}

Linedefs
{
}

Objects
{
\t(192, 320)
\t(192, 704)
}

MAP

expect_map WHEEL <<'MAP'
Vertexes
{
\t(512, 640)
}

Linedefs
{
}

Objects
{
\t(192, 320)
\t(256, 704)
}

MAP

# The wheel ended the drag: what it took along is still selected.
expect_map KEPT <<'MAP'
Vertexes
{
\t(512, 640)
}

Linedefs
{
}

Objects
{
\t(192, 320)
}

MAP
! grep -q '^CONSOLE: WARNING' "$work/drag.log" || fail "$(grep '^CONSOLE: WARNING' "$work/drag.log")"
echo "editor dragging: ok"
