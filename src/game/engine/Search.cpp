// Best-Reply and paranoid search with iterative deepening under a node budget.
#include "engine/Search.h"

#include "engine/Common.h"
#include "engine/Duel.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace daro::engine {

namespace {

using namespace detail;

// How near a kingdom is to one of the three wins: two kings, thirty pieces,
// nineteen pieces with a king.
int progress(const Position& p, int block) {
    const int c = p.captured(block), k = p.kingsCaptured(block);
    int s = 100 * c + 2500 * k;
    if (k >= 1) s += 80 * std::max(0, c - 10);
    s += 40 * std::max(0, c - 20);
    return s;
}

int staticScore(const Position& p, int block, bool toMove, std::vector<Move>& scratch) {
    if (!stillPlaying(p, block)) return -dropOutScore;
    int s = progress(p, block);
    int worstRival = 0;
    for (int b = 1; b <= blockCount; ++b)
        if (b != block && p.pieceCount(b) > 0) worstRival = std::max(worstRival, progress(p, b));
    s -= worstRival * 3 / 10;

    const int n = p.pieceCount(block);
    int hanging = 0;
    Position::SquareList cavalry;
    const int cavalryCount = p.otherCavalry(block, cavalry);
    for (int i = 0; i < n; ++i) {
        const int sq = p.pieceSquare(block, i);
        const int code = p.at(sq);
        s += pieceValue[kindOf(code)];
        if (kindOf(code) == GYO || !p.capturableByOthers(sq, block, cavalry, cavalryCount)) continue;
        hanging = std::max(hanging, kindOf(code) == OHU ? 20000 : pieceValue[kindOf(code)]);
    }
    if (n <= 13) s -= (14 - n) * 250;
    s -= toMove ? hanging / 5 : hanging * 6 / 10;

    scratch.clear();
    p.generate(block, scratch);
    s += 3 * static_cast<int>(scratch.size());
    int threat = 0;
    for (const Move& m : scratch)
        if (m.captured != empty) threat = std::max(threat, kindOf(m.captured) == OHU ? 1500 : valueOf(m.captured));
    s += toMove ? threat / 2 : threat / 8;
    return s;
}

class Searcher {
public:
    Searcher(const Position& position, const Settings& settings)
        : pos_(position), settings_(settings), root_(blockOfSeat[position.seatToMove()]),
          start_(std::chrono::steady_clock::now()) {
        lists_.resize(64);
        history_ = settings.history;
        std::sort(history_.begin(), history_.end());
        repetitionCost_ = aheadOfAll() ? 300 : 0;
        huntTarget_ = huntTarget();
    }

    Result run() {
        Result result;
        std::vector<Move> moves;
        pos_.generate(root_, moves);
        std::vector<Move> allowed;
        for (const Move& m : moves)
            if (!(kindOf(m.piece) == OHU && kingMoveRefused(pos_, m))) allowed.push_back(m);
        if (!allowed.empty()) moves.swap(allowed);
        if (moves.empty()) return result;
        result.move = moves.front();
        if (moves.size() == 1) return result;

        std::stable_sort(moves.begin(), moves.end(),
                         [](const Move& a, const Move& b) { return captureOrder(a) > captureOrder(b); });
        std::vector<int> scores(moves.size(), 0);
        for (int depth = 1; depth <= settings_.maxDepth; ++depth) {
            int alpha = -2 * winScore;
            std::size_t best = 0;
            for (std::size_t i = 0; i < moves.size() && !aborted_; ++i) {
                const int v = afterRootMove(moves[i], depth, alpha);
                if (aborted_) break;
                scores[i] = v;
                if (v > alpha) {
                    alpha = v;
                    best = i;
                }
            }
            if (aborted_) break;
            // The best first next time, the rest in this iteration's order of merit.
            std::vector<std::size_t> order(moves.size());
            for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                if (a == best || b == best) return a == best && b != best;
                return scores[a] > scores[b];
            });
            std::vector<Move> sorted;
            for (std::size_t i : order) sorted.push_back(moves[i]);
            moves.swap(sorted);
            result.move = moves.front();
            result.depth = depth;
            result.score = alpha;
            if (alpha >= winScore / 2) break;
        }
        result.nodes = nodes_;
        return result;
    }

private:
    // The seed's small preference enters the window too, so a move that only
    // ties the best on merit is judged against the same bound.
    int afterRootMove(const Move& m, int depth, int alpha) {
        alpha -= noise(m);
        pos_.make(m);
        const int cost = repeatsTheGame() ? repetitionCost_ : 0;
        alpha += cost;
        int v;
        if (pos_.hasWon(root_))
            v = winScore;
        else if (settings_.method == Method::bestReply)
            v = replies(depth - 1, alpha, 2 * winScore, 1);
        else
            v = paranoid(depth - 1, alpha, 2 * winScore, 1, seatAfter(pos_.seatToMove()));
        pos_.unmake(m);
        return v - cost + noise(m);
    }

    // Only the root's moves are looked up: further on, the others' moves are
    // too few for the search's positions to be ones the game would see.
    bool repeatsTheGame() const {
        int next = seatAfter(pos_.seatToMove());
        while (next != pos_.seatToMove() && pos_.pieceCount(blockOfSeat[next]) == 0) next = seatAfter(next);
        return std::binary_search(history_.begin(), history_.end(), pos_.hash() ^ seatKey(next));
    }

    // The paranoid search sees every kingdom against it and would rather
    // wait; going round in circles costs the kingdom ahead of all the others.
    bool aheadOfAll() const {
        const auto strength = [&](int b) { return 100 * pos_.pieceCount(b) + progress(pos_, b); };
        for (int b = 1; b <= blockCount; ++b)
            if (b != root_ && stillPlaying(pos_, b) && strength(b) >= strength(root_)) return false;
        return true;
    }

    int huntTarget() const { return detail::huntTarget(pos_, root_); }
    int hunting() const { return huntingScore(pos_, root_, huntTarget_); }
    int noise(const Move& m) const { return tieNoise(settings_.seed, m); }

    bool outOfTime() {
        ++nodes_;
        if (nodes_ > settings_.nodeBudget) aborted_ = true;
        if ((nodes_ & 255) == 0) {
            const double spent =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
            if (spent > settings_.secondsCap) aborted_ = true;
        }
        return aborted_;
    }

    int leaf(bool rootToMove) { return staticScore(pos_, root_, rootToMove, scratch_) + hunting(); }

    // The root kingdom moves.
    int own(int depth, int alpha, int beta, int ply) {
        if (outOfTime()) return 0;
        if (!stillPlaying(pos_, root_)) return -dropOutScore + ply;
        if (depth <= 0) return leaf(true);
        std::vector<Move>& moves = lists_[ply];
        moves.clear();
        pos_.generate(root_, moves);
        if (moves.empty()) return replies(depth - 1, alpha, beta, ply + 1);
        std::stable_sort(moves.begin(), moves.end(),
                         [](const Move& a, const Move& b) { return captureOrder(a) > captureOrder(b); });
        int best = -2 * winScore;
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const Move m = moves[i];
            pos_.make(m);
            const int v = pos_.hasWon(root_) ? winScore - ply : replies(depth - 1, alpha, beta, ply + 1);
            pos_.unmake(m);
            if (aborted_) return 0;
            best = std::max(best, v);
            alpha = std::max(alpha, v);
            if (alpha >= beta) break;
        }
        return best;
    }

    // The captures another kingdom could make that matter to the root:
    // of its pieces, of a king, or any when that kingdom is near a win.
    void rivalCaptures(int block, std::vector<Move>& out) {
        const std::size_t first = out.size();
        pos_.generateCaptures(block, out);
        const bool nearWin = pos_.captured(block) >= 17 || pos_.kingsCaptured(block) >= 1;
        std::size_t kept = first;
        for (std::size_t i = first; i < out.size(); ++i) {
            const Move& m = out[i];
            if (nearWin || blockOf(m.captured) == root_ || kindOf(m.captured) == OHU) out[kept++] = m;
        }
        out.resize(kept);
    }

    // The other kingdoms together: the one capture worst for the root, or none.
    int replies(int depth, int alpha, int beta, int ply) {
        if (outOfTime()) return 0;
        if (depth <= 0) return leaf(false);
        int best = own(depth - 1, alpha, beta, ply + 1);
        if (aborted_) return 0;
        beta = std::min(beta, best);
        if (alpha >= beta) return best;
        std::vector<Move>& moves = lists_[ply];
        moves.clear();
        for (int b = 1; b <= blockCount; ++b)
            if (b != root_ && stillPlaying(pos_, b)) rivalCaptures(b, moves);
        std::stable_sort(moves.begin(), moves.end(), [&](const Move& a, const Move& b) {
            return (blockOf(a.captured) == root_) * 100000 + captureOrder(a) >
                   (blockOf(b.captured) == root_) * 100000 + captureOrder(b);
        });
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const Move m = moves[i];
            const int mover = blockOf(m.piece);
            pos_.make(m);
            const int v = pos_.hasWon(mover) ? -winScore + ply : own(depth - 1, alpha, beta, ply + 1);
            pos_.unmake(m);
            if (aborted_) return 0;
            best = std::min(best, v);
            beta = std::min(beta, v);
            if (alpha >= beta) break;
        }
        return best;
    }

    // Every kingdom in its turn; the others minimise the root's score.
    int paranoid(int depth, int alpha, int beta, int ply, int seat) {
        if (outOfTime()) return 0;
        const int block = blockOfSeat[seat];
        if (block == root_) {
            if (!stillPlaying(pos_, root_)) return -dropOutScore + ply;
            if (depth <= 0) return leaf(true);
            std::vector<Move>& moves = lists_[ply];
            moves.clear();
            pos_.generate(root_, moves);
            std::stable_sort(moves.begin(), moves.end(),
                             [](const Move& a, const Move& b) { return captureOrder(a) > captureOrder(b); });
            if (moves.empty()) return paranoid(depth - 1, alpha, beta, ply + 1, seatAfter(seat));
            int best = -2 * winScore;
            for (std::size_t i = 0; i < moves.size(); ++i) {
                const Move m = moves[i];
                pos_.make(m);
                const int v = pos_.hasWon(root_) ? winScore - ply
                                                 : paranoid(depth - 1, alpha, beta, ply + 1, seatAfter(seat));
                pos_.unmake(m);
                if (aborted_) return 0;
                best = std::max(best, v);
                alpha = std::max(alpha, v);
                if (alpha >= beta) break;
            }
            return best;
        }
        // A kingdom that is out, or will drop out when its turn comes, does not move.
        if (!stillPlaying(pos_, block)) return paranoid(depth, alpha, beta, ply, seatAfter(seat));
        if (depth <= 0) return leaf(false);
        int best = paranoid(depth - 1, alpha, beta, ply + 1, seatAfter(seat));
        if (aborted_) return 0;
        beta = std::min(beta, best);
        if (alpha >= beta) return best;
        std::vector<Move>& moves = lists_[ply];
        moves.clear();
        rivalCaptures(block, moves);
        std::stable_sort(moves.begin(), moves.end(),
                         [](const Move& a, const Move& b) { return captureOrder(a) > captureOrder(b); });
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const Move m = moves[i];
            pos_.make(m);
            const int v =
                pos_.hasWon(block) ? -winScore + ply : paranoid(depth - 1, alpha, beta, ply + 1, seatAfter(seat));
            pos_.unmake(m);
            if (aborted_) return 0;
            best = std::min(best, v);
            beta = std::min(beta, v);
            if (alpha >= beta) break;
        }
        return best;
    }

    Position pos_;
    const Settings& settings_;
    int root_;
    std::vector<std::uint64_t> history_;
    int repetitionCost_ = 0;
    int huntTarget_ = 0;
    std::chrono::steady_clock::time_point start_;
    long nodes_ = 0;
    bool aborted_ = false;
    std::vector<std::vector<Move>> lists_;
    std::vector<Move> scratch_;
};

}  // namespace

int evaluate(const Position& position, int block) {
    std::vector<Move> scratch;
    return staticScore(position, block, true, scratch);
}

bool kingMoveRefused(const Position& position, const Move& m) {
    Position after = position;
    after.make(m);
    return after.reachedByOthers(m.to, blockOf(m.piece));
}

std::uint64_t positionKey(const Position& position) { return position.hash() ^ seatKey(position.seatToMove()); }

std::uint64_t positionKey(const GameBoard& board, int seatToMove) {
    return positionKey(Position(board, {}, {}, seatToMove));
}

Result search(const Position& position, const Settings& settings) {
    const int block = blockOfSeat.at(position.seatToMove());
    if (block == 0) return {};
    std::array<int, 2> left{};
    if (stillPlaying(position, block) && kingdomsPlaying(position, left) == 2)
        return duelSearch(position, settings, left[0] == block ? left[1] : left[0]);
    return Searcher(position, settings).run();
}

}  // namespace daro::engine
