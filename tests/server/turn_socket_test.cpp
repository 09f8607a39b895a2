// Turn-based tables and rematches over real sockets. The server's clock is
// moved on through its clock file, so a move time of a minute passes at once.
#include <fstream>

#include "ServerFixture.h"

namespace daro::test {
namespace {

const std::vector<std::string> oneHuman = {"human", "level1", "level1", "level1", "level1", "level1", "level1"};

class TurnSocketTest : public ServerTest {
protected:
    std::string clockFile;
    double skew = 0;
    void SetUp() override {
        ServerTest::SetUp();
        clockFile = data_ + "-clock";
    }
    void moveClock(double seconds) {
        skew += seconds;
        std::ofstream(clockFile) << skew;
    }
    void TearDown() override {
        ServerTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove(clockFile, ignored);
    }
    // Messages of `type` until one matches, or nothing after `timeout`.
    std::optional<Json> until(WsClient& c, const std::string& type, const std::function<bool(const Json&)>& match,
                              std::chrono::milliseconds timeout = 10s) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            auto got = c.until(type, std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()));
            if (!got) return std::nullopt;
            if (match(*got)) return got;
        }
        return std::nullopt;
    }
};

TEST_F(TurnSocketTest, APlayerAwayForThreeMoveTimesIsPlayedForThenTheTableAnswersMineAfterARestart) {
    moveClock(0);
    startServer({"--clock-file", clockFile});
    auto host = connect("host");
    host->send({{"type", "create"}, {"seats", oneHuman}, {"level", 1}, {"pace", "turn"}, {"moveSeconds", 60}});
    const std::string code = host->until("created")->at("code");
    auto player = join(code, 1);
    player->client->disconnect();
    auto watcher = connect("watcher");
    watcher->send({{"type", "spectate"}, {"code", code}});
    const auto state = watcher->until("table");
    ASSERT_TRUE(state);
    EXPECT_EQ((*state)["seats"][0]["connected"], false);
    EXPECT_FALSE((*state)["seats"][0].contains("graceLeft")) << "a turn-based seat has no grace";
    EXPECT_GT((*state)["turnLeft"].get<double>(), 50);

    for (int missed = 1; missed <= 3; ++missed) {
        moveClock(61);
        auto seat = until(*watcher, "seat", [&](const Json& j) { return j["seat"] == 1 && j["missed"] == missed; });
        ASSERT_TRUE(seat) << "missed " << missed << "\n" << server_->log();
        if (missed < 3) ASSERT_TRUE(until(*watcher, "turn", [](const Json& j) { return j["seat"] == 1; }));
    }
    auto notice = until(*watcher, "chat", [](const Json& j) { return j.contains("notice"); });
    ASSERT_TRUE(notice);
    EXPECT_EQ((*notice)["notice"], "abandoned");
    EXPECT_EQ((*notice)["noticeSeat"], 1);
    watcher->disconnect();

    server_->restart();
    auto asker = connect("asker");
    asker->send({{"type", "mine"},
                 {"tables",
                  {{{"code", code}, {"seat", 1}, {"token", player->token}},
                   {{"code", code}, {"seat", 1}, {"token", std::string(32, 'f')}}}}});
    const auto mine = asker->until("mine");
    ASSERT_TRUE(mine) << server_->log();
    const Json entry = (*mine)["tables"][0];
    EXPECT_EQ(entry["pace"], "turn");
    EXPECT_TRUE(entry["status"] == "playing" || entry["status"] == "over") << entry;
    EXPECT_EQ((*mine)["tables"][1], (Json{{"code", code}, {"seat", 1}, {"error", "bad_token"}}));

    // Back with the token, the player has the seat again.
    asker->send({{"type", "reconnect"}, {"code", code}, {"seat", 1}, {"token", player->token}});
    ASSERT_TRUE(asker->until("joined"));
    const auto back = asker->until("table");
    ASSERT_TRUE(back);
    if ((*back)["status"] == "playing") {
        EXPECT_EQ((*back)["seats"][0]["playedBy"], "player");
        EXPECT_EQ((*back)["record"].back(), "player 1");
    }
}

TEST_F(TurnSocketTest, ARematchSeatsThoseWhoAcceptOnTheirSeatsAtANewTable) {
    startServer();
    auto host = connect("host");
    const std::string code =
        createTable(*host, {"human", "human", "level1", "level1", "level1", "level1", "level1"}, 0);
    auto ann = join(code, 1);
    auto bob = join(code, 2);
    ann->client->disconnect();
    bob->client->disconnect();
    host->send({{"type", "spectate"}, {"code", code}});
    ASSERT_TRUE(host->until("over", 240s)) << "the computers finish the game";

    std::unique_ptr<WsClient> back[3];
    for (int seat : {1, 2}) {
        back[seat] = connect(seat == 1 ? "ann" : "bob");
        back[seat]->send({{"type", "reconnect"}, {"code", code}, {"seat", seat}, {"token", (seat == 1 ? ann : bob)->token}});
        ASSERT_TRUE(back[seat]->until("joined"));
    }
    back[1]->send({{"type", "rematch"}});
    const auto joined = back[1]->until("joined");
    ASSERT_TRUE(joined);
    const std::string next = (*joined)["code"];
    EXPECT_NE(next, code);
    EXPECT_EQ((*joined)["seat"], 1);
    const auto offer = back[2]->until("rematch");
    ASSERT_TRUE(offer);
    EXPECT_EQ((*offer)["code"], next);
    EXPECT_EQ(host->until("rematch")->at("code"), next);

    back[2]->send({{"type", "rematch"}});
    const auto second = back[2]->until("joined");
    ASSERT_TRUE(second);
    EXPECT_EQ((*second)["code"], next);
    EXPECT_EQ((*second)["seat"], 2);
    EXPECT_TRUE(back[1]->until("started")) << "both seats taken: the rematch begins";
}

}  // namespace
}  // namespace daro::test
