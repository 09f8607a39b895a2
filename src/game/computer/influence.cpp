// Which pieces reach which squares: the influence survey.
#include <algorithm>

#include "table/Table.h"

namespace daro {

// Short-range kinds are tried only within their reach; the others, and the
// centre piece, against the whole board. Every bound stays on the board,
// whatever square is given.
void Table::取得_駒移動座標(int piece, int x, int y, int& xmin, int& xmax, int& ymin, int& ymax) {
    int reach = 0;
    if (piece != centreCode) {
        switch (kindOf(piece)) {
        case KYU: reach = 4; break;
        case TOU: reach = 1; break;
        case DOU: reach = 5; break;
        case KIB: reach = 4; break;
        case KEN: reach = 1; break;
        default: break;
        }
    }
    if (reach == 0) {
        xmin = 1;
        xmax = boardSize;
        ymin = 1;
        ymax = boardSize;
        return;
    }
    xmin = std::clamp(x - reach, 1, boardSize);
    xmax = std::clamp(x + reach, 1, boardSize);
    ymin = std::clamp(y - reach, 1, boardSize);
    ymax = std::clamp(y + reach, 1, boardSize);
}

// Each target is judged empty, so a square counts whether it is free, held
// by an enemy or by one of the piece's own: attacked or defended alike.
void Table::勢力調査() {
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y) {
            influenceTotal[x][y] = 0;
            for (int block = 1; block <= blockCount; ++block) kingdomInfluence[block][x][y] = 0;
        }

    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y) {
            const int piece = board[x][y];
            if (piece == emptyCode) continue;
            int xmin = 0, xmax = 0, ymin = 0, ymax = 0;
            取得_駒移動座標(piece, x, y, xmin, xmax, ymin, ymax);
            const int block = blockOfCode(piece);
            Board saved;
            for (int tx = xmin; tx <= xmax; ++tx)
                for (int ty = ymin; ty <= ymax; ++ty) saved[tx][ty] = board[tx][ty];
            for (int tx = xmin; tx <= xmax; ++tx)
                for (int ty = ymin; ty <= ymax; ++ty) {
                    const int remembered = board[tx][ty];
                    board[tx][ty] = emptyCode;
                    if (移動チェック(x, y, tx, ty, piece) == valueYes) {
                        ++influenceTotal[tx][ty];
                        if (block != 0) ++kingdomInfluence[block][tx][ty];
                    }
                    board[tx][ty] = remembered;
                }
            for (int tx = xmin; tx <= xmax; ++tx)
                for (int ty = ymin; ty <= ymax; ++ty) board[tx][ty] = saved[tx][ty];
        }
}

}  // namespace daro
