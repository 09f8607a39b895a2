// The mouse on the board: picking a piece, giving its destination, making
// the move and handing the turn on.
#include <cmath>

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

void refuseNoGame(Form1& f) {
    f.module1.play(f.soundForbidden);
    f.window.messageBox("「対局」で始めて下さい", "開始", BoxButtons::Ok, BoxIcon::None);
}

// A kingdom whose king is gone leaves the game when its turn comes: its
// remaining pieces go and the turn passes on.
void skipFallenKingdoms(Form1& f) {
    // Each pass takes one kingdom out, so seven passes are the most there can be.
    for (int pass = 0; pass < Form1::seatCount && isSeat(f.turnSeat); ++pass) {
        if (f.存在チェック駒(Form1::取得_手番王(f.turnSeat)) == Form1::valueYes) return;
        const int seat = f.turnSeat;
        const bool dropsOut = f.調査_駒数(seat) > 0;
        if (dropsOut) f.戦線離脱処理(seat);
        f.描画_アイコン(seat, false);
        f.turnSeat = f.手番_進(seat);
        f.描画_アイコン(f.turnSeat, true);
        if (dropsOut && f.gameEndsAfterDropOut(seat)) return;
    }
}

bool gameOver(const Form1& f) { return f.ended || !isSeat(f.turnSeat); }

// Kingdoms without a king leave, humans without a move pass, until someone
// can play or the game is over.
void handOnTheTurn(Form1& f) {
    for (int step = 0; step <= 2 * Form1::seatCount; ++step) {
        skipFallenKingdoms(f);
        if (gameOver(f)) return;
        const int before = f.turnSeat;
        if (!f.passHumansWhoCannotMove() || gameOver(f) || f.turnSeat == before) return;
    }
}

// The computer seats play from the seat to move on. The chain may have been
// stopped by an elimination, so it is started afresh.
void resumeComputerPlayers(Form1& f) {
    f.rotationStop = Form1::valueNo;
    f.com_ban(f.turnSeat);
    if (gameOver(f)) return;
    f.turnSeat = f.手番_進(f.turnSeat);
    f.対局_回転();
}

bool computerToMove(const Form1& f) {
    return f.gameMode == Form1::modeOnePlayer && isSeat(f.turnSeat) &&
           f.seatPlayer[f.turnSeat] == Form1::playerComputer;
}

void makeMove(Form1& f) {
    const int selX = f.moveWork[Form1::workSelX];
    const int selY = f.moveWork[Form1::workSelY];
    const int destX = f.moveWork[Form1::workDestX];
    const int destY = f.moveWork[Form1::workDestY];
    const int piece = f.moveWork[Form1::workPiece];
    const int mover = f.turnSeat;

    for (int king : Form1::kingRefreshOrder) f.取得_王座標(king);

    f.描画_絵(f.backgroundCode, -2, -1);
    f.描画_絵(f.backgroundCode, -1, -1);
    if (f.gameMode == Form1::modeOnePlayer) f.描画_レベル(f.computerLevel);

    f.moveNumber += 1;
    f.recordEnd = f.moveNumber;

    f.描画_絵(f.backgroundCode, -2, 0);
    f.描画_絵(f.backgroundCode, -1, 0);
    f.描画_絵(f.backgroundCode, 0, 0);
    f.描画_手数(f.moveNumber, Form1::colorWhite);

    f.clickPhase = 0;
    f.描画_桝輪郭(f.gridColor, selX, selY);
    f.描画_桝輪郭(f.gridColor, destX, destY);
    f.描画_移動可能桝色(selX, selY, f.gridColor, piece);

    f.module1.play(f.soundPiece);
    f.駒移動(selX, selY, destX, destY, piece);
    f.手順保存(f.moveNumber);

    if (Form1::isKingCode(piece)) {
        const int b = Form1::blockOfCode(piece);
        f.勢力調査();
        if (f.influenceTotal[destX][destY] - f.kingdomInfluence[b][destX][destY] > 0) {
            f.window.messageBox("自殺はできません", "", BoxButtons::Ok, BoxIcon::None);
            f.turnSeat = f.手番_進(f.turnSeat);
            f.REPLAY_Click();
            // The refused position must not come back with 進.
            f.recordEnd = f.moveNumber;
            // Counting back can land on another seat when the refused move had
            // taken a kingdom's last piece; the same player moves again.
            if (f.turnSeat != mover) {
                f.描画_アイコン(f.turnSeat, false);
                f.turnSeat = mover;
                f.描画_アイコン(f.turnSeat, true);
            }
            return;
        }
    }

    f.描画_持ち駒数(f.backgroundCode);

    if (f.調査_終了(f.turnSeat) == Form1::valueYes || f.lastKingdomStanding() == f.turnSeat) {
        f.終了(Form1::kingdomName(f.turnSeat));
        return;
    }

    f.描画_アイコン(f.turnSeat, false);
    if (f.gameMode == Form1::modeOnePlayer) {
        f.勢力調査();
        f.turnSeat = f.手番_進(f.turnSeat);
        // A chain stopped by an earlier elimination would otherwise leave the
        // computers idle after the human's move.
        f.rotationStop = Form1::valueNo;
        f.対局_回転();
    } else {
        f.turnSeat = f.手番_進(f.turnSeat);
        f.描画_アイコン(f.turnSeat, true);
        handOnTheTurn(f);
    }
}

}  // namespace

void Form1::Form_MouseDown(int /*button*/, int /*shift*/, double X, double Y) {
    if (gameStarted == valueNo) {
        refuseNoGame(*this);
        return;
    }

    if (recordNavigated == valueYes) {
        if (moveNumber == 0 && turnSeat == noSeat) {
            refuseNoGame(*this);
            return;
        }
        window.messageBox("OKですか？", "再開", BoxButtons::Ok, BoxIcon::None);
        recordNavigated = valueNo;
        handOnTheTurn(*this);
        if (gameOver(*this)) return;
        if (computerToMove(*this)) resumeComputerPlayers(*this);
        return;
    }

    // A human never moves a computer's piece: the computers were stopped
    // (an elimination ends their chain) and simply play on.
    if (computerToMove(*this)) {
        resumeComputerPlayers(*this);
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

    if (移動チェック(moveWork[workSelX], moveWork[workSelY], x, y, moveWork[workPiece]) != valueYes) {
        module1.play(soundForbidden);
        描画_将棋盤桝();
        if (c != emptyCode && c != centreCode) {
            描画_移動可能桝色(x, y, guideColor, c);
            描画_桝輪郭(guideColor, x, y);
        }
        clickPhase = 0;
        return;
    }

    makeMove(*this);
}

void Form1::描画_手番エラーメッセージ(int seat) {
    if (!isSeat(seat)) return;
    window.messageBox(kingdomName(seat) + "の番です", "手番が違います", BoxButtons::Ok, BoxIcon::None);
}

}  // namespace daro
