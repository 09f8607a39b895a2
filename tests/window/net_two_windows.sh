#!/usr/bin/env bash
# Two real windows play against each other through a local daro-server:
# window A creates a table (秦 and 楚 human, the others COM LEVEL1) from
# 対局 > 対局 > ネット対局... and sits at 秦; window B, a second program with
# folders of its own, joins the table by its code and sits at 楚. 秦 moves in
# A and B shows the move; 楚 moves in B and the server's computers answer;
# A shows 楚's move; the server's game file holds both moves and verifies.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
source "$here/net_lib.bash"
net_needs_server net_two_windows
in_virtual_x "$here/net_two_windows.sh" "$@"

trap net_stop_all EXIT
# The program's settings in a folder of the test's own.
export XDG_CONFIG_HOME="$WORK/config"
# Port 0: the server takes a free one and names it in its log.
start_server 0 "$WORK/server.log"

# Clicks board square (X, Y) in window $1.
click_in() {
  xdotool windowraise "$1"
  sleep 0.3
  place_of "$1"
  click_square "$2" "$3"
  sleep 0.4
}
moves_at_server() { grep -c " move " "$WORK/server.log" || true; }

start_game
WIN_A="$WIN"
PID_A="$PID"
PANELS_OPEN="$(open_panel "$WIN_A" "$PID_A" Alice)"
# Seat 1 stays human, seat 2 becomes human, seats 3..7 COM LEVEL1; past the
# pace, the lobby and the hints to 卓を作る.
xdotool key Tab Tab Home
for _ in 3 4 5 6 7; do xdotool key Tab Home Down; done
xdotool key Tab Tab Tab Tab space
wait_for_log "$WORK/server.log" " seat 1 joined" 10 || net_fail "window A did not create the table and sit at seat 1"
code="$(sed -n 's/.* \([A-Z0-9]\{6\}\) created: .*/\1/p' "$WORK/server.log" | head -n 1)"
[ -n "$code" ] || net_fail "the table's code is not in the server's log"

# Window B: a second program, with a game folder, a home and data of its own.
start_second_window
open_panel "$WIN_B" "$PID_B" Bob >/dev/null
# Past the seven seats, the table's choices, 卓を作る and クイック対局 to the
# code; the first free seat; 参加.
for _ in $(seq 1 13); do xdotool key Tab; done
xdotool type "$code"
xdotool key Tab Tab space
wait_for_log "$WORK/server.log" "$code seat 2 joined by Bob" 10 || net_fail "window B did not take seat 2"
wait_for_log "$WORK/server.log" "$code started" 10 || net_fail "the game did not start"

# 秦 moves in A.
click_in "$WIN_A" 5 10
click_in "$WIN_A" 6 10
for _ in $(seq 1 50); do [ "$(moves_at_server)" -ge 1 ] && break; sleep 0.1; done
[ "$(moves_at_server)" -ge 1 ] || net_fail "秦's move from window A did not reach the server"

# B shows it once it has blinked in: (5, 10) is empty, (6, 10) holds 秦's white piece.
sleep 2
xdotool windowraise "$WIN_B"
place_of "$WIN_B"
shoot_and_check net_two_windows_b <<CHECKS
left-empty    $(( $(col 5) + 2 )) $(( $(row 10) + 2 )) 27 27 #deb878 35 0.8
piece-arrived $(( $(col 6) + 2 )) $(( $(row 10) + 2 )) 27 27 #f6f4ec 30 0.25
CHECKS

# 楚 moves in B; the five computers answer.
click_in "$WIN_B" 6 15
click_in "$WIN_B" 6 14
for _ in $(seq 1 100); do [ "$(moves_at_server)" -ge 2 ] && break; sleep 0.1; done
[ "$(moves_at_server)" -ge 2 ] || net_fail "楚's move from window B did not reach the server"
for _ in $(seq 1 300); do [ "$(moves_at_server)" -ge 7 ] && break; sleep 0.1; done
[ "$(moves_at_server)" -ge 7 ] || net_fail "the server's computers did not answer 楚's move"

curl -fsS "http://127.0.0.1:$port/game/$code" >"$WORK/net.daro" || net_fail "the server's game file could not be fetched"
grep -q '^move 1 1 5 10 6 10 ' "$WORK/net.daro" || net_fail "秦's move is not in the server's game"
grep -q '^move 2 2 6 15 6 14 ' "$WORK/net.daro" || net_fail "楚's move is not in the server's game"
"$DARO_BUILD_DIR/tools/daro-autoplay" --verify "$WORK/net.daro" >/dev/null || net_fail "the server's game does not verify"

# A shows 楚's move: (6, 15) is empty, (6, 14) holds a red piece. A blinks
# in each of the six moves since its own, so this may take a while.
xdotool windowraise "$WIN_A"
place_of "$WIN_A"
for attempt in $(seq 1 6); do
  sleep 2
  import -window root "$WORK/a.png"
  "$DARO_BUILD_DIR/tests/window/daro_shot_check" "$WORK/a.png" "$OX" "$OY" >/dev/null <<CHECKS && break
left-empty    $(( $(col 6) + 2 )) $(( $(row 15) + 2 )) 27 27 #deb878 35 0.8
piece-arrived $(( $(col 6) + 2 )) $(( $(row 14) + 2 )) 27 27 #cc2020 90 0.05
CHECKS
done
shoot_and_check net_two_windows_a <<CHECKS
left-empty    $(( $(col 6) + 2 )) $(( $(row 15) + 2 )) 27 27 #deb878 35 0.8
piece-arrived $(( $(col 6) + 2 )) $(( $(row 14) + 2 )) 27 27 #cc2020 90 0.05
CHECKS

kill "$PID_B" 2>/dev/null || true
wait "$PID_B" 2>/dev/null || true
PID_B=""
WIN="$WIN_A"
PID="$PID_A"
end_with_esc
echo "net_two_windows: ok"
