#!/usr/bin/env bash
# Started on an English desktop (LANG=en_US.UTF-8) the real program speaks
# English: its boxes, its guide on F1, the labels beside the board. Choosing
# ｵﾌﾟｼｮﾝ → 言語 / Language → 日本語 in the running program brings back the
# classic screen of a Japanese start, and the choice holds at the next start.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/english_and_back.sh" "$@"

answer() {
  local w
  w="$(window_named "$1")" || fail "no window named \"$1\""
  xdotool windowfocus --sync "$w" key Return || true
  sleep 0.3
}

# Pixels that differ between two photographs, beyond the antialiased edge of
# a text printed twice.
differing() { compare -metric AE -fuzz 25% "$1" "$2" null: 2>&1 || true; }

shoot() {
  sleep 1
  import -window root "$WORK/$1.png"
  cp "$WORK/$1.png" "$DARO_BUILD_DIR/tests/window/english_and_back_$1.png"
}

# What a Japanese start shows.
start_game
shoot japanese
end_with_esc
rm -f "$WORK/game/daro.conf"

export DARO_TEST_LANG=en_US.UTF-8
start_game
click_square 9 9
answer "Start"
xdotool windowfocus --sync "$WIN" key F1
answer "How to play"
shoot english
english_differs="$(differing "$WORK/japanese.png" "$WORK/english.png")"
[ "$english_differs" -gt 5000 ] || fail "the English screen differs from the Japanese one in $english_differs pixels only"

# ｵﾌﾟｼｮﾝ ("Options") is the fifth caption of the bar; 言語 / Language is the
# last of its eleven items, and 日本語 the first of that.
open_menu 247
options="$POPUP"
choose_item 11 11
for _ in $(seq 1 50); do
  [ "$(other_window)" != "$options" ] && break
  sleep 0.1
done
POPUP="$(other_window)"
[ "$POPUP" != "$options" ] || fail "the language menu did not open"
sleep 0.3
choose_item 1 2
shoot back
# To the pixel: the labels printed again darken no antialiased edge.
back_differs="$(compare -metric AE "$WORK/japanese.png" "$WORK/back.png" null: 2>&1 || true)"
[ "$back_differs" = 0 ] || fail "back in Japanese, the screen differs from a Japanese start in $back_differs pixels"
click_square 9 9
answer "開始"
end_with_esc
grep -qx 'language=ja' "$WORK/game/daro.conf" || fail "the choice was not kept: $(cat "$WORK/game/daro.conf")"

# Still on an English desktop, the choice holds.
start_game
click_square 9 9
answer "開始"
end_with_esc
echo "english_and_back: ok (English differs in $english_differs pixels)"
