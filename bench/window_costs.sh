#!/usr/bin/env bash
# What the running game costs at its start screen, in a virtual X server:
# resident memory after start-up, CPU and thread wakeups over 20 seconds of
# idling; then bench_window for the click and the computer move.
#
#   bench/window_costs.sh [BUILD_DIR]      (default: build)
#
# SDL's silent audio driver stands in for a sound card, as in the window tests.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
idle_seconds="${DARO_IDLE_SECONDS:-20}"

if [ "${2:-}" != inside ]; then
  source "$root/tests/window/virtual_x.bash"
  with_virtual_x bash "$0" "$build" inside
  exit $?
fi

work="$(mktemp -d)"
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -R "$build/game/." "$work/"
rm -f "$work/ZT七国将棋.ini"
cd "$work"
SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" QT_QPA_PLATFORM=xcb ./daro >"$work/daro.log" 2>&1 &
pid=$!
for _ in $(seq 1 300); do
  xdotool search --onlyvisible --name '^ZT daro$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 3  # let start-up settle

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
switches() {
  local t total=0
  for t in /proc/"$pid"/task/*; do
    total=$((total + $(awk '/ctxt_switches/ {s += $2} END {print s}' "$t/status")))
  done
  echo "$total"
}
per_thread() {
  local t
  for t in /proc/"$pid"/task/*; do
    printf '%s %s\n' "$(cat "$t/comm")" "$(awk '/ctxt_switches/ {s += $2} END {print s}' "$t/status")"
  done
}

rss_kb=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
before_ticks=$(ticks)
before_switches=$(switches)
per_thread >"$work/threads.before"
sleep "$idle_seconds"
after_ticks=$(ticks)
after_switches=$(switches)
per_thread >"$work/threads.after"
hz=$(getconf CLK_TCK)

echo "resident memory after start-up: $((rss_kb / 1024)) MB ($rss_kb kB)"
awk -v t=$((after_ticks - before_ticks)) -v hz="$hz" -v s="$idle_seconds" \
  'BEGIN {printf "idle CPU at the start screen: %.2f %% over %d s\n", 100 * t / hz / s, s}'
awk -v n=$((after_switches - before_switches)) -v s="$idle_seconds" \
  'BEGIN {printf "thread wakeups at the start screen: %.1f per second\n", n / s}'
paste -d' ' "$work/threads.before" "$work/threads.after" |
  awk -v s="$idle_seconds" '{d = $4 - $2; if (d > 0) printf "  thread %s: %.1f wakeups per second\n", $1, d / s}'
kill "$pid" 2>/dev/null || true

if [ -x "$build/bench/bench_window" ]; then
  QT_QPA_PLATFORM=offscreen "$build/bench/bench_window"
fi
