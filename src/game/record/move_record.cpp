// The record of every position of the game: each move, drop-out and pass
// kept with the position it leaves.
#include <array>
#include <cstddef>
#include <cstdint>

#include "table/Table.h"

namespace daro {

namespace {

bool isSeat(int seat) { return seat >= 1 && seat <= Codes::seatCount; }

RecordEntry& entryShown(Table& f) {
    if (f.moveRecord.size() < static_cast<std::size_t>(f.moveNumber) + 1)
        f.moveRecord.resize(static_cast<std::size_t>(f.moveNumber) + 1);
    return f.moveRecord[static_cast<std::size_t>(f.moveNumber)];
}

}  // namespace

void Table::手順保存(int n) {
    if (n < 0) return;
    // The record grows with the game, so no position is ever lost.
    if (moveRecord.size() < static_cast<std::size_t>(n) + 1) moveRecord.resize(static_cast<std::size_t>(n) + 1);
    RecordEntry& entry = moveRecord[static_cast<std::size_t>(n)];
    entry.setBoard(board);
    entry.setCounters(capturedCount, kingsCapturedCount);
    entry.after.clear();
    entry.seatToMove = 0;
    entry.move = n > 0 ? lastMove : RecordEvent{};
    // Whoever made this move was the one to move from the position before.
    if (n > 0 && isSeat(entry.move.seat)) moveRecord[static_cast<std::size_t>(n) - 1].seatToMove = entry.move.seat;
}

void Table::recordOut(int seat) {
    RecordEntry& entry = entryShown(*this);
    entry.setBoard(board);
    entry.after.push_back({EventKind::Out, static_cast<std::uint8_t>(seat)});
    // Play goes on from here: what was stepped back over is gone.
    recordEnd = moveNumber;
}

void Table::recordPass(int seat) {
    RecordEntry& entry = entryShown(*this);
    entry.after.push_back({EventKind::Pass, static_cast<std::uint8_t>(seat)});
    recordEnd = moveNumber;
}

// A drop-out frees squares, so only the passes since the last change count.
bool Table::wholeRoundPassed() const {
    if (static_cast<std::size_t>(moveNumber) >= moveRecord.size()) return false;
    const RecordEntry& entry = moveRecord[static_cast<std::size_t>(moveNumber)];
    std::array<bool, 8> passed{};
    for (auto it = entry.after.rbegin(); it != entry.after.rend() && it->kind == EventKind::Pass; ++it)
        if (isSeat(it->seat)) passed[it->seat] = true;
    bool anyone = false;
    for (int s = 1; s <= seatCount; ++s) {
        if (調査_駒数(s) == 0) continue;
        if (!passed[static_cast<std::size_t>(s)]) return false;
        anyone = true;
    }
    return anyone;
}

}  // namespace daro
