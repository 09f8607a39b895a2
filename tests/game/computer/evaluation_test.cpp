#include <gtest/gtest.h>

#include "TableFixture.h"

namespace daro::test {
namespace {

class Evaluation : public TableFixture {
protected:
    // Influence at one square: all pieces, and those of one block.
    void reach(int x, int y, int total, int block, int own) {
        table.influenceTotal[x][y] = total;
        table.kingdomInfluence[block][x][y] = own;
    }
};

TEST_F(Evaluation, MoveScoreIsTheCentreBandsUnlessTheMoveStepsAway) {
    EXPECT_EQ(Table::評価_移動得点(10, 2, 10, 3), 3 + 1);
    EXPECT_EQ(Table::評価_移動得点(12, 10, 11, 10), 3 + 3);
    EXPECT_EQ(Table::評価_移動得点(4, 4, 5, 5), 2 + 2);
    EXPECT_EQ(Table::評価_移動得点(19, 19, 16, 12), 1 + 2);
    // Same distance on the other side of the centre is no step away.
    EXPECT_EQ(Table::評価_移動得点(8, 9, 12, 11), 2 + 3);
    EXPECT_EQ(Table::評価_移動得点(9, 2, 8, 9), 0);
    EXPECT_EQ(Table::評価_移動得点(10, 10, 11, 10), 0);
    EXPECT_EQ(Table::評価_移動得点(11, 12, 10, 13), 0);
}

TEST_F(Evaluation, WorkedFiguresAreExactInTenths) {
    // Block 4 moves (10,2) -> (10,3); only its own pieces reach the target.
    reach(10, 3, 1, 4, 1);
    EXPECT_EQ(table.評価_盤(Table::emptyCode, 42, 10, 2, 10, 3), 4);
    reach(10, 3, 2, 4, 1);
    EXPECT_EQ(table.評価_盤(Table::emptyCode, 42, 10, 2, 10, 3), -6);

    // A KEN of block 5 takes a HEN on (7,9): two other kingdoms and four own pieces reach it.
    reach(7, 9, 6, 5, 4);
    EXPECT_EQ(table.評価_盤(17, 52, 7, 8, 7, 9), 205);

    // A king taken by a move away from the centre: 50 and the influence terms.
    reach(2, 2, 1, 5, 1);
    EXPECT_EQ(table.評価_盤(19, 52, 3, 3, 2, 2), 500);
}

TEST_F(Evaluation, CaptureBonusComparesKindDigitsAndKnowsEveryKing) {
    reach(5, 5, 1, 5, 1);
    const Score base = table.評価_盤(Table::emptyCode, 52, 4, 5, 5, 5);
    EXPECT_EQ(table.評価_盤(17, 52, 4, 5, 5, 5), base + 200);  // HEN over KEN
    EXPECT_EQ(table.評価_盤(42, 52, 4, 5, 5, 5), base);        // same kind
    EXPECT_EQ(table.評価_盤(61, 52, 4, 5, 5, 5), base);        // lesser kind
    EXPECT_EQ(table.評価_盤(38, 58, 4, 5, 5, 5), base);        // HII for HII
    for (int king : {19, 29, 39, 49, 69, 79}) {
        EXPECT_EQ(table.評価_盤(king, 52, 4, 5, 5, 5), base + 500) << king;
        EXPECT_EQ(table.評価_盤(king, 59, 4, 5, 5, 5), base + 500) << king;
    }
}

TEST_F(Evaluation, InfluenceTermsOnlyCaptureGetsTheQuietAndDefendedBonus) {
    // Many enemies: the penalty is taken once.
    reach(6, 6, 9, 1, 1);
    EXPECT_EQ(table.評価_盤(Table::emptyCode, 12, 5, 5, 6, 6), 4 - 10);
    // Nobody reaches the square: +10 for a capture only.
    reach(6, 6, 0, 1, 0);
    EXPECT_EQ(table.評価_盤(Table::emptyCode, 12, 5, 5, 6, 6), 4);
    EXPECT_EQ(table.評価_盤(41, 12, 5, 5, 6, 6), 4 + 100);
    // Three own pieces reach it: +1 for a capture only; two are not enough.
    reach(6, 6, 3, 1, 3);
    EXPECT_EQ(table.評価_盤(Table::emptyCode, 12, 5, 5, 6, 6), 4);
    EXPECT_EQ(table.評価_盤(41, 12, 5, 5, 6, 6), 4 + 10);
    reach(6, 6, 2, 1, 2);
    EXPECT_EQ(table.評価_盤(41, 12, 5, 5, 6, 6), 4);
}

TEST_F(Evaluation, TheMoversKingdomMapIsTheOneCompared) {
    // Only block 7 reaches the square: no enemy for block 7, two for block 6.
    reach(8, 8, 2, 7, 2);
    EXPECT_EQ(table.評価_盤(Table::emptyCode, 75, 7, 7, 8, 8), 4);
    EXPECT_EQ(table.評価_盤(Table::emptyCode, 65, 7, 7, 8, 8), 4 - 10);
    // A code above every king belongs to no kingdom: no influence terms.
    EXPECT_EQ(table.評価_盤(Table::emptyCode, Table::centreCode, 7, 7, 8, 8), 4);
}

}  // namespace
}  // namespace daro::test
