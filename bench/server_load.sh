#!/usr/bin/env bash
# daro-server under load, over loopback only: bot players from daro-load.
#   bench/server_load.sh [BUILD_DIR] [hold|top|kill|engines|all]
# hold     1,000 tables x 7 bots (7,000 connections) at 1,000 moves/s: latency, memory, CPU
# top      the same tables at rising rates, up to the highest the server sustains
# kill     SIGKILL under load, restart: every announced move is there, every game verifies
# engines  100 tables of one bot against six LEVEL4 computers
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
what="${2:-all}"
server_bin="$build/tools/daro-server"
load_bin="$build/tools/daro-load"
autoplay_bin="$build/tools/daro-autoplay"
for b in "$server_bin" "$load_bin" "$autoplay_bin"; do [ -x "$b" ] || { echo "missing $b" >&2; exit 1; }; done
# 7,000 connections on each side, and the files of both.
ulimit -n "$(ulimit -Hn)"
work="$(mktemp -d /tmp/daro-load-XXXXXX)"
server_pid=""
cleanup() { [ -n "$server_pid" ] && kill -9 "$server_pid" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

start_server() {
  [ -f "$work/server.log" ] && mv "$work/server.log" "$work/server.log.before"
  "$server_bin" --listen 127.0.0.1:0 --data "$work/data" --per-address 100000 2>>"$work/server.log" &
  server_pid=$!
  port=""
  for _ in $(seq 100); do
    port="$(grep -o 'listening on ws://127.0.0.1:[0-9]*' "$work/server.log" | tail -1 | sed 's/.*://')" || true
    [ -n "$port" ] && return 0
    sleep 0.1
  done
  echo "the server did not start" >&2; cat "$work/server.log" >&2; exit 1
}
stop_server() { kill "$server_pid"; wait "$server_pid" 2>/dev/null || true; server_pid=""; }
cpu_seconds() { awk '{printf "%.1f", ($14 + $15) / 100}' "/proc/$server_pid/stat"; }
memory() { grep -E 'VmHWM|VmRSS' "/proc/$server_pid/status" | tr -s ' ' | tr '\n' ' '; echo; }
fresh() { rm -rf "$work/data" "$work/server.log"; }

hold() {
  fresh; start_server
  echo "== hold: 1000 tables x 7 bots at 1000 moves/s"
  before="$(cpu_seconds)"
  "$load_bin" --port "$port" --tables 1000 --rate 1000 --seconds 30 --warmup 5 --threads 2
  echo "server_cpu_s $(echo "$(cpu_seconds) - $before" | bc) over the run"
  echo "server_memory $(memory)"
  stop_server
}

top() {
  fresh; start_server
  for rate in 2000 3000 4000 6000 8000; do
    echo "== top: 1000 tables x 7 bots at $rate moves/s"
    "$load_bin" --port "$port" --tables 1000 --rate "$rate" --seconds 20 --warmup 5 --threads 2 | tee "$work/top.out"
    echo "server_memory $(memory)"
    got="$(awk '/^moves_per_s/ {print $2}' "$work/top.out")"
    p99="$(awk '/^latency_ms_p99/ {print $2}' "$work/top.out")"
    if awk -v g="$got" -v r="$rate" -v p="$p99" 'BEGIN { exit !(g < 0.95 * r || p >= 50) }'; then
      echo "top: $rate moves/s is beyond what is sustained (got $got, p99 $p99 ms)"
      break
    fi
  done
  stop_server
}

kill_test() {
  fresh; start_server
  echo "== kill: SIGKILL under 1000 moves/s, then restart"
  "$load_bin" --port "$port" --tables 1000 --rate 1000 --seconds 60 --warmup 5 --threads 2 \
    --record "$work/announced" > "$work/kill.out" &
  load_pid=$!
  sleep 25
  kill -9 "$server_pid"; wait "$server_pid" 2>/dev/null || true; server_pid=""
  wait "$load_pid" || true
  cat "$work/kill.out"
  start_server
  sleep 2
  grep -E "tables restored|could not be restored" "$work/server.log" | tail -3
  mkdir -p "$work/games"
  "$load_bin" --port "$port" --check "$work/announced" --games "$work/games" | tail -3
  bad=0; n=0
  for g in "$work"/games/*.daro; do
    n=$((n + 1))
    "$autoplay_bin" --verify "$g" > /dev/null 2>"$work/verify.err" || { bad=$((bad + 1)); head -1 "$work/verify.err"; }
  done
  echo "games_verified $((n - bad)) of $n"
  stop_server
}

engines() {
  fresh; start_server
  echo "== engines: 100 tables of one bot and six LEVEL4 computers"
  "$load_bin" --port "$port" --tables 100 --against-level4 --seconds 40 --warmup 5 --threads 1
  echo "server_memory $(memory)"
  stop_server
}

case "$what" in
  hold) hold ;;
  top) top ;;
  kill) kill_test ;;
  engines) engines ;;
  all) hold; top; kill_test; engines ;;
  *) echo "usage: $0 [BUILD_DIR] [hold|top|kill|engines|all]" >&2; exit 2 ;;
esac
