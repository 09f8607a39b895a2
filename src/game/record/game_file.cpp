// Game files: writing the record out, and reading one back by replaying
// every event through the rules.
#include "record/GameFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "table/Table.h"

namespace daro {

namespace {

constexpr const char* formatLine = "daro-game 1";

bool isSeat(int seat) { return seat >= 1 && seat <= Codes::seatCount; }

std::optional<SeatKind> seatKindOf(const std::string& word) {
    if (word == "human") return SeatKind{true, 0};
    // The arena's random player moves as a computer seat does.
    if (word == "random") return SeatKind{false, 3};
    if (word.size() == 6 && word.rfind("level", 0) == 0 && word[5] >= '1' && word[5] <= '5')
        return SeatKind{false, word[5] - '0'};
    return std::nullopt;
}

// The words of a line; numbers are plain decimal digits, nothing else.
std::vector<std::string> wordsOf(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ') {
            words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    words.push_back(word);
    return words;
}

std::optional<int> numberOf(const std::string& word) {
    if (word.empty() || word.size() > 6) return std::nullopt;
    int v = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

struct Line {
    int number;
    std::string text;
};

// Replays the events through the table: each must be what the table says
// comes next, so a file can hold no game the game itself would not play.
class Replay {
public:
    Replay(ReplayedGame& game, Table& table) : game_(game), table_(table) {}

    void start() {
        table_.computerLevel = game_.level;
        table_.seat(game_.mode, game_.seats);
        table_.drainEvents();
    }

    // Empty when the event checks out.
    std::string play(const std::vector<std::string>& w) {
        if (table_.over() && w[0] != "win" && w[0] != "lost") return "the game was already over";
        if (result_) return "the game was already over";
        // Pauses wait for a click in the window; a file plays straight on.
        if (table_.next().kind == StepKind::paused) table_.resume();
        if (w[0] == "move") return move(w);
        if (w[0] == "out") return out(w);
        if (w[0] == "pass") return pass(w);
        if (w[0] == "win" || w[0] == "lost") return result(w);
        // Only the start of it: the line may be anything, of any length.
        return "unknown event \"" + w[0].substr(0, 16) + "\"";
    }

    void finish() {
        const auto last = static_cast<std::size_t>(table_.moveNumber);
        game_.record.assign(table_.moveRecord.begin(), table_.moveRecord.begin() + static_cast<long>(last) + 1);
        const bool ended = table_.over() || !isSeat(table_.turnSeat);
        game_.seatToMove = ended ? Codes::noSeat : table_.turnSeat;
        game_.record.back().seatToMove = static_cast<std::uint8_t>(ended ? 0 : table_.turnSeat);
        game_.outcome = table_.outcome();
    }

private:
    std::optional<int> seatWord(const std::vector<std::string>& w) {
        if (w.size() != 2) return std::nullopt;
        auto seat = numberOf(w[1]);
        if (!seat || !isSeat(*seat)) return std::nullopt;
        return seat;
    }

    std::string notToMove(int seat) const {
        const Step next = table_.next();
        if (next.kind == StepKind::none) return "no kingdom is left to move";
        if (seat != next.seat)
            return "out of turn: seat " + std::to_string(next.seat) + " (" + Codes::kingdomName(next.seat) +
                   ") is to move";
        return {};
    }

    std::string move(const std::vector<std::string>& w) {
        if (w.size() != 9) return "a move has eight numbers";
        int v[8];
        for (int i = 0; i < 8; ++i) {
            auto n = numberOf(w[static_cast<std::size_t>(i) + 1]);
            if (!n) return "a move has eight numbers";
            v[i] = *n;
        }
        const int n = v[0], seat = v[1], fx = v[2], fy = v[3], tx = v[4], ty = v[5], piece = v[6], captured = v[7];
        if (n != table_.moveNumber + 1) return "move number " + std::to_string(n) + " where " +
                                               std::to_string(table_.moveNumber + 1) + " was due";
        if (!isSeat(seat)) return "no such seat";
        if (auto why = notToMove(seat); !why.empty()) return why;
        const Step next = table_.next();
        if (next.kind == StepKind::dropOut) {
            if (table_.存在チェック駒(Codes::取得_手番王(seat)) == Codes::valueNo)
                return "a kingdom without its king leaves the game instead of moving";
            return "a kingdom with 10 pieces or fewer leaves the game instead of moving";
        }
        if (!table_.onBoard(fx, fy) || !table_.onBoard(tx, ty)) return "a square off the board";
        if (Codes::blockOfCode(piece) != Codes::blockOfSeat(seat) || table_.board[fx][fy] != piece)
            return "no such piece of that kingdom on the square";
        if (table_.board[tx][ty] != captured) return "the target square holds something else";
        if (table_.移動チェック(fx, fy, tx, ty, piece) != Codes::valueYes) return "an illegal move";
        if (next.kind == StepKind::human) {
            if (table_.submit(seat, {fx, fy, tx, ty}) == Refusal::kingSquareReached)
                return "the king would stand where another kingdom reaches";
        } else {
            table_.commitComputerMove(seat, ChosenMove{fx, fy, tx, ty, piece});
        }
        table_.drainEvents();
        return {};
    }

    std::string out(const std::vector<std::string>& w) {
        auto seat = seatWord(w);
        if (!seat) return "an out names one seat 1..7";
        if (auto why = notToMove(*seat); !why.empty()) return why;
        if (table_.next().kind != StepKind::dropOut) return "a kingdom with its king and more than 10 pieces left";
        table_.step();
        table_.drainEvents();
        return {};
    }

    std::string pass(const std::vector<std::string>& w) {
        auto seat = seatWord(w);
        if (!seat) return "a pass names one seat 1..7";
        if (auto why = notToMove(*seat); !why.empty()) return why;
        const Step next = table_.next();
        if (next.kind == StepKind::dropOut) return "a kingdom without its king leaves the game instead of passing";
        if (table_.hasLegalMove(*seat)) return "a pass with a legal move to make";
        if (next.kind == StepKind::computerMove)
            table_.commitComputerMove(*seat, std::nullopt);
        else
            table_.step();
        table_.drainEvents();
        return {};
    }

    std::string result(const std::vector<std::string>& w) {
        std::string line = w[0];
        if (w[0] == "win") {
            auto seat = seatWord(w);
            if (!seat) return "a win names one seat 1..7";
            line += " " + std::to_string(*seat);
        } else if (w.size() != 1) {
            return "\"lost\" stands alone";
        }
        const std::string expected = table_.outcome() ? resultLine(*table_.outcome()) : std::string();
        if (line != expected)
            return expected.empty() ? "nobody has won or lost here" : "the result is \"" + expected + "\"";
        game_.result = line;
        result_ = true;
        return {};
    }

    ReplayedGame& game_;
    Table& table_;
    bool result_ = false;
};

// Splits into lines (LF, or CR LF); the text must end with a line end.
std::optional<GameFileProblem> splitLines(std::string_view bytes, std::vector<Line>& lines) {
    int number = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        ++number;
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) return GameFileProblem{number, "the line is cut off (no line end)"};
        std::string text(bytes.substr(start, end - start));
        if (!text.empty() && text.back() == '\r') text.pop_back();
        lines.push_back({number, text});
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<GameFileProblem> readHeader(const std::vector<Line>& lines, std::size_t& next, ReplayedGame& game) {
    auto missing = [&](const std::string& what) {
        return GameFileProblem{static_cast<int>(next) + 1, "the file ends before its " + what + " line"};
    };
    if (lines.empty() || lines[0].text != formatLine) {
        if (!lines.empty() && lines[0].text.rfind("daro-game ", 0) == 0)
            return GameFileProblem{1, "a game file of another version"};
        return GameFileProblem{1, "not a daro game file"};
    }
    next = 1;
    if (next >= lines.size()) return missing("mode");
    const std::string& mode = lines[next].text;
    if (mode == "mode one-player")
        game.mode = Table::modeOnePlayer;
    else if (mode == "mode seven-players")
        game.mode = Table::modeSevenPlayers;
    else if (mode == "mode free")
        game.mode = Table::modeFree;
    else
        return GameFileProblem{lines[next].number,
                               "expected \"mode one-player\", \"mode seven-players\" or \"mode free\""};
    ++next;
    if (game.mode == Table::modeOnePlayer) {
        if (next >= lines.size()) return missing("human");
        const auto w = wordsOf(lines[next].text);
        const auto seat = w.size() == 2 && w[0] == "human" ? numberOf(w[1]) : std::nullopt;
        if (!seat || !isSeat(*seat)) return GameFileProblem{lines[next].number, "expected \"human SEAT\", SEAT 1..7"};
        game.humanSeat = *seat;
        ++next;
    }
    if (next >= lines.size()) return missing("level");
    const auto w = wordsOf(lines[next].text);
    const auto level = w.size() == 2 && w[0] == "level" ? numberOf(w[1]) : std::nullopt;
    if (!level || *level < 1 || *level > Table::levelFive)
        return GameFileProblem{lines[next].number, "expected \"level K\", K 1..5"};
    game.level = *level;
    ++next;
    for (int s = 1; s <= Codes::seatCount; ++s)
        game.seats[s] = {game.mode != Table::modeOnePlayer || s == game.humanSeat, 0};
    game.seatsNamed = next < lines.size() && lines[next].text.rfind("seats ", 0) == 0;
    if (game.seatsNamed) {
        const auto seats = wordsOf(lines[next].text);
        if (seats.size() != 8) return GameFileProblem{lines[next].number, "expected \"seats\" and seven players"};
        for (int s = 1; s <= Codes::seatCount; ++s) {
            const auto kind = seatKindOf(seats[static_cast<std::size_t>(s)]);
            if (!kind) return GameFileProblem{lines[next].number, "a player is human, level1..level5 or random"};
            game.seats[s] = *kind;
        }
        ++next;
    } else if (game.mode == Table::modeFree) {
        return missing("seats");
    }
    return std::nullopt;
}

GameFileResult replayEvents(const std::vector<Line>& lines, std::size_t next, ReplayedGame game,
                            const std::optional<GameFileProblem>& cut) {
    GameFileResult result;
    Table table;
    Replay replay(game, table);
    replay.start();
    for (; next < lines.size(); ++next) {
        const auto words = wordsOf(lines[next].text);
        const std::string why = replay.play(words);
        if (!why.empty()) {
            result.problem = {lines[next].number, why};
            return result;
        }
        game.eventLines.push_back(lines[next].text);
    }
    if (cut) {
        result.problem = *cut;
        return result;
    }
    replay.finish();
    result.game = std::move(game);
    return result;
}

}  // namespace

GameFileResult replayGameFile(std::string_view bytes) {
    GameFileResult result;
    if (bytes.size() > gameFileLimit) {
        result.problem = {0, "the file is larger than 16 MiB"};
        return result;
    }
    std::vector<Line> lines;
    const auto cut = splitLines(bytes, lines);
    ReplayedGame game;
    std::size_t next = 0;
    if (auto problem = readHeader(lines, next, game)) {
        // A header cut short is reported where the cut is.
        result.problem = cut && problem->line > cut->line ? *cut : *problem;
        return result;
    }
    GameFileResult first = replayEvents(lines, next, game, cut);
    if (first.game || game.seatsNamed || game.mode != Table::modeSevenPlayers) return first;
    // Files from before the seats were named: a game of seven without a
    // human was played by the computer at every seat.
    for (int s = 1; s <= Codes::seatCount; ++s) game.seats[s] = {false, 0};
    GameFileResult second = replayEvents(lines, next, game, cut);
    if (second.game) second.game->seatsNamed = false;
    return second.game || second.problem.line > first.problem.line ? second : first;
}

std::string playEventLine(Table& table, const std::string& line) {
    ReplayedGame unused;
    Replay replay(unused, table);
    return replay.play(wordsOf(line));
}

std::string eventLine(const RecordEvent& e, int moveNumber) {
    const auto n = [](int v) { return std::to_string(v); };
    switch (e.kind) {
        case EventKind::Move:
            return "move " + n(moveNumber) + " " + n(e.seat) + " " + n(e.fromX) + " " + n(e.fromY) + " " + n(e.toX) +
                   " " + n(e.toY) + " " + n(e.piece) + " " + n(e.captured);
        case EventKind::Out: return "out " + n(e.seat);
        case EventKind::Pass: return "pass " + n(e.seat);
        case EventKind::None: break;
    }
    return {};
}

std::string eventLine(const RecordStep& step) { return eventLine(RecordEvent{step.kind, step.seat}, 0); }

std::vector<std::string> recordLines(const std::vector<RecordEntry>& record, int lastEntry) {
    std::vector<std::string> lines;
    for (int n = 0; n <= lastEntry && static_cast<std::size_t>(n) < record.size(); ++n) {
        const RecordEntry& entry = record[static_cast<std::size_t>(n)];
        if (n > 0 && entry.move.kind == EventKind::Move) lines.push_back(eventLine(entry.move, n));
        for (const RecordStep& step : entry.after) lines.push_back(eventLine(step));
    }
    return lines;
}

std::string resultLine(const Outcome& outcome) {
    switch (outcome.kind) {
        case OutcomeKind::win: return "win " + std::to_string(outcome.seat);
        case OutcomeKind::humanGone:
        case OutcomeKind::noHumanLeft: return "lost";
        case OutcomeKind::noKingdomCanMove: break;
    }
    return {};
}

std::string seatToken(const SeatKind& kind) { return kind.human ? "human" : "level" + std::to_string(kind.level); }

GameHeader headerOf(const Table& table) {
    GameHeader h;
    h.mode = table.gameMode == Table::modeOnePlayer || table.gameMode == Table::modeFree ? table.gameMode
                                                                                       : Table::modeSevenPlayers;
    h.level = table.computerLevel;
    for (int s = 1; s <= Codes::seatCount; ++s) {
        const SeatKind kind = table.seatKind(s);
        if (kind.human && h.humanSeat == 0) h.humanSeat = s;
        h.seats[static_cast<std::size_t>(s)] = seatToken(kind);
    }
    if (h.humanSeat == 0) h.humanSeat = 1;
    return h;
}

std::string gameFileText(int mode, int humanSeat, int level, const std::vector<RecordEntry>& record, int lastEntry,
                         const std::string& result) {
    GameHeader h{mode, humanSeat, level, {}};
    for (int s = 1; s <= Codes::seatCount; ++s)
        h.seats[static_cast<std::size_t>(s)] =
            mode != Table::modeOnePlayer || s == humanSeat ? "human" : "level" + std::to_string(level);
    return gameFileText(h, record, lastEntry, result);
}

std::string gameFileText(const GameHeader& header, const std::vector<RecordEntry>& record, int lastEntry,
                         const std::string& result) {
    const int mode = header.mode;
    std::string text = std::string(formatLine) + "\n";
    text += mode == Table::modeOnePlayer ? "mode one-player\n"
            : mode == Table::modeFree    ? "mode free\n"
                                         : "mode seven-players\n";
    if (mode == Table::modeOnePlayer) text += "human " + std::to_string(header.humanSeat) + "\n";
    text += "level " + std::to_string(header.level) + "\n";
    text += "seats";
    for (int s = 1; s <= Codes::seatCount; ++s) text += " " + header.seats[static_cast<std::size_t>(s)];
    text += "\n";
    for (const std::string& line : recordLines(record, lastEntry)) text += line + "\n";
    if (!result.empty()) text += result + "\n";
    return text;
}

std::optional<std::string> readGameFileBytes(const std::string& path, std::string& reason) {
    namespace fs = std::filesystem;
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in) {
        reason = "the file cannot be opened";
        return std::nullopt;
    }
    std::error_code ec;
    const fs::path p = fs::u8path(path);
    if (!fs::is_regular_file(p, ec)) {
        reason = "not a regular file";
        return std::nullopt;
    }
    const auto size = fs::file_size(p, ec);
    if (ec) {
        reason = "the file cannot be read";
        return std::nullopt;
    }
    if (size > gameFileLimit) {
        reason = "the file is larger than 16 MiB";
        return std::nullopt;
    }
    // Read one byte past the limit, in case the file grew after the check.
    std::string bytes(gameFileLimit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        reason = "the file cannot be read";
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > gameFileLimit) {
        reason = "the file is larger than 16 MiB";
        return std::nullopt;
    }
    return bytes;
}

bool writeFileReplacing(const std::string& path, const std::string& text, std::string& reason) {
    namespace fs = std::filesystem;
    const fs::path target = fs::u8path(path);
    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            reason = "the folder cannot be written to";
            return false;
        }
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            reason = "the file could not be written completely";
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        reason = "the file could not be put in place: " + ec.message();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace daro
