#pragma once
// The lobby without sockets: an outbox that keeps what each connection was
// sent, and a lobby on a store in memory, on a clock the test turns.

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <nlohmann/json.hpp>

#include "Lobby.h"
#include "TableMirror.h"

namespace daro::server {

using Json = nlohmann::json;

class FakeOutbox : public Outbox {
public:
    void send(ConnId to, const std::string& text) override { inbox[to].push_back(Json::parse(text)); }
    void close(ConnId who) override { closed.push_back(who); }
    void search(const std::string& code, std::uint64_t ticket, const SearchRequest& request) override {
        searches.push_back({code, ticket, request});
    }
    void log(const std::string& line) override { logged.push_back(line); }

    struct Search {
        std::string code;
        std::uint64_t ticket;
        SearchRequest request;
    };
    std::map<ConnId, std::vector<Json>> inbox;
    std::deque<Search> searches;
    std::vector<ConnId> closed;
    std::vector<std::string> logged;

    Json last(ConnId who, const std::string& type) const {
        const auto& got = inbox.at(who);
        for (auto it = got.rbegin(); it != got.rend(); ++it)
            if ((*it)["type"] == type) return *it;
        return nullptr;
    }
};

class LobbyTest : public ::testing::Test {
protected:
    Store store{""};
    FakeOutbox out;
    std::unique_ptr<Lobby> lobby = std::make_unique<Lobby>(store, out);
    double now = 100;

    void say(ConnId who, const Json& m) { lobby->received(who, m.dump(), now += 0.5); }
    void arrive(ConnId who, const std::string& name) {
        lobby->connected(who, "192.0.2.1", now);
        say(who, {{"type", "hello"}, {"version", 1}, {"name", name}});
    }
    // Every search asked for so far is answered, as the worker pool would.
    void think() {
        for (int guard = 0; guard < 500 && !out.searches.empty(); ++guard) {
            auto s = out.searches.front();
            out.searches.pop_front();
            lobby->searched(s.code, s.ticket, daro::think(s.request), now);
        }
    }
    std::string create(ConnId who, const std::vector<std::string>& seats, int grace) {
        say(who, {{"type", "create"}, {"seats", seats}, {"grace", grace}, {"level", 1}});
        return out.last(who, "created")["code"];
    }
    // The table's own choice for the seat to move, sent by `who`.
    void playFor(ConnId who, const std::string& code) {
        TableMirror mirror;
        mirror.table = lobby->findTable(code)->table;
        auto m = mirror.choose(mirror.table.turnSeat);
        ASSERT_TRUE(m);
        say(who, {{"type", "move"}, {"from", {m->fromX, m->fromY}}, {"to", {m->toX, m->toY}}});
    }
};

}  // namespace daro::server
