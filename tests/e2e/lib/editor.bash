# The editor's end-to-end runs share this (sourced after exe and root are set): a temporary
# copy of the data folder to work in, scripts written as the user's actions one frame after
# another, where the map view shows a world point, and comparisons of the maps the program saves.

# The runs happen in the work folder: the program and the source tree are named absolutely.
case $exe in /*) ;; */*) exe=$PWD/$exe ;; esac
root=$(cd "$root" && pwd)
work=$(mktemp -d)
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
# Where a run's screenshots go.
shots=$work/shots
mkdir -p "$shots"

fail() {
  echo "$*"
  exit 1
}

# What the program reads at start-up, copied; the maps folder holds only what a run puts there,
# so nothing a run saves reaches the source tree's data/ (which the build reads).
copy_data() {
  mkdir -p "$work/data/maps"
  cp -r "$root/data/ui" "$root/data/sprites" "$root/data/sounds" "$root/data/UnderlayTest.tga" "$work/data/"
}

# A map of the run's own, from stdin.
write_map() {
  cat > "$work/data/maps/$1.map"
}

# An 8 x 8 picture of one colour (red, green, blue), an uncompressed 24-bit TGA.
write_picture() {
  local pixel i
  printf -v pixel '\\x%02x\\x%02x\\x%02x' "$4" "$3" "$2"
  {
    printf '\0\0\2\0\0\0\0\0\0\0\0\0\10\0\10\0\30\0'
    for ((i = 0; i < 64; ++i)); do printf '%b' "$pixel"; done
  } > "$1"
}

# --- scripts ---
# Each action queues its events in the current frame and moves on to the next, so the action
# after it sees the frame that followed (the hover under a moved mouse, a placed object).
script=
frame=

begin_script() {
  script=$1
  frame=${3:-2}
  printf '%s\n' "${2:-dialog 1002 ok}" > "$script"
}
event() { printf 'frame %d %s\n' "$frame" "$*" >> "$script"; }
next_frame() { frame=$((frame + ${1:-1})); }

mouse_to() {
  event mouse "$1" "$2"
  next_frame
}
# The pixel at which the map view shows a world point, as it does before any pan or zoom at
# 1280 x 1024: the view is (2, 2)-(956, 1021), 1536 units wide around (512, 512), y up.
pixel_of() {
  awk -v x="$1" -v y="$2" 'BEGIN {
    half_x = 64 * 12; half_y = half_x * 1020 / 955
    px = 2 + (x - (512 - half_x)) / (2 * half_x) * 954
    py = 2 + ((512 + half_y) - y) / (2 * half_y) * 1019
    printf "%d %d\n", int(px + 0.5), int(py + 0.5)
  }'
}
# The mouse to a world point (within a pixel, 1.6 units).
point_at() {
  # shellcheck disable=SC2046
  mouse_to $(pixel_of "$1" "$2")
}
click() {
  event button down "${1:-left}"
  event button up "${1:-left}"
  next_frame
}
# The second click of a double-click comes as its own message, after a first click.
double_click() {
  event button down "${1:-left}"
  event button up "${1:-left}"
  event button dblclk "${1:-left}"
  event button up "${1:-left}"
  next_frame
}
button() {
  event button "$1" "$2"
  next_frame
}
press() {
  local vk
  for vk in "$@"; do
    event key down "$vk"
    event key up "$vk"
  done
  next_frame
}
key() {
  event key "$1" "$2"
  next_frame
}
# A command typed on the ~ command line and run with Enter; then the line is closed again,
# unless a second argument says the command closes it itself (EDIT, and PLAY when it plays).
# Keys arrive as key codes, so only capitals, digits and spaces can be typed.
command_line() {
  local text=$1 i vk
  event key down 0xC0
  event key up 0xC0
  for ((i = 0; i < ${#text}; ++i)); do
    [[ ${text:i:1} == [A-Z0-9\ ] ]] || fail "command_line: '${text:i:1}' cannot be typed"
    printf -v vk '0x%02X' "'${text:i:1}"
    event key down "$vk"
    event key up "$vk"
  done
  event key down 0x0D
  event key up 0x0D
  if [ "${2:-}" != closes ]; then
    event key down 0xC0
    event key up 0xC0
  fi
  next_frame
}
screenshot() {
  event screenshot "$1"
  next_frame
}
# The close box; a map with unsaved changes keeps the program running the first time, so a
# second press follows a frame later (it never arrives when the first one ended the run).
end_script() {
  event close
  next_frame
  event close
}

# Runs the script in the work folder; the program must end by itself with exit code 0.
run_script() {
  local log=$2 seconds=${3:-120} status=0
  (cd "$work" && PINWHIRL_SCRIPT="$1" PINWHIRL_FIXED_STEP=0.01 timeout "$seconds" "$exe" 2> "$log") || status=$?
  [ "$status" -eq 0 ] || { tail -30 "$log"; fail "$1 exited with $status"; }
  grep -qxF "CONSOLE: ::: Initialization : Application (finished)" "$log" || { cat "$log"; fail "$1: no start-up"; }
}

# The colour "r g b" of a screenshot's pixel.
colour_at() {
  python3 "$root/tools/picture-pixel.py" "$1" "$2" "$3"
}
# Whether two colours "r g b" differ by at most 2 in each channel.
same_colour() {
  awk -v a="$1" -v b="$2" 'BEGIN {
    split(a, x); split(b, y)
    for (i = 1; i <= 3; ++i) if (x[i] - y[i] > 2 || y[i] - x[i] > 2) exit 1
  }'
}

# The console lines of a run, without the prefix.
console_lines() {
  sed -n 's/^CONSOLE: //p' "$1"
}

# A saved map must hold exactly the text on stdin, written with \t for a tab. On Windows the
# writer's text mode ends every line with CR LF, and then every line must end so.
expect_map() {
  local file=$work/data/maps/$1.map expected lines crlf
  expected=$(cat; echo .)
  [ -f "$file" ] || fail "no $file"
  lines=$(wc -l < "$file")
  crlf=$(grep -c $'\r$' "$file" || true)
  [ "$crlf" -eq 0 ] || [ "$crlf" -eq "$lines" ] || fail "$1.map: $crlf of $lines lines end with CR LF"
  cmp -s <(printf '%b' "${expected%.}") <(tr -d '\r' < "$file") ||
    { diff -u <(printf '%b' "${expected%.}") <(tr -d '\r' < "$file"); fail "$1.map is not as expected"; }
}
