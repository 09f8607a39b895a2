// The record of every position of the game, and the steps back and forward
// through it.
#include <cstddef>
#include <utility>

#include "Form1.h"

namespace daro {

namespace {

bool isSeat(int seat) { return seat >= 1 && seat <= Form1::seatCount; }

void refuseNoGame(Form1& f) {
    f.module1.play(f.soundForbidden);
    f.window.messageBox("「対局」で始めて下さい", "開始", BoxButtons::Ok, BoxIcon::None);
}

// The move number and the level beside the board, after a step.
void redrawMoveStatus(Form1& f) {
    for (auto [x, y] : {std::pair{-2, -1}, {-1, -1}, {0, -1}, {1, -1}, {-2, 0}, {-1, 0}, {0, 0}})
        f.描画_絵(f.backgroundCode, x, y);
    if (f.gameMode == Form1::modeOnePlayer) f.描画_レベル(f.computerLevel);
    f.描画_持ち駒数(f.backgroundCode);
    f.描画_手数(f.moveNumber, Form1::colorWhite);
}

// Shows one neighbouring position of the record, square by square where it
// differs from the one shown. A square occupied in both held a capture: the
// later position's piece took the earlier one's, counted forward, uncounted back.
void showNeighbour(Form1& f, const Board& earlier, const Board& later, bool forward) {
    const Board& target = forward ? later : earlier;
    for (int x = 1; x <= Form1::boardSize; ++x) {
        for (int y = 1; y <= Form1::boardSize; ++y) {
            if (earlier[x][y] == later[x][y]) continue;
            if (earlier[x][y] != Form1::emptyCode && later[x][y] != Form1::emptyCode)
                f.調査_駒取得(forward ? "取る" : "取られる", later[x][y], earlier[x][y]);
            f.board[x][y] = target[x][y];
            f.描画_絵(f.board[x][y], x, y);
            f.描画_桝輪郭(f.outlineColor, x, y);
        }
    }
}

}  // namespace

void Form1::手順保存(int n) {
    if (n < 0) return;
    // The record grows with the game, so no position is ever lost.
    if (moveRecord.size() < static_cast<std::size_t>(n) + 1) moveRecord.resize(static_cast<std::size_t>(n) + 1);
    moveRecord[static_cast<std::size_t>(n)] = board;
}

void Form1::REPLAY_Click() {
    if (gameStarted == valueNo) {
        refuseNoGame(*this);
        return;
    }
    if (moveNumber < 1 || static_cast<std::size_t>(moveNumber) >= moveRecord.size()) {
        module1.play(soundForbidden);
        window.messageBox("できません", "戻る", BoxButtons::Ok, BoxIcon::None);
        return;
    }

    clickPhase = 0;
    const auto n = static_cast<std::size_t>(moveNumber);
    showNeighbour(*this, moveRecord[n - 1], moveRecord[n], false);

    描画_将棋盤桝();
    module1.play(soundPiece);
    moveNumber -= 1;
    redrawMoveStatus(*this);

    描画_アイコン(turnSeat, false);
    if (isSeat(turnSeat)) turnSeat = 手番_戻(turnSeat);
    if (moveNumber == 0) turnSeat = 1;
    描画_アイコン(turnSeat, true);

    recordNavigated = valueYes;
    rotationStop = valueNo;
}

void Form1::AFTER_Click() {
    if (gameStarted == valueNo) {
        refuseNoGame(*this);
        return;
    }
    if (moveNumber >= recordEnd || moveNumber < 0 ||
        static_cast<std::size_t>(moveNumber) + 1 >= moveRecord.size()) {
        module1.play(soundForbidden);
        window.messageBox("できません", "進む", BoxButtons::Ok, BoxIcon::None);
        return;
    }

    clickPhase = 0;
    描画_将棋盤桝();
    const auto n = static_cast<std::size_t>(moveNumber);
    showNeighbour(*this, moveRecord[n], moveRecord[n + 1], true);

    module1.play(soundPiece);
    moveNumber += 1;
    redrawMoveStatus(*this);

    描画_アイコン(turnSeat, false);
    turnSeat = 手番_進(turnSeat);
    描画_アイコン(turnSeat, true);

    recordNavigated = valueYes;
}

void Form1::CANCEL_Click() {
    初期設定();
    gameStarted = valueNo;
}

}  // namespace daro
