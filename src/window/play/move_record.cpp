// The steps back and forward through the record (戻, 進), and 取消.
#include <cstddef>
#include <cstdint>
#include <utility>

#include "Form1.h"

namespace daro {

namespace {

bool isSeat(int seat) { return seat >= 1 && seat <= Codes::seatCount; }

// The move number and the level beside the board, after a step.
void redrawMoveStatus(Form1& f) {
    for (auto [x, y] : {std::pair{-2, -1}, {-1, -1}, {0, -1}, {1, -1}, {-2, 0}, {-1, 0}, {0, 0}})
        f.描画_絵(f.backgroundCode, x, y);
    if (f.gameMode == Form1::modeOnePlayer) f.描画_レベル(f.computerLevel);
    f.描画_持ち駒数(f.backgroundCode);
    f.描画_手数(f.moveNumber, Form1::colorWhite);
}

// Shows one neighbouring position of the record, square by square where it
// differs from the one shown, and takes the counters it stored.
void showEntry(Form1& f, const RecordEntry& shown, const RecordEntry& target) {
    for (int x = 1; x <= Form1::boardSize; ++x) {
        for (int y = 1; y <= Form1::boardSize; ++y) {
            if (shown.square(x, y) == target.square(x, y)) continue;
            f.board[x][y] = target.square(x, y);
            f.描画_絵(f.board[x][y], x, y);
            f.描画_桝輪郭(f.outlineColor, x, y);
        }
    }
    f.capturedCount = target.capturedCount();
    f.kingsCapturedCount = target.kingsCapturedCount();
}

}  // namespace

void Form1::REPLAY_Click() {
    // A game at a server goes on there: a step back is only a look back.
    if (remote() && !remoteReviewExplained) {
        remoteReviewExplained = true;
        window.messageBox("サーバーの卓では手を戻せません。戻・進は局面を見るだけで、盤をクリックするか「今の局面へ」で対局に戻ります",
                          "戻る", BoxButtons::Ok, BoxIcon::None);
    }
    if (gameStarted == valueNo) {
        refuseNoGame();
        return;
    }
    if (moveNumber < 1 || static_cast<std::size_t>(moveNumber) >= moveRecord.size()) {
        module1.play(soundForbidden);
        window.messageBox("できません", "戻る", BoxButtons::Ok, BoxIcon::None);
        return;
    }

    clickPhase = 0;
    clearHint();
    const auto n = static_cast<std::size_t>(moveNumber);
    // Leaving the last position of play: it keeps who was to move there.
    if (moveNumber == recordEnd && recordNavigated == valueNo && isSeat(turnSeat))
        moveRecord[n].seatToMove = static_cast<std::uint8_t>(turnSeat);
    showEntry(*this, moveRecord[n], moveRecord[n - 1]);

    描画_将棋盤桝();
    module1.play(soundPiece);
    moveNumber -= 1;
    redrawMoveStatus(*this);

    描画_アイコン(turnSeat, false);
    const int stored = moveRecord[n - 1].seatToMove;
    if (isSeat(stored)) {
        turnSeat = stored;
    } else {
        // A position saved before anyone moved from it.
        if (isSeat(turnSeat)) turnSeat = table.手番_戻(turnSeat);
        if (moveNumber == 0) turnSeat = 1;
    }
    描画_アイコン(turnSeat, true);

    recordNavigated = valueYes;
    resumeQuietly_ = false;
    rotationStop = valueNo;
    描画_経過();
}

void Form1::AFTER_Click() {
    if (gameStarted == valueNo) {
        refuseNoGame();
        return;
    }
    if (moveNumber >= recordEnd || moveNumber < 0 ||
        static_cast<std::size_t>(moveNumber) + 1 >= moveRecord.size()) {
        module1.play(soundForbidden);
        window.messageBox("できません", "進む", BoxButtons::Ok, BoxIcon::None);
        return;
    }

    clickPhase = 0;
    clearHint();
    描画_将棋盤桝();
    const auto n = static_cast<std::size_t>(moveNumber);
    showEntry(*this, moveRecord[n], moveRecord[n + 1]);

    module1.play(soundPiece);
    moveNumber += 1;
    redrawMoveStatus(*this);

    描画_アイコン(turnSeat, false);
    const int stored = moveRecord[n + 1].seatToMove;
    turnSeat = isSeat(stored) ? stored : table.手番_進(turnSeat);
    描画_アイコン(turnSeat, true);

    recordNavigated = valueYes;
    resumeQuietly_ = false;
    描画_経過();
    // At a server the last position is the game again.
    if (remote() && moveNumber == recordEnd) backToNow();
}

void Form1::CANCEL_Click() {
    // Guided, the opening is shown for review and the game stays reachable
    // by 進 and the move list; the next click plays on from there.
    if (guidedPlay() && gameStarted == valueYes && !remote()) {
        showRecordPosition(0);
        return;
    }
    初期設定();
    gameStarted = valueNo;
}

}  // namespace daro
