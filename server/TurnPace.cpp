// Turn-based tables: each seat has moveSeconds for its move, whether or not
// its player is there; the computer moves for a seat whose time ran out,
// and plays a seat that missed too many moves until its player is back.
// Such tables live in the store: the server lets go of those nobody is at
// and loads them again when asked, or when a seat's time runs out.
#include <cmath>

#include "Announce.h"
#include "Lobby.h"
#include "MessageFields.h"
#include "TableLines.h"

namespace daro::server {

namespace {
double tenths(double seconds) { return std::max(0.0, std::ceil(seconds * 10) / 10); }
}  // namespace

std::optional<double> Lobby::turnLeft(const GameTable& t, double now) const {
    if (t.status != GameTable::Status::playing) return std::nullopt;
    const Step step = t.table.next();
    if (step.kind != StepKind::human) return std::nullopt;
    const SeatState& seat = t.seats[static_cast<std::size_t>(step.seat)];
    if (seat.standIn) return std::nullopt;
    if (t.turnPace) return tenths(t.turnEnds - now);
    if (!seat.tokenHash.empty() && seat.conn == 0) return tenths(seat.graceEnds - now);
    return std::nullopt;
}

// The seat to move has run out of time: the record says so, and the
// computer chooses its move (Lobby::searched makes it).
void Lobby::runOutOfTime(GameTable& t, double now) {
    if (t.status != GameTable::Status::playing || t.searching || t.stalled) return;
    // Most ticks: time is left, and nobody's move is owed.
    if (t.timeoutSeat == 0 && now < t.turnEnds) return;
    const Step step = t.table.next();
    if (step.kind != StepKind::human || t.seats[static_cast<std::size_t>(step.seat)].standIn) return;
    if (t.timeoutSeat != step.seat) {
        if (now < t.turnEnds) return;
        const std::string line = "timeout " + std::to_string(step.seat);
        if (!store_.appendLines(t.code, static_cast<int>(t.lines.size()), {line})) {
            out_.log(t.code + " store: " + store_.lastError());
            return;
        }
        t.lines.push_back(line);
        t.timeoutSeat = step.seat;
        out_.log(t.code + " " + line);
    }
    startSearch(t, step.seat);
}

void Lobby::afterTimeout(GameTable& t, int seat, double now) {
    SeatState& s = t.seats[static_cast<std::size_t>(seat)];
    ++s.missed;
    seatChanged(t, seat, now);
    if (s.missed >= limits_.missedBeforeAbandoned && !s.standIn && t.status == GameTable::Status::playing) {
        notice(t, "abandoned", seat);
        return standIn(t, seat, true, now);
    }
    advance(t, now);
}

void Lobby::notice(GameTable& t, std::string_view kind, int seat) {
    const std::string who = "Seat " + std::to_string(seat);
    const std::string text =
        kind == "abandoned" ? who + " missed " + std::to_string(limits_.missedBeforeAbandoned) +
                                  " moves in a row; the computer plays it until its player comes back."
                            : who + " is played by its player again.";
    broadcast(t, {{"type", "chat"}, {"seat", 0}, {"name", ""}, {"text", text}, {"notice", kind}, {"noticeSeat", seat}});
}

// A table nobody is at may go, once it has been idle a while: a finished
// one, one waiting for players (a live one is forgotten then), and a
// turn-based game that waits for a person, as its store holds all of it,
// the clock included. Public turn-based tables stay, so the lobby lists them.
bool Lobby::canLetGo(const GameTable& t) const {
    for (int s = 1; s <= seats; ++s)
        if (t.seats[static_cast<std::size_t>(s)].conn != 0) return false;
    if (!t.spectators.empty()) return false;
    if (t.status == GameTable::Status::over) return true;
    if (t.turnPace && t.isPublic) return false;
    if (t.status == GameTable::Status::waiting) return true;
    if (!t.turnPace || t.searching || t.stalled || t.timeoutSeat != 0) return false;
    const Step step = t.table.next();
    return step.kind == StepKind::human && !t.seats[static_cast<std::size_t>(step.seat)].standIn;
}

void Lobby::letGo(const std::string& code, bool forget) {
    if (forget && !store_.removeTable(code)) out_.log(code + " store: " + store_.lastError());
    out_.log(code + " let go after being idle");
    forgetListing(code);
    tables_.erase(code);
}

// The memory is full: the table nobody has been at for longest gives way,
// if one can.
bool Lobby::makeRoom() {
    const GameTable* oldest = nullptr;
    // The cheap tests first: whether a table may go can ask the rules for its seat's moves.
    for (const auto& [code, t] : tables_)
        if ((t->turnPace || t->status == GameTable::Status::over) && !t->searching &&
            (oldest == nullptr || t->idleSince < oldest->idleSince) && canLetGo(*t))
            oldest = t.get();
    if (oldest == nullptr) return false;
    letGo(oldest->code, false);
    return true;
}

void Lobby::loadDueTables(double now) {
    for (const std::string& code : store_.dueTables(now, limits_.dueLoadsPerTick)) {
        if (findTable(code) != nullptr || unplayable_.count(code) != 0) continue;
        if (GameTable* t = bringBack(code, now)) runOutOfTime(*t, now);
    }
}

}  // namespace daro::server
