#include "WebTable.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "record/GameFile.h"
#include "record/GameFileReasons.h"

namespace daro::web {

namespace {

bool isSeat(int seat) { return seat >= 1 && seat <= Codes::seatCount; }

std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\n' || text[i] == '\t' || text[i] == '\r')) ++i;
        const std::size_t start = i;
        while (i < text.size() && !(text[i] == ' ' || text[i] == '\n' || text[i] == '\t' || text[i] == '\r')) ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::optional<long long> numberOf(std::string_view word) {
    long long v = 0;
    if (word.empty() || word.size() > 20) return std::nullopt;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return v;
}

std::optional<std::uint64_t> unsignedOf(std::string_view word) {
    std::uint64_t v = 0;
    if (word.empty() || word.size() > 20) return std::nullopt;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
    return v;
}

std::optional<SeatKind> seatKindOf(std::string_view word) {
    if (word == "human") return SeatKind{true, 0};
    if (word.size() == 6 && word.substr(0, 5) == "level" && word[5] >= '1' && word[5] <= '5')
        return SeatKind{false, word[5] - '0'};
    return std::nullopt;
}

std::optional<std::array<SeatKind, 8>> seatsOf(std::string_view text) {
    const auto words = wordsOf(text);
    if (words.size() != static_cast<std::size_t>(Codes::seatCount)) return std::nullopt;
    std::array<SeatKind, 8> seats{};
    for (int s = 1; s <= Codes::seatCount; ++s) {
        const auto kind = seatKindOf(words[static_cast<std::size_t>(s - 1)]);
        if (!kind) return std::nullopt;
        seats[static_cast<std::size_t>(s)] = *kind;
    }
    return seats;
}

const char* refusalName(Refusal r) {
    switch (r) {
        case Refusal::none: return "none";
        case Refusal::noGame: return "noGame";
        case Refusal::notYourTurn: return "notYourTurn";
        case Refusal::notYourPiece: return "notYourPiece";
        case Refusal::illegalMove: return "illegalMove";
        case Refusal::kingSquareReached: return "kingSquareReached";
    }
    return "none";
}

const char* stepName(StepKind k) {
    switch (k) {
        case StepKind::none: return "none";
        case StepKind::human: return "human";
        case StepKind::paused: return "paused";
        case StepKind::computerMove: return "computerMove";
        case StepKind::dropOut: return "dropOut";
        case StepKind::pass: return "pass";
    }
    return "none";
}

std::string outcomeJson(const Outcome& o) {
    std::string s = std::string("{\"kind\":\"") + outcomeName(o.kind) + "\",\"seat\":" + std::to_string(o.seat);
    if (o.kind == OutcomeKind::win) s += std::string(",\"by\":\"") + winByName(o.how) + "\"";
    return s + ",\"result\":" + quoted(resultLine(o)) + "}";
}

template <typename Array>
std::string numbers(const Array& a, int from, int to) {
    std::string s = "[";
    for (int i = from; i <= to; ++i) {
        if (i > from) s += ',';
        s += std::to_string(a[static_cast<std::size_t>(i)]);
    }
    return s + "]";
}

// Seven human seats are the seven-player game, any other table a free game
// (one human against computers of one level: the one-player game).
int modeOf(const std::array<SeatKind, 8>& seats) {
    int humans = 0;
    for (int s = 1; s <= Codes::seatCount; ++s) humans += seats[static_cast<std::size_t>(s)].human ? 1 : 0;
    return humans == Codes::seatCount ? Table::modeSevenPlayers : Table::modeFree;
}

std::string problemJson(const std::string& english, int line) {
    return "{\"error\":" + quoted(english) + ",\"errorJa\":" + quoted(japaneseReason(english)) +
           ",\"line\":" + std::to_string(line) + "}";
}

}  // namespace

std::string WebTable::start(std::string_view seatsText, int level) {
    const auto seats = seatsOf(seatsText);
    if (!seats || level < 1 || level > Table::levelFive) return problemJson("no such seats", 0);
    int humans = 0, humanSeat = 0;
    bool oneLevel = true;
    for (int s = 1; s <= Codes::seatCount; ++s) {
        const SeatKind& k = (*seats)[static_cast<std::size_t>(s)];
        if (k.human) {
            ++humans;
            humanSeat = s;
        } else if (k.level != level) {
            oneLevel = false;
        }
    }
    table_ = Table();
    table_.computerLevel = level;
    // One human against computers of the level is the desktop's one-player
    // game, so its file reads the same there.
    int mode = modeOf(*seats);
    if (humans == 1 && oneLevel && humanSeat >= 1) mode = Table::modeOnePlayer;
    std::array<SeatKind, 8> kinds = *seats;
    if (mode == Table::modeOnePlayer)
        for (int s = 1; s <= Codes::seatCount; ++s)
            if (!kinds[static_cast<std::size_t>(s)].human) kinds[static_cast<std::size_t>(s)].level = 0;
    table_.seat(mode, kinds);
    table_.drainEvents();
    started_ = true;
    navigated_ = false;
    return positionJson();
}

std::string WebTable::positionJson() {
    std::string s = "{\"started\":";
    s += started_ ? "true" : "false";
    s += ",\"mode\":" + std::to_string(table_.gameMode);
    s += ",\"level\":" + std::to_string(table_.computerLevel);
    s += ",\"turn\":" + std::to_string(isSeat(table_.turnSeat) ? table_.turnSeat : 0);
    s += ",\"moveNumber\":" + std::to_string(table_.moveNumber);
    s += ",\"recordEnd\":" + std::to_string(table_.recordEnd);
    s += ",\"navigated\":";
    s += navigated_ ? "true" : "false";
    s += ",\"board\":[";
    for (int x = 1; x <= Codes::boardSize; ++x) {
        if (x > 1) s += ',';
        s += numbers(table_.board[static_cast<std::size_t>(x)], 1, Codes::boardSize);
    }
    s += "],\"captured\":" + numbers(table_.capturedCount, 1, Codes::blockCount);
    s += ",\"kingsCaptured\":" + numbers(table_.kingsCapturedCount, 1, Codes::blockCount);
    s += ",\"seats\":[";
    for (int seat = 1; seat <= Codes::seatCount; ++seat) {
        if (seat > 1) s += ',';
        const SeatKind k = table_.seatKind(seat);
        s += k.human ? "\"human\"" : "\"level" + std::to_string(k.level) + "\"";
    }
    s += "],\"pieces\":[";
    for (int seat = 1; seat <= Codes::seatCount; ++seat) {
        if (seat > 1) s += ',';
        s += std::to_string(table_.調査_駒数(seat));
    }
    s += "],\"kingDanger\":[";
    bool first = true;
    for (int seat = 1; seat <= Codes::seatCount; ++seat) {
        if (!table_.kingCanBeTaken(seat)) continue;
        if (!first) s += ',';
        first = false;
        s += std::to_string(seat);
    }
    s += "],\"record\":[";
    const auto lines = recordLines(table_.moveRecord, table_.recordEnd);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) s += ',';
        s += quoted(lines[i]);
    }
    s += "],\"next\":" + nextJson();
    if (table_.outcome() && !navigated_) s += ",\"outcome\":" + outcomeJson(*table_.outcome());
    return s + "}";
}

std::string WebTable::submit(int seat, const TableMove& move) {
    if (navigated_) return "notYourTurn";
    return refusalName(table_.submit(seat, move));
}

std::string WebTable::destinationsJson(int x, int y) {
    std::string s = "[";
    if (navigated_ || !table_.onBoard(x, y) || table_.next().kind != StepKind::human) return s + "]";
    const int piece = table_.board[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
    if (Codes::blockOfCode(piece) != Codes::blockOfSeat(table_.turnSeat)) return s + "]";
    bool first = true;
    for (int tx = 1; tx <= Codes::boardSize; ++tx)
        for (int ty = 1; ty <= Codes::boardSize; ++ty) {
            if (table_.移動チェック(x, y, tx, ty, piece) != Codes::valueYes) continue;
            if (Codes::isKingCode(piece) && table_.kingSquareReached(x, y, tx, ty, piece)) continue;
            if (!first) s += ',';
            first = false;
            s += "[" + std::to_string(tx) + "," + std::to_string(ty) + "]";
        }
    return s + "]";
}

std::string WebTable::nextJson() const {
    if (navigated_) return "{\"kind\":\"none\",\"seat\":0}";
    const Step step = table_.next();
    return std::string("{\"kind\":\"") + stepName(step.kind) + "\",\"seat\":" + std::to_string(step.seat) + "}";
}

void WebTable::step() {
    if (!navigated_) table_.step();
}

// seat level captured(7) kings(7) kingX(7) kingY(7) board(361) historyCount history...
namespace {

std::string requestText(const SearchRequest& r) {
    std::string s = std::to_string(r.seat) + " " + std::to_string(r.level);
    for (const auto* a : {&r.capturedCount, &r.kingsCapturedCount, &r.kingX, &r.kingY})
        for (int b = 1; b <= Codes::blockCount; ++b) s += " " + std::to_string((*a)[static_cast<std::size_t>(b)]);
    for (int x = 1; x <= Codes::boardSize; ++x)
        for (int y = 1; y <= Codes::boardSize; ++y)
            s += " " + std::to_string(r.board[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]);
    s += " " + std::to_string(r.history.size());
    for (std::uint64_t key : r.history) s += " " + std::to_string(key);
    return s;
}

std::string moveText(const std::optional<ChosenMove>& chosen) {
    if (!chosen) return "none";
    return std::to_string(chosen->fromX) + " " + std::to_string(chosen->fromY) + " " + std::to_string(chosen->toX) +
           " " + std::to_string(chosen->toY) + " " + std::to_string(chosen->piece);
}

std::optional<SearchRequest> requestOf(std::string_view text) {
    const auto w = wordsOf(text);
    constexpr std::size_t fixed = 2 + 4 * 7 + 19 * 19 + 1;
    if (w.size() < fixed) return std::nullopt;
    std::size_t i = 0;
    const auto next = [&](long long lo, long long hi) -> std::optional<int> {
        const auto v = numberOf(w[i++]);
        if (!v || *v < lo || *v > hi) return std::nullopt;
        return static_cast<int>(*v);
    };
    SearchRequest r;
    const auto seat = next(1, Codes::seatCount);
    const auto level = next(1, Table::levelFive);
    if (!seat || !level) return std::nullopt;
    r.seat = *seat;
    r.level = *level;
    for (auto* a : {&r.capturedCount, &r.kingsCapturedCount, &r.kingX, &r.kingY})
        for (int b = 1; b <= Codes::blockCount; ++b) {
            const auto v = next(0, 255);
            if (!v) return std::nullopt;
            (*a)[static_cast<std::size_t>(b)] = *v;
        }
    for (int x = 1; x <= Codes::boardSize; ++x)
        for (int y = 1; y <= Codes::boardSize; ++y) {
            const auto v = next(0, Codes::centreCode);
            if (!v || (*v != Codes::emptyCode && *v != Codes::centreCode && Codes::blockOfCode(*v) == 0))
                return std::nullopt;
            r.board[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = *v;
        }
    const auto count = next(0, 1 << 20);
    if (!count || w.size() != fixed + static_cast<std::size_t>(*count)) return std::nullopt;
    for (int k = 0; k < *count; ++k) {
        const auto key = unsignedOf(w[i++]);
        if (!key) return std::nullopt;
        r.history.push_back(*key);
    }
    return r;
}

}  // namespace

std::string thinkText(std::string_view snapshot) {
    const auto request = requestOf(snapshot);
    if (!request) return "bad";
    return moveText(think(*request));
}

std::string WebTable::snapshotText() const { return requestText(table_.snapshot()); }

std::string WebTable::hintSnapshotText() const {
    if (navigated_) return "none";
    const auto request = table_.hintRequest();
    return request ? requestText(*request) : "none";
}

std::string WebTable::hintText() const { return navigated_ ? "none" : moveText(table_.hint()); }

// The worker thinks on a copy: what it hands back must be a move of the
// seat's piece on this board.
std::optional<ChosenMove> WebTable::moveOf(int seat, std::string_view chosen) const {
    const auto w = wordsOf(chosen);
    if (w.size() != 5) return std::nullopt;
    int v[5];
    for (int i = 0; i < 5; ++i) {
        const auto n = numberOf(w[static_cast<std::size_t>(i)]);
        if (!n || *n < 0 || *n > Codes::centreCode) return std::nullopt;
        v[i] = static_cast<int>(*n);
    }
    if (!table_.onBoard(v[0], v[1]) || !table_.onBoard(v[2], v[3])) return std::nullopt;
    if (table_.board[static_cast<std::size_t>(v[0])][static_cast<std::size_t>(v[1])] != v[4]) return std::nullopt;
    if (Codes::blockOfCode(v[4]) != Codes::blockOfSeat(seat)) return std::nullopt;
    if (table_.移動チェック(v[0], v[1], v[2], v[3], v[4]) != Codes::valueYes) return std::nullopt;
    return ChosenMove{v[0], v[1], v[2], v[3], v[4]};
}

bool WebTable::hintFits(std::string_view chosen) const {
    if (navigated_) return false;
    const Step now = table_.next();
    return now.kind == StepKind::human && moveOf(now.seat, chosen).has_value();
}

bool WebTable::commit(int seat, std::string_view chosen) {
    if (navigated_ || table_.next() != Step{StepKind::computerMove, seat}) return false;
    if (chosen == "none") {
        table_.commitComputerMove(seat, std::nullopt);
        return true;
    }
    const auto move = moveOf(seat, chosen);
    if (!move) return false;
    table_.commitComputerMove(seat, *move);
    return true;
}

std::string WebTable::drainEventsJson() {
    std::string s = "[";
    bool first = true;
    for (const TableEvent& e : table_.drainEvents()) {
        if (!first) s += ',';
        first = false;
        switch (e.kind) {
            case TableEventKind::moved:
                s += "{\"type\":\"moved\",\"n\":" + std::to_string(e.moveNumber) + ",\"seat\":" +
                     std::to_string(e.seat) + ",\"from\":[" + std::to_string(e.move.fromX) + "," +
                     std::to_string(e.move.fromY) + "],\"to\":[" + std::to_string(e.move.toX) + "," +
                     std::to_string(e.move.toY) + "],\"piece\":" + std::to_string(e.move.piece) +
                     ",\"captured\":" + std::to_string(e.move.captured) +
                     ",\"line\":" + quoted(eventLine(e.move, e.moveNumber)) + "}";
                break;
            case TableEventKind::droppedOut:
                s += "{\"type\":\"out\",\"seat\":" + std::to_string(e.seat) + ",\"line\":\"out " +
                     std::to_string(e.seat) + "\"}";
                break;
            case TableEventKind::passed:
                s += "{\"type\":\"pass\",\"seat\":" + std::to_string(e.seat) + ",\"line\":\"pass " +
                     std::to_string(e.seat) + "\"}";
                break;
            case TableEventKind::turnTo: s += "{\"type\":\"turn\",\"seat\":" + std::to_string(e.seat) + "}"; break;
            case TableEventKind::paused: s += "{\"type\":\"paused\",\"seat\":" + std::to_string(e.seat) + "}"; break;
            case TableEventKind::gameOver: s += "{\"type\":\"over\",\"outcome\":" + outcomeJson(e.outcome) + "}"; break;
        }
    }
    return s + "]";
}

// As 戻 does in the window: the position before, its counters, and the seat
// that moved from it.
bool WebTable::back() {
    if (!started_) return false;
    const int n = table_.moveNumber;
    if (n < 1 || static_cast<std::size_t>(n) >= table_.moveRecord.size()) return false;
    auto& record = table_.moveRecord;
    if (n == table_.recordEnd && !navigated_ && isSeat(table_.turnSeat))
        record[static_cast<std::size_t>(n)].seatToMove = static_cast<std::uint8_t>(table_.turnSeat);
    const RecordEntry& target = record[static_cast<std::size_t>(n - 1)];
    table_.board = target.board();
    table_.capturedCount = target.capturedCount();
    table_.kingsCapturedCount = target.kingsCapturedCount();
    table_.moveNumber = n - 1;
    const int stored = target.seatToMove;
    if (isSeat(stored)) {
        table_.turnSeat = stored;
    } else {
        if (isSeat(table_.turnSeat)) table_.turnSeat = table_.手番_戻(table_.turnSeat);
        if (table_.moveNumber == 0) table_.turnSeat = 1;
    }
    navigated_ = true;
    return true;
}

bool WebTable::forward() {
    if (!started_) return false;
    const int n = table_.moveNumber;
    if (n >= table_.recordEnd || n < 0 || static_cast<std::size_t>(n) + 1 >= table_.moveRecord.size()) return false;
    const RecordEntry& target = table_.moveRecord[static_cast<std::size_t>(n + 1)];
    table_.board = target.board();
    table_.capturedCount = target.capturedCount();
    table_.kingsCapturedCount = target.kingsCapturedCount();
    table_.moveNumber = n + 1;
    const int stored = target.seatToMove;
    table_.turnSeat = isSeat(stored) ? stored : table_.手番_進(table_.turnSeat);
    navigated_ = true;
    return true;
}

void WebTable::playOn() {
    if (!navigated_) return;
    navigated_ = false;
    // Forward to the end of the record is where play stood: nothing to undo.
    if (table_.moveNumber == table_.recordEnd) {
        const RecordEntry& here = table_.moveRecord[static_cast<std::size_t>(table_.moveNumber)];
        if (!table_.over() && isSeat(here.seatToMove)) table_.turnSeat = here.seatToMove;
        if (table_.over()) return;
    }
    // What was stepped back over is no longer the game.
    table_.recordEnd = table_.moveNumber;
    table_.resumeHere();
}

std::string WebTable::entryJson(int n) const {
    if (n < 0 || n > table_.recordEnd || static_cast<std::size_t>(n) >= table_.moveRecord.size()) return "null";
    const RecordEntry& e = table_.moveRecord[static_cast<std::size_t>(n)];
    std::string s = "{\"n\":" + std::to_string(n) + ",\"board\":[";
    const Board b = e.board();
    for (int x = 1; x <= Codes::boardSize; ++x) {
        if (x > 1) s += ',';
        s += numbers(b[static_cast<std::size_t>(x)], 1, Codes::boardSize);
    }
    return s + "],\"captured\":" + numbers(e.capturedCount(), 1, Codes::blockCount) +
           ",\"kingsCaptured\":" + numbers(e.kingsCapturedCount(), 1, Codes::blockCount) + "}";
}

std::string WebTable::gameFile() const {
    const std::string result = table_.outcome() && !navigated_ ? resultLine(*table_.outcome()) : std::string();
    return gameFileText(headerOf(table_), table_.moveRecord, table_.recordEnd, result);
}

std::string WebTable::open(std::string_view bytes) {
    if (bytes.size() > gameFileLimit) return problemJson("the file is larger than 16 MiB", 0);
    const GameFileResult result = replayGameFile(bytes);
    if (!result.game) return problemJson(result.problem.reason, result.problem.line);
    table_ = Table();
    table_.takeOver(*result.game);
    table_.drainEvents();
    started_ = true;
    navigated_ = false;
    return positionJson();
}

std::string WebTable::follow(std::string_view seatsText, std::string_view lines) {
    const auto seats = seatsOf(seatsText);
    if (!seats) return problemJson("no such seats", 0);
    Table followed;
    followed.seat(modeOf(*seats), *seats);
    followed.drainEvents();
    int number = 0;
    std::size_t i = 0;
    while (i <= lines.size()) {
        std::size_t end = lines.find('\n', i);
        if (end == std::string_view::npos) end = lines.size();
        const std::string line(lines.substr(i, end - i));
        i = end + 1;
        ++number;
        // Only the game's own events move it; who played a seat, and the
        // result, change nothing.
        if (line.rfind("move ", 0) != 0 && line.rfind("out ", 0) != 0 && line.rfind("pass ", 0) != 0) continue;
        const std::string why = playEventLine(followed, line);
        if (!why.empty()) return problemJson(why, number);
    }
    followed.drainEvents();
    table_ = std::move(followed);
    started_ = true;
    navigated_ = false;
    return positionJson();
}

std::string WebTable::followLine(std::string_view line) {
    if (!started_) return "no game is followed";
    const std::string text(line);
    if (text.rfind("move ", 0) != 0 && text.rfind("out ", 0) != 0 && text.rfind("pass ", 0) != 0)
        return "not a line of the game";
    if (navigated_) {
        while (forward()) {
        }
        navigated_ = false;
    }
    return playEventLine(table_, text);
}

}  // namespace daro::web
