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
server="${DARO_BUILD_DIR:?}/tools/daro-server"
# The sanitizer build leaves the server's socket side out.
if [ ! -x "$server" ]; then
  echo "net_server_restart: skipped, this build has no daro-server"
  exit 0
fi
source "$here/window_lib.bash"
in_virtual_x "$here/net_server_restart.sh" "$@"

mkdir -p "$WORK/server"
SERVER=""
stop_all() {
  [ -n "${PID:-}" ] && kill "$PID" 2>/dev/null
  [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null
  wait 2>/dev/null || true
}
trap stop_all EXIT
net_fail() {
  for log in "$WORK"/server*.log; do echo "--- $log" >&2; cat "$log" >&2 || true; done
  fail "$@"
}
# Starts the server at $1 (0: a free port), its log in $2; sets SERVER and port.
start_server() {
  "$server" --listen "127.0.0.1:$1" --data "$WORK/server" 2>"$2" &
  SERVER=$!
  for _ in $(seq 1 100); do grep -q listening "$2" 2>/dev/null && break; sleep 0.1; done
  port="$(sed -n 's|.*listening on ws://127\.0\.0\.1:\([0-9]*\) .*|\1|p' "$2")"
  [ -n "$port" ] || net_fail "the server did not start"
}
wait_for_log() {  # FILE PATTERN SECONDS
  for _ in $(seq 1 $(($3 * 10))); do grep -q "$2" "$1" && return 0; sleep 0.1; done
  return 1
}

# Opens 対局 > 対局 > ネット対局... in window $WIN; with $1, fills in the
# server and the name $1. Prints the panel's window id.
open_panel() {
  local panel="" popup
  xdotool windowraise "$WIN"
  sleep 0.3
  open_menu 16
  popup="$POPUP"
  choose_item 1 4 >/dev/null
  for _ in $(seq 1 30); do
    POPUP="$(other_window)"
    [ -n "$POPUP" ] && [ "$POPUP" != "$popup" ] && break
    sleep 0.1
  done
  [ -n "$POPUP" ] && [ "$POPUP" != "$popup" ] || net_fail "対局 > 対局 opened no submenu"
  sleep 0.3
  choose_item 4 4
  for _ in $(seq 1 50); do
    panel="$(xdotool search --onlyvisible --name '^ネット対局$' 2>/dev/null | head -n 1 || true)"
    [ -n "$panel" ] && break
    sleep 0.1
  done
  [ -n "$panel" ] || net_fail "ネット対局... opened no panel"
  xdotool windowfocus --sync "$panel"
  sleep 0.3
  if [ -n "${1:-}" ]; then
    xdotool key ctrl+a
    xdotool type "ws://127.0.0.1:$port/"
    xdotool key Tab ctrl+a
    xdotool type "$1"
  fi
  echo "$panel"
}
# Photographs window $1 into the build's test folder as $2.png, to look at.
keep_shot() {
  import -window "$1" "$DARO_BUILD_DIR/tests/window/$2.png" 2>/dev/null || true
}

start_server 0 "$WORK/server1.log"
# The program's settings in a folder of the test's own.
export XDG_CONFIG_HOME="$WORK/config"
start_game
PANEL="$(open_panel Alice)"
# From the name: 秦 human, 楚 … 燕 COM LEVEL1, then 卓を作る.
xdotool key Tab Home
for _ in 2 3 4 5 6 7; do xdotool key Tab Home Down; done
xdotool key Tab space
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
settings="$WORK/config/daro/daro.conf"
grep -q "^netServer=ws://127.0.0.1:$port/" "$settings" || net_fail "the server was not kept: $(cat "$settings")"
grep -q "^netName=Alice" "$settings" || net_fail "the name was not kept"
start_game
PANEL="$(open_panel)"
sleep 0.5
keep_shot "$PANEL" net_server_restart_reopened
# From the server's field past the name, the seven seats, 卓を作る, the code,
# its seat, 参加 and 観戦 to the tables to rejoin; the first one.
for _ in $(seq 1 14); do xdotool key Tab; done
xdotool key Home Return
for _ in $(seq 1 100); do [ "$(grep -c "$code seat 1 back" "$WORK/server2.log")" -ge 2 ] && break; sleep 0.1; done
[ "$(grep -c "$code seat 1 back" "$WORK/server2.log")" -ge 2 ] || net_fail "the panel did not rejoin the table it offered"
sleep 1
keep_shot "$PANEL" net_server_restart_rejoined
grep -q "Alice: hello table" "$chat" || net_fail "the chat line was lost"
end_with_esc
echo "net_server_restart: ok"
