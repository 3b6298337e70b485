#!/usr/bin/env bash
# Nothing unsaved is lost, on the real program from the start-up dialog's windowed editor: an
# object placed and saved as ONE; a second placed, Ctrl+Z, SAVE TWO writes the map without it;
# Ctrl+Y, SAVE THREE writes it with it; a third placed, then QUIT keeps the program running
# with the edit (SAVE FOUR writes it); a fourth placed, then the close box and QUIT each warn,
# and the second QUIT in a row ends the program.
set -euo pipefail
exe=$1
root=$2
source "$(dirname "$0")/lib/editor.bash"
copy_data

ctrl() {
  key down 0x11
  press "$1"
  key up 0x11
}

begin_script "$work/undo.script"
point_at 256 256
double_click right
command_line "SAVE ONE"
point_at 512 512
double_click right
ctrl 0x5A  # Z
command_line "SAVE TWO"
ctrl 0x59  # Y
command_line "SAVE THREE"
point_at 768 768
double_click right
command_line "QUIT"
command_line "SAVE FOUR"
point_at 768 256
double_click right
event close
next_frame
command_line "QUIT"
command_line "QUIT" closes
# No close box at the end: a run that the last QUIT does not end times out.
run_script "$work/undo.script" "$work/undo.log"

objects() {
  printf 'Vertexes\n{\n}\n\nLinedefs\n{\n}\n\nObjects\n{\n'
  for point in "$@"; do printf '\\t(%s)\n' "$point"; done
  printf '}\n\n'
}
objects "256, 256" | expect_map ONE
objects "256, 256" | expect_map TWO
objects "256, 256" "512, 512" | expect_map THREE
objects "256, 256" "512, 512" "768, 768" | expect_map FOUR

console_lines "$work/undo.log" | grep -E '^(Executing Console Command|Saved map|WARNING|Undo|Redo|::: _Shutdown)' \
  > "$work/lines"
diff -u - "$work/lines" <<'LOG' || fail "the log differs"
Executing Console Command: SAVE ONE
Saved map "data/maps/ONE.map"
Undo: the map as before its last change (1 more to undo, 1 to redo)
Executing Console Command: SAVE TWO
Saved map "data/maps/TWO.map"
Redo: the change made again (0 more to redo, 2 to undo)
Executing Console Command: SAVE THREE
Saved map "data/maps/THREE.map"
Executing Console Command: QUIT
WARNING: "THREE" has unsaved changes; SAVE it, or QUIT again to discard them
Executing Console Command: SAVE FOUR
Saved map "data/maps/FOUR.map"
WARNING: "FOUR" has unsaved changes; SAVE it, or close the window again to discard them
Executing Console Command: QUIT
WARNING: "FOUR" has unsaved changes; SAVE it, or QUIT again to discard them
Executing Console Command: QUIT
::: _Shutdown : Application (starting)
LOG
echo "editor undo: ok"
