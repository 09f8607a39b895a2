#!/usr/bin/env bash
# LEVEL4 thinks on a thread of its own: Esc pressed while a search runs ends
# the program at once. LEVEL4 from the menu, then 1_PLAY at 燕 so that six
# computers move first; Esc goes in as soon as a search thread is seen.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/level4_search_esc.sh" "$@"

tasks() { ls "/proc/$PID/task" | wc -l; }

start_game
# 対局 > COM対局ﾚﾍﾞﾙ > LEVEL4
xdotool mousemove --sync $((OX + 16)) "$BAR_Y" click 1
sleep 0.5
xdotool key Down Down Right
sleep 0.3
xdotool key Down Down Down Return
sleep 0.5
idle_tasks="$(tasks)"
# 対局 > 対局 > 1_PLAY > 7番目(燕)
xdotool mousemove --sync $((OX + 16)) "$BAR_Y" click 1
sleep 0.5
xdotool key Down Right
sleep 0.3
xdotool key Right
sleep 0.3
xdotool key Down Down Down Down Down Down Return

searching=""
for _ in $(seq 1 2000); do
  if [ "$(tasks)" -gt "$idle_tasks" ]; then searching=yes; break; fi
  sleep 0.005
done
[ -n "$searching" ] || fail "no search thread was seen"
xdotool key --window "$WIN" Escape
pressed=$(date +%s%N)
for _ in $(seq 1 400); do
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.005
done
ended=$(date +%s%N)
kill -0 "$PID" 2>/dev/null && fail "Esc during a search did not end the program"
latency_ms=$(( (ended - pressed) / 1000000 ))
echo "level4_search_esc: Esc ended the program ${latency_ms} ms after it was pressed during a search"
[ "$latency_ms" -lt 200 ] || fail "Esc took ${latency_ms} ms during a search (200 ms allowed)"
echo "level4_search_esc: ok"
