#!/usr/bin/env bash
# One human in seat 7 (燕): the six computer kingdoms move first. Watched
# on the screen, "思考中" stands beside the board on every computer move for
# at least 0.15 s (from the refresh before the search until the first blink
# phase is shown), and the first mover's square is seen in both blink
# phases. Then, re-seated so the computers play again, Esc in the middle of
# their chain ends the program at once.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/computers_think_and_blink.sh" "$@"

sampler="$DARO_BUILD_DIR/tests/window/daro_area_sampler"
# The computer plays as it always does: its first move tells which square blinks.
read -r _ _ _ fx fy _ < <("$DARO_BUILD_DIR/tools/daro-autoplay" --max-moves 1)

start_game

# Menu 対局 > 対局 > 1_PLAY > its seventh item, 7番目(燕), by keys.
choose_seat() {
  xdotool mousemove --sync $((OX + 16)) "$BAR_Y" click 1
  sleep 0.5
  xdotool key Down Right
  sleep 0.3
  xdotool key Right
  sleep 0.3
  local downs=$(( $1 - 1 ))
  [ "$downs" -gt 0 ] && xdotool key --repeat "$downs" Down
  sleep 0.3
}

# Rows 21..24 of the canvas, left of the board: "思考中" passes through
# them, the level and the move number do not. The sampler takes its first
# look before the menus open over them.
thinking="$((OX + 34)) $((OY + 21)) 48 4"
square="$((OX + $(col "$fx") + 4)) $((OY + $(row "$fy") + 4)) 23 23"
"$sampler" 60 $thinking $square >"$WORK/samples" &
sampling=$!
for _ in $(seq 1 100); do
  [ -s "$WORK/samples" ] && break
  sleep 0.1
done
choose_seat 7
chosen=$(date +%s.%N)
xdotool key Return
# Each stretch of samples showing "思考中": how long it was up, measured
# from the last sample without it to the first sample without it again.
stretches_of_thinking() {
  awk -v chosen="$chosen" '
    BEGIN { last_off = chosen }
    $1 < chosen { next }  # the menus covered the area until then
    { t = $1; on = ($2 >= 6) }
    on && !was { start = last_off; seen = 0 }
    on { seen++ }
    !on && was { if (seen >= 1) { n++; d = t - start; printf "thinking %d: %.2f s (%d samples)\n", n, d, seen; if (d < 0.15) short++ } }
    !on { last_off = t }
    { was = on }
    END { printf "stretches %d short %d\n", n, short + 0 }
  ' "$WORK/samples"
}
# Six computer moves; each shows "思考中" once.
for _ in $(seq 1 160); do
  kill -0 "$sampling" 2>/dev/null || break
  [ "$(stretches_of_thinking | tail -n 1 | awk '{print $2}')" -ge 6 ] && break
  sleep 0.25
done
sleep 2.5  # the last move's blinks
kill "$sampling" 2>/dev/null || true
wait "$sampling" 2>/dev/null || true
cp "$WORK/samples" "$DARO_BUILD_DIR/tests/window/computers_think_and_blink.samples"

report="$(stretches_of_thinking)"
echo "$report"
stretches="$(tail -n 1 <<<"$report" | awk '{print $2}')"
short="$(tail -n 1 <<<"$report" | awk '{print $4}')"
[ "$stretches" -ge 6 ] || fail "\"思考中\" was seen on $stretches computer moves, not on all six"
[ "$short" -eq 0 ] || fail "\"思考中\" was up for less than 0.15 s on $short computer moves"

# The first mover's square: the piece (as at the start) and the empty square
# take turns; at least two empty phases with the piece shown between them.
empties="$(awk -v chosen="$chosen" '
  $1 < chosen { next }
  { empty = ($3 >= 200) }
  empty && !was { n++ }
  { was = empty }
  END { print n + 0 }
' "$WORK/samples")"
echo "empty phases of square ($fx, $fy): $empties"
[ "$empties" -ge 2 ] || fail "the blinking square ($fx, $fy) was not seen in both phases"

# Seat 6 now: 燕 and then 秦 … 斉 are computers again and move at once.
# Esc a second into their chain ends the program within moments.
choose_seat 6
xdotool key Return
sleep 1
kill -0 "$PID" 2>/dev/null || fail "the program ended before Esc"
began=$(date +%s%N)
xdotool key Escape
for _ in $(seq 1 500); do
  kill -0 "$PID" 2>/dev/null || break
  sleep 0.01
done
ended=$(date +%s%N)
kill -0 "$PID" 2>/dev/null && fail "Esc during the computers' moves did not end the program"
status=0
wait "$PID" || status=$?
PID=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
ms=$(( (ended - began) / 1000000 ))
echo "Esc during the computers' moves: gone after $ms ms"
# Within 0.2 s on a quiet machine; a loaded one is given more.
[ "$ms" -le 1000 ] || fail "Esc took $ms ms to end the program"
echo "computers_think_and_blink: ok"
