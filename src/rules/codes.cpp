// Seats, blocks and piece codes.
#include "rules/Codes.h"

#include <array>

namespace daro {

namespace {
// Seat 1..7 -> block of its piece codes.
constexpr std::array<int, 8> kSeatBlock = {0, 5, 6, 7, 3, 1, 4, 2};
constexpr std::array<const char*, 8> kKingdomName = {"", "秦", "楚", "韓", "斉", "魏", "趙", "燕"};
}  // namespace

int Codes::blockOfSeat(int seat) {
    if (seat < 1 || seat > seatCount) return 0;
    return kSeatBlock[seat];
}

int Codes::seatOfBlock(int block) {
    for (int seat = 1; seat <= seatCount; ++seat)
        if (kSeatBlock[seat] == block) return seat;
    return 0;
}

int Codes::blockOfCode(int code) {
    for (int b = 1; b <= blockCount; ++b)
        if (10 * b <= code && code <= 10 * b + 9) return b;
    return 0;
}

bool Codes::isKingCode(int code) {
    const int b = blockOfCode(code);
    return b != 0 && code == 10 * b + OHU;
}

std::string Codes::kingdomName(int seat) {
    if (seat < 1 || seat > seatCount) return {};
    return kKingdomName[seat];
}

}  // namespace daro
