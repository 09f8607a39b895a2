#!/usr/bin/env bash
# A new player's game on the real program, with the marks and the king's
# danger on. A seven-player game was left unfinished with 趙 to move and its
# king on (14, 9) in danger (games/king_in_danger.daro, kept as the
# autosave). At start-up, once the window is up, "前回の続き" is asked; Yes
# shows that game: the red 王手 frame, "王手" and "あなたの番です". The first
# click picks the king without a box. Every empty neighbour the guide leaves
# unoutlined is refused ("自殺はできません"), after which the screen is as it
# was before the pick, marks and frame included, and the next click picks
# the king again without a box; the outlined neighbour takes the king there.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/king_danger_and_continue.sh" "$@"
printf '[General]\nTE_HYOUJI=true\nOUTE=true\nHAYASA_HYOUJUN=false\nHAYASA_SAISOKU=true\n' >"$WORK/game/daro.conf"
mkdir -p "$WORK/data/daro"
cp "$here/games/king_in_danger.daro" "$WORK/data/daro/autosave.daro"
kx=14
ky=9

# The canvas of a screenshot below the column labels (the board, the marks,
# "王手" and the turn line), for comparing two of them.
canvas_of() {
  local top
  top=$(row 1)
  convert "$WORK/$1.png" -crop "925x$((687 - top))+$OX+$((OY + top))" +repage "$WORK/$1.canvas.png"
}
same_canvas() {
  canvas_of "$1"
  canvas_of "$2"
  local differ
  differ="$(compare -metric AE "$WORK/$1.canvas.png" "$WORK/$2.canvas.png" null: 2>&1 || true)"
  [ "$differ" = 0 ] || fail "$2 differs from $1 in $differ pixels (kept in $DARO_BUILD_DIR/tests/window/)"
}
shot() {
  sleep 0.5
  import -window root "$WORK/$1.png"
  cp "$WORK/$1.png" "$DARO_BUILD_DIR/tests/window/king_$1.png"
}
# Whether square (x, y) of the shot is empty, or outlined in the guide's
# white; of a neighbour (dx, dy) of the king, the side it shares with the
# king's square is the king's, and corners belong to four squares.
check() { "$DARO_BUILD_DIR/tests/window/daro_shot_check" "$WORK/$1.png" "$OX" "$OY" >/dev/null; }
empty_in() { check "$1" <<<"empty $(( $(col "$2") + 8 )) $(( $(row "$3") + 8 )) 15 15 #deb878 35 0.9"; }
outlined_in() {
  local shot="$1" x="$2" y="$3" dx="$4" dy="$5" l t r b
  l=$(col "$x") t=$(row "$y") r=$(col $((x + 1))) b=$(row $((y + 1)))
  {
    [ "$dx$dy" = 01 ] || echo "top    $((l + 4)) $t 23 1 #ffffff 20 0.9"
    [ "$dx$dy" = 0-1 ] || echo "bottom $((l + 4)) $b 23 1 #ffffff 20 0.9"
    [ "$dx$dy" = 10 ] || echo "left   $l $((t + 4)) 1 23 #ffffff 20 0.9"
    [ "$dx$dy" = -10 ] || echo "right  $r $((t + 4)) 1 23 #ffffff 20 0.9"
  } | check "$shot"
}
no_box() {
  sleep 0.5
  [ -z "$(other_window)" ] || fail "$1 opened a box"
}

start_game
wait_for_box '^前回の続き$' || fail "the unfinished game was not offered at start-up"
shot continued
shoot_and_check continued_status <<CHECKS
danger-frame $(( $(col $kx) + 4 )) $(( $(row $ky) + 1 )) 23 2 #ff0000 60 0.8
danger-text  $(( (1100 - 790 + 14) / 15 )) $(( (130 + 1023 + 14) / 15 )) 30 18 #ff0000 60 0.05
your-move    $(( (1100 + 10090 + 14) / 15 )) $(( (130 + 976 + 14) / 15 )) 90 18 #ffff00 60 0.05
CHECKS

click_square $kx $ky
no_box "picking the king"
shot picked
refused=0
accepted=""
for dx in -1 0 1; do
  for dy in -1 0 1; do
    [ "$dx$dy" = 00 ] && continue
    x=$((kx + dx)) y=$((ky + dy))
    empty_in picked $x $y || continue
    if outlined_in picked $x $y $dx $dy; then
      accepted="$x $y"
      continue
    fi
    click_square $x $y
    answer_open_boxes || fail "the king's move to ($x, $y), left unoutlined, was not refused"
    shot "refused_$x$y"
    same_canvas continued "refused_$x$y"
    refused=$((refused + 1))
    click_square $kx $ky
    no_box "picking the king after a refusal"
  done
done
[ "$refused" -ge 1 ] || fail "no empty neighbour of the king was left unoutlined"
[ -n "$accepted" ] || fail "no neighbour of the king was outlined"
read -r ax ay <<<"$accepted"
click_square "$ax" "$ay"
no_box "the outlined move"
shoot_and_check king_moved <<CHECKS
left  $(( $(col $kx) + 8 )) $(( $(row $ky) + 8 )) 15 15 #deb878 35 0.9
moved $(( $(col "$ax") + 8 )) $(( $(row "$ay") + 8 )) 15 15 #deb878 35 <0.5
CHECKS
end_with_esc
echo "king_danger_and_continue: ok ($refused refused, moved to $accepted)"
