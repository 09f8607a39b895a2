// Tables from the store: brought back after a restart, reloaded after a
// failed commit, and written out as game files.
#include "Lobby.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "Announce.h"
#include "MessageFields.h"
#include "Secrets.h"
#include "TableLines.h"
#include "record/GameFile.h"

namespace daro::server {

bool Lobby::rebuild(GameTable& t, const StoredTable& stored, double now) {
    t.code = stored.code;
    t.level = stored.level >= 1 && stored.level <= Table::levelFive ? stored.level : 3;
    t.grace = std::clamp(stored.grace, 0, limits_.maxGraceSeconds);
    t.isPublic = stored.isPublic;
    t.quickWait = std::max(0, stored.quickWait);
    t.turnPace = stored.turnPace;
    t.moveSeconds = t.turnPace ? std::clamp(stored.moveSeconds, minMoveSeconds, maxMoveSeconds) : 0;
    t.hints = stored.hints;
    t.turnEnds = t.turnPace ? (stored.turnEnds > 0 ? stored.turnEnds : now + t.moveSeconds) : 0;
    t.rematch = stored.rematch;
    t.createdFrom = stored.createdFrom;
    t.createdAt = now;
    t.idleSince = now;
    std::istringstream words(stored.seats);
    std::array<SeatKind, 8> kinds{};
    for (int s = 1; s <= seats; ++s) {
        std::string word;
        words >> word;
        const auto kind = seatKindOf(word);
        if (!kind) return false;
        kinds[static_cast<std::size_t>(s)] = *kind;
        SeatState& seat = t.seats[static_cast<std::size_t>(s)];
        seat.created = *kind;
        seat.name = stored.seat[static_cast<std::size_t>(s)].name;
        seat.tokenHash = stored.seat[static_cast<std::size_t>(s)].tokenHash;
        seat.graceEnds = now + t.grace;
    }
    bool full = true;
    for (int s = 1; s <= seats; ++s)
        full = full && (!kinds[static_cast<std::size_t>(s)].human || !t.seats[static_cast<std::size_t>(s)].tokenHash.empty());
    if (stored.lines.empty() && !full) return true;

    t.table.computerLevel = t.level;
    t.table.seat(modeOf(kinds), kinds);
    t.status = GameTable::Status::playing;
    std::vector<std::string> replayed;
    auto collect = [&] {
        for (const TableEvent& e : t.table.drainEvents()) {
            if (e.kind == TableEventKind::gameOver) {
                t.status = GameTable::Status::over;
                t.result = resultLine(e.outcome);
            }
            if (std::string line = lineOf(e); !line.empty()) replayed.push_back(std::move(line));
        }
    };
    collect();
    // The seat whose time ran out, until the move made for it.
    int timedOut = 0;
    for (const std::string& line : stored.lines) {
        int number = 0, movedSeat = 0;
        if (std::sscanf(line.c_str(), "move %d %d", &number, &movedSeat) != 2 || movedSeat < 1 || movedSeat > seats)
            movedSeat = 0;
        if (!playLine(t.table, line)) return false;
        if (isSeatChangeLine(line)) {
            replayed.push_back(line);
            SeatState& seat = t.seats[static_cast<std::size_t>(std::stoi(line.substr(line.find(' ') + 1)))];
            if (line[0] == 't') timedOut = static_cast<int>(&seat - t.seats.data());
            if (line[0] != 't') seat.standIn = line[0] == 's';
            if (line[0] == 'p') seat.missed = 0;
        }
        if (movedSeat != 0) {
            SeatState& seat = t.seats[static_cast<std::size_t>(movedSeat)];
            if (timedOut == movedSeat)
                ++seat.missed;
            else if (!seat.standIn)
                seat.missed = 0;
            timedOut = 0;
        }
        collect();
    }
    // Stopped between the timeout and the move made for it: the tick makes it.
    if (t.status == GameTable::Status::playing && timedOut != 0 && t.table.next().seat == timedOut)
        t.timeoutSeat = timedOut;
    // Replaying must give back exactly what was stored, result included.
    if (replayed != stored.lines) return false;
    t.lines = stored.lines;
    return true;
}

void Lobby::restore(double now) {
    for (const StoredTable& stored : store_.unfinishedTables()) {
        if (tables_.size() >= limits_.maxTables) break;
        auto t = std::make_unique<GameTable>();
        if (!rebuild(*t, stored, now)) {
            out_.log(stored.code + " could not be restored: its stored game does not replay");
            continue;
        }
        out_.log(stored.code + " restored at move " + std::to_string(t->table.moveNumber));
        GameTable& table = *t;
        tables_[stored.code] = std::move(t);
        listingChanged(table);
        advance(table, now);
    }
}

// A finished game the server let go of, or had before a restart, comes
// back to be watched (or rejoined, to be told it is over); a turn-based
// table comes back to be played. Either is let go again when nobody is there.
GameTable* Lobby::bringBack(const std::string& code, double now) {
    const auto stored = store_.table(code);
    if (!stored || (!stored->finished && !stored->turnPace)) return nullptr;
    if (tables_.size() >= limits_.maxTables && !makeRoom()) return nullptr;
    auto t = std::make_unique<GameTable>();
    if (!rebuild(*t, *stored, now) || (stored->finished && t->status != GameTable::Status::over)) {
        if (unplayable_.insert(code).second) out_.log(code + " could not be brought back: its stored game does not replay");
        return nullptr;
    }
    GameTable* table = t.get();
    tables_[code] = std::move(t);
    listingChanged(*table);
    advance(*table, now);
    return findTable(code);
}

// After a failed commit the table goes back to what the store holds, which
// is everything anybody was told.
void Lobby::reload(std::string code, double now) {
    auto it = tables_.find(code);
    if (it == tables_.end()) return;
    auto stored = store_.table(code);
    auto fresh = std::make_unique<GameTable>();
    if (!stored || !rebuild(*fresh, *stored, now)) {
        out_.log(code + " lost its store; the table is closed");
        for (int s = 1; s <= seats; ++s)
            if (ConnId conn = it->second->seats[static_cast<std::size_t>(s)].conn; conn != 0) out_.close(conn);
        for (ConnId spectator : it->second->spectators) out_.close(spectator);
        for (auto& [id, c] : connections_)
            if (c.table == code) c.table.clear(), c.seat = 0;
        tables_.erase(it);
        forgetListing(code);
        return;
    }
    GameTable& old = *it->second;
    for (int s = 1; s <= seats; ++s) {
        fresh->seats[static_cast<std::size_t>(s)].conn = old.seats[static_cast<std::size_t>(s)].conn;
        fresh->seats[static_cast<std::size_t>(s)].graceEnds = old.seats[static_cast<std::size_t>(s)].graceEnds;
    }
    fresh->spectators = old.spectators;
    // Still the table it was, as old as it was: its place in the list and a quick table's wait stay.
    fresh->createdAt = old.createdAt;
    fresh->searchTicket = old.searchTicket + 1;
    // The tick tries the step again, not this call: the store may still be failing.
    fresh->stalled = true;
    it->second = std::move(fresh);
    GameTable& t = *it->second;
    listingChanged(t);
    for (int s = 1; s <= seats; ++s)
        if (ConnId conn = t.seats[static_cast<std::size_t>(s)].conn; conn != 0) sendJson(conn, tableJson(t, s, now));
    for (ConnId spectator : t.spectators) sendJson(spectator, tableJson(t, 0, now));
}

std::string Lobby::gameFile(const std::string& code) {
    std::optional<StoredTable> stored;
    std::vector<std::string> lines;
    std::array<SeatKind, 8> kinds{};
    int level = 3;
    if (const GameTable* t = findTable(code)) {
        lines = t->lines;
        level = t->level;
        for (int s = 1; s <= seats; ++s) kinds[static_cast<std::size_t>(s)] = t->seats[static_cast<std::size_t>(s)].created;
    } else if ((stored = store_.table(code))) {
        lines = stored->lines;
        level = stored->level;
        std::istringstream words(stored->seats);
        for (int s = 1; s <= seats; ++s) {
            std::string word;
            words >> word;
            kinds[static_cast<std::size_t>(s)] = seatKindOf(word).value_or(SeatKind{true, 0});
        }
    } else {
        return {};
    }
    // Every seat as the table was made: the computer standing in for a
    // player chose moves for a human seat, and the file keeps them as such.
    GameHeader header{modeOf(kinds), 1, level, {}};
    for (int s = 1; s <= seats; ++s) header.seats[static_cast<std::size_t>(s)] = seatToken(kinds[static_cast<std::size_t>(s)]);
    std::string text = gameFileText(header, {}, -1, "");
    for (const std::string& line : lines)
        if (!isSeatChangeLine(line)) text += line + "\n";
    return text;
}

void Lobby::download(ConnId who, const Json& m) {
    const std::string* given = stringField(m, "code");
    const std::string code = given == nullptr ? "" : tableCodeOf(*given);
    if (code.empty()) return error(who, "malformed", "download", "\"code\" is a table code of 6 characters");
    const std::string text = gameFile(code);
    if (text.empty()) return error(who, "no_such_table", "download", "no table has that code");
    const GameTable* t = findTable(code);
    const bool finished = t == nullptr || t->status == GameTable::Status::over;
    sendJson(who, {{"type", "game"}, {"code", code}, {"finished", finished}, {"text", text}});
}

}  // namespace daro::server
