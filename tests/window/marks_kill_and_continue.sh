#!/usr/bin/env bash
# One human at 秦 with the marks on, at the fastest pace. After the human's
# move and the six computer moves, exactly those six destination squares
# carry a mark in their mover's colour. The program is then killed; started
# again, it offers the kept game ("前回の続き", answered No), 局面 →
# 前回の続き then opens it at its last move, and the same six marks are back.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/marks_kill_and_continue.sh" "$@"

printf '[General]\nTE_HYOUJI=true\nOUTE=false\nHAYASA_HYOUJUN=false\nHAYASA_SAISOKU=true\n' >"$WORK/game/daro.conf"
# 秦's first move as the computer would make it: a legal move for the human.
read -r _ _ _ fx fy tx ty _ < <("$DARO_BUILD_DIR/tools/daro-autoplay" --max-moves 1)

# The pixel of a twips offset inside board column / row n.
px() { echo $(( (1100 + 465 * $1 + $2 + 14) / 15 )); }
py() { echo $(( (130 + 465 * $1 + $2 + 14) / 15 )); }
# QBColor of each seat's mark badge.
colour_of_seat=("" ffffff 800000 ff00ff 000080 00ff00 800080 000000)

# Squares whose badge (top left corner, inside its frame, beside its number)
# shows one seat's colour at its top, middle and bottom: "x y colour".
marked_squares() {
  import -window root "$WORK/$1.png"
  cp "$WORK/$1.png" "$DARO_BUILD_DIR/tests/window/$1.png"
  # The window may stand a little left of the screen: no crop, the origin is added.
  convert "$WORK/$1.png" txt:- |
    awk -v want="${colour_of_seat[*]}" -v ox="$OX" -v oy="$OY" '
      NR > 1 { split($1, p, "[,:]"); hex = tolower(substr($3, 2, 6)); pixel[p[1] "," p[2]] = hex }
      END {
        n = split(want, cs, " ")
        for (x = 1; x <= 19; x++) for (y = 1; y <= 19; y++) {
          l = int((1100 + 465 * x + 45 + 14) / 15)
          t = int((130 + 465 * y + 45 + 14) / 15); c = int((130 + 465 * y + 135 + 14) / 15)
          b = int((130 + 465 * y + 225 + 14) / 15)
          top = pixel[(l + ox) "," (t + oy)]; mid = pixel[(l + ox) "," (c + oy)]; bottom = pixel[(l + ox) "," (b + oy)]
          if (top == "" || top != mid || top != bottom) continue
          for (i = 1; i <= n; i++) if (cs[i] == top) { print x, y, top; break }
        }
      }' | sort
}

# The destinations of the moves after the human's, from the kept game file.
expected_marks() {
  awk -v c="${colour_of_seat[*]}" 'BEGIN { split(c, cs, " "); if (cs[1] == "") for (i = 1; i < 8; i++) cs[i] = cs[i + 1] }
    $1 == "move" && $3 == 1 { delete mark; next }
    $1 == "move" { mark[$6 " " $7] = cs[$3] }
    END { for (k in mark) print k, mark[k] }' "$1" | sort
}

start_game
# 対局 > 対局 > 1_PLAY > １番目(秦), by keys.
open_menu 16
xdotool key Down Right
sleep 0.3
xdotool key Right Return
sleep 0.5
answer_open_boxes || fail "no box told 秦 to move"
click_square "$fx" "$fy"
click_square "$tx" "$ty"

kept=""
for _ in $(seq 1 100); do
  kept="$(find "$WORK/data" -name 'autosave.daro' 2>/dev/null | head -n 1 || true)"
  [ -n "$kept" ] && [ "$(grep -c '^move ' "$kept")" -ge 7 ] && break
  sleep 0.2
done
[ -n "$kept" ] || { import -window root "$DARO_BUILD_DIR/tests/window/marks_no_game.png"; fail "no game was kept in $WORK/data"; }
[ "$(grep -c '^move ' "$kept")" -eq 7 ] || fail "the kept game has $(grep -c '^move ' "$kept") moves, not 7"
sleep 1
want="$(expected_marks "$kept")"
[ "$(wc -l <<<"$want")" -ge 5 ] || fail "the computers' moves: $want"
seen="$(marked_squares marks_after_round)"
[ "$seen" = "$want" ] || fail "marked squares
$seen
differ from the six computer moves
$want"
echo "marked: $(tr '\n' ';' <<<"$seen")"

# Killed in the middle of the game: the kept file is whole.
kill -9 "$PID"
wait "$PID" 2>/dev/null || true
cp "$kept" "$WORK/kept_before"
start_game
# The unfinished game is offered at start-up; No leaves it to the menu.
box="$(window_named 前回の続き)" || fail "the kept game was not offered at start-up"
xdotool windowfocus --sync "$box" key Tab space
for _ in $(seq 1 50); do [ -z "$(other_window)" ] && break; sleep 0.1; done
[ -z "$(other_window)" ] || fail "the start-up question did not close"
# 局面 > 前回の続き: the fourth of its six items.
open_menu 55
choose_item 4 6
sleep 1
seen="$(marked_squares marks_after_continue)"
[ "$seen" = "$want" ] || fail "after 前回の続き the marks are
$seen
not
$want"
cmp -s "$kept" "$WORK/kept_before" || fail "opening the kept game changed it"
end_with_esc
echo "ok"
