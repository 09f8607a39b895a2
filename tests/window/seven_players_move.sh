#!/usr/bin/env bash
# Drives the real window: 対局 > 対局 > 7_PLAY from the menu bar by mouse and
# keys, then 秦 moves its 行 from (5, 10) to (6, 10) with two clicks. The
# screenshot must show the piece moved, the move number, and 楚's human icon.
# Before the game, a click on the board is refused with a box titled 開始.
# waits for: src/window/play/pending.cpp src/window/shell/pending_modes.cpp
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/seven_players_move.sh" "$@"

start_game
# A click on the board before any game is refused with a box titled 開始.
click_square 5 10
wait_for_box '^開始$' || fail "a click on the board before a game was not refused with 「対局」で始めて下さい"

# "対局" is the first title on the menu bar; its first item opens the game
# types, whose second item is 7_PLAY.
xdotool mousemove --sync $((OX + 16)) "$BAR_Y" click 1
sleep 0.5
xdotool key Down Right
sleep 0.3
xdotool key Down Return
# The game names the first kingdom to move in an untitled box.
answer_open_boxes || fail "7_PLAY did not say whose turn it is"

click_square 5 10
sleep 0.3
shoot_and_check seven_players_selected <<CHECKS
# move guidance is on by default: (6, 10) is outlined in bright white
guide-outline $(( $(col 6) + 1 )) $(row 10) 29 1 #ffffff 8 0.9
CHECKS

click_square 6 10
shoot_and_check seven_players_move <<CHECKS
# (5, 10) is empty now and (6, 10) holds a white piece of 秦
left-empty    $(( $(col 5) + 2 )) $(( $(row 10) + 2 )) 27 27 #deb878 35 0.8
piece-arrived $(( $(col 6) + 2 )) $(( $(row 10) + 2 )) 27 27 #f6f4ec 30 0.25
# the outlines are green again
grid-again    $(( $(col 6) + 1 )) $(row 10) 29 1 #008000 8 0.9
# the move number in white at about cell (-1.3, 0.5)
move-number   $(( (1100 - 605 + 14) / 15 )) $(( (130 + 232 + 14) / 15 )) 16 20 #ffffff 60 0.03
# 楚 is to move, played by a human: its icon at (3600, 9360) twips
icon-of-tei   242 626 28 28 #cc2020 60 0.05
CHECKS

end_with_esc
echo "seven_players_move: ok"
