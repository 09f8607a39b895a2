#!/usr/bin/env bash
# A browser and the desktop window at one daro-server table: the window
# creates the table (秦 and 楚 human, the others COM LEVEL1) from
# 対局 > 対局 > ネット対局... and sits at 秦; the browser opens the table's
# invitation link and sits at 楚. 秦 moves in the window and the browser
# shows it on the right squares; 楚 moves in the browser and the window
# shows it; the server's game holds both moves and verifies.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
server="${DARO_SERVER:-${DARO_BUILD_DIR:?}/tools/daro-server}"
if [ ! -x "$server" ] || [ ! -x "${DARO_GAME_DIR:?}/daro" ] || [ ! -x /usr/bin/chromium ] || [ -z "${DARO_NODE:-}" ]; then
  echo "browser_and_window: skipped, this build has no daro-server, window, browser or node"
  exit 0
fi
source "$here/../window/window_lib.bash"
in_virtual_x "$here/browser_and_window.sh" "$@"
source "$here/../window/net_lib.bash"

mkdir -p "$WORK/server"
"$server" --listen 127.0.0.1:0 --data "$WORK/server" 2>"$WORK/server.log" &
SERVER=$!
BROWSER=""
exec 9>"$WORK/browser.in"
stop_all() {
  exec 9>&-
  [ -n "$BROWSER" ] && kill "$BROWSER" 2>/dev/null
  [ -n "${PID:-}" ] && kill "$PID" 2>/dev/null
  kill "$SERVER" 2>/dev/null
  wait 2>/dev/null || true
}
trap stop_all EXIT
net_fail() {
  echo "--- server log" >&2
  cat "$WORK/server.log" >&2 || true
  echo "--- browser" >&2
  cat "$WORK/browser.out" "$WORK/browser.err" >&2 2>/dev/null || true
  fail "$@"
}
for _ in $(seq 1 100); do grep -q listening "$WORK/server.log" 2>/dev/null && break; sleep 0.1; done
port="$(sed -n 's|.*listening on ws://127\.0\.0\.1:\([0-9]*\) .*|\1|p' "$WORK/server.log")"
[ -n "$port" ] || net_fail "the server did not start"

wait_for_log() {  # PATTERN SECONDS
  for _ in $(seq 1 $(($2 * 10))); do grep -q "$1" "$WORK/server.log" && return 0; sleep 0.1; done
  return 1
}
wait_for_browser() {  # PATTERN SECONDS
  for _ in $(seq 1 $(($2 * 10))); do grep -q "$1" "$WORK/browser.out" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}
moves_at_server() { grep -c " move " "$WORK/server.log" || true; }

start_game
WIN_A="$WIN"
panel="$(open_panel "$WIN_A" "$PID" Alice)"
[ -n "$panel" ] || net_fail "ネット対局... opened no panel"
# Seat 1 stays human, seat 2 becomes human, seats 3..7 COM LEVEL1; then 卓を作る.
xdotool key Tab Tab Home
for _ in 3 4 5 6 7; do xdotool key Tab Home Down; done
# Past 進め方, 公開の卓にする and ヒントを許す to 卓を作る.
xdotool key Tab Tab Tab Tab space
wait_for_log " seat 1 joined" 10 || net_fail "the window did not create the table and sit at seat 1"
code="$(sed -n 's/.* \([A-Z0-9]\{6\}\) created: .*/\1/p' "$WORK/server.log" | head -n 1)"
[ -n "$code" ] || net_fail "the table's code is not in the server's log"

# The browser follows the invitation link.
(cd "$DARO_WEB_SOURCE" && "$DARO_NODE" "$here/browser/seat_at_table.mjs" "$port" "$code" \
  <"$WORK/browser.in" >"$WORK/browser.out" 2>"$WORK/browser.err") &
BROWSER=$!
wait_for_browser "^seated 2" 60 || net_fail "the browser did not sit at seat 2"
wait_for_log "$code started" 10 || net_fail "the game did not start"

# 秦 moves in the window; the browser shows it on the same squares.
place_of "$WIN_A"
xdotool windowraise "$WIN_A"
sleep 0.3
click_square 5 10
sleep 0.4
click_square 6 10
sleep 0.4
wait_for_browser "^saw 5 10 6 10 50" 30 || net_fail "the browser did not show 秦's move from 5-10 to 6-10"

# 楚 moves in the browser; the window shows it.
wait_for_browser "^moved " 60 || net_fail "the browser did not move for 楚"
read -r _ fx fy tx ty piece < <(grep "^moved " "$WORK/browser.out")
for _ in $(seq 1 100); do [ "$(moves_at_server)" -ge 2 ] && break; sleep 0.1; done
[ "$(moves_at_server)" -ge 2 ] || net_fail "楚's move from the browser did not reach the server"
xdotool windowraise "$WIN_A"
place_of "$WIN_A"
for attempt in $(seq 1 6); do
  sleep 2
  import -window root "$WORK/a.png"
  "$DARO_BUILD_DIR/tests/window/daro_shot_check" "$WORK/a.png" "$OX" "$OY" >/dev/null <<CHECKS && break
left-empty    $(( $(col "$fx") + 2 )) $(( $(row "$fy") + 2 )) 27 27 #deb878 35 0.8
piece-arrived $(( $(col "$tx") + 2 )) $(( $(row "$ty") + 2 )) 27 27 #cc2020 90 0.05
CHECKS
done
shoot_and_check browser_and_window <<CHECKS
left-empty    $(( $(col "$fx") + 2 )) $(( $(row "$fy") + 2 )) 27 27 #deb878 35 0.8
piece-arrived $(( $(col "$tx") + 2 )) $(( $(row "$ty") + 2 )) 27 27 #cc2020 90 0.05
CHECKS

curl -fsS "http://127.0.0.1:$port/game/$code" >"$WORK/net.daro" || net_fail "the server's game file could not be fetched"
grep -q '^move 1 1 5 10 6 10 ' "$WORK/net.daro" || net_fail "秦's move is not in the server's game"
grep -q "^move 2 2 $fx $fy $tx $ty $piece " "$WORK/net.daro" || net_fail "楚's move is not in the server's game"
"$DARO_AUTOPLAY" --verify "$WORK/net.daro" >/dev/null || net_fail "the server's game does not verify"

exec 9>&-
wait "$BROWSER" 2>/dev/null || true
BROWSER=""
end_with_esc
echo "browser_and_window: ok"
