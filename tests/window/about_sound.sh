#!/usr/bin/env bash
# The real program plays its sounds: with SDL's disk driver recording what
# the device would play, the output stays silent until その他 →
# "ﾊﾞｰｼﾞｮﾝ情報" is chosen, and the About box's sound then reaches the device;
# with 効果音なし on, it does not.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/window_lib.bash"
in_virtual_x "$here/about_sound.sh" "$@"

export DARO_TEST_AUDIO_DRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/device.raw"
audible_bytes() { tr -d '\000' <"$SDL_DISKAUDIOFILE" | wc -c; }

start_game
sleep 1
[ -s "$SDL_DISKAUDIOFILE" ] || fail "the sound device was not opened"
before=$(audible_bytes)
[ "$before" -eq 0 ] || fail "the device played $before bytes of sound before anything happened"

# "その他" stands on the menu bar right of "ｵﾌﾟｼｮﾝ"; the version is its second item.
open_menu 205
choose_item 2 2
wait_for_box '^ZT七国将棋$' || fail "no About box titled ZT七国将棋"
sleep 1
after=$(audible_bytes)
[ "$after" -gt 1000 ] || fail "the About box was silent ($after audible bytes)"

end_with_esc

# With ｵﾌﾟｼｮﾝ → 効果音なし kept on, the same box stays silent.
printf '[General]\nTE_HYOUJI=false\nOUTE=false\nKOUKAON_NASHI=true\n' >"$WORK/game/daro.conf"
rm -f "$SDL_DISKAUDIOFILE"
start_game
sleep 1
[ -s "$SDL_DISKAUDIOFILE" ] || fail "the sound device was not opened the second time"
open_menu 205
choose_item 2 2
wait_for_box '^ZT七国将棋$' || fail "no About box titled ZT七国将棋 with the effects off"
sleep 1
muted=$(audible_bytes)
[ "$muted" -eq 0 ] || fail "with the effects off the About box played $muted audible bytes"
end_with_esc
echo "about_sound: ok ($after audible bytes, none with the effects off)"
