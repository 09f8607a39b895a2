#include <gtest/gtest.h>

#include "Form1.h"

using daro::Form1;

TEST(Codes, SeatsAndBlocksMapBothWays) {
    const int blocks[] = {0, 5, 6, 7, 3, 1, 4, 2};
    for (int seat = 1; seat <= 7; ++seat) {
        EXPECT_EQ(Form1::blockOfSeat(seat), blocks[seat]);
        EXPECT_EQ(Form1::seatOfBlock(blocks[seat]), seat);
    }
    EXPECT_EQ(Form1::blockOfSeat(Form1::noSeat), 0);
    EXPECT_EQ(Form1::blockOfSeat(8), 0);
}

TEST(Codes, BlockOfCodeCoversExactlyTheSeventyPieceCodes) {
    EXPECT_EQ(Form1::blockOfCode(9), 0);
    EXPECT_EQ(Form1::blockOfCode(10), 1);
    EXPECT_EQ(Form1::blockOfCode(79), 7);
    EXPECT_EQ(Form1::blockOfCode(Form1::centreCode), 0);
    EXPECT_TRUE(Form1::isKingCode(59));
    EXPECT_FALSE(Form1::isKingCode(58));
    EXPECT_FALSE(Form1::isKingCode(89));
}
