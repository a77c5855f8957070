#!/usr/bin/env bash
# Takes the pictures of the guide, the README and the AppStream metainfo from
# the real program, run under its own Xvfb and driven with the pointer and the
# keyboard through the X server, as a user would:
#
#   menu.png            メニュー with the text of a flag
#   submenu.png         サブメニュー of アジア
#   atlas.png           アジア with 日本 chosen, its flag story and the page link
#   viewer-offline.png  the page viewer as it shows a page it cannot reach
#   drill.png           南アメリカドリル after its third answer
#   drill-medal.png     the end of that run: its medal
#   drill-review.png    the end of ＮＩＳ諸国ドリル with two misses: its medal and
#                       the button まちがえた国をもう一度
#   flag-drill.png      ヨーロッパ国旗ドリル after a wrong answer: both names
#   capital-drill.png   アジア首都ドリル asking its first question
#   name-drill.png      アフリカ国名ドリル after answering with one of its four names
#   review-session.png  きょうの復習, the first review, after its first answer: the
#                       judgement (both names when it is wrong)
#   learning-record.png 学習の記録 after that answer, opened from the session's
#                       title row
#   results.png         正解率 with the bars of the runs
#
# To answer a drill correctly the script first learns it: it points at every
# marker and keeps the map it paints, then answers a first run at random and
# matches each question with the map that the answer leaves painted. It then
# restarts and answers from what it learnt (a gold medal); a second region is
# answered with two mistakes, for a second bar and the review button. The
# flag drill is answered on the markers in turn until an answer is wrong.
# The first review asks entries never asked from the region opened last; its
# first marker is answered (seldom the one asked), which writes the review
# record in the temporary folder.
#
# usage: take-screenshots.sh [--quick] [--out DIR] [--build DIR]
#                            [--program PROGRAM --pixels XWDPIXELS]
#   --quick    one drill, answered without learning (its verdict is whatever
#              comes, and drill-review.png is its end), and the flag drill;
#              no capital-drill.png or name-drill.png (its review asks
#              ヨーロッパ rather than アフリカ); checks only that every
#              picture it lists is written
#   --out      where the pictures go (default: docs/images of the repository)
#   --build    build folder whose program is used (default: build); the
#              program, its browser plugin and the xwdpixels helper are built
#   --program, --pixels   use these, built already (the test does so)
# Nothing is written outside the output folder and a temporary folder.

set -uo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
out=$repo/docs/images
build=$repo/build
quick=
program=
pixels=
while (($#)); do
  case $1 in
    --quick) quick=yes ;;
    --out) out=$2; shift ;;
    --build) build=$2; shift ;;
    --program) program=$2; shift ;;
    --pixels) pixels=$2; shift ;;
    *) echo "usage: $0 [--quick] [--out DIR] [--build DIR] [--program P --pixels X]" >&2; exit 2 ;;
  esac
  shift
done

pictures=(menu submenu atlas viewer-offline drill drill-medal drill-review flag-drill review-session learning-record
          results)
[[ -n $quick ]] || pictures+=(capital-drill name-drill)

if [[ -z $program ]]; then
  if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
  fi
  cmake --build "$build" -j2 --target kunishirabe kunishirabe_webbrowser xwdpixels || exit 1
  program=$build/kunishirabe
  pixels=$(find "$build/tests" -name xwdpixels -type f -perm -u+x | head -n 1)
fi
program=$(readlink -f -- "$program")
pixels=$(readlink -f -- "$pixels")
[[ -x $program && -x $pixels ]] || { echo "no program or xwdpixels helper" >&2; exit 1; }
for tool in Xvfb xauth xdotool xwd iconv; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
mkdir -p "$out" || exit 1
out=$(readlink -f -- "$out")

work=$(mktemp -d "${TMPDIR:-/tmp}/kunishirabe-screenshots.XXXXXX") || exit 1
home=$work/home
mkdir -p -m 700 "$home/runtime" "$home/tmp" "$work/shots"
xvfb_pid=
program_pid=

cleanup() {
  local pid
  for pid in "$program_pid" "$xvfb_pid"; do
    if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
  done
  rm -rf -- "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

source "$repo/tests/e2e/harness.sh"
started_ms=$(now_ms)

say() {
  local tenths=$((($(now_ms) - started_ms) / 100))
  printf '%4d.%d s  %s\n' $((tenths / 10)) $((tenths % 10)) "$*"
}

fail() {
  echo "FAILED: $*"
  if [[ -n $xvfb_pid ]] && xwd -root -silent -out "$work/failure.xwd" 2>/dev/null \
      && "$pixels" png "$work/failure.xwd" "$out/screenshots-failure.png"; then
    echo "the screen is saved as $out/screenshots-failure.png"
  fi
  [[ -s $work/program.log ]] && { echo "--- program output ---"; cat "$work/program.log"; }
  exit 1
}

# --- the X server and the program ------------------------------------------------

unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
start_xvfb "$work"

# A fresh HOME, no session bus: the one file the program writes, the review
# record, goes into $XDG_DATA_HOME/kunishirabe there. Japanese, as on a
# teacher's machine.
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
XDG_DATA_HOME=$home/.local/share XDG_STATE_HOME=$home/.local/state \
XDG_RUNTIME_DIR=$home/runtime TMPDIR=$home/tmp DBUS_SESSION_BUS_ADDRESS=disabled: \
LANG=ja_JP.UTF-8 LANGUAGE=ja \
  "$program" >"$work/program.log" 2>&1 &
program_pid=$!
say "the program runs on $DISPLAY"

# --- windows, pointer, keys and pixels ------------------------------------------------

win=
win_w=0
win_h=0

# wait_window CAPTION WIDTH HEIGHT [NOT_ID] [TIMEOUT_MS]: the program's visible
# window with that caption (any when empty) and client size, other than NOT_ID.
wait_window() {
  local name=$1 width=$2 height=$3 not=${4:-} limit=$(($(now_ms) + ${5:-20000}))
  local id caption geometry
  while :; do
    for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
      [[ $id == "$not" ]] && continue
      caption=$(xdotool getwindowname "$id" 2>/dev/null)
      [[ -z $name || $caption == "$name" || $caption == "$name — 世界の国しらべ" ]] || continue
      geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)
      if [[ $geometry == *$'\n'"WIDTH=$width"$'\n'"HEIGHT=$height"$'\n'* ]]; then
        win=$id win_w=$width win_h=$height
        return 0
      fi
    done
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
    (($(now_ms) < limit)) || return 1
    sleep 0.1
  done
}

# dump FILE: the current window's contents as an xwd dump.
dump() {
  xwd -id "$win" -silent -out "$1" 2>/dev/null || fail "xwd could not read the window"
}

# shoot NAME: writes the current window as NAME.png.
shoot() {
  dump "$work/shot.xwd"
  "$pixels" png "$work/shot.xwd" "$work/shots/$1.png" || fail "could not write $1.png"
  say "$1.png"
}

move_to() {
  xdotool mousemove --window "$win" --sync "$1" "$2" || fail "the pointer did not move to $1,$2"
}

click_at() {
  move_to "$1" "$2"
  sleep 0.1
  xdotool click 1
}

keys() {
  xdotool windowfocus --sync "$win" 2>/dev/null
  xdotool key --delay 60 "$@"
}

# count COLOUR X Y W H / other COLOUR X Y W H on the dump FILE given last.
count() { "$pixels" count "$dumped" "$2" "$3" "$4" "$5" "$1"; }
other() { "$pixels" other "$dumped" "$2" "$3" "$4" "$5" "$1"; }

# wait_until SECONDS TEST...: dumps the window until the test holds.
wait_until() {
  local limit=$(($(now_ms) + $1 * 1000))
  shift
  while :; do
    dumped=$work/poll.xwd
    dump "$dumped"
    "$@" && return 0
    (($(now_ms) < limit)) || return 1
    sleep 0.1
  done
}

colour_at() { [[ $(count "$1" "$2" "$3" 1 1) == 1 ]]; }

# --- メニュー, サブメニュー -----------------------------------------------------------

wait_window "メニュー" 766 478 || fail "メニュー (766x478) did not appear"
wait_until 10 colour_at 00ffff 440 140 || fail "メニュー did not draw its background"
move_to 440 140
sleep 0.3
# The red cross flag (Image1(0) at 67, 173, 150 x 146) lists its text over the title.
click_at $((67 + 75)) $((173 + 73))
wait_until 5 colour_at 004000 $((104 + 8)) $((8 + 150)) || fail "the flag's text did not come up"
shoot menu

click_at $((21 + 89)) $((357 + 24))
wait_window "アジア" 254 456 || fail "サブメニュー アジア did not follow the button アジア"
wait_until 10 colour_at ffc0c0 5 5 || fail "サブメニュー did not draw its background"
shoot submenu

# --- アジア with 日本: flag story and page link ------------------------------------------

submenu=$win
click_at $((44 + 83)) $((32 + 27))
wait_window "アジア" 768 480 "$submenu" || fail "the atlas アジア did not follow 国しらべ"
wait_until 10 colour_at c0ffc0 5 5 || fail "the atlas did not draw its background"
atlas=$win

# 日本's row in the list is its list position in kuni.txt (name, position).
kuni=$(dirname "$program")/概要/アジア/kuni.txt
row=$(iconv -f CP932 -t UTF-8 "$kuni" | tr -d '\r' | awk -F, '$1 == "日本" || $1 == "\"日本\"" { print $2; exit }')
[[ $row =~ ^[0-9]+$ ]] || fail "日本 is not in $kuni"
# The list: a click opens it, Escape closes it with the focus left on it; each
# Down chooses the next row.
click_at $((290 + 114)) $((46 + 12))
sleep 0.5
keys Escape
sleep 0.2
for ((i = 0; i < row; ++i)); do keys Down; done
map=(290 87 463 370)
red() { (($(count ff0000 "${map[@]}") >= 20)); }
wait_until 5 red || fail "choosing 日本 painted nothing on the map"
# The flag (centred in Frame1 at 14, 81; Image2 at 71, 37, 114 x 77) opens the
# flag story, the title picture (46, 16, 184 x 53) brings up the page link.
move_to $((14 + 71 + 57)) $((81 + 37 + 38))
origin_shown() { colour_at 004000 $((296 + 15)) $((93 + 135)); }
wait_until 5 origin_shown || fail "the flag story did not come up"
move_to $((46 + 92)) $((16 + 26))
sleep 0.6
shoot atlas

# --- the page viewer, offline ------------------------------------------------------------

xdotool click 1
wait_window "" 655 480 "$atlas" || fail "the page link did not open the page viewer (655x480)"
viewer=$win
# Whatever the viewer shows for a page it cannot reach, once it stops changing.
limit=$(($(now_ms) + 60000))
sleep 3
dump "$work/before.xwd"
steady=0
while ((steady < 6 && $(now_ms) < limit)); do
  sleep 0.5
  dump "$work/after.xwd"
  changed=$("$pixels" diff "$work/before.xwd" "$work/after.xwd" 0 0 "$win_w" "$win_h")
  plain=$("$pixels" other "$work/after.xwd" 0 40 "$win_w" $((win_h - 40)) ffffff)
  if [[ $changed == 0 ]] && ((plain > 500)); then steady=$((steady + 1)); else steady=0; fi
  mv "$work/after.xwd" "$work/before.xwd"
done
((steady >= 6)) || say "the viewer still changes; taking it as it is"
shoot viewer-offline

# --- drills -----------------------------------------------------------------------------------

win=$atlas win_w=768 win_h=480
click_at $((650 + 54)) $((20 + 22))
wait_window "メニュー" 766 478 || fail "the atlas's メニュー button did not return to メニュー"

judgement=(70 145 154 118)
question=(134 64 620 36)
plain_judgement() { (($(other ffffc0 "${judgement[@]}") < 50)); }
feedback_shown() { (($(other ffffc0 "${judgement[@]}") >= 1000)); }

# open_drill LEFT TOP CAPTION: the region button at LEFT, TOP of メニュー, then 国ドリル.
open_drill() {
  wait_until 10 colour_at 00ffff 440 140 || fail "メニュー did not draw its background"
  click_at $(($1 + 89)) $(($2 + 24))
  wait_window "$3" 254 456 || fail "サブメニュー $3 did not appear"
  local submenu=$win
  click_at $((44 + 83)) $((230 + 27))
  local width
  for width in 768 813 818; do
    wait_window "$3ドリル" "$width" 480 "$submenu" 3000 && break
  done
  [[ $win != "$submenu" ]] || fail "the drill $3ドリル did not follow 国ドリル"
  wait_until 10 plain_judgement || fail "$3ドリル shows no plain judgement box"
  find_markers "$3ドリル"
}

# find_markers CAPTION: the markers of the drill's map (the centres of its
# magenta squares) and the map around them, right of the boxes on the left.
find_markers() {
  dumped=$work/poll.xwd
  dump "$dumped"
  markers=()
  local x y
  while read -r x y; do
    markers+=("$((x + 4)) $((y + 4))")
  done < <("$pixels" blocks "$dumped" 0 0 "$win_w" "$win_h" ff00ff 8 8)
  ((${#markers[@]} > 0)) || fail "no marker on $1"
  # The map: around the markers, right of the judgement and accuracy boxes.
  local left=$win_w top=$win_h right=0 bottom=0
  for x in "${markers[@]}"; do
    read -r x y <<<"$x"
    ((x < left)) && left=$x; ((y < top)) && top=$y
    ((x > right)) && right=$x; ((y > bottom)) && bottom=$y
  done
  left=$((left - 40 < 275 ? 275 : left - 40)); top=$((top - 40 < 104 ? 104 : top - 40))
  right=$((right + 40 > win_w ? win_w : right + 40)); bottom=$((bottom + 40 > win_h ? win_h : bottom + 40))
  drill_map=($left $top $((right - left)) $((bottom - top)))
  say "$1: ${#markers[@]} markers"
}

# answer K: clicks marker K after the pointer has crossed the background, so
# that the marker paints its country; waits for the circle or cross.
answer() {
  move_to 5 5
  sleep 0.15
  move_to ${markers[$1]}
  sleep 0.25
  xdotool click 1
  wait_until 3 feedback_shown || fail "no circle or cross after answering marker $1"
}

# next_question: waits for the next question (plain judgement box) and keeps
# it in $work/question.xwd.
next_question() {
  wait_until 6 plain_judgement || fail "the next question did not come"
  sleep 0.2
  dump "$work/question.xwd"
}

# closest DUMP X Y W H CANDIDATES...: the candidate dump nearest to DUMP there.
closest() {
  local dumpfile=$1 best= best_changes= candidate changes
  local rect=("$2" "$3" "$4" "$5")
  shift 5
  for candidate in "$@"; do
    changes=$("$pixels" diff "$dumpfile" "$candidate" "${rect[@]}")
    if [[ -z $best_changes ]] || ((changes < best_changes)); then
      best=$candidate best_changes=$changes
    fi
  done
  echo "$best"
}

# learn: the map each marker paints, then a run answered at random: the map
# left painted after each answer tells which marker the question wanted.
learn() {
  local k count=${#markers[@]}
  painted=()
  for ((k = 0; k < count; ++k)); do
    move_to 5 5
    sleep 0.15
    move_to ${markers[$k]}
    sleep 0.35
    dump "$work/painted-$k.xwd"
    painted+=("$work/painted-$k.xwd")
  done
  for ((k = 0; k < count; ++k)); do
    next_question
    cp "$work/question.xwd" "$work/question-$k.xwd"
    answer $((RANDOM % count))
    sleep 0.3
    dump "$work/answered.xwd"
    local match
    match=$(closest "$work/answered.xwd" "${drill_map[@]}" "${painted[@]}")
    match=${match##*painted-}
    mv "$work/question-$k.xwd" "$work/asks-${match%.xwd}.xwd"
  done
  [[ $(ls "$work"/asks-*.xwd | wc -l) == "$count" ]] || fail "learnt fewer questions than markers"
  say "learnt the $count questions"
}

# restart: the title plate (47, 10, 184 x 53) brings up 再スタート, which starts a new run.
restart() {
  sleep 3
  move_to 5 5
  sleep 0.2
  move_to $((47 + 92)) $((10 + 26))
  sleep 0.4
  xdotool click 1
  sleep 0.5
}

# run_drill MISTAKES [SHOT]: answers a whole run, right except the first
# MISTAKES questions (or at random without learning), taking SHOT after the
# third answer and SHOT-medal at the end.
run_drill() {
  local mistakes=$1 shot=${2:-} count=${#markers[@]} k wanted asked
  asked=("$work"/asks-*.xwd)
  for ((k = 0; k < count; ++k)); do
    next_question
    if [[ -z $quick ]]; then
      wanted=$(closest "$work/question.xwd" "${question[@]}" "${asked[@]}")
      wanted=${wanted##*asks-}
      wanted=${wanted%.xwd}
      ((k < mistakes)) && wanted=$(((wanted + 1) % count))
    else
      wanted=$k
    fi
    answer "$wanted"
    if [[ -n $shot && $k == 2 ]]; then
      sleep 0.3
      shoot "$shot"
    fi
  done
  # The last pause (up to 2.5 s), then the verdict.
  sleep 3.2
  [[ -n $shot ]] && shoot "$shot-medal"
  return 0
}

# Back to メニュー with the drill's メニュー button (649, 15, 109 x 45 on a
# screen 768 wide; 119 from the right).
drill_to_menu() {
  click_at $((win_w - 119 + 54)) $((15 + 22))
  wait_window "メニュー" 766 478 || fail "the drill's メニュー button did not return to メニュー"
}

# The end of a run with misses: まちがえた国をもう一度 (22, 70, 247 x 52) where the
# question stood, over the light green ground.
review_offered() { (($(other c0ffc0 22 70 247 52) > 5000)); }

open_drill 567 409 "南アメリカ"
if [[ -z $quick ]]; then
  learn
  restart
fi
run_drill 0 drill
if [[ -n $quick ]]; then
  # Answered at random, the run has its misses as a rule: its end is the picture.
  wait_until 1 review_offered || say "南アメリカドリル offers no review (no miss)"
  shoot drill-review
fi
drill_to_menu

if [[ -z $quick ]]; then
  open_drill 203 409 "ＮＩＳ諸国"
  learn
  restart
  run_drill 2
  wait_until 3 review_offered || fail "ＮＩＳ諸国ドリル with two misses offers no まちがえた国をもう一度"
  move_to 5 5
  sleep 0.3
  shoot drill-review
  drill_to_menu
fi

# --- the learning drills -------------------------------------------------------------------

# Their boxes on the left: the question box (22, 106, 247 x 172), 判定 (22, 284, 247 x 116)
# with the circle or cross at 30, 306 (64 x 64) and the names beside it.
learning_question=(26 120 239 154)
learning_judgement=(26 298 239 98)
learning_mark=(30 306 64 64)
learning_plain() { (($(other ffffc0 "${learning_judgement[@]}") < 50)); }
learning_feedback() { (($(other ffffc0 "${learning_judgement[@]}") >= 600)); }
# The question box shows the flag, the capital or the four names on white.
learning_asks() { (($(other ffffff "${learning_question[@]}") >= 500)); }
# The cross is dark blue (24, 44, 150); the circle red.
learning_wrong() { (($(count 182c96 "${learning_mark[@]}") >= 50)); }

# open_learning LEFT TOP REGION KIND: the region button at LEFT, TOP of メニュー,
# then the submenu's learning drill KIND (0 国旗ドリル, 1 首都ドリル, 2 国名ドリル
# at 44, 304 + 48 KIND, 166 x 40), until its first question is asked.
learning_words=(国旗ドリル 首都ドリル 国名ドリル)
open_learning() {
  local caption=$3${learning_words[$4]} submenu width
  wait_until 10 colour_at 00ffff 440 140 || fail "メニュー did not draw its background"
  click_at $(($1 + 89)) $(($2 + 24))
  wait_window "$3" 254 456 || fail "サブメニュー $3 did not appear"
  wait_until 10 colour_at ffc0c0 5 5 || fail "サブメニュー $3 did not draw its background"
  submenu=$win
  click_at $((44 + 83)) $((304 + $4 * 48 + 20))
  for width in 768 813 818; do
    wait_window "$caption" "$width" 480 "$submenu" 3000 && break
  done
  [[ $win != "$submenu" ]] || fail "$caption did not follow its button on the submenu"
  wait_until 10 learning_plain || fail "$caption shows no plain judgement box"
  wait_until 10 learning_asks || fail "$caption asks nothing in its question box"
  find_markers "$caption"
}

# miss_on_markers: answers the markers in turn, ending a right answer's pause
# with a click on the ground, until an answer is wrong; leaves its pause on.
miss_on_markers() {
  local k
  for ((k = 0; k < ${#markers[@]}; ++k)); do
    move_to ${markers[$k]}
    sleep 0.2
    xdotool click 1
    wait_until 3 learning_feedback || fail "no circle or cross after answering marker $k"
    sleep 0.2
    wait_until 1 learning_wrong && return 0
    click_at 5 5
    wait_until 3 learning_plain || fail "no next question after a right answer"
    sleep 0.2
  done
  fail "every marker answered was right"
}

open_learning 21 409 "ヨーロッパ" 0
miss_on_markers
move_to 5 5
sleep 0.2
shoot flag-drill
drill_to_menu

if [[ -z $quick ]]; then
  open_learning 21 357 "アジア" 1
  move_to 5 5
  sleep 0.3
  shoot capital-drill
  drill_to_menu

  open_learning 567 357 "アフリカ" 2
  # The first of the four names (30, 124, 231 x 34 and below, 38 apart).
  click_at $((30 + 115)) $((124 + 17))
  wait_until 3 learning_feedback || fail "no circle or cross after a name was chosen"
  move_to 5 5
  sleep 0.3
  shoot name-drill
  drill_to_menu
fi

# --- きょうの復習 and 学習の記録 ---------------------------------------------------------------

# きょうの復習 (259, 318, 192 x 36) under the United Nations flag. The session
# window (818 x 480) has the learning drills' boxes on the left; its title row
# holds 学習の記録 where a drill has 国しらべ (237 from the right) and メニュー.
wait_until 10 colour_at 00ffff 440 140 || fail "メニュー did not draw its background"
click_at $((259 + 96)) $((318 + 18))
wait_window "きょうの復習" 818 480 || fail "きょうの復習 (818x480) did not follow its button on メニュー"
wait_until 10 colour_at c0ffc0 5 5 || fail "きょうの復習 did not draw its background"
wait_until 10 learning_plain || fail "きょうの復習 shows no plain judgement box"
wait_until 10 learning_asks || fail "きょうの復習 asks nothing in its question box"
find_markers "きょうの復習"
move_to 5 5
sleep 0.15
move_to ${markers[0]}
sleep 0.2
xdotool click 1
wait_until 3 learning_feedback || fail "no circle or cross after the review's first answer"
move_to 5 5
sleep 0.2
shoot review-session
# The first answer wrote the record, into the temporary XDG_DATA_HOME.
[[ -s $home/.local/share/kunishirabe/review-record.json ]] || fail "the review's first answer wrote no record"

# 学習の記録 on the title row, still in the answer's pause: it opens the record
# at once.
click_at $((win_w - 237 + 54)) $((15 + 22))
wait_window "学習の記録" 766 478 || fail "the session's 学習の記録 button did not open 学習の記録 (766x478)"
wait_until 10 colour_at c0c0ff 5 5 || fail "学習の記録 did not draw its background"
move_to 5 5
sleep 0.5
shoot learning-record
# Its メニュー (635, 15, 109 x 45).
click_at $((635 + 54)) $((15 + 22))
wait_window "メニュー" 766 478 || fail "学習の記録's メニュー button did not return to メニュー"

# --- 正解率 ------------------------------------------------------------------------------------

wait_until 10 colour_at 00ffff 440 140 || fail "メニュー did not draw its background"
# 正解率表示 (510, 103, 189 x 59) comes up over the dove once the pointer has
# crossed the background.
revealed=
for _ in 1 2 3; do
  move_to 440 140
  sleep 0.3
  move_to 600 60
  sleep 0.6
  click_at $((510 + 94)) $((103 + 29))
  if wait_window "正解率" 768 480 "" 3000; then revealed=yes; break; fi
done
[[ -n $revealed ]] || fail "正解率表示 did not open 正解率"
wait_until 10 colour_at c0ffc0 5 5 || fail "正解率 did not draw its background"
move_to 5 5
sleep 0.5
shoot results

click_at $((615 + 54)) $((10 + 22))
wait_window "メニュー" 766 478 || fail "正解率's メニュー button did not return to メニュー"
click_at $((700 + 22)) $((306 + 22))
wait_exit 5

missing=()
for name in "${pictures[@]}"; do
  [[ -s $work/shots/$name.png ]] || missing+=("$name.png")
done
((${#missing[@]} == 0)) || fail "pictures not taken: ${missing[*]}"
for name in "${pictures[@]}"; do
  cp "$work/shots/$name.png" "$out/$name.png" || fail "cannot write $out/$name.png"
done
say "all ${#pictures[@]} pictures written to $out"
