#!/usr/bin/env bash
# A game of two humans and five computers played by mouse in the real window:
# 対局 > 対局 > 自由対局... seats 秦 and 楚 as humans and the others as
# LEVEL1; both humans move, the computers answer; the game is saved, opened
# again, played on by one more move and saved again. Both files must pass
# daro-autoplay --verify, and the second must continue the first.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/mixed_seats_game.sh" "$@"

menu_bar() { xdotool mousemove --sync $((OX + $1)) "$BAR_Y" click 1; sleep 0.5; }
# The file dialogs start in their file name field.
choose_file() {
  local dialog=""
  for _ in $(seq 1 50); do
    dialog="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)"
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || fail "no file dialog titled $1"
  xdotool windowfocus --sync "$dialog"
  xdotool type --delay 20 "$2"
  xdotool key Return
  sleep 1
}
moves_in() { grep -c '^move ' "$1"; }

start_game
menu_bar 16
xdotool key Down Right
sleep 0.3
xdotool key Down Down Return
dialog=""
for _ in $(seq 1 50); do
  dialog="$(xdotool search --onlyvisible --name '^自由対局$' 2>/dev/null | head -n 1 || true)"
  [ -n "$dialog" ] && break
  sleep 0.1
done
[ -n "$dialog" ] || fail "自由対局... opened no dialog"
xdotool windowfocus --sync "$dialog"
# Seat 1 is human already; seat 2 becomes human, seats 3..7 COM LEVEL1.
xdotool key Tab Home
for _ in 3 4 5 6 7; do xdotool key Tab Home Down; done
xdotool key Return
answer_open_boxes || fail "the free game did not say that 秦 is to move"

click_square 5 10
click_square 6 10
sleep 0.5
click_square 6 15
click_square 6 14
# Five computer moves with their blinks, about two seconds each.
sleep 12
menu_bar 54
xdotool key Down Down Return
choose_file '保存' "$WORK/first.daro"
[ -f "$WORK/first.daro" ] || fail "保存... wrote no file"
grep -qx 'seats human human level1 level1 level1 level1 level1' "$WORK/first.daro" || fail "the seats line is wrong"
[ "$(moves_in "$WORK/first.daro")" -eq 7 ] || fail "expected 7 moves, the file has $(moves_in "$WORK/first.daro")"
"$DARO_BUILD_DIR/tools/daro-autoplay" --verify "$WORK/first.daro" >/dev/null || fail "the saved game does not verify"

menu_bar 54
xdotool key Down Down Down Return
choose_file '開く' "$WORK/first.daro"
# The opened game goes on with the next click, after asking.
click_square 6 10
wait_for_box '^再開$' || fail "the opened game did not ask before play went on"
click_square 6 10
click_square 7 10
sleep 0.5
menu_bar 54
xdotool key Down Down Return
choose_file '保存' "$WORK/second.daro"
"$DARO_BUILD_DIR/tools/daro-autoplay" --verify "$WORK/second.daro" >/dev/null || fail "the game played on does not verify"
head -c "$(stat -c %s "$WORK/first.daro")" "$WORK/second.daro" | cmp -s "$WORK/first.daro" - ||
  fail "the reopened game is not the saved one"
grep -q '^move 8 1 6 10 7 10 50 0$' "$WORK/second.daro" || fail "秦's move after reopening is not in the file"

end_with_esc
echo "mixed_seats_game: ok"
