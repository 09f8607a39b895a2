// Seats, blocks and piece codes.
#include "rules/Codes.h"

#include <array>

namespace daro {

namespace {
constexpr std::array<const char*, 8> kKingdomName = {"", "秦", "楚", "韓", "斉", "魏", "趙", "燕"};
constexpr std::array<const char*, 10> kKindName = {"行", "刀", "剣", "弩", "騎", "弓", "砲", "偏", "裨", "王"};
constexpr std::array<const char*, 20> kRowLabel = {"",     "一",   "二",   "三",   "四",   "五",   "六",
                                                   "七",   "八",   "九",   "十",   "十一", "十二", "十三",
                                                   "十四", "十五", "十六", "十七", "十八", "十九"};
}  // namespace

const char* Codes::kindName(int code) { return kKindName[static_cast<std::size_t>(kindOf(code))]; }

const char* Codes::rowLabel(int row) {
    return row >= 1 && row <= 19 ? kRowLabel[static_cast<std::size_t>(row)] : "";
}

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
