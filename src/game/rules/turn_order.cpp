// The turn going round the seats, kingdoms leaving the game, the winner.
#include "table/Table.h"

namespace daro {

// The loop looks at most once round the table, so it ends even on a board
// where no kingdom has a piece left; then there is no seat to move.
int Table::手番_進(int seat) const {
    if (blockOfSeat(seat) == 0) return noSeat;
    int next = seat;
    for (int tries = 0; tries < seatCount; ++tries) {
        next = next + 1;
        if (next > seatCount) next = 1;
        if (調査_駒数(next) != 0) return next;
    }
    return noSeat;
}

// Bounded the same way as 手番_進.
int Table::手番_戻(int seat) const {
    if (blockOfSeat(seat) == 0) return noSeat;
    int prev = seat;
    for (int tries = 0; tries < seatCount; ++tries) {
        prev = prev - 1;
        if (prev < 1) prev = seatCount;
        if (調査_駒数(prev) != 0) return prev;
    }
    return noSeat;
}

// The kingdom's pieces leave the board. They are nobody's captures, so no
// counter changes; the record keeps the drop-out with the position it
// happened in.
void Table::戦線離脱処理(int seat) {
    const int block = blockOfSeat(seat);
    if (block == 0) return;
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y)
            if (blockOfCode(board[x][y]) == block) board[x][y] = emptyCode;
    recordOut(seat);
}

int Table::lastKingdomStanding() const {
    int standing = noSeat;
    for (int s = 1; s <= seatCount; ++s) {
        if (調査_駒数(s) == 0) continue;
        if (standing != noSeat) return noSeat;
        standing = s;
    }
    return standing;
}

bool Table::hasLegalMove(int seat) const {
    const int block = blockOfSeat(seat);
    if (block == 0) return false;
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y) {
            const int c = board[x][y];
            if (blockOfCode(c) != block) continue;
            int xmin = 1, xmax = 0, ymin = 1, ymax = 0;
            取得_駒移動座標(c, x, y, xmin, xmax, ymin, ymax);
            for (int tx = xmin; tx <= xmax; ++tx)
                for (int ty = ymin; ty <= ymax; ++ty)
                    if (移動チェック(x, y, tx, ty, c) == valueYes) return true;
        }
    return false;
}

int Table::調査_終了(int seat) const {
    const int block = blockOfSeat(seat);
    if (block == 0) return valueNo;
    const int c = capturedCount[block];
    const int k = kingsCapturedCount[block];
    if (k >= 2 || c >= 30 || (c >= 19 && k == 1)) return valueYes;
    return valueNo;
}

}  // namespace daro
