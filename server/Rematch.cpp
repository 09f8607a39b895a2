// After the game: a rematch at a new table with the same seats. And `mine`,
// a client's tables by the tokens it holds, whether the server has them in
// memory or only in its store.
#include <cmath>

#include "Lobby.h"
#include "MessageFields.h"
#include "Secrets.h"

namespace daro::server {

namespace {
constexpr std::size_t mineEntries = 100;
double tenths(double seconds) { return std::max(0.0, std::ceil(seconds * 10) / 10); }
}  // namespace

void Lobby::rematch(ConnId who, Connection& c, double now) {
    GameTable* old = tableOf(c);
    if (old == nullptr || c.seat == 0) return error(who, "not_seated", "rematch", "only a seated player asks for a rematch");
    if (old->status != GameTable::Status::over) return error(who, "game_not_over", "rematch", "the game is not over");
    const int seat = c.seat;
    const std::string oldCode = old->code;
    GameTable* next = nullptr;
    if (old->rematch.empty()) {
        std::array<SeatKind, 8> kinds{};
        for (int s = 1; s <= seats; ++s) kinds[static_cast<std::size_t>(s)] = old->seats[static_cast<std::size_t>(s)].created;
        const TableRules rules{old->level, old->grace, old->isPublic, 0, old->turnPace, old->moveSeconds, old->hints};
        next = newTable(who, c, kinds, rules, "rematch", now);
        if (next == nullptr) return;
        old = findTable(oldCode);
        if (old == nullptr) return;
        if (!store_.setRematch(oldCode, next->code)) out_.log(oldCode + " store: " + store_.lastError());
        old->rematch = next->code;
    } else {
        next = findTable(old->rematch);
        if (next == nullptr) next = bringBack(old->rematch, now);
        old = findTable(oldCode);
        if (next == nullptr || old == nullptr)
            return error(who, "no_such_table", "rematch", "the rematch table is gone");
    }
    if (next->status == GameTable::Status::over) return error(who, "game_over", "rematch", "the rematch is over too");
    if (!next->seats[static_cast<std::size_t>(seat)].tokenHash.empty())
        return error(who, "seat_taken", "rematch", "someone else took this seat at the rematch");

    // The player goes over to the new table; the old one keeps its record.
    old->seats[static_cast<std::size_t>(seat)].conn = 0;
    c.table.clear();
    c.seat = 0;
    seatChanged(*old, seat, now);
    broadcast(*old, {{"type", "rematch"}, {"code", next->code}, {"seat", seat}});
    seatNewcomer(who, c, *next, seat, "rematch", now);
}

void Lobby::mine(ConnId who, const Json& m, double now) {
    auto list = m.find("tables");
    if (list == m.end() || !list->is_array() || list->size() > mineEntries)
        return error(who, "malformed", "mine", "\"tables\" lists at most 100 tables");
    Json answers = Json::array();
    for (const Json& asked : *list) answers.push_back(mineEntry(asked, now));
    sendJson(who, {{"type", "mine"}, {"tables", answers}});
}

// One table's state for the holder of one of its seats; to anyone else,
// only that the token is not right.
Json Lobby::mineEntry(const Json& asked, double now) {
    const std::string* code = asked.is_object() ? stringField(asked, "code") : nullptr;
    const std::string* token = asked.is_object() ? stringField(asked, "token") : nullptr;
    const int seat = asked.is_object() ? intField(asked, "seat", 1, seats).value_or(0) : 0;
    const std::string table = code == nullptr ? "" : tableCodeOf(*code);
    Json entry = {{"code", table.empty() ? Json() : Json(table)}, {"seat", seat != 0 ? Json(seat) : Json()}};
    if (table.empty() || seat == 0 || token == nullptr || token->size() != 32) {
        entry["error"] = "malformed";
        return entry;
    }
    const std::string hash = tokenHash(*token);
    if (const GameTable* t = findTable(table)) {
        const std::string& held = t->seats[static_cast<std::size_t>(seat)].tokenHash;
        if (held.empty() || !sameSecret(hash, held)) {
            entry["error"] = "bad_token";
            return entry;
        }
        static constexpr const char* statusNames[] = {"waiting", "playing", "over"};
        const Step step = t->status == GameTable::Status::playing ? t->table.next() : Step{};
        const int turn = step.kind == StepKind::none ? 0 : step.seat;
        entry.update({{"status", statusNames[static_cast<int>(t->status)]},
                      {"pace", t->turnPace ? "turn" : "live"},
                      {"moveSeconds", t->moveSeconds},
                      {"turn", turn},
                      {"yourTurn", turn == seat},
                      {"moveNumber", t->table.moveNumber},
                      {"result", t->result}});
        if (const auto left = turnLeft(*t, now)) entry["turnLeft"] = *left;
        return entry;
    }
    // Not in memory: a turn-based table waiting in the store for a person's
    // move (the only kind let go of while it is played), or a finished one.
    const auto stored = store_.table(table);
    if (!stored) {
        entry["error"] = "no_such_table";
        return entry;
    }
    const std::string& held = stored->seat[static_cast<std::size_t>(seat)].tokenHash;
    if (held.empty() || !sameSecret(hash, held)) {
        entry["error"] = "bad_token";
        return entry;
    }
    int moves = 0;
    for (const std::string& line : stored->lines) moves += line.rfind("move ", 0) == 0;
    const bool playing = !stored->finished && (stored->turnSeat != 0 || !stored->lines.empty());
    const int turn = playing ? stored->turnSeat : 0;
    entry.update({{"status", stored->finished ? "over" : playing ? "playing" : "waiting"},
                  {"pace", stored->turnPace ? "turn" : "live"},
                  {"moveSeconds", stored->moveSeconds},
                  {"turn", turn},
                  {"yourTurn", turn == seat},
                  {"moveNumber", moves},
                  {"result", stored->result}});
    if (turn != 0 && stored->turnPace) entry["turnLeft"] = tenths(stored->turnEnds - now);
    return entry;
}

}  // namespace daro::server
