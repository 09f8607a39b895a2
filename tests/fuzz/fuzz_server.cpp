// Any bytes as the talk of eight connections with the server's lobby: it
// answers every message with one JSON object or nothing, never crashes, and
// its tables stay games the rules accept.
//
// One line an action; the first byte chooses it, the rest is a message.
//   '0'..'7'  connection N sends the rest of the line
//   'c' / 'd' connection (second byte) connects / disconnects
//   't'       time passes (second byte: seconds) and the lobby ticks
//   's'       the oldest search under way finishes
//   'b'       connection (second byte) sends a binary message
//   'r'       the server restarts: the lobby is rebuilt from what its store
//             holds, searches under way are lost, connections 0..3 come back
//   'w'       the store is tampered with for the last table, then read back
//             at the next restart or load; the second byte says what:
//             'l' the rest is one more event line, 'k' the rest is its seat
//             kinds, 'n' the rest is the name and token of seat (third byte)
// In messages "@CODE" and "@TOKEN" stand for the last table code and seat
// token the lobby handed out, so a short input reaches a game in progress.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "Lobby.h"
#include "record/GameFile.h"

namespace {

using daro::server::ConnId;

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_server: %s\n", what);
    std::abort();
}

struct Search {
    std::string code;
    std::uint64_t ticket;
    daro::SearchRequest request;
};

class RecordingOutbox : public daro::server::Outbox {
public:
    void send(ConnId, const std::string& text) override {
        const auto j = nlohmann::json::parse(text, nullptr, false);
        require(j.is_object() && j.contains("type"), "a message that is not an object with a type");
        if (j["type"] == "error") require(j.contains("code") && j["code"].is_string(), "an error without a code");
        if (j["type"] == "created") code = j["code"];
        if (j["type"] == "joined" && j.contains("token")) token = j["token"];
    }
    void close(ConnId) override {}
    void search(const std::string& c, std::uint64_t ticket, const daro::SearchRequest& request) override {
        if (searches.size() < 64) searches.push_back({c, ticket, request});
    }
    void log(const std::string&) override {}

    std::string code = "AAAAAA", token;
    std::deque<Search> searches;
};

std::string substitute(std::string text, const std::string& key, const std::string& value) {
    for (std::size_t at = 0; (at = text.find(key, at)) != std::string::npos; at += value.size())
        text.replace(at, key.size(), value);
    return text;
}

// What a store written by another hand, or damaged, may hold.
void tamper(daro::server::Store& store, const std::string& code, char what, std::string_view rest, int actions) {
    const std::string text(rest);
    if (what == 'l') {
        // Past every index the lobby has used, so the line lands at the end.
        store.appendLines(code, 100000 + actions, {text});
    } else if (what == 'k') {
        store.setSeatKinds(code, text);
    } else if (what == 'n' && !rest.empty()) {
        const std::string holder = text.substr(1);
        const auto cut = holder.find(' ');
        store.setSeat(code, rest[0] - '0', {holder.substr(0, cut), cut == std::string::npos ? "" : holder.substr(cut + 1)});
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;
    daro::server::Store store("");
    RecordingOutbox out;
    daro::server::Limits limits;
    limits.connectionsPerAddress = 6;
    auto lobby = std::make_unique<daro::server::Lobby>(store, out, limits);
    double now = 1000;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    auto connectFirstFour = [&] {
        for (int c = 0; c < 4; ++c) lobby->connected(static_cast<ConnId>(c), "10.0.0." + std::to_string(c % 2), now);
    };
    connectFirstFour();

    int actions = 0;
    while (!input.empty() && ++actions < 400) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        if (line.empty()) continue;
        const char action = line[0];
        const std::string_view rest = line.substr(1);
        now += 0.01;
        if (action >= '0' && action <= '7') {
            std::string message = substitute(substitute(std::string(rest), "@CODE", out.code), "@TOKEN", out.token);
            lobby->received(static_cast<ConnId>(action - '0'), message, now);
        } else if (action == 'c' && !rest.empty()) {
            lobby->connected(static_cast<ConnId>(rest[0] & 7), "10.0.0." + std::to_string(rest[0] & 1), now);
        } else if (action == 'd' && !rest.empty()) {
            lobby->disconnected(static_cast<ConnId>(rest[0] & 7), now);
        } else if (action == 'b' && !rest.empty()) {
            lobby->receivedBinary(static_cast<ConnId>(rest[0] & 7), now);
        } else if (action == 't') {
            now += rest.empty() ? 1 : static_cast<unsigned char>(rest[0]);
            lobby->tick(now);
        } else if (action == 'r') {
            lobby.reset();
            out.searches.clear();
            lobby = std::make_unique<daro::server::Lobby>(store, out, limits);
            lobby->restore(now);
            connectFirstFour();
        } else if (action == 'w' && !rest.empty()) {
            tamper(store, out.code, rest[0], rest.substr(1), actions);
        } else if (action == 's' && !out.searches.empty()) {
            Search s = out.searches.front();
            out.searches.pop_front();
            // LEVEL1 is as good as any for the lobby, and quick.
            s.request.level = 1;
            lobby->searched(s.code, s.ticket, daro::think(s.request), now);
        }
    }
    // Whatever was played is a game the game-file reader accepts.
    if (const auto* t = lobby->findTable(out.code); t != nullptr) {
        const std::string text = lobby->gameFile(out.code);
        const auto replayed = daro::replayGameFile(text);
        require(replayed.game.has_value(), "a table whose game file does not replay");
    }
    return 0;
}
