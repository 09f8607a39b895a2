#include "Lobby.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "Secrets.h"
#include "TableLines.h"
#include "record/GameFile.h"

namespace daro::server {

using Json = nlohmann::json;

namespace {
constexpr int seats = 7;
constexpr std::size_t nameLength = 32;
constexpr std::size_t chatLength = 200;
constexpr int loopGuard = 1000;


std::string dump(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

// A whole number in [lo, hi] under `key`; nothing when absent or anything else.
std::optional<int> intField(const Json& m, const char* key, int lo, int hi) {
    auto it = m.find(key);
    if (it == m.end() || !it->is_number_integer()) return std::nullopt;
    const auto v = it->get<std::int64_t>();
    if (v < lo || v > hi) return std::nullopt;
    return static_cast<int>(v);
}

const std::string* stringField(const Json& m, const char* key) {
    auto it = m.find(key);
    return it != m.end() && it->is_string() ? it->get_ptr<const std::string*>() : nullptr;
}

// Code points of valid UTF-8 (the parser has checked it); nothing when a
// control character is in it, since names and chat are shown as they are.
std::optional<std::size_t> plainTextLength(const std::string& s) {
    std::size_t points = 0;
    for (unsigned char c : s) {
        if (c < 0x20 || c == 0x7f) return std::nullopt;
        if ((c & 0xc0) != 0x80) ++points;
    }
    return points;
}

std::optional<std::array<int, 2>> squareField(const Json& m, const char* key) {
    auto it = m.find(key);
    if (it == m.end() || !it->is_array() || it->size() != 2) return std::nullopt;
    std::array<int, 2> xy{};
    for (std::size_t i = 0; i < 2; ++i) {
        const Json& v = (*it)[i];
        if (!v.is_number_integer()) return std::nullopt;
        const auto n = v.get<std::int64_t>();
        if (n < 1 || n > 19) return std::nullopt;
        xy[i] = static_cast<int>(n);
    }
    return xy;
}

const char* refusalCode(Refusal r) {
    switch (r) {
        case Refusal::none: return "";
        case Refusal::noGame: return "game_not_running";
        case Refusal::notYourTurn: return "not_your_turn";
        case Refusal::notYourPiece: return "not_your_piece";
        case Refusal::illegalMove: return "illegal_move";
        case Refusal::kingSquareReached: return "king_in_reach";
    }
    return "illegal_move";
}

std::string seatWord(const SeatKind& k) { return k.human ? "human" : "level" + std::to_string(k.level); }

std::optional<SeatKind> seatKindOf(std::string_view word) {
    if (word == "human") return SeatKind{true, 0};
    if (word.size() == 6 && word.substr(0, 5) == "level" && word[5] >= '1' && word[5] <= '4')
        return SeatKind{false, word[5] - '0'};
    return std::nullopt;
}

const char* outcomeName(OutcomeKind k) {
    switch (k) {
        case OutcomeKind::win: return "win";
        case OutcomeKind::humanGone: return "humanGone";
        case OutcomeKind::noHumanLeft: return "noHumanLeft";
        case OutcomeKind::noKingdomCanMove: return "noKingdomCanMove";
    }
    return "win";
}

const char* winByName(WinBy w) {
    switch (w) {
        case WinBy::twoKings: return "twoKings";
        case WinBy::thirtyPieces: return "thirtyPieces";
        case WinBy::nineteenWithKing: return "nineteenWithKing";
        case WinBy::lastStanding: return "lastStanding";
    }
    return "lastStanding";
}

Json eventJson(const TableEvent& e) {
    switch (e.kind) {
        case TableEventKind::moved:
            return {{"type", "moved"},
                    {"n", e.moveNumber},
                    {"seat", e.move.seat},
                    {"from", {e.move.fromX, e.move.fromY}},
                    {"to", {e.move.toX, e.move.toY}},
                    {"piece", e.move.piece},
                    {"captured", e.move.captured}};
        case TableEventKind::droppedOut: return {{"type", "out"}, {"seat", e.seat}};
        case TableEventKind::passed: return {{"type", "pass"}, {"seat", e.seat}};
        case TableEventKind::turnTo: return {{"type", "turn"}, {"seat", e.seat}};
        case TableEventKind::gameOver: {
            Json j = {{"type", "over"}, {"outcome", outcomeName(e.outcome.kind)}, {"result", resultLine(e.outcome)}};
            if (e.outcome.kind == OutcomeKind::win) {
                j["seat"] = e.outcome.seat;
                j["by"] = winByName(e.outcome.how);
            }
            return j;
        }
        case TableEventKind::paused: break;
    }
    return nullptr;
}

}  // namespace

bool Lobby::Bucket::take(double now, double rate, double burst) {
    if (last == 0) tokens = burst;
    tokens = std::min(burst, tokens + std::max(0.0, now - last) * rate);
    last = now;
    if (tokens < 1) return false;
    tokens -= 1;
    return true;
}

Lobby::Lobby(Store& store, Outbox& outbox, Limits limits) : store_(store), out_(outbox), limits_(limits) {}
Lobby::~Lobby() = default;

// ------------------------------------------------------------------ connections

bool Lobby::connected(ConnId who, const std::string& address, double now) {
    if (connections_.count(who) != 0) return true;
    int& count = perAddress_[address];
    if (count >= limits_.connectionsPerAddress) {
        if (count == 0) perAddress_.erase(address);
        error(who, "too_many_connections", "", "this address has too many connections");
        out_.close(who);
        return false;
    }
    ++count;
    Connection& c = connections_[who];
    c.address = address;
    c.messages.last = c.chat.last = 0;
    (void)now;
    return true;
}

void Lobby::disconnected(ConnId who, double now) {
    auto it = connections_.find(who);
    if (it == connections_.end()) return;
    detach(who, it->second, now);
    if (auto a = perAddress_.find(it->second.address); a != perAddress_.end() && --a->second <= 0)
        perAddress_.erase(a);
    connections_.erase(it);
}

void Lobby::received(ConnId who, std::string_view text, double now) {
    auto it = connections_.find(who);
    if (it == connections_.end()) return;
    Connection& c = it->second;
    if (!c.messages.take(now, limits_.messagesPerSecond, limits_.messageBurst)) {
        error(who, "rate_limited", "", "too many messages; slow down");
        if (++c.floods >= limits_.floodsBeforeClose) {
            out_.log("closing a flooding connection from " + c.address);
            out_.close(who);
        }
        return;
    }
    if (text.size() > limits_.maxMessageBytes) {
        error(who, "too_large", "", "a message is at most " + std::to_string(limits_.maxMessageBytes) + " bytes");
        return;
    }
    const Json message = Json::parse(text, nullptr, false);
    if (message.is_discarded() || !message.is_object()) {
        error(who, "malformed", "", "a message is one JSON object");
        return;
    }
    try {
        dispatch(who, c, message, now);
    } catch (const nlohmann::json::exception&) {
        error(who, "malformed", "", "a field has the wrong type");
    }
}

void Lobby::dispatch(ConnId who, Connection& c, const Json& m, double now) {
    const std::string* type = stringField(m, "type");
    if (type == nullptr) return error(who, "malformed", "", "a message needs a \"type\"");
    const std::string& t = *type;
    if (!c.greeted && t != "hello") return error(who, "hello_first", t, "the first message is \"hello\"");
    if (t == "hello") return hello(who, c, m);
    if (t == "create") return create(who, c, m, now);
    if (t == "join") return join(who, c, m, now);
    if (t == "spectate") return spectate(who, c, m, now);
    if (t == "reconnect") return reconnect(who, c, m, now);
    if (t == "leave") return leave(who, c, now);
    if (t == "move") return move(who, c, m, now);
    if (t == "chat") return chat(who, c, m, now);
    if (t == "download") return download(who, m);
    if (t == "ping") return sendJson(who, {{"type", "pong"}});
    error(who, "unknown_type", t.substr(0, 32), "no such message type");
}

void Lobby::error(ConnId who, std::string_view code, std::string_view about, std::string_view text) {
    Json j = {{"type", "error"}, {"code", code}, {"message", text}};
    if (!about.empty()) j["about"] = about;
    out_.send(who, dump(j));
}

void Lobby::sendJson(ConnId who, const Json& message) { out_.send(who, dump(message)); }

void Lobby::broadcast(GameTable& t, const Json& message) {
    const std::string text = dump(message);
    for (int s = 1; s <= seats; ++s)
        if (t.seats[static_cast<std::size_t>(s)].conn != 0) out_.send(t.seats[static_cast<std::size_t>(s)].conn, text);
    for (ConnId spectator : t.spectators) out_.send(spectator, text);
}

// ------------------------------------------------------------------ messages

void Lobby::hello(ConnId who, Connection& c, const Json& m) {
    if (c.greeted) return error(who, "unexpected", "hello", "already greeted");
    const auto version = intField(m, "version", 0, 1000000);
    if (!version) return error(who, "malformed", "hello", "\"version\" is a number");
    if (*version != protocolVersion)
        return error(who, "bad_version", "hello", "this server speaks version " + std::to_string(protocolVersion));
    std::string name = "guest";
    if (const std::string* given = stringField(m, "name")) {
        const auto length = plainTextLength(*given);
        if (!length || *length == 0 || *length > nameLength)
            return error(who, "bad_text", "hello", "a name is 1 to 32 characters, no control characters");
        name = *given;
    } else if (m.contains("name")) {
        return error(who, "malformed", "hello", "\"name\" is a string");
    }
    c.greeted = true;
    c.name = name;
    sendJson(who, {{"type", "welcome"},
                   {"version", protocolVersion},
                   {"server", "daro-server " DARO_VERSION},
                   {"maxMessageBytes", limits_.maxMessageBytes},
                   {"maxChat", chatLength}});
}

GameTable* Lobby::tableOf(const Connection& c) {
    if (c.table.empty()) return nullptr;
    auto it = tables_.find(c.table);
    return it == tables_.end() ? nullptr : it->second.get();
}

GameTable* Lobby::tableByCode(const Json& m, ConnId who, std::string_view about) {
    const std::string* code = stringField(m, "code");
    if (code == nullptr || !isTableCode(*code)) {
        error(who, "malformed", about, "\"code\" is a table code of 6 characters");
        return nullptr;
    }
    auto it = tables_.find(*code);
    if (it == tables_.end()) {
        error(who, "no_such_table", about, "no open table has that code");
        return nullptr;
    }
    return it->second.get();
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
        if (!kind) return error(who, "malformed", "create", "a seat is \"human\" or \"level1\" to \"level4\"");
        kinds[static_cast<std::size_t>(s)] = *kind;
    }
    const int level = m.contains("level") ? intField(m, "level", 1, 4).value_or(0) : 3;
    if (level == 0) return error(who, "malformed", "create", "\"level\" is 1 to 4");
    const int grace = m.contains("grace") ? intField(m, "grace", 0, limits_.maxGraceSeconds).value_or(-1) : 90;
    if (grace < 0)
        return error(who, "malformed", "create",
                     "\"grace\" is 0 to " + std::to_string(limits_.maxGraceSeconds) + " seconds");
    if (tables_.size() >= limits_.maxTables) return error(who, "server_full", "create", "too many tables; try later");
    const auto unfinished = std::count_if(tables_.begin(), tables_.end(), [&c](const auto& entry) {
        return entry.second->createdFrom == c.address && entry.second->status != GameTable::Status::over;
    });
    if (unfinished >= limits_.tablesPerAddress)
        return error(who, "too_many_tables", "create", "this address has too many unfinished tables");

    auto t = std::make_unique<GameTable>();
    t->createdFrom = c.address;
    do t->code = newTableCode(limits_.codePrefix);
    while (tables_.count(t->code) != 0 || store_.table(t->code));
    t->level = level;
    t->grace = grace;
    t->idleSince = now;
    for (int s = 1; s <= seats; ++s) t->seats[static_cast<std::size_t>(s)].created = kinds[static_cast<std::size_t>(s)];

    StoredTable stored;
    stored.code = t->code;
    for (int s = 1; s <= seats; ++s)
        stored.seats += (s > 1 ? " " : "") + seatWord(kinds[static_cast<std::size_t>(s)]);
    stored.level = level;
    stored.grace = grace;
    if (!store_.createTable(stored)) {
        out_.log("store: " + store_.lastError());
        return error(who, "storage_failed", "create", "the table could not be stored");
    }
    GameTable& table = *t;
    tables_.emplace(t->code, std::move(t));
    out_.log(table.code + " created: " + stored.seats + ", level " + std::to_string(level) + ", grace " +
             std::to_string(grace) + "s");
    sendJson(who, {{"type", "created"}, {"code", table.code}});
    startIfFull(table, now);
}

void Lobby::join(ConnId who, Connection& c, const Json& m, double now) {
    if (!c.table.empty()) return error(who, "already_at_table", "join", "leave the table first");
    GameTable* t = tableByCode(m, who, "join");
    if (t == nullptr) return;
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
    if (t->status == GameTable::Status::over) return error(who, "game_over", "join", "the game is over");
    SeatState& s = t->seats[static_cast<std::size_t>(seat)];
    const std::string token = newToken();
    s.tokenHash = tokenHash(token);
    s.name = c.name;
    if (!storeSeat(*t, seat)) {
        s.tokenHash.clear();
        s.name.clear();
        return error(who, "storage_failed", "join", "the seat could not be stored");
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
    GameTable* t = tableByCode(m, who, "reconnect");
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
    GameTable* t = tableByCode(m, who, "spectate");
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

void Lobby::move(ConnId who, Connection& c, const Json& m, double now) {
    const auto from = squareField(m, "from");
    const auto to = squareField(m, "to");
    if (!from || !to) return error(who, "malformed", "move", "\"from\" and \"to\" are [x, y], 1 to 19");
    GameTable* t = tableOf(c);
    if (t == nullptr || c.seat == 0) return error(who, "not_seated", "move", "only a seated player moves");
    if (t->status != GameTable::Status::playing)
        return error(who, "game_not_running", "move", "the game has not started or is over");
    const Refusal r = t->table.submit(c.seat, TableMove{(*from)[0], (*from)[1], (*to)[0], (*to)[1]});
    if (r != Refusal::none) return error(who, refusalCode(r), "move", "the move was refused");
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

void Lobby::download(ConnId who, const Json& m) {
    const std::string* code = stringField(m, "code");
    if (code == nullptr || !isTableCode(*code))
        return error(who, "malformed", "download", "\"code\" is a table code of 6 characters");
    const std::string text = gameFile(*code);
    if (text.empty()) return error(who, "no_such_table", "download", "no table has that code");
    const GameTable* t = findTable(*code);
    const bool finished = t == nullptr || t->status == GameTable::Status::over;
    sendJson(who, {{"type", "game"}, {"code", *code}, {"finished", finished}, {"text", text}});
}

// ------------------------------------------------------------------ seats and state

Json Lobby::seatJson(const GameTable& t, int seat, double now) const {
    const SeatState& s = t.seats[static_cast<std::size_t>(seat)];
    const bool human = s.created.human;
    Json j = {{"seat", seat},
              {"kind", human ? "human" : "computer"},
              {"level", human ? t.level : s.created.level},
              {"name", s.name},
              {"open", human && s.tokenHash.empty()},
              {"connected", s.conn != 0}};
    std::string playedBy = "player";
    if (!human || s.standIn)
        playedBy = "computer";
    else if (s.tokenHash.empty())
        playedBy = "nobody";
    j["playedBy"] = playedBy;
    if (human && !s.tokenHash.empty() && s.conn == 0 && !s.standIn)
        j["graceLeft"] = std::max(0.0, std::ceil((s.graceEnds - now) * 10) / 10);
    return j;
}

Json Lobby::tableJson(const GameTable& t, int you, double now) const {
    static constexpr const char* statusNames[] = {"waiting", "playing", "over"};
    Json seatList = Json::array();
    for (int s = 1; s <= seats; ++s) seatList.push_back(seatJson(t, s, now));
    Json board = Json::array();
    Json captured = Json::array(), kings = Json::array();
    for (int x = 1; x <= 19; ++x) {
        Json column = Json::array();
        for (int y = 1; y <= 19; ++y) column.push_back(t.table.board[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]);
        board.push_back(std::move(column));
    }
    for (int b = 1; b <= seats; ++b) {
        captured.push_back(t.table.capturedCount[static_cast<std::size_t>(b)]);
        kings.push_back(t.table.kingsCapturedCount[static_cast<std::size_t>(b)]);
    }
    Json record = t.lines;
    const Step step = t.status == GameTable::Status::playing ? t.table.next() : Step{};
    return {{"type", "table"},
            {"code", t.code},
            {"status", statusNames[static_cast<int>(t.status)]},
            {"you", you},
            {"level", t.level},
            {"grace", t.grace},
            {"seats", seatList},
            {"turn", step.kind == StepKind::none ? 0 : step.seat},
            {"moveNumber", t.table.moveNumber},
            {"board", board},
            {"captured", captured},
            {"kingsCaptured", kings},
            {"record", record},
            {"result", t.result}};
}

void Lobby::seatChanged(GameTable& t, int seat, double now) {
    Json j = seatJson(t, seat, now);
    j["type"] = "seat";
    broadcast(t, j);
}

bool Lobby::storeSeat(GameTable& t, int seat) {
    const SeatState& s = t.seats[static_cast<std::size_t>(seat)];
    return store_.setSeat(t.code, seat, {s.name, s.tokenHash});
}

const GameTable* Lobby::findTable(const std::string& code) const {
    auto it = tables_.find(code);
    return it == tables_.end() ? nullptr : it->second.get();
}

GameTable* Lobby::findTable(const std::string& code) {
    auto it = tables_.find(code);
    return it == tables_.end() ? nullptr : it->second.get();
}

// ------------------------------------------------------------------ the game

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
    } else if (step.kind == StepKind::human && t.seats[static_cast<std::size_t>(step.seat)].standIn) {
        playForAbsent(t, step.seat, chosen);
    } else {
        return advance(t, now);
    }
    if (!publish(t, now)) return reload(t.code, now);
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
    for (const TableEvent& e : events) {
        if (e.kind == TableEventKind::paused) continue;
        if (e.kind == TableEventKind::moved)
            out_.log(t.code + " " + lineOf(e));
        else if (e.kind != TableEventKind::turnTo)
            out_.log(t.code + " " + eventJson(e).value("type", "") + " " + lineOf(e));
        broadcast(t, eventJson(e));
    }
    if (over != nullptr) {
        t.status = GameTable::Status::over;
        t.result = resultLine(over->outcome);
        t.searching = false;
        t.idleSince = now;
    }
    return true;
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
    out_.log(t.code + " seat " + std::to_string(seat) + (computer ? " played by the computer" : " played by its player"));
    seatChanged(t, seat, now);
    advance(t, now);
}

// A table may be reloaded or let go by any step, so each is looked up again.
void Lobby::tick(double now) {
    std::vector<std::string> codes;
    codes.reserve(tables_.size());
    for (const auto& entry : tables_) codes.push_back(entry.first);
    for (const std::string& code : codes) {
        for (int s = 1; s <= seats; ++s) {
            GameTable* t = findTable(code);
            if (t == nullptr) break;
            const SeatState& seat = t->seats[static_cast<std::size_t>(s)];
            if (t->status == GameTable::Status::playing && !seat.tokenHash.empty() && seat.conn == 0 &&
                !seat.standIn && seat.graceEnds <= now)
                standIn(*t, s, true, now);
        }
        if (GameTable* t = findTable(code); t != nullptr && t->stalled && t->status == GameTable::Status::playing) {
            t->stalled = false;
            advance(*t, now);
        }
        GameTable* t = findTable(code);
        if (t == nullptr) continue;
        bool anyone = !t->spectators.empty();
        for (int s = 1; s <= seats; ++s) anyone = anyone || t->seats[static_cast<std::size_t>(s)].conn != 0;
        if (anyone || t->status == GameTable::Status::playing) {
            t->idleSince = now;
        } else if (now - t->idleSince > limits_.idleTableSeconds) {
            // A table where nothing was played is forgotten altogether.
            if (t->status == GameTable::Status::waiting && !store_.removeTable(code))
                out_.log(code + " store: " + store_.lastError());
            out_.log(code + " let go after being idle");
            tables_.erase(code);
        }
    }
}

// ------------------------------------------------------------------ restoring

bool Lobby::rebuild(GameTable& t, const StoredTable& stored, double now) {
    t.code = stored.code;
    t.level = stored.level >= 1 && stored.level <= 4 ? stored.level : 3;
    t.grace = std::clamp(stored.grace, 0, limits_.maxGraceSeconds);
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
    for (const std::string& line : stored.lines) {
        if (!playLine(t.table, line)) return false;
        if (isSeatChangeLine(line)) {
            replayed.push_back(line);
            const bool computer = line[0] == 's';
            t.seats[static_cast<std::size_t>(std::stoi(line.substr(line.find(' ') + 1)))].standIn = computer;
        }
        collect();
    }
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
        advance(table, now);
    }
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
        return;
    }
    GameTable& old = *it->second;
    for (int s = 1; s <= seats; ++s) {
        fresh->seats[static_cast<std::size_t>(s)].conn = old.seats[static_cast<std::size_t>(s)].conn;
        fresh->seats[static_cast<std::size_t>(s)].graceEnds = old.seats[static_cast<std::size_t>(s)].graceEnds;
    }
    fresh->spectators = old.spectators;
    fresh->searchTicket = old.searchTicket + 1;
    // The tick tries the step again, not this call: the store may still be failing.
    fresh->stalled = true;
    it->second = std::move(fresh);
    GameTable& t = *it->second;
    for (int s = 1; s <= seats; ++s)
        if (ConnId conn = t.seats[static_cast<std::size_t>(s)].conn; conn != 0) sendJson(conn, tableJson(t, s, now));
    for (ConnId spectator : t.spectators) sendJson(spectator, tableJson(t, 0, now));
}

// ------------------------------------------------------------------ game files

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

}  // namespace daro::server
