// The board, its outlines and highlights, the blinking square, the tiled
// background and the full redraw.
#include "Form1.h"

namespace daro {

void Form1::描画_絵(int pictureCode, double x, double y) {
    if (pictureControlName(pictureCode).empty()) return;
    window.paintPicture(pictureCode, twipsX(x), twipsY(y));
}

void Form1::描画_桝輪郭(int color, double x, double y) {
    const double left = twipsX(x);
    const double top = twipsY(y);
    window.drawRectangle(left, top, left + cellWidth, top + cellHeight, color);
}

void Form1::描画_盤() {
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (board[x][y] == emptyCode)
                描画_絵(emptyCode, x, y);
            else
                描画_絵(board[x][y], x, y);
            描画_桝輪郭(outlineColor, x, y);
        }
    }
}

void Form1::描画_将棋盤桝() {
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y) 描画_桝輪郭(gridColor, x, y);
}

void Form1::描画_移動可能桝色(int fromX, int fromY, int color, int piece) {
    描画_将棋盤桝();
    if (!window.isChecked("SIDOU") || piece == emptyCode) return;
    // A king is also kept off the squares another kingdom reaches; the
    // classic guide outlines them all the same.
    const bool kingRule = guidedPlay() && isKingCode(piece);
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y) {
            if (table.移動チェック(fromX, fromY, x, y, piece) != valueYes) continue;
            if (kingRule && table.kingSquareReached(fromX, fromY, x, y, piece)) continue;
            描画_桝輪郭(color, x, y);
        }
}

void Form1::描画_桝点滅(int x, int y, int times) {
    // The board array has no room outside 1..19.
    if (!onBoard(x, y) || !blinking()) return;
    for (int i = 1; i <= times; ++i) {
        // Each phase is shown by hand once its wait is over.
        then([=, this] {
            描画_絵(board[x][y], x, y);
            描画_桝輪郭(outlineColor, x, y);
        });
        待ち時間(0.2);
        then([=, this] {
            window.refresh();
            描画_絵(emptyCode, x, y);
            描画_桝輪郭(outlineColor, x, y);
        });
        待ち時間(0.2);
        then([=, this] { window.refresh(); });
    }
}

void Form1::描画_駒移動(int fromX, int fromY, int toX, int toY, int piece) {
    描画_絵(emptyCode, fromX, fromY);
    描画_桝輪郭(outlineColor, fromX, fromY);
    描画_絵(piece, toX, toY);
    描画_桝輪郭(outlineColor, toX, toY);
    描画_桝輪郭(outlineColor, toX, toY);
}

void Form1::描画_戦線離脱(int seat) {
    const int block = blockOfSeat(seat);
    if (block == 0) return;
    const auto paintAll = [this, block](bool shown) {
        for (int x = 1; x <= boardSize; ++x)
            for (int y = 1; y <= boardSize; ++y) {
                const int code = board[x][y];
                if (blockOfCode(code) != block) continue;
                描画_絵(shown ? code : emptyCode, x, y);
                描画_桝輪郭(outlineColor, x, y);
            }
    };
    // Without blinking the pieces still leave the screen.
    if (!blinking()) {
        then([=] { paintAll(false); });
        return;
    }
    for (int blink = 0; blink < 3; ++blink) {
        then([=, this] { paintAll(true); });
        待ち時間(0.5);
        then([=, this] {
            window.refresh();
            paintAll(false);
        });
        待ち時間(0.5);
        then([=, this] { window.refresh(); });
    }
}

void Form1::描画_背景(int pictureCode) {
    // 34 x 25 tiles reach past every edge of the 14000 x 11000 window.
    for (int gx = -3; gx <= 30; ++gx)
        for (int gy = -2; gy <= 22; ++gy) 描画_絵(pictureCode, gx, gy);
}

void Form1::画面_再描画() {
    描画_背景(backgroundCode);
    描画_桝_数値();
    描画_盤();
    if (gameMode == modeOnePlayer) 描画_レベル(computerLevel);
    描画_持ち駒数(backgroundCode);
    描画_絵(titlePictureCode, 21.8, 0);
    markedSquares_.clear();
    dangerShown_ = false;
    // The board drawn anew shows no hint any more.
    hintSquares_.clear();
    描画_経過();
}

}  // namespace daro

namespace daro {

void Form1::redrawWhole() {
    画面_再描画();
    if (moveNumber > 0) 描画_手数(moveNumber, colorWhite);
    if (clickPhase == 1) {
        描画_移動可能桝色(moveWork[workSelX], moveWork[workSelY], guideColor, moveWork[workPiece]);
        描画_桝輪郭(selectColor, moveWork[workSelX], moveWork[workSelY]);
    }
    window.refresh();
}

}  // namespace daro
