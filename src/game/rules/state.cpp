// Where pieces and kings stand.
#include "table/Table.h"

namespace daro {

int Table::存在チェック駒(int code) const {
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y)
            if (board[x][y] == code) return valueYes;
    return valueNo;
}

// Keeps the last known square when the king is gone: the computer still
// reads it after a capture.
void Table::取得_王座標(int code) {
    if (!isKingCode(code)) return;
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y)
            if (board[x][y] == code) {
                const int block = blockOfCode(code);
                kingX[block] = x;
                kingY[block] = y;
                return;
            }
}

int Codes::取得_手番王(int seat) {
    const int block = blockOfSeat(seat);
    if (block == 0) return noPieceCode;
    return 10 * block + OHU;
}

}  // namespace daro
