#!/usr/bin/env bash
# A game played in the browser alone, two humans against five LEVEL4
# computers to the end or to 100 moves, is saved from the page; the file
# passes daro-autoplay --verify, and the desktop window, given it as the
# game kept from last time (局面 > 前回の続き), shows the same position:
# every square empty where the browser's is, and a piece of the same
# kingdom's colour where it holds one.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ ! -x "${DARO_GAME_DIR:?}/daro" ] || [ ! -x /usr/bin/chromium ] || [ -z "${DARO_NODE:-}" ]; then
  echo "browser_game_in_window: skipped, this build has no window, browser or node"
  exit 0
fi
source "$here/../window/window_lib.bash"
in_virtual_x "$here/browser_game_in_window.sh" "$@"

(cd "$DARO_WEB_SOURCE" && "$DARO_NODE" "$here/browser/play_alone.mjs" "$WORK/browser.daro") >"$WORK/browser.out" 2>&1 ||
  { cat "$WORK/browser.out" >&2; fail "the browser's game did not finish"; }
grep -q '^played ' "$WORK/browser.out" || { cat "$WORK/browser.out" >&2; fail "the browser played no game"; }
"$DARO_AUTOPLAY" --verify "$WORK/browser.daro" >/dev/null || fail "the browser's game file does not verify"

mkdir -p "$XDG_DATA_HOME/daro"
cp "$WORK/browser.daro" "$XDG_DATA_HOME/daro/autosave.daro"
start_game
# 局面 > 前回の続き: the fourth of its six items.
open_menu 55
choose_item 4 6
sleep 1.5
answer_open_boxes || true

# Each kingdom's piece colour, by the tens digit of its codes.
body=("" "#228b3a" "#26262a" "#264ec8" "#8030a8" "#f8f6ee" "#cc2020" "#ff96be")
checks=""
while read -r x y code; do
  [ "$code" = 80 ] && continue
  left=$(( $(col "$x") + 2 ))
  top=$(( $(row "$y") + 2 ))
  if [ "$code" = 0 ]; then
    checks+="empty-$x-$y $left $top 27 27 #deb878 35 0.8"$'\n'
  else
    checks+="piece-$x-$y $left $top 27 27 ${body[$((code / 10))]} 45 0.1"$'\n'
  fi
done <"$WORK/browser.daro.board"
shoot_and_check browser_game_in_window <<<"$checks" >"$WORK/checks.out"
end_with_esc
echo "browser_game_in_window: ok ($(cat "$WORK/browser.out"))"
