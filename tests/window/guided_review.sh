#!/usr/bin/env bash
# With the marks and the king's danger on: 7_PLAY, 秦 moves its 行 from
# (5, 10) to (6, 10) and 楚 its 行 from (6, 15) to (6, 14). Home then shows
# the opening without a box and the game is not thrown away: Right (進)
# shows 秦's move again, the next click on the board asks "OKですか？" as
# after 戻, and play goes on from there. Looking back once more puts
# 今の局面へ on the menu bar; its key End brings the game back as it stands
# and the next click plays on without a box.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/guided_review.sh" "$@"
printf '[General]\nTE_HYOUJI=true\nOUTE=true\nHAYASA_HYOUJUN=false\nHAYASA_SAISOKU=true\n' >"$WORK/game/daro.conf"

start_game
xdotool mousemove --sync $((OX + 16)) "$BAR_Y" click 1
sleep 0.5
xdotool key Down Right
sleep 0.3
xdotool key Down Return
answer_open_boxes || fail "7_PLAY did not say whose turn it is"
click_square 5 10
click_square 6 10
sleep 0.3
click_square 6 15
click_square 6 14
sleep 0.3
shoot_and_check guided_two_moves <<CHECKS
moved-qin $(( $(col 6) + 14 )) $(( $(row 10) + 16 )) 12 10 #f6f4ec 40 0.6
moved-chu $(( $(col 6) + 14 )) $(( $(row 14) + 16 )) 12 10 #cc2020 60 0.3
CHECKS

xdotool windowfocus --sync "$WIN" key Home
sleep 0.5
[ -z "$(other_window)" ] || fail "Home opened a box"
shoot_and_check guided_home <<CHECKS
qin-home  $(( $(col 5) + 14 )) $(( $(row 10) + 16 )) 12 10 #f6f4ec 40 0.6
qin-left  $(( $(col 6) + 2 )) $(( $(row 10) + 2 )) 27 27 #deb878 35 0.8
chu-home  $(( $(col 6) + 14 )) $(( $(row 15) + 16 )) 12 10 #cc2020 60 0.3
CHECKS

xdotool windowfocus --sync "$WIN" key Right
sleep 0.5
shoot_and_check guided_forward <<CHECKS
qin-again $(( $(col 6) + 14 )) $(( $(row 10) + 16 )) 12 10 #f6f4ec 40 0.6
chu-still $(( $(col 6) + 14 )) $(( $(row 15) + 16 )) 12 10 #cc2020 60 0.3
CHECKS

# The click after stepping asks before play goes on, from the position shown.
click_square 10 10
wait_for_box '^再開$' || fail "the click after Home and 進 did not ask OKですか？"
click_square 6 15
click_square 6 13
sleep 0.3
shoot_and_check guided_played_on <<CHECKS
chu-moved $(( $(col 6) + 14 )) $(( $(row 13) + 16 )) 12 10 #cc2020 60 0.3
CHECKS

# Looking back puts 今の局面へ on the bar, right of 進; End (its key) shows
# the game as it stands, the command goes, and the next click plays on
# without a box.
bar_shot() {
  import -window root "$WORK/$1.png"
  convert "$WORK/$1.png" -crop "260x$(( 2 * (OY - BAR_Y) ))+$((OX + 60))+$(( 2 * BAR_Y - OY ))" +repage "$WORK/$1_bar.png"
  cp "$WORK/$1_bar.png" "$DARO_BUILD_DIR/tests/window/$1_bar.png"
}
bar_shot guided_bar_playing
xdotool windowfocus --sync "$WIN" key Left
sleep 0.5
bar_shot guided_bar_back
bar_differs="$(compare -metric AE "$WORK/guided_bar_playing_bar.png" "$WORK/guided_bar_back_bar.png" null: 2>&1 || true)"
[ "$bar_differs" -gt 50 ] || fail "looking back left the menu bar as it was ($bar_differs pixels differ)"
xdotool windowfocus --sync "$WIN" key End
sleep 0.5
bar_shot guided_bar_now
bar_differs="$(compare -metric AE "$WORK/guided_bar_playing_bar.png" "$WORK/guided_bar_now_bar.png" null: 2>&1 || true)"
[ "$bar_differs" = 0 ] || fail "back at the game the menu bar still differs in $bar_differs pixels"
shoot_and_check guided_back_to_now <<CHECKS
chu-again $(( $(col 6) + 14 )) $(( $(row 13) + 16 )) 12 10 #cc2020 60 0.3
CHECKS
click_square 5 9
sleep 0.5
[ -z "$(other_window)" ] || fail "the click after 今の局面へ opened a box"
end_with_esc
echo "guided_review: ok"
