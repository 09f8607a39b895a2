// Moves found by walking rays and steps from each piece.
#include "engine/Position.h"

#include <algorithm>
#include <cstdlib>

namespace daro::engine {

namespace {

constexpr int N = -stride, S = stride, E = 1, W = -1;
constexpr std::array<int, 4> orthogonal = {N, S, E, W};
constexpr std::array<int, 4> diagonal = {N + E, N + W, S + E, S + W};
constexpr std::array<int, 8> allDirections = {N, S, E, W, N + E, N + W, S + E, S + W};

// How far a kind slides (0: it does not slide that way).
constexpr int unlimited = 19;
constexpr int orthogonalRange(int kind) {
    switch (kind) {
    case GYO: case OHU: case HII: case HOU: return unlimited;
    case DOU: return 5;
    case KYU: return 4;
    case KEN: return 1;
    default: return 0;
    }
}
constexpr int diagonalRange(int kind) {
    switch (kind) {
    case GYO: case OHU: case HEN: return unlimited;
    case DOU: return 5;
    case KYU: return 4;
    case TOU: return 1;
    default: return 0;
    }
}

// A piece of another kingdom that is not a GYO may be taken; the centre
// piece, the border and a GYO never.
constexpr bool takeable(int code, int block) {
    return code >= 10 && code <= 79 && code % 10 != GYO && code / 10 != block;
}

std::uint64_t mix(std::uint64_t z) {
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
std::uint64_t key(int code, int sq) { return mix(static_cast<std::uint64_t>(code) * squareCount + sq); }

// Column and row of every square, to spare the divisions on hot paths.
struct Coordinates {
    std::array<std::int8_t, squareCount> file{}, rank{};
    constexpr Coordinates() {
        for (int sq = 0; sq < squareCount; ++sq) {
            file[sq] = static_cast<std::int8_t>(sq % stride);
            rank[sq] = static_cast<std::int8_t>(sq / stride);
        }
    }
};
constexpr Coordinates coordinates;

int chebyshev(int a, int b) {
    const int dx = coordinates.file[a] - coordinates.file[b];
    const int dy = coordinates.rank[a] - coordinates.rank[b];
    return std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
}

// For each end of a cavalry move (dx, dy from -4 to 4, one of them +-4):
// the first steps from which a diagonal runs to it, and that diagonal.
struct CavalryPaths {
    struct Path {
        std::int8_t count = 0;
        std::array<std::int16_t, 8> first{}, diagonal{};
    };
    std::array<Path, 81> byEnd{};
    constexpr CavalryPaths() {
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) {
                if (std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy) != 4) continue;
                Path& p = byEnd[static_cast<std::size_t>((dy + 4) * 9 + dx + 4)];
                for (int fy = -1; fy <= 1; ++fy)
                    for (int fx = -1; fx <= 1; ++fx) {
                        const int rx = dx - fx, ry = dy - fy;
                        if ((fx == 0 && fy == 0) || (rx != ry && rx != -ry)) continue;
                        p.first[static_cast<std::size_t>(p.count)] = static_cast<std::int16_t>(fy * stride + fx);
                        p.diagonal[static_cast<std::size_t>(p.count)] =
                            static_cast<std::int16_t>((ry > 0 ? S : N) + (rx > 0 ? E : W));
                        ++p.count;
                    }
            }
    }
};
constexpr CavalryPaths cavalryPaths;

}  // namespace

Position::Position(const GameBoard& board, const std::array<int, 8>& captured,
                   const std::array<int, 8>& kingsCaptured, int seat)
    : captured_(captured), kings_(kingsCaptured), seat_(seat) {
    cells_.fill(offBoard);
    slot_.fill(-1);
    // Board order, x outer and y inner, so the lists start in the game's scan order.
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) {
            cells_[square(x, y)] = empty;
            const int code = board[x][y];
            if (code != empty) place(square(x, y), code);
        }
}

void Position::place(int sq, int code) {
    cells_[sq] = static_cast<std::int8_t>(code);
    hash_ ^= key(code, sq);
    const int b = blockOf(code);
    if (b == 0) return;
    slot_[sq] = count_[b];
    squares_[b][count_[b]++] = static_cast<std::int16_t>(sq);
}

// Off the board: the last piece of the list takes the freed slot.
void Position::lift(int sq) {
    const int code = cells_[sq];
    hash_ ^= key(code, sq);
    cells_[sq] = empty;
    const int b = blockOf(code);
    if (b == 0) return;
    const int s = slot_[sq];
    const int last = --count_[b];
    squares_[b][s] = squares_[b][last];
    slot_[squares_[b][s]] = static_cast<std::int8_t>(s);
    slot_[sq] = -1;
}

int Position::kingSquare(int block) const {
    const int king = kingOf(block);
    for (int i = 0; i < count_[block]; ++i)
        if (cells_[squares_[block][i]] == king) return squares_[block][i];
    return 0;
}

bool Position::hasWon(int block) const {
    const int c = captured_[block], k = kings_[block];
    return k >= 2 || c >= 30 || (c >= 19 && k == 1);
}

void Position::generate(int block, std::vector<Move>& out) const { generateFor<false>(block, out); }
void Position::generateCaptures(int block, std::vector<Move>& out) const { generateFor<true>(block, out); }

template <bool capturesOnly>
void Position::generateFor(int block, std::vector<Move>& out) const {
    walkMoves<capturesOnly>(block, [&](int from, int to, int code) {
        out.push_back({static_cast<std::int16_t>(from), static_cast<std::int16_t>(to),
                       static_cast<std::int8_t>(code), cells_[to]});
    });
}

void Position::tallyMoves(int block, MoveTally& out) const {
    out = MoveTally{};
    walkMoves<false>(block, [&](int, int to, int) {
        ++out.moves;
        const int c = cells_[to];
        if (c != empty) ++out.takes[static_cast<std::size_t>(kindOf(c))];
    });
}

// Calls add(from, to, code) for every move of `block`, in the generator's order.
template <bool capturesOnly, class Add>
void Position::walkMoves(int block, Add&& add) const {
    for (int i = 0; i < count_[block]; ++i) {
        const int from = squares_[block][i];
        const int code = cells_[from];
        const int kind = kindOf(code);
        if (kind == KIB) {
            // One step to an empty neighbour, then a diagonal slide over empty
            // squares to the ring four away; several paths may share an end.
            std::uint32_t seen[9] = {};
            for (int first : allDirections) {
                const int f = from + first;
                if (cells_[f] != empty) continue;
                for (int d : diagonal) {
                    for (int t = f + d;; t += d) {
                        const int dist = chebyshev(from, t);
                        if (dist > 4 || cells_[t] == offBoard) break;
                        const std::int8_t c = cells_[t];
                        if (dist == 4) {
                            const int rx = coordinates.file[t] - coordinates.file[from] + 4;
                            const int ry = coordinates.rank[t] - coordinates.rank[from] + 4;
                            const bool legal = c == empty ? !capturesOnly : takeable(c, block);
                            if (legal && !(seen[rx] & (1u << ry))) {
                                seen[rx] |= 1u << ry;
                                add(from, t, code);
                            }
                        }
                        if (c != empty) break;
                    }
                }
            }
            continue;
        }
        if (kind == HOU) {
            for (int d : orthogonal) {
                int t = from + d;
                for (; cells_[t] == empty; t += d)
                    if (!capturesOnly) add(from, t, code);
                if (cells_[t] == offBoard) continue;
                for (t += d; cells_[t] == empty; t += d) {
                }
                if (takeable(cells_[t], block)) add(from, t, code);
            }
            continue;
        }
        const bool gyo = kind == GYO;
        const auto slide = [&](const std::array<int, 4>& dirs, int range) {
            for (int d : dirs) {
                int t = from + d;
                for (int n = 1; n <= range; ++n, t += d) {
                    const std::int8_t c = cells_[t];
                    if (c == empty) {
                        if (!capturesOnly) add(from, t, code);
                        continue;
                    }
                    if (!gyo && takeable(c, block)) add(from, t, code);
                    break;
                }
            }
        };
        if (const int r = orthogonalRange(kind)) slide(orthogonal, r);
        if (const int r = diagonalRange(kind)) slide(diagonal, r);
    }
}

void Position::make(const Move& m) {
    const int captured = m.captured;
    if (captured != empty) {
        const int b = blockOf(m.piece);
        ++captured_[b];
        if (kindOf(captured) == OHU) ++kings_[b];
        liftedSlots_.push_back(slot_[m.to]);
        lift(m.to);
    }
    // The mover keeps its list slot.
    const int b = blockOf(m.piece);
    const int s = slot_[m.from];
    hash_ ^= key(m.piece, m.from) ^ key(m.piece, m.to);
    cells_[m.from] = empty;
    cells_[m.to] = m.piece;
    slot_[m.from] = -1;
    slot_[m.to] = static_cast<std::int8_t>(s);
    squares_[b][s] = m.to;
}

void Position::unmake(const Move& m) {
    const int b = blockOf(m.piece);
    const int s = slot_[m.to];
    hash_ ^= key(m.piece, m.from) ^ key(m.piece, m.to);
    cells_[m.to] = empty;
    cells_[m.from] = m.piece;
    slot_[m.to] = -1;
    slot_[m.from] = static_cast<std::int8_t>(s);
    squares_[b][s] = m.from;
    const int captured = m.captured;
    if (captured != empty) {
        --captured_[b];
        if (kindOf(captured) == OHU) --kings_[b];
        // Undo the lift: the piece that filled the slot goes back to the end.
        const int cb = blockOf(captured);
        const int slot = liftedSlots_.back();
        liftedSlots_.pop_back();
        const int last = count_[cb]++;
        squares_[cb][last] = squares_[cb][slot];
        slot_[squares_[cb][last]] = static_cast<std::int8_t>(last);
        squares_[cb][slot] = m.to;
        slot_[m.to] = static_cast<std::int8_t>(slot);
        cells_[m.to] = static_cast<std::int8_t>(captured);
        hash_ ^= key(captured, m.to);
    }
}

void Position::removeKingdom(int block, std::vector<int>& saved) {
    saved.clear();
    const int n = count_[block];
    for (int i = 0; i < n; ++i) saved.push_back(squares_[block][i]);
    for (int i = 0; i < n; ++i) {
        const int sq = saved[i];
        saved.push_back(cells_[sq]);
        hash_ ^= key(cells_[sq], sq);
        cells_[sq] = empty;
        slot_[sq] = -1;
    }
    count_[block] = 0;
}

void Position::restoreKingdom(int block, const std::vector<int>& saved) {
    const int n = static_cast<int>(saved.size()) / 2;
    for (int i = 0; i < n; ++i) {
        const int sq = saved[i];
        cells_[sq] = static_cast<std::int8_t>(saved[n + i]);
        hash_ ^= key(saved[n + i], sq);
        slot_[sq] = static_cast<std::int8_t>(i);
        squares_[block][i] = static_cast<std::int16_t>(sq);
    }
    count_[block] = static_cast<std::int8_t>(n);
}

bool Position::cavalryReaches(int from, int to) const {
    const int dx = coordinates.file[to] - coordinates.file[from], dy = coordinates.rank[to] - coordinates.rank[from];
    if (dx < -4 || dx > 4 || dy < -4 || dy > 4) return false;
    const auto& paths = cavalryPaths.byEnd[static_cast<std::size_t>((dy + 4) * 9 + dx + 4)];
    for (int i = 0; i < paths.count; ++i) {
        const int f = from + paths.first[static_cast<std::size_t>(i)];
        if (cells_[f] != empty) continue;
        const int d = paths.diagonal[static_cast<std::size_t>(i)];
        int t = f + d;
        while (t != to && cells_[t] == empty) t += d;
        if (t == to) return true;
    }
    return false;
}

bool Position::reachedByOthers(int sq, int block) const {
    if (reachedAlongLines(sq, block)) return true;
    SquareList cavalry;
    const int n = otherCavalry(block, cavalry);
    return cavalryReachesAny(sq, cavalry, n);
}

// Walks outwards from `sq` to the first piece in each direction: that piece
// reaches `sq` when its kind slides that way far enough. Cavalry apart.
bool Position::reachedAlongLines(int sq, int block) const {
    for (int pass = 0; pass < 2; ++pass) {
        const auto& dirs = pass == 0 ? orthogonal : diagonal;
        for (int d : dirs) {
            int t = sq + d, n = 1;
            while (cells_[t] == empty) t += d, ++n;
            const int c = cells_[t];
            if (c == offBoard) continue;
            if (c == centre) return true;  // slides as a GYO
            if (blockOf(c) == block) continue;
            const int range = pass == 0 ? orthogonalRange(kindOf(c)) : diagonalRange(kindOf(c));
            if (n <= range) return true;
        }
    }
    return false;
}

bool Position::reachedByOthers(int sq, int block, const SquareList& cavalry, int cavalryCount) const {
    return reachedAlongLines(sq, block) || cavalryReachesAny(sq, cavalry, cavalryCount);
}

bool Position::cavalryReachesAny(int sq, const SquareList& cavalry, int cavalryCount) const {
    for (int i = 0; i < cavalryCount; ++i)
        if (cavalryReaches(cavalry[i], sq)) return true;
    return false;
}

bool Position::capturableByOthers(int sq, int block) const {
    SquareList cavalry;
    const int n = otherCavalry(block, cavalry);
    return capturableByOthers(sq, block, cavalry, n);
}

int Position::otherCavalry(int block, SquareList& squares) const {
    int n = 0;
    for (int b = 1; b <= blockCount; ++b) {
        if (b == block) continue;
        for (int i = 0; i < count_[b]; ++i)
            if (kindOf(cells_[squares_[b][i]]) == KIB) squares[n++] = squares_[b][i];
    }
    return n;
}

int Position::otherCavalryNear(int block, int margin, SquareList& squares) const {
    if (count_[block] == 0) return 0;
    int left = 99, right = -99, top = 99, bottom = -99;
    for (int i = 0; i < count_[block]; ++i) {
        const int sq = squares_[block][i];
        left = std::min<int>(left, coordinates.file[sq]);
        right = std::max<int>(right, coordinates.file[sq]);
        top = std::min<int>(top, coordinates.rank[sq]);
        bottom = std::max<int>(bottom, coordinates.rank[sq]);
    }
    // A cavalry move ends exactly four squares away.
    left -= margin + 4, right += margin + 4, top -= margin + 4, bottom += margin + 4;
    int n = 0;
    for (int b = 1; b <= blockCount; ++b) {
        if (b == block) continue;
        for (int i = 0; i < count_[b]; ++i) {
            const int sq = squares_[b][i];
            const int x = coordinates.file[sq], y = coordinates.rank[sq];
            if (kindOf(cells_[sq]) == KIB && x >= left && x <= right && y >= top && y <= bottom) squares[n++] = sq;
        }
    }
    return n;
}

bool Position::capturableByOthers(int sq, int block, const SquareList& cavalry, int cavalryCount) const {
    return takenAlongLines(sq, block) || cavalryReachesAny(sq, cavalry, cavalryCount);
}

// By a slider or stepper whose line reaches the square, or a cannon jumping
// the first piece on a row or column.
bool Position::takenAlongLines(int sq, int block) const {
    for (int pass = 0; pass < 2; ++pass) {
        const auto& dirs = pass == 0 ? orthogonal : diagonal;
        for (int d : dirs) {
            int t = sq + d, n = 1;
            while (cells_[t] == empty) t += d, ++n;
            const int c = cells_[t];
            if (c == offBoard) continue;
            if (blockOf(c) != block && blockOf(c) != 0) {
                const int kind = kindOf(c);
                const int range = kind == GYO || kind == HOU ? 0
                                  : pass == 0            ? orthogonalRange(kind)
                                                         : diagonalRange(kind);
                if (n <= range) return true;
            }
            if (pass == 1) continue;
            for (t += d; cells_[t] == empty; t += d) {
            }
            const int beyond = cells_[t];
            if (kindOf(beyond) == HOU && blockOf(beyond) != 0 && blockOf(beyond) != block) return true;
        }
    }
    return false;
}

// Every square `code` on `sq` could move to if that square were empty,
// its own square included (the game's survey counts it), cavalry aside.
template <class Visit>
void Position::reachOf(int sq, int code, Visit&& visit) const {
    const int kind = code == centre ? GYO : kindOf(code);
    if (kind == KIB) {
        for (int y = rankOf(sq) - 4; y <= rankOf(sq) + 4; ++y)
            for (int x = fileOf(sq) - 4; x <= fileOf(sq) + 4; ++x) {
                if (x < 1 || x > 19 || y < 1 || y > 19) continue;
                if (cavalryReaches(sq, square(x, y))) visit(square(x, y));
            }
        return;
    }
    visit(sq);
    const auto slide = [&](const std::array<int, 4>& dirs, int range) {
        for (int d : dirs) {
            int t = sq + d;
            for (int n = 1; n <= range && cells_[t] != offBoard; ++n, t += d) {
                visit(t);
                if (cells_[t] != empty) break;
            }
        }
    };
    // A cannon moving onto an empty square slides like a HII.
    if (const int r = orthogonalRange(kind)) slide(orthogonal, r);
    if (const int r = diagonalRange(kind)) slide(diagonal, r);
}

void Position::influence(std::array<std::uint8_t, squareCount>& total,
                         std::array<std::array<std::uint8_t, squareCount>, 8>& byBlock) const {
    total.fill(0);
    for (auto& m : byBlock) m.fill(0);
    for (int b = 1; b <= blockCount; ++b)
        for (int i = 0; i < count_[b]; ++i) {
            const int sq = squares_[b][i];
            reachOf(sq, cells_[sq], [&](int t) {
                ++total[t];
                ++byBlock[b][t];
            });
        }
    for (int sq = 0; sq < squareCount; ++sq)
        if (cells_[sq] == centre) reachOf(sq, centre, [&](int t) { ++total[t]; });
}

bool Position::operator==(const Position& o) const {
    if (cells_ != o.cells_ || count_ != o.count_ || captured_ != o.captured_ || kings_ != o.kings_ ||
        seat_ != o.seat_ || hash_ != o.hash_)
        return false;
    for (int b = 1; b <= blockCount; ++b)
        for (int i = 0; i < count_[b]; ++i)
            if (squares_[b][i] != o.squares_[b][i]) return false;
    for (int sq = 0; sq < squareCount; ++sq)
        if (cells_[sq] != empty && cells_[sq] != offBoard && cells_[sq] != centre && slot_[sq] != o.slot_[sq])
            return false;
    return true;
}

}  // namespace daro::engine
