// The chain of computer turns that runs until a human is to move.
#include "Form1.h"

namespace daro {

void Form1::対局_回転() {
    if (rotationStop == valueYes) return;
    // No game running, or no kingdom left to move: there is nobody to play for.
    if (blockOfSeat(turnSeat) == 0) return;
    if (!passHumansWhoCannotMove()) return;
    if (rotationStop == valueYes) {
        描画_アイコン(turnSeat, true);
        return;
    }
    int done = valueNo;
    if (seatPlayer[turnSeat] == playerHuman) {
        描画_アイコン(turnSeat, true);
        done = valueYes;
    }
    while (done != valueYes) {
        com_ban(turnSeat);
        // The computer's turn ended the game (or the program).
        if (turnSeat == noSeat || ended) break;
        turnSeat = 手番_進(turnSeat);
        if (turnSeat == noSeat) break;
        // An elimination pauses the chain; this pass still finishes.
        if (rotationStop == valueYes) done = valueYes;
        if (!passHumansWhoCannotMove()) break;
        if (rotationStop == valueYes) done = valueYes;
        if (seatPlayer[turnSeat] == playerHuman) {
            描画_アイコン(turnSeat, true);
            done = valueYes;
        } else if (done == valueYes) {
            // Paused at a computer seat: its icon says who plays on the next click.
            描画_アイコン(turnSeat, true);
        }
    }
}

// A human with pieces and a king but no legal move could only wait for
// ever; the turn passes on as a computer's does.
bool Form1::passHumansWhoCannotMove() {
    // Each pass is recorded, and a full round of them ends the game.
    for (int guard = 0; guard < 2 * seatCount; ++guard) {
        if (blockOfSeat(turnSeat) == 0 || seatPlayer[turnSeat] != playerHuman) return true;
        if (存在チェック駒(取得_手番王(turnSeat)) == valueNo || hasLegalMove(turnSeat)) return true;
        recordPass(turnSeat);
        if (wholeRoundPassed()) {
            rotationStop = valueYes;
            noKingdomCanMove();
            return false;
        }
        描画_アイコン(turnSeat, false);
        turnSeat = 手番_進(turnSeat);
        描画_アイコン(turnSeat, true);
        // Against the computers, a click plays each round on, so their chain
        // never runs unwatched while the human can only pass.
        if (gameMode == modeOnePlayer) {
            rotationStop = valueYes;
            return true;
        }
    }
    return true;
}

}  // namespace daro
