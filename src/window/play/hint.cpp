// ヒント: what LEVEL5 would play for the human to move, shown and not played.
#include "Form1.h"

namespace daro {

namespace {
constexpr int kHintColour = 14;  // QBColor yellow: apart from the seats' mark colours
constexpr int kHintInset = 30;
}  // namespace

void Form1::clearHint() {
    for (const auto& [x, y] : hintSquares_) repaintSquare(x, y);
    hintSquares_.clear();
}

void Form1::HINT_Click() {
    // A server's game is the server's: its players get no help from here.
    if (remote() || busy() || gameStarted == valueNo) return;
    clearHint();
    const std::optional<ChosenMove> move = table.hint();
    if (!move) return;
    for (const auto& [x, y] : {std::pair{move->fromX, move->fromY}, std::pair{move->toX, move->toY}}) {
        const double left = twipsX(x), top = twipsY(y);
        for (int inset : {kHintInset, kHintInset + 15})
            window.drawRectangle(left + inset, top + inset, left + cellWidth - inset, top + cellHeight - inset,
                                 kHintColour);
        hintSquares_.emplace_back(x, y);
    }
    window.refresh();
}

}  // namespace daro
