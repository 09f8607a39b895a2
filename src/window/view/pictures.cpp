// Which picture control holds the image of a picture code, and which icon
// control shows a seat's player.
#include "Form1.h"

namespace daro {

namespace {
// Block 1..7 -> control prefix of its pieces and icons.
constexpr std::array<const char*, 8> kBlockPrefix = {"", "GI", "EN", "SAI", "CHO", "SOU", "TEI", "KAN"};
// Kind 0..9 -> control suffix of the piece.
constexpr std::array<const char*, 10> kKindSuffix = {"GYO", "TOU", "KEN", "DOU", "KIB",
                                                      "KYU", "HOU", "HEN", "HII", "OHU"};
}  // namespace

std::string Form1::pictureControlName(int pictureCode) {
    switch (pictureCode) {
    case emptyCode: return "KARA_MASU";
    case titlePictureCode: return "ZTSHOGI";
    case bgCodeMidori: return "HAIKEI_MIDORI";
    case bgCodeTatami: return "HAIKEI_TATAMI";
    case bgCodeTake: return "HAIKEI_TAKE";
    case bgCodeUchu: return "HAIKEI_UCHU";
    case bgCodeRenga: return "HAIKEI_RENGA";
    case centreCode: return "SYU";
    default: break;
    }
    const int block = blockOfCode(pictureCode);
    if (block == 0) return {};
    return std::string(kBlockPrefix[block]) + "_" + kKindSuffix[kindOf(pictureCode)];
}

std::string Form1::iconControlName(int seat, int player) {
    const int block = blockOfSeat(seat);
    if (block == 0) return {};
    if (player == playerHuman) return std::string("ICO_MAN_") + kBlockPrefix[block];
    if (player == playerComputer) return std::string("ICO_COM_") + kBlockPrefix[block];
    return {};
}

}  // namespace daro
