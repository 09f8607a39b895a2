#!/usr/bin/env bash
# The keys and what the program remembers, in the real window. One human at
# 秦 at the fastest pace plays a move and the six computers answer. Then,
# comparing photographs of the whole main window:
#   - Ctrl+Z shows what seven Left (戻) show: the human's turn before the move;
#   - a click on a line of the move list (局面 → 棋譜) shows the very pixels
#     that as many Left show, and as many Right (進) give the pixels of a
#     click on the last line;
#   - Ctrl+S, Ctrl+O and F1 open the save dialog, the open dialog and the
#     guide; Esc closes each and leaves the program running;
#   - Ctrl+N shows the opening as the first start of the game showed it,
#     but for the level, which it shows at once;
#   - Home (最初) shows the board of a fresh start, but for the edge of the
#     "19" left of the board, which the two print differently.
# LEVEL4 and a larger window are chosen; the next start has both again, and
# ZT七国将棋.ini is byte for byte what the first start wrote. Esc in the
# window still ends the program.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/keys_and_remembering.sh" "$@"

printf '[General]\nTE_HYOUJI=false\nOUTE=false\nHAYASA_HYOUJUN=false\nHAYASA_SAISOKU=true\n' >"$WORK/game/daro.conf"
# 秦's first move as the computer would make it: a legal move for the human.
read -r _ _ _ fx fy tx ty _ < <("$DARO_BUILD_DIR/tools/daro-autoplay" --max-moves 1)
ini="$WORK/game/ZT七国将棋.ini"

keep() { cp "$WORK/$1.png" "$DARO_BUILD_DIR/tests/window/keys_$1.png"; }

# A photograph of window W (the main one unless given) once two taken in a
# row agree: the program has finished drawing.
shot() {
  local w="${2:-$WIN}"
  import -window "$w" "$WORK/$1.png"
  for _ in $(seq 1 20); do
    sleep 0.3
    import -window "$w" "$WORK/$1.again.png"
    if [ "$(differing "$WORK/$1.png" "$WORK/$1.again.png")" = 0 ]; then
      keep "$1"
      return 0
    fi
    mv "$WORK/$1.again.png" "$WORK/$1.png"
  done
  keep "$1"
  fail "the window did not settle for photograph $1"
}

differing() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

# Photographs A and B show the same pixels (or, with "differ", do not).
same() {
  local n
  n="$(differing "$WORK/$1.png" "$WORK/$2.png")"
  [ "$n" = 0 ] || fail "$1 and $2 differ in $n pixels (kept as $DARO_BUILD_DIR/tests/window/keys_*.png)"
}
differ() {
  local n
  n="$(differing "$WORK/$1.png" "$WORK/$2.png")"
  [ "$n" != 0 ] || fail "$1 and $2 are the same picture"
}

keys() {
  xdotool windowfocus --sync "$WIN"
  xdotool key --delay 150 "$@"
}

# KEY opens a window named NAME, and Esc there closes it, not the program.
opens_and_esc_closes() {
  local w
  keys "$1"
  w="$(window_named "$2")" || fail "$1 opened no window named \"$2\""
  xdotool windowfocus --sync "$w" key Escape
  for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1 || break
    sleep 0.1
  done
  xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1 && fail "Esc did not close \"$2\""
  sleep 0.3
  kill -0 "$PID" 2>/dev/null || fail "Esc in \"$2\" ended the program"
}

# The pointer off the bar and the board first: a move with --sync to where
# the pointer already is waits in vain for it to move.
menu() {
  local X Y SCREEN WINDOW
  eval "$(xdotool getmouselocation --shell)"
  [ "$X,$Y" = "1200,1000" ] || xdotool mousemove --sync 1200 1000
  open_menu "$1"
}

# 対局 > COM対局ﾚﾍﾞﾙ, open, photographed as NAME, and closed again.
level_menu_shot() {
  menu 16
  xdotool key Down Down Right
  sleep 0.5
  local submenu
  submenu="$(other_window)"
  shot "$1" "$submenu"
  # Esc closes the submenu; a click on 対局 closes the menu without leaving
  # the bar waiting for keys, so the next Esc reaches the window.
  xdotool key Escape
  sleep 0.3
  xdotool mousemove $((OX + 16)) "$BAR_Y" click 1
  for _ in $(seq 1 30); do
    menus_open "$POPUP" "$submenu" || return 0
    sleep 0.1
  done
  fail "the level menu did not close"
}

# Whether any of the windows given is still shown.
menus_open() {
  local shown
  shown="$(xdotool search --onlyvisible --pid "$PID" 2>/dev/null || true)"
  for w in "$@"; do
    grep -qx "$w" <<<"$shown" && return 0
  done
  return 1
}

start_game
cp "$ini" "$WORK/first.ini"
eval "$(xdotool getwindowgeometry --shell "$WIN" | sed 's/^/FIRST_/')"
bar_offset=$((BAR_Y - FIRST_Y))
shot fresh
level_menu_shot level_classic

# 対局 > 対局 > 1_PLAY > １番目(秦), by keys.
menu 16
xdotool key Down Right
sleep 0.3
xdotool key Right Return
sleep 0.5
answer_open_boxes || fail "no box told 秦 to move"
shot opening
click_square "$fx" "$fy"
click_square "$tx" "$ty"
kept=""
for _ in $(seq 1 100); do
  kept="$(find "$WORK/data" -name 'autosave.daro' 2>/dev/null | head -n 1 || true)"
  [ -n "$kept" ] && [ "$(grep -c '^move ' "$kept")" -ge 7 ] && break
  sleep 0.2
done
[ -n "$kept" ] && [ "$(grep -c '^move ' "$kept")" -eq 7 ] || fail "the round did not end after 7 moves"
grep -q '^out \|^pass ' "$kept" && fail "a drop-out or pass in the first round: the lines below are counted as moves"
shot move7
differ opening move7

# Ctrl+Z: back to the human's turn at once, as seven Left; Right goes forward.
keys ctrl+z
shot undo
differ move7 undo
keys Right Right Right Right Right Right Right
shot right7
keys Left Left Left Left Left Left Left
shot left7
same undo left7

# 局面 > 棋譜, the sixth of its six items; set beside the main window.
menu 55
choose_item 6 6
list="$(window_named 棋譜)" || fail "局面 → 棋譜 opened no move list"
xdotool windowmove --sync "$list" 940 0
sleep 0.5
keys Right Right Right Right Right Right Right
shot list7 "$list"
# The line of the position shown is highlighted: the last one, the 7th.
read -r band_top band_height < <(
  convert "$WORK/list7.png" -crop "1x+$(( $(identify -format %w "$WORK/list7.png") - 30 ))+0" txt:- |
    awk 'NR > 1 { split($1, p, "[,:]")
                  if ($0 ~ /#FFFFFF/) run = 0
                  else { if (run == 0) start = p[2]; run++; if (run > best) { best = run; top = start } } }
         END { print top + 0, best + 0 }')
[ "${band_height:-0}" -ge 10 ] || fail "no highlighted line found in the move list (kept as keys_list7.png)"
eval "$(xdotool getwindowgeometry --shell "$list" | sed 's/^/LIST_/')"
click_line() {
  xdotool mousemove --sync $((LIST_X + 60)) $((LIST_Y + band_top - (7 - $1) * band_height + band_height / 2)) click 1
  sleep 0.3
}
click_line 3
shot list3 "$list"
differ list7 list3
shot line3
differ right7 line3
click_line 7
shot line7
same right7 line7
keys Left Left Left Left
shot left4
same line3 left4
keys Right Right Right Right
shot right4
same line7 right4
keys Left Left Left Left

opens_and_esc_closes ctrl+s 保存
opens_and_esc_closes ctrl+o 開く
opens_and_esc_closes F1 遊び方
shot after_dialogs
same left4 after_dialogs

# Ctrl+N: the same seats from the opening, as the first start of the game.
keys ctrl+n
answer_open_boxes || fail "no box told 秦 to move after Ctrl+N"
shot new_game
# The level is shown at once where the first start showed it with the first
# computer move: the rest is the same.
for name in opening new_game; do
  convert "$WORK/$name.png" -fill black -draw 'rectangle 20,15 100,45' "$WORK/${name}_unlevelled.png"
done
same opening_unlevelled new_game_unlevelled
differ opening new_game
keys Home
shot home
# The "1" of "19" reaches into the cell left of the board, which a fresh
# start and 最初 leave differently: the rest is the same.
for name in fresh home; do
  convert "$WORK/$name.png" -fill black -draw 'rectangle 94,24 102,48' "$WORK/${name}_uncut.png"
done
same fresh_uncut home_uncut

# LEVEL4, by keys in 対局 > COM対局ﾚﾍﾞﾙ; a larger window.
menu 16
xdotool key Down Down Right
sleep 0.3
xdotool key Down Down Down Return
sleep 0.5
level_menu_shot level4
differ level_classic level4
xdotool windowsize --sync "$WIN" 1200 900
sleep 1
eval "$(xdotool getwindowgeometry --shell "$WIN" | sed 's/^/BEFORE_/')"
end_with_esc
cmp -s "$ini" "$WORK/first.ini" || fail "ZT七国将棋.ini changed: $(od -c "$ini" | head)"

start_game
eval "$(xdotool getwindowgeometry --shell "$WIN" | sed 's/^/AFTER_/')"
[ "${AFTER_WIDTH}x${AFTER_HEIGHT}" = "${BEFORE_WIDTH}x${BEFORE_HEIGHT}" ] ||
  fail "the window starts at ${AFTER_WIDTH}x${AFTER_HEIGHT}, not ${BEFORE_WIDTH}x${BEFORE_HEIGHT} as it was left"
# The canvas is no longer the classic height: the bar stands where it did.
BAR_Y=$((AFTER_Y + bar_offset))
shot larger
level_menu_shot level_next_start
same level4 level_next_start
end_with_esc
cmp -s "$ini" "$WORK/first.ini" || fail "ZT七国将棋.ini changed at the second start"
echo "keys_and_remembering: ok"
