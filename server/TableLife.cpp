// A table's life: created, started when full, moved on step by step (the
// players' moves, the computers' searches), stored before it is told, and
// let go when nobody is there.
#include "Lobby.h"

#include <algorithm>
#include <utility>

#include "Announce.h"
#include "MessageFields.h"
#include "Secrets.h"
#include "TableLines.h"
#include "record/GameFile.h"

namespace daro::server {

const char* const paceRule = "\"pace\" is \"live\" or \"turn\"; \"moveSeconds\" 60 to 604800, at a turn-based table";

bool readPace(const Json& m, TableRules& rules) {
    if (m.contains("pace")) {
        const std::string* pace = stringField(m, "pace");
        if (pace == nullptr || (*pace != "live" && *pace != "turn")) return false;
        rules.turnPace = *pace == "turn";
    }
    if (!m.contains("moveSeconds")) {
        rules.moveSeconds = rules.turnPace ? defaultMoveSeconds : 0;
        return true;
    }
    rules.moveSeconds = intField(m, "moveSeconds", minMoveSeconds, maxMoveSeconds).value_or(0);
    return rules.turnPace && rules.moveSeconds != 0;
}

void Lobby::create(ConnId who, Connection& c, const Json& m, double now) {
    if (!c.table.empty()) return error(who, "already_at_table", "create", "leave the table first");
    auto list = m.find("seats");
    if (list == m.end() || !list->is_array() || list->size() != seats)
        return error(who, "malformed", "create", "\"seats\" lists 7 seats");
    std::array<SeatKind, 8> kinds{};
    for (int s = 1; s <= seats; ++s) {
        const Json& word = (*list)[static_cast<std::size_t>(s - 1)];
        const auto kind = word.is_string() ? seatKindOf(word.get_ref<const std::string&>()) : std::nullopt;
        if (!kind) return error(who, "malformed", "create", "a seat is \"human\" or \"level1\" to \"level5\"");
        kinds[static_cast<std::size_t>(s)] = *kind;
    }
    const int level = m.contains("level") ? intField(m, "level", 1, 5).value_or(0) : 3;
    if (level == 0) return error(who, "malformed", "create", "\"level\" is 1 to 5");
    const int grace = m.contains("grace") ? intField(m, "grace", 0, limits_.maxGraceSeconds).value_or(-1) : 90;
    if (grace < 0)
        return error(who, "malformed", "create",
                     "\"grace\" is 0 to " + std::to_string(limits_.maxGraceSeconds) + " seconds");
    TableRules rules{level, grace};
    for (auto [key, flag] : {std::pair{"public", &rules.isPublic}, std::pair{"hints", &rules.hints}}) {
        auto given = m.find(key);
        if (given != m.end() && !given->is_boolean())
            return error(who, "malformed", "create", "\"" + std::string(key) + "\" is true or false");
        *flag = given != m.end() && given->get<bool>();
    }
    if (!readPace(m, rules)) return error(who, "malformed", "create", paceRule);
    GameTable* t = newTable(who, c, kinds, rules, "create", now);
    if (t == nullptr) return;
    sendJson(who, {{"type", "created"}, {"code", t->code}});
    startIfFull(*t, now);
}

GameTable* Lobby::newTable(ConnId who, Connection& c, const std::array<SeatKind, 8>& kinds, const TableRules& rules,
                           std::string_view about, double now) {
    if (tables_.size() >= limits_.maxTables && !makeRoom()) {
        error(who, "server_full", about, "too many tables; try later");
        return nullptr;
    }
    // Every table in memory is in the store too, so the store's count holds
    // them all, and the turn-based tables it let go of besides.
    if (store_.unfinishedFrom(c.address) >= limits_.tablesPerAddress) {
        error(who, "too_many_tables", about, "this address has too many unfinished tables");
        return nullptr;
    }

    auto t = std::make_unique<GameTable>();
    t->createdFrom = c.address;
    do t->code = newTableCode(limits_.codePrefix);
    while (tables_.count(t->code) != 0 || store_.table(t->code));
    const auto [level, grace, isPublic, quickWait, turnPace, moveSeconds, hints] = rules;
    t->level = level;
    t->grace = grace;
    t->isPublic = isPublic;
    t->quickWait = quickWait;
    t->turnPace = turnPace;
    t->moveSeconds = moveSeconds;
    t->hints = hints;
    t->createdAt = now;
    t->idleSince = now;
    for (int s = 1; s <= seats; ++s) t->seats[static_cast<std::size_t>(s)].created = kinds[static_cast<std::size_t>(s)];

    StoredTable stored;
    stored.code = t->code;
    for (int s = 1; s <= seats; ++s)
        stored.seats += (s > 1 ? " " : "") + seatWord(kinds[static_cast<std::size_t>(s)]);
    stored.level = level;
    stored.grace = grace;
    stored.isPublic = isPublic;
    stored.quickWait = quickWait;
    stored.turnPace = turnPace;
    stored.moveSeconds = moveSeconds;
    stored.hints = hints;
    stored.createdFrom = c.address;
    if (!store_.createTable(stored)) {
        out_.log("store: " + store_.lastError());
        error(who, "storage_failed", about, "the table could not be stored");
        return nullptr;
    }
    GameTable& table = *t;
    tables_.emplace(t->code, std::move(t));
    out_.log(table.code + " created: " + stored.seats + ", level " + std::to_string(level) + ", grace " +
             std::to_string(grace) + "s" + (isPublic ? ", public" : "") +
             (quickWait > 0 ? ", quick play after " + std::to_string(quickWait) + "s" : "") +
             (turnPace ? ", " + std::to_string(moveSeconds) + "s a move" : ""));
    listingChanged(table);
    return &table;
}

void Lobby::startIfFull(GameTable& t, double now) {
    if (t.status != GameTable::Status::waiting) return;
    std::array<SeatKind, 8> kinds{};
    for (int s = 1; s <= seats; ++s) {
        const SeatState& seat = t.seats[static_cast<std::size_t>(s)];
        if (seat.created.human && seat.tokenHash.empty()) return;
        kinds[static_cast<std::size_t>(s)] = seat.created;
    }
    t.table.computerLevel = t.level;
    t.table.seat(modeOf(kinds), kinds);
    t.status = GameTable::Status::playing;
    listingChanged(t);
    out_.log(t.code + " started");
    broadcast(t, {{"type", "started"}});
    if (!publish(t, now)) return reload(t.code, now);
    advance(t, now);
}

// Moves the game on until it waits for a player or a search; each step's
// events are stored, then announced.
void Lobby::advance(GameTable& t, double now) {
    for (int guard = 0; guard < loopGuard && t.status == GameTable::Status::playing; ++guard) {
        const Step step = t.table.next();
        switch (step.kind) {
            case StepKind::none: return;
            case StepKind::human:
                if (t.seats[static_cast<std::size_t>(step.seat)].standIn) startSearch(t, step.seat);
                return;
            case StepKind::computerMove: startSearch(t, step.seat); return;
            case StepKind::paused: t.table.resume(); break;
            case StepKind::dropOut:
            case StepKind::pass: t.table.step(); break;
        }
        if (!publish(t, now)) return reload(t.code, now);
    }
}

void Lobby::startSearch(GameTable& t, int seat) {
    if (t.searching) return;
    SearchRequest request = t.table.snapshot();
    // A stand-in plays at the table's level, whatever the seat's own.
    if (t.seats[static_cast<std::size_t>(seat)].created.human) request.level = t.level;
    t.searching = true;
    t.searchSeat = seat;
    out_.search(t.code, ++t.searchTicket, request);
}

void Lobby::searched(const std::string& code, std::uint64_t ticket, const std::optional<ChosenMove>& chosen,
                     double now) {
    GameTable* found = findTable(code);
    if (found == nullptr) return;
    GameTable& t = *found;
    if (!t.searching || ticket != t.searchTicket) return;
    t.searching = false;
    const Step step = t.table.next();
    if (t.status != GameTable::Status::playing || step.seat != t.searchSeat) return advance(t, now);
    if (step.kind == StepKind::computerMove) {
        t.table.commitComputerMove(step.seat, chosen);
    } else if (step.kind == StepKind::human &&
               (t.seats[static_cast<std::size_t>(step.seat)].standIn || t.timeoutSeat == step.seat)) {
        playForAbsent(t, step.seat, chosen);
    } else {
        return advance(t, now);
    }
    const int timedOut = std::exchange(t.timeoutSeat, 0);
    if (!publish(t, now)) return reload(t.code, now);
    if (timedOut != 0) return afterTimeout(t, timedOut, now);
    advance(t, now);
}

// The stand-in moves as the player would, through the same door: if the
// rules refuse its choice, the first move they accept.
void Lobby::playForAbsent(GameTable& t, int seat, const std::optional<ChosenMove>& chosen) {
    if (chosen && t.table.submit(seat, TableMove{chosen->fromX, chosen->fromY, chosen->toX, chosen->toY}) ==
                      Refusal::none)
        return;
    const int block = Table::blockOfSeat(seat);
    for (int x = 1; x <= Table::boardSize; ++x)
        for (int y = 1; y <= Table::boardSize; ++y) {
            const int piece = t.table.board[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
            if (Table::blockOfCode(piece) != block) continue;
            int xmin, xmax, ymin, ymax;
            Table::取得_駒移動座標(piece, x, y, xmin, xmax, ymin, ymax);
            for (int tx = std::max(1, xmin); tx <= std::min(Table::boardSize, xmax); ++tx)
                for (int ty = std::max(1, ymin); ty <= std::min(Table::boardSize, ymax); ++ty)
                    if (t.table.submit(seat, TableMove{x, y, tx, ty}) == Refusal::none) return;
        }
}

// Stores the events the table has made, then tells everyone. False when the
// store refused them: nobody has heard of them, and the table is reloaded.
bool Lobby::publish(GameTable& t, double now) {
    const std::vector<TableEvent> events = t.table.drainEvents();
    std::vector<std::string> lines;
    const TableEvent* over = nullptr;
    for (const TableEvent& e : events) {
        if (e.kind == TableEventKind::gameOver) over = &e;
        if (std::string line = lineOf(e); !line.empty()) lines.push_back(std::move(line));
    }
    const int first = static_cast<int>(t.lines.size());
    const bool stored = over != nullptr ? store_.finish(t.code, resultLine(over->outcome), first, lines)
                                        : store_.appendLines(t.code, first, lines);
    if (!stored) {
        out_.log(t.code + " store: " + store_.lastError());
        return false;
    }
    t.lines.insert(t.lines.end(), lines.begin(), lines.end());
    // A kingdom whose turn comes when it must leave (its king is gone) is
    // not told to move: its `out` is the next thing anyone hears.
    const TableEvent* lastTurn = nullptr;
    for (const TableEvent& e : events)
        if (e.kind != TableEventKind::paused) lastTurn = e.kind == TableEventKind::turnTo ? &e : nullptr;
    const Step next = t.table.next();
    if (lastTurn != nullptr && !(next.kind == StepKind::dropOut && next.seat == lastTurn->seat)) lastTurn = nullptr;
    int turnSeat = 0;
    for (const TableEvent& e : events) {
        if (e.kind == TableEventKind::paused || &e == lastTurn) continue;
        if (e.kind == TableEventKind::turnTo) {
            turnSeat = e.seat;
            if (t.turnPace) t.turnEnds = now + t.moveSeconds;
            Json turn = eventJson(e);
            if (const auto left = turnLeft(t, now)) turn["left"] = *left;
            broadcast(t, turn);
            continue;
        }
        if (e.kind == TableEventKind::moved)
            out_.log(t.code + " " + lineOf(e));
        else if (e.kind != TableEventKind::turnTo)
            out_.log(t.code + " " + eventJson(e).value("type", "") + " " + lineOf(e));
        broadcast(t, eventJson(e));
    }
    if (over != nullptr) {
        t.status = GameTable::Status::over;
        listingChanged(t);
        t.result = resultLine(over->outcome);
        t.searching = false;
        t.idleSince = now;
        turnSeat = 0;
    }
    // The clock is kept with the table, so it runs on while the table is let go.
    if (t.turnPace && (turnSeat != 0 || over != nullptr) && !store_.setTurn(t.code, turnSeat, over ? 0 : t.turnEnds))
        out_.log(t.code + " store: " + store_.lastError());
    return true;
}

void Lobby::move(ConnId who, Connection& c, const Json& m, double now) {
    const auto from = squareField(m, "from");
    const auto to = squareField(m, "to");
    if (!from || !to) return error(who, "malformed", "move", "\"from\" and \"to\" are [x, y], 1 to 19");
    GameTable* t = tableOf(c);
    if (t == nullptr || c.seat == 0) return error(who, "not_seated", "move", "only a seated player moves");
    if (t->status != GameTable::Status::playing)
        return error(who, "game_not_running", "move", "the game has not started or is over");
    // Its time ran out: the computer's move for it is already being chosen.
    if (t->timeoutSeat == c.seat) return error(who, "not_your_turn", "move", "the time for this move ran out");
    const Refusal r = t->table.submit(c.seat, TableMove{(*from)[0], (*from)[1], (*to)[0], (*to)[1]});
    if (r != Refusal::none) return error(who, refusalCode(r), "move", "the move was refused");
    t->seats[static_cast<std::size_t>(c.seat)].missed = 0;
    if (!publish(*t, now)) {
        error(who, "storage_failed", "move", "the move could not be stored");
        return reload(t->code, now);
    }
    advance(*t, now);
}

void Lobby::chat(ConnId who, Connection& c, const Json& m, double now) {
    const std::string* text = stringField(m, "text");
    if (text == nullptr) return error(who, "malformed", "chat", "\"text\" is a string");
    GameTable* t = tableOf(c);
    if (t == nullptr) return error(who, "not_at_table", "chat", "not at a table");
    const auto length = plainTextLength(*text);
    if (!length || *length == 0 || *length > chatLength)
        return error(who, "bad_text", "chat", "a chat line is 1 to 200 characters, no control characters");
    if (!c.chat.take(now, limits_.chatPerSecond, limits_.chatBurst))
        return error(who, "rate_limited", "chat", "too many chat lines; slow down");
    broadcast(*t, {{"type", "chat"}, {"seat", c.seat}, {"name", c.name}, {"text", *text}});
}

// A table may be reloaded or let go by any step, so it is looked up again
// after each one; a table where nothing is due costs one look-up.
void Lobby::tick(double now) {
    fillQuickTables(now);
    std::vector<std::string> codes;
    codes.reserve(tables_.size());
    for (const auto& entry : tables_) codes.push_back(entry.first);
    for (const std::string& code : codes) {
        GameTable* t = findTable(code);
        for (int s = 1; s <= seats && t != nullptr; ++s) {
            const SeatState& seat = t->seats[static_cast<std::size_t>(s)];
            if (t->status == GameTable::Status::playing && !t->turnPace && !seat.tokenHash.empty() && seat.conn == 0 &&
                !seat.standIn && seat.graceEnds <= now) {
                standIn(*t, s, true, now);
                t = findTable(code);
            }
        }
        if (t != nullptr && t->stalled && t->status == GameTable::Status::playing) {
            t->stalled = false;
            advance(*t, now);
            t = findTable(code);
        }
        if (t != nullptr && t->turnPace) {
            runOutOfTime(*t, now);
            t = findTable(code);
        }
        if (t == nullptr) continue;
        if (!canLetGo(*t)) {
            t->idleSince = now;
        } else if (now - t->idleSince > limits_.idleTableSeconds) {
            // A live table where nothing was played is forgotten altogether;
            // a turn-based one waits in the store for its players.
            letGo(code, t->status == GameTable::Status::waiting && !t->turnPace);
        }
    }
    loadDueTables(now);
    sendListing(now);
}

}  // namespace daro::server
