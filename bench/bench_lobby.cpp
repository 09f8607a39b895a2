// What finding a table costs the server with 10,000 public tables in memory
// (a store in memory, so only the lobby's own work is timed):
//   `lobby` asked for, `create` of one more public table, `quick`,
//   and the tick that sends a changed list to its subscribers.
// usage: bench_lobby [TABLES] [SUBSCRIBERS]   (run under nice)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "Lobby.h"

using namespace daro;
using namespace daro::server;
using Clock = std::chrono::steady_clock;

namespace {

class CountingOutbox : public Outbox {
public:
    void send(ConnId, const std::string& text) override {
        bytes += text.size();
        ++messages;
    }
    void close(ConnId) override {}
    void search(const std::string&, std::uint64_t, const SearchRequest&) override {}
    void log(const std::string&) override {}
    std::size_t bytes = 0, messages = 0;
};

double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

struct Times {
    std::vector<double> ms;
    void add(double v) { ms.push_back(v); }
    void print(const char* what) {
        std::sort(ms.begin(), ms.end());
        double total = 0;
        for (double v : ms) total += v;
        const std::size_t p99 = std::min(ms.size() - 1, ms.size() * 99 / 100);
        std::printf("%-44s mean %.3f ms, p99 %.3f ms, worst %.3f ms over %zu\n", what, total / double(ms.size()),
                    ms[p99], ms.back(), ms.size());
    }
};

const std::string twoHumans =
    R"({"type":"create","seats":["human","human","level1","level1","level1","level1","level1"],"public":true})";
const std::string threeHumans =
    R"({"type":"create","seats":["human","human","human","level1","level1","level1","level1"],"public":true})";
const std::string computers =
    R"({"type":"create","seats":["level1","level1","level1","level1","level1","level1","level1"],"public":true})";

}  // namespace

int main(int argc, char** argv) {
    const int tables = argc > 1 ? std::max(10, std::atoi(argv[1])) : 10000;
    const int subscribers = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    Store store("");
    CountingOutbox out;
    Limits limits;
    limits.tablesPerAddress = 1000000;
    limits.maxTables = static_cast<std::size_t>(tables) * 2;
    limits.connectionsPerAddress = 1000000;
    limits.messagesPerSecond = limits.messageBurst = 1e9;
    Lobby lobby(store, out, limits);
    double now = 1.9e9;
    ConnId next = 1;
    // Each address makes a few tables, as the per-address limit has it.
    auto arrive = [&] {
        const ConnId who = next++;
        lobby.connected(who, "10." + std::to_string(who / 65536 % 256) + "." + std::to_string(who / 256 % 256) + "." +
                                 std::to_string(who % 256), now);
        lobby.received(who, R"({"type":"hello","version":1})", now);
        return who;
    };

    // A fifth are games being played (computers only, their searches never
    // answered, so they stay played); the rest wait, some with a seat taken,
    // a tenth of them quick-play tables of either pace.
    ConnId host = arrive();
    const auto start = Clock::now();
    for (int i = 0; lobby.tableCount() < static_cast<std::size_t>(tables); ++i) {
        now += 0.001;
        if (i % 10 == 0) host = arrive();
        if (i % 5 == 0) {
            lobby.received(host, computers, now);
        } else if (i % 10 == 1) {
            lobby.received(arrive(), i % 20 == 1 ? R"({"type":"quick","wait":30})"
                                                 : R"({"type":"quick","wait":30,"pace":"turn"})", now);
        } else {
            lobby.received(host, i % 3 == 0 ? threeHumans : twoHumans, now);
        }
    }
    std::printf("%d public tables made in %.0f ms; %zu in memory\n", tables, msSince(start), lobby.tableCount());

    Times asks;
    for (int i = 0; i < 1000; ++i) {
        const auto t0 = Clock::now();
        lobby.received(host, R"({"type":"lobby"})", now);
        asks.add(msSince(t0));
    }
    asks.print("lobby answer");

    Times creates;
    for (int i = 0; i < 300; ++i) {
        if (i % 10 == 0) host = arrive();
        const auto t0 = Clock::now();
        lobby.received(host, twoHumans, now += 0.001);
        creates.add(msSince(t0));
    }
    creates.print("create one more public table");

    Times quicks;
    for (int i = 0; i < 300; ++i) {
        const ConnId who = arrive();
        const auto t0 = Clock::now();
        lobby.received(who, i % 2 ? R"({"type":"quick"})" : R"({"type":"quick","pace":"turn"})", now += 0.001);
        quicks.add(msSince(t0));
    }
    quicks.print("quick (seated, or a new table made)");

    // Subscribers follow the list; each change reaches them at the next tick.
    std::vector<ConnId> following;
    for (int i = 0; i < subscribers; ++i) {
        following.push_back(arrive());
        lobby.received(following.back(), R"({"type":"lobby","subscribe":true})", now);
    }
    Times quiet, changed;
    for (int i = 0; i < 50; ++i) {
        auto t0 = Clock::now();
        lobby.tick(now += 0.25);
        quiet.add(msSince(t0));
        lobby.received(arrive(), twoHumans, now);
        const std::size_t before = out.messages;
        t0 = Clock::now();
        lobby.tick(now += 0.25);
        changed.add(msSince(t0));
        if (out.messages - before < static_cast<std::size_t>(subscribers)) std::printf("a subscriber missed a change\n");
    }
    quiet.print("tick, list unchanged");
    char what[80];
    std::snprintf(what, sizeof what, "tick, list changed, %d subscribers", subscribers);
    changed.print(what);
    return 0;
}
