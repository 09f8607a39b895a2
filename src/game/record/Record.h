#pragma once
// One entry of the move record: the position after a move and what comparing
// two positions cannot give back (capture counters, seat to move, the event).
// Squares and counters are kept as bytes: an entry is about 410 bytes, and
// its drop-outs and passes two bytes each.

#include <array>
#include <cstdint>
#include <vector>

namespace daro {

using Board = std::array<std::array<int, 20>, 20>;

enum class EventKind : std::uint8_t { None, Move, Out, Pass };

// A move with its mover, squares, piece and captured code; an out or a pass
// needs the seat only.
struct RecordEvent {
    EventKind kind = EventKind::None;
    std::uint8_t seat = 0;
    std::uint8_t fromX = 0, fromY = 0, toX = 0, toY = 0;
    std::uint8_t piece = 0, captured = 0;

    bool operator==(const RecordEvent&) const = default;
};

// A drop-out or a pass, in two bytes.
struct RecordStep {
    EventKind kind = EventKind::None;
    std::uint8_t seat = 0;

    bool operator==(const RecordStep&) const = default;
};

class RecordEntry {
public:
    static constexpr int side = 19;

    // The move that led here; None for the opening entry.
    RecordEvent move;
    // Drop-outs and passes after the move, in the order they happened. The
    // squares already show the drop-outs.
    std::vector<RecordStep> after;
    // The seat to move from this position; 0 while none is known.
    std::uint8_t seatToMove = 0;

    int square(int x, int y) const { return squares_[static_cast<std::size_t>((x - 1) * side + (y - 1))]; }
    Board board() const {
        Board b{};
        for (int x = 1; x <= side; ++x)
            for (int y = 1; y <= side; ++y) b[x][y] = square(x, y);
        return b;
    }
    void setBoard(const Board& b) {
        for (int x = 1; x <= side; ++x)
            for (int y = 1; y <= side; ++y)
                squares_[static_cast<std::size_t>((x - 1) * side + (y - 1))] = static_cast<std::uint8_t>(b[x][y]);
    }

    // Counters by block 1..7; index 0 unused, as in the game's own arrays.
    std::array<int, 8> capturedCount() const { return widen(captured_); }
    std::array<int, 8> kingsCapturedCount() const { return widen(kings_); }
    void setCounters(const std::array<int, 8>& captured, const std::array<int, 8>& kings) {
        for (int b = 1; b <= 7; ++b) {
            captured_[static_cast<std::size_t>(b - 1)] = narrow(captured[static_cast<std::size_t>(b)]);
            kings_[static_cast<std::size_t>(b - 1)] = narrow(kings[static_cast<std::size_t>(b)]);
        }
    }

    bool operator==(const RecordEntry&) const = default;

private:
    // Captures are counted by a kingdom out of 119 pieces, so a byte holds them.
    static std::uint8_t narrow(int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }
    static std::array<int, 8> widen(const std::array<std::uint8_t, 7>& a) {
        std::array<int, 8> out{};
        for (std::size_t b = 1; b <= 7; ++b) out[b] = a[b - 1];
        return out;
    }

    std::array<std::uint8_t, side * side> squares_{};
    std::array<std::uint8_t, 7> captured_{};
    std::array<std::uint8_t, 7> kings_{};
};

}  // namespace daro
