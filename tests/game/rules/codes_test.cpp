#include <gtest/gtest.h>

#include "rules/Codes.h"

using daro::Codes;

TEST(Codes, SeatsAndBlocksMapBothWays) {
    const int blocks[] = {0, 5, 6, 7, 3, 1, 4, 2};
    for (int seat = 1; seat <= 7; ++seat) {
        EXPECT_EQ(Codes::blockOfSeat(seat), blocks[seat]);
        EXPECT_EQ(Codes::seatOfBlock(blocks[seat]), seat);
    }
    EXPECT_EQ(Codes::blockOfSeat(Codes::noSeat), 0);
    EXPECT_EQ(Codes::blockOfSeat(8), 0);
}

TEST(Codes, BlockOfCodeCoversExactlyTheSeventyPieceCodes) {
    EXPECT_EQ(Codes::blockOfCode(9), 0);
    EXPECT_EQ(Codes::blockOfCode(10), 1);
    EXPECT_EQ(Codes::blockOfCode(79), 7);
    EXPECT_EQ(Codes::blockOfCode(Codes::centreCode), 0);
    EXPECT_TRUE(Codes::isKingCode(59));
    EXPECT_FALSE(Codes::isKingCode(58));
    EXPECT_FALSE(Codes::isKingCode(89));
}
