// Seats, blocks and piece codes.
#include "rules/Codes.h"

#include <array>

namespace daro {

namespace {
constexpr std::array<const char*, 8> kKingdomName = {"", "秦", "楚", "韓", "斉", "魏", "趙", "燕"};
}  // namespace

int Codes::blockOfSeat(int seat) {
    if (seat < 1 || seat > seatCount) return 0;
    return seatBlocks[static_cast<std::size_t>(seat)];
}

int Codes::seatOfBlock(int block) {
    if (block < 1 || block > blockCount) return 0;
    return blockSeats[static_cast<std::size_t>(block)];
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
