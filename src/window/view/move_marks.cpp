// What the board tells beyond the classic screen: the moves since the
// human's last move (手の表示) and a king another kingdom can take (王手).
// With both options off nothing here draws.
#include <algorithm>

#include "Form1.h"

namespace daro {

namespace {

// A mark is a badge at the top left corner of the piece that moved: a fill
// near that kingdom's colour, framed in the number's colour, and the number
// in black or white, whichever stands out from the fill (4.5:1 or more). By
// seat. The badge, not the piece, is what the number is read against: 魏's
// green shades across the point where black and white read alike.
struct MarkColours {
    int fill, number;
};
constexpr std::array<MarkColours, 8> kMarkColours = {{
    {0, 15},
    {15, 0},   // 秦: white pieces
    {4, 15},   // 楚: red
    {13, 0},   // 韓: pink
    {1, 15},   // 斉: blue
    {10, 0},   // 魏: green
    {5, 15},   // 趙: purple
    {0, 15},   // 燕: black
}};
constexpr int kDangerColour = 12;
constexpr int kCaptureFill = 4;
constexpr int kLastMoveColour = 14;
// Twips: the danger frame lies just inside the grid; the frame of the
// latest computer move further in, so the guide's white outline on the
// grid never looks like it.
constexpr int kDangerInset = 15;
constexpr int kLastMoveInset = 30;
// The badges: two logical pixels in from the corner, 14 pixels high; the
// number 8 points. The capture's badge at the bottom right corner.
constexpr int kBadgeInset = 30;
constexpr int kBadgeHeight = 210;
constexpr int kBadgeDigitWidth = 105;
constexpr double kBadgeTextSize = 8;
constexpr int kCaptureHeight = 165;
constexpr int kCaptureWidth = 300;
constexpr double kCaptureTextSize = 6.5;
// A mark list longer than a few rounds means no human has moved for long.
constexpr int kMostMarks = 48;

bool isSeat(int seat) { return seat >= 1 && seat <= Codes::seatCount; }

}  // namespace

int Form1::viewingHuman() const {
    if (gameStarted == valueNo || !isSeat(turnSeat)) return 0;
    for (int i = 0; i < seatCount; ++i) {
        const int seat = (turnSeat - 1 + i) % seatCount + 1;
        if (seatPlayer[seat] == playerHuman && table.調査_駒数(seat) > 0) return seat;
    }
    return 0;
}

std::vector<Form1::MoveMark> Form1::movesSinceHumanTurn() const {
    std::vector<MoveMark> marks;
    const int viewer = viewingHuman();
    if (viewer == 0) return marks;
    const int last = std::min(moveNumber, static_cast<int>(moveRecord.size()) - 1);
    for (int n = last; n >= 1 && static_cast<int>(marks.size()) < kMostMarks; --n) {
        const RecordEvent& m = moveRecord[static_cast<std::size_t>(n)].move;
        if (m.kind != EventKind::Move) continue;
        if (m.seat == viewer) break;
        marks.push_back({m.toX, m.toY, m.seat, 0, m.captured});
    }
    std::reverse(marks.begin(), marks.end());
    for (std::size_t i = 0; i < marks.size(); ++i) marks[i].number = static_cast<int>(i) + 1;
    return marks;
}

void Form1::repaintSquare(int x, int y) {
    if (!onBoard(x, y)) return;
    描画_絵(board[x][y], x, y);
    描画_桝輪郭(outlineColor, x, y);
}

void Form1::描画_経過() {
    for (auto [x, y] : markedSquares_) repaintSquare(x, y);
    markedSquares_.clear();
    if (dangerShown_) {
        repaintSquare(dangerSquare_.first, dangerSquare_.second);
        for (int x = -2; x <= 0; ++x) 描画_絵(backgroundCode, x, 2);
        dangerShown_ = false;
    }
    描画_手の表示();
    描画_王手();
    描画_手番表示();
    showReviewCommand();
}

void Form1::描画_手の表示() {
    if (!window.isChecked("TE_HYOUJI")) return;
    const std::vector<MoveMark> marks = movesSinceHumanTurn();
    // A square moved to twice shows its later mark only.
    for (const MoveMark& m : marks) {
        if (!onBoard(m.x, m.y)) continue;
        repaintSquare(m.x, m.y);
        markedSquares_.emplace_back(m.x, m.y);
    }
    // The latest computer move is framed apart from the guide's outline.
    const auto n = static_cast<std::size_t>(moveNumber);
    if (!marks.empty() && n < moveRecord.size() && recordNavigated == valueNo) {
        const RecordEvent& latest = moveRecord[n].move;
        if (latest.kind == EventKind::Move && isSeat(latest.seat) && seatPlayer[latest.seat] == playerComputer) {
            const double left = twipsX(latest.toX), top = twipsY(latest.toY);
            for (int inset : {kLastMoveInset, kLastMoveInset + 15})
                window.drawRectangle(left + inset, top + inset, left + cellWidth - inset, top + cellHeight - inset,
                                     kLastMoveColour);
        }
    }
    for (const MoveMark& m : marks) {
        if (!onBoard(m.x, m.y)) continue;
        const MarkColours colours = kMarkColours[static_cast<std::size_t>(m.seat)];
        const std::string number = std::to_string(m.number);
        const double left = twipsX(m.x) + kBadgeInset, top = twipsY(m.y) + kBadgeInset;
        const double right = left + kBadgeDigitWidth * (static_cast<double>(number.size()) + 0.4);
        window.fillRectangle(left, top, right, top + kBadgeHeight, colours.fill);
        window.drawRectangle(left, top, right, top + kBadgeHeight, colours.number);
        window.printText(left + 30, top + 15, number, kBadgeTextSize, true, colours.number);
        if (m.captured == emptyCode) continue;
        const double cr = twipsX(m.x) + cellWidth - kBadgeInset, cb = twipsY(m.y) + cellHeight - kBadgeInset;
        window.fillRectangle(cr - kCaptureWidth, cb - kCaptureHeight, cr, cb, kCaptureFill);
        window.printText(cr - kCaptureWidth + 15, cb - kCaptureHeight, std::string("×") + Codes::kindName(m.captured),
                         kCaptureTextSize, true, colorWhite);
    }
}

void Form1::描画_王手() {
    if (!window.isChecked("OUTE")) return;
    const int viewer = viewingHuman();
    int kx = 0, ky = 0;
    if (viewer == 0 || !table.kingSquare(viewer, kx, ky) || !table.kingCanBeTaken(viewer)) return;
    dangerShown_ = true;
    dangerSquare_ = {kx, ky};
    const double left = twipsX(kx), top = twipsY(ky);
    for (int inset : {kDangerInset, kDangerInset + 15})
        window.drawRectangle(left + inset, top + inset, left + cellWidth - inset, top + cellHeight - inset,
                             kDangerColour);
    描画_数値(-1.6, 2.3, std::string("王手"), colorBlack, 0, 14);
    描画_数値(-1.7, 2.2, std::string("王手"), kDangerColour, 0, 14);
}

}  // namespace daro

namespace daro {

void Form1::TE_HYOUJI_Click() {
    window.setChecked("TE_HYOUJI", !window.isChecked("TE_HYOUJI"));
    描画_経過();
}

void Form1::OUTE_Click() {
    window.setChecked("OUTE", !window.isChecked("OUTE"));
    描画_経過();
}

namespace {

void choosePace(Form1& f, const char* chosen) {
    for (const char* pace : {"HAYASA_HYOUJUN", "HAYASA_HAYAI", "HAYASA_SAISOKU"})
        f.window.setChecked(pace, std::string(pace) == chosen);
}

}  // namespace

void Form1::HAYASA_HYOUJUN_Click() { choosePace(*this, "HAYASA_HYOUJUN"); }
void Form1::HAYASA_HAYAI_Click() { choosePace(*this, "HAYASA_HAYAI"); }
void Form1::HAYASA_SAISOKU_Click() { choosePace(*this, "HAYASA_SAISOKU"); }

void Form1::KOUKAON_NASHI_Click() {
    window.setChecked(Module1::effectsOffControl, !window.isChecked(Module1::effectsOffControl));
}

void Form1::TEBAN_OTO_Click() { window.setChecked("TEBAN_OTO", !window.isChecked("TEBAN_OTO")); }

}  // namespace daro
