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

}  // namespace daro
