#pragma once
// The game's numbers: answers, players, piece kinds, the board's size, and
// the small helpers over seats, blocks and piece codes. The table and the
// window share them.

#include <array>
#include <string>

namespace daro {

struct Codes {
    static constexpr int valueYes = 1;
    static constexpr int valueNo = 0;
    static constexpr int playerHuman = 1;
    static constexpr int playerComputer = 2;
    static constexpr int noSeat = -1;
    // What 取得_手番王 answers for a value that is not a seat: equals no code.
    static constexpr int noPieceCode = -1;

    static constexpr int emptyCode = 0;
    static constexpr int centreCode = 80;

    // Piece kinds: the units digit of a piece code.
    static constexpr int GYO = 0;
    static constexpr int TOU = 1;
    static constexpr int KEN = 2;
    static constexpr int DOU = 3;
    static constexpr int KIB = 4;
    static constexpr int KYU = 5;
    static constexpr int HOU = 6;
    static constexpr int HEN = 7;
    static constexpr int HII = 8;
    static constexpr int OHU = 9;

    static constexpr int boardSize = 19;
    static constexpr int seatCount = 7;
    static constexpr int blockCount = 7;

    // Seat (turn order) -> block (the tens digit of its piece codes), and back.
    static constexpr std::array<int, 8> seatBlocks = {0, 5, 6, 7, 3, 1, 4, 2};
    static constexpr std::array<int, 8> blockSeats = [] {
        std::array<int, 8> seats{};
        for (int s = 1; s <= 7; ++s) seats[static_cast<std::size_t>(seatBlocks[static_cast<std::size_t>(s)])] = s;
        return seats;
    }();

    // The order in which the kings' squares are refreshed before a move.
    static constexpr std::array<int, 7> kingRefreshOrder = {19, 59, 29, 69, 39, 79, 49};

    static int blockOfSeat(int seat);   // 0 for a value that is no seat
    static int seatOfBlock(int block);  // 0 for a value that is no block
    static int blockOfCode(int code);   // first block b with 10b <= code <= 10b+9, else 0
    static int kindOf(int code) { return code % 10; }
    static bool isKingCode(int code);
    static std::string kingdomName(int seat);  // "秦" .. "燕"; empty for no seat
    static const char* kindName(int code);     // "行" .. "王", the kind of a piece code
    static const char* rowLabel(int row);      // "一" .. "十九", as beside the board; empty for no row
    static int 取得_手番王(int seat);
};

}  // namespace daro
