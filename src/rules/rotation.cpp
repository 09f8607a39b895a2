// The chain of computer turns that runs until a human is to move.
#include "Form1.h"

namespace daro {

void Form1::対局_回転() {
    if (rotationStop == valueYes) return;
    // No game running, or no kingdom left to move: there is nobody to play for.
    if (blockOfSeat(turnSeat) == 0) return;
    int done = valueNo;
    if (seatPlayer[turnSeat] == playerHuman) {
        描画_アイコン(turnSeat, true);
        done = valueYes;
    }
    while (done != valueYes) {
        com_ban(turnSeat);
        // The computer's move ended the game.
        if (turnSeat == noSeat) break;
        turnSeat = 手番_進(turnSeat);
        if (turnSeat == noSeat) break;
        // An elimination pauses the chain; this pass still finishes.
        if (rotationStop == valueYes) done = valueYes;
        if (seatPlayer[turnSeat] == playerHuman) {
            描画_アイコン(turnSeat, true);
            done = valueYes;
        }
    }
}

}  // namespace daro
