// Turn-based tables, rematches and `mine` without sockets, on a clock the
// test turns: the move clock and abandoned seats, tables let go of memory
// and loaded again from the store, across restarts.
#include <unistd.h>

#include <filesystem>

#include "LobbyFixture.h"

namespace daro::server {
namespace {

const std::vector<std::string> oneHuman = {"human", "level1", "level1", "level1", "level1", "level1", "level1"};
const std::vector<std::string> twoHumans = {"human", "human", "level1", "level1", "level1", "level1", "level1"};

class TurnTest : public LobbyTest {
protected:
    std::string createTurn(ConnId who, const std::vector<std::string>& seats, int moveSeconds) {
        say(who, {{"type", "create"}, {"seats", seats}, {"level", 1}, {"pace", "turn"}, {"moveSeconds", moveSeconds},
                  {"hints", true}});
        return out.last(who, "created")["code"];
    }
    std::string join(ConnId who, const std::string& code) {
        say(who, {{"type", "join"}, {"code", code}});
        return out.last(who, "joined")["token"];
    }
    // Ticks the clock on by `seconds`, a second at a time; the pool answers
    // the searches asked for by then, each with its move a second later.
    void pass(double seconds) {
        for (double end = now + seconds; now < end;) {
            now += 1;
            lobby->tick(now);
            for (auto waiting = out.searches.size(); waiting > 0 && !out.searches.empty(); --waiting) {
                auto s = out.searches.front();
                out.searches.pop_front();
                lobby->searched(s.code, s.ticket, daro::think(s.request), now);
            }
        }
    }
    // Until the seat is to move again (the computers have moved meanwhile).
    void waitForSeat(const std::string& code, int seat) {
        for (int guard = 0; guard < 30; ++guard) {
            pass(1);
            const GameTable* t = lobby->findTable(code);
            if (t->status != GameTable::Status::playing || (!t->searching && t->table.next().seat == seat)) return;
        }
    }
    std::vector<std::string> linesOf(const std::string& code) { return lobby->findTable(code)->lines; }
    static int count(const std::vector<std::string>& lines, const std::string& start) {
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; }));
    }
    std::vector<Json> notices(ConnId who) {
        std::vector<Json> found;
        for (const Json& j : out.inbox[who])
            if (j["type"] == "chat" && j.contains("notice")) found.push_back(j);
        return found;
    }
};

TEST_F(TurnTest, ASeatAwayForThreeMoveTimesIsAbandonedAndItsPlayerTakesItBack) {
    arrive(1, "away");
    arrive(2, "watcher");
    const std::string code = createTurn(1, oneHuman, 60);
    const std::string token = join(1, code);
    const Json first = out.last(1, "table");
    EXPECT_EQ(first["pace"], "turn");
    EXPECT_EQ(first["moveSeconds"], 60);
    EXPECT_EQ(first["hints"], true);
    const Json turn = out.last(1, "turn");
    ASSERT_EQ(turn["seat"], 1);
    EXPECT_NEAR(turn["left"].get<double>(), 60, 1);
    lobby->disconnected(1, now);

    // Away, the seat still has its whole move time: no grace, no stand-in.
    pass(50);
    EXPECT_EQ(count(linesOf(code), "timeout"), 0);
    say(2, {{"type", "spectate"}, {"code", code}});
    EXPECT_NEAR(out.last(2, "table")["turnLeft"].get<double>(), 10, 1.5);

    for (int missed = 1; missed <= 3; ++missed) {
        const double since = now;
        for (int guard = 0; guard < 70 && count(linesOf(code), "timeout") < missed; ++guard) pass(1);
        // The first wait was mostly over; later ones are the whole move time.
        EXPECT_NEAR(now - since, missed == 1 ? 10 : 60, 2) << "the seat had its whole move time";
        if (missed < 3) waitForSeat(code, 1);
        const auto lines = linesOf(code);
        EXPECT_EQ(count(lines, "timeout 1"), missed);
        EXPECT_EQ(lobby->findTable(code)->seats[1].missed, missed);
        if (missed < 3) ASSERT_EQ(count(lines, "move "), 7 * missed) << "the computer moved for the seat, the others went on";
    }
    const auto lines = linesOf(code);
    EXPECT_EQ(count(lines, "standin 1 1"), 1);
    ASSERT_EQ(notices(2).size(), 1u);
    EXPECT_EQ(notices(2)[0]["notice"], "abandoned");
    EXPECT_EQ(notices(2)[0]["noticeSeat"], 1);
    EXPECT_EQ(notices(2)[0]["seat"], 0);
    // Abandoned, the computer plays the seat without waiting for its clock.
    waitForSeat(code, 2);
    const auto played = linesOf(code);
    const auto standin = std::find(played.begin(), played.end(), "standin 1 1");
    EXPECT_TRUE(std::any_of(standin, played.end(), [](const std::string& l) { return l.find("move ") == 0 && l.find(" 1 ", 5) == l.find(' ', 5); }))
        << "seat 1 moved again, with no timeout";
    EXPECT_EQ(count(linesOf(code), "timeout"), 3);

    // Back with the token: the player's seat again, a fresh clock, a notice.
    arrive(3, "back");
    say(3, {{"type", "reconnect"}, {"code", code}, {"seat", 1}, {"token", token}});
    ASSERT_FALSE(out.last(3, "joined").is_null());
    const Json back = out.last(3, "table");
    EXPECT_EQ(back["seats"][0]["playedBy"], "player");
    EXPECT_EQ(back["seats"][0]["missed"], 0);
    EXPECT_EQ(back["seats"][0]["abandoned"], false);
    EXPECT_EQ(notices(2).back()["notice"], "back");
    EXPECT_EQ(linesOf(code).back(), "player 1");
    // The whole record, the server's lines included, replays on a fresh table.
    TableMirror mirror;
    ASSERT_TRUE(mirror.start(back));
    EXPECT_EQ(mirror.table.board, lobby->findTable(code)->table.board);

    // A restart replays the record to the same counts and clock.
    const double ends = lobby->findTable(code)->turnEnds;
    lobby = std::make_unique<Lobby>(store, out);
    lobby->restore(now);
    say(3, {{"type", "ping"}});
    arrive(4, "again");
    say(4, {{"type", "reconnect"}, {"code", code}, {"seat", 1}, {"token", token}});
    const GameTable* t = lobby->findTable(code);
    ASSERT_NE(t, nullptr) << "brought back from the store on reconnect";
    EXPECT_EQ(t->seats[1].missed, 0);
    EXPECT_FALSE(t->seats[1].standIn);
    EXPECT_DOUBLE_EQ(t->turnEnds, ends);
}

TEST_F(TurnTest, AMoveCountsAsTheSeatsOwnAndMissedMovesAreCountedOnlyInARow) {
    arrive(1, "slow");
    const std::string code = createTurn(1, oneHuman, 60);
    join(1, code);
    pass(61);  // one missed
    waitForSeat(code, 1);
    ASSERT_EQ(lobby->findTable(code)->seats[1].missed, 1);
    ASSERT_EQ(out.last(1, "seat")["missed"], 1);
    pass(30);
    playFor(1, code);
    EXPECT_EQ(lobby->findTable(code)->seats[1].missed, 0);
    for (int missed = 1; missed <= 2; ++missed) {
        waitForSeat(code, 1);
        pass(61);
    }
    waitForSeat(code, 1);
    EXPECT_EQ(lobby->findTable(code)->seats[1].missed, 2);
    EXPECT_FALSE(lobby->findTable(code)->seats[1].standIn) << "two in a row are not three";
    // A restart counts the same from the stored record.
    lobby = std::make_unique<Lobby>(store, out);
    lobby->restore(now);
    arrive(2, "looker");
    say(2, {{"type", "spectate"}, {"code", code}});
    ASSERT_NE(lobby->findTable(code), nullptr);
    EXPECT_EQ(lobby->findTable(code)->seats[1].missed, 2);
}

TEST_F(TurnTest, PaceFieldsAreCheckedAndQuickPlayKeepsPacesApart) {
    arrive(1, "a");
    for (const Json& bad : {Json{{"pace", "slow"}}, Json{{"pace", "turn"}, {"moveSeconds", 59}},
                            Json{{"pace", "turn"}, {"moveSeconds", 7 * 86400 + 1}}, Json{{"moveSeconds", 600}},
                            Json{{"pace", "turn"}, {"moveSeconds", "600"}}, Json{{"hints", 1}}}) {
        Json m = {{"type", "create"}, {"seats", oneHuman}};
        m.update(bad);
        say(1, m);
        EXPECT_EQ(out.last(1, "error")["code"], "malformed") << bad;
        out.inbox[1].clear();
    }
    say(1, {{"type", "create"}, {"seats", oneHuman}, {"pace", "turn"}});
    EXPECT_EQ(lobby->findTable(out.last(1, "created")["code"])->moveSeconds, 86400);

    arrive(2, "live");
    arrive(3, "turn");
    arrive(4, "turn too");
    say(2, {{"type", "quick"}});
    say(3, {{"type", "quick"}, {"pace", "turn"}, {"moveSeconds", 3600}});
    say(4, {{"type", "quick"}, {"pace", "turn"}});
    const std::string live = out.last(2, "joined")["code"], turn = out.last(3, "joined")["code"];
    EXPECT_NE(live, turn);
    EXPECT_EQ(out.last(4, "joined")["code"], turn);
    EXPECT_EQ(lobby->findTable(turn)->moveSeconds, 3600);
    say(2, {{"type", "lobby"}});
    const Json list = out.last(2, "lobby");
    for (const Json& e : list["waiting"])
        if (e["code"] == turn) EXPECT_EQ(e["pace"], "turn");
}

TEST_F(TurnTest, APrivateTurnTableIsLetGoAndComesBackWhenItsTimeRunsOutOrSomeoneAsks) {
    Limits limits;
    limits.idleTableSeconds = 100;
    lobby = std::make_unique<Lobby>(store, out, limits);
    arrive(1, "p");
    const std::string code = createTurn(1, oneHuman, 600);
    const std::string token = join(1, code);
    lobby->disconnected(1, now);
    pass(120);
    EXPECT_EQ(lobby->findTable(code), nullptr) << "nobody there: let go of memory";

    // `mine` answers from the store, without loading it.
    arrive(2, "asks");
    say(2, {{"type", "mine"}, {"tables", {{{"code", code}, {"seat", 1}, {"token", token}}}}});
    const Json entry = out.last(2, "mine")["tables"][0];
    EXPECT_EQ(entry["status"], "playing");
    EXPECT_EQ(entry["yourTurn"], true);
    EXPECT_NEAR(entry["turnLeft"].get<double>(), 600 - 121, 3);
    EXPECT_EQ(lobby->findTable(code), nullptr);

    // Its time runs out with nobody there: loaded, and the computer moves for it.
    pass(490);
    ASSERT_NE(lobby->findTable(code), nullptr);
    EXPECT_EQ(count(linesOf(code), "timeout 1"), 1);
    pass(110);
    EXPECT_EQ(lobby->findTable(code), nullptr) << "let go again";
    say(2, {{"type", "reconnect"}, {"code", code}, {"seat", 1}, {"token", token}});
    ASSERT_FALSE(out.last(2, "joined").is_null());
    EXPECT_EQ(out.last(2, "table")["seats"][0]["missed"], 1);
}

TEST_F(TurnTest, MineAnswersEachEntryAndSaysNothingToAWrongToken) {
    arrive(1, "mine");
    const std::string turn = createTurn(1, twoHumans, 3600);
    const std::string token = join(1, turn);
    arrive(2, "live player");
    say(2, {{"type", "create"}, {"seats", oneHuman}, {"level", 1}});
    const std::string live = out.last(2, "created")["code"];
    const std::string liveToken = join(2, live);
    const std::string wrong(32, '0');
    say(1, {{"type", "mine"},
            {"tables",
             {{{"code", turn}, {"seat", 1}, {"token", token}},
              {{"code", live}, {"seat", 1}, {"token", liveToken}},
              {{"code", turn}, {"seat", 2}, {"token", token}},
              {{"code", turn}, {"seat", 1}, {"token", wrong}},
              {{"code", "ZZZZZZ"}, {"seat", 1}, {"token", wrong}},
              {{"code", turn}, {"seat", 9}, {"token", token}},
              "not an entry"}}});
    const Json got = out.last(1, "mine")["tables"];
    ASSERT_EQ(got.size(), 7u);
    EXPECT_EQ(got[0]["status"], "waiting");
    EXPECT_EQ(got[0]["pace"], "turn");
    EXPECT_EQ(got[1]["status"], "playing");
    EXPECT_EQ(got[1]["yourTurn"], true);
    EXPECT_FALSE(got[1].contains("turnLeft")) << "a live player who is there has no limit";
    for (int i : {2, 3}) {
        EXPECT_EQ(got[i]["error"], "bad_token");
        EXPECT_FALSE(got[i].contains("status")) << got[i];
    }
    EXPECT_EQ(got[4]["error"], "no_such_table");
    EXPECT_EQ(got[5]["error"], "malformed");
    EXPECT_EQ(got[6]["error"], "malformed");

    Json many = Json::array();
    for (int i = 0; i < 100; ++i) many.push_back({{"code", turn}, {"seat", 1}, {"token", token}});
    say(1, {{"type", "mine"}, {"tables", many}});
    EXPECT_EQ(out.last(1, "mine")["tables"].size(), 100u) << "a hundred fit in one message";
    many.push_back(many[0]);
    say(1, {{"type", "mine"}, {"tables", many}});
    EXPECT_EQ(out.last(1, "error")["code"], "malformed");
}

// A finished game with two people: both away, the computer stands in to the end.
class RematchTest : public TurnTest {
protected:
    std::string code;
    std::string tokens[3];
    void SetUp() override {
        arrive(1, "ann");
        arrive(2, "bob");
        say(1, {{"type", "create"}, {"seats", twoHumans}, {"grace", 0}, {"level", 1}});
        code = out.last(1, "created")["code"];
        tokens[1] = join(1, code);
        tokens[2] = join(2, code);
        arrive(3, "early");
        say(3, {{"type", "spectate"}, {"code", code}});
        lobby->disconnected(1, now);
        lobby->disconnected(2, now);
        for (int i = 0; i < 5000 && lobby->findTable(code)->status != GameTable::Status::over; ++i) {
            lobby->tick(now += 1);
            think();
        }
        ASSERT_EQ(lobby->findTable(code)->status, GameTable::Status::over);
        for (ConnId c : {1, 2}) {
            arrive(c + 10, c == 1 ? "ann" : "bob");
            say(c + 10, {{"type", "reconnect"}, {"code", code}, {"seat", c}, {"token", tokens[c]}});
            ASSERT_FALSE(out.last(c + 10, "joined").is_null());
        }
    }
};

TEST_F(RematchTest, ThoseWhoAcceptSitOnTheirSeatsAgainAndTheGameStarts) {
    say(3, {{"type", "rematch"}});
    EXPECT_EQ(out.last(3, "error")["code"], "not_seated");
    say(11, {{"type", "rematch"}});
    const Json joined = out.last(11, "joined");
    const std::string next = joined["code"];
    EXPECT_NE(next, code);
    EXPECT_EQ(joined["seat"], 1);
    EXPECT_EQ(joined["token"].get<std::string>().size(), 32u);
    const Json offer = out.last(12, "rematch");
    EXPECT_EQ(offer["code"], next);
    EXPECT_EQ(offer["seat"], 1);
    EXPECT_EQ(out.last(3, "rematch")["code"], next) << "spectators hear of it too";

    say(12, {{"type", "rematch"}});
    EXPECT_EQ(out.last(12, "joined")["code"], next);
    EXPECT_EQ(out.last(12, "joined")["seat"], 2);
    const GameTable* t = lobby->findTable(next);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->status, GameTable::Status::playing);
    EXPECT_EQ(t->seats[1].name, "ann");
    EXPECT_EQ(t->seats[2].name, "bob");
    for (int s = 3; s <= 7; ++s) EXPECT_EQ(t->seats[static_cast<std::size_t>(s)].created, (SeatKind{false, 1}));
    // The old table names its rematch, after a restart too.
    say(3, {{"type", "leave"}});
    say(3, {{"type", "spectate"}, {"code", code}});
    EXPECT_EQ(out.last(3, "table")["rematch"], next);
}

TEST_F(RematchTest, ASeatNobodyAcceptsOpensAndItsOldPlayerFindsItTaken) {
    say(11, {{"type", "rematch"}});
    const std::string next = out.last(11, "joined")["code"];
    EXPECT_EQ(lobby->findTable(next)->status, GameTable::Status::waiting);
    arrive(4, "newcomer");
    say(4, {{"type", "join"}, {"code", next}});
    EXPECT_EQ(out.last(4, "joined")["seat"], 2);
    EXPECT_EQ(lobby->findTable(next)->status, GameTable::Status::playing);
    say(12, {{"type", "rematch"}});
    EXPECT_EQ(out.last(12, "error")["code"], "seat_taken");
    // Before the end there is no rematch to offer.
    say(11, {{"type", "rematch"}});
    EXPECT_EQ(out.last(11, "error")["code"], "game_not_over");
}

}  // namespace
}  // namespace daro::server
