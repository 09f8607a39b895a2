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

}  // namespace

void Form1::手順保存(int n) {
    if (n < 0) return;
    // The record grows with the game, so no position is ever lost.
    if (moveRecord.size() < static_cast<std::size_t>(n) + 1) moveRecord.resize(static_cast<std::size_t>(n) + 1);
    Board& entry = moveRecord[static_cast<std::size_t>(n)];
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y) entry[x][y] = board[x][y];
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
    const Board& shown = moveRecord[static_cast<std::size_t>(moveNumber)];
    const Board& before = moveRecord[static_cast<std::size_t>(moveNumber) - 1];
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (shown[x][y] == before[x][y]) continue;
            if (shown[x][y] != emptyCode && before[x][y] != emptyCode)
                調査_駒取得("取られる", shown[x][y], before[x][y]);
            board[x][y] = before[x][y];
            描画_絵(board[x][y], x, y);
            描画_桝輪郭(outlineColor, x, y);
        }
    }

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
    const Board& shown = moveRecord[static_cast<std::size_t>(moveNumber)];
    const Board& after = moveRecord[static_cast<std::size_t>(moveNumber) + 1];
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (after[x][y] == shown[x][y]) continue;
            // The capturer stands on the square afterwards; the captured piece
            // stood there before.
            if (shown[x][y] != emptyCode && after[x][y] != emptyCode)
                調査_駒取得("取る", after[x][y], shown[x][y]);
            board[x][y] = after[x][y];
            描画_絵(board[x][y], x, y);
            描画_桝輪郭(outlineColor, x, y);
        }
    }

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
