// A new game: the opening position of the seven kingdoms.
#include "table/Table.h"

namespace daro {

namespace {

struct Placement {
    int code;
    int x;
    int y;
};

// 119 kingdom pieces, kingdom by kingdom in seat order.
constexpr Placement kInitialPosition[] = {
    // 秦 (block 5), left edge
    {59, 1, 10}, {58, 1, 9}, {57, 1, 11}, {56, 2, 10}, {55, 4, 10}, {54, 1, 7}, {54, 1, 13}, {54, 2, 8},
    {54, 2, 12}, {53, 3, 10}, {52, 1, 8}, {52, 1, 12}, {52, 2, 9}, {52, 2, 11}, {51, 3, 9}, {51, 3, 11},
    {50, 5, 10},
    // 楚 (block 6), bottom edge, left half
    {69, 6, 19}, {68, 7, 19}, {67, 5, 19}, {66, 6, 18}, {65, 6, 16}, {64, 3, 19}, {64, 4, 18}, {64, 8, 18},
    {64, 9, 19}, {63, 6, 17}, {62, 4, 19}, {62, 5, 18}, {62, 7, 18}, {62, 8, 19}, {61, 5, 17}, {61, 7, 17},
    {60, 6, 15},
    // 韓 (block 7), bottom edge, right half
    {79, 14, 19}, {78, 15, 19}, {77, 13, 19}, {76, 14, 18}, {75, 14, 16}, {74, 11, 19}, {74, 12, 18},
    {74, 16, 18}, {74, 17, 19}, {73, 14, 17}, {72, 12, 19}, {72, 13, 18}, {72, 15, 18}, {72, 16, 19},
    {71, 13, 17}, {71, 15, 17}, {70, 14, 15},
    // 斉 (block 3), right edge, lower half
    {39, 19, 14}, {38, 19, 13}, {37, 19, 15}, {36, 18, 14}, {35, 16, 14}, {34, 18, 12}, {34, 18, 16},
    {34, 19, 11}, {34, 19, 17}, {33, 17, 14}, {32, 18, 13}, {32, 18, 15}, {32, 19, 12}, {32, 19, 16},
    {31, 17, 13}, {31, 17, 15}, {30, 15, 14},
    // 魏 (block 1), right edge, upper half
    {19, 19, 6}, {18, 19, 5}, {17, 19, 7}, {16, 18, 6}, {15, 16, 6}, {14, 18, 4}, {14, 18, 8}, {14, 19, 3},
    {14, 19, 9}, {13, 17, 6}, {12, 18, 5}, {12, 18, 7}, {12, 19, 4}, {12, 19, 8}, {11, 17, 5}, {11, 17, 7},
    {10, 15, 6},
    // 趙 (block 4), top edge, right half
    {49, 14, 1}, {48, 15, 1}, {47, 13, 1}, {46, 14, 2}, {45, 14, 4}, {44, 11, 1}, {44, 12, 2}, {44, 16, 2},
    {44, 17, 1}, {43, 14, 3}, {42, 12, 1}, {42, 13, 2}, {42, 15, 2}, {42, 16, 1}, {41, 13, 3}, {41, 15, 3},
    {40, 14, 5},
    // 燕 (block 2), top edge, left half
    {29, 6, 1}, {28, 7, 1}, {27, 5, 1}, {26, 6, 2}, {25, 6, 4}, {24, 3, 1}, {24, 4, 2}, {24, 8, 2},
    {24, 9, 1}, {23, 6, 3}, {22, 4, 1}, {22, 5, 2}, {22, 7, 2}, {22, 8, 1}, {21, 5, 3}, {21, 7, 3},
    {20, 6, 5},
};

// The centre piece stands on (10, 10).
constexpr int kCentreSquare = 10;

}  // namespace

// Who plays which seat, the level and the options survive a new game.
void Table::初期設定() {
    gameMode = noSeat;
    turnSeat = noSeat;
    for (int block = 1; block <= blockCount; ++block) {
        capturedCount[block] = 0;
        kingsCapturedCount[block] = 0;
    }
    moveNumber = 0;
    recordEnd = moveNumber;
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y) board[x][y] = emptyCode;
    for (const Placement& p : kInitialPosition) board[p.x][p.y] = p.code;
    board[kCentreSquare][kCentreSquare] = centreCode;
    events_.clear();
    outcome_.reset();
    pendingOut_ = 0;
    pendingMover_ = 0;
    手順保存(0);
}

}  // namespace daro
