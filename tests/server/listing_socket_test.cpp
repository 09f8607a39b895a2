// Finding a table over real sockets: a public table is listed, followed
// live by a subscriber, and filled by players who found it there.
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

}  // namespace
}  // namespace daro::test
