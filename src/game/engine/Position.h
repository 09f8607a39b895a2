#pragma once
// The LEVEL4 computer's own position: a bordered board for ray walks, a
// piece list per kingdom, the capture counters, and make/unmake.
//
// Squares are numbered y * stride + x with x, y in 0..20; the ring of
// border squares holds `offBoard`, so every walk stops at the edge without
// a bounds test. Kingdoms are numbered by block (1..7) as in the piece codes.
#include <array>
#include <cstdint>
#include <vector>

#include "rules/Codes.h"

namespace daro::engine {

constexpr int stride = 21;
constexpr int squareCount = stride * stride;
constexpr int blockCount = 7;
constexpr int seatCount = 7;
constexpr int maxPieces = 17;

constexpr std::int8_t empty = 0;
constexpr std::int8_t centre = 80;
constexpr std::int8_t offBoard = 127;

// Piece kinds: the units digit of a code.
enum Kind { GYO = 0, TOU, KEN, DOU, KIB, KYU, HOU, HEN, HII, OHU };

// Twenty rows of twenty entries, indexed [x][y] with 1..19: the game's board.
using GameBoard = std::array<std::array<int, 20>, 20>;

constexpr int square(int x, int y) { return y * stride + x; }
constexpr int fileOf(int sq) { return sq % stride; }
constexpr int rankOf(int sq) { return sq / stride; }
constexpr int blockOf(int code) { return code >= 10 && code <= 79 ? code / 10 : 0; }
constexpr int kindOf(int code) { return code % 10; }
constexpr int kingOf(int block) { return 10 * block + OHU; }

// Seat (turn order) <-> block (code tens digit): the game's own tables.
inline constexpr const std::array<int, 8>& blockOfSeat = Codes::seatBlocks;
inline constexpr const std::array<int, 8>& seatOfBlock = Codes::blockSeats;

struct Move {
    std::int16_t from = 0, to = 0;
    std::int8_t piece = 0, captured = 0;
    bool operator==(const Move&) const = default;
};

// A kingdom leaves the game with no king, or with this many pieces or fewer
// when the computer looks at it.
constexpr int dropOutPieceCount = 10;

class Position {
public:
    Position() = default;
    // From the game's board and counters (by block), with `seat` to move.
    Position(const GameBoard& board, const std::array<int, 8>& captured,
             const std::array<int, 8>& kingsCaptured, int seat);

    std::int8_t at(int sq) const { return cells_[sq]; }
    int seatToMove() const { return seat_; }
    void setSeatToMove(int seat) { seat_ = seat; }
    int pieceCount(int block) const { return count_[block]; }
    int pieceSquare(int block, int i) const { return squares_[block][i]; }
    int kingSquare(int block) const;  // 0 when the king is gone
    int captured(int block) const { return captured_[block]; }
    int kingsCaptured(int block) const { return kings_[block]; }
    bool hasWon(int block) const;

    // Every move the game's move check accepts for `block`, appended to `out`.
    void generate(int block, std::vector<Move>& out) const;
    // The same, captures only.
    void generateCaptures(int block, std::vector<Move>& out) const;
    // How many moves `block` has, and how many of them take each kind of
    // piece: what an evaluation counts, without the list.
    struct MoveTally {
        int moves = 0;
        std::array<int, 10> takes{};
    };
    void tallyMoves(int block, MoveTally& out) const;

    void make(const Move& m);
    void unmake(const Move& m);

    // Takes a kingdom's pieces off the board (a drop-out) and puts them back.
    // The pieces are kept in `saved` for the way back.
    void removeKingdom(int block, std::vector<int>& saved);
    void restoreKingdom(int block, const std::vector<int>& saved);

    // Could a piece of another kingdom, or the centre piece, move to `sq` if
    // it were empty? The game's test of a king's new square.
    bool reachedByOthers(int sq, int block) const;
    // Could a piece of another kingdom capture what stands on `sq` now?
    bool capturableByOthers(int sq, int block) const;
    // The same for many squares of one kingdom: the other kingdoms' cavalry
    // is listed once (`otherCavalry` fills `squares`, returns how many).
    using SquareList = std::array<std::int16_t, blockCount * maxPieces>;
    int otherCavalry(int block, SquareList& squares) const;
    // Only the cavalry that could reach a square within `margin` steps of
    // one of `block`'s pieces: the rest cannot answer a question about them.
    int otherCavalryNear(int block, int margin, SquareList& squares) const;
    bool capturableByOthers(int sq, int block, const SquareList& cavalry, int cavalryCount) const;
    bool reachedByOthers(int sq, int block, const SquareList& cavalry, int cavalryCount) const;
    // Influence as the game's survey counts it: per square, how many pieces
    // (and the centre piece, in `total` only) could move there if it were empty.
    void influence(std::array<std::uint8_t, squareCount>& total,
                   std::array<std::array<std::uint8_t, squareCount>, 8>& byBlock) const;

    std::uint64_t hash() const { return hash_; }
    bool operator==(const Position& o) const;

private:
    void place(int sq, int code);
    void lift(int sq);
    template <bool capturesOnly>
    void generateFor(int block, std::vector<Move>& out) const;
    template <bool capturesOnly, class Add>
    void walkMoves(int block, Add&& add) const;
    template <class Visit>
    void reachOf(int sq, int code, Visit&& visit) const;
    bool cavalryReaches(int from, int to) const;
    bool cavalryReachesAny(int sq, const SquareList& cavalry, int cavalryCount) const;
    bool reachedAlongLines(int sq, int block) const;
    bool takenAlongLines(int sq, int block) const;

    std::array<std::int8_t, squareCount> cells_{};
    std::array<std::array<std::int16_t, maxPieces>, 8> squares_{};
    std::array<std::int8_t, 8> count_{};
    std::array<std::int8_t, squareCount> slot_{};
    std::array<int, 8> captured_{};
    std::array<int, 8> kings_{};
    int seat_ = 1;
    std::uint64_t hash_ = 0;
    std::vector<std::int8_t> liftedSlots_;  // list slots of captured pieces, for unmake
};

}  // namespace daro::engine
