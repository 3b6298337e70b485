#!/usr/bin/env bash
# The start-up dialog as a user meets it: a real window in an X server (Xvfb), keys and clicks
# from xdotool. Enter starts the windowed game; Escape and the close box quit; a click on
# "1280 x 1024 Windowed Editor" and "Start!" starts the editor; Tab, Shift+Tab and the arrows
# move as in Windows. With a file argument (or PINWHIRL_DIALOG_SHOT) the dialog's picture is kept.
# windows: skip the window, its metrics and colours are the Linux layer's; wine draws its own dialog
set -euo pipefail
exe=$(readlink -f "$1")
root=$(readlink -f "$2")
write_data=$(readlink -f "$3")
shot=${4:-${PINWHIRL_DIALOG_SHOT:-}}
[ -z "$shot" ] || shot=$(readlink -f "$shot")
"$root/tools/install-deps.sh" xvfb xdotool x11-apps imagemagick > /dev/null

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
"$write_data" "$work"
cd "$work"

# A display of its own: Xvfb names the first free one.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3> display 2> xvfb.log &
xvfb=$!
for _ in $(seq 100); do [ -s display ] && break; sleep 0.05; done
[ -s display ] || { echo "Xvfb did not start"; cat xvfb.log; exit 1; }
export DISPLAY=:$(cat display)
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy

fail() {
  echo "$case: $*"
  cat "$case.log"
  exit 1
}

# Starts the program and waits for the dialog; sets pid, dialog, and the dialog's size and
# position, from which the base units come back (the client is 168 x 98 dialog units inside a
# 3-pixel frame and an 18-pixel caption).
start() {
  case=$1
  "$exe" 2> "$case.log" &
  pid=$!
  dialog=$(timeout 10 xdotool search --sync --name '^Pinwhirl Startup$' | head -1) || fail "no dialog window"
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  base_x=$(((((WIDTH - 6) * 4) + 84) / 168))
  base_y=$(((((HEIGHT - 24) * 8) + 49) / 98))
}
# A point of the client area in dialog units, as screen pixels.
click_at() {
  xdotool mousemove $((X + 3 + $1 * base_x / 4)) $((Y + 21 + $2 * base_y / 8)) click 1
}
keys() {
  xdotool windowfocus --sync "$dialog" key --delay 30 "$@"
}
# Waits up to ten seconds for a line of the log.
wait_for() {
  timeout 10 bash -c "until grep -qF '$1' '$case.log'; do sleep 0.1; done" || fail "no '$1'"
}
# The program's exit code, within ten seconds.
finish() {
  local status=0
  for _ in $(seq 100); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2> /dev/null && { kill "$pid"; fail "still running"; }
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "exit code $status"
}
# The game's window must come, 1280 x 1024, windowed; Alt+F4 closes it.
close_game() {
  local game
  game=$(timeout 10 xdotool search --sync --name '^Pinwhirl v0.01$' | head -1) || fail "no game window"
  eval "$(xdotool getwindowgeometry --shell "$game")"
  [ "$WIDTH" -eq 1280 ] && [ "$HEIGHT" -eq 1024 ] || fail "game window is $WIDTH x $HEIGHT"
  wait_for 'Application (finished)'
  xdotool windowfocus --sync "$game" key alt+F4
  finish
}
# The log lines of the dialog, in order.
expect_dialog() {
  local got
  wait_for 'Dialog returned'
  got=$(grep -E 'ON (OKAY|CANCEL|HELP)|Dialog returned' "$case.log" | sed 's/^CONSOLE (pre-initialization!): //')
  [ "$got" = "$(printf '%b' "$1")" ] || fail "dialog log: $got"
}
# Started as the game loads map01 at once; the editor builds its panes and starts without a map.
expect_mode() {
  wait_for 'Application (finished)'
  grep -qF "Setting current display mode #8: 1280 x 1024 x 32 bpp (windowed)" "$case.log" || fail "not windowed"
  local start maps panes
  start=$(sed -n '/Renderer (finished)/,/Application (finished)/p' "$case.log")
  maps=$(grep -c '^MapElement() called' <<< "$start" || true)
  panes=$(grep -c '^CONSOLE: Creating pane #' <<< "$start" || true)
  if [ "$1" = game ]; then
    [ "$maps" -gt 0 ] && [ "$panes" -eq 0 ] || fail "not the game"
  else
    [ "$maps" -eq 0 ] && [ "$panes" -gt 0 ] || fail "not the editor"
  fi
}
OK='ON OKAY\nDialog returned; return-value was 2\nDialog returned : OK'
CANCEL='ON CANCEL\nDialog returned; return-value was 1\nDialog returned : CANCEL'

start enter
[ "$(xdotool getwindowname "$dialog")" = "Pinwhirl Startup" ] || fail "caption"
if [ -n "$shot" ]; then
  xwd -root -silent | convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
fi
# The caption bar is navy; the client, button face grey.
xwd -root -silent | convert xwd:- -crop "1x1+$((X + WIDTH / 2))+$((Y + 5))" txt:- | grep -q '#000080' ||
  fail "no navy caption"
xwd -root -silent | convert xwd:- -crop "1x1+$((X + 2))+$((Y + HEIGHT - 5))" txt:- | grep -q '#C0C0C0' ||
  fail "no grey face"
keys Return
expect_dialog "$OK"
expect_mode game
close_game

start escape
keys Escape
finish
expect_dialog "$CANCEL"
! grep -q 'Console (starting)' "$case.log" || fail "a subsystem started"

start close_box
xdotool mousemove $((X + WIDTH - 13)) $((Y + 12)) click 1
finish
expect_dialog "$CANCEL"

start click
click_at 40 36  # "1280 x 1024 Windowed Editor"
click_at 32 83  # "Start!"
expect_dialog "$OK"
expect_mode editor
close_game

# Tab: the checked radio button, then Start!, then Help, where Enter presses Help and the dialog
# stays. Shift+Tab twice: back to the radio button; Up twice chooses "Windowed Editor".
start keyboard
keys Tab Tab Tab Return
wait_for 'ON HELP'
xdotool search --name '^Pinwhirl Startup$' > /dev/null || fail "the dialog went after Help"
keys shift+Tab shift+Tab Up Up Return
expect_dialog "ON HELP\n$OK"
expect_mode editor
close_game
echo "start-up dialog under X: ok"
