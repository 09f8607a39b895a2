#!/usr/bin/env bash
# A window at a table of a real daro-server that is killed and started
# again: window A creates a table (秦 human, the others COM LEVEL1), sits at
# 秦 and says a chat line. The server is killed; the panel goes back to the
# seat by itself, with its token, once the server is up again, and 秦's move
# reaches the new server. Then the program is closed and started again: the
# panel still knows the server and the name, offers the table to rejoin, and
# rejoins it; the chat line was kept with the table.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
source "$here/net_lib.bash"
net_needs_server net_server_restart
in_virtual_x "$here/net_server_restart.sh" "$@"

trap net_stop_all EXIT
# Photographs window $1 into the build's test folder as $2.png, to look at.
keep_shot() {
  import -window "$1" "$DARO_BUILD_DIR/tests/window/$2.png" 2>/dev/null || true
}

start_server 0 "$WORK/server1.log"
# The program's settings in a folder of the test's own.
export XDG_CONFIG_HOME="$WORK/config"
start_game
PANEL="$(open_panel "$WIN" "$PID" Alice)"
# From the name: 秦 human, 楚 … 燕 COM LEVEL1, then past the table's choices to 卓を作る.
xdotool key Tab Home
for _ in 2 3 4 5 6 7; do xdotool key Tab Home Down; done
xdotool key Tab Tab Tab Tab space
wait_for_log "$WORK/server1.log" " seat 1 joined by Alice" 10 || net_fail "the panel did not create the table and sit at seat 1"
code="$(sed -n 's/.* \([A-Z0-9]\{6\}\) created: .*/\1/p' "$WORK/server1.log" | head -n 1)"
[ -n "$code" ] || net_fail "the table's code is not in the server's log"

# A chat line, typed in the chat line at the panel's foot.
eval "$(xdotool getwindowgeometry --shell "$PANEL")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT - 16)) click 1
sleep 0.3
xdotool type "hello table"
xdotool key Return
chat=""
for _ in $(seq 1 50); do
  chat="$(find "$WORK/data" -name "$code.chat" 2>/dev/null | head -n 1)"
  [ -n "$chat" ] && grep -q "Alice: hello table" "$chat" && break
  sleep 0.1
done
[ -n "$chat" ] && grep -q "Alice: hello table" "$chat" || net_fail "the chat line was not kept with the table"
[ -f "$(dirname "$chat")/$code.seat" ] || net_fail "the seat's token was not kept"

# The server dies and comes back on the same port; the panel finds its seat again.
kill -9 "$SERVER"
wait "$SERVER" 2>/dev/null || true
sleep 0.5
keep_shot "$PANEL" net_server_restart_lost
start_server "$port" "$WORK/server2.log"
wait_for_log "$WORK/server2.log" "$code seat 1 back" 40 || net_fail "the panel did not take its seat back after the restart"
sleep 1
keep_shot "$PANEL" net_server_restart_back

# 秦 moves, and the move reaches the new server.
xdotool windowraise "$WIN"
sleep 0.3
click_square 5 10
sleep 0.4
click_square 6 10
wait_for_log "$WORK/server2.log" "$code.* move " 10 || grep -q " move " "$WORK/server2.log" ||
  net_fail "秦's move after the restart did not reach the server"

# Closed and started again: the server and the name are kept, and the table is offered.
end_with_esc
# The settings live beside the classic ones: in the game's folder or the configuration folder.
settings="$(ls "$WORK/game/daro.conf" "$WORK/config/daro/daro.conf" 2>/dev/null | xargs grep -l '^netServer=' 2>/dev/null | head -n 1 || true)"
[ -n "$settings" ] || net_fail "the server was not kept: $(cat "$WORK/game/daro.conf" "$WORK/config/daro/daro.conf" 2>/dev/null)"
grep -q "^netServer=ws://127.0.0.1:$port/" "$settings" || net_fail "the server was not kept: $(cat "$settings")"
grep -q "^netName=Alice" "$settings" || net_fail "the name was not kept"
start_game
PANEL="$(open_panel "$WIN" "$PID")"
sleep 0.5
keep_shot "$PANEL" net_server_restart_reopened
# From the server's field past the name, the seven seats, the table's
# choices, 卓を作る, クイック対局, the code, its seat, 参加, 観戦 and
# 公開の卓を見る to the tables to rejoin; the first one.
for _ in $(seq 1 19); do xdotool key Tab; done
xdotool key Home Return
for _ in $(seq 1 100); do [ "$(grep -c "$code seat 1 back" "$WORK/server2.log")" -ge 2 ] && break; sleep 0.1; done
[ "$(grep -c "$code seat 1 back" "$WORK/server2.log")" -ge 2 ] || net_fail "the panel did not rejoin the table it offered"
sleep 1
keep_shot "$PANEL" net_server_restart_rejoined
grep -q "Alice: hello table" "$chat" || net_fail "the chat line was lost"
end_with_esc
echo "net_server_restart: ok"
