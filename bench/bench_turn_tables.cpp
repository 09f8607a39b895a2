// What turn-based tables cost the server: DIR is filled (once) with N stored
// turn-based tables, each a real game some rounds in, waiting for its human
// seat. Then it measures, as daro-server would do them:
//   the restart (opening the store and bringing back what a restart brings back),
//   the memory held then, and after loading tables one by one,
//   the time to load one table when its player reconnects, and the part of
//   it that is reading the store (the rest is replaying the record).
// bench_lobby measures the lobby with 10,000 public tables.
// usage: bench_turn_tables DIR [N]   (run under nice; N defaults to 100000)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "Lobby.h"
#include "Secrets.h"
#include "TableLines.h"

using namespace daro;
using namespace daro::server;
using Clock = std::chrono::steady_clock;

namespace {

class QuietOutbox : public Outbox {
public:
    void send(ConnId, const std::string& text) override { bytes += text.size(); }
    void close(ConnId) override {}
    void search(const std::string&, std::uint64_t, const SearchRequest&) override {}
    void log(const std::string&) override {}
    std::size_t bytes = 0;
};

long rssKiB() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    return -1;
}

double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

// One human seat and six computers, played at LEVEL1 until the human seat
// is to move after `rounds` rounds: the stored lines of such a game.
std::vector<std::string> gameLines(int rounds) {
    std::array<SeatKind, 8> kinds{};
    kinds[1] = {true, 0};
    for (int s = 2; s <= 7; ++s) kinds[static_cast<std::size_t>(s)] = {false, 1};
    Table t;
    t.computerLevel = 1;
    t.seat(modeOf(kinds), kinds);
    std::vector<std::string> lines;
    int humanMoves = 0;
    for (int guard = 0; guard < 10000 && !t.outcome(); ++guard) {
        const Step step = t.next();
        if (step.kind == StepKind::human) {
            if (humanMoves++ == rounds) break;
            SearchRequest request = t.snapshot();
            request.level = 1;
            const auto m = think(request);
            if (!m || t.submit(step.seat, TableMove{m->fromX, m->fromY, m->toX, m->toY}) != Refusal::none) break;
        } else if (step.kind == StepKind::computerMove) {
            t.commitComputerMove(step.seat, think(t.snapshot()));
        } else if (step.kind == StepKind::paused) {
            t.resume();
        } else if (step.kind == StepKind::none) {
            break;
        } else {
            t.step();
        }
        for (const TableEvent& e : t.drainEvents())
            if (std::string line = lineOf(e); !line.empty()) lines.push_back(line);
    }
    return lines;
}

std::string codeOf(int i) {
    static const char* letters = "ABCDEFGHJKMNPQRSTUVWXYZ23456789";
    std::string code(6, 'A');
    for (int k = 5; k >= 0; --k, i /= 31) code[static_cast<std::size_t>(k)] = letters[i % 31];
    return code;
}
std::string tokenOf(int i) {
    char token[33];
    std::snprintf(token, sizeof token, "%032x", i);
    return token;
}

void fill(const std::string& folder, int count, double now) {
    Store store(folder);
    if (store.table(codeOf(count - 1))) return;
    const auto lines = gameLines(5);
    std::printf("filling %d tables of %zu lines each...\n", count, lines.size());
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        StoredTable t;
        t.code = codeOf(i);
        t.seats = "human level1 level1 level1 level1 level1 level1";
        t.level = 1;
        t.turnPace = true;
        t.moveSeconds = 86400;
        t.createdFrom = "192.0.2." + std::to_string(i % 250);
        t.lines = lines;
        if (!store.createTable(t) || !store.setSeat(t.code, 1, {"p" + std::to_string(i), tokenHash(tokenOf(i))}) ||
            !store.setTurn(t.code, 1, now + 86400)) {
            std::printf("store: %s\n", store.lastError().c_str());
            return;
        }
    }
    std::printf("filled in %.1f s\n", msSince(start) / 1000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_turn_tables DIR [N]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100000;
    const double now = 1.9e9;
    fill(folder, count, now);

    const long rssBefore = rssKiB();
    auto start = Clock::now();
    Store store(folder);
    QuietOutbox out;
    Limits limits;
    limits.tablesPerAddress = 1000000;
    limits.maxTables = 20000;
    limits.connectionsPerAddress = 1000000;
    limits.messagesPerSecond = 1e9;
    limits.messageBurst = 1e9;
    Lobby lobby(store, out, limits);
    lobby.restore(now);
    std::printf("restart with %d stored turn-based tables: %.1f ms, %zu tables in memory, RSS %ld KiB (+%ld)\n", count,
                msSince(start), lobby.tableCount(), rssKiB(), rssKiB() - rssBefore);

    // Players coming back, one table each: each reconnect loads its table.
    const int loads = std::min(count, std::getenv("LOADS") ? std::atoi(std::getenv("LOADS")) : 2000);
    double worst = 0, total = 0;
    const long rssLoaded = rssKiB();
    for (int i = 0; i < loads; ++i) {
        const int pick = static_cast<int>((static_cast<long long>(i) * 7919) % count);
        const ConnId who = static_cast<ConnId>(i + 1);
        lobby.connected(who, "198.51.100.1", now);
        lobby.received(who, R"({"type":"hello","version":1})", now);
        const nlohmann::json m = {{"type", "reconnect"}, {"code", codeOf(pick)}, {"seat", 1}, {"token", tokenOf(pick)}};
        const auto t0 = Clock::now();
        lobby.received(who, m.dump(), now);
        const double ms = msSince(t0);
        total += ms;
        worst = std::max(worst, ms);
        if (lobby.findTable(codeOf(pick)) == nullptr) std::printf("table %s did not load\n", codeOf(pick).c_str());
    }
    std::printf("load one table on reconnect: mean %.3f ms, worst %.3f ms over %d; RSS +%ld KiB for them (%.1f KiB a table)\n",
                total / loads, worst, loads, rssKiB() - rssLoaded, double(rssKiB() - rssLoaded) / loads);
    for (int i = 0; i < loads; ++i) lobby.disconnected(static_cast<ConnId>(i + 1), now);

    // The store's part of a load: the same tables read, not replayed.
    double reading = 0;
    for (int i = 0; i < loads; ++i) {
        const int pick = static_cast<int>((static_cast<long long>(i) * 7919) % count);
        const auto t0 = Clock::now();
        const auto stored = store.table(codeOf(pick));
        reading += msSince(t0);
        if (!stored || stored->lines.empty()) std::printf("table %s is not stored\n", codeOf(pick).c_str());
    }
    std::printf("of which reading the store: mean %.3f ms; replaying and answering: mean %.3f ms\n", reading / loads,
                (total - reading) / loads);
    return 0;
}
