#!/usr/bin/env bash
# `cmake --install` into a DESTDIR puts every file of the game where a
# desktop looks for it, and the desktop's own checkers accept them.
set -euo pipefail
: "${DARO_BUILD_DIR:?}" "${DARO_APP_ID:?}" "${DARO_ICON_CHECK:?}"
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/installed_files.bash"
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
fail() { echo "install_tree: $*" >&2; exit 1; }

DESTDIR="$dest" cmake --install "$DARO_BUILD_DIR" --prefix /usr >"$dest.log" 2>&1 || { cat "$dest.log"; fail "install failed"; }
rm -f "$dest.log"
root="$dest/usr"

missing=0
while read -r file; do
  [ -s "$root/$file" ] || { echo "missing or empty: $file" >&2; missing=1; }
done < <(installed_files "$DARO_APP_ID")
[ "$missing" -eq 0 ] || fail "the install is incomplete"
programs="$root/$DARO_INSTALL_PROGRAMDIR"
[ -x "$programs/daro" ] && [ -x "$programs/daro-autoplay" ] || fail "the programs are not executable"
# Nothing of the build's own (tests, benchmarks, helpers) is installed.
extra="$(cd "$root" && find . -type f | sed 's|^\./||' | grep -vxFf <(installed_files "$DARO_APP_ID") || true)"
[ -z "$extra" ] || fail "unexpected files installed: $extra"

desktop-file-validate "$root/share/applications/$DARO_APP_ID.desktop" || fail "desktop entry rejected"
grep -qx 'Categories=Game;BoardGame;' "$root/share/applications/$DARO_APP_ID.desktop" || fail "desktop entry categories"
grep -q '^Name\[ja\]=' "$root/share/applications/$DARO_APP_ID.desktop" || fail "no Japanese name"
grep -q '^Comment\[ja\]=' "$root/share/applications/$DARO_APP_ID.desktop" || fail "no Japanese comment"
appstreamcli validate --no-net "$root/share/metainfo/$DARO_APP_ID.metainfo.xml" || fail "metainfo rejected"

# Each PNG is as big as the folder it is in says; the SVG draws the same icon.
for png in "$root"/share/icons/hicolor/*x*/apps/"$DARO_APP_ID.png"; do
  size="$(basename "$(dirname "$(dirname "$png")")")"
  [ "$(identify -format '%wx%h' "$png")" = "$size" ] || fail "$png is not $size"
done
"$DARO_ICON_CHECK" "$root/share/icons/hicolor/scalable/apps/$DARO_APP_ID.svg" \
  "$root/share/icons/hicolor/64x64/apps/$DARO_APP_ID.png" || fail "the scalable icon is another picture"

# The manual pages format without complaint.
pages="daro daro-autoplay"
[ -e "$root/share/man/man6/daro-server.6.gz" ] && pages="$pages daro-server"
for page in $pages; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man6/$page.6.gz" 2>&1 >/dev/null || true)"
  [ -z "$warnings" ] || fail "manual page $page: $warnings"
done

# The installed autoplay tool runs on its own.
"$programs/daro-autoplay" --max-moves 3 | grep -q '^move 3 ' || fail "installed daro-autoplay does not play"
echo "install_tree: ok ($(installed_files "$DARO_APP_ID" | wc -l) files)"
