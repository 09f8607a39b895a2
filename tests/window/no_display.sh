#!/usr/bin/env bash
# Without any display the program says how to run it and fails cleanly.
set -euo pipefail
: "${DARO_GAME_DIR:?}"
status=0
err="$(cd "$DARO_GAME_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ./daro 2>&1 >/dev/null)" || status=$?
[ "$status" -eq 1 ] || { echo "no_display: exit status $status, expected 1" >&2; exit 1; }
case "$err" in
  *"no display"*xvfb-run*) echo "no_display: ok" ;;
  *) echo "no_display: unexpected message: $err" >&2; exit 1 ;;
esac
