#!/usr/bin/env bash
# Starts the built game in a virtual X server from a fresh copy of the game
# folder, photographs the screen and checks the board, a piece, an empty
# square, the background and the title; then Esc must end the program.
# The screenshot is kept as start_and_look.png in the build's tests/window.
set -euo pipefail
: "${DARO_GAME_DIR:?}" "${DARO_BUILD_DIR:?}"
here="$(cd "$(dirname "$0")" && pwd)"
checker="$DARO_BUILD_DIR/tests/window/daro_shot_check"
keep="$DARO_BUILD_DIR/tests/window/start_and_look.png"

if [ "${1:-}" != inside ]; then
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  cp -R "$DARO_GAME_DIR/." "$work/game"
  rm -f "$work/game/ZT七国将棋.ini"
  export WORK="$work"
  unset QT_QPA_PLATFORM
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/start_and_look.sh" inside
fi

fail() { echo "start_and_look: $*" >&2; [ -f "$WORK/daro.log" ] && cat "$WORK/daro.log" >&2; exit 1; }

cd "$WORK/game"
SDL_AUDIODRIVER=dummy ./daro >"$WORK/daro.log" 2>&1 &
pid=$!

# Wait for the main window; a missing sound device is reported in a box
# first, which is answered.
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
timeout 20 xdotool search --sync --onlyvisible --name '^ZT daro$' >/dev/null || fail "window not mapped"
sleep 1

eval "$(xdotool getwindowgeometry --shell "$win")"
# The canvas fills the window below the menu bar: 933 x 733 pixels.
ox=$X
oy=$((Y + HEIGHT - 733))
import -window root "$WORK/shot.png"
cp "$WORK/shot.png" "$keep"

# First pixel of board column / row n: ceil((1100 + 465 n) / 15), ceil((130 + 465 n) / 15).
col() { echo $(( (1100 + 465 * $1 + 14) / 15 )); }
row() { echo $(( (130 + 465 * $1 + 14) / 15 )); }

"$checker" "$WORK/shot.png" "$ox" "$oy" <<CHECKS || fail "the screenshot is not the opening position (kept in $keep)"
# square outlines in QBColor 2
grid-top      $(( $(col 1) + 1 )) $(row 1) 29 1  #008000 8 0.9
grid-between  $(col 5) $(( $(row 5) + 2 )) 1 27  #008000 8 0.9
grid-bottom   $(col 3) $(row 20) 150 1           #008000 8 0.9
# the centre piece on (10, 10) is yellow
centre-piece  $(( $(col 10) + 2 )) $(( $(row 10) + 2 )) 27 27 #f5d641 55 0.3
# (9, 9) is empty: plain board wood
empty-square  $(( $(col 9) + 2 )) $(( $(row 9) + 2 )) 27 27 #deb878 35 0.8
# the kings of 秦 (white) on (1, 10) and 燕 (black) on (6, 1)
king-of-sou   $(( $(col 1) + 2 )) $(( $(row 10) + 2 )) 27 27 #f6f4ec 30 0.25
king-of-en    $(( $(col 6) + 2 )) $(( $(row 1) + 2 )) 27 27 #26262a 40 0.2
# the background beside the board is the default 緑
background    5 640 40 40                         #1c7034 45 0.7
# the title at square (21.8, 0): lacquer and gold letters
title-panel   760 20 150 40                       #3c0e09 40 0.3
title-letters 760 12 150 34                       #e6be50 60 0.03
CHECKS

# Esc ends the program at once, successfully.
xdotool windowfocus --sync "$win" key Escape || true
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  kill "$pid"
  fail "Esc did not end the program"
fi
wait "$pid" || fail "the program ended with status $?"
echo "start_and_look: ok"
