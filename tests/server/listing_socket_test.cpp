// Finding a table over real sockets: a public table is listed, followed
// live by a subscriber, and filled by players who found it there; quick
// play seats players together and starts with computers after its wait,
// on a server clock the test moves on through its clock file.
#include <fstream>

#include "ServerFixture.h"

namespace daro::test {
namespace {

TEST_F(ServerTest, APublicTableFillsFromTheLobbyWhileASubscriberWatchesTheListChange) {
    startServer();
    auto host = connect("host");
    auto watcher = connect("watcher");
    watcher->send({{"type", "lobby"}, {"subscribe", true}});
    ASSERT_TRUE(watcher->until("lobby"));
    host->send({{"type", "create"}, {"seats", {"human", "human", "level1", "level1", "level1", "level1", "level1"}},
                {"public", true}, {"level", 1}});
    ASSERT_TRUE(host->until("created"));
    auto hidden = connect("hidden");
    createTable(*hidden, {"human", "human", "level1", "level1", "level1", "level1", "level1"});

    // Each newcomer finds the table in the list it is sent, and takes a seat.
    int free = 2;
    for (const char* name : {"first", "second"}) {
        auto listed = watcher->until("lobby", 3s);
        ASSERT_TRUE(listed) << "no news of the list";
        ASSERT_EQ((*listed)["waiting"].size(), 1u) << *listed;
        const Json entry = (*listed)["waiting"][0];
        EXPECT_EQ(entry["free"], free--);
        auto player = connect(name);
        player->send({{"type", "join"}, {"code", entry["code"]}});
        ASSERT_TRUE(player->until("joined"));
        if (std::string(name) == "second") {
            player->send({{"type", "lobby"}});
            auto now = player->until("lobby");
            ASSERT_TRUE(now);
            EXPECT_EQ((*now)["waiting"].size(), 0u);
            ASSERT_EQ((*now)["playing"].size(), 1u);
            EXPECT_EQ((*now)["playing"][0]["players"][0], "first");
            EXPECT_EQ((*now)["playing"][0]["players"][1], "second");
        }
    }
}

TEST_F(ServerTest, QuickPlaySeatsThreeTogetherApartFromTheOtherPaceAndComputersFillTheRestAfterTheWait) {
    const std::string clockFile = data_ + "-clock";
    std::ofstream(clockFile) << 0;
    startServer({"--clock-file", clockFile});
    auto watcher = connect("watcher");
    watcher->send({{"type", "lobby"}, {"subscribe", true}});
    ASSERT_TRUE(watcher->until("lobby"));

    std::vector<std::unique_ptr<Player>> players;
    std::string code;
    for (int n = 1; n <= 3; ++n) {
        auto p = std::make_unique<Player>();
        p->client = connect("quick" + std::to_string(n));
        p->client->send({{"type", "quick"}, {"level", 1}, {"wait", 1}});
        const auto joined = p->client->until("joined");
        ASSERT_TRUE(joined) << server_->log();
        if (n == 1) code = (*joined)["code"];
        EXPECT_EQ((*joined)["code"], code) << "player " << n << " at another table";
        EXPECT_EQ((*joined)["seat"], n);
        p->seat = (*joined)["seat"];
        ASSERT_TRUE(p->client->until("table"));
        players.push_back(std::move(p));
    }
    // Another pace is another table.
    auto slow = connect("slow");
    slow->send({{"type", "quick"}, {"level", 1}, {"wait", 1}, {"pace", "turn"}, {"moveSeconds", 3600}});
    const auto slowJoined = slow->until("joined");
    ASSERT_TRUE(slowJoined);
    EXPECT_NE((*slowJoined)["code"], code);
    EXPECT_EQ((*slowJoined)["seat"], 1);

    // The subscriber's list: the table with the fewest free seats first.
    std::optional<Json> listed;
    for (auto end = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < end;) {
        listed = watcher->until("lobby", 2s);
        if (!listed || (*listed)["waiting"].size() == 2) break;
    }
    ASSERT_TRUE(listed);
    ASSERT_EQ((*listed)["waiting"].size(), 2u) << *listed;
    EXPECT_EQ((*listed)["waiting"][0]["code"], code);
    EXPECT_EQ((*listed)["waiting"][0]["free"], 4);
    EXPECT_EQ((*listed)["waiting"][1]["pace"], "turn");

    // Half the wait: nothing starts.
    std::ofstream(clockFile) << 30;
    for (const auto& p : players) {
        for (const Json& j : p->client->drain(600ms)) {
            EXPECT_NE(j["type"], "started") << "started before its wait";
        }
    }

    // The wait is over: computers take seats 4 to 7, each player is sent
    // the table again, and the game starts and goes on between them.
    std::ofstream(clockFile) << 61;
    for (const auto& p : players) {
        const auto state = p->client->until("table", 5s);
        ASSERT_TRUE(state) << server_->log();
        for (int s = 4; s <= 7; ++s) EXPECT_EQ((*state)["seats"][s - 1]["kind"], "computer") << *state;
        ASSERT_TRUE(p->follow(*state));
    }
    ASSERT_TRUE(slow->until("started", 5s)) << "the other pace's table fills too";
    int moved = 0;
    for (int round = 0; round < 40 && moved < 12; ++round) {
        for (const auto& p : players) {
            ASSERT_TRUE(p->catchUp(50ms));
            if (p->due()) {
                ASSERT_TRUE(p->play());
            }
        }
        moved = players[0]->mirror.table.moveNumber;
    }
    EXPECT_GE(moved, 12) << "the humans and the computers play on\n" << server_->log();
    // Once the game waits for a person, all three have seen the same game.
    auto settled = [&] {
        for (const auto& p : players)
            if (p->mirror.table.moveNumber != players[0]->mirror.table.moveNumber ||
                p->mirror.table.next().kind != StepKind::human)
                return false;
        return true;
    };
    for (int attempt = 0; attempt < 30 && !settled(); ++attempt) {
        for (const auto& p : players) ASSERT_TRUE(p->catchUp(100ms));
    }
    ASSERT_TRUE(settled());
    EXPECT_EQ(players[1]->mirror.table.board, players[0]->mirror.table.board);
    EXPECT_EQ(players[2]->mirror.table.board, players[0]->mirror.table.board);
    std::error_code ignored;
    std::filesystem::remove(clockFile, ignored);
}

}  // namespace
}  // namespace daro::test
