#!/usr/bin/env bash
# The first start in an empty folder writes the default settings file:
# five lines in code page 932, each ended by CR LF.
set -uo pipefail

ini="ZT七国将棋.ini"

if [ "${1:-}" = "--inside" ]; then
    # Runs inside the virtual X server, in the empty folder.
    # A Japanese desktop, whatever the caller's.
    env -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8 LANGUAGE=ja "$DARO_GAME_DIR/daro" &
    pid=$!
    shown=""
    for _ in $(seq 1 300); do
        # No sound device is no reason to stop here: answer its warning.
        for box in $(xdotool search --name "^ZT七国将棋\.dll$" 2>/dev/null); do
            xdotool windowfocus "$box" key Return 2>/dev/null || true
        done
        if xdotool search --name "^ZT daro$" >/dev/null 2>&1 && [ -e "$ini" ]; then
            shown=yes
            break
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if [ -z "$shown" ]; then
        echo "the window did not appear, or no $ini was written"
        ls -la
        exit 1
    fi
    printf '\x88\xda\x93\xae\x8e\x77\x93\xb1=OK\r\n\xb1\xb2\xba\xdd\x95\x5c\x8e\xa6=OK\r\n\x8e\x9d\x8b\xee\x90\x94\x95\x5c\x8e\xa6=OK\r\n\x94\x77\x8c\x69\x89\xe6=\x97\xce\r\nBGM=NG\r\n' > "$TMPDIR_EXPECTED/expected.ini"
    if ! cmp "$ini" "$TMPDIR_EXPECTED/expected.ini"; then
        echo "written:";  od -An -c "$ini"
        echo "expected:"; od -An -c "$TMPDIR_EXPECTED/expected.ini"
        exit 1
    fi
    exit 0
fi

: "${DARO_GAME_DIR:?DARO_GAME_DIR must name the game folder}"
if [ ! -x "$DARO_GAME_DIR/daro" ]; then
    echo "no program at $DARO_GAME_DIR/daro"
    exit 1
fi
self="$(readlink -f "$0")"
source "$(dirname "$self")/virtual_x.bash"
work="$(mktemp -d)"
expected_dir="$(mktemp -d)"
trap 'rm -rf "$work" "$expected_dir"' EXIT
cd "$work" || exit 1
# The machine running the tests has no sound card; SDL's silent driver
# stands in so that start-up goes the ordinary way.
SDL_AUDIODRIVER=dummy TMPDIR_EXPECTED="$expected_dir" DARO_GAME_DIR="$(readlink -f "$DARO_GAME_DIR")" \
    with_virtual_x bash "$self" --inside
