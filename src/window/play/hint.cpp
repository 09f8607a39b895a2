// ヒント: what LEVEL5 would play for the human to move, shown and not played.
// The search runs where the computer's does (a thread of its own in the
// window), so the board answers meanwhile; a move, Esc or another position
// drops it.
#include "Form1.h"

namespace daro {

namespace {
// Light cyan, further in than the danger frame (15) and the latest
// computer move's yellow frame (30): neither of those, nor the guide's
// outline on the grid.
constexpr int kHintColour = 11;
constexpr int kHintInsets[] = {60, 75, 90};
}  // namespace

bool Form1::hintWanted() const { return hintPending_ || !hintSquares_.empty(); }

void Form1::clearHint() {
    // A search still running answers into nothing.
    ++hintAsked_;
    hintPending_ = false;
    for (const auto& [x, y] : hintSquares_) repaintSquare(x, y);
    hintSquares_.clear();
}

void Form1::dropHint() {
    if (!hintWanted()) return;
    clearHint();
    描画_経過();
    // A piece picked meanwhile keeps its outlines.
    if (clickPhase == 1) {
        描画_移動可能桝色(moveWork[workSelX], moveWork[workSelY], guideColor, moveWork[workPiece]);
        描画_桝輪郭(selectColor, moveWork[workSelX], moveWork[workSelY]);
    }
    window.refresh();
}

void Form1::HINT_Click() {
    if (gameStarted == valueNo || busy() || reviewingRemote()) return;
    // A server's table gives hints only when it was created so.
    if (remote() && !remoteHints) {
        window.messageBox("この卓ではヒントは使えません", "ヒント", BoxButtons::Ok, BoxIcon::None);
        return;
    }
    const std::optional<SearchRequest> request = table.hintRequest();
    if (!request || (remote() && request->seat != remoteSeat)) return;
    dropHint();
    const int asked = ++hintAsked_;
    hintPending_ = true;
    searcher.think(*request, [this, asked, board = request->board, seat = request->seat, at = moveNumber](
                                 std::optional<ChosenMove> move) {
        if (asked != hintAsked_) return;
        hintPending_ = false;
        // The position it was asked for, still waiting for the same human.
        const bool same = table.next() == Step{StepKind::human, seat} && moveNumber == at && board == table.board;
        if (move && same) showHint(*move);
    });
}

void Form1::showHint(const ChosenMove& move) {
    for (const auto& [x, y] : {std::pair{move.fromX, move.fromY}, std::pair{move.toX, move.toY}}) {
        if (!onBoard(x, y)) continue;
        const double left = twipsX(x), top = twipsY(y);
        for (int inset : kHintInsets)
            window.drawRectangle(left + inset, top + inset, left + cellWidth - inset, top + cellHeight - inset,
                                 kHintColour);
        hintSquares_.emplace_back(x, y);
    }
    window.refresh();
}

}  // namespace daro
