// The LEVEL4 engine against the game's own rules: its moves are exactly the
// moves 移動チェック accepts, its king test is the board click's, its
// influence is the survey's, make/unmake restores exactly, and its search
// always answers a legal move (or none when there is none).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "RandomPlay.h"
#include "table/Table.h"
#include "engine/Search.h"

namespace daro::test {
namespace {

using engine::Position;
using MoveKey = std::tuple<int, int, int, int, int>;

engine::Position positionOf(const Table& f, int seat) {
    return Position(f.board, f.capturedCount, f.kingsCapturedCount, seat);
}

std::set<MoveKey> engineMoves(const Table& f, int seat) {
    std::vector<engine::Move> moves;
    positionOf(f, seat).generate(Table::blockOfSeat(seat), moves);
    std::set<MoveKey> keys;
    for (const auto& m : moves) {
        const bool fresh = keys.insert({engine::fileOf(m.from), engine::rankOf(m.from), engine::fileOf(m.to),
                                        engine::rankOf(m.to), m.piece})
                               .second;
        EXPECT_TRUE(fresh) << "a move generated twice";
        EXPECT_EQ(m.captured, f.board[engine::fileOf(m.to)][engine::rankOf(m.to)]);
    }
    return keys;
}

std::set<MoveKey> checkedMoves(const Table& f, int seat) {
    std::set<MoveKey> keys;
    for (const Move& m : legalMoves(f, seat)) keys.insert({m.fromX, m.fromY, m.toX, m.toY, m.piece});
    return keys;
}

// The game's own rule for a king's move, as the table refuses it.
bool clickRefusesKingMove(Table& f, const Move& m) {
    return f.kingSquareReached(m.fromX, m.fromY, m.toX, m.toY, m.piece);
}

// Seeded random games: every legal move equally likely, a kingdom whose king
// is gone taken off when its turn comes, so boards thin out as in play.
class RandomGames : public ::testing::Test {
protected:
    Table table;

    template <class Visit>
    void play(unsigned seed, int moves, Visit&& visit) {
        table.初期設定();
        std::mt19937 rng(seed);
        int seat = 1;
        for (int i = 0; i < moves; ++i) {
            if (table.存在チェック駒(Table::取得_手番王(seat)) == Table::valueNo) {
                for (auto& column : table.board)
                    for (int& c : column)
                        if (Table::blockOfCode(c) == Table::blockOfSeat(seat)) c = Table::emptyCode;
                bool anyone = false;
                for (int s = 1; s <= 7; ++s) anyone = anyone || table.調査_駒数(s) > 0;
                if (!anyone) return;
                seat = table.手番_進(seat);
                continue;
            }
            visit(seat);
            const std::vector<Move> legal = legalMoves(table, seat);
            if (!legal.empty()) {
                const Move& m = legal[rng() % legal.size()];
                table.駒移動(m.fromX, m.fromY, m.toX, m.toY, m.piece);
            }
            seat = table.手番_進(seat);
        }
    }
};

TEST_F(RandomGames, MovesAreExactlyThoseTheMoveCheckAccepts) {
    table.初期設定();
    for (int seat = 1; seat <= 7; ++seat) EXPECT_EQ(engineMoves(table, seat), checkedMoves(table, seat)) << seat;

    long positions = 0, captures = 0, cannonCaptures = 0, cavalryMoves = 0;
    for (unsigned seed = 1; seed <= 120; ++seed) {
        play(seed, 260, [&](int seat) {
            ++positions;
            const auto mine = engineMoves(table, seat);
            const auto theirs = checkedMoves(table, seat);
            ASSERT_EQ(mine, theirs) << "seed " << seed << " seat " << seat;
            for (const auto& [fx, fy, tx, ty, piece] : mine) {
                if (table.board[tx][ty] == Table::emptyCode) {
                    cavalryMoves += Table::kindOf(piece) == Table::KIB;
                    continue;
                }
                ++captures;
                cannonCaptures += Table::kindOf(piece) == Table::HOU;
            }
            // Now and then every kingdom, not only the one to move.
            if (positions % 16 == 0) {
                const Position p = positionOf(table, seat);
                for (int s = 1; s <= 7; ++s) {
                    ASSERT_EQ(engineMoves(table, s), checkedMoves(table, s));
                    // The evaluation's tally counts what the generator lists.
                    std::vector<engine::Move> listed;
                    p.generate(engine::blockOfSeat[s], listed);
                    Position::MoveTally tally;
                    p.tallyMoves(engine::blockOfSeat[s], tally);
                    std::array<int, 10> takes{};
                    for (const engine::Move& m : listed)
                        if (m.captured != engine::empty) ++takes[static_cast<std::size_t>(engine::kindOf(m.captured))];
                    ASSERT_EQ(tally.moves, static_cast<int>(listed.size()));
                    ASSERT_EQ(tally.takes, takes);
                }
            }
        });
    }
    EXPECT_GT(positions, 25000);
    // The games reach what the rules make special.
    EXPECT_GT(captures, 1000);
    EXPECT_GT(cannonCaptures, 50);
    EXPECT_GT(cavalryMoves, 10000);
}

TEST_F(RandomGames, KingTestCaptureTestAndInfluenceAreTheGames) {
    long kingMoves = 0, refused = 0;
    for (unsigned seed = 200; seed < 230; ++seed) {
        int n = 0;
        play(seed, 240, [&](int seat) {
            if (++n % 6 != 0) return;
            const Position p = positionOf(table, seat);
            for (const Move& m : legalMoves(table, seat)) {
                if (!Table::isKingCode(m.piece)) continue;
                ++kingMoves;
                const engine::Move em{static_cast<std::int16_t>(engine::square(m.fromX, m.fromY)),
                                      static_cast<std::int16_t>(engine::square(m.toX, m.toY)),
                                      static_cast<std::int8_t>(m.piece),
                                      static_cast<std::int8_t>(table.board[m.toX][m.toY])};
                const bool click = clickRefusesKingMove(table, m);
                refused += click;
                ASSERT_EQ(engine::kingMoveRefused(p, em), click)
                    << "seed " << seed << " king " << m.piece << " to " << m.toX << "," << m.toY;
            }
            // The evaluation's capture test: some other kingdom has a move onto the square.
            std::vector<engine::Move> all;
            for (int b = 1; b <= 7; ++b) p.generate(b, all);
            for (int x = 1; x <= 19; ++x)
                for (int y = 1; y <= 19; ++y) {
                    const int code = table.board[x][y];
                    const int b = Table::blockOfCode(code);
                    if (b == 0 || Table::kindOf(code) == Table::GYO) continue;
                    const int sq = engine::square(x, y);
                    const bool taken = std::any_of(all.begin(), all.end(), [&](const engine::Move& m) {
                        return m.to == sq && Table::blockOfCode(m.piece) != b;
                    });
                    ASSERT_EQ(p.capturableByOthers(sq, b), taken) << "seed " << seed << " at " << x << "," << y;
                    // Only the cavalry near the kingdom is listed; it must be enough.
                    Position::SquareList near;
                    ASSERT_EQ(p.capturableByOthers(sq, b, near, p.otherCavalryNear(b, 0, near)), taken);
                }
            // And one step out, where the king's room is counted.
            for (int b = 1; b <= 7; ++b) {
                const int king = p.kingSquare(b);
                if (king == 0) continue;
                Position::SquareList near;
                const int n = p.otherCavalryNear(b, 1, near);
                for (int d : {-22, -21, -20, -1, 1, 20, 21, 22}) {
                    if (p.at(king + d) == engine::empty) {
                        ASSERT_EQ(p.reachedByOthers(king + d, b, near, n), p.reachedByOthers(king + d, b));
                    }
                }
            }
            std::array<std::uint8_t, engine::squareCount> total;
            std::array<std::array<std::uint8_t, engine::squareCount>, 8> byBlock;
            p.influence(total, byBlock);
            table.勢力調査();
            for (int x = 1; x <= 19; ++x)
                for (int y = 1; y <= 19; ++y) {
                    ASSERT_EQ(total[engine::square(x, y)], table.influenceTotal[x][y]) << x << "," << y;
                    for (int b = 1; b <= 7; ++b)
                        ASSERT_EQ(byBlock[b][engine::square(x, y)], table.kingdomInfluence[b][x][y]);
                }
        });
    }
    EXPECT_GT(kingMoves, 2000);
    EXPECT_GT(refused, 200);
    EXPECT_LT(refused, kingMoves);
}

TEST_F(RandomGames, MakeAndUnmakeRestoreThePositionExactly) {
    for (unsigned seed = 300; seed < 340; ++seed) {
        // One engine position follows the whole game, captures and all, and
        // must equal a position built afresh from the game's board.
        std::vector<engine::Move> line;
        table.初期設定();
        Position followed = positionOf(table, 1);
        const Position start = followed;
        std::mt19937 rng(seed);
        int seat = 1;
        for (int i = 0; i < 200; ++i) {
            followed.setSeatToMove(seat);
            // A fresh build may list pieces in another order; the squares and hash agree.
            const Position fresh = positionOf(table, seat);
            ASSERT_EQ(followed.hash(), fresh.hash()) << "seed " << seed << " move " << i;
            for (int sq = 0; sq < engine::squareCount; ++sq) ASSERT_EQ(followed.at(sq), fresh.at(sq));
            std::vector<engine::Move> moves;
            followed.generate(Table::blockOfSeat(seat), moves);
            for (const auto& m : moves) {
                Position copy = followed;
                copy.make(m);
                ASSERT_EQ(copy.at(m.to), m.piece);
                copy.unmake(m);
                ASSERT_TRUE(copy == followed) << "seed " << seed << " move " << i;
            }
            if (!moves.empty()) {
                const auto m = moves[rng() % moves.size()];
                followed.make(m);
                line.push_back(m);
                table.駒移動(engine::fileOf(m.from), engine::rankOf(m.from), engine::fileOf(m.to),
                          engine::rankOf(m.to), m.piece);
            }
            // The engine's counters follow the game's.
            for (int b = 1; b <= 7; ++b) {
                ASSERT_EQ(followed.captured(b), table.capturedCount[b]);
                ASSERT_EQ(followed.kingsCaptured(b), table.kingsCapturedCount[b]);
                ASSERT_EQ(followed.pieceCount(b), table.調査_駒数(Table::seatOfBlock(b)));
            }
            seat = seat % 7 + 1;
        }
        // A drop-out taken back, then the whole game taken back.
        std::vector<int> saved;
        const Position before = followed;
        followed.removeKingdom(3, saved);
        EXPECT_EQ(followed.pieceCount(3), 0);
        followed.restoreKingdom(3, saved);
        EXPECT_TRUE(followed == before);
        for (auto it = line.rbegin(); it != line.rend(); ++it) followed.unmake(*it);
        followed.setSeatToMove(1);
        EXPECT_TRUE(followed == start) << "seed " << seed;
    }
}

// Thousands of short and long random games, played on the engine's own
// position (its moves are the game's, above); at a few points of each the
// search must answer one of the moves 移動チェック accepts, or none when there is none.
TEST(Search, AnswersALegalMoveWheneverThereIsOne) {
    Table table;
    table.初期設定();
    const Board initial = table.board;
    engine::Settings quick;
    quick.nodeBudget = 300;
    long searched = 0, without = 0, single = 0;
    for (unsigned game = 0; game < 1500; ++game) {
        std::mt19937 rng(game);
        Position p(initial, {}, {}, 1);
        const int length = static_cast<int>(rng() % 400);
        int seat = 1;
        std::vector<engine::Move> moves;
        for (int i = 0; i <= length; ++i) {
            const int block = Table::blockOfSeat(seat);
            if (p.pieceCount(block) > 0 && p.kingSquare(block) == 0) {
                std::vector<int> saved;
                p.removeKingdom(block, saved);
            }
            moves.clear();
            p.generate(block, moves);
            if (p.pieceCount(block) > 0 && (i == length || i % 97 == 50)) {
                p.setSeatToMove(seat);
                for (int x = 1; x <= 19; ++x)
                    for (int y = 1; y <= 19; ++y) table.board[x][y] = p.at(engine::square(x, y));
                const auto legal = checkedMoves(table, seat);
                quick.method = game % 2 ? engine::Method::bestReply : engine::Method::paranoid;
                quick.seed = game;
                const engine::Result r = engine::search(p, quick);
                ++searched;
                without += legal.empty();
                single += legal.size() == 1;
                ASSERT_EQ(r.move.has_value(), !legal.empty()) << "game " << game;
                if (r.move) {
                    const auto& m = *r.move;
                    ASSERT_TRUE(legal.count({engine::fileOf(m.from), engine::rankOf(m.from), engine::fileOf(m.to),
                                             engine::rankOf(m.to), m.piece}))
                        << "game " << game;
                }
            }
            if (!moves.empty()) p.make(moves[rng() % moves.size()]);
            int next = seat;
            for (int k = 0; k < 7; ++k) {
                next = next % 7 + 1;
                if (p.pieceCount(Table::blockOfSeat(next)) > 0) break;
            }
            seat = next;
        }
    }
    EXPECT_GT(searched, 3000);
}

// A kingdom boxed in: its king in the corner among its own GYOs, which other
// kingdoms' GYOs wall in (nothing may take a GYO).
void boxIn(Table& f) {
    for (auto& column : f.board) column.fill(Table::emptyCode);
    f.board[10][10] = Table::centreCode;
    for (int x = 1; x <= 4; ++x)
        for (int y = 1; y <= 3; ++y) f.board[x][y] = 50;
    f.board[1][1] = 59;
    for (int y = 1; y <= 4; ++y) f.board[5][y] = 10;
    for (int x = 1; x <= 4; ++x) f.board[x][4] = 20;
    f.board[19][19] = 19;
    f.board[19][1] = 29;
}

TEST(Search, OneMoveIsPlayedAndNoMoveIsAPass) {
    Table table;
    boxIn(table);
    EXPECT_FALSE(engine::search(positionOf(table, 1), {}).move);

    // A lone king with one free square beside it, walled by GYOs beyond.
    for (auto& column : table.board) column.fill(Table::emptyCode);
    table.board[10][10] = Table::centreCode;
    table.board[1][1] = 59;
    table.board[2][1] = table.board[2][2] = 10;
    table.board[1][3] = table.board[2][3] = 20;
    table.board[19][19] = 19;
    const auto r = engine::search(positionOf(table, 1), {});
    ASSERT_TRUE(r.move);
    EXPECT_EQ(r.move->from, engine::square(1, 1));
    EXPECT_EQ(r.move->to, engine::square(1, 2));
}

TEST(Search, LevelFourPlaysTheEnginesMoveAndIsRepeatable) {
    Table table;
    std::mt19937 rng(7);
    table.初期設定();
    playRandomMoves(table, rng, 40);
    const int seat = table.turnSeat;
    engine::Settings s;
    s.secondsCap = 1000;  // only the node budget bounds it, however busy the machine
    const auto first = engine::search(positionOf(table, seat), s);
    const auto again = engine::search(positionOf(table, seat), s);
    ASSERT_TRUE(first.move && again.move);
    EXPECT_EQ(*first.move, *again.move);
    EXPECT_EQ(first.nodes, again.nodes);
    EXPECT_GE(first.depth, 2);
}

TEST(Search, TakesTheKingThatWins) {
    Table table;
    for (auto& column : table.board) column.fill(Table::emptyCode);
    table.board[10][10] = Table::centreCode;
    // Block 5 (seat 1) has one king already; a second one on an open file wins.
    table.capturedCount[5] = 5;
    table.kingsCapturedCount[5] = 1;
    table.board[3][3] = 58;   // HII
    table.board[3][15] = 19;  // a king, straight down the column
    table.board[1][1] = 59;
    for (int y = 5; y <= 15; ++y) table.board[1][y] = 52;
    table.board[17][17] = 29;
    const auto r = engine::search(positionOf(table, 1), {});
    ASSERT_TRUE(r.move);
    EXPECT_EQ(r.move->to, engine::square(3, 15));
}

}  // namespace
}  // namespace daro::test
