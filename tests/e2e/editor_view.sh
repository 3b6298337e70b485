#!/usr/bin/env bash
# The editor's map view, by scripted mouse and keys on the real program: the underlay's grey
# level (from 0.5, six period keys stop at 1, three commas give 0.7, nine more stop at 0, a
# period gives 0.1), read from screenshots of a one-colour underlay; and Shift with the right
# button zooming about the point under the mouse: objects placed by right double-clicks with
# snap off, before and after the zoom, show the world point at the mouse unchanged and the
# rest of the view shrunk.
set -euo pipefail
exe=$1
root=$2
source "$(dirname "$0")/lib/editor.bash"
copy_data
write_picture "$work/data/maps/UNDER.tga" 200 150 100

begin_script "$work/view.script"
command_line "BG UNDER"
mouse_to 900 100  # the map view takes the keys while the mouse is over it
press 0x47 0x47   # grid lines, dots, none: nothing over the underlay
screenshot "$shots/50.png"
press 0xBE 0xBE 0xBE 0xBE 0xBE 0xBE
screenshot "$shots/100.png"
press 0xBC 0xBC 0xBC
screenshot "$shots/70.png"
press 0xBC 0xBC 0xBC 0xBC 0xBC 0xBC 0xBC 0xBC 0xBC
screenshot "$shots/0.png"
press 0xBE
screenshot "$shots/10.png"

press 0x53  # snap off: objects go where the mouse points
mouse_to 300 400
double_click right
mouse_to 700 800
double_click right
mouse_to 300 400
key down 0x10
button down right
# The cursor hides while the right button is held and comes back to the window's middle after
# each frame: each of these moves is 88 pixels down from there, which zooms out.
mouse_to 640 600
mouse_to 640 600
button up right
key up 0x10
double_click right  # the cursor is back where it was hidden
mouse_to 700 800
double_click right
command_line "SAVE ZOOM"
end_script
run_script "$work/view.script" "$work/view.log"

# The underlay at a point of the map away from everything else the view draws, against the
# picture's colour times trunc(alpha x 255) / 255.
read -r x y < <(pixel_of 512 600)
for shot in 50:127 100:255 70:178 0:0 10:25; do
  grey=${shot#*:}
  expected=$(awk -v grey="$grey" 'BEGIN { print 200 * grey / 255, 150 * grey / 255, 100 * grey / 255 }')
  got=$(colour_at "$shots/${shot%:*}.png" "$x" "$y")
  same_colour "$got" "$expected" || fail "underlay at alpha 0.${shot%:*}: $got, not $expected"
done

# Objects: the first pixel's before and after, the second's before and after.
objects=$(tr -d '\r' < "$work/data/maps/ZOOM.map" | sed -n '/^Objects/,$s/^\t(\(.*\), \(.*\))$/\1 \2/p')
[ "$(wc -l <<< "$objects")" -eq 4 ] || fail "four objects expected: $objects"
awk '{ x[NR] = $1; y[NR] = $2 }
  END {
    if ((x[3] - x[1]) ^ 2 + (y[3] - y[1]) ^ 2 > 0.01) {
      print "the point under the mouse moved from (" x[1] ", " y[1] ") to (" x[3] ", " y[3] ")"; exit 1
    }
    before = sqrt((x[2] - x[1]) ^ 2 + (y[2] - y[1]) ^ 2)
    after = sqrt((x[4] - x[3]) ^ 2 + (y[4] - y[3]) ^ 2)
    if (after < 2 * before) { print "no zoom out: " before " units between the pixels, then " after; exit 1 }
  }' <<< "$objects" || fail "zoom: $objects"
! grep -q '^CONSOLE: WARNING' "$work/view.log" || fail "$(grep '^CONSOLE: WARNING' "$work/view.log")"
echo "editor view: ok"
