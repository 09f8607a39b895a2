# Runs a command inside a private virtual X server: sourced, never run alone.
#
#   source "$here/virtual_x.bash"
#   with_virtual_x COMMAND ARGS...   # status of COMMAND, or 1 without a server
#
# Xvfb picks a free display itself (-displayfd) and names it only once it
# accepts connections, so neither stale lock files nor a server still going
# down from an earlier test can hand us a display nobody answers on.
# -noreset: by default the server resets whenever its last client leaves and
# drops any client that connects meanwhile, so the game starting just after
# the readiness probe hung up was refused now and then on a busy machine.

with_virtual_x() {
  local dir status
  dir="$(mktemp -d)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/xvfb.log" &
  local xvfb=$!
  local display=""
  for _ in $(seq 1 200); do
    if [ -s "$dir/display" ]; then
      display=":$(tr -d '[:space:]' <"$dir/display")"
      DISPLAY="$display" XAUTHORITY=/dev/null xdotool getdisplaygeometry >/dev/null 2>&1 && break
    fi
    display=""
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$display" ]; then
    echo "no virtual X server could be started:" >&2
    cat "$dir/xvfb.log" >&2
    kill "$xvfb" 2>/dev/null
    rm -rf "$dir"
    return 1
  fi
  status=0
  DISPLAY="$display" XAUTHORITY=/dev/null "$@" || status=$?
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$dir"
  return "$status"
}
