// Finding players without sockets, on a clock the test turns: the list of
// public tables and its subscribers, and quick play with its wait.
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <random>

#include "LobbyFixture.h"
#include "record/GameFile.h"

namespace daro::server {
namespace {

const std::vector<std::string> twoHumans = {"human", "human", "level1", "level1", "level1", "level1", "level1"};

class ListingTest : public LobbyTest {
protected:
    std::string createPublic(ConnId who, const std::vector<std::string>& seats) {
        say(who, {{"type", "create"}, {"seats", seats}, {"public", true}, {"level", 1}});
        return out.last(who, "created")["code"];
    }
    std::vector<std::string> codes(const Json& list, const char* part) {
        std::vector<std::string> found;
        for (const Json& e : list[part]) found.push_back(e["code"]);
        return found;
    }
    std::size_t listsReceived(ConnId who) {
        const auto& got = out.inbox[who];
        return static_cast<std::size_t>(std::count_if(got.begin(), got.end(), [](const Json& j) { return j["type"] == "lobby"; }));
    }
};

TEST_F(ListingTest, QuickPlaySeatsThreeAtOneTableAndComputersFillTheRestAfterTheWait) {
    for (ConnId c = 1; c <= 4; ++c) arrive(c, "quick" + std::to_string(c));
    for (ConnId c = 1; c <= 3; ++c) say(c, {{"type", "quick"}, {"level", 1}, {"wait", 2}});
    const std::string code = out.last(1, "joined")["code"];
    for (ConnId c = 1; c <= 3; ++c) {
        EXPECT_EQ(out.last(c, "joined")["code"], code) << "player " << c;
        EXPECT_EQ(out.last(c, "joined")["seat"], static_cast<int>(c));
    }
    const double start = lobby->findTable(code)->createdAt;
    lobby->tick(start + 119);
    ASSERT_EQ(lobby->findTable(code)->status, GameTable::Status::waiting) << "the wait is not over";
    EXPECT_TRUE(out.searches.empty());

    lobby->tick(start + 121);
    const GameTable* t = lobby->findTable(code);
    ASSERT_EQ(t->status, GameTable::Status::playing);
    for (int s = 4; s <= 7; ++s) EXPECT_EQ(t->seats[static_cast<std::size_t>(s)].created, (SeatKind{false, 1}));
    // Each player has the table as it now is, and follows the game from it.
    const Json state = out.last(2, "table");
    ASSERT_FALSE(state.is_null());
    EXPECT_EQ(state["seats"][4]["kind"], "computer");
    TableMirror mirror;
    ASSERT_TRUE(mirror.start(state));
    const auto& got = out.inbox[2];
    const auto from = std::find(got.rbegin(), got.rend(), state).base();
    for (auto it = from; it != got.end(); ++it) ASSERT_TRUE(mirror.follow(*it)) << *it;
    EXPECT_EQ(mirror.table.board, t->table.board);
    // The file of a filled table is its game: three people, four computers.
    const auto replayed = replayGameFile(lobby->gameFile(code));
    ASSERT_TRUE(replayed.game) << replayed.problem.reason;

    // Quick play now opens a new table: the first one has started.
    say(4, {{"type", "quick"}});
    EXPECT_NE(out.last(4, "joined")["code"], code);
    EXPECT_EQ(out.last(4, "joined")["seat"], 1);
}

TEST_F(ListingTest, TheListShowsPublicTablesClosestToStartingFirstLiveAndNeverAPrivateOne) {
    arrive(1, "host");
    arrive(2, "guest");
    arrive(3, "watcher");
    const std::string secret = create(1, twoHumans, 90);
    const std::string wide = createPublic(1, {"human", "human", "human", "level1", "level1", "level1", "level1"});
    const std::string narrow = createPublic(1, twoHumans);
    say(3, {{"type", "lobby"}, {"subscribe", true}});
    Json list = out.last(3, "lobby");
    EXPECT_EQ(codes(list, "waiting"), (std::vector<std::string>{narrow, wide}));
    EXPECT_EQ(list["waiting"][0]["free"], 2);
    EXPECT_EQ(list["waiting"][0]["seats"][2], "level1");
    EXPECT_EQ(list["waiting"][0]["pace"], "live");

    // A join is news to a subscriber, once, at the next tick.
    const std::size_t before = listsReceived(3);
    say(2, {{"type", "join"}, {"code", wide}});
    say(1, {{"type", "ping"}});
    lobby->tick(now);
    lobby->tick(now + 0.25);
    ASSERT_EQ(listsReceived(3), before + 1);
    list = out.last(3, "lobby");
    EXPECT_EQ(list["waiting"][0]["code"], wide) << "two free seats, but older";
    EXPECT_EQ(list["waiting"][0]["players"][0], "guest");

    // Filled, it is a game to watch; over, it is gone from the list.
    say(1, {{"type", "join"}, {"code", narrow}});
    arrive(4, "fourth");
    say(4, {{"type", "join"}, {"code", narrow}});
    lobby->tick(now);
    list = out.last(3, "lobby");
    EXPECT_EQ(codes(list, "playing"), std::vector<std::string>{narrow});
    const std::vector<std::string> waiting = codes(list, "waiting");
    EXPECT_EQ(std::count(waiting.begin(), waiting.end(), secret), 0);

    // Unsubscribed, nothing more comes unasked.
    say(3, {{"type", "lobby"}, {"subscribe", false}});
    const std::size_t after = listsReceived(3);
    createPublic(3, twoHumans);
    lobby->tick(now + 1);
    EXPECT_EQ(listsReceived(3), after);

    // However many there are, one message holds at most 100.
    Limits many;
    many.tablesPerAddress = 500;
    lobby = std::make_unique<Lobby>(store, out, many);
    arrive(5, "busy");
    for (int i = 0; i < 150; ++i) lobby->received(5, Json{{"type", "create"}, {"seats", twoHumans}, {"public", true}}.dump(), now += 1);
    say(5, {{"type", "lobby"}});
    list = out.last(5, "lobby");
    EXPECT_EQ(list["waiting"].size(), 100u);
    EXPECT_EQ(list["waitingCount"], 150);
}

TEST_F(ListingTest, PublicTablesStayPublicAfterARestartAndOldStoresStillOpen) {
    arrive(1, "host");
    const std::string listed = createPublic(1, twoHumans);
    lobby = std::make_unique<Lobby>(store, out);
    lobby->restore(now);
    arrive(2, "later");
    say(2, {{"type", "lobby"}});
    EXPECT_EQ(codes(out.last(2, "lobby"), "waiting"), std::vector<std::string>{listed});

    // A store written before tables could be public.
    char folder[] = "/tmp/daro-old-store-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((std::string(folder) + "/daro-server.sqlite").c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "CREATE TABLE tables(code TEXT PRIMARY KEY, seats TEXT NOT NULL, level INTEGER NOT NULL,"
                               " grace INTEGER NOT NULL, finished INTEGER NOT NULL DEFAULT 0, result TEXT NOT NULL DEFAULT '');"
                               "INSERT INTO tables(code, seats, level, grace) VALUES('K7QMPA',"
                               " 'human human level1 level1 level1 level1 level1', 2, 60);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    {
        Store old(folder);
        const auto tables = old.unfinishedTables();
        ASSERT_EQ(tables.size(), 1u);
        EXPECT_EQ(tables[0].code, "K7QMPA");
        EXPECT_EQ(tables[0].level, 2);
        EXPECT_FALSE(tables[0].isPublic);
        EXPECT_EQ(tables[0].quickWait, 0);
    }
    std::filesystem::remove_all(folder);
}

// What the list and quick play should answer, worked out the slow way from
// every table the test knows of.
struct NaiveListing {
    std::vector<std::string> waiting, playing;
    std::map<bool, std::string> bestQuick;  // by pace; "" when none
};

int freeSeatsOf(const GameTable& t) {
    int free = 0;
    for (int s = 1; s <= 7; ++s) free += t.seats[static_cast<std::size_t>(s)].created.human && t.seats[static_cast<std::size_t>(s)].tokenHash.empty();
    return free;
}

NaiveListing naiveListing(const Lobby& lobby, const std::set<std::string>& known) {
    std::vector<const GameTable*> waiting, playing;
    for (const std::string& code : known) {
        const GameTable* t = lobby.findTable(code);
        if (t == nullptr || !t->isPublic || t->status == GameTable::Status::over) continue;
        (t->status == GameTable::Status::waiting ? waiting : playing).push_back(t);
    }
    auto fewestFree = [](const GameTable* a, const GameTable* b) {
        return std::tuple(freeSeatsOf(*a), a->createdAt, a->code) < std::tuple(freeSeatsOf(*b), b->createdAt, b->code);
    };
    std::sort(waiting.begin(), waiting.end(), fewestFree);
    std::sort(playing.begin(), playing.end(), [](const GameTable* a, const GameTable* b) {
        return std::tuple(-a->createdAt, a->code) < std::tuple(-b->createdAt, b->code);
    });
    NaiveListing n;
    for (const GameTable* t : waiting) {
        n.waiting.push_back(t->code);
        if (t->quickWait > 0 && freeSeatsOf(*t) > 0 && n.bestQuick[t->turnPace].empty()) n.bestQuick[t->turnPace] = t->code;
    }
    for (const GameTable* t : playing) n.playing.push_back(t->code);
    return n;
}

// Seeded runs of joins, leaves, quick play, new tables, dropped connections,
// restarts and time passing, over tables brought back from a store with
// seats already held: after every step the list is the one worked out the
// slow way, and quick play seats where the slow way says.
TEST_F(ListingTest, TheListAndQuickPlayAgreeWithASlowReckoningThroughSeededRuns) {
    Limits limits;
    limits.tablesPerAddress = 1000;
    limits.messagesPerSecond = limits.messageBurst = 1e6;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        Store runStore("");
        std::set<std::string> known;
        // Waiting tables as a restart finds them: quick or not, either pace, some seats held.
        for (int i = 0; i < 30; ++i) {
            StoredTable t;
            t.code = "T" + std::string(1, "ABCDEFGHJK"[i / 10]) + "AAA" + std::string(1, "ABCDEFGHJK"[i % 10]);
            const int humans = 1 + pick(7);
            for (int s = 1; s <= 7; ++s) t.seats += std::string(s > 1 ? " " : "") + (s <= humans ? "human" : "level1");
            t.level = 1;
            t.isPublic = pick(5) != 0;
            t.quickWait = pick(2) ? 60 + 60 * pick(3) : 0;
            t.turnPace = pick(3) == 0;
            t.moveSeconds = t.turnPace ? 3600 : 0;
            ASSERT_TRUE(runStore.createTable(t));
            for (int s = 1; s < humans; ++s)
                if (pick(2)) {
                    ASSERT_TRUE(runStore.setSeat(t.code, s, {"held", std::string(64, static_cast<char>('a' + s))}));
                }
            known.insert(t.code);
        }
        lobby = std::make_unique<Lobby>(runStore, out, limits);
        lobby->restore(now);
        const ConnId people = 24;
        auto greet = [&](ConnId c) {
            lobby->connected(c, "198.51.100." + std::to_string(c % 4), now);
            lobby->received(c, Json{{"type", "hello"}, {"version", 1}, {"name", "p" + std::to_string(c)}}.dump(), now);
        };
        for (ConnId c = 1; c <= people; ++c) greet(c);

        for (int step = 0; step < 400; ++step) {
            const ConnId c = 1 + static_cast<ConnId>(pick(static_cast<int>(people)));
            const NaiveListing before = naiveListing(*lobby, known);
            const int what = pick(100);
            if (what < 25) {
                const bool turn = pick(2);
                Json m = {{"type", "quick"}, {"level", 1}, {"wait", 1 + pick(3)}};
                if (turn) m["pace"] = "turn";
                const std::size_t seen = out.inbox[c].size();
                say(c, m);
                const Json answer = out.inbox[c].at(seen);
                if (answer["type"] == "error") {
                    EXPECT_EQ(answer["code"], "already_at_table") << answer;
                } else {
                    const Json joined = out.last(c, "joined");
                    const std::string expected = before.bestQuick.count(turn) ? before.bestQuick.at(turn) : "";
                    if (!expected.empty())
                        EXPECT_EQ(joined["code"], expected) << "quick play at step " << step;
                    else
                        EXPECT_EQ(known.count(joined["code"]), 0u) << "a new table, as none was waiting";
                    known.insert(joined["code"].get<std::string>());
                }
            } else if (what < 50 && !before.waiting.empty()) {
                say(c, {{"type", "join"}, {"code", before.waiting[static_cast<std::size_t>(pick(static_cast<int>(before.waiting.size())))]}});
            } else if (what < 65) {
                say(c, {{"type", "leave"}});
            } else if (what < 72) {
                const std::vector<std::string> seats = pick(2) ? twoHumans : std::vector<std::string>(7, "level1");
                const std::size_t seen = out.inbox[c].size();
                say(c, {{"type", "create"}, {"seats", seats}, {"public", pick(4) != 0}, {"level", 1}});
                if (const Json created = out.inbox[c].at(seen); created["type"] == "created")
                    known.insert(created["code"].get<std::string>());
            } else if (what < 80) {
                lobby->disconnected(c, now);
                greet(c);
            } else if (what < 97) {
                now += pick(3) ? 1 : 90;
                lobby->tick(now);
                for (int i = pick(8); i > 0 && !out.searches.empty(); --i) {
                    auto s = out.searches.front();
                    out.searches.pop_front();
                    lobby->searched(s.code, s.ticket, daro::think(s.request), now);
                }
            } else {
                // A restart: what is listed comes back from the store.
                for (ConnId p = 1; p <= people; ++p) lobby->disconnected(p, now);
                out.searches.clear();
                lobby = std::make_unique<Lobby>(runStore, out, limits);
                lobby->restore(now);
                for (ConnId p = 1; p <= people; ++p) greet(p);
            }
            const NaiveListing expected = naiveListing(*lobby, known);
            say(c, {{"type", "lobby"}});
            const Json list = out.last(c, "lobby");
            ASSERT_EQ(codes(list, "waiting"),
                      std::vector<std::string>(expected.waiting.begin(),
                                               expected.waiting.begin() + std::min<std::size_t>(100, expected.waiting.size())))
                << "step " << step;
            const std::size_t room = 100 - std::min<std::size_t>(100, expected.waiting.size());
            ASSERT_EQ(codes(list, "playing"),
                      std::vector<std::string>(expected.playing.begin(),
                                               expected.playing.begin() + std::min(room, expected.playing.size())))
                << "step " << step;
            ASSERT_EQ(list["waitingCount"], expected.waiting.size());
            ASSERT_EQ(list["playingCount"], expected.playing.size());
        }
        lobby.reset();  // it holds the run's store
    }
}

}  // namespace
}  // namespace daro::server
