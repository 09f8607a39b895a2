#!/usr/bin/env bash
# Starts the built game in a virtual X server from a fresh copy of the game
# folder, photographs the screen and checks the board, a piece, an empty
# square, the background and the title; then Esc must end the program.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/start_and_look.sh" "$@"

start_game
shoot_and_check start_and_look <<CHECKS
# square outlines in QBColor 2
grid-top      $(( $(col 1) + 1 )) $(row 1) 29 1  #008000 8 0.9
grid-between  $(col 5) $(( $(row 5) + 2 )) 1 27  #008000 8 0.9
grid-bottom   $(col 3) $(row 20) 150 1           #008000 8 0.9
# the centre piece on (10, 10) is yellow
centre-piece  $(( $(col 10) + 2 )) $(( $(row 10) + 2 )) 27 27 #f5d641 55 0.3
# (9, 9) is empty: plain board wood
empty-square  $(( $(col 9) + 2 )) $(( $(row 9) + 2 )) 27 27 #deb878 35 0.8
# the kings of 秦 (white) on (1, 10) and 燕 (black) on (6, 1)
king-of-sou   $(( $(col 1) + 2 )) $(( $(row 10) + 2 )) 27 27 #f6f4ec 30 0.25
king-of-en    $(( $(col 6) + 2 )) $(( $(row 1) + 2 )) 27 27 #26262a 40 0.2
# a background picture beside the board, not the bare back colour
background    5 640 40 40                         #008000 0 <0.1
# the title at square (21.8, 0): lacquer and gold letters
title-panel   760 20 150 40                       #3c0e09 40 0.3
title-letters 760 12 150 34                       #e6be50 60 0.03
CHECKS

end_with_esc
echo "start_and_look: ok"
