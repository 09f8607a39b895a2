#pragma once
// daro-autoplay: one whole game from the initial position, played without a
// screen, written as one event a line. Header-only so that the benchmarks and
// tests can drive the same core as the program.
//
// Events are the game's own record, printed as they join it: every call the
// game makes on the window is a moment to print what was recorded since. The
// result comes from the boxes the game shows at its end.

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "Form1.h"
#include "play/GameFile.h"

namespace daro::autoplay {

struct Options {
    int humanSeat = 0;  // 0: all seven seats are the computer
    std::uint64_t seed = 0;
    long maxMoves = 2000;
    std::string saveFile;    // also write the game file here
    std::string verifyFile;  // only replay this game file
};

inline const char* usageText() {
    return "usage: daro-autoplay [--human SEAT --seed N] [--max-moves N] [--save FILE]\n"
           "       daro-autoplay --verify FILE\n"
           "  SEAT 1..7 plays at random from seed N; the computer plays the other seats.\n"
           "  Without --human the computer plays all seven seats.\n"
           "  --max-moves N (N >= 1, default 2000) stops after the turn that made move N.\n"
           "  --save FILE also writes the game as a game file.\n"
           "  --verify FILE replays a game file and prints its events; status 0 when it\n"
           "  is a legal game, 1 with \"line N: reason\" at the first bad line.\n";
}

namespace detail {
inline std::optional<std::uint64_t> parseNumber(const std::string& s, std::uint64_t max) {
    if (s.empty() || s.size() > 19) return std::nullopt;
    std::uint64_t v = 0;
    for (char ch : s) {
        if (ch < '0' || ch > '9') return std::nullopt;
        v = v * 10 + static_cast<std::uint64_t>(ch - '0');
    }
    if (v > max) return std::nullopt;
    return v;
}
}  // namespace detail

// Nothing on failure; each option at most once, --human and --seed together.
inline std::optional<Options> parseArguments(const std::vector<std::string>& args) {
    Options o;
    bool human = false, seed = false, limit = false, save = false, verify = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& value = args[++i];
        if (a == "--human" && !human) {
            auto v = detail::parseNumber(value, Form1::seatCount);
            if (!v || *v < 1) return std::nullopt;
            o.humanSeat = static_cast<int>(*v);
            human = true;
        } else if (a == "--seed" && !seed) {
            auto v = detail::parseNumber(value, UINT64_MAX / 10);
            if (!v) return std::nullopt;
            o.seed = *v;
            seed = true;
        } else if (a == "--max-moves" && !limit) {
            auto v = detail::parseNumber(value, 1000000000);
            if (!v || *v < 1) return std::nullopt;
            o.maxMoves = static_cast<long>(*v);
            limit = true;
        } else if (a == "--save" && !save && !value.empty()) {
            o.saveFile = value;
            save = true;
        } else if (a == "--verify" && !verify && !value.empty()) {
            o.verifyFile = value;
            verify = true;
        } else {
            return std::nullopt;
        }
    }
    if (human != seed) return std::nullopt;
    if (verify && (human || limit || save)) return std::nullopt;
    return o;
}

// Told of every call the game makes on the window, before it takes effect.
class WindowObserver {
public:
    virtual ~WindowObserver() = default;
    virtual void windowCall(const std::string& text, int qbColor, bool isBox) = 0;
};

// A window nobody sees: it remembers check marks, answers OK to every box
// and "No" to every question, so the end of a game ends the program.
class HeadlessWindow : public Window {
public:
    WindowObserver* observer = nullptr;
    std::map<std::string, bool> checks;
    bool ended = false;

    void paintPicture(int, double, double) override { tell("", -1, false); }
    void drawRectangle(double, double, double, double, int) override { tell("", -1, false); }
    void printText(double, double, const std::string& text, double, bool, int qbColor) override {
        tell(text, qbColor, false);
    }
    void refresh() override { tell("", -1, false); }
    void setBackColor(int) override {}
    void setChecked(const std::string& name, bool checked) override { checks[name] = checked; }
    bool isChecked(const std::string& name) const override {
        auto it = checks.find(name);
        return it != checks.end() && it->second;
    }
    void setIconPosition(const std::string&, int, int) override {}
    void setIconVisible(const std::string&, bool) override { tell("", -1, false); }
    BoxAnswer messageBox(const std::string& text, const std::string&, BoxButtons buttons, BoxIcon) override {
        tell(text, -1, true);
        return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
    }
    int windowTop() const override { return -60; }
    void placeWindow(int, int, int, int) override {}
    std::int32_t nativeHandle() const override { return 0; }
    void endProgram() override { ended = true; }
    std::string chooseFileToSave(const std::string&) override { return {}; }
    std::string chooseFileToOpen(const std::string&) override { return {}; }

private:
    void tell(const std::string& text, int colour, bool box) {
        if (observer != nullptr) observer->windowCall(text, colour, box);
    }
};

// Time passes at once. Each idle moves the clock on by at least a
// millisecond, so a wait ends even when the time left is lost in rounding.
class NoWaitClock : public Clock {
public:
    double now() override { return seconds; }
    void idle(double s) override { seconds += s > 0.001 ? s : 0.001; }
    double seconds = 0;
};

struct HumanMove {
    int fromX, fromY, toX, toY, piece;
};

class Autoplay : private WindowObserver {
public:
    Autoplay(const Options& options, std::ostream& out)
        : options_(options), out_(out), rng_(options.seed) {
        // What start-up would set and the game reads; the settings file is left alone.
        window.setChecked("SIDOU", false);
        window.setChecked("AICON", true);
        window.setChecked("mochikoma", true);
        window.setChecked("LEVEL3", true);
        form.computerLevel = 3;
        form.gameStarted = Form1::valueNo;
        form.初期設定();
        window.observer = this;
    }

    // Plays until the game is won or lost, or a limit is met.
    void run() {
        if (options_.humanSeat == 0)
            runComputers();
        else
            runWithHuman();
        out_.flush();
    }

    // The game file of what has been played: all-computer games are written
    // as seven-player games, since no seat is the human's.
    std::string gameFile() const {
        const int mode = options_.humanSeat == 0 ? Form1::modeSevenPlayers : Form1::modeOnePlayer;
        return gameFileText(mode, options_.humanSeat, form.computerLevel, form.moveRecord, form.recordEnd, result_);
    }

    HeadlessWindow window;
    NoWaitClock clock;
    Form1 form{window, clock, nullptr};

    bool finished() const { return finished_; }

    // For a position set by hand on `form` before run(): events count from it.
    void watchFromHere() { form.手順保存(0); }

    // The moves a board click would accept for the seat to move, in board order.
    std::vector<HumanMove> acceptedMoves() {
        std::vector<HumanMove> moves;
        const int seat = form.turnSeat;
        const int block = Form1::blockOfSeat(seat);
        if (block == 0) return moves;
        for (int x = 1; x <= Form1::boardSize; ++x) {
            for (int y = 1; y <= Form1::boardSize; ++y) {
                const int c = form.board[x][y];
                if (Form1::blockOfCode(c) != block) continue;
                for (int tx = 1; tx <= Form1::boardSize; ++tx)
                    for (int ty = 1; ty <= Form1::boardSize; ++ty)
                        if (form.移動チェック(x, y, tx, ty, c) == Form1::valueYes &&
                            !(Form1::isKingCode(c) && kingWouldBeReached(x, y, tx, ty, c)))
                            moves.push_back({x, y, tx, ty, c});
            }
        }
        return moves;
    }

private:
    struct StopRun {};

    // ---------------------------------------------------------------- drivers
    void runComputers() {
        for (int s = 1; s <= Form1::seatCount; ++s) form.seatPlayer[s] = Form1::playerComputer;
        form.gameStarted = Form1::valueYes;
        form.gameMode = Form1::modeOnePlayer;
        form.rotationStop = Form1::valueNo;
        form.turnSeat = 1;
        while (!finished_) {
            topLevel([&] { form.com_ban(form.turnSeat); });
            if (finished_) break;
            if (window.ended) throw std::logic_error("the game ended without a result");
            if (limitArmed_) {
                emitLimit();
                break;
            }
            if (noPiecesLeft()) {
                emitLimit();
                break;
            }
            form.turnSeat = form.手番_進(form.turnSeat);
            form.rotationStop = Form1::valueNo;
        }
    }

    void runWithHuman() {
        const int human = options_.humanSeat;
        topLevel([&] { seatCommand(human); });
        while (!finished_) {
            if (window.ended) throw std::logic_error("the game ended without a result");
            if (limitArmed_) {
                emitLimit();
                break;
            }
            if (form.turnSeat < 1 || form.turnSeat > Form1::seatCount)
                throw std::logic_error("no seat is to move");
            if (form.seatPlayer[form.turnSeat] == Form1::playerHuman) {
                const std::vector<HumanMove> moves = acceptedMoves();
                if (moves.empty()) {
                    // The board click has no way to pass: the game cannot go on.
                    emitLimit();
                    break;
                }
                const HumanMove& m = moves[rng_() % moves.size()];
                topLevel([&] { click(m.fromX, m.fromY); });
                if (finished_) break;
                if (form.clickPhase != 1) throw std::logic_error("the human's piece was not picked");
                const long before = form.moveNumber;
                topLevel([&] { click(m.toX, m.toY); });
                if (!finished_ && form.moveNumber == before && form.board[m.fromX][m.fromY] == m.piece)
                    throw std::logic_error("the human's move was refused");
            } else {
                // The computers paused after an elimination; a click resumes them.
                const Board board = form.board;
                const int seat = form.turnSeat;
                const int moveNumber = form.moveNumber;
                const long events = events_;
                topLevel([&] { click(10, 10); });
                if (!finished_ && form.board == board && form.turnSeat == seat &&
                    form.moveNumber == moveNumber && events_ == events)
                    throw std::logic_error("the computers did not resume");
            }
        }
    }

    void seatCommand(int seat) {
        switch (seat) {
            case 1: form.JYUNBAN_1_Click(); break;
            case 2: form.JYUNBAN_2_Click(); break;
            case 3: form.JYUNBAN_3_Click(); break;
            case 4: form.JYUNBAN_4_Click(); break;
            case 5: form.JYUNBAN_5_Click(); break;
            case 6: form.JYUNBAN_6_Click(); break;
            default: form.JYUNBAN_7_Click(); break;
        }
    }

    void click(int x, int y) {
        form.Form_MouseDown(1, 0, form.boardLeft + x * form.cellWidth + form.cellWidth / 2.0,
                            form.boardTop + y * form.cellHeight + form.cellHeight / 2.0);
    }

    // One call into the game, with everything it did written out afterwards.
    template <class F>
    void topLevel(F&& f) {
        try {
            f();
            if (finished_) return;
            printRecorded();
        } catch (const StopRun&) {
        }
    }

    bool noPiecesLeft() const {
        for (int s = 1; s <= Form1::seatCount; ++s)
            if (form.調査_駒数(s) > 0) return false;
        return true;
    }

    // Does a piece of another kingdom, or the centre piece, reach the king's new square?
    bool kingWouldBeReached(int x, int y, int tx, int ty, int king) {
        const Board saved = form.board;
        form.board[tx][ty] = king;
        form.board[x][y] = Form1::emptyCode;
        form.勢力調査();
        const int b = Form1::blockOfCode(king);
        const bool reached = form.influenceTotal[tx][ty] - form.kingdomInfluence[b][tx][ty] > 0;
        form.board = saved;
        return reached;
    }

    // ---------------------------------------------------------------- events
    void windowCall(const std::string& text, int /*qbColor*/, bool isBox) override {
        if (finished_) return;
        printRecorded();
        if (limitArmed_ && form.turnSeat != limitSeat_) {
            // The turn of the last allowed move is over; stop before the next one.
            emitLimit();
            throw StopRun{};
        }
        if (!isBox) return;
        const std::string wins = "の勝ちです";
        if (text.size() > wins.size() && text.compare(text.size() - wins.size(), wins.size(), wins) == 0) {
            const std::string name = text.substr(0, text.size() - wins.size());
            for (int s = 1; s <= Form1::seatCount; ++s)
                if (Form1::kingdomName(s) == name) result_ = "win " + std::to_string(s);
            line(result_);
            finished_ = true;
        } else if (text == "あなたの負けです") {
            result_ = "lost";
            line(result_);
            finished_ = true;
        } else if (text == "どの国も動けません") {
            // A whole round without a move: the passes say it; the run stops.
            emitLimit();
        }
    }

    // The events the game recorded since the last call, in their order.
    void printRecorded() {
        const auto& record = form.moveRecord;
        for (;;) {
            if (printedEntry_ >= record.size()) return;
            const RecordEntry& entry = record[printedEntry_];
            if (printedAfter_ < entry.after.size()) {
                line(eventLine(entry.after[printedAfter_]));
                ++printedAfter_;
                continue;
            }
            const std::size_t next = printedEntry_ + 1;
            if (next > static_cast<std::size_t>(form.recordEnd) || next >= record.size()) return;
            if (record[next].move.kind != EventKind::Move) return;
            printedEntry_ = next;
            printedAfter_ = 0;
            line(eventLine(record[next].move, static_cast<int>(next)));
            if (static_cast<long>(next) >= options_.maxMoves) {
                limitArmed_ = true;
                limitSeat_ = form.turnSeat;
            }
        }
    }

    void emitLimit() {
        if (finished_) return;
        line("limit");
        finished_ = true;
    }

    void line(const std::string& s) {
        out_ << s << '\n';
        ++events_;
    }

    Options options_;
    std::ostream& out_;
    std::mt19937_64 rng_;
    std::size_t printedEntry_ = 0;  // entry whose events are being printed
    std::size_t printedAfter_ = 0;  // its drop-outs and passes printed so far
    std::string result_;
    bool finished_ = false;
    bool limitArmed_ = false;
    int limitSeat_ = 0;
    long events_ = 0;
};

}  // namespace daro::autoplay
