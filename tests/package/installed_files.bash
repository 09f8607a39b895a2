# The files an install holds, relative to its prefix: sourced by the tests.
#   installed_files APP_ID   # one path a line
# Needs DARO_INSTALLED_PROGRAMS, DARO_INSTALL_PROGRAMDIR and
# DARO_INSTALL_SOUNDLIBDIR (from the build).
installed_files() {
  local id="$1" size program
  : "${DARO_INSTALLED_PROGRAMS:?}" "${DARO_INSTALL_PROGRAMDIR:?}" "${DARO_INSTALL_SOUNDLIBDIR:?}"
  for program in $DARO_INSTALLED_PROGRAMS; do
    echo "$DARO_INSTALL_PROGRAMDIR/$program"
  done
  printf '%s\n' "$DARO_INSTALL_SOUNDLIBDIR/libZT七国将棋.so" \
    share/daro/その他.wav share/daro/禁止.wav share/daro/駒打音.wav share/daro/終局.wav share/daro/BGM.wav \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
    "share/icons/hicolor/scalable/apps/$id.svg" \
    share/man/man6/daro.6.gz share/man/man6/daro-autoplay.6.gz \
    share/doc/daro/README.md share/doc/daro/copyright share/doc/daro/changelog.Debian.gz
  for file in ${DARO_INSTALLED_EXTRA:-}; do
    echo "$file"
  done
  # The browser's page, when the build made one: its file names are hashed.
  if [ -n "${DARO_BUILD_DIR:-}" ] && [ -f "$DARO_BUILD_DIR/web/installs-page" ]; then
    local web
    web="$(cat "$DARO_BUILD_DIR/web/installs-page")"
    (cd "$DARO_BUILD_DIR/web/dist" && find . -type f | sed "s|^\./|$web/|")
  fi
  for size in 16 22 24 32 48 64 128 256; do
    echo "share/icons/hicolor/${size}x${size}/apps/$id.png"
  done
}
