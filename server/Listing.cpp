// Finding other players: the list of public tables (asked for, or followed
// live), and quick play, which seats a player at the public table closest
// to starting and lets computers fill what is still empty after a wait.
#include <algorithm>
#include <cmath>

#include "Lobby.h"
#include "MessageFields.h"

namespace daro::server {

namespace {
constexpr std::size_t listingEntries = 100;
constexpr int defaultQuickMinutes = 3, maxQuickMinutes = 30;

int freeSeats(const GameTable& t) {
    int free = 0;
    for (int s = 1; s <= seats; ++s)
        free += t.seats[static_cast<std::size_t>(s)].created.human && t.seats[static_cast<std::size_t>(s)].tokenHash.empty();
    return free;
}

bool anyoneSeated(const GameTable& t) {
    for (int s = 1; s <= seats; ++s)
        if (!t.seats[static_cast<std::size_t>(s)].tokenHash.empty()) return true;
    return false;
}
}  // namespace

// Called whenever what the index files a table under may have changed:
// its seats, its status, its seat kinds.
void Lobby::listingChanged(const GameTable& t) {
    if (!t.isPublic) return;
    listingDirty_ = true;
    ListingFacts facts;
    facts.listed = t.status != GameTable::Status::over;
    facts.waiting = t.status == GameTable::Status::waiting;
    facts.free = freeSeats(t);
    facts.createdAt = t.createdAt;
    facts.quick = t.quickWait > 0;
    facts.turnPace = t.turnPace;
    facts.seated = anyoneSeated(t);
    facts.quickDue = t.createdAt + t.quickWait;
    listing_.update(t.code, facts);
}

void Lobby::forgetListing(const std::string& code) {
    const std::size_t before = listing_.size();
    listing_.erase(code);
    if (listing_.size() != before) listingDirty_ = true;
}

Json Lobby::listingEntry(const GameTable& t, double now) const {
    Json kinds = Json::array(), players = Json::array();
    for (int s = 1; s <= seats; ++s) {
        const SeatState& seat = t.seats[static_cast<std::size_t>(s)];
        kinds.push_back(seatWord(seat.created));
        players.push_back(seat.name);
    }
    return {{"code", t.code},
            {"status", t.status == GameTable::Status::waiting ? "waiting" : "playing"},
            {"seats", kinds},
            {"players", players},
            {"free", freeSeats(t)},
            {"level", t.level},
            {"pace", t.turnPace ? "turn" : "live"},
            {"moveSeconds", t.moveSeconds},
            {"quick", t.quickWait > 0},
            {"age", static_cast<std::int64_t>(std::max(0.0, std::floor(now - t.createdAt)))}};
}

// The waiting tables first, those closest to starting first; then the games
// being played. Never more than a message's worth.
Json Lobby::listingJson(double now) const {
    Json w = Json::array(), p = Json::array();
    std::size_t room = listingEntries;
    for (auto it = listing_.waiting().begin(); room > 0 && it != listing_.waiting().end(); ++it)
        if (const GameTable* t = findTable(std::get<2>(*it))) w.push_back(listingEntry(*t, now)), --room;
    for (auto it = listing_.playing().begin(); room > 0 && it != listing_.playing().end(); ++it)
        if (const GameTable* t = findTable(std::get<1>(*it))) p.push_back(listingEntry(*t, now)), --room;
    return {{"type", "lobby"},
            {"waiting", w},
            {"playing", p},
            {"waitingCount", listing_.waiting().size()},
            {"playingCount", listing_.playing().size()}};
}

void Lobby::lobby(ConnId who, Connection& c, const Json& m, double now) {
    if (auto it = m.find("subscribe"); it != m.end()) {
        if (!it->is_boolean()) return error(who, "malformed", "lobby", "\"subscribe\" is true or false");
        c.subscribed = it->get<bool>();
        if (c.subscribed)
            subscribers_.insert(who);
        else
            subscribers_.erase(who);
    }
    sendJson(who, listingJson(now));
}

// Subscribers hear of a change once a tick at most, however many there were.
void Lobby::sendListing(double now) {
    if (!listingDirty_) return;
    listingDirty_ = false;
    if (subscribers_.empty()) return;
    const std::string text = dump(listingJson(now));
    for (ConnId who : subscribers_) out_.send(who, text);
}

void Lobby::quick(ConnId who, Connection& c, const Json& m, double now) {
    if (!c.table.empty()) return error(who, "already_at_table", "quick", "leave the table first");
    TableRules rules;
    if (!readPace(m, rules)) return error(who, "malformed", "quick", paceRule);
    const int level = m.contains("level") ? intField(m, "level", 1, 4).value_or(0) : 3;
    if (level == 0) return error(who, "malformed", "quick", "\"level\" is 1 to 4");
    const int minutes =
        m.contains("wait") ? intField(m, "wait", 1, maxQuickMinutes).value_or(0) : defaultQuickMinutes;
    if (minutes == 0)
        return error(who, "malformed", "quick", "\"wait\" is 1 to " + std::to_string(maxQuickMinutes) + " minutes");

    const std::string* found = listing_.bestQuick(rules.turnPace);
    GameTable* best = found == nullptr ? nullptr : findTable(*found);
    if (best != nullptr && (best->status != GameTable::Status::waiting || freeSeats(*best) == 0)) best = nullptr;
    if (best == nullptr) {
        std::array<SeatKind, 8> humans{};
        for (int s = 1; s <= seats; ++s) humans[static_cast<std::size_t>(s)] = SeatKind{true, 0};
        rules.level = level;
        rules.isPublic = true;
        rules.quickWait = minutes * 60;
        best = newTable(who, c, humans, rules, "quick", now);
        if (best == nullptr) return;
    }
    int seat = 0;
    for (int s = 1; s <= seats && seat == 0; ++s)
        if (best->seats[static_cast<std::size_t>(s)].created.human && best->seats[static_cast<std::size_t>(s)].tokenHash.empty())
            seat = s;
    seatNewcomer(who, c, *best, seat, "quick", now);
}

// A quick-play table that has waited its time starts with computers, at its
// level, on the seats nobody took; those at the table get it whole again,
// since its seats are no longer what they were.
void Lobby::fillQuickTables(double now) {
    std::vector<std::string> due;
    for (const auto& [when, code] : listing_.quickDue()) {
        if (when > now) break;
        const GameTable* t = findTable(code);
        if (t != nullptr && t->status == GameTable::Status::waiting && anyoneSeated(*t)) due.push_back(code);
    }
    for (const std::string& code : due) {
        GameTable* t = findTable(code);
        if (t == nullptr) continue;
        std::array<SeatKind, 8> kinds{};
        std::string words;
        for (int s = 1; s <= seats; ++s) {
            SeatState& seat = t->seats[static_cast<std::size_t>(s)];
            kinds[static_cast<std::size_t>(s)] =
                seat.created.human && seat.tokenHash.empty() ? SeatKind{false, t->level} : seat.created;
            words += (s > 1 ? " " : "") + seatWord(kinds[static_cast<std::size_t>(s)]);
        }
        if (!store_.setSeatKinds(code, words)) {
            out_.log(code + " store: " + store_.lastError());
            continue;
        }
        for (int s = 1; s <= seats; ++s) t->seats[static_cast<std::size_t>(s)].created = kinds[static_cast<std::size_t>(s)];
        out_.log(code + " filled by the computer after waiting: " + words);
        for (int s = 1; s <= seats; ++s)
            if (ConnId conn = t->seats[static_cast<std::size_t>(s)].conn; conn != 0) sendJson(conn, tableJson(*t, s, now));
        for (ConnId spectator : t->spectators) sendJson(spectator, tableJson(*t, 0, now));
        listingChanged(*t);
        startIfFull(*t, now);
    }
}

}  // namespace daro::server
