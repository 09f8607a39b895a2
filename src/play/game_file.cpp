// Game files: writing the record out, and reading one back by replaying
// every event through the rules.
#include "play/GameFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "Form1.h"

namespace daro {

namespace {

constexpr const char* formatLine = "daro-game 1";

bool isSeat(int seat) { return seat >= 1 && seat <= Form1::seatCount; }

// The replay draws nothing and never waits.
class SilentWindow : public Window {
public:
    void paintPicture(int, double, double) override {}
    void drawRectangle(double, double, double, double, int) override {}
    void printText(double, double, const std::string&, double, bool, int) override {}
    void refresh() override {}
    void setBackColor(int) override {}
    void setChecked(const std::string&, bool) override {}
    bool isChecked(const std::string&) const override { return false; }
    void setIconPosition(const std::string&, int, int) override {}
    void setIconVisible(const std::string&, bool) override {}
    BoxAnswer messageBox(const std::string&, const std::string&, BoxButtons buttons, BoxIcon) override {
        return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
    }
    int windowTop() const override { return 0; }
    void placeWindow(int, int, int, int) override {}
    std::int32_t nativeHandle() const override { return 0; }
    void endProgram() override {}
};

class SilentClock : public Clock {
public:
    double now() override { return seconds_; }
    void idle(double s) override { seconds_ += s > 0.001 ? s : 0.001; }

private:
    double seconds_ = 0;
};

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

class Replay {
public:
    explicit Replay(ReplayedGame& game) : game_(game) {}

    void start() {
        form_.初期設定();
        form_.gameMode = game_.mode;
        for (int s = 1; s <= Form1::seatCount; ++s)
            form_.seatPlayer[s] = game_.mode == Form1::modeOnePlayer && s != game_.humanSeat ? Form1::playerComputer
                                                                                            : Form1::playerHuman;
        form_.computerLevel = game_.level;
        form_.gameStarted = Form1::valueYes;
        form_.turnSeat = 1;
    }

    // Empty when the event checks out.
    std::string play(const std::vector<std::string>& w) {
        if (over_) return "the game was already over";
        if (!expectedResult_.empty() && w[0] != "win" && w[0] != "lost") return "the game was already over";
        if (w[0] == "move") return move(w);
        if (w[0] == "out") return out(w);
        if (w[0] == "pass") return pass(w);
        if (w[0] == "win" || w[0] == "lost") return result(w);
        // Only the start of it: the line may be anything, of any length.
        return "unknown event \"" + w[0].substr(0, 16) + "\"";
    }

    void finish() {
        const auto last = static_cast<std::size_t>(form_.moveNumber);
        game_.record.assign(form_.moveRecord.begin(), form_.moveRecord.begin() + static_cast<long>(last) + 1);
        const bool ended = over_ || !expectedResult_.empty() || !isSeat(form_.turnSeat);
        game_.seatToMove = ended ? Form1::noSeat : form_.turnSeat;
        game_.record.back().seatToMove = static_cast<std::uint8_t>(ended ? 0 : form_.turnSeat);
    }

private:
    std::optional<int> seatWord(const std::vector<std::string>& w) {
        if (w.size() != 2) return std::nullopt;
        auto seat = numberOf(w[1]);
        if (!seat || !isSeat(*seat)) return std::nullopt;
        return seat;
    }

    std::string notToMove(int seat) const {
        if (!isSeat(form_.turnSeat)) return "no kingdom is left to move";
        if (seat != form_.turnSeat)
            return "out of turn: seat " + std::to_string(form_.turnSeat) + " (" +
                   Form1::kingdomName(form_.turnSeat) + ") is to move";
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
        if (n != form_.moveNumber + 1) return "move number " + std::to_string(n) + " where " +
                                              std::to_string(form_.moveNumber + 1) + " was due";
        if (!isSeat(seat)) return "no such seat";
        if (auto why = notToMove(seat); !why.empty()) return why;
        if (form_.存在チェック駒(Form1::取得_手番王(seat)) == Form1::valueNo)
            return "a kingdom without its king leaves the game instead of moving";
        if (!form_.onBoard(fx, fy) || !form_.onBoard(tx, ty)) return "a square off the board";
        if (Form1::blockOfCode(piece) != Form1::blockOfSeat(seat) || form_.board[fx][fy] != piece)
            return "no such piece of that kingdom on the square";
        if (form_.board[tx][ty] != captured) return "the target square holds something else";
        if (form_.移動チェック(fx, fy, tx, ty, piece) != Form1::valueYes) return "an illegal move";

        form_.駒移動(fx, fy, tx, ty, piece);
        form_.moveNumber = n;
        form_.recordEnd = n;
        form_.手順保存(n);
        form_.turnSeat = form_.手番_進(seat);
        if (form_.調査_終了(seat) == Form1::valueYes)
            expectedResult_ = "win " + std::to_string(seat);
        else if (form_.humanKingdomGone())
            expectedResult_ = "lost";
        else if (form_.lastKingdomStanding() == seat)
            expectedResult_ = "win " + std::to_string(seat);
        return {};
    }

    std::string out(const std::vector<std::string>& w) {
        auto seat = seatWord(w);
        if (!seat) return "an out names one seat 1..7";
        if (auto why = notToMove(*seat); !why.empty()) return why;
        const bool kingGone = form_.存在チェック駒(Form1::取得_手番王(*seat)) == Form1::valueNo;
        if (!kingGone && form_.調査_駒数(*seat) > 10) return "a kingdom with its king and more than 10 pieces left";
        form_.戦線離脱処理(*seat);
        form_.turnSeat = form_.手番_進(*seat);
        if (form_.gameMode == Form1::modeOnePlayer && *seat == game_.humanSeat)
            expectedResult_ = "lost";
        else if (const int last = form_.lastKingdomStanding(); last != Form1::noSeat)
            expectedResult_ = "win " + std::to_string(last);
        return {};
    }

    std::string pass(const std::vector<std::string>& w) {
        auto seat = seatWord(w);
        if (!seat) return "a pass names one seat 1..7";
        if (auto why = notToMove(*seat); !why.empty()) return why;
        if (form_.存在チェック駒(Form1::取得_手番王(*seat)) == Form1::valueNo)
            return "a kingdom without its king leaves the game instead of passing";
        if (form_.hasLegalMove(*seat)) return "a pass with a legal move to make";
        form_.recordPass(*seat);
        form_.turnSeat = form_.手番_進(*seat);
        if (form_.wholeRoundPassed()) over_ = true;
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
        if (line != expectedResult_) return expectedResult_.empty() ? "nobody has won or lost here"
                                                                    : "the result is \"" + expectedResult_ + "\"";
        game_.result = line;
        over_ = true;
        return {};
    }

    ReplayedGame& game_;
    SilentWindow window_;
    SilentClock clock_;
    Form1 form_{window_, clock_, nullptr};
    std::string expectedResult_;
    bool over_ = false;
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
        game.mode = Form1::modeOnePlayer;
    else if (mode == "mode seven-players")
        game.mode = Form1::modeSevenPlayers;
    else
        return GameFileProblem{lines[next].number, "expected \"mode one-player\" or \"mode seven-players\""};
    ++next;
    if (game.mode == Form1::modeOnePlayer) {
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
    if (!level || *level < 1 || *level > 4) return GameFileProblem{lines[next].number, "expected \"level K\", K 1..4"};
    game.level = *level;
    ++next;
    return std::nullopt;
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
    Replay replay(game);
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

std::string gameFileText(int mode, int humanSeat, int level, const std::vector<RecordEntry>& record, int lastEntry,
                         const std::string& result) {
    std::string text = std::string(formatLine) + "\n";
    text += mode == Form1::modeOnePlayer ? "mode one-player\n" : "mode seven-players\n";
    if (mode == Form1::modeOnePlayer) text += "human " + std::to_string(humanSeat) + "\n";
    text += "level " + std::to_string(level) + "\n";
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
