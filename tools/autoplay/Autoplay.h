#pragma once
// daro-autoplay: one whole game from the initial position, played without a
// screen, written as one event a line. Header-only so that the benchmarks and
// tests can drive the same core as the program.
//
// The tool drives the table as every program does and prints its events as
// they come; the result is the table's outcome.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "record/GameFile.h"
#include "table/Table.h"

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
            auto v = detail::parseNumber(value, Table::seatCount);
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

struct HumanMove {
    int fromX, fromY, toX, toY, piece;
};

// The moves the table accepts from the seat to move, in board order.
inline std::vector<HumanMove> acceptedMoves(Table& table) {
    std::vector<HumanMove> moves;
    const int seat = table.turnSeat;
    const int block = Table::blockOfSeat(seat);
    if (block == 0) return moves;
    for (int x = 1; x <= Table::boardSize; ++x) {
        for (int y = 1; y <= Table::boardSize; ++y) {
            const int c = table.board[x][y];
            if (Table::blockOfCode(c) != block) continue;
            for (int tx = 1; tx <= Table::boardSize; ++tx)
                for (int ty = 1; ty <= Table::boardSize; ++ty)
                    if (table.移動チェック(x, y, tx, ty, c) == Table::valueYes &&
                        !(Table::isKingCode(c) && table.kingSquareReached(x, y, tx, ty, c)))
                        moves.push_back({x, y, tx, ty, c});
        }
    }
    return moves;
}

class Autoplay {
public:
    Autoplay(const Options& options, std::ostream& out) : options_(options), out_(out), rng_(options.seed) {
        table.computerLevel = 3;
    }

    // Plays until the game is won or lost, or a limit is met.
    void run() {
        seatPlayers();
        while (!finished_) {
            const Step step = table.next();
            switch (step.kind) {
                case StepKind::none: emitLimit(); break;
                case StepKind::paused: table.resume(); break;
                case StepKind::human: playHuman(); break;
                case StepKind::computerMove:
                    table.commitComputerMove(step.seat, chooser ? chooser(table, step.seat) : think(table.snapshot()));
                    break;
                case StepKind::dropOut:
                case StepKind::pass: table.step(); break;
            }
            printEvents();
        }
        out_.flush();
    }

    // The game file of what has been played.
    std::string gameFile() const { return gameFileText(headerOf(table), table.moveRecord, table.recordEnd, result_); }

    Table table;
    // Chooses the computer seats' moves in the written search's place (the arena's players).
    std::function<std::optional<ChosenMove>(const Table&, int seat)> chooser;

    bool finished() const { return finished_; }

    // Seats the players before run(), in place of the options' seating.
    void seatPlayers(const std::array<SeatKind, 8>& seats) {
        started_ = true;
        table.seat(Table::modeFree, seats);
        table.drainEvents();
    }

    // For a position set by hand on `table` before run(): events count from it.
    void watchFromHere() { table.手順保存(0); }

private:
    void seatPlayers() {
        if (started_) return;
        started_ = true;
        std::array<SeatKind, 8> seats{};
        for (int s = 1; s <= Table::seatCount; ++s) seats[static_cast<std::size_t>(s)] = {s == options_.humanSeat, 0};
        table.seat(options_.humanSeat == 0 ? Table::modeFree : Table::modeOnePlayer, seats);
        table.drainEvents();
    }

    void playHuman() {
        const std::vector<HumanMove> moves = acceptedMoves(table);
        if (moves.empty()) {
            // Only king moves the game refuses are left: the board click has no way on.
            emitLimit();
            return;
        }
        const HumanMove& m = moves[rng_() % moves.size()];
        if (table.submit(table.turnSeat, {m.fromX, m.fromY, m.toX, m.toY}) != Refusal::none)
            throw std::logic_error("the human's move was refused");
    }

    void printEvents() {
        for (const TableEvent& e : table.drainEvents()) {
            if (finished_) return;
            switch (e.kind) {
                case TableEventKind::moved:
                    line(eventLine(e.move, e.moveNumber));
                    if (e.moveNumber >= options_.maxMoves && !limitArmed_) {
                        limitArmed_ = true;
                        limitSeat_ = e.seat;
                    }
                    break;
                case TableEventKind::droppedOut: line("out " + std::to_string(e.seat)); break;
                case TableEventKind::passed: line("pass " + std::to_string(e.seat)); break;
                case TableEventKind::turnTo:
                    // The turn of the last allowed move is over; stop before the next one.
                    if (limitArmed_ && e.seat != limitSeat_) emitLimit();
                    break;
                case TableEventKind::gameOver:
                    result_ = resultLine(e.outcome);
                    if (result_.empty()) {
                        // A whole round without a move: the passes say it; the run stops.
                        emitLimit();
                    } else {
                        line(result_);
                        finished_ = true;
                    }
                    break;
                case TableEventKind::paused: break;
            }
        }
    }

    void emitLimit() {
        if (finished_) return;
        line("limit");
        finished_ = true;
    }

    void line(const std::string& s) { out_ << s << '\n'; }

    Options options_;
    std::ostream& out_;
    std::mt19937_64 rng_;
    std::string result_;
    bool started_ = false;
    bool finished_ = false;
    bool limitArmed_ = false;
    int limitSeat_ = 0;
};

}  // namespace daro::autoplay
