#!/usr/bin/env bash
# End-to-end run of the real program under its own Xvfb, driven only through the
# X server with xdotool, as a user would:
#   メニュー → アジア → 国しらべ → a marker click paints its country red →
#   外務省データリンク opens the page viewer (Qt WebEngine is loaded only
#   then) → 国ドリル → one answer shows the circle or cross → メニュー →
#   正解率 → メニュー → 終, and the program exits with status 0.
# Afterwards nothing may have been written under the fresh HOME (its XDG
# directories and TMPDIR lie inside it), in the data directory beside the
# program, nor left in /dev/shm by the browser.
#
# usage: run-e2e.sh PROGRAM XWDPIXELS
# On failure the screen is saved as e2e-failure.png in the current directory.

set -uo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 PROGRAM XWDPIXELS" >&2
  exit 2
fi
program=$(readlink -f -- "$1")
pixels=$(readlink -f -- "$2")
program_dir=$(dirname -- "$program")
artefacts=$PWD
data_folders=(概要 外務省 国旗 音 画像)
rm -f -- "$artefacts/e2e-failure.png"

# A real X server, never the offscreen platform nor a display of the caller.
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY XAUTHORITY

for tool in Xvfb xauth xdotool xwd od; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kunishirabe-e2e.XXXXXX") || exit 1
home=$(mktemp -d "$work/home.XXXXXX") || exit 1
shot=$work/screen.xwd
xvfb_pid=
program_pid=

cleanup() {
  if [[ -n $program_pid ]] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  if [[ -n $xvfb_pid ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf -- "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# --- timing and reporting ---------------------------------------------------

source "$(dirname -- "$(readlink -f -- "$0")")/harness.sh"
started_ms=$(now_ms)
step_ms=$started_ms
step_number=0

seconds_since() {
  local ms=$(($(now_ms) - $1))
  printf '%d.%02d' $((ms / 1000)) $((ms % 1000 / 10))
}

pass() {
  step_number=$((step_number + 1))
  printf 'ok %2d  %s  (%s s)\n' "$step_number" "$1" "$(seconds_since "$step_ms")"
  step_ms=$(now_ms)
}

fail() {
  printf 'FAILED at step %d: %s\n' "$((step_number + 1))" "$1"
  if [[ -n $program_pid ]] && ! kill -0 "$program_pid" 2>/dev/null; then
    wait "$program_pid"
    echo "the program had ended with status $?"
    program_pid=
  fi
  if [[ -n $xvfb_pid ]] && xwd -root -silent -out "$shot" 2>/dev/null \
      && "$pixels" png "$shot" "$artefacts/e2e-failure.png"; then
    echo "screen saved as $artefacts/e2e-failure.png"
  fi
  if [[ -s $work/program.log ]]; then
    echo "--- program output ---"
    cat "$work/program.log"
  fi
  exit 1
}

# --- the X server -------------------------------------------------------------

start_xvfb "$work"
xdotool getmouselocation >/dev/null 2>&1 || fail "cannot reach the X server on $DISPLAY"
pass "Xvfb on display $DISPLAY (1280x1024x24)"

# --- helpers working on the window found last --------------------------------

win=
win_x=0
win_y=0

# wait_window NAME WIDTH HEIGHT [TIMEOUT_MS]: a visible window of the program
# with that caption (any caption when NAME is empty) and client size; its
# origin goes to win_x, win_y. The
# caption is read from _NET_WM_NAME: WM_NAME, which `search --name` matches,
# is garbled for Japanese text when the program runs in a non-UTF-8 locale.
wait_window() {
  local name=$1 width=$2 height=$3 limit=$(($(now_ms) + ${4:-15000}))
  local id caption key value x y w h
  while :; do
    for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
      caption=$(xdotool getwindowname "$id" 2>/dev/null)
      # Qt appends the application's display name to the caption.
      [[ -z $name || $caption == "$name" || $caption == "$name — 世界の国しらべ" ]] || continue
      x='' y='' w='' h=''
      while IFS='=' read -r key value; do
        case $key in
          X) x=$value ;;
          Y) y=$value ;;
          WIDTH) w=$value ;;
          HEIGHT) h=$value ;;
        esac
      done < <(xdotool getwindowgeometry --shell "$id" 2>/dev/null)
      if [[ $w == "$width" && $h == "$height" ]]; then
        win=$id win_x=$x win_y=$y
        return 0
      fi
    done
    (($(now_ms) < limit)) || return 1
    kill -0 "$program_pid" 2>/dev/null || return 1
    sleep 0.1
  done
}

# Fails at once when the program has ended on its own.
check_running() {
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended unexpectedly"
}

take_shot() {
  check_running
  xwd -root -silent -out "$shot" || fail "xwd could not read the screen"
}

# count COLOUR X Y W H (window-relative) on the last screenshot
count() {
  "$pixels" count "$shot" $(($2 + win_x)) $(($3 + win_y)) "$4" "$5" "$1"
}
# other COLOUR X Y W H: pixels of any other colour
other() {
  "$pixels" other "$shot" $(($2 + win_x)) $(($3 + win_y)) "$4" "$5" "$1"
}

# wait_colour COLOUR X Y: the window has drawn that colour at this point.
wait_colour() {
  local limit=$(($(now_ms) + 10000))
  while :; do
    take_shot
    [[ $(count "$1" "$2" "$3" 1 1) == 1 ]] && return 0
    (($(now_ms) < limit)) || return 1
    sleep 0.1
  done
}

move_to() {
  timeout 5 xdotool mousemove --sync $((win_x + $1)) $((win_y + $2)) \
    || fail "the pointer did not move to $1,$2"
}

click_at() {
  move_to "$1" "$2"
  xdotool click 1
}

# marker_in X Y W H: window-relative centre of the first whole 8x8 magenta
# marker square inside the map rectangle, in marker_x, marker_y.
marker_in() {
  local found
  found=$("$pixels" block "$shot" $(($1 + win_x)) $(($2 + win_y)) "$3" "$4" ff00ff 8 8) || return 1
  read -r marker_x marker_y <<<"$found"
  marker_x=$((marker_x - win_x + 4))
  marker_y=$((marker_y - win_y + 4))
}

# uses_webengine: Qt WebEngine is mapped into the program.
uses_webengine() {
  grep -q 'libQt6WebEngineCore' "/proc/$program_pid/maps"
}

# Browser shared memory left in /dev/shm since the start.
shm_leftovers() {
  find /dev/shm -maxdepth 1 -newer "$work/stamp" \( -iname '*chromium*' -o -iname '*qtwebengine*' \) 2>/dev/null
}

# Recursive listing of what the program could write to: kind, mode, size,
# modification and change times of every entry.
listing() {
  local paths=("$home")
  local folder
  for folder in "${data_folders[@]}"; do
    paths+=("$program_dir/$folder")
  done
  find -H "${paths[@]}" -printf '%y %m %s %T@ %C@ %p\n' 2>&1 | LC_ALL=C sort
}

# --- the run -------------------------------------------------------------------

for folder in "${data_folders[@]}"; do
  [[ -d $program_dir/$folder ]] || fail "no data folder $folder beside $program"
done
mkdir -m 700 "$home/runtime" "$home/tmp" || fail "cannot prepare $home"
listing >"$work/before.txt"
touch "$work/stamp"
sleep 0.01

# No session bus: with dbus-x11 installed, a program without one would have
# dbus-launch start a bus that writes under HOME.
DBUS_SESSION_BUS_ADDRESS=disabled: \
HOME=$home \
XDG_CONFIG_HOME=$home/.config \
XDG_CACHE_HOME=$home/.cache \
XDG_DATA_HOME=$home/.local/share \
XDG_STATE_HOME=$home/.local/state \
XDG_RUNTIME_DIR=$home/runtime \
TMPDIR=$home/tmp \
  "$program" >"$work/program.log" 2>&1 &
program_pid=$!

# Main menu: cyan client area 766 x 478.
wait_window "メニュー" 766 478 || fail "the window メニュー (766x478) did not appear"
wait_colour 00ffff 440 140 || fail "メニュー did not draw its cyan background"
pass "メニュー appears at $win_x,$win_y"
[[ $(xprop -id "$win" _NET_WM_ICON 2>&1) == *"Icon (128 x 128)"* ]] || fail "メニュー carries no icon of its own"
pass "メニュー carries the program's icon"

move_to 440 140
sleep 0.3
click_at $((21 + 89)) $((357 + 24))
wait_window "アジア" 254 456 || fail "サブメニュー (caption アジア, 254x456) did not follow the region button アジア"
wait_colour ffc0c0 10 10 || fail "サブメニュー did not draw its pink background"
pass "region button アジア opens サブメニュー captioned アジア"

submenu=$win
click_at $((44 + 83)) $((32 + 27))
limit=$(($(now_ms) + 15000))
until wait_window "アジア" 768 480 500 && [[ $win != "$submenu" ]]; do
  (($(now_ms) < limit)) || fail "the atlas アジア (768x480) did not follow 国しらべ"
done
wait_colour c0ffc0 5 5 || fail "the atlas did not draw its background"
pass "国しらべ opens the atlas アジア"

# Picture1 of アジア: 290, 87, 463 x 370.
map=(290 87 463 370)
red=$(count ff0000 "${map[@]}")
[[ $red == 0 ]] || fail "the atlas map shows $red red pixels before any choice"
marker_in "${map[@]}" || fail "no magenta marker found on the atlas map"
click_at "$marker_x" "$marker_y"
limit=$(($(now_ms) + 5000))
while :; do
  sleep 0.1
  take_shot
  red=$(count ff0000 "${map[@]}")
  ((red >= 100)) && break
  (($(now_ms) < limit)) || fail "a click on the marker at $marker_x,$marker_y painted only $red red pixels on the map"
done
pass "a click on the marker at $marker_x,$marker_y paints $red red pixels on the map"

# The link button 外務省データリンク (44, 13, 189 x 59) comes up when the pointer
# enters the title picture under it after the choice.
uses_webengine && fail "Qt WebEngine was loaded before the page viewer was opened"
atlas=$win atlas_x=$win_x atlas_y=$win_y
opened=
for _ in 1 2 3; do
  move_to 400 300
  sleep 0.2
  move_to $((44 + 94)) $((13 + 29))
  sleep 0.3
  xdotool click 1
  if wait_window "" 655 480 3000; then
    opened=yes
    break
  fi
  win=$atlas win_x=$atlas_x win_y=$atlas_y
done
[[ -n $opened ]] || fail "外務省データリンク did not open the page viewer (655x480)"
limit=$(($(now_ms) + 10000))
until uses_webengine; do
  (($(now_ms) < limit)) || fail "the page viewer is open but Qt WebEngine is not loaded"
  sleep 0.1
done
# Give the browser time to try the page (no network here: its error page).
sleep 2
check_running
pass "Qt WebEngine is loaded only when 外務省データリンク opens the page viewer \"$(xdotool getwindowname "$win")\""
win=$atlas win_x=$atlas_x win_y=$atlas_y

click_at $((531 + 54)) $((20 + 22))
wait_window "アジアドリル" 768 480 || fail "the drill アジアドリル (768x480) did not follow 国ドリル"
wait_colour c0ffc0 5 5 || fail "the drill did not draw its background"
pass "国ドリル opens the drill アジアドリル"

# Picture1 of the drill: 283, 103, 463 x 370; the judgement box Frame1 at
# 64, 131, 166 x 139 is light yellow; the feedback picture lies well inside it.
map=(283 103 463 370)
judgement=(70 145 154 118)
plain=$(other ffffc0 "${judgement[@]}")
((plain < 50)) || fail "the judgement box is not plain light yellow before an answer ($plain other pixels)"
marker_in "${map[@]}" || fail "no magenta marker found on the drill map"
move_to "$marker_x" "$marker_y"
clicked_ms=$(now_ms)
xdotool click 1
# The picture stays for only 1.5 to 2.5 s: poll without pause.
while :; do
  shot_ms=$(now_ms)
  take_shot
  feedback=$(other ffffc0 "${judgement[@]}")
  ((feedback >= 1000)) && break
  ((shot_ms - clicked_ms <= 1000)) || fail "no circle or cross in the judgement box within 1 s of the answer ($feedback pixels)"
done
answer_ms=$((shot_ms - clicked_ms))
((answer_ms <= 1000)) || fail "the circle or cross came $answer_ms ms after the answer, later than 1 s"
pass "an answer on the marker at $marker_x,$marker_y shows the circle or cross ($feedback pixels) within $answer_ms ms"

click_at $((649 + 54)) $((15 + 22))
wait_window "メニュー" 766 478 || fail "メニュー did not follow the drill's メニュー button"
wait_colour 00ffff 440 140 || fail "メニュー did not draw its background"
pass "the drill's メニュー button returns to メニュー"

# The results button 正解率表示 (510, 103, 189 x 59) lies over the dove; it may
# only come up after the pointer has crossed the bare background.
# The pointer rests on the dove, where the drill's メニュー button was.
results_button=(510 103 189 59)
cp "$shot" "$work/menu.xwd"
button_changes() {
  "$pixels" diff "$work/menu.xwd" "$shot" $((win_x + results_button[0])) $((win_y + results_button[1])) \
    "${results_button[2]}" "${results_button[3]}"
}
move_to 600 40
sleep 0.3
move_to 620 60
sleep 0.3
take_shot
hidden_changes=$(button_changes)
((hidden_changes < 300)) || fail "正解率表示 came up over the dove before the pointer crossed the background"
# Motion events that queue up may be merged into the last one, so the
# crossing is repeated, as a user would, if the button stays away.
revealed=
for _ in 1 2 3; do
  move_to 440 140
  sleep 0.3
  move_to 600 40
  limit=$(($(now_ms) + 2000))
  while (($(now_ms) < limit)); do
    sleep 0.1
    take_shot
    changed=$(button_changes)
    if ((changed >= 2000)); then
      revealed=yes
      break 2
    fi
  done
done
[[ -n $revealed ]] || fail "正解率表示 did not come up over the dove after the pointer crossed the background"
pass "正解率表示 stays hidden over the dove ($hidden_changes pixels changed) until the pointer crosses the background, then comes up ($changed)"

click_at $((results_button[0] + 94)) $((results_button[1] + 29))
wait_window "正解率" 768 480 || fail "正解率 (768x480) did not follow 正解率表示"
wait_colour c0ffc0 5 5 || fail "正解率 did not draw its background"
# The chart (Picture1 at 43, 67, 681 x 404) is pale yellow; no drill run was
# finished, so none of the eight rows has a red bar left of the pass line.
chart=$(count ffff80 43 67 681 404)
((chart > 100000)) || fail "正解率 shows no chart ($chart pale yellow pixels)"
bars=$(count ff0000 $((43 + 140)) $((67 + 60)) 290 290)
[[ $bars == 0 ]] || fail "正解率 shows $bars red bar pixels although no drill run was finished"
pass "メニュー opens 正解率 with its chart and no bar"

click_at $((615 + 54)) $((10 + 22))
wait_window "メニュー" 766 478 || fail "メニュー did not follow the メニュー button of 正解率"
wait_colour 00ffff 440 140 || fail "メニュー did not draw its background"
pass "正解率's メニュー button returns to メニュー"

click_at $((700 + 22)) $((306 + 22))
wait_exit 5
pass "終 ends the program with status 0"

listing >"$work/after.txt"
if ! diff -u "$work/before.txt" "$work/after.txt" >"$work/listing.diff"; then
  echo "written by the program (listing before/after):"
  grep '^[-+][^-+]' "$work/listing.diff"
  echo "newer than the start:"
  find -H "$home" "${data_folders[@]/#/$program_dir/}" -newer "$work/stamp" -o -cnewer "$work/stamp" 2>/dev/null
  fail "the program wrote under the fresh HOME or in the data directory"
fi
leftovers=$(shm_leftovers)
[[ -z $leftovers ]] || fail "the browser left shared memory behind: $leftovers"
pass "nothing written under the fresh HOME, its XDG directories and TMPDIR, nor in the data directory or /dev/shm"

if [[ -s $work/program.log ]]; then
  echo "--- program output ---"
  cat "$work/program.log"
fi
echo "all $step_number steps passed in $(seconds_since "$started_ms") s"
