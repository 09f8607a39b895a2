#!/usr/bin/env bash
# The installed game, started from an unrelated folder with a fresh home:
# it shows the board, keeps its settings file in the user's configuration
# folder (never in the current folder), writes option changes there, and
# plays its sounds from the installed data folder. A configuration folder
# that is read-only, or cannot be made, leaves the game playing with its
# options in memory, as any failed write of the settings does.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/installed_program.sh" "$@"

ini="ZT七国将棋.ini"
# The five default lines in code page 932, CR LF.
default_ini() {
  printf '\x88\xda\x93\xae\x8e\x77\x93\xb1=OK\r\n\xb1\xb2\xba\xdd\x95\x5c\x8e\xa6=OK\r\n\x8e\x9d\x8b\xee\x90\x94\x95\x5c\x8e\xa6=OK\r\n\x94\x77\x8c\x69\x89\xe6=\x97\xce\r\nBGM=NG\r\n'
}
guide_off_ini() { default_ini | sed 's/^\(\x88\xda\x93\xae\x8e\x77\x93\xb1\)=OK/\1=NG/'; }

DESTDIR="$WORK/root" cmake --install "$DARO_BUILD_DIR" --prefix /usr >"$WORK/install.log" 2>&1 ||
  { cat "$WORK/install.log" >&2; fail "install failed"; }
program="$WORK/root/usr/${DARO_INSTALL_PROGRAMDIR:?}/daro"

# A fresh user in a folder that has nothing to do with the game.
fresh_user() {
  rm -rf "$WORK/home" "$WORK/elsewhere"
  mkdir -p "$WORK/home" "$WORK/elsewhere"
  export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config"
  cd "$WORK/elsewhere"
}

# ｵﾌﾟｼｮﾝ stands on the menu bar left of "その他"; 移動指導 is its first item.
toggle_move_guidance() {
  xdotool mousemove --sync $((OX + 152)) "$BAR_Y" click 1
  sleep 0.5
  xdotool key Down Return
  sleep 0.5
}

cwd_is_clean() {
  [ -z "$(ls -A "$WORK/elsewhere")" ] || fail "the game wrote into the current folder: $(ls -A "$WORK/elsewhere")"
}

# --- the ordinary first start ---------------------------------------------
fresh_user
export DARO_TEST_AUDIO_DRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/device.raw"
start_program "$program"
shoot_and_check installed_program <<CHECKS
grid-top      $(( $(col 1) + 1 )) $(row 1) 29 1  #008000 8 0.9
centre-piece  $(( $(col 10) + 2 )) $(( $(row 10) + 2 )) 27 27 #f5d641 55 0.3
empty-square  $(( $(col 9) + 2 )) $(( $(row 9) + 2 )) 27 27 #deb878 35 0.8
CHECKS
settings="$XDG_CONFIG_HOME/daro/$ini"
[ -f "$settings" ] || fail "no $settings after start-up"
cmp -s "$settings" <(default_ini) || fail "$settings does not hold the default lines: $(od -An -c "$settings")"
cwd_is_clean

toggle_move_guidance
cmp -s "$settings" <(guide_off_ini) || fail "turning 移動指導 off was not written to $settings: $(od -An -c "$settings")"
cwd_is_clean

# The sounds come from the installed data folder: the About box is heard.
audible_bytes() { tr -d '\000' <"$SDL_DISKAUDIOFILE" | wc -c; }
before=$(audible_bytes)
open_menu 205
choose_item 2 2
wait_for_box '^ZT七国将棋$' || fail "no About box"
sleep 1
after=$(audible_bytes)
[ "$((after - before))" -gt 1000 ] || fail "the About box was silent ($before then $after audible bytes)"
end_with_esc
cwd_is_clean
unset DARO_TEST_AUDIO_DRIVER SDL_DISKAUDIOFILE

# Plays on with a settings folder it cannot write: starts with the options
# the folder holds (or the defaults), survives an option change, ends with
# status 0, and never falls back to the current folder.
plays_on_without_writing() {
  start_program "$@"
  toggle_move_guidance
  kill -0 "$PID" 2>/dev/null || fail "the game ended after an option change it could not write"
  end_with_esc
  cwd_is_clean
}

# --- a configuration folder that cannot be made ----------------------------
fresh_user
printf 'not a folder' >"$WORK/home/.config"
plays_on_without_writing "$program"
[ "$(cat "$WORK/home/.config")" = "not a folder" ] || fail "the file in the way was changed"

# --- a read-only configuration folder holding the guidance-off settings ----
fresh_user
mkdir -p "$XDG_CONFIG_HOME/daro"
guide_off_ini >"$XDG_CONFIG_HOME/daro/$ini"
if [ "$(id -u)" -ne 0 ]; then
  chmod a-w "$XDG_CONFIG_HOME/daro" "$XDG_CONFIG_HOME/daro/$ini"
  plays_on_without_writing "$program"
  chmod u+w "$XDG_CONFIG_HOME/daro" "$XDG_CONFIG_HOME/daro/$ini"
elif unshare -m true 2>/dev/null; then
  # Permissions do not stop root: mount the folder read-only in a private namespace.
  plays_on_without_writing unshare -m sh -c 'mount --bind -o ro "$1" "$1" && exec "$2"' sh "$XDG_CONFIG_HOME/daro" "$program"
else
  echo "installed_program: as root without mount namespaces a read-only folder cannot be made; that case is not checked here" >&2
fi
cmp -s "$XDG_CONFIG_HOME/daro/$ini" <(guide_off_ini) || fail "the read-only settings file changed"
echo "installed_program: ok ($after audible bytes, settings in \$XDG_CONFIG_HOME/daro)"
