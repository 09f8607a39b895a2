// The lobby without sockets, on a clock the test turns: grace and the
// stand-in, tables brought back from the store, idle tables let go.
#include "LobbyFixture.h"

namespace daro::server {
namespace {

TEST_F(LobbyTest, TheComputerTakesTheSeatOnlyWhenGraceRunsOutAndGivesItBack) {
    arrive(1, "stays");
    arrive(2, "leaves");
    const std::string code = create(1, {"human", "human", "level1", "level1", "level1", "level1", "level1"}, 30);
    say(1, {{"type", "join"}, {"code", code}, {"seat", 1}});
    say(2, {{"type", "join"}, {"code", code}, {"seat", 2}});
    const std::string token = out.last(2, "joined")["token"];
    playFor(1, code);
    lobby->disconnected(2, now);
    ASSERT_EQ(lobby->findTable(code)->table.next(), (Step{StepKind::human, 2}));

    lobby->tick(now + 29);
    EXPECT_TRUE(out.searches.empty()) << "the seat must wait out its grace";
    EXPECT_EQ(out.last(1, "seat")["graceLeft"].get<double>(), 30.0);
    now += 31;
    lobby->tick(now);
    ASSERT_EQ(out.searches.size(), 1u);
    EXPECT_EQ(out.searches.front().request.seat, 2);
    EXPECT_EQ(out.last(1, "seat")["playedBy"], "computer");
    think();
    EXPECT_EQ(lobby->findTable(code)->table.next(), (Step{StepKind::human, 1}));

    // Back on a new connection: the seat is the player's from the next turn.
    arrive(3, "back");
    say(3, {{"type", "reconnect"}, {"code", code}, {"seat", 2}, {"token", token}});
    EXPECT_EQ(out.last(3, "table")["you"], 2);
    playFor(1, code);
    think();
    EXPECT_EQ(lobby->findTable(code)->table.next(), (Step{StepKind::human, 2}));
    EXPECT_TRUE(out.searches.empty());
}

TEST_F(LobbyTest, ARestoredTableReplaysItsStandInsAndEndsWhereItWas) {
    arrive(1, "a");
    arrive(2, "b");
    const std::string code = create(1, {"human", "human", "level1", "level2", "level1", "level3", "level1"}, 0);
    say(1, {{"type", "join"}, {"code", code}, {"seat", 1}});
    say(2, {{"type", "join"}, {"code", code}, {"seat", 2}});
    const std::string token = out.last(2, "joined")["token"];
    lobby->disconnected(2, now);  // no grace: the computer plays seat 2 at once
    for (int i = 0; i < 12; ++i) {
        lobby->tick(now += 1);
        think();
        if (lobby->findTable(code)->table.next().seat == 1) playFor(1, code);
    }
    arrive(3, "b again");
    say(3, {{"type", "reconnect"}, {"code", code}, {"seat", 2}, {"token", token}});
    const Table before = lobby->findTable(code)->table;
    const std::vector<std::string> lines = lobby->findTable(code)->lines;
    ASSERT_NE(std::find(lines.begin(), lines.end(), "standin 2 1"), lines.end());
    ASSERT_NE(std::find(lines.begin(), lines.end(), "player 2"), lines.end());

    // A new lobby on the same store: the game, the seats and who plays them.
    out.searches.clear();
    lobby = std::make_unique<Lobby>(store, out);
    lobby->restore(now);
    const GameTable* t = lobby->findTable(code);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->table.board, before.board);
    EXPECT_EQ(t->table.moveNumber, before.moveNumber);
    EXPECT_EQ(t->lines, lines);
    EXPECT_FALSE(t->seats[2].standIn);
    EXPECT_EQ(t->seats[2].conn, 0u);
    EXPECT_GE(t->seats[2].graceEnds, now);
    arrive(4, "b once more");
    say(4, {{"type", "reconnect"}, {"code", code}, {"seat", 2}, {"token", token}});
    EXPECT_EQ(out.last(4, "joined")["seat"], 2);
}

TEST_F(LobbyTest, AStoredGameThatDoesNotReplayIsLeftOutNotTrusted) {
    arrive(1, "a");
    const std::string code = create(1, {"human", "level1", "level1", "level1", "level1", "level1", "level1"}, 90);
    say(1, {{"type", "join"}, {"code", code}, {"seat", 1}});
    // A line no rule allows, as if the file had been edited.
    ASSERT_TRUE(store.appendLines(code, static_cast<int>(lobby->findTable(code)->lines.size()),
                                  {"move 1 1 1 1 19 19 11 0"}));
    lobby = std::make_unique<Lobby>(store, out);
    lobby->restore(now);
    EXPECT_EQ(lobby->findTable(code), nullptr);
    EXPECT_NE(std::find_if(out.logged.begin(), out.logged.end(),
                           [&](const std::string& l) { return l.find(code + " could not be restored") == 0; }),
              out.logged.end());
}

TEST_F(LobbyTest, IdleTablesAreLetGoAndOnlyFinishedGamesStayDownloadable) {
    arrive(1, "a");
    const std::string waiting = create(1, {"human", "human", "level1", "level1", "level1", "level1", "level1"}, 90);
    const std::string finished = create(1, std::vector<std::string>(7, "level1"), 90);
    for (int i = 0; i < 3000 && lobby->findTable(finished)->status != GameTable::Status::over; ++i) think();
    ASSERT_EQ(lobby->findTable(finished)->status, GameTable::Status::over);
    const std::string game = lobby->gameFile(finished);

    lobby->tick(now + 10);
    lobby->tick(now + 4000);
    EXPECT_EQ(lobby->findTable(waiting), nullptr);
    EXPECT_EQ(lobby->findTable(finished), nullptr);
    EXPECT_FALSE(store.table(waiting));
    EXPECT_EQ(lobby->gameFile(finished), game);
    say(1, {{"type", "download"}, {"code", finished}});
    EXPECT_EQ(out.last(1, "game")["text"], game);
    EXPECT_EQ(out.last(1, "game")["finished"], true);
}

TEST_F(LobbyTest, OneAddressHoldsOnlySoManyUnfinishedTablesAndFinishedOrForgottenOnesMakeRoom) {
    Limits limits;
    limits.tablesPerAddress = 2;
    lobby = std::make_unique<Lobby>(store, out, limits);
    const std::vector<std::string> computers(7, "level1");
    const std::vector<std::string> humans = {"human", "human", "level1", "level1", "level1", "level1", "level1"};
    auto refusal = [&](ConnId who) {
        const Json e = out.last(who, "error");
        return e.is_null() ? std::string() : e["code"].get<std::string>();
    };
    arrive(1, "a");
    arrive(2, "b");  // the same address
    lobby->connected(3, "198.51.100.7", now);
    say(3, {{"type", "hello"}, {"version", 1}});

    const std::string played = create(1, computers, 90);
    const std::string waiting = create(1, humans, 90);
    ASSERT_NE(lobby->findTable(played), nullptr);
    ASSERT_NE(lobby->findTable(waiting), nullptr);
    say(1, {{"type", "create"}, {"seats", humans}});
    EXPECT_EQ(refusal(1), "too_many_tables");
    say(2, {{"type", "create"}, {"seats", humans}});
    EXPECT_EQ(refusal(2), "too_many_tables");
    EXPECT_EQ(lobby->tableCount(), 2u);
    // Another address is not held back.
    EXPECT_FALSE(create(3, humans, 90).empty());
    EXPECT_EQ(lobby->tableCount(), 3u);

    // A finished game no longer counts.
    for (int i = 0; i < 3000 && lobby->findTable(played)->status != GameTable::Status::over; ++i) think();
    ASSERT_EQ(lobby->findTable(played)->status, GameTable::Status::over);
    const std::string third = create(2, humans, 90);
    EXPECT_FALSE(third.empty());
    say(1, {{"type", "create"}, {"seats", humans}});
    EXPECT_EQ(refusal(1), "too_many_tables");

    // Tables nobody came to are let go, and with them the address's count.
    lobby->tick(now + 10);
    lobby->tick(now + 4000);
    EXPECT_EQ(lobby->findTable(waiting), nullptr);
    EXPECT_EQ(lobby->findTable(third), nullptr);
    EXPECT_FALSE(create(1, humans, 90).empty());
}

}  // namespace
}  // namespace daro::server
