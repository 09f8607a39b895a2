// Who sits where: joining, tokens and reconnecting, spectators, leaving,
// dropped connections and their grace, the computer standing in.
#include "Lobby.h"

#include <algorithm>

#include "Announce.h"
#include "MessageFields.h"
#include "Secrets.h"
#include "TableLines.h"

namespace daro::server {

void Lobby::join(ConnId who, Connection& c, const Json& m, double now) {
    if (!c.table.empty()) return error(who, "already_at_table", "join", "leave the table first");
    GameTable* t = tableByCode(m, who, "join", now);
    if (t == nullptr) return;
    // Over is over, whether or not a seat is free.
    if (t->status == GameTable::Status::over) return error(who, "game_over", "join", "the game is over");
    int seat = 0;
    if (m.contains("seat")) {
        seat = intField(m, "seat", 1, seats).value_or(0);
        if (seat == 0) return error(who, "malformed", "join", "\"seat\" is 1 to 7");
        const SeatState& s = t->seats[static_cast<std::size_t>(seat)];
        if (!s.created.human || !s.tokenHash.empty())
            return error(who, "seat_taken", "join", "that seat is not a free human seat");
    } else {
        for (int s = 1; s <= seats && seat == 0; ++s)
            if (t->seats[static_cast<std::size_t>(s)].created.human && t->seats[static_cast<std::size_t>(s)].tokenHash.empty())
                seat = s;
        if (seat == 0) return error(who, "no_free_seat", "join", "every human seat is taken");
    }
    seatNewcomer(who, c, *t, seat, "join", now);
}

void Lobby::seatNewcomer(ConnId who, Connection& c, GameTable& table, int seat, std::string_view about, double now) {
    GameTable* t = &table;
    SeatState& s = t->seats[static_cast<std::size_t>(seat)];
    const std::string token = newToken();
    s.tokenHash = tokenHash(token);
    s.name = c.name;
    if (!storeSeat(*t, seat)) {
        s.tokenHash.clear();
        s.name.clear();
        return error(who, "storage_failed", about, "the seat could not be stored");
    }
    out_.log(t->code + " seat " + std::to_string(seat) + " joined by " + c.name);
    sendJson(who, {{"type", "joined"}, {"code", t->code}, {"seat", seat}, {"token", token}});
    // The seat is handed back before the newcomer sees the table.
    if (s.standIn) standIn(*t, seat, false, now);
    takeSeat(who, c, *t, seat, now);
    if (t->status == GameTable::Status::waiting) startIfFull(*t, now);
}

void Lobby::reconnect(ConnId who, Connection& c, const Json& m, double now) {
    if (!c.table.empty()) return error(who, "already_at_table", "reconnect", "leave the table first");
    const std::string* token = stringField(m, "token");
    const auto seat = intField(m, "seat", 1, seats);
    if (token == nullptr || !seat) return error(who, "malformed", "reconnect", "\"seat\" 1 to 7 and \"token\" are needed");
    GameTable* t = tableByCode(m, who, "reconnect", now);
    if (t == nullptr) return;
    SeatState& s = t->seats[static_cast<std::size_t>(*seat)];
    if (s.tokenHash.empty() || token->size() != 32 || !sameSecret(tokenHash(*token), s.tokenHash))
        return error(who, "bad_token", "reconnect", "that is not this seat's token");
    if (s.conn != 0 && s.conn != who) {
        // The old connection is a dead socket not yet noticed, or another device.
        const ConnId old = s.conn;
        if (auto o = connections_.find(old); o != connections_.end()) {
            o->second.table.clear();
            o->second.seat = 0;
        }
        error(old, "replaced", "", "this seat was taken up by another connection");
        out_.close(old);
        s.conn = 0;
    }
    out_.log(t->code + " seat " + std::to_string(*seat) + " back");
    sendJson(who, {{"type", "joined"}, {"code", t->code}, {"seat", *seat}});
    if (s.standIn) standIn(*t, *seat, false, now);
    takeSeat(who, c, *t, *seat, now);
}

void Lobby::takeSeat(ConnId who, Connection& c, GameTable& t, int seat, double now) {
    SeatState& s = t.seats[static_cast<std::size_t>(seat)];
    s.conn = who;
    s.graceEnds = 0;
    c.table = t.code;
    c.seat = seat;
    sendJson(who, tableJson(t, seat, now));
    seatChanged(t, seat, now);
}

void Lobby::spectate(ConnId who, Connection& c, const Json& m, double now) {
    if (!c.table.empty()) return error(who, "already_at_table", "spectate", "leave the table first");
    GameTable* t = tableByCode(m, who, "spectate", now);
    if (t == nullptr) return;
    if (t->spectators.size() >= limits_.spectatorsPerTable)
        return error(who, "table_full", "spectate", "this table has as many spectators as it takes");
    t->spectators.insert(who);
    c.table = t->code;
    c.seat = 0;
    sendJson(who, tableJson(*t, 0, now));
}

void Lobby::leave(ConnId who, Connection& c, double now) {
    GameTable* t = tableOf(c);
    if (t == nullptr) return error(who, "not_at_table", "leave", "not at a table");
    const int seat = c.seat;
    if (seat != 0) {
        SeatState& s = t->seats[static_cast<std::size_t>(seat)];
        s.conn = 0;
        s.tokenHash.clear();
        s.name.clear();
        if (!storeSeat(*t, seat)) out_.log("store: " + store_.lastError());
        out_.log(t->code + " seat " + std::to_string(seat) + " left");
        c.table.clear();
        c.seat = 0;
        if (t->status == GameTable::Status::playing && !s.standIn)
            standIn(*t, seat, true, now);
        else
            seatChanged(*t, seat, now);
    } else {
        t->spectators.erase(who);
        c.table.clear();
    }
    sendJson(who, {{"type", "left"}});
}

void Lobby::detach(ConnId who, Connection& c, double now) {
    GameTable* t = tableOf(c);
    if (t == nullptr) return;
    if (c.seat != 0) {
        SeatState& s = t->seats[static_cast<std::size_t>(c.seat)];
        s.conn = 0;
        s.graceEnds = now + t->grace;
        out_.log(t->code + " seat " + std::to_string(c.seat) + " disconnected");
        seatChanged(*t, c.seat, now);
    } else {
        t->spectators.erase(who);
    }
    c.table.clear();
    c.seat = 0;
}

bool Lobby::storeSeat(GameTable& t, int seat) {
    const SeatState& s = t.seats[static_cast<std::size_t>(seat)];
    return store_.setSeat(t.code, seat, {s.name, s.tokenHash});
}

void Lobby::standIn(GameTable& t, int seat, bool computer, double now) {
    SeatState& s = t.seats[static_cast<std::size_t>(seat)];
    if (s.standIn == computer) return;
    const std::string line = computer ? standInLine(seat, t.level) : playerLine(seat);
    if (t.status == GameTable::Status::playing) {
        if (!store_.appendLines(t.code, static_cast<int>(t.lines.size()), {line})) {
            out_.log(t.code + " store: " + store_.lastError());
            return;
        }
        t.lines.push_back(line);
        // A search under way for this seat no longer counts.
        if (t.searching && t.searchSeat == seat) t.searching = false;
    }
    s.standIn = computer;
    if (!computer && t.turnPace) {
        // Back at a turn-based table: the seat's own clock again, a fresh one if it is its turn.
        const bool wasAbandoned = s.missed >= limits_.missedBeforeAbandoned;
        s.missed = 0;
        if (wasAbandoned) notice(t, "back", seat);
        if (t.status == GameTable::Status::playing && t.table.next().seat == seat) {
            t.turnEnds = std::max(t.turnEnds, now + t.moveSeconds);
            if (!store_.setTurn(t.code, seat, t.turnEnds)) out_.log(t.code + " store: " + store_.lastError());
        }
    }
    out_.log(t.code + " seat " + std::to_string(seat) + (computer ? " played by the computer" : " played by its player"));
    seatChanged(t, seat, now);
    advance(t, now);
}

}  // namespace daro::server
