// The texts and icons around the board: coordinate labels, move number,
// level, capture counts and the icon of the seat to move.
#include <charconv>

#include "Form1.h"

namespace daro {

namespace {

// The kanji numeral of 1..19; empty for any other number.
std::string kanjiNumeral(int value) {
    static constexpr std::array<const char*, 10> digits = {"", "一", "二", "三", "四",
                                                           "五", "六", "七", "八", "九"};
    if (value < 1 || value > 19) return {};
    if (value < 10) return digits[value];
    return std::string("十") + digits[value - 10];
}

struct CaptureLine {
    int seat;
    const char* label;
    double xl, yl, xk;
};

// One line per kingdom, near its home edge.
constexpr std::array<CaptureLine, 7> kCaptureLines = {{
    {1, "秦 取駒(王) ", -1.9, 9.5, -0.2},
    {2, "楚 取駒(王) ", -1.9, 16.5, -0.2},
    {3, "韓 取駒(王) ", 21.7, 17.5, 23.1},
    {4, "斉 取駒(王) ", 21.7, 13.5, 23.1},
    {5, "魏 取駒(王) ", 21.7, 7.5, 23.1},
    {6, "趙 取駒(王) ", 21.7, 3.5, 23.1},
    {7, "燕 取駒(王) ", -1.9, 3.5, -0.2},
}};

constexpr int kTextMode = 0;
constexpr int kNumeralMode = 1;

}  // namespace

void Form1::描画_数値(double x, double y, const std::string& text, int color, int mode, double size) {
    if (mode == kTextMode) {
        window.printText(twipsX(x), twipsY(y), text, size, fontBold, color);
        return;
    }
    // A numeral wants a whole number; anything else prints nothing.
    int value = 0;
    const char* end = text.data() + text.size();
    auto [rest, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || rest != end) return;
    描画_数値(x, y, value, color, mode, size);
}

void Form1::描画_数値(double x, double y, int value, int color, int mode, double size) {
    const std::string text = mode == kTextMode ? std::to_string(value) : kanjiNumeral(value);
    if (text.empty()) return;
    window.printText(twipsX(x), twipsY(y), text, size, fontBold, color);
}

void Form1::描画_文字列(double x, double y, int stringCode, int color, double size) {
    if (stringCode != moveSuffixStringCode) return;
    window.printText(twipsX(x) + 120, twipsY(y) + 160, "手目", size, fontBold, color);
}

void Form1::描画_手数(int n, int /*secondValue*/) {
    // Callers clear the cells of row 0; the digits also reach into the row
    // below, and four of them into the cell left of those. Both are cleared
    // here, so a longer number leaves nothing behind after 戻.
    描画_絵(backgroundCode, -3, 0);
    for (int x = -3; x <= 0; ++x) 描画_絵(backgroundCode, x, 1);
    // Wider numbers start further left so that they end before "手目".
    double blackX = -1.2, whiteX = -1.3;
    double size = 12;
    if (n >= 10000) {
        // Five digits and more shrink into the room of four, clear of "手目".
        blackX = -2.1;
        whiteX = -2.2;
        size = 12.0 * 4 / static_cast<double>(std::to_string(n).size());
    } else if (n >= 1000) {
        blackX = -2.1;
        whiteX = -2.2;
    } else if (n >= 100) {
        blackX = -1.8;
        whiteX = -1.9;
    } else if (n >= 10) {
        blackX = -1.6;
        whiteX = -1.7;
    }
    描画_数値(blackX, 0.6, n, colorBlack, kTextMode, size);
    描画_数値(whiteX, 0.5, n, colorWhite, kTextMode, size);
    描画_文字列(-0.9, 0.3, moveSuffixStringCode, colorBlack, 10);
    描画_文字列(-1, 0.2, moveSuffixStringCode, colorWhite, 10);
}

void Form1::描画_レベル(int level) {
    // The level digit keeps the blank that classic BASIC prints in place of
    // a plus sign; without it "LEVEL" runs into the digit.
    const std::string value = (level >= 0 ? " " : "") + std::to_string(level);
    描画_数値(-1.3, 0, "LEVEL", colorBlack, kTextMode, 10);
    描画_数値(-1.4, -0.1, "LEVEL", colorWhite, kTextMode, 10);
    描画_数値(0, 0, value, colorBlack, kTextMode, 12);
    描画_数値(-0.1, -0.1, value, colorWhite, kTextMode, 12);
}

void Form1::描画_アイコン(int seat, bool shown) {
    if (!window.isChecked("AICON")) return;
    if (seat < 1 || seat > seatCount) return;
    const std::string icon = iconControlName(seat, seatPlayer[seat]);
    if (icon.empty()) return;
    window.setIconVisible(icon, shown);
}

void Form1::描画_持ち駒数(int pictureCode) {
    static constexpr std::array<int, 6> leftRows = {9, 10, 16, 17, 3, 4};
    static constexpr std::array<int, 8> rightRows = {17, 18, 13, 14, 7, 8, 3, 4};
    for (int x = -2; x <= 0; ++x)
        for (int y : leftRows) 描画_絵(pictureCode, x, y);
    for (int x = 21; x <= 24; ++x)
        for (int y : rightRows) 描画_絵(pictureCode, x, y);

    if (!window.isChecked("mochikoma")) return;

    for (const CaptureLine& line : kCaptureLines) {
        const int block = blockOfSeat(line.seat);
        描画_数値(line.xl + 0.1, line.yl + 0.1, line.label, colorBlack, kTextMode, 11);
        描画_数値(line.xl, line.yl, line.label, colorWhite, kTextMode, 11);
        描画_数値(line.xl + 0.1, line.yl + 0.9, capturedCount[block], colorBlack, kTextMode, 13);
        描画_数値(line.xl, line.yl + 0.8, capturedCount[block], colorWhite, kTextMode, 13);
        描画_数値(line.xk + 0.1, line.yl + 0.9, kingsCapturedCount[block], colorBlack, kTextMode, 13);
        描画_数値(line.xk, line.yl + 0.8, kingsCapturedCount[block], colorWhite, kTextMode, 13);
    }
    描画_桝_数値();
}

void Form1::描画_桝_数値() {
    fontBold = true;
    for (int a = 1; a <= boardSize; ++a) {
        // Columns run 19 at the left down to 1; two digits need more room.
        描画_絵(backgroundCode, a, 0);
        const bool twoDigits = a <= 10;
        描画_数値(twoDigits ? a - 0.1 : a + 0.2, 0.2, 20 - a, colorBlack, kTextMode, 16);
        描画_数値(twoDigits ? a - 0.2 : a + 0.1, 0.1, 20 - a, colorLightYellow, kTextMode, 16);

        描画_絵(backgroundCode, 20, a);
        // 十一 and on reach into the next column. Where no capture count
        // shares that cell it is cleared as well: a label printed again over
        // itself would darken its antialiased edges with every move.
        if (a == 11 || a == 12 || a == 15 || a == 16 || a == 19) 描画_絵(backgroundCode, 21, a);
        描画_数値(20.3, a + 0.4, a, colorBlack, kNumeralMode, 12);
        描画_数値(20.2, a + 0.3, a, colorLightYellow, kNumeralMode, 12);
    }
}

}  // namespace daro
