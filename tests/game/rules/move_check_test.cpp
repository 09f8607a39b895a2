#include <set>
#include <utility>

#include "TableFixture.h"

using daro::Table;
using daro::test::TableFixture;

namespace {

constexpr int yes = Table::valueYes;
constexpr int no = Table::valueNo;

class MoveCheck : public TableFixture {
protected:
    void SetUp() override { clearBoard(); }
    // Places a piece and checks a move of it.
    int check(int fromX, int fromY, int toX, int toY) {
        return table.移動チェック(fromX, fromY, toX, toY, board[fromX][fromY]);
    }
    std::set<std::pair<int, int>> reach(int x, int y) {
        std::set<std::pair<int, int>> squares;
        for (int tx = 1; tx <= 19; ++tx)
            for (int ty = 1; ty <= 19; ++ty)
                if (check(x, y, tx, ty) == yes) squares.insert({tx, ty});
        return squares;
    }
};

TEST_F(MoveCheck, DestinationOffTheBoardIsRefusedForEveryKind) {
    for (int kind = 0; kind <= 9; ++kind) {
        board[1][1] = 50 + kind;
        EXPECT_EQ(check(1, 1, 0, 1), no);
        EXPECT_EQ(check(1, 1, 1, 0), no);
        EXPECT_EQ(check(1, 1, 1, 20), no);
        EXPECT_EQ(check(1, 1, -3, -3), no);
    }
}

TEST_F(MoveCheck, FromSquareOffTheBoardIsRefused) {
    EXPECT_EQ(table.移動チェック(0, 5, 3, 5, 58), no);
    EXPECT_EQ(table.移動チェック(-40, 5, 3, 5, 58), no);
    EXPECT_EQ(table.移動チェック(5, 25, 5, 19, 59), no);
    EXPECT_EQ(table.移動チェック飛車(-5, 5, 5, 5), no);
    EXPECT_EQ(table.移動チェック角(1, 1, -3, -3), no);
    EXPECT_EQ(table.移動チェック砲取(40, 5, 5, 5), no);
    EXPECT_EQ(table.移動チェック騎(1, 1, -3, -3), no);
}

TEST_F(MoveCheck, CentrePieceCannotBeTakenButBlocksAndScreens) {
    board[10][3] = 59;
    EXPECT_EQ(check(10, 3, 10, 10), no);
    EXPECT_EQ(check(10, 3, 10, 9), yes);
    EXPECT_EQ(check(10, 3, 10, 11), no);
    board[10][16] = 66;  // cannon jumps the centre
    board[10][3] = 59;
    EXPECT_EQ(check(10, 16, 10, 3), yes);
}

TEST_F(MoveCheck, GyoIsNeverTakenAndNeverTakes) {
    board[5][5] = 58;
    board[5][8] = 10;
    EXPECT_EQ(check(5, 5, 5, 8), no);  // enemy GYO
    board[5][8] = 50;
    EXPECT_EQ(check(5, 5, 5, 8), no);
    board[8][8] = 20;  // a GYO moving onto an enemy piece
    board[8][12] = 37;
    EXPECT_EQ(check(8, 8, 8, 12), no);
    EXPECT_EQ(check(8, 8, 8, 11), yes);
    EXPECT_EQ(check(8, 8, 5, 11), yes);
    EXPECT_EQ(check(8, 8, 11, 9), no);
}

TEST_F(MoveCheck, NoPieceTakesItsOwnKingdomOrStaysOnItsSquare) {
    board[3][3] = 59;
    board[3][7] = 52;
    EXPECT_EQ(check(3, 3, 3, 7), no);
    EXPECT_EQ(check(3, 3, 3, 3), no);
    board[3][7] = 62;
    EXPECT_EQ(check(3, 3, 3, 7), yes);
}

TEST_F(MoveCheck, StepPiecesMoveOneSquareTheirWay) {
    board[5][5] = 52;
    EXPECT_EQ(reach(5, 5), (std::set<std::pair<int, int>>{{5, 4}, {4, 5}, {6, 5}, {5, 6}}));
    board[5][5] = 51;
    EXPECT_EQ(reach(5, 5), (std::set<std::pair<int, int>>{{4, 4}, {6, 4}, {4, 6}, {6, 6}}));
}

TEST_F(MoveCheck, BowAndCrossbowReachAreBoundedPerCoordinate) {
    board[1][10] = 53;
    EXPECT_EQ(check(1, 10, 6, 10), yes);
    EXPECT_EQ(check(1, 10, 6, 15), yes);
    EXPECT_EQ(check(1, 10, 7, 10), no);
    board[1][10] = 55;
    EXPECT_EQ(check(1, 10, 5, 10), yes);
    EXPECT_EQ(check(1, 10, 6, 10), no);
    EXPECT_EQ(check(1, 10, 3, 11), no);  // off any line
}

TEST_F(MoveCheck, SlidersStopAtTheFirstPieceOnTheirLines) {
    board[4][4] = 57;  // HEN
    board[7][7] = 33;
    EXPECT_EQ(check(4, 4, 7, 7), yes);
    EXPECT_EQ(check(4, 4, 8, 8), no);
    EXPECT_EQ(check(4, 4, 1, 7), yes);
    EXPECT_EQ(check(4, 4, 4, 8), no);
    board[4][4] = 58;  // HII
    EXPECT_EQ(check(4, 4, 4, 19), yes);
    EXPECT_EQ(check(4, 4, 19, 4), yes);
    EXPECT_EQ(check(4, 4, 5, 5), no);
    board[4][12] = 21;
    EXPECT_EQ(check(4, 4, 4, 12), yes);
    EXPECT_EQ(check(4, 4, 4, 13), no);
}

TEST_F(MoveCheck, KingTakesAnEnemyKingAtAnyDistanceOnAClearLine) {
    board[1][1] = 59;
    board[19][19] = 39;
    board[1][19] = 49;
    EXPECT_EQ(check(1, 1, 19, 19), no);  // centre piece in the way
    EXPECT_EQ(check(1, 1, 1, 19), yes);
    board[1][12] = 11;
    EXPECT_EQ(check(1, 1, 1, 19), no);
}

TEST_F(MoveCheck, CannonMovesLikeARookAndTakesOverExactlyOneScreen) {
    board[2][10] = 56;
    board[4][10] = 52;
    board[7][10] = 19;
    EXPECT_EQ(check(2, 10, 7, 10), yes);
    EXPECT_EQ(check(2, 10, 3, 10), yes);
    EXPECT_EQ(check(2, 10, 5, 10), no);
    EXPECT_EQ(check(2, 10, 4, 10), no);  // own screen
    board[5][10] = 33;
    EXPECT_EQ(check(2, 10, 7, 10), no);
    EXPECT_EQ(check(2, 10, 5, 10), yes);  // over its own piece
    board[5][10] = Table::emptyCode;
    board[3][11] = 44;
    board[2][11] = 17;
    EXPECT_EQ(check(2, 10, 3, 11), no);  // never diagonally
    EXPECT_EQ(check(2, 10, 2, 11), no);
    EXPECT_EQ(table.移動チェック砲取(2, 10, 2, 10), no);
}

TEST_F(MoveCheck, CavalryReachesTwentyRingSquaresOnAnOpenBoard) {
    board[5][5] = 54;
    const auto squares = reach(5, 5);
    EXPECT_EQ(squares.size(), 20u);
    for (const auto& [x, y] : squares) {
        const int adx = std::abs(x - 5), ady = std::abs(y - 5);
        EXPECT_EQ(std::max(adx, ady), 4);
        EXPECT_GE(std::min(adx, ady), 2);
    }
}

TEST_F(MoveCheck, CavalryNeedsAnEmptyFirstStepAndAClearSlide) {
    board[10][5] = 54;
    EXPECT_EQ(check(10, 5, 14, 7), yes);
    EXPECT_EQ(check(10, 5, 14, 5), no);
    EXPECT_EQ(check(10, 5, 14, 6), no);
    board[12][5] = 31;
    EXPECT_EQ(check(10, 5, 14, 7), no);
    board[12][5] = Table::emptyCode;
    board[11][4] = 31;
    EXPECT_EQ(check(10, 5, 14, 7), no);
    board[11][4] = Table::emptyCode;
    board[14][7] = 31;  // the prey itself does not block
    EXPECT_EQ(check(10, 5, 14, 7), yes);
    // Boxed in: every neighbour taken.
    for (int x = 9; x <= 11; ++x)
        for (int y = 4; y <= 6; ++y)
            if (x != 10 || y != 5) board[x][y] = 52;
    EXPECT_TRUE(reach(10, 5).empty());
}

TEST_F(MoveCheck, CavalryAtTheEdgeOnlyUsesNeighboursOnTheBoard) {
    board[1][1] = 54;
    EXPECT_EQ(reach(1, 1), (std::set<std::pair<int, int>>{{5, 4}, {5, 5}, {4, 5}}));
}

}  // namespace
