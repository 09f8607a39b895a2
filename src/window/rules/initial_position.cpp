// A new game as the window shows it: the turn icons hidden, then the
// opening position drawn.
#include "Form1.h"

namespace daro {

namespace {

constexpr const char* kTurnIcons[] = {
    "ICO_MAN_GI",  "ICO_COM_GI",  "ICO_MAN_EN",  "ICO_COM_EN",  "ICO_MAN_SAI", "ICO_COM_SAI", "ICO_MAN_CHO",
    "ICO_COM_CHO", "ICO_MAN_SOU", "ICO_COM_SOU", "ICO_MAN_TEI", "ICO_COM_TEI", "ICO_MAN_KAN", "ICO_COM_KAN",
};

}  // namespace

void Form1::初期設定() {
    for (const char* icon : kTurnIcons) window.setIconVisible(icon, false);
    clickPhase = 0;
    table.初期設定();
    画面_再描画();
}

}  // namespace daro
