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

void announce(Form1& f, const std::string& text) {
    f.module1.play(f.soundGameEnd);
    f.window.messageBox(text, "終了", BoxButtons::Ok, BoxIcon::None);
    askToPlayAgain(f);
}

}  // namespace

void Form1::終了(const std::string& kingdom) { announce(*this, kingdom + "の勝ちです"); }

void Form1::終了_man() { announce(*this, "あなたの負けです"); }

void Form1::noKingdomCanMove() { announce(*this, "どの国も動けません"); }

void Form1::noHumanKingdomLeft() { announce(*this, "人間の国はすべて脱落しました"); }

void Form1::presentOutcome(const Outcome& outcome) {
    switch (outcome.kind) {
        case OutcomeKind::win: 終了(kingdomName(outcome.seat)); break;
        case OutcomeKind::humanGone: 終了_man(); break;
        case OutcomeKind::noHumanLeft: noHumanKingdomLeft(); break;
        case OutcomeKind::noKingdomCanMove: noKingdomCanMove(); break;
    }
}

}  // namespace daro
