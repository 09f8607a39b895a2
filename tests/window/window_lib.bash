# Shared by the window tests: sourced, never run on its own (so not *.sh).
#
#   source "$here/window_lib.bash"
#   in_virtual_x "$0" "$@"      # re-runs the calling script in a virtual X server
#   start_game                  # starts ./daro from a fresh copy of the game folder
#   start_program PROGRAM       # starts PROGRAM from the current folder
#   shoot_and_check NAME <<CHECKS  # screenshot $WORK/NAME.png (kept in the build)
#                               # checked by daro_shot_check from the canvas origin
#   click_square X Y            # left click on the middle of board square (X, Y)
#   wait_for_box TITLE          # a message box titled TITLE (regex) appears; answers it
#   answer_open_boxes           # answers any open box of the program, titled or not
#   open_menu X                 # clicks the menu bar X pixels right of the canvas origin; waits for the popup
#   choose_item N COUNT         # clicks the Nth of the COUNT items of the open popup
#   end_with_esc                # Esc must end the program with status 0
# DARO_TEST_AUDIO_DRIVER names the SDL audio driver (default: the silent one);
# DARO_TEST_LANG the program's LANG; without it the program sees a Japanese
# desktop (LANGUAGE=ja: this machine may have no Japanese locale, and
# without a locale for them X cannot carry Japanese window names).
#
# Needs DARO_GAME_DIR and DARO_BUILD_DIR; sets WORK, PID, WIN, OX, OY.

: "${DARO_GAME_DIR:?}" "${DARO_BUILD_DIR:?}"
source "$(dirname "${BASH_SOURCE[0]}")/virtual_x.bash"
test_name="$(basename "$0" .sh)"

in_virtual_x() {
  local script="$1"
  shift
  [ "${1:-}" = inside ] && return 0
  WORK="$(mktemp -d)"
  trap 'rm -rf "$WORK"' EXIT
  cp -R "$DARO_GAME_DIR/." "$WORK/game"
  rm -f "$WORK/game/ZT七国将棋.ini"
  # The classic screen: a test that wants the marks or the king's danger turns them on.
  printf '[General]\nTE_HYOUJI=false\nOUTE=false\n' >"$WORK/game/daro.conf"
  # The game kept after every move goes to a data folder of the test's own.
  export XDG_DATA_HOME="$WORK/data"
  export WORK
  unset QT_QPA_PLATFORM
  local status=0
  with_virtual_x bash "$script" inside || status=$?
  exit "$status"
}

fail() {
  echo "$test_name: $*" >&2
  [ -f "$WORK/daro.log" ] && cat "$WORK/daro.log" >&2
  [ -n "${PID:-}" ] && kill "$PID" 2>/dev/null
  exit 1
}

# First pixel of board column / row n: ceil((1100 + 465 n) / 15), ceil((130 + 465 n) / 15).
col() { echo $(( (1100 + 465 * $1 + 14) / 15 )); }
row() { echo $(( (130 + 465 * $1 + 14) / 15 )); }

start_game() {
  cd "$WORK/game"
  start_program ./daro
}

start_program() {
  # No sound card here: SDL's silent driver lets start-up go the ordinary way.
  local language=(LANG=C.UTF-8 LANGUAGE=ja)
  [ -n "${DARO_TEST_LANG:-}" ] && language=(LANG="$DARO_TEST_LANG" LANGUAGE=)
  SDL_AUDIODRIVER="${DARO_TEST_AUDIO_DRIVER:-dummy}" env -u LC_ALL -u LC_MESSAGES "${language[@]}" "$@" \
    >"$WORK/daro.log" 2>&1 &
  PID=$!
  # A missing sound device is reported in a box first, which is answered.
  WIN=""
  local box
  for _ in $(seq 1 300); do
    WIN="$(xdotool search --onlyvisible --name '^ZT daro$' 2>/dev/null | head -n 1 || true)"
    [ -n "$WIN" ] && break
    box="$(xdotool search --onlyvisible --name 'dll$|sound library$' 2>/dev/null | head -n 1 || true)"
    if [ -n "$box" ]; then xdotool windowfocus --sync "$box" key Return || true; fi
    kill -0 "$PID" 2>/dev/null || fail "the program ended before its window appeared"
    sleep 0.1
  done
  [ -n "$WIN" ] || fail "no window named \"ZT daro\" within 30 seconds"
  timeout 20 xdotool search --sync --onlyvisible --name '^ZT daro$' >/dev/null || fail "window not mapped"
  sleep 0.3
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
  # The canvas fills the window below the menu bar: 925 x 687 pixels.
  OX=$X
  OY=$((Y + HEIGHT - 687))
  BAR_Y=$((Y + (HEIGHT - 687) / 2))
}

# Photographs the screen until the checks read from stdin pass (the window
# may still be painting on a busy machine), for about five seconds at most.
shoot_and_check() {
  local checks report
  checks="$(cat)"
  for _ in $(seq 1 10); do
    sleep 0.5
    import -window root "$WORK/$1.png"
    cp "$WORK/$1.png" "$DARO_BUILD_DIR/tests/window/$1.png"
    if report="$("$DARO_BUILD_DIR/tests/window/daro_shot_check" "$WORK/$1.png" "$OX" "$OY" <<<"$checks")"; then
      echo "$report"
      return 0
    fi
  done
  echo "$report" >&2
  fail "screenshot $1 is not as expected (kept in $DARO_BUILD_DIR/tests/window/$1.png)"
}

click_square() {
  xdotool mousemove --sync $((OX + $(col "$1") + 15)) $((OY + $(row "$2") + 15)) click 1
}

wait_for_box() {
  local box=""
  for _ in $(seq 1 100); do
    box="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)"
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || return 1
  xdotool windowfocus --sync "$box" key Return || true
  for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || break
    sleep 0.1
  done
}

# A window of the program other than the main one: a popup or a box.
other_window() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$PID" 2>/dev/null || true); do
    if [ "$w" != "$WIN" ]; then echo "$w"; fi
  done | tail -n 1
}

open_menu() {
  local before
  before="$(other_window)"
  # A click that reaches a busy program too early is tried again.
  for _ in 1 2 3; do
    xdotool mousemove --sync $((OX + $1)) "$BAR_Y" click 1
    for _ in $(seq 1 30); do
      POPUP="$(other_window)"
      if [ -n "$POPUP" ] && [ "$POPUP" != "$before" ]; then
        sleep 0.3
        return 0
      fi
      sleep 0.1
    done
  done
  fail "no menu opened at $1"
}

choose_item() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$POPUP")"
  # The items share the popup's height, less a frame of a few pixels.
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + 3 + (HEIGHT - 6) * (2 * $1 - 1) / (2 * $2))) click 1
}

end_with_esc() {
  xdotool windowfocus --sync "$WIN" key Escape || true
  for _ in $(seq 1 100); do
    kill -0 "$PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$PID" 2>/dev/null; then fail "Esc did not end the program"; fi
  local status=0
  wait "$PID" || status=$?
  PID=""
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}

# Answers with Return every box of the program that is open, whatever its
# title (some boxes have an empty one); true when there was one.
answer_open_boxes() {
  local answered=1 w
  for _ in $(seq 1 20); do
    local open=""
    for w in $(xdotool search --onlyvisible --pid "$PID" 2>/dev/null || true); do
      [ "$w" != "$WIN" ] && open="$w"
    done
    if [ -z "$open" ]; then
      [ "$answered" -eq 0 ] && return 0
      sleep 0.1
      continue
    fi
    xdotool windowfocus --sync "$open" key Return || true
    answered=0
    sleep 0.2
  done
  return "$answered"
}

# The program's window named exactly NAME (a box, the guide), waited for.
window_named() {
  local w
  for _ in $(seq 1 100); do
    for w in $(xdotool search --onlyvisible --pid "$PID" 2>/dev/null || true); do
      if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ]; then
        echo "$w"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}
