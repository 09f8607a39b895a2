// Two kingdoms left: negamax with alpha-beta over every move of both.
//
// A node's value is for the kingdom to move. A move that wins (a win by the
// counts, or the other kingdom left with no king or too few pieces to stay)
// is worth winScore - ply; a move back to a position of the game or of the
// line is a draw, 0; a kingdom without a move passes, and two passes in a row
// end the game without a winner, 0 again. At the horizon the kingdom to move
// may stand on the evaluation or take, for Settings::captureDepth plies.
#include "engine/Duel.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "engine/Common.h"

namespace daro::engine {

namespace {

using namespace detail;

constexpr int infinity = 2 * winScore;

// The first pieces above the drop-out line are worth the most: each one is
// what stands between a kingdom and its end, so trading when ahead pays.
constexpr std::array<int, 8> lifeScore = {0, 1600, 2400, 2933, 3333, 3653, 3920, 4149};

int lifeOf(const Position& p, int block) {
    const int above = p.pieceCount(block) - dropOutPieceCount;
    return lifeScore[static_cast<std::size_t>(std::clamp(above, 0, 7))];
}

int chebyshev(int a, int b) { return std::max(std::abs(fileOf(a) - fileOf(b)), std::abs(rankOf(a) - rankOf(b))); }

// Neighbour squares the king could step to without being refused.
int kingRoom(const Position& p, int block, int king) {
    static constexpr std::array<int, 8> around = {-stride - 1, -stride, -stride + 1, -1, 1,
                                                  stride - 1,  stride,  stride + 1};
    int room = 0;
    for (int d : around) {
        const int sq = king + d;
        const int c = p.at(sq);
        if (c == offBoard || c == centre || blockOf(c) == block) continue;
        if (!p.reachedByOthers(sq, block)) ++room;
    }
    return room;
}

// Counts toward thirty or nineteen with a king.
int countsScore(const Position& p, int block) {
    const int c = p.captured(block), k = p.kingsCaptured(block);
    int s = 50 * c;
    if (k >= 1) s += 80 * std::max(0, c - 10);
    return s + 40 * std::max(0, c - 20);
}

int sideScore(const Position& p, int block, int rival) {
    int s = lifeOf(p, block) + countsScore(p, block);
    const int rivalKing = p.kingSquare(rival);
    const int n = p.pieceCount(block);
    for (int i = 0; i < n; ++i) {
        const int sq = p.pieceSquare(block, i);
        s += valueOf(p.at(sq));
        // Closing in on the other king takes room from it and brings captures.
        if (rivalKing != 0 && kindOf(p.at(sq)) != OHU) s += 3 * (19 - chebyshev(sq, rivalKing));
    }
    if (const int king = p.kingSquare(block)) s += 30 * kingRoom(p, block, king);
    return s;
}

int otherKingdom(const Position& p, int block) {
    int best = 0;
    for (int b = 1; b <= blockCount; ++b)
        if (b != block && p.pieceCount(b) > 0 && (best == 0 || stillPlaying(p, b) > stillPlaying(p, best)))
            best = b;
    return best;
}

int moveOrderOf(const Move& m) { return 16 * captureOrder(m) - valueOf(m.piece) / 16; }

}  // namespace

int duelScore(const Position& p, int block, int rival) { return sideScore(p, block, rival) - sideScore(p, rival, block); }

int duelEvaluate(const Position& position, int block) {
    return duelScore(position, block, otherKingdom(position, block));
}

void duelMoves(Position& p, int block, std::vector<Move>& out, bool capturesOnly) {
    const std::size_t first = out.size();
    if (capturesOnly)
        p.generateCaptures(block, out);
    else
        p.generate(block, out);
    std::size_t kept = first;
    for (std::size_t i = first; i < out.size(); ++i) {
        const Move m = out[i];
        if (kindOf(m.piece) == OHU) {
            p.make(m);
            const bool refused = p.reachedByOthers(m.to, block);
            p.unmake(m);
            if (refused) continue;
        }
        out[kept++] = m;
    }
    out.resize(kept);
}

class DuelSearcher {
public:
    DuelSearcher(const Position& position, const Settings& settings, int rival)
        : pos_(position), settings_(settings), start_(std::chrono::steady_clock::now()) {
        side_ = blockOfSeat[position.seatToMove()];
        searcher_ = side_;
        rival_ = rival;
        seat_ = position.seatToMove();
        history_ = settings.history;
        std::sort(history_.begin(), history_.end());
        // A pass takes a ply of depth too, so no line is longer than this.
        const std::size_t longest = static_cast<std::size_t>(std::max(0, settings.maxDepth) +
                                                             std::max(0, settings.captureDepth) + 2);
        lists_.resize(longest);
        killers_.resize(longest);
        table_.resize(std::size_t{1} << 16);
        budget_ = settings.nodeBudget * std::max(1, settings.duelBudgetFactor);
    }

    Result run() {
        Result result;
        std::vector<Move> moves;
        duelMoves(pos_, side_, moves, false);
        if (moves.empty()) return result;
        result.move = moves.front();
        if (moves.size() == 1) return result;
        order(moves, Move{}, 0);
        path_.push_back(key());
        std::vector<std::pair<int, Move>> root;
        for (const Move& m : moves) root.push_back({-infinity, m});
        for (int depth = 1; depth <= settings_.maxDepth; ++depth) {
            int alpha = -infinity;
            std::size_t best = root.size();
            for (std::size_t i = 0; i < root.size(); ++i) {
                const int v = child(root[i].second, depth, alpha, infinity, 0);
                if (aborted_) break;
                root[i].first = v;
                if (v > alpha) alpha = v, best = i;
            }
            // A move searched to the end that beats the last choice is taken
            // even when the iteration could not finish.
            if (best < root.size()) {
                std::rotate(root.begin(), root.begin() + static_cast<std::ptrdiff_t>(best),
                            root.begin() + static_cast<std::ptrdiff_t>(best) + 1);
                result.move = root.front().second;
                result.score = alpha;
            }
            if (aborted_) break;
            std::stable_sort(root.begin() + 1, root.end(),
                             [](const auto& a, const auto& b) { return a.first > b.first; });
            result.depth = depth;
            if (alpha >= winScore / 2 || alpha <= -winScore / 2) break;
        }
        result.nodes = nodes_;
        return result;
    }

private:
    std::uint64_t key() const { return pos_.hash() ^ seatKey(seat_); }

    bool repeated(std::uint64_t k) const {
        return std::find(path_.begin(), path_.end(), k) != path_.end() ||
               std::binary_search(history_.begin(), history_.end(), k);
    }

    bool counting() {
        ++nodes_;
        if (nodes_ > budget_) aborted_ = true;
        if ((nodes_ & 255) == 0 &&
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count() > settings_.secondsCap)
            aborted_ = true;
        return !aborted_;
    }

    void swapSides() {
        std::swap(side_, rival_);
        seat_ = seatOfBlock[side_];
    }

    bool moverWon(int mover, int other) const { return pos_.hasWon(mover) || !stillPlaying(pos_, other); }

    // The value of `m` for the kingdom making it, at `ply`.
    int child(const Move& m, int depth, int alpha, int beta, int ply) {
        const int mover = side_;
        pos_.make(m);
        swapSides();
        int v;
        const std::uint64_t k = key();
        if (moverWon(mover, side_)) {
            v = winScore - ply;
        } else if (repeated(k)) {
            v = mover == searcher_ ? settings_.duelRepetitionScore : 0;
        } else {
            path_.push_back(k);
            v = -node(depth - 1, -beta, -alpha, ply + 1, false);
            path_.pop_back();
        }
        swapSides();
        pos_.unmake(m);
        return v;
    }

    int node(int depth, int alpha, int beta, int ply, bool afterPass) {
        if (!counting()) return 0;
        if (depth <= 0) return horizon(alpha, beta, ply, settings_.captureDepth);
        std::vector<Move>& moves = lists_[static_cast<std::size_t>(ply)];
        moves.clear();
        duelMoves(pos_, side_, moves, false);
        if (moves.empty()) {
            if (afterPass) return 0;
            swapSides();
            const int v = -node(depth - 1, -beta, -alpha, ply + 1, true);
            swapSides();
            return v;
        }
        const std::uint64_t here = key();
        TableEntry& entry = table_[here & (table_.size() - 1)];
        order(moves, entry.key == here ? entry.move : Move{}, ply);
        int best = -infinity;
        Move bestMove{};
        for (const Move& m : moves) {
            const int v = child(m, depth, alpha, beta, ply);
            if (aborted_) return 0;
            if (v > best) best = v, bestMove = m;
            if (v > alpha) alpha = v;
            if (alpha >= beta) {
                if (m.captured == empty) {
                    auto& k = killers_[static_cast<std::size_t>(ply)];
                    if (!(k[0] == m)) k[1] = k[0], k[0] = m;
                    historyScore_[m.piece][m.to] += depth * depth;
                }
                break;
            }
        }
        entry = {here, bestMove};
        return best;
    }

    int horizon(int alpha, int beta, int ply, int plies) {
        const int standing = duelScore(pos_, side_, rival_);
        if (plies <= 0 || standing >= beta) return standing;
        int best = standing;
        alpha = std::max(alpha, standing);
        std::vector<Move>& moves = lists_[static_cast<std::size_t>(ply)];
        moves.clear();
        duelMoves(pos_, side_, moves, true);
        std::stable_sort(moves.begin(), moves.end(),
                         [](const Move& a, const Move& b) { return moveOrderOf(a) > moveOrderOf(b); });
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const Move m = moves[i];
            if (!counting()) return 0;
            const int mover = side_;
            pos_.make(m);
            swapSides();
            const int v = moverWon(mover, side_) ? winScore - ply : -horizon(-beta, -alpha, ply + 1, plies - 1);
            swapSides();
            pos_.unmake(m);
            if (aborted_) return 0;
            best = std::max(best, v);
            alpha = std::max(alpha, v);
            if (alpha >= beta) break;
        }
        return best;
    }

    // The table's move, captures by value, the killers, then what cut off before.
    void order(std::vector<Move>& moves, const Move& tableMove, int ply) {
        const auto& k = killers_[static_cast<std::size_t>(ply)];
        const auto merit = [&](const Move& m) {
            if (m == tableMove) return 1 << 30;
            if (m.captured != empty) return (1 << 28) + moveOrderOf(m);
            if (m == k[0]) return (1 << 27) + 1;
            if (m == k[1]) return 1 << 27;
            return std::min(historyScore_[m.piece][m.to], (1 << 26));
        };
        scored_.clear();
        for (const Move& m : moves) scored_.push_back({merit(m), m});
        std::stable_sort(scored_.begin(), scored_.end(),
                         [](const auto& a, const auto& b) { return a.first > b.first; });
        for (std::size_t i = 0; i < moves.size(); ++i) moves[i] = scored_[i].second;
    }

    struct TableEntry {
        std::uint64_t key = 0;
        Move move;
    };

    Position pos_;
    const Settings& settings_;
    std::chrono::steady_clock::time_point start_;
    int side_ = 0, rival_ = 0, seat_ = 0;
    int searcher_ = 0;  // the kingdom whose move is searched
    long budget_ = 0, nodes_ = 0;
    bool aborted_ = false;
    std::vector<std::uint64_t> history_, path_;
    std::vector<std::vector<Move>> lists_;
    std::vector<std::array<Move, 2>> killers_;
    std::vector<TableEntry> table_;
    std::vector<std::pair<int, Move>> scored_;
    // On the heap: the search may run on a thread with a small stack.
    std::vector<std::array<int, squareCount>> historyScore_ = std::vector<std::array<int, squareCount>>(80);
};

Result duelSearch(const Position& position, const Settings& settings, int rival) {
    return DuelSearcher(position, settings, rival).run();
}

}  // namespace daro::engine
