#!/usr/bin/env bash
# A rematch between two real windows at a local daro-server: window A makes a
# turn-based public table (秦 and 楚 human, an hour a move, the others COM
# LEVEL1) from the panel, window B joins it. Nobody moves; the server's clock
# is moved on an hour at a time, the computer moves for the seats that run
# out of time and the computers finish the game. A offers the rematch with
# 再戦, B accepts it with the same button: both sit on their old seats at the
# new table, which starts; A's board shows the opening again, and 秦's move
# from A reaches the new table. Then B's クイック対局 seats B at a new
# quick-play table.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
source "$here/net_lib.bash"
net_needs_server net_rematch
in_virtual_x "$here/net_rematch.sh" "$@"

trap net_stop_all EXIT
# The program's settings in a folder of the test's own.
export XDG_CONFIG_HOME="$WORK/config"
log="$WORK/server.log"
echo 0 >"$WORK/clock"
start_server 0 "$log" --clock-file "$WORK/clock"

# The computers finish a game in seconds: the windows follow it at the
# fastest pace (速さ > 最速), without the blinks.
printf 'HAYASA_HYOUJUN=false\nHAYASA_SAISOKU=true\n' >>"$WORK/game/daro.conf"
start_game
WIN_A="$WIN"
PID_A="$PID"
PANELS_OPEN="$(open_panel "$WIN_A" "$PID_A" Alice)"
PANEL_A="$PANELS_OPEN"
# 秦 and 楚 human, 韓 … 燕 COM LEVEL1; 手番ごと with 1時間 a move; public; 卓を作る.
xdotool key Tab Tab Home
for _ in 3 4 5 6 7; do xdotool key Tab Home Down; done
xdotool key Tab Down Tab Home Tab space Tab Tab space
wait_for_log "$log" " seat 1 joined by Alice" 10 || net_fail "window A did not create the table and sit at seat 1"
grep -q "created: human human level1 level1 level1 level1 level1, level 3, grace 90s, public, 3600s a move" "$log" ||
  net_fail "the table is not the turn-based public table chosen in the panel"
code="$(sed -n 's/.* \([A-Z0-9]\{6\}\) created: .*/\1/p' "$log" | head -n 1)"

start_second_window
PANEL_B="$(open_panel "$WIN_B" "$PID_B" Bob)"
# Past the seven seats, the table's choices, 卓を作る and クイック対局 to the code; 参加.
for _ in $(seq 1 13); do xdotool key Tab; done
xdotool type "$code"
xdotool key Tab Tab space
wait_for_log "$log" "$code seat 2 joined by Bob" 10 || net_fail "window B did not take seat 2"
wait_for_log "$log" "$code started" 10 || net_fail "the game did not start"

# An hour passes at each step until the game is over.
skew=0
for _ in $(seq 1 600); do
  grep -q "^.* $code over " "$log" && break
  skew=$((skew + 3601))
  echo "$skew" >"$WORK/clock"
  sleep 0.3
done
grep -q "^.* $code over " "$log" || net_fail "the computers did not finish the game"
sleep 1

# A's focus is still on 卓を作る: past クイック対局, the code, its seat, 参加,
# 観戦 and 公開の卓を見る (no other table is held) to 再戦.
xdotool windowraise "$PANEL_A"
xdotool windowfocus --sync "$PANEL_A"
sleep 0.3
xdotool key Tab Tab Tab Tab Tab Tab Tab
sleep 0.3
import -window "$PANEL_A" "$DARO_BUILD_DIR/tests/window/net_rematch_over.png" 2>/dev/null || true
xdotool key space
for _ in $(seq 1 100); do
  next="$(sed -n "s/.* \([A-Z0-9]\{6\}\) seat 1 joined by Alice/\1/p" "$log" | grep -vx "$code" | head -n 1 || true)"
  [ -n "$next" ] && break
  sleep 0.1
done
[ -n "$next" ] || net_fail "A's 再戦 did not seat A at a new table"

# B's focus is still on 参加: past 観戦 and 公開の卓を見る to 再戦を受ける.
xdotool windowraise "$PANEL_B"
xdotool windowfocus --sync "$PANEL_B"
sleep 0.5
import -window "$PANEL_B" "$DARO_BUILD_DIR/tests/window/net_rematch_offered.png" 2>/dev/null || true
xdotool key Tab Tab Tab space
wait_for_log "$log" "$next seat 2 joined by Bob" 10 || net_fail "B did not accept the rematch on its seat"
wait_for_log "$log" "$next started" 10 || net_fail "the rematch did not start"
data_b="$(find "$WORK/b/data" -name "$next.seat" | head -n 1)"
[ -n "$data_b" ] && grep -q '^2 [0-9a-f]\{32\}$' "$data_b" || net_fail "B did not keep its seat at the new table"

# A's board is the opening again, and 秦 moves there.
xdotool windowraise "$WIN_A"
place_of "$WIN_A"
shoot_and_check net_rematch_a <<CHECKS
piece-home $(( $(col 5) + 2 )) $(( $(row 10) + 2 )) 27 27 #f6f4ec 30 0.25
CHECKS
click_square 5 10
sleep 0.4
click_square 6 10
wait_for_log "$log" "$next move 1 1 5 10 6 10 " 10 || net_fail "秦's move from A did not reach the new table"

# Quick play from B: from the name (clicked; the panel's rows start at its
# top) past the pace, the lobby and the hints, and 新しい卓の席を選ぶ (the seat
# boxes show the table's seats and take no focus) to クイック対局.
xdotool windowraise "$PANEL_B"
eval "$(xdotool getwindowgeometry --shell "$PANEL_B")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + 49)) click 1
sleep 0.3
xdotool key Tab Tab Tab Tab Tab space
wait_for_log "$log" "created: human human human human human human human, level 3, grace 90s, public, quick play after 180s" 10 ||
  net_fail "B's quick play made no quick-play table"
quick="$(sed -n 's/.* \([A-Z0-9]\{6\}\) created: .*quick play.*/\1/p' "$log" | head -n 1)"
wait_for_log "$log" "$quick seat 1 joined by Bob" 10 || net_fail "B's quick play did not seat B"

kill "$PID_B" 2>/dev/null || true
wait "$PID_B" 2>/dev/null || true
PID_B=""
WIN="$WIN_A"
PID="$PID_A"
end_with_esc
echo "net_rematch: ok"
