// Whose turn it is, in words beside the board, and the sound when the turn
// comes to a seat of this window. Guided play only: the classic screen has
// the turn icons alone.
#include "Form1.h"

namespace daro {

namespace {

bool isSeat(int seat) { return seat >= 1 && seat <= Codes::seatCount; }

// Under the title, right of the board: cells 21..26 of row 2 are no one
// else's, so the line is cleared and printed without touching other texts.
constexpr double kLineX = 21.7;
constexpr double kLineY = 2.1;
constexpr double kLineSize = 12;
constexpr int kLineRow = 2;
constexpr int kFirstCell = 21;
constexpr int kLastCell = 26;
constexpr int kTextMode = 0;

}  // namespace

bool Form1::ownSeat(int seat) const {
    if (!isSeat(seat)) return false;
    if (remote()) return seat == remoteSeat;
    return seatPlayer[seat] == playerHuman;
}

void Form1::描画_手番表示() {
    if (turnLineShown_) {
        for (int x = kFirstCell; x <= kLastCell; ++x) 描画_絵(backgroundCode, x, kLineRow);
        turnLineShown_ = false;
    }
    const bool named = guidedPlay() && gameStarted == valueYes && gameMode != noSeat && isSeat(turnSeat) &&
                       !table.over();
    if (!named) {
        turnLineSeat_ = 0;
        return;
    }
    const int seat = turnSeat;
    const bool own = ownSeat(seat);
    const std::string text = own ? "あなたの番です" : kingdomName(seat) + "の番です";
    描画_数値(kLineX + 0.1, kLineY + 0.1, text, colorBlack, kTextMode, kLineSize);
    描画_数値(kLineX, kLineY, text, own ? colorLightYellow : colorWhite, kTextMode, kLineSize);
    turnLineShown_ = true;
    // The turn comes after another player's move: a computer's, or a
    // server's seat's. Humans sharing the mouse pass it on by hand.
    const bool comes = own && isSeat(turnLineSeat_) && !ownSeat(turnLineSeat_) && recordNavigated == valueNo;
    turnLineSeat_ = seat;
    if (comes && window.isChecked("TEBAN_OTO")) module1.play(soundOther);
}

}  // namespace daro
