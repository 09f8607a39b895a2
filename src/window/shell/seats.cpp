// The 1_PLAY seat commands: one human at the chosen kingdom, the computer at the six others.
#include <utility>

#include "Form1.h"

namespace daro {

void Form1::seatHumanAt(int seat) {
    std::array<SeatKind, 8> seats{};
    for (int s = 1; s <= seatCount; ++s) seats[static_cast<std::size_t>(s)] = {s == seat, 0};
    const int before = turnSeat;
    table.seat(modeOnePlayer, seats);
    turnSeat = before;
    table.drainEvents();
    gameStarted = valueYes;
    recordNavigated = valueNo;
    消去_アイコン();

    if (seat == 1) {
        if (turnSeat == noSeat) {
            // A new game: 秦 is the human and moves first.
            turnSeat = 1;
            描画_アイコン(turnSeat, true);
            描画_手番表示();
            window.messageBox(kingdomName(1) + "の番です", "", BoxButtons::Ok, BoxIcon::None);
        } else {
            描画_アイコン(turnSeat, true);
            描画_手番表示();
            対局_回転();
        }
        return;
    }

    if (turnSeat == seat) {
        描画_手番表示();
        window.messageBox(kingdomName(seat) + "の番です", " ", BoxButtons::Ok, BoxIcon::None);
    } else if (turnSeat == noSeat) {
        turnSeat = 1;
    }
    // In a new game the computer seats before the human's make their first moves here.
    対局_回転();
}

void Form1::seatFree(const std::array<SeatKind, 8>& seats) {
    初期設定();
    table.seat(modeFree, seats);
    table.drainEvents();
    gameStarted = valueYes;
    recordNavigated = valueNo;
    // Only the computers' level is shown, when there is one.
    for (auto [x, y] : {std::pair{-2, -1}, {-1, -1}, {0, -1}, {1, -1}, {-2, 0}, {-1, 0}, {0, 0}})
        描画_絵(backgroundCode, x, y);
    消去_アイコン();
    描画_アイコン(turnSeat, true);
    描画_手番表示();
    if (seatPlayer[turnSeat] == playerHuman)
        window.messageBox(kingdomName(turnSeat) + "の番です", "", BoxButtons::Ok, BoxIcon::None);
    対局_回転();
}

void Form1::JYUNBAN_1_Click() { seatHumanAt(1); }
void Form1::JYUNBAN_2_Click() { seatHumanAt(2); }
void Form1::JYUNBAN_3_Click() { seatHumanAt(3); }
void Form1::JYUNBAN_4_Click() { seatHumanAt(4); }
void Form1::JYUNBAN_5_Click() { seatHumanAt(5); }
void Form1::JYUNBAN_6_Click() { seatHumanAt(6); }
void Form1::JYUNBAN_7_Click() { seatHumanAt(7); }

}  // namespace daro
