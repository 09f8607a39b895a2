#pragma once
// A server of the test's own, and the players' moves: each player keeps a
// mirror of the table and plays what the computer at LEVEL1 would.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "ServerProcess.h"
#include "TableMirror.h"
#include "WsClient.h"

namespace daro::test {

inline bool isTableEvent(const Json& j) {
    static const std::set<std::string> types = {"started", "moved", "out", "pass", "turn", "over", "seat", "chat"};
    return j.is_object() && types.count(j.value("type", "")) != 0;
}

struct Player {
    std::unique_ptr<WsClient> client;
    int seat = 0;
    std::string token;
    server::TableMirror mirror;
    int turn = 0;       // the seat to move, as last announced
    bool over = false;

    // Reads until the next turn or the end; every event goes to the mirror.
    bool followToTurn(std::chrono::milliseconds timeout = 10s) {
        for (;;) {
            auto j = client->next(timeout);
            if (!j) return false;
            if (!follow(*j)) return false;
            if (over || (j->value("type", "") == "turn")) return true;
        }
    }
    bool follow(const Json& j) {
        const std::string type = j.value("type", "");
        if (type == "table") {
            if (j.contains("turn") && j["turn"].is_number_integer()) turn = j["turn"].get<int>();
            return mirror.start(j);
        }
        if (type == "turn") turn = j.at("seat").get<int>();
        if (type == "over") over = true;
        return mirror.follow(j);
    }
    // Reads whatever has arrived by now, without waiting for a turn.
    bool catchUp(std::chrono::milliseconds wait) {
        while (auto j = client->next(wait)) {
            if (!follow(*j)) return false;
            wait = 1ms;
        }
        return true;
    }
    // The seat is to move and has not moved at this point of the game yet.
    bool due() const { return !over && turn == seat && playedAt != mirror.table.moveNumber; }
    int playedAt = -1;  // the move number at this player's last move

    // Plays the mirror's choice; false when it has none.
    bool play() {
        auto m = mirror.choose(seat);
        if (!m) return false;
        playedAt = mirror.table.moveNumber;
        client->send({{"type", "move"}, {"from", {m->fromX, m->fromY}}, {"to", {m->toX, m->toY}}});
        return true;
    }
};

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/daro-server-test-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        data_ = folder;
    }
    void TearDown() override {
        server_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(data_, ignored);
    }

    ServerProcess& startServer(std::vector<std::string> extra = {}, std::string program = DARO_SERVER_PATH) {
        server_ = std::make_unique<ServerProcess>(data_, std::move(extra), std::move(program));
        EXPECT_NE(server_->port(), 0) << server_->log();
        return *server_;
    }

    std::unique_ptr<WsClient> connect(const std::string& name) {
        auto c = std::make_unique<WsClient>(server_->port(), transport_);
        EXPECT_TRUE(c->connected());
        greet(*c, name);
        return c;
    }

    std::string createTable(WsClient& host, const std::vector<std::string>& seats, int grace = 90, int level = 1) {
        host.send({{"type", "create"}, {"seats", seats}, {"grace", grace}, {"level", level}});
        auto created = host.until("created");
        EXPECT_TRUE(created.has_value());
        return created ? created->at("code").get<std::string>() : "";
    }

    // A new player on the seat; the table message has started its mirror.
    std::unique_ptr<Player> join(const std::string& code, int seat) {
        auto p = std::make_unique<Player>();
        p->client = connect("player" + std::to_string(seat));
        p->client->send({{"type", "join"}, {"code", code}, {"seat", seat}});
        auto joined = p->client->until("joined");
        EXPECT_TRUE(joined.has_value());
        if (!joined) return p;
        p->seat = joined->at("seat").get<int>();
        p->token = joined->at("token").get<std::string>();
        auto state = p->client->next();
        EXPECT_TRUE(state && p->follow(*state));
        return p;
    }

    std::unique_ptr<ServerProcess> server_;
    std::string data_;
    Transport transport_ = Transport::plain;  // how connect() reaches the server
};

}  // namespace daro::test
