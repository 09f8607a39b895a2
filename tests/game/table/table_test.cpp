// The table as every program drives it: refusals that change nothing, mixed
// seats played to their end, and a search that gives the same move on any thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

#include "RandomPlay.h"
#include "table/Table.h"

namespace daro::test {
namespace {

std::array<SeatKind, 8> seating(const std::string& kinds) {
    std::array<SeatKind, 8> seats{};
    for (int s = 1; s <= 7; ++s) {
        const char k = kinds[static_cast<std::size_t>(s - 1)];
        seats[static_cast<std::size_t>(s)] = k == 'H' ? SeatKind{true, 0} : SeatKind{false, k - '0'};
    }
    return seats;
}

struct State {
    Board board;
    std::array<int, 8> captured, kings;
    int turnSeat, moveNumber, recordEnd;
    std::size_t recordSize;
    bool operator==(const State&) const = default;
};

State stateOf(const Table& t) {
    return {t.board, t.capturedCount, t.kingsCapturedCount, t.turnSeat, t.moveNumber, t.recordEnd, t.moveRecord.size()};
}

TEST(Table, EveryRefusalIsReachableAndChangesNothing) {
    Table t;
    EXPECT_EQ(t.submit(1, {5, 10, 6, 10}), Refusal::noGame);

    t.seat(Table::modeFree, seating("H3H3333"));
    t.drainEvents();
    const State before = stateOf(t);
    struct Case {
        int seat;
        TableMove move;
        Refusal why;
    };
    const Case cases[] = {
        {2, {5, 10, 6, 10}, Refusal::notYourTurn},    // 秦 is to move
        {1, {6, 15, 6, 14}, Refusal::notYourPiece},   // 楚's piece
        {1, {8, 8, 8, 9}, Refusal::notYourPiece},     // an empty square
        {1, {0, 10, 1, 10}, Refusal::notYourPiece},   // off the board
        {1, {5, 10, 5, 3}, Refusal::illegalMove},     // the 行 goes one square
        {1, {1, 10, 1, 11}, Refusal::illegalMove},    // onto its own piece
    };
    for (const Case& c : cases) {
        EXPECT_EQ(t.submit(c.seat, c.move), c.why) << c.move.fromX << "," << c.move.fromY;
        EXPECT_EQ(stateOf(t), before);
        EXPECT_TRUE(t.drainEvents().empty());
    }

    // A king move onto a square another kingdom reaches, found in seeded
    // games of seven humans: refused, with the board and the survey as they were.
    int refusedKings = 0;
    for (unsigned seed = 1; seed <= 20 && refusedKings < 5; ++seed) {
        std::mt19937 rng(seed);
        Table k;
        k.seat(Table::modeSevenPlayers, seating("HHHHHHH"));
        for (int turn = 0; turn < 300 && k.next().kind == StepKind::human && refusedKings < 5; ++turn) {
            const int seat = k.turnSeat;
            std::vector<Move> moves = legalMoves(k, seat);
            for (const Move& m : moves) {
                if (!Table::isKingCode(m.piece) || !k.kingSquareReached(m.fromX, m.fromY, m.toX, m.toY, m.piece))
                    continue;
                k.drainEvents();
                const State kingBefore = stateOf(k);
                const auto influence = k.influenceTotal;
                EXPECT_EQ(k.submit(seat, {m.fromX, m.fromY, m.toX, m.toY}), Refusal::kingSquareReached);
                EXPECT_EQ(stateOf(k), kingBefore);
                EXPECT_EQ(k.influenceTotal, influence);
                EXPECT_TRUE(k.drainEvents().empty());
                ++refusedKings;
                break;
            }
            std::shuffle(moves.begin(), moves.end(), rng);
            for (const Move& m : moves)
                if (k.submit(seat, {m.fromX, m.fromY, m.toX, m.toY}) == Refusal::none) break;
            while (k.next().kind == StepKind::pass || k.next().kind == StepKind::dropOut) k.step();
        }
    }
    EXPECT_GT(refusedKings, 0);
}

// Plays a seeded game: humans pick random accepted moves, computers think.
std::vector<TableEvent> playOut(Table& t, std::mt19937& rng, int maxSteps) {
    std::vector<TableEvent> events;
    for (int step = 0; step < maxSteps && !t.over(); ++step) {
        const Step s = t.next();
        if (s.kind == StepKind::none) break;
        if (s.kind == StepKind::paused) {
            t.resume();
        } else if (s.kind == StepKind::human) {
            std::vector<Move> moves = legalMoves(t, s.seat);
            std::shuffle(moves.begin(), moves.end(), rng);
            bool moved = false;
            for (const Move& m : moves) {
                const Refusal r = t.submit(s.seat, {m.fromX, m.fromY, m.toX, m.toY});
                EXPECT_TRUE(r == Refusal::none || r == Refusal::kingSquareReached);
                if (r == Refusal::none) {
                    moved = true;
                    break;
                }
            }
            if (!moved) break;
        } else if (s.kind == StepKind::computerMove) {
            t.commitComputerMove(s.seat, think(t.snapshot()));
        } else {
            t.step();
        }
        for (const TableEvent& e : t.drainEvents()) events.push_back(e);
    }
    return events;
}

TEST(Table, MixedSeatsPlayToAnEndThatTheirSeatsAllow) {
    int ended = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        Table t;
        t.seat(Table::modeFree, seating(seed % 2 ? "H1H1111" : "1H1H1H1"));
        const auto events = playOut(t, rng, 4000);
        int humansLeft = 0;
        for (int s = 1; s <= 7; ++s)
            if (t.seatPlayer[s] == Table::playerHuman && t.調査_駒数(s) > 0) ++humansLeft;
        if (!t.outcome()) continue;
        ++ended;
        const Outcome& o = *t.outcome();
        EXPECT_EQ(events.back().kind, TableEventKind::gameOver);
        EXPECT_NE(o.kind, OutcomeKind::humanGone) << "several humans sat, seed " << seed;
        if (o.kind == OutcomeKind::noHumanLeft) {
            EXPECT_EQ(humansLeft, 0) << seed;
        }
        EXPECT_EQ(t.next().kind, StepKind::none);
        // The game is over for every driver: nothing more is accepted.
        EXPECT_EQ(t.submit(t.turnSeat, {1, 1, 1, 2}), Refusal::noGame);
    }
    EXPECT_GT(ended, 0);
}

TEST(Table, NoHumanSeatMeansTheComputersPlayToTheEnd) {
    std::mt19937 rng(3);
    Table t;
    t.seat(Table::modeFree, seating("1231231"));
    for (const TableEvent& e : playOut(t, rng, 5000)) EXPECT_NE(e.kind, TableEventKind::paused);
    ASSERT_TRUE(t.outcome());
    EXPECT_EQ(t.outcome()->kind, OutcomeKind::win);
}

TEST(Table, TheSearchChoosesTheSameMoveOnAnyThread) {
    Table t;
    std::mt19937 rng(11);
    playRandomMoves(t, rng, 60);
    for (int level : {1, 3, Table::levelFour}) {
        SearchRequest r = t.snapshot();
        r.seat = t.turnSeat;
        r.level = level;
        std::optional<ChosenMove> there;
        std::thread([&] { there = think(r); }).join();
        EXPECT_EQ(there, think(r)) << "level " << level;
    }
}

}  // namespace
}  // namespace daro::test
