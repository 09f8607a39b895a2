#pragma once
// daro-arena: many headless games between chosen players, one line a game
// and a summary. Header-only so that the tests drive the same code.
//
// Each seat is `written` (the computer of LEVEL1-3), `engine` (LEVEL4),
// `level5` or `random`. The first rounds of every game are random moves drawn from the
// opening's seed, the same for every seating, so that games differ.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <time.h>

#include "../autoplay/Autoplay.h"
#include "Resume.h"
#include "engine/Level5.h"
#include "engine/Search.h"
#include "record/GameFile.h"

namespace daro::arena {

enum class Kind { written, engine, random, level5 };

inline const char* kindName(Kind k) {
    switch (k) {
    case Kind::written: return "written";
    case Kind::engine: return "engine";
    case Kind::level5: return "level5";
    default: return "random";
    }
}

inline std::optional<Kind> kindFromName(const std::string& s) {
    if (s == "written") return Kind::written;
    if (s == "engine") return Kind::engine;
    if (s == "random") return Kind::random;
    if (s == "level5") return Kind::level5;
    return std::nullopt;
}

struct Options {
    std::array<Kind, 8> seats{};  // by seat 1..7
    bool rotate = false;          // every opening once per rotation of the seats
    int openings = 1;
    std::uint64_t seed = 1;
    int openingRounds = 2;
    long maxMoves = 2000;
    int jobs = 1;
    engine::Method method = engine::Settings{}.method;
    long nodes = engine::Settings{}.nodeBudget;
    long level5Nodes = engine::level5NodeBudget;
    int level5Frontier = engine::Level5Settings{}.frontierQuietMoves;
    bool level5OneReply = engine::Level5Settings{}.oneReplyARound;
    int level5Cycle = engine::Level5Settings{}.cycleRepeats;
    engine::Weights level5Weights = engine::level5Weights;
    int level5RepetitionCost = engine::Level5Settings{}.repetitionCost;
    int level5HuntScale = engine::Level5Settings{}.huntScale;
    int level5DuelFactor = engine::Level5Settings{}.duelBudgetFactor;
    std::string saveDir;  // empty: games are not saved
    // Saved games to play on from, once down to `resumeAt` kingdoms, each
    // with its own seats (one game a file); empty: new games.
    std::string resumeDir;
    int resumeAt = 3;
};

inline const char* usageText() {
    return "usage: daro-arena --seats K1,K2,...,K7 [--rotate] [--openings N] [--seed N]\n"
           "                  [--opening-rounds N] [--max-moves N] [--jobs N]\n"
           "                  [--search paranoid|best-reply] [--nodes N] [--level5-nodes N]\n"
           "                  [--level5-frontier N] [--level5-replies one|each]\n"
           "                  [--level5-weight NAME=VALUE]... [--level5-repetition-cost N]\n"
           "                  [--level5-hunt-scale N] [--level5-cycle N] [--level5-duel N]\n"
           "                  [--save-dir DIR]\n"
           "       daro-arena --resume DIR [--at-kingdoms N] [same options but --seats]\n"
           "  K is written, engine (LEVEL4), level5 or random, for seats 1..7 in turn order.\n"
           "  --rotate plays every opening seven times, the seating turned one seat each time.\n"
           "  --resume plays on every game saved in DIR from where N kingdoms (3) were left,\n"
           "  with the seats it was saved with.\n";
}

inline std::optional<long> parseCount(const std::string& s, long max) {
    if (s.empty() || s.size() > 12) return std::nullopt;
    long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v > max) return std::nullopt;
    return v;
}

// The evaluation's feature of that name, or -1.
inline int featureNamed(const std::string& name) {
    for (int i = 0; i < engine::featureCount; ++i)
        if (name == engine::featureNames[i]) return i;
    return -1;
}

// NAME=VALUE, NAME one of the evaluation's feature names, VALUE a signed count.
inline bool setWeight(engine::Weights& weights, const std::string& assignment) {
    const auto eq = assignment.find('=');
    if (eq == std::string::npos) return false;
    const std::string name = assignment.substr(0, eq);
    std::string value = assignment.substr(eq + 1);
    const bool negative = !value.empty() && value[0] == '-';
    if (negative) value.erase(0, 1);
    const auto n = parseCount(value, 1000000000);
    if (!n) return false;
    const int feature = featureNamed(name);
    if (feature < 0) return false;
    weights[static_cast<std::size_t>(feature)] = static_cast<int>(negative ? -*n : *n);
    return true;
}

inline std::optional<Options> parseArguments(const std::vector<std::string>& args) {
    Options o;
    bool seats = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--rotate") {
            o.rotate = true;
            continue;
        }
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& v = args[++i];
        if (a == "--seats") {
            std::stringstream in(v);
            std::string name;
            int seat = 0;
            while (std::getline(in, name, ',')) {
                const auto k = kindFromName(name);
                if (!k || ++seat > 7) return std::nullopt;
                o.seats[seat] = *k;
            }
            if (seat != 7) return std::nullopt;
            seats = true;
        } else if (a == "--search") {
            if (v == "best-reply") o.method = engine::Method::bestReply;
            else if (v == "paranoid") o.method = engine::Method::paranoid;
            else return std::nullopt;
        } else if (a == "--level5-replies") {
            if (v != "one" && v != "each") return std::nullopt;
            o.level5OneReply = v == "one";
        } else if (a == "--level5-weight") {
            if (!setWeight(o.level5Weights, v)) return std::nullopt;
        } else if (a == "--save-dir") {
            if (v.empty()) return std::nullopt;
            o.saveDir = v;
        } else if (a == "--resume") {
            if (v.empty()) return std::nullopt;
            o.resumeDir = v;
        } else {
            const auto n = parseCount(v, 1000000000);
            if (!n) return std::nullopt;
            if (a == "--openings" && *n >= 1) o.openings = static_cast<int>(*n);
            else if (a == "--seed") o.seed = static_cast<std::uint64_t>(*n);
            else if (a == "--opening-rounds") o.openingRounds = static_cast<int>(*n);
            else if (a == "--max-moves" && *n >= 1) o.maxMoves = *n;
            else if (a == "--jobs" && *n >= 1 && *n <= 64) o.jobs = static_cast<int>(*n);
            else if (a == "--nodes" && *n >= 1) o.nodes = *n;
            else if (a == "--level5-nodes" && *n >= 1) o.level5Nodes = *n;
            else if (a == "--level5-frontier" && *n <= 1000000) o.level5Frontier = static_cast<int>(*n);
            else if (a == "--level5-repetition-cost" && *n <= 1000000) o.level5RepetitionCost = static_cast<int>(*n);
            else if (a == "--level5-hunt-scale" && *n <= 1000) o.level5HuntScale = static_cast<int>(*n);
            else if (a == "--level5-cycle" && *n <= 1000) o.level5Cycle = static_cast<int>(*n);
            else if (a == "--level5-duel" && *n >= 1 && *n <= 1000) o.level5DuelFactor = static_cast<int>(*n);
            else if (a == "--at-kingdoms" && *n >= 2 && *n <= 6) o.resumeAt = static_cast<int>(*n);
            else return std::nullopt;
        }
    }
    // New games need their seats; played-on ones have theirs.
    if (seats == !o.resumeDir.empty() || (o.rotate && !o.resumeDir.empty())) return std::nullopt;
    return o;
}

// ------------------------------------------------------------------ players

// A kingdom stays in the game above ten pieces, so "twice the pieces" is
// counted above that line: what each could still lose before it drops out,
// and two pieces at the least. The stronger block, or 0.
inline int clearlyAhead(const engine::Position& p, int a, int b) {
    const int aboveA = p.pieceCount(a) - engine::dropOutPieceCount;
    const int aboveB = p.pieceCount(b) - engine::dropOutPieceCount;
    if (aboveA >= 2 * aboveB && aboveA - aboveB >= 2) return a;
    if (aboveB >= 2 * aboveA && aboveB - aboveA >= 2) return b;
    return 0;
}

// A duel counts as won when the stronger kingdom wins within this many
// moves of the first position an engine seat met it in.
constexpr long duelMoveLimit = 300;

// Every move the game's move check accepts, from the engine's generator
// (the two agree exactly; the engine's tests compare them).
inline std::vector<engine::Move> legalMoves(const Table& table, int seat) {
    const engine::Position p(table.board, table.capturedCount, table.kingsCapturedCount, seat);
    std::vector<engine::Move> moves;
    p.generate(engine::blockOfSeat[seat], moves);
    return moves;
}

// Processor time of the calling thread, where the system keeps it; a busy
// machine slows the wall clock of a search but not this. Negative: unknown.
inline double threadSeconds() {
#ifdef CLOCK_THREAD_CPUTIME_ID
    timespec t{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) == 0) return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
#endif
    return -1;
}

inline ChosenMove toChosen(const engine::Move& m) {
    return {engine::fileOf(m.from), engine::rankOf(m.from), engine::fileOf(m.to), engine::rankOf(m.to), m.piece};
}

// One game's players: random for the opening rounds, then each seat's own.
class GamePlayers {
public:
    GamePlayers(const std::array<Kind, 8>& seats, std::uint64_t openingSeed, int openingRounds,
                engine::Settings settings, engine::Level5Settings level5 = {})
        : seats_(seats), openingRng_(openingSeed), playRng_(openingSeed ^ 0x5eed),
          openingRounds_(openingRounds), settings_(settings), level5_(std::move(level5)) {}

    std::optional<ChosenMove> choose(const Table& table, int seat) {
        if (turnsTaken_[seat]++ < openingRounds_) return pickRandom(table, seat, openingRng_);
        switch (seats_[seat]) {
        case Kind::written: return think(table.snapshot());
        case Kind::random: return pickRandom(table, seat, playRng_);
        case Kind::engine:
        case Kind::level5: break;
        }
        const engine::Position p(table.board, table.capturedCount, table.kingsCapturedCount, seat);
        noteDuel(table, p);
        const bool five = seats_[seat] == Kind::level5;
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = threadSeconds();
        engine::Result r;
        if (five) {
            level5_.history = gameKeys(table);
            r = engine::searchLevel5(p, level5_);
        } else {
            settings_.history = gameKeys(table);
            r = engine::search(p, settings_);
        }
        (five ? level5Seconds : thinkSeconds)
            .push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (startCpu >= 0) (five ? level5CpuSeconds : thinkCpuSeconds).push_back(threadSeconds() - startCpu);
        if (!r.move) return std::nullopt;
        return toChosen(*r.move);
    }

    // Think times of the engine (LEVEL4) seats and of the level5 seats.
    std::vector<double> thinkSeconds, thinkCpuSeconds, level5Seconds, level5CpuSeconds;
    // The first position the engine met with two kingdoms left, one of them
    // clearly ahead: its move number and the stronger seat (0: none met).
    long duelMove = 0;
    int duelStronger = 0;
    // The first position the engine met with three kingdoms left: their
    // seats, and the one with the most pieces (0: a tie for the most).
    std::array<bool, 8> threeLeft{};
    int threeMost = 0;

private:
    // The keys of the game's positions before this one, for repetitions.
    const std::vector<std::uint64_t>& gameKeys(const Table& table) {
        const std::size_t end = std::min(static_cast<std::size_t>(std::max(table.recordEnd, 0)), table.moveRecord.size());
        if (keys_.size() > end) keys_.clear();
        for (std::size_t i = keys_.size(); i < end; ++i)
            keys_.push_back(engine::positionKey(table.moveRecord[i].board(), table.moveRecord[i].seatToMove));
        return keys_;
    }

    void noteDuel(const Table& table, const engine::Position& p) {
        if (duelStronger != 0) return;
        std::vector<int> left;
        for (int b = 1; b <= engine::blockCount; ++b)
            if (p.pieceCount(b) > engine::dropOutPieceCount && p.kingSquare(b) != 0) left.push_back(b);
        if (left.size() == 3) noteThree(p, left);
        if (left.size() != 2) return;
        if (const int stronger = clearlyAhead(p, left[0], left[1])) {
            duelStronger = engine::seatOfBlock[stronger];
            duelMove = table.moveNumber;
        }
    }

    void noteThree(const engine::Position& p, const std::vector<int>& left) {
        if (std::find(threeLeft.begin(), threeLeft.end(), true) != threeLeft.end()) return;
        int most = 0, mostCount = 0;
        for (int b : left) {
            threeLeft[static_cast<std::size_t>(engine::seatOfBlock[b])] = true;
            if (p.pieceCount(b) > mostCount) most = b, mostCount = p.pieceCount(b);
            else if (p.pieceCount(b) == mostCount) most = 0;
        }
        threeMost = most ? engine::seatOfBlock[most] : 0;
    }

    std::vector<std::uint64_t> keys_;

    static std::optional<ChosenMove> pickRandom(const Table& table, int seat, std::mt19937_64& rng) {
        const auto moves = legalMoves(table, seat);
        if (moves.empty()) return std::nullopt;
        return toChosen(moves[rng() % moves.size()]);
    }

    std::array<Kind, 8> seats_;
    std::mt19937_64 openingRng_, playRng_;
    int openingRounds_;
    engine::Settings settings_;
    engine::Level5Settings level5_;
    std::array<int, 8> turnsTaken_{};
};

// The seats as the table knows them: the written computer at LEVEL3, the
// engines at LEVEL4 and LEVEL5; a random player sits as a computer the arena moves.
inline std::array<SeatKind, 8> tableSeats(const std::array<Kind, 8>& seats) {
    std::array<SeatKind, 8> kinds{};
    for (int s = 1; s <= 7; ++s)
        kinds[s] = {false, seats[s] == Kind::engine   ? Table::levelFour
                           : seats[s] == Kind::level5 ? Table::levelFive
                                                      : 3};
    return kinds;
}

// -------------------------------------------------------------------- games

struct GameResult {
    int index = 0;
    int opening = 0;
    std::array<Kind, 8> seats{};
    std::vector<std::string> events;  // daro-autoplay's lines
    std::string fileText;             // the game file of the game
    int winner = 0;                   // 0: none
    std::array<bool, 8> out{};
    long moves = 0;
    std::vector<double> thinkSeconds, thinkCpuSeconds, level5Seconds, level5CpuSeconds;
    long duelMove = 0;
    int duelStronger = 0;
    std::array<bool, 8> threeLeft{};
    int threeMost = 0;
    std::string error;
};

inline std::array<Kind, 8> seatingOf(const Options& o, int rotation) {
    std::array<Kind, 8> seats{};
    for (int s = 1; s <= 7; ++s) seats[s] = o.seats[(s - 1 + 7 - rotation) % 7 + 1];
    return seats;
}

// A saved game's seat words as players: LEVEL4 and LEVEL5 as engines, the
// written levels as the written computer.
inline std::array<Kind, 8> savedSeating(const ResumePoint& point) {
    std::array<Kind, 8> seats{};
    for (std::size_t s = 1; s <= 7; ++s)
        seats[s] = point.seats[s] == "level4" ? Kind::engine
                   : point.seats[s] == "level5" ? Kind::level5
                   : point.seats[s] == "random" ? Kind::random
                                                : Kind::written;
    return seats;
}

// One game: a new one, or one played on from `resume`.
inline GameResult playGame(const Options& o, int index, const ResumePoint* resume = nullptr) {
    GameResult g;
    g.index = index;
    const int rotations = o.rotate ? 7 : 1;
    g.opening = index / rotations;
    g.seats = resume ? savedSeating(*resume) : seatingOf(o, index % rotations);
    engine::Settings settings;
    settings.method = o.method;
    settings.nodeBudget = o.nodes;
    settings.seed = o.seed + static_cast<std::uint64_t>(g.opening);
    engine::Level5Settings level5;
    level5.nodeBudget = o.level5Nodes;
    level5.frontierQuietMoves = o.level5Frontier;
    level5.oneReplyARound = o.level5OneReply;
    level5.cycleRepeats = o.level5Cycle;
    level5.weights = o.level5Weights;
    level5.repetitionCost = o.level5RepetitionCost;
    level5.huntScale = o.level5HuntScale;
    level5.duelBudgetFactor = o.level5DuelFactor;
    level5.seed = settings.seed;
    GamePlayers players(g.seats, o.seed * 1000003 + static_cast<std::uint64_t>(g.opening),
                        resume ? 0 : o.openingRounds, settings, level5);
    std::size_t replayed = 0;

    std::ostringstream out;
    autoplay::Options ao;
    ao.maxMoves = o.maxMoves;
    try {
        autoplay::Autoplay game(ao, out);
        game.seatPlayers(tableSeats(g.seats));
        game.chooser = [&](const Table& table, int seat) -> std::optional<ChosenMove> {
            if (!resume || replayed == resume->moves.size()) return players.choose(table, seat);
            const SavedMove& saved = resume->moves[replayed++];
            if (saved.seat != seat) throw std::runtime_error("the saved game does not replay");
            return saved.move;
        };
        game.run();
        GameHeader header = headerOf(game.table);
        for (int s = 1; s <= 7; ++s)
            if (g.seats[s] == Kind::random) header.seats[s] = "random";
        const std::string result = game.table.outcome() ? resultLine(*game.table.outcome()) : std::string();
        g.fileText = gameFileText(header, game.table.moveRecord, game.table.recordEnd, result);
    } catch (const std::exception& e) {
        g.error = e.what();
    }
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        g.events.push_back(line);
        std::istringstream w(line);
        std::string word;
        int seat = 0;
        w >> word;
        if (word == "move") {
            w >> g.moves;
        } else if (word == "win" && (w >> seat) && seat >= 1 && seat <= 7) {
            g.winner = seat;
        } else if (word == "out" && (w >> seat) && seat >= 1 && seat <= 7) {
            g.out[seat] = true;
        }
    }
    g.thinkSeconds = players.thinkSeconds;
    g.thinkCpuSeconds = players.thinkCpuSeconds;
    g.level5Seconds = players.level5Seconds;
    g.level5CpuSeconds = players.level5CpuSeconds;
    g.duelMove = players.duelMove;
    g.duelStronger = players.duelStronger;
    g.threeLeft = players.threeLeft;
    g.threeMost = players.threeMost;
    return g;
}

// Through the game's own writer: beside its final name, then renamed into place.
inline bool saveGame(const std::string& dir, const GameResult& g) {
    char name[32];
    std::snprintf(name, sizeof name, "game-%04d.daro", g.index + 1);
    std::string reason;
    return writeFileReplacing((std::filesystem::path(dir) / name).string(), g.fileText, reason);
}

inline std::string seatingText(const std::array<Kind, 8>& seats) {
    std::string s;
    for (int i = 1; i <= 7; ++i) s += kindName(seats[i])[0];
    return s;
}

inline std::string gameLine(const GameResult& g) {
    std::ostringstream s;
    s << "game " << g.index + 1 << " opening " << g.opening + 1 << " seats " << seatingText(g.seats) << " moves "
      << g.moves << " winner " << (g.winner ? std::to_string(g.winner) : std::string("none")) << " out";
    bool any = false;
    for (int seat = 1; seat <= 7; ++seat)
        if (g.out[seat]) s << (any ? "," : " ") << seat, any = true;
    if (!any) s << " -";
    if (!g.error.empty()) s << " error " << g.error;
    return s.str();
}

inline double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

using Times = std::vector<double> GameResult::*;

inline void printThinkTimes(const char* who, const char* method, const std::vector<GameResult>& games, Times wall,
                            Times processor, std::ostream& out) {
    std::vector<double> think, cpu;
    for (const auto& g : games) {
        think.insert(think.end(), (g.*wall).begin(), (g.*wall).end());
        cpu.insert(cpu.end(), (g.*processor).begin(), (g.*processor).end());
    }
    char line[200];
    if (!think.empty()) {
        std::snprintf(line, sizeof line, "%s think ms moves %zu median %.1f p95 %.1f max %.1f (%s)", who,
                      think.size(), 1000 * percentile(think, 0.5), 1000 * percentile(think, 0.95),
                      1000 * percentile(think, 1.0), method);
        out << line << "\n";
    }
    if (!cpu.empty()) {
        std::snprintf(line, sizeof line, "%s think cpu-ms moves %zu median %.1f p95 %.1f max %.1f (%s)", who,
                      cpu.size(), 1000 * percentile(cpu, 0.5), 1000 * percentile(cpu, 0.95),
                      1000 * percentile(cpu, 1.0), method);
        out << line << "\n";
    }
}

// Down to three kingdoms, how often the one with the most pieces won, and
// per kind of player how often it was among the three, had the most, and won
// from there: where a player's games are decided.
inline void printThreeLeft(const std::vector<GameResult>& games, std::ostream& out) {
    int most = 0, mostWon = 0;
    for (const auto& g : games)
        if (g.threeMost != 0) ++most, mostWon += g.winner == g.threeMost;
    char line[200];
    if (most > 0) {
        std::snprintf(line, sizeof line, "three left %d the most pieces won %d (%.1f%%)", most, mostWon,
                      100.0 * mostWon / most);
        out << line << "\n";
    }
    for (Kind k : {Kind::engine, Kind::level5, Kind::written, Kind::random}) {
        int among = 0, ahead = 0, won = 0;
        for (const auto& g : games)
            for (int s = 1; s <= 7; ++s) {
                if (g.seats[s] != k || !g.threeLeft[s]) continue;
                ++among;
                ahead += g.threeMost == s;
                won += g.winner == s;
            }
        if (among == 0) continue;
        std::snprintf(line, sizeof line, "%s among three left %d with the most pieces %d won %d (%.1f%%)", kindName(k),
                      among, ahead, won, 100.0 * won / among);
        out << line << "\n";
    }
}

inline void printSummary(const Options& o, const std::vector<GameResult>& games, std::ostream& out) {
    int limitGames = 0, errors = 0;
    for (const auto& g : games) {
        if (g.winner == 0) ++limitGames;
        if (!g.error.empty()) ++errors;
    }
    out << "games " << games.size() << " no-winner " << limitGames << " errors " << errors << "\n";
    if (!games.empty()) {
        std::vector<double> lengths;
        for (const auto& g : games) lengths.push_back(static_cast<double>(g.moves));
        char line[160];
        std::snprintf(line, sizeof line, "no-winner rate %.1f%% length median %.0f longest %.0f",
                      100.0 * limitGames / static_cast<double>(games.size()), percentile(lengths, 0.5),
                      percentile(lengths, 1.0));
        out << line << "\n";
    }
    int duels = 0, duelsWon = 0;
    for (const auto& g : games) {
        if (g.duelStronger == 0) continue;
        ++duels;
        if (g.winner == g.duelStronger && g.moves - g.duelMove <= duelMoveLimit) ++duelsWon;
    }
    if (duels > 0) {
        char line[160];
        std::snprintf(line, sizeof line, "duels %d stronger won within %ld moves %d (%.1f%%)", duels, duelMoveLimit,
                      duelsWon, 100.0 * duelsWon / duels);
        out << line << "\n";
    }
    printThreeLeft(games, out);
    for (Kind k : {Kind::engine, Kind::level5, Kind::written, Kind::random}) {
        int seats = 0, won = 0, out_ = 0;
        for (const auto& g : games)
            for (int s = 1; s <= 7; ++s) {
                if (g.seats[s] != k) continue;
                ++seats;
                if (g.winner == s) ++won;
                if (g.out[s]) ++out_;
            }
        if (seats == 0) continue;
        char line[160];
        std::snprintf(line, sizeof line, "%s seats %d won %d (%.1f%%) out %d (%.1f%%)", kindName(k), seats, won,
                      100.0 * won / seats, out_, 100.0 * out_ / seats);
        out << line << "\n";
    }
    const char* method = o.method == engine::Method::bestReply ? "best-reply" : "paranoid";
    printThinkTimes("engine", method, games, &GameResult::thinkSeconds, &GameResult::thinkCpuSeconds, out);
    printThinkTimes("level5", "best-reply+", games, &GameResult::level5Seconds, &GameResult::level5CpuSeconds, out);
}

// The saved games to play on from; those that cannot be are named, with why.
inline std::vector<ResumePoint> resumePoints(const Options& o, std::ostream& out) {
    std::vector<ResumePoint> points;
    std::string reason;
    const auto files = savedGames(o.resumeDir, reason);
    if (!files) throw std::runtime_error(reason);
    for (const std::string& file : *files) {
        if (auto point = resumePoint(file, o.resumeAt, reason)) points.push_back(std::move(*point));
        else out << "skipped " << file << ": " << reason << "\n";
    }
    out << "resumed " << points.size() << " of " << files->size() << " saved games at " << o.resumeAt
        << " kingdoms" << std::endl;
    return points;
}

// Plays every game, `jobs` at a time, printing each line in game order.
inline std::vector<GameResult> run(const Options& o, std::ostream& out) {
    const std::vector<ResumePoint> points = o.resumeDir.empty() ? std::vector<ResumePoint>{} : resumePoints(o, out);
    const int total = o.resumeDir.empty() ? o.openings * (o.rotate ? 7 : 1) : static_cast<int>(points.size());
    std::vector<GameResult> games(static_cast<std::size_t>(total));
    std::vector<bool> done(games.size(), false);
    std::atomic<int> next{0};
    std::mutex lock;
    int printed = 0;
    const auto worker = [&] {
        for (int i; (i = next++) < total;) {
            GameResult g = playGame(o, i, points.empty() ? nullptr : &points[static_cast<std::size_t>(i)]);
            if (!o.saveDir.empty() && !saveGame(o.saveDir, g) && g.error.empty()) g.error = "not-saved";
            std::lock_guard<std::mutex> hold(lock);
            games[static_cast<std::size_t>(i)] = std::move(g);
            done[static_cast<std::size_t>(i)] = true;
            while (printed < total && done[static_cast<std::size_t>(printed)])
                out << gameLine(games[static_cast<std::size_t>(printed++)]) << std::endl;
        }
    };
    std::vector<std::thread> threads;
    for (int j = 1; j < o.jobs; ++j) threads.emplace_back(worker);
    worker();
    for (auto& t : threads) t.join();
    printSummary(o, games, out);
    return games;
}

}  // namespace daro::arena
