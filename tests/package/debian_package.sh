#!/usr/bin/env bash
# CPack builds a Debian package of the install under /usr, with its
# dependencies computed from the binaries, and lintian finds no error in it.
# The package is only looked at, never installed.
set -euo pipefail
: "${DARO_BUILD_DIR:?}" "${DARO_APP_ID:?}"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/installed_files.bash"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
fail() { echo "debian_package: $*" >&2; exit 1; }

(cd "$DARO_BUILD_DIR" && cpack -G DEB -B "$out") >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; fail "cpack failed"; }
deb="$(ls "$out"/daro_*.deb 2>/dev/null | head -n 1)"
[ -n "$deb" ] || { cat "$out/cpack.log"; fail "no daro_*.deb"; }

dpkg-deb --contents "$deb" | awk '{ print $NF }' | sed 's|^\./||' >"$out/contents"
while read -r file; do
  grep -qxF "usr/$file" "$out/contents" || fail "the package lacks /usr/$file"
done < <(installed_files "$DARO_APP_ID")
if grep -v '^usr/' "$out/contents" | grep -q .; then fail "files outside /usr: $(grep -v '^usr/' "$out/contents")"; fi

depends="$(dpkg-deb --field "$deb" Depends)"
for library in libc6 libqt6widgets6 libsdl2-mixer; do
  case "$depends" in *"$library"*) ;; *) fail "Depends lacks $library: $depends" ;; esac
done

# Unpacked (not installed), the packaged game starts from an unrelated
# folder, reads the user's settings and plays the music they ask for.
mkdir -p "$out/root" "$out/home/.config/daro" "$out/elsewhere"
dpkg-deb -x "$deb" "$out/root"
printf 'BGM=OK\r\n' >"$out/home/.config/daro/ZT七国将棋.ini"
# exec, so that $! is the game itself and the kill below reaches it.
(cd "$out/elsewhere" && exec env HOME="$out/home" XDG_CONFIG_HOME="$out/home/.config" QT_QPA_PLATFORM=offscreen \
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/device.raw" \
  "$out/root/usr/${DARO_INSTALL_PROGRAMDIR:?}/daro" >"$out/daro.log" 2>&1) &
game=$!
audible=0
for _ in $(seq 1 100); do
  [ -f "$out/device.raw" ] && audible="$(tr -d '\000' <"$out/device.raw" | wc -c)"
  [ "$audible" -gt 10000 ] && break
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
kill "$game" 2>/dev/null || true
wait "$game" 2>/dev/null || true
[ "$audible" -gt 10000 ] || { cat "$out/daro.log"; fail "the packaged game played no music ($audible audible bytes)"; }
[ -z "$(ls -A "$out/elsewhere")" ] || fail "the packaged game wrote into the current folder"

lintian --fail-on error --tag-display-limit 0 "$deb" >"$out/lintian.log" 2>&1 || {
  cat "$out/lintian.log"
  fail "lintian reports errors"
}
cat "$out/lintian.log"
echo "debian_package: ok ($(basename "$deb"), music $audible audible bytes, $(wc -l <"$out/contents") entries; Depends: $depends)"
