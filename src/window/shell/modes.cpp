// Seven humans at the board, the computer level, and hiding the turn icons.
#include <array>
#include <string>
#include <utility>

#include "Form1.h"

namespace daro {

namespace {

void chooseLevel(Form1& f, int level) {
    f.描画_絵(f.backgroundCode, -2, 0);
    f.描画_絵(f.backgroundCode, -1, 0);
    f.描画_絵(f.backgroundCode, 0, 0);

    const std::string item = "LEVEL" + std::to_string(level);
    if (f.window.isChecked(item)) return;
    f.window.setChecked(item, true);
    for (int other = 1; other <= Form1::levelFour; ++other)
        if (other != level) f.window.setChecked("LEVEL" + std::to_string(other), false);
    // LEVEL5 is touched only when it is in play, so the classic levels click as they always did.
    if (level != Form1::levelFive && f.window.isChecked("LEVEL5")) f.window.setChecked("LEVEL5", false);
    f.computerLevel = level;
    if (f.gameMode == Form1::modeOnePlayer) f.描画_レベル(level);
}

}  // namespace

void Form1::PLAY_7_Click() {
    std::array<SeatKind, 8> seats{};
    for (int s = 1; s <= seatCount; ++s) seats[static_cast<std::size_t>(s)] = {true, 0};
    const int before = turnSeat;
    table.seat(modeSevenPlayers, seats);
    turnSeat = before;
    table.drainEvents();

    // No level is shown while only humans play.
    for (auto [x, y] : {std::pair{-2, -1}, {-1, -1}, {0, -1}, {1, -1}, {-2, 0}, {-1, 0}, {0, 0}})
        描画_絵(backgroundCode, x, y);

    gameStarted = valueYes;
    recordNavigated = valueNo;

    消去_アイコン();

    if (turnSeat == noSeat) {
        moveNumber = 0;
        turnSeat = 1;
        描画_アイコン(turnSeat, true);
        描画_手番表示();
        window.messageBox("秦の番です", "", BoxButtons::Ok, BoxIcon::None);
    } else {
        描画_アイコン(turnSeat, true);
        描画_手番表示();
    }
}

void Form1::LEVEL1_Click() { chooseLevel(*this, 1); }
void Form1::LEVEL2_Click() { chooseLevel(*this, 2); }
void Form1::LEVEL3_Click() { chooseLevel(*this, 3); }
void Form1::LEVEL4_Click() { chooseLevel(*this, levelFour); }
void Form1::LEVEL5_Click() { chooseLevel(*this, levelFive); }

void Form1::消去_アイコン() {
    static constexpr std::array<const char*, 14> icons = {
        "ICO_COM_GI",  "ICO_MAN_GI",  "ICO_COM_EN",  "ICO_MAN_EN",  "ICO_COM_SAI",
        "ICO_MAN_SAI", "ICO_COM_CHO", "ICO_MAN_CHO", "ICO_COM_SOU", "ICO_MAN_SOU",
        "ICO_COM_TEI", "ICO_MAN_TEI", "ICO_COM_KAN", "ICO_MAN_KAN"};
    for (const char* name : icons) window.setIconVisible(name, false);
}

}  // namespace daro
