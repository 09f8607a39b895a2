// Making a move, booking captures, counting a kingdom's pieces.
#include "table/Table.h"

namespace daro {

// Legality is the caller's business. Squares off the board are ignored
// rather than written outside it.
void Table::駒移動(int fromX, int fromY, int toX, int toY, int piece) {
    if (!onBoard(fromX, fromY) || !onBoard(toX, toY)) return;
    lastMove = {EventKind::Move,
                static_cast<std::uint8_t>(seatOfBlock(blockOfCode(piece))),
                static_cast<std::uint8_t>(fromX),
                static_cast<std::uint8_t>(fromY),
                static_cast<std::uint8_t>(toX),
                static_cast<std::uint8_t>(toY),
                static_cast<std::uint8_t>(piece),
                static_cast<std::uint8_t>(board[toX][toY])};
    if (board[toX][toY] != emptyCode) 調査_駒取得("取る", piece, board[toX][toY]);

    board[toX][toY] = piece;
    board[fromX][fromY] = emptyCode;
}

// "取る" books a capture, "取られる" takes one back when the record steps back.
void Table::調査_駒取得(const std::string& mode, int mover, int captured) {
    int sign = 0;
    if (mode == "取る")
        sign = 1;
    else if (mode == "取られる")
        sign = -1;
    else
        return;
    const int block = blockOfCode(mover);
    if (block == 0) return;
    if (captured == emptyCode) return;
    capturedCount[block] += sign;
    if (isKingCode(captured)) kingsCapturedCount[block] += sign;
}

int Table::調査_駒数(int seat) const {
    const int block = blockOfSeat(seat);
    if (block == 0) return 0;
    const int lo = 10 * block;
    const int hi = 10 * block + 9;
    int count = 0;
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y)
            if (board[x][y] >= lo && board[x][y] <= hi) ++count;
    return count;
}

}  // namespace daro
