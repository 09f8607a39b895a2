// The end of a game: the result, then a new game or the end of the program.
#include "Form1.h"

namespace daro {

namespace {

void askToPlayAgain(Form1& f) {
    const BoxAnswer answer = f.window.messageBox("続けますか？", "再ゲーム", BoxButtons::YesNo, BoxIcon::None);
    if (answer == BoxAnswer::Yes) {
        f.初期設定();
        f.module1.play(f.soundPiece);
        f.gameStarted = Form1::valueNo;
        return;
    }
    f.終了処理();
    f.window.endProgram();
}

}  // namespace

void Form1::終了(const std::string& kingdom) {
    module1.play(soundGameEnd);
    window.messageBox(kingdom + "の勝ちです", "終了", BoxButtons::Ok, BoxIcon::None);
    askToPlayAgain(*this);
}

void Form1::終了_man() {
    module1.play(soundGameEnd);
    window.messageBox("あなたの負けです", "終了", BoxButtons::Ok, BoxIcon::None);
    askToPlayAgain(*this);
}

void Form1::noKingdomCanMove() {
    module1.play(soundGameEnd);
    window.messageBox("どの国も動けません", "終了", BoxButtons::Ok, BoxIcon::None);
    askToPlayAgain(*this);
}

bool Form1::humanKingdomGone() const {
    if (gameMode != modeOnePlayer) return false;
    for (int s = 1; s <= seatCount; ++s)
        if (seatPlayer[s] == playerHuman && 調査_駒数(s) == 0) return true;
    return false;
}

bool Form1::gameEndsAfterDropOut(int seat) {
    if (gameMode == modeOnePlayer && blockOfSeat(seat) != 0 && seatPlayer[seat] == playerHuman) {
        rotationStop = valueYes;
        終了_man();
        return true;
    }
    const int last = lastKingdomStanding();
    if (last == noSeat) return false;
    rotationStop = valueYes;
    終了(kingdomName(last));
    return true;
}

}  // namespace daro
