// How every piece moves: the one definition of a legal move.
//
// The path walks below assume both squares lie on the board. 移動チェック
// establishes that before it walks; the public sub-checks guard their own
// arguments and then share the same walks.
#include <cstdlib>

#include "table/Table.h"

namespace daro {

namespace {

constexpr int kEmpty = Table::emptyCode;

constexpr bool onTheBoard(int x, int y) {
    return x >= 1 && x <= Table::boardSize && y >= 1 && y <= Table::boardSize;
}

// Same answer as Table::blockOfCode, without a loop on the hot path.
constexpr int blockOf(int code) {
    return code >= 10 && code <= 10 * Table::blockCount + 9 ? code / 10 : 0;
}

constexpr bool isGyo(int code) { return blockOf(code) != 0 && code % 10 == Table::GYO; }

constexpr int signOf(int v) { return (v > 0) - (v < 0); }

// Along one row or column, nothing strictly between.
bool lineClear(const Board& board, int fromX, int fromY, int toX, int toY) {
    if (fromX != toX && fromY != toY) return false;
    if (fromY != toY) {
        const int step = toY > fromY ? 1 : -1;
        for (int y = fromY + step; y != toY; y += step)
            if (board[toX][y] != kEmpty) return false;
    }
    if (fromX != toX) {
        const int step = toX > fromX ? 1 : -1;
        for (int x = fromX + step; x != toX; x += step)
            if (board[x][toY] != kEmpty) return false;
    }
    return true;
}

// Along one diagonal, nothing strictly between.
bool diagonalClear(const Board& board, int fromX, int fromY, int toX, int toY) {
    const int dx = toX - fromX;
    const int dy = toY - fromY;
    if (dx != dy && dx != -dy) return false;
    const int sx = signOf(dx);
    const int sy = signOf(dy);
    for (int x = fromX + sx, y = fromY + sy; x != toX; x += sx, y += sy)
        if (board[x][y] != kEmpty) return false;
    return true;
}

// Exactly one piece, of anyone, between the cannon and its prey.
bool cannonScreen(const Board& board, int fromX, int fromY, int toX, int toY) {
    int count = 0;
    if (fromX == toX) {
        const int step = signOf(toY - fromY);
        if (step != 0)
            for (int y = fromY + step; y != toY; y += step) count += board[fromX][y] != kEmpty;
    } else if (fromY == toY) {
        const int step = toX > fromX ? 1 : -1;
        for (int x = fromX + step; x != toX; x += step) count += board[x][fromY] != kEmpty;
    }
    return count == 1;
}

// One step to an empty neighbour, then a diagonal slide onto the ring 4 away.
bool cavalryPath(const Board& board, int fromX, int fromY, int toX, int toY) {
    const int adx = std::abs(toX - fromX);
    const int ady = std::abs(toY - fromY);
    if (adx > 4 || ady > 4) return false;
    if (adx < 4 && ady < 4) return false;
    for (int x = fromX - 1; x <= fromX + 1; ++x)
        for (int y = fromY - 1; y <= fromY + 1; ++y) {
            if (!onTheBoard(x, y) || board[x][y] != kEmpty) continue;
            if (diagonalClear(board, x, y, toX, toY)) return true;
        }
    return false;
}

// Row, column or diagonal.
bool anyLineClear(const Board& board, int fromX, int fromY, int toX, int toY) {
    return lineClear(board, fromX, fromY, toX, toY) || diagonalClear(board, fromX, fromY, toX, toY);
}

}  // namespace

// A from-square off the board is refused: there is no piece there to move,
// and walking from it would read outside the board.
int Table::移動チェック(int fromX, int fromY, int toX, int toY, int piece) const {
    if (!onTheBoard(toX, toY)) return valueNo;
    if (!onTheBoard(fromX, fromY)) return valueNo;
    const int target = board[toX][toY];
    if (target == centreCode) return valueNo;
    if (isGyo(target)) return valueNo;
    if (isGyo(board[fromX][fromY]) && target != emptyCode) return valueNo;
    const int block = blockOf(piece);
    if (block != 0 && blockOf(target) == block) return valueNo;

    const int dx = toX - fromX;
    const int dy = toY - fromY;
    const int adx = std::abs(dx);
    const int ady = std::abs(dy);
    bool legal = false;
    switch (piece % 10) {
    case OHU:
    case GYO:
        legal = anyLineClear(board, fromX, fromY, toX, toY);
        break;
    case HEN:
        legal = diagonalClear(board, fromX, fromY, toX, toY);
        break;
    case HII:
        legal = lineClear(board, fromX, fromY, toX, toY);
        break;
    case KIB:
        legal = cavalryPath(board, fromX, fromY, toX, toY);
        break;
    case TOU:
        legal = adx <= 1 && ady <= 1 && (dx == dy || dx == -dy);
        break;
    case KEN:
        legal = adx <= 1 && ady <= 1 && (dx == 0 || dy == 0);
        break;
    case DOU:
        legal = adx <= 5 && ady <= 5 && anyLineClear(board, fromX, fromY, toX, toY);
        break;
    case KYU:
        legal = adx <= 4 && ady <= 4 && anyLineClear(board, fromX, fromY, toX, toY);
        break;
    case HOU:
        if (target == emptyCode)
            legal = lineClear(board, fromX, fromY, toX, toY);
        else
            legal = (dx == 0 || dy == 0) && cannonScreen(board, fromX, fromY, toX, toY);
        break;
    default:  // a negative code has no kind
        break;
    }
    return legal ? valueYes : valueNo;
}

int Table::移動チェック飛車(int fromX, int fromY, int toX, int toY) const {
    if (!onTheBoard(fromX, fromY) || !onTheBoard(toX, toY)) return valueNo;
    return lineClear(board, fromX, fromY, toX, toY) ? valueYes : valueNo;
}

int Table::移動チェック角(int fromX, int fromY, int toX, int toY) const {
    if (!onTheBoard(fromX, fromY) || !onTheBoard(toX, toY)) return valueNo;
    return diagonalClear(board, fromX, fromY, toX, toY) ? valueYes : valueNo;
}

int Table::移動チェック砲取(int fromX, int fromY, int toX, int toY) const {
    if (!onTheBoard(fromX, fromY) || !onTheBoard(toX, toY)) return valueNo;
    return cannonScreen(board, fromX, fromY, toX, toY) ? valueYes : valueNo;
}

int Table::移動チェック騎(int fromX, int fromY, int toX, int toY) const {
    if (!onTheBoard(fromX, fromY) || !onTheBoard(toX, toY)) return valueNo;
    return cavalryPath(board, fromX, fromY, toX, toY) ? valueYes : valueNo;
}

}  // namespace daro
