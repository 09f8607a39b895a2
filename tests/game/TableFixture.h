#pragma once
// A table of its own for the rules: the game alone, no window.

#include <gtest/gtest.h>

#include "table/Table.h"

namespace daro::test {

class TableFixture : public ::testing::Test {
public:
    Table table;
    Board& board = table.board;
    std::array<int, 8>& capturedCount = table.capturedCount;
    std::array<int, 8>& kingsCapturedCount = table.kingsCapturedCount;

    void clearBoard() {
        for (auto& column : board) column.fill(Table::emptyCode);
        board[10][10] = Table::centreCode;
    }
};

}  // namespace daro::test
