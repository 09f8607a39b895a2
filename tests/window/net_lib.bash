# Shared by the window tests at a daro-server: sourced after window_lib.bash.
#
#   net_needs_server NAME        # before in_virtual_x: a build without the server skips NAME
#   start_server PORT LOG [ARG…] # a server on PORT (0: a free one) with its data in
#                                # $WORK/server and its log in LOG; sets SERVER and port
#   wait_for_log FILE PATTERN SECONDS
#   place_of WIN                 # OX, OY, BAR_Y of window WIN's canvas and menu bar
#   open_panel WIN PID [NAME]    # opens 対局 > 対局 > ネット対局… in WIN (of PID); with NAME
#                                # fills in the server and the name; prints the panel's id
#   start_second_window          # a second program with folders of its own: WIN_B, PID_B
#   net_fail MESSAGE             # fails with every server's log and the second window's
#
# The panel's focus order, from the server's field: the name, the seven seats,
# 進め方, 公開の卓にする, ヒントを許す (一手の時間 only at a turn-based pace),
# 卓を作る, クイック対局, the code, its seat, 参加, 観戦, 公開の卓を見る, the
# tables to rejoin (when there are any), 再戦 (after a game).

net_server="${DARO_BUILD_DIR:?}/tools/daro-server"
SERVER=""
PID_B=""
PANELS_OPEN=""

net_needs_server() {
  # The sanitizer build leaves the server's socket side out.
  if [ ! -x "$net_server" ]; then
    echo "$1: skipped, this build has no daro-server"
    exit 0
  fi
}

net_stop_all() {
  [ -n "$PID_B" ] && kill "$PID_B" 2>/dev/null
  [ -n "${PID:-}" ] && kill "$PID" 2>/dev/null
  [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null
  wait 2>/dev/null || true
}

net_fail() {
  local log
  for log in "$WORK"/server*.log "$WORK/daro-b.log"; do
    [ -f "$log" ] || continue
    echo "--- $log" >&2
    cat "$log" >&2 || true
  done
  fail "$@"
}

start_server() {
  local at="$1" log="$2"
  shift 2
  mkdir -p "$WORK/server"
  "$net_server" --listen "127.0.0.1:$at" --data "$WORK/server" "$@" 2>"$log" &
  SERVER=$!
  for _ in $(seq 1 100); do grep -q listening "$log" 2>/dev/null && break; sleep 0.1; done
  port="$(sed -n 's|.*listening on ws://127\.0\.0\.1:\([0-9]*\) .*|\1|p' "$log")"
  [ -n "$port" ] || net_fail "the server did not start"
}

wait_for_log() {
  for _ in $(seq 1 $(($3 * 10))); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
  return 1
}

place_of() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  OX=$X
  OY=$((Y + HEIGHT - 687))
  BAR_Y=$((Y + (HEIGHT - 687) / 2))
}

# The menu helpers look among the windows of $PID other than $WIN: both are
# this function's own while it runs.
open_panel() {
  local WIN="$1" PID="$2" panel="" popup skip=(-e none) open
  for open in $PANELS_OPEN; do skip+=(-e "$open"); done
  place_of "$WIN"
  xdotool windowraise "$WIN"
  sleep 0.3
  open_menu 16
  popup="$POPUP"
  # 対局 opens its first item, the submenu of the kinds of game:
  # 1_PLAY, 7_PLAY, 自由対局..., ネット対局...
  choose_item 1 4 >/dev/null
  for _ in $(seq 1 30); do
    POPUP="$(other_window)"
    [ -n "$POPUP" ] && [ "$POPUP" != "$popup" ] && break
    sleep 0.1
  done
  [ -n "$POPUP" ] && [ "$POPUP" != "$popup" ] || net_fail "対局 > 対局 opened no submenu"
  sleep 0.3
  choose_item 4 4
  for _ in $(seq 1 50); do
    panel="$(xdotool search --onlyvisible --name '^ネット対局$' 2>/dev/null | grep -vxF "${skip[@]}" | head -n 1 || true)"
    [ -n "$panel" ] && break
    sleep 0.1
  done
  [ -n "$panel" ] || net_fail "ネット対局... opened no panel"
  xdotool windowfocus --sync "$panel"
  sleep 0.3
  if [ -n "${3:-}" ]; then
    # The panel opens in the server's field.
    xdotool key ctrl+a
    xdotool type "ws://127.0.0.1:$port/"
    xdotool key Tab ctrl+a
    xdotool type "$3"
  fi
  echo "$panel"
}

start_second_window() {
  mkdir -p "$WORK/b"
  cp -R "$WORK/game" "$WORK/b/game"
  rm -f "$WORK/b/game/ZT七国将棋.ini"
  (cd "$WORK/b/game" && HOME="$WORK/b" XDG_DATA_HOME="$WORK/b/data" XDG_CONFIG_HOME="$WORK/b/config" \
    SDL_AUDIODRIVER=dummy env -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8 LANGUAGE=ja ./daro >"$WORK/daro-b.log" 2>&1) &
  PID_B=$!
  WIN_B=""
  local box
  for _ in $(seq 1 300); do
    WIN_B="$(xdotool search --onlyvisible --name '^ZT daro$' 2>/dev/null | grep -vx "$WIN" | head -n 1 || true)"
    [ -n "$WIN_B" ] && break
    # As for the first program: a box about the sound is answered.
    box="$(xdotool search --onlyvisible --name 'dll$|sound library$' 2>/dev/null | head -n 1 || true)"
    if [ -n "$box" ]; then xdotool windowfocus --sync "$box" key Return || true; fi
    sleep 0.1
  done
  [ -n "$WIN_B" ] || net_fail "the second window did not appear"
  sleep 0.5
  xdotool windowmove --sync "$WIN_B" 340 300 || true
  sleep 0.5
  PID_B="$(xdotool getwindowpid "$WIN_B" 2>/dev/null || echo "$PID_B")"
}
