// LEVEL5's search; see Level5.h.
#include "engine/Level5.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <utility>

#include "engine/Common.h"
#include "engine/Duel.h"
#include "engine/Level5Eval.h"

namespace daro::engine {

namespace {

using namespace detail;

constexpr int infinity = 2 * winScore;

enum class Bound : std::int8_t { none, exact, lower, upper };

// The squares of `block`'s pieces another kingdom could take now.
void openSquares(const Position& p, int block, std::array<bool, squareCount>& open) {
    open.fill(false);
    Position::SquareList cavalry;
    const int cavalryCount = p.otherCavalryNear(block, 0, cavalry);
    for (int i = 0; i < p.pieceCount(block); ++i) {
        const int sq = p.pieceSquare(block, i);
        open[static_cast<std::size_t>(sq)] = p.capturableByOthers(sq, block, cavalry, cavalryCount);
    }
}

struct Entry {
    std::uint64_t key = 0;
    std::int32_t score = 0;
    std::int16_t from = 0, to = 0;
    std::int8_t depth = -1;
    Bound bound = Bound::none;
};

// Node kinds and plies enter the key: a value depends on who moves and, for
// wins, on how far from the root the line is.
const std::uint64_t ownNodeKey = mix(0x0A11ull);
const std::uint64_t replyNodeKey = mix(0x4E71ull);
std::uint64_t plyKey(int ply) { return mix(0x91Aull + static_cast<std::uint64_t>(ply)); }

constexpr int maxPly = 160;

// Has the game stood in this position `cycleRepeats` times before?
bool goingRound(const Position& position, const Level5Settings& settings) {
    if (settings.cycleRepeats <= 0) return false;
    const std::uint64_t key = positionKey(position);
    return std::count(settings.history.begin(), settings.history.end(), key) >= settings.cycleRepeats;
}

// Would the game stand in a position it has stood in before, the next
// kingdom with pieces to move? `past` is sorted.
bool backInThePast(const Position& p, const std::vector<std::uint64_t>& past) {
    int next = seatAfter(p.seatToMove());
    while (next != p.seatToMove() && p.pieceCount(blockOfSeat[next]) == 0) next = seatAfter(next);
    return std::binary_search(past.begin(), past.end(), p.hash() ^ seatKey(next));
}

// A position's evaluation, kept: lines that take the same pieces in another
// order meet again at the horizon, a fifth to a third of the evaluations.
struct Evaluated {
    std::uint64_t key = 0;
    std::int32_t value = 0;
    std::int32_t rootPiecesOpen = 0;
};
constexpr int evaluatedBits = 16;

// The tables stay with their thread, cleared for every search: a fresh block
// of this size costs its page faults anew each move. One search at a time
// in a thread uses it.
template <class Kept, int bits>
std::vector<Kept>& clearedThreadTable() {
    thread_local std::vector<Kept> table(std::size_t{1} << bits);
    std::fill(table.begin(), table.end(), Kept{});
    return table;
}

class Level5Searcher {
public:
    Level5Searcher(const Position& position, const Level5Settings& settings)
        : pos_(position), settings_(settings), root_(blockOfSeat[position.seatToMove()]),
          table_(clearedThreadTable<Entry, level5TableBits>()),
          evaluated_(clearedThreadTable<Evaluated, evaluatedBits>()), start_(std::chrono::steady_clock::now()) {
        lists_.resize(maxPly + 8);
        gameKeys_ = settings.history;
        std::sort(gameKeys_.begin(), gameKeys_.end());
        repetitionCost_ = aheadOfAll() || goingRound(position, settings) ? settings.repetitionCost : 0;
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
        const int maxDepth = std::min(settings_.maxDepth, maxPly / 8);
        for (int depth = 1; depth <= maxDepth; ++depth) {
            int alpha = -infinity;
            std::size_t best = 0;
            std::size_t searched = 0;
            for (std::size_t i = 0; i < moves.size(); ++i) {
                const int v = afterRootMove(moves[i], depth, alpha);
                if (aborted_) break;
                ++searched;
                scores[i] = v;
                if (v > alpha) {
                    alpha = v;
                    best = i;
                }
            }
            if (aborted_) {
                // A move searched to the end of this depth that beat the old
                // best, itself searched first, is the better move.
                if (searched > 1 && best != 0) {
                    result.move = moves[best];
                    result.score = alpha;
                }
                break;
            }
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
    int afterRootMove(const Move& m, int depth, int alpha) {
        alpha -= noise(m);
        pos_.make(m);
        const int cost = repeatsTheGame() ? repetitionCost_ : 0;
        alpha += cost;
        const int v = pos_.hasWon(root_) ? winScore : replies(depth - 1, alpha, infinity, 1);
        pos_.unmake(m);
        return v - cost + noise(m);
    }

    bool repeatsTheGame() const { return backInThePast(pos_, gameKeys_); }

    static int strengthOf(const Position& p, int b) {
        const int c = p.captured(b), k = p.kingsCaptured(b);
        int s = 100 * c + 2500 * k;
        if (k >= 1) s += 80 * std::max(0, c - 10);
        return 100 * p.pieceCount(b) + s + 40 * std::max(0, c - 20);
    }

    bool aheadOfAll() const {
        for (int b = 1; b <= blockCount; ++b)
            if (b != root_ && stillPlaying(pos_, b) && strengthOf(pos_, b) >= strengthOf(pos_, root_)) return false;
        return true;
    }

    // LEVEL4's target. Played on from the last three of the 73 games at
    // seed 12000 that LEVEL5 reached them in, hunting the strongest rival
    // instead (or the strongest unless LEVEL5 has more pieces) won 30 where
    // this wins 31. Hunting the king of a rival that has taken a king won
    // 58 of the 70 against written computers at seed 9650 (56 closing in
    // three times as hard) where this wins 59.
    int huntTarget() const { return detail::huntTarget(pos_, root_); }
    int hunting() const { return settings_.huntScale * huntingScore(pos_, root_, huntTarget_); }
    int noise(const Move& m) const { return tieNoise(settings_.seed, m); }

    bool outOfBudget() {
        ++nodes_;
        if (nodes_ > settings_.nodeBudget) aborted_ = true;
        if ((nodes_ & 1023) == 0) {
            const double spent =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
            if (spent > settings_.secondsCap) aborted_ = true;
        }
        return aborted_;
    }

    // The evaluation; `rootPiecesOpen`, when asked, learns how many of the
    // root's pieces other kingdoms could take (-1: the root is out).
    int leaf(bool rootToMove, int* rootPiecesOpen = nullptr) {
        // The board's key leaves out who took what; the counters go in.
        std::uint64_t key = pos_.hash() ^ (rootToMove ? ownNodeKey : replyNodeKey);
        for (int b = 1; b <= blockCount; ++b)
            key ^= mix((static_cast<std::uint64_t>(b) << 16) + pos_.captured(b) * 8 + pos_.kingsCaptured(b));
        Evaluated& kept = evaluated_[key & (evaluated_.size() - 1)];
        if (kept.key != key) {
            kept.key = key;
            kept.value = -dropOutScore;
            kept.rootPiecesOpen = -1;
            if (stillPlaying(pos_, root_)) {
                Features f;
                level5Features(pos_, root_, rootToMove, f);
                kept.value = weigh(f, settings_.weights);
                kept.rootPiecesOpen = f[fHangingCount];
            }
            kept.value += hunting();
        }
        if (rootPiecesOpen) *rootPiecesOpen = kept.rootPiecesOpen;
        return kept.value;
    }

    // ------------------------------------------------------------ the table
    Entry& slot(std::uint64_t key) { return table_[key & (table_.size() - 1)]; }

    // A stored value of exactly this depth that settles the node, or nothing.
    bool probe(std::uint64_t key, int depth, int alpha, int beta, int& score, Move& hint) {
        const Entry& e = slot(key);
        if (e.key != key) return false;
        hint.from = e.from;
        hint.to = e.to;
        if (e.depth != depth) return false;
        if (e.bound == Bound::exact || (e.bound == Bound::lower && e.score >= beta) ||
            (e.bound == Bound::upper && e.score <= alpha)) {
            score = e.score;
            return true;
        }
        return false;
    }

    void store(std::uint64_t key, int depth, int alpha, int beta, int best, const Move& move) {
        Entry& e = slot(key);
        e.key = key;
        e.score = best;
        e.depth = static_cast<std::int8_t>(depth);
        e.from = move.from;
        e.to = move.to;
        e.bound = best <= alpha ? Bound::upper : best >= beta ? Bound::lower : Bound::exact;
    }

    // --------------------------------------------------------- move order
    using Scored = std::vector<std::pair<int, Move>>;

    int historyOf(const Move& m) const { return history_[static_cast<std::size_t>(m.from) * squareCount + m.to]; }

    // The table's move, captures, killers, moves of pieces open to capture
    // (the most valuable first), then the rest by history.
    void orderOwn(const std::vector<Move>& moves, const Move& hint, int ply, Scored& out) const {
        out.clear();
        std::array<bool, squareCount> open;
        openSquares(pos_, root_, open);
        for (const Move& m : moves) {
            int key;
            if (m.from == hint.from && m.to == hint.to) key = 1 << 30;
            else if (m.captured != empty) key = (1 << 24) + captureOrder(m) * 16 - pieceValue[kindOf(m.piece)] / 20;
            else if (m == killers_[ply][0]) key = 1 << 22;
            else if (m == killers_[ply][1]) key = (1 << 22) - 1;
            else if (open[static_cast<std::size_t>(m.from)])
                key = (1 << 21) + 1 + (kindOf(m.piece) == OHU ? 1000 : pieceValue[kindOf(m.piece)]);
            else key = std::min(historyOf(m), (1 << 21));
            out.push_back({key, m});
        }
        std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    }

    void rewardQuiet(const Move& m, int depth, int ply) {
        if (m.captured != empty) return;
        if (!(m == killers_[ply][0])) {
            killers_[ply][1] = killers_[ply][0];
            killers_[ply][0] = m;
        }
        int& h = history_[static_cast<std::size_t>(m.from) * squareCount + m.to];
        h = std::min(h + depth * depth, 1 << 20);
    }

    // ---------------------------------------------------- the other kingdoms
    // Which captures count as a reply: of the root's pieces, of a king, or any
    // by a kingdom near a win. A kingdom with one of those reaches the root.
    bool hurts(const Move& m) const {
        const int mover = blockOf(m.piece);
        return nearAWin(mover) || blockOf(m.captured) == root_ || kindOf(m.captured) == OHU;
    }

    bool nearAWin(int block) const { return pos_.captured(block) >= 17 || pos_.kingsCaptured(block) >= 1; }

    // Could any kingdom take one of the root's pieces or a king? If not, a
    // kingdom not near a win has no capture that hurts the root. How many of
    // the root's pieces are open may be known already (-1: not known).
    bool targetsOpen(int rootPiecesOpen) const {
        if (rootPiecesOpen > 0) return true;
        if (rootPiecesOpen < 0) {
            Position::SquareList cavalry;
            const int n = pos_.otherCavalryNear(root_, 0, cavalry);
            for (int i = 0; i < pos_.pieceCount(root_); ++i)
                if (pos_.capturableByOthers(pos_.pieceSquare(root_, i), root_, cavalry, n)) return true;
        }
        for (int b = 1; b <= blockCount; ++b) {
            const int king = b == root_ ? 0 : pos_.kingSquare(b);
            if (king != 0 && pos_.capturableByOthers(king, b)) return true;
        }
        return false;
    }

    // The captures of the other kingdoms that hurt the root, the worst first.
    void otherKingdoms(std::vector<Move>& replies, int rootPiecesOpen) {
        replies.clear();
        const bool open = targetsOpen(rootPiecesOpen);
        for (int b = 1; b <= blockCount; ++b) {
            if (b == root_ || !stillPlaying(pos_, b) || (!open && !nearAWin(b))) continue;
            scratch_.clear();
            pos_.generateCaptures(b, scratch_);
            for (const Move& m : scratch_)
                if (hurts(m)) replies.push_back(m);
        }
        std::stable_sort(replies.begin(), replies.end(), [&](const Move& a, const Move& b) {
            return (blockOf(a.captured) == root_) * 100000 + captureOrder(a) >
                   (blockOf(b.captured) == root_) * 100000 + captureOrder(b);
        });
    }

    // ------------------------------------------------------------ the search
    // The root kingdom moves.
    int own(int depth, int alpha, int beta, int ply) {
        if (outOfBudget()) return 0;
        if (!stillPlaying(pos_, root_)) return -dropOutScore + ply;
        if (depth <= 0) return quietOwn(alpha, beta, ply, settings_.quiescenceDepth);
        const std::uint64_t key = pos_.hash() ^ ownNodeKey ^ plyKey(ply);
        int stored;
        Move hint{};
        if (probe(key, depth, alpha, beta, stored, hint)) return stored;
        std::vector<Move>& moves = lists_[ply];
        moves.clear();
        pos_.generate(root_, moves);
        if (moves.empty()) return replies(depth - 1, alpha, beta, ply + 1);
        Scored ordered;
        orderOwn(moves, hint, ply, ordered);
        const int alpha0 = alpha;
        int best = -infinity;
        Move bestMove{};
        int quiet = 0;
        for (const auto& [order, m] : ordered) {
            // Next to the horizon only the first few quiet moves are tried.
            if (depth == 1 && m.captured == empty && order < (1 << 22) && ++quiet > settings_.frontierQuietMoves)
                break;
            pos_.make(m);
            const int v = pos_.hasWon(root_) ? winScore - ply : replies(depth - 1, alpha, beta, ply + 1);
            pos_.unmake(m);
            if (aborted_) return 0;
            if (v > best) {
                best = v;
                bestMove = m;
            }
            alpha = std::max(alpha, v);
            if (alpha >= beta) {
                rewardQuiet(m, depth, ply);
                break;
            }
        }
        store(key, depth, alpha0, beta, best, bestMove);
        return best;
    }

    // The other kingdoms in their turns, from `seat` round to the root. One
    // that can hurt the root takes what it would take worst for the root, or
    // lets it be; one that cannot reach the root makes its first capture.
    // With one reply a round, once a kingdom has hurt the root the rest of
    // the round make their first capture of another kingdom, or pass.
    // A whole round costs one depth.
    // A kingdom that can hurt the root taking a piece of it only when
    // nothing else it can take is worth more (else its first capture
    // elsewhere) won 5 of the first 74 games against six LEVEL4 at seed 12000
    // where this wins 16: they do take what was left open to them.
    // Letting one kingdom a round with nothing of the root's to take try
    // instead two quiet moves that open a piece of the root's to capture
    // won 23 of the 119 games against six LEVEL4 at seed 12000 where this
    // wins 31: the lines grow gloomier, not wiser.
    int rivalsFrom(int seat, int depth, int alpha, int beta, int ply, bool replied) {
        const int rootSeat = seatOfBlock[root_];
        while (seat != rootSeat && !stillPlaying(pos_, blockOfSeat[seat])) {
            if (pos_.pieceCount(blockOfSeat[seat]) > 0) return leavingAt(seat, depth, alpha, beta, ply, replied);
            seat = seatAfter(seat);
        }
        if (seat == rootSeat || ply >= maxPly) return own(depth, alpha, beta, ply);
        if (outOfBudget()) return 0;
        const int block = blockOfSeat[seat];
        const int next = seatAfter(seat);
        std::vector<Move>& moves = lists_[ply];
        moves.clear();
        pos_.generateCaptures(block, moves);
        Move first{};
        std::size_t kept = 0;
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const Move m = moves[i];
            if (hurts(m)) moves[kept++] = m;
            else if (first.piece == 0 || captureOrder(m) > captureOrder(first)) first = m;
        }
        moves.resize(kept);
        const bool oneReply = settings_.oneReplyARound;
        if (moves.empty() || (oneReply && replied)) {
            if (first.piece == 0) return rivalsFrom(next, depth, alpha, beta, ply, replied);
            pos_.make(first);
            const int v =
                pos_.hasWon(block) ? -winScore + ply : rivalsFrom(next, depth, alpha, beta, ply + 1, replied);
            pos_.unmake(first);
            return v;
        }
        std::stable_sort(moves.begin(), moves.end(), [&](const Move& a, const Move& b) {
            return (blockOf(a.captured) == root_) * 100000 + captureOrder(a) >
                   (blockOf(b.captured) == root_) * 100000 + captureOrder(b);
        });
        int best = rivalsFrom(next, depth, alpha, beta, ply + 1, replied);
        if (aborted_) return 0;
        beta = std::min(beta, best);
        for (std::size_t i = 0; i < moves.size() && alpha < beta; ++i) {
            const Move m = lists_[ply][i];
            pos_.make(m);
            const int v = pos_.hasWon(block) ? -winScore + ply : rivalsFrom(next, depth, alpha, beta, ply + 1, true);
            pos_.unmake(m);
            if (aborted_) return 0;
            best = std::min(best, v);
            beta = std::min(beta, v);
        }
        return best;
    }

    // A kingdom out of the game leaves the board at its turn, as in the game:
    // until then its pieces stand in the way, then the lines they closed open.
    int leavingAt(int seat, int depth, int alpha, int beta, int ply, bool replied) {
        const int block = blockOfSeat[seat];
        // Each kingdom leaves once in a line: at most all of them are off at a time.
        std::vector<int>& saved = leftPieces_[static_cast<std::size_t>(leftDepth_++)];
        pos_.removeKingdom(block, saved);
        const int v = rivalsFrom(seatAfter(seat), depth, alpha, beta, ply, replied);
        pos_.restoreKingdom(block, saved);
        --leftDepth_;
        return v;
    }

    int replies(int depth, int alpha, int beta, int ply) {
        return rivalsFrom(seatAfter(seatOfBlock[root_]), depth, alpha, beta, ply, false);
    }

    // At the horizon: the root may stand on the evaluation or take.
    int quietOwn(int alpha, int beta, int ply, int left) {
        if (outOfBudget()) return 0;
        if (!stillPlaying(pos_, root_)) return -dropOutScore + ply;
        int best = leaf(true);
        if (left <= 0 || best >= beta || ply >= maxPly) return best;
        alpha = std::max(alpha, best);
        std::vector<Move>& moves = lists_[ply];
        moves.clear();
        pos_.generateCaptures(root_, moves);
        std::stable_sort(moves.begin(), moves.end(),
                         [](const Move& a, const Move& b) { return captureOrder(a) > captureOrder(b); });
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const Move m = moves[i];
            pos_.make(m);
            const int v = pos_.hasWon(root_) ? winScore - ply : quietReplies(alpha, beta, ply + 1, left - 1);
            pos_.unmake(m);
            if (aborted_) return 0;
            best = std::max(best, v);
            alpha = std::max(alpha, v);
            if (alpha >= beta) break;
        }
        return best;
    }

    // At the horizon: the others may leave the root be or take what hurts it.
    int quietReplies(int alpha, int beta, int ply, int left) {
        if (outOfBudget()) return 0;
        int rootPiecesOpen;
        int best = leaf(false, &rootPiecesOpen);
        if (left <= 0 || best <= alpha || ply >= maxPly) return best;
        beta = std::min(beta, best);
        std::vector<Move>& moves = lists_[ply];
        otherKingdoms(moves, rootPiecesOpen);
        for (std::size_t i = 0; i < moves.size(); ++i) {
            const Move m = moves[i];
            const int mover = blockOf(m.piece);
            pos_.make(m);
            const int v = pos_.hasWon(mover) ? -winScore + ply : quietOwn(alpha, beta, ply + 1, left - 1);
            pos_.unmake(m);
            if (aborted_) return 0;
            best = std::min(best, v);
            beta = std::min(beta, v);
            if (alpha >= beta) break;
        }
        return best;
    }

    Position pos_;
    const Level5Settings& settings_;
    int root_;
    std::vector<Entry>& table_;
    std::vector<Evaluated>& evaluated_;
    std::vector<std::uint64_t> gameKeys_;
    int repetitionCost_ = 0;
    int huntTarget_ = 0;
    std::chrono::steady_clock::time_point start_;
    long nodes_ = 0;
    bool aborted_ = false;
    std::vector<std::vector<Move>> lists_;
    std::vector<Move> scratch_;
    // The kingdoms taken off in the line, innermost last.
    std::array<std::vector<int>, blockCount> leftPieces_;
    int leftDepth_ = 0;
    std::array<std::array<Move, 2>, maxPly + 8> killers_{};
    std::vector<int> history_ = std::vector<int>(static_cast<std::size_t>(squareCount) * squareCount, 0);
};

}  // namespace

std::size_t level5TableBytes() { return (sizeof(Entry) << level5TableBits) + (sizeof(Evaluated) << evaluatedBits); }

int level5Evaluate(const Position& position, int block, bool toMove, const Weights& weights) {
    if (!stillPlaying(position, block)) return -dropOutScore;
    Features f;
    level5Features(position, block, toMove, f);
    return weigh(f, weights);
}

namespace {

// A score at or below this is a line that loses: a drop-out or a rival's win.
constexpr int lostScore = -dropOutScore / 2;

// How many of `block`'s pieces another kingdom could take now.
int piecesOpen(const Position& p, int block) {
    std::array<bool, squareCount> open;
    openSquares(p, block, open);
    int count = 0;
    for (int i = 0; i < p.pieceCount(block); ++i) {
        const int sq = p.pieceSquare(block, i);
        count += kindOf(p.at(sq)) != GYO && open[static_cast<std::size_t>(sq)];
    }
    return count;
}

// The move that leaves the king where no other kingdom can take it and the
// fewest pieces open to capture, then the best on the evaluation; a winning
// move first. In a game going round in a circle, one that does not go back
// to a position of the game before one that does. None: every move leaves
// the king open.
std::optional<Move> keepingTheKing(const Position& position, const Level5Settings& settings) {
    const int block = blockOfSeat[position.seatToMove()];
    std::vector<std::uint64_t> past;
    if (goingRound(position, settings)) {
        past = settings.history;
        std::sort(past.begin(), past.end());
    }
    std::vector<Move> moves;
    position.generate(block, moves);
    Position p = position;
    std::optional<Move> best;
    long long bestScore = 0;
    for (const Move& m : moves) {
        if (kindOf(m.piece) == OHU && kingMoveRefused(position, m)) continue;
        p.make(m);
        const bool won = p.hasWon(block);
        const int king = p.kingSquare(block);
        const bool safe = king != 0 && !p.capturableByOthers(king, block);
        const long long score =
            safe ? -(1LL << 40) * backInThePast(p, past) - (1LL << 32) * piecesOpen(p, block) +
                       level5Evaluate(p, block, false, settings.weights)
                 : 0;
        p.unmake(m);
        if (won) return m;
        if (safe && (!best || score > bestScore)) {
            best = m;
            bestScore = score;
        }
    }
    return best;
}

}  // namespace

Result searchLevel5(const Position& position, const Level5Settings& settings) {
    const int block = blockOfSeat.at(position.seatToMove());
    if (block == 0) return {};
    std::array<int, 2> left{};
    if (stillPlaying(position, block) && kingdomsPlaying(position, left) == 2) {
        // LEVEL4's duel, searched further.
        Settings duel;
        duel.duelBudgetFactor = settings.duelBudgetFactor;
        duel.seed = settings.seed;
        duel.history = settings.history;
        if (goingRound(position, settings)) duel.duelRepetitionScore = -winScore / 4;
        return duelSearch(position, duel, left[0] == block ? left[1] : left[0]);
    }
    const auto start = std::chrono::steady_clock::now();
    Result r = Level5Searcher(position, settings).run();
    if (!settings.rescueLostSearch || !r.move || r.score > lostScore) return r;
    // Lost against all the others together; they seldom all play against
    // one kingdom. First a search where only one of them hurts it a round,
    // then, if that is lost too, the king kept out of reach.
    if (!settings.oneReplyARound) {
        Level5Settings once = settings;
        once.oneReplyARound = true;
        // The guard against a runaway covers the whole move.
        once.secondsCap -= std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        Result second = Level5Searcher(position, once).run();
        second.nodes += r.nodes;
        if (second.move && second.depth >= 1 && second.score > lostScore) return second;
        r.nodes = second.nodes;
    }
    if (const auto kept = keepingTheKing(position, settings)) r.move = kept;
    return r;
}

}  // namespace daro::engine
