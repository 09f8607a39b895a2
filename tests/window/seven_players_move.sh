#!/usr/bin/env bash
# Seven humans in the real window: 7_PLAY is chosen from the menu with the
# keyboard, "秦の番です" is answered, and two clicks move 秦's archer from
# (4, 10) to (4, 6). Screenshots before and after the move must show the
# white piece leave its square and stand on the new one.
# The screenshots are kept as seven_players_move_{before,after}.png in the
# build's tests/window.
set -euo pipefail
: "${DARO_GAME_DIR:?}" "${DARO_BUILD_DIR:?}"
here="$(cd "$(dirname "$0")" && pwd)"
checker="$DARO_BUILD_DIR/tests/window/daro_shot_check"
keep="$DARO_BUILD_DIR/tests/window/seven_players_move"

if [ "${1:-}" != inside ]; then
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  cp -R "$DARO_GAME_DIR/." "$work/game"
  rm -f "$work/game/ZT七国将棋.ini"
  export WORK="$work"
  unset QT_QPA_PLATFORM
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/seven_players_move.sh" inside
fi

pid=""
fail() {
  echo "seven_players_move: $*" >&2
  [ -f "$WORK/daro.log" ] && cat "$WORK/daro.log" >&2
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  exit 1
}

cd "$WORK/game"
SDL_AUDIODRIVER=dummy ./daro >"$WORK/daro.log" 2>&1 &
pid=$!

# The main window; a missing sound device is reported in a box first.
win=""
for _ in $(seq 1 300); do
  win="$(xdotool search --onlyvisible --name '^ZT daro$' 2>/dev/null | head -n 1 || true)"
  [ -n "$win" ] && break
  box="$(xdotool search --onlyvisible --name 'dll$' 2>/dev/null | head -n 1 || true)"
  if [ -n "$box" ]; then xdotool windowfocus --sync "$box" key Return || true; fi
  kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
  sleep 0.1
done
[ -n "$win" ] || fail "no window named \"ZT daro\" within 30 seconds"
sleep 1

eval "$(xdotool getwindowgeometry --shell "$win")"
# The canvas (933 x 733 px) fills the window below the menu bar.
ox=$X
oy=$((Y + HEIGHT - 733))
menuBar=$((HEIGHT - 733))

# Any window of the program other than the main one: a message box.
boxOpen() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
    [ "$w" != "$win" ] && { echo "$w"; return 0; }
  done
  return 1
}

# 対局 > 対局 > 7_PLAY: open the first menu, then walk it with the keys.
xdotool mousemove $((X + 20)) $((Y + menuBar / 2)) click 1
sleep 0.5
xdotool key Down; sleep 0.2
xdotool key Right; sleep 0.3
xdotool key Down; sleep 0.2
xdotool key Return

# "秦の番です" is shown; OK it.
box=""
for _ in $(seq 1 50); do
  box="$(boxOpen || true)"
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no box after choosing 7_PLAY"
xdotool windowfocus --sync "$box" key Return || true
for _ in $(seq 1 50); do
  boxOpen >/dev/null || break
  sleep 0.1
done
boxOpen >/dev/null && fail "the box after 7_PLAY did not close"

# Centre of square (x, y) in pixels of the canvas; first pixel of a column / row.
cx() { echo $(( (1100 + 465 * $1) / 15 + 15 )); }
cy() { echo $(( (130 + 465 * $1) / 15 + 15 )); }
col() { echo $(( (1100 + 465 * $1 + 14) / 15 )); }
row() { echo $(( (130 + 465 * $1 + 14) / 15 )); }

squareChecks() {  # name x y colour tolerance share: the inside of a square
  echo "$1 $(( $(col "$2") + 2 )) $(( $(row "$3") + 2 )) 27 27 $4 $5 $6"
}

sleep 0.5
import -window root "$WORK/before.png"
cp "$WORK/before.png" "${keep}_before.png"
"$checker" "$WORK/before.png" "$ox" "$oy" <<CHECKS || fail "before the move: not the opening position (kept in ${keep}_before.png)"
$(squareChecks archer-home 4 10 '#f6f4ec' 30 0.25)
$(squareChecks target-empty 4 6 '#deb878' 35 0.8)
CHECKS

xdotool mousemove $((ox + $(cx 4))) $((oy + $(cy 10))) click 1
sleep 0.3
xdotool mousemove $((ox + $(cx 4))) $((oy + $(cy 6))) click 1
sleep 0.8
boxOpen >/dev/null && fail "the move was refused with a box"

import -window root "$WORK/after.png"
cp "$WORK/after.png" "${keep}_after.png"
"$checker" "$WORK/after.png" "$ox" "$oy" <<CHECKS || fail "after the move: the archer is not on (4, 6) (kept in ${keep}_after.png)"
$(squareChecks archer-moved 4 6 '#f6f4ec' 30 0.25)
$(squareChecks home-empty 4 10 '#deb878' 35 0.8)
$(squareChecks gyo-stays 5 10 '#f6f4ec' 30 0.25)
CHECKS

# Esc ends the program.
xdotool windowfocus --sync "$win" key Escape || true
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  fail "Esc did not end the program"
fi
echo "seven_players_move: ok"
