// The mouse on the board: picking a piece, giving its destination, making
// the move and handing the turn on.
#include <cmath>
#include <utility>

#include "Form1.h"

namespace daro {

namespace {

bool isSeat(int seat) { return seat >= 1 && seat <= Form1::seatCount; }

// A piece belongs to the seat when its code lies in the seat's block of ten.
bool seatOwns(int seat, int code) {
    const int b = Form1::blockOfSeat(seat);
    return b != 0 && 10 * b <= code && code <= 10 * b + 9;
}

// Square column or row of a click, rounding towards minus infinity; 0 when
// the click lies outside the 19 squares.
int squareOf(double twips, int origin, int cell) {
    const double index = std::floor((twips - origin) / cell);
    if (!(index >= 1 && index <= Form1::boardSize)) return 0;
    return static_cast<int>(index);
}

bool computerToMove(const Form1& f) { return f.table.next().kind == StepKind::paused; }

}  // namespace

void Form1::Form_MouseDown(int /*button*/, int /*shift*/, double X, double Y) {
    if (gameStarted == valueNo) {
        refuseNoGame();
        return;
    }

    // At a server a look back ends with the first click, on the game as it stands.
    if (reviewingRemote()) {
        backToNow();
        return;
    }
    if (recordNavigated == valueYes) {
        if (moveNumber == 0 && turnSeat == noSeat) {
            refuseNoGame();
            return;
        }
        const bool quietly = resumeQuietly_;
        resumeQuietly_ = false;
        if (!quietly) window.messageBox("OKですか？", "再開", BoxButtons::Ok, BoxIcon::None);
        recordNavigated = valueNo;
        showReviewCommand();
        // Play goes on from the position shown.
        table.resumeHere();
        if (!quietly || !isSeat(turnSeat) || seatPlayer[turnSeat] != playerHuman) {
            対局_回転();
            return;
        }
        // The click is the human's first of the game that goes on.
    }

    // At a server only the player's own seat answers to clicks.
    if (remote() && (remoteSeat == 0 || turnSeat != remoteSeat)) {
        module1.play(soundForbidden);
        if (remoteSeat != 0) 描画_手番エラーメッセージ(turnSeat);
        return;
    }
    // A human never moves a computer's piece: the computers were stopped
    // (an elimination ends their chain) and simply play on.
    if (computerToMove(*this)) {
        table.resume();
        対局_回転();
        return;
    }

    描画_アイコン(turnSeat, true);
    const int x = squareOf(X, boardLeft, cellWidth);
    const int y = squareOf(Y, boardTop, cellHeight);
    if (x == 0 || y == 0) return;
    const int c = board[x][y];

    if (clickPhase == 0) {
        if (c == emptyCode || c == centreCode) {
            module1.play(soundForbidden);
            return;
        }
        moveWork[workSelX] = x;
        moveWork[workSelY] = y;
        moveWork[workPiece] = c;
        描画_移動可能桝色(x, y, guideColor, c);
        if (seatOwns(turnSeat, c)) {
            clickPhase = 1;
            描画_桝輪郭(selectColor, x, y);
        } else {
            module1.play(soundForbidden);
            描画_桝輪郭(guideColor, x, y);
            描画_手番エラーメッセージ(turnSeat);
        }
        return;
    }

    moveWork[workDestX] = x;
    moveWork[workDestY] = y;

    if (seatOwns(turnSeat, c)) {
        moveWork[workSelX] = x;
        moveWork[workSelY] = y;
        moveWork[workPiece] = c;
        描画_将棋盤桝();
        描画_移動可能桝色(x, y, guideColor, c);
        描画_桝輪郭(selectColor, x, y);
        return;
    }

    if (table.移動チェック(moveWork[workSelX], moveWork[workSelY], x, y, moveWork[workPiece]) != valueYes) {
        module1.play(soundForbidden);
        描画_将棋盤桝();
        if (c != emptyCode && c != centreCode) {
            描画_移動可能桝色(x, y, guideColor, c);
            描画_桝輪郭(guideColor, x, y);
        }
        clickPhase = 0;
        return;
    }

    if (remote()) {
        // The server decides; its answer is shown when it comes.
        clickPhase = 0;
        描画_将棋盤桝();
        sendMove({moveWork[workSelX], moveWork[workSelY], x, y});
        return;
    }
    presentHumanMove({moveWork[workSelX], moveWork[workSelY], x, y}, moveWork[workPiece]);
}

// The move a human gave, as the window has always shown it: the status
// first, then the move; a king refused for the square it would stand on is
// shown made and taken back.
void Form1::presentHumanMove(const TableMove& m, int piece) {
    const int mover = turnSeat;
    描画_絵(backgroundCode, -2, -1);
    描画_絵(backgroundCode, -1, -1);
    if (gameMode == modeOnePlayer) 描画_レベル(computerLevel);
    描画_絵(backgroundCode, -2, 0);
    描画_絵(backgroundCode, -1, 0);
    描画_絵(backgroundCode, 0, 0);
    描画_手数(moveNumber + 1, colorWhite);

    clickPhase = 0;
    描画_桝輪郭(gridColor, m.fromX, m.fromY);
    描画_桝輪郭(gridColor, m.toX, m.toY);
    描画_移動可能桝色(m.fromX, m.fromY, gridColor, piece);
    module1.play(soundPiece);

    const int captured = board[m.toX][m.toY];
    const Refusal refusal = table.submit(mover, m);
    描画_駒移動(m.fromX, m.fromY, m.toX, m.toY, piece);
    if (refusal == Refusal::kingSquareReached) {
        presentRefusedKingMove(m, captured);
        return;
    }
    if (refusal != Refusal::none) return;

    描画_持ち駒数(backgroundCode);
    if (table.over()) {
        presentEvents();
        return;
    }
    table.drainEvents();
    followGame();
    描画_アイコン(mover, false);
    if (gameMode == modeSevenPlayers) 描画_アイコン(turnSeat, true);
    対局_回転();
}

// The box, then the board steps back as 戻 would show it.
void Form1::presentRefusedKingMove(const TableMove& m, int captured) {
    const int mover = turnSeat;
    const int piece = board[m.fromX][m.fromY];
    window.messageBox("自殺はできません", "", BoxButtons::Ok, BoxIcon::None);
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y) {
            const bool from = x == m.fromX && y == m.fromY;
            const bool to = x == m.toX && y == m.toY;
            if (!from && !to) continue;
            描画_絵(from ? piece : captured, x, y);
            描画_桝輪郭(outlineColor, x, y);
        }
    描画_将棋盤桝();
    module1.play(soundPiece);
    for (auto [x, y] : {std::pair{-2, -1}, {-1, -1}, {0, -1}, {1, -1}, {-2, 0}, {-1, 0}, {0, 0}})
        描画_絵(backgroundCode, x, y);
    if (gameMode == modeOnePlayer) 描画_レベル(computerLevel);
    描画_持ち駒数(backgroundCode);
    描画_手数(moveNumber, colorWhite);
    描画_アイコン(table.手番_進(mover), false);
    描画_アイコン(mover, true);
    // Classic: as after 戻, the next click asks before play goes on. Guided,
    // the position simply is as it was and the same kingdom moves again.
    if (!guidedPlay()) recordNavigated = valueYes;
    // What the board told before the move (marks, the king's danger) stays.
    描画_経過();
}

void Form1::refuseNoGame() {
    module1.play(soundForbidden);
    window.messageBox("「対局」で始めて下さい", "開始", BoxButtons::Ok, BoxIcon::None);
}

void Form1::描画_手番エラーメッセージ(int seat) {
    if (!isSeat(seat)) return;
    window.messageBox(kingdomName(seat) + "の番です", "手番が違います", BoxButtons::Ok, BoxIcon::None);
}

}  // namespace daro
