#include "TableFixture.h"

using daro::Table;
using daro::Table;
using daro::test::TableFixture;

namespace {

struct Rect {
    int xmin, xmax, ymin, ymax;
    bool operator==(const Rect&) const = default;
};

Rect rectOf(int piece, int x, int y) {
    Rect r{};
    Table::取得_駒移動座標(piece, x, y, r.xmin, r.xmax, r.ymin, r.ymax);
    return r;
}

TEST(SearchRectangle, ShortReachIsClampedToTheBoard) {
    EXPECT_EQ(rectOf(33, 1, 1), (Rect{1, 6, 1, 6}));     // DOU
    EXPECT_EQ(rectOf(12, 10, 10), (Rect{9, 11, 9, 11}));  // KEN
    EXPECT_EQ(rectOf(75, 19, 3), (Rect{15, 19, 1, 7}));   // KYU
    EXPECT_EQ(rectOf(44, 3, 17), (Rect{1, 7, 13, 19}));   // KIB
    EXPECT_EQ(rectOf(21, 19, 19), (Rect{18, 19, 18, 19}));  // TOU
}

TEST(SearchRectangle, LongReachAndTheCentrePieceTakeTheWholeBoard) {
    for (int code : {10, 56, 67, 48, 39, Table::centreCode}) EXPECT_EQ(rectOf(code, 4, 4), (Rect{1, 19, 1, 19}));
}

TEST(SearchRectangle, SquaresOffTheBoardStillGiveBoundsOnIt) {
    for (int code : {12, 33, 44}) {
        const Rect r = rectOf(code, -7, 40);
        for (int bound : {r.xmin, r.xmax, r.ymin, r.ymax}) {
            EXPECT_GE(bound, 1);
            EXPECT_LE(bound, 19);
        }
    }
}

class Influence : public TableFixture {
protected:
    void SetUp() override { clearBoard(); }
    int kingdomSum(int x, int y) const {
        int sum = 0;
        for (int b = 1; b <= 7; ++b) sum += table.kingdomInfluence[b][x][y];
        return sum;
    }
};

TEST_F(Influence, DefendersAndAttackersCountInTheirOwnMaps) {
    board[5][5] = 54;  // a cavalry of block 5: never counts on its own square
    board[5][1] = 58;  // defended along the column
    board[4][4] = 51;  // and diagonally by a TOU
    board[8][8] = 37;  // attacked by 斉's HEN
    table.勢力調査();
    EXPECT_EQ(table.influenceTotal[5][5], 3);
    EXPECT_EQ(table.kingdomInfluence[5][5][5], 2);
    EXPECT_EQ(table.kingdomInfluence[3][5][5], 1);
}

TEST_F(Influence, EveryPieceButTheCavalryCountsOnItsOwnSquare) {
    for (int kind = 0; kind <= 9; ++kind) {
        clearBoard();
        board[6][15] = 60 + kind;
        table.勢力調査();
        EXPECT_EQ(table.kingdomInfluence[6][6][15], kind == Table::KIB ? 0 : 1) << kind;
    }
}

TEST_F(Influence, CentrePieceCountsInTheTotalOnly) {
    table.勢力調査();
    EXPECT_EQ(table.influenceTotal[10][10], 1);
    EXPECT_EQ(table.influenceTotal[10][1], 1);
    EXPECT_EQ(table.influenceTotal[1][1], 1);
    EXPECT_EQ(table.influenceTotal[19][10], 1);
    EXPECT_EQ(table.influenceTotal[3][4], 0);
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) EXPECT_EQ(kingdomSum(x, y), 0);
}

TEST_F(Influence, EmptyBoardClearsEveryMap) {
    table.初期設定();
    table.勢力調査();
    for (auto& column : board) column.fill(Table::emptyCode);
    table.勢力調査();
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) {
            EXPECT_EQ(table.influenceTotal[x][y], 0);
            EXPECT_EQ(kingdomSum(x, y), 0);
        }
}

TEST_F(Influence, OpeningSurveyLeavesTheBoardAndAddsUp) {
    table.初期設定();
    const daro::Board before = board;
    table.勢力調査();
    EXPECT_EQ(board, before);
    // 秦's king square: the king itself, its HII and its HOU; nobody else gets through.
    EXPECT_EQ(table.influenceTotal[1][10], 3);
    EXPECT_EQ(table.kingdomInfluence[5][1][10], 3);
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) {
            EXPECT_GE(table.influenceTotal[x][y], kingdomSum(x, y));
            // The centre's lines are closed off by the GYOs except on its own
            // square and the open diagonals and lines up to them.
            if (x != 10 && y != 10 && x - y != 0 && x + y != 20) {
                EXPECT_EQ(table.influenceTotal[x][y], kingdomSum(x, y)) << x << "," << y;
            }
        }
}

}  // namespace
