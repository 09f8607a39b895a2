// The 1_PLAY seat commands: one human at the chosen kingdom, the computer at the six others.
#include "Form1.h"

namespace daro {

void Form1::seatHumanAt(int seat) {
    for (int s = 1; s <= seatCount; ++s) seatPlayer[s] = s == seat ? playerHuman : playerComputer;
    gameStarted = valueYes;
    recordNavigated = valueNo;
    rotationStop = valueNo;
    gameMode = modeOnePlayer;
    消去_アイコン();

    if (seat == 1) {
        if (turnSeat == noSeat) {
            // A new game: 秦 is the human and moves first.
            turnSeat = 1;
            描画_アイコン(turnSeat, true);
            window.messageBox(kingdomName(1) + "の番です", "", BoxButtons::Ok, BoxIcon::None);
        } else {
            描画_アイコン(turnSeat, true);
            対局_回転();
        }
        return;
    }

    if (turnSeat == seat) {
        window.messageBox(kingdomName(seat) + "の番です", " ", BoxButtons::Ok, BoxIcon::None);
    } else if (turnSeat == noSeat) {
        turnSeat = 1;
    }
    // In a new game the computer seats before the human's make their first moves here.
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
