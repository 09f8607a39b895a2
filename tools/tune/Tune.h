#pragma once
// daro-tune: plays games with the arena, takes positions from them, and fits
// LEVEL5's weights so that a softmax over the kingdoms still in the game
// names the kingdom that went on to win. Header-only so that the tests drive
// the same code.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Arena.h"
#include "engine/Level5Eval.h"
#include "record/GameFile.h"

namespace daro::tune {

// The features the fit moves. The others are the search's tactics (what is
// open to capture, what can be taken now, the rivals' race): a fit to game
// results reads them as signs of a strong kingdom rather than of danger, so
// they keep the weights the fit starts from.
inline bool fitted(int feature) {
    switch (feature) {
    case engine::fCaptured:
    case engine::fKings:
    case engine::fPastTenWithKing:
    case engine::fPastTwenty:
    case engine::fMaterial:
    case engine::fPiecesShort:
    case engine::fMobility:
    case engine::fHangingCount:
    case engine::fKingRoom: return true;
    default: return false;
    }
}

using FeatureSet = std::array<bool, engine::featureCount>;

inline FeatureSet fittedByDefault() {
    FeatureSet m{};
    for (int i = 0; i < engine::featureCount; ++i) m[static_cast<std::size_t>(i)] = fitted(i);
    return m;
}

// NAME,NAME,... of the evaluation's features; every name known, none twice.
inline bool parseFeatureList(const std::string& list, FeatureSet& out) {
    out.fill(false);
    std::istringstream in(list);
    std::string name;
    int named = 0;
    while (std::getline(in, name, ',')) {
        const int found = arena::featureNamed(name);
        if (found < 0 || out[static_cast<std::size_t>(found)]) return false;
        out[static_cast<std::size_t>(found)] = true;
        ++named;
    }
    return named > 0 && list.back() != ',';
}

// What the fit starts from and what it moves.
struct FitChoice {
    engine::Weights start = engine::level4Weights;
    FeatureSet moved = fittedByDefault();
};

struct Options {
    arena::Options arena;     // the games: seats, openings, seed, jobs, budgets
    int holdOutEvery = 4;     // every this-th game is kept out of the fit
    int sampleEvery = 5;      // one position in this many moves
    int iterations = 400;
    std::string out;          // the weights' source file; empty: print it
    std::string from;         // a folder of saved arena games to read instead of playing
    std::string command;      // as typed, for the comment
    FitChoice fitChoice;      // the weights it starts from, the features it moves
};

inline const char* usageText() {
    return "usage: daro-tune [--seats K1,...,K7] [--openings N] [--seed N] [--jobs N] [--nodes N]\n"
           "                 [--level5-nodes N] [--hold-out-every N] [--sample-every N]\n"
           "                 [--iterations N] [--out FILE] [--from DIR]\n"
           "                 [--start level4|level5] [--fit NAME,...]\n"
           "  K is engine (LEVEL4) or level5; the default is seven engine seats.\n"
           "  --from DIR reads the games daro-arena --save-dir wrote, in name order.\n"
           "  --start: the weights the fit starts from (LEVEL4's terms); --fit: the\n"
           "  features it moves (the position's shape), the others keep their start.\n"
           "  Writes LEVEL5's weights as source (to FILE, or the standard output) and\n"
           "  the loss before and after the fit on the held-out games.\n";
}

inline std::optional<Options> parseArguments(const std::vector<std::string>& args) {
    Options o;
    std::vector<std::string> arenaArgs = {"--seats", "engine,engine,engine,engine,engine,engine,engine"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size()) return std::nullopt;
        const std::string& a = args[i];
        const std::string& v = args[++i];
        if (a == "--out" || a == "--from") {
            if (v.empty()) return std::nullopt;
            (a == "--out" ? o.out : o.from) = v;
        } else if (a == "--start") {
            if (v != "level4" && v != "level5") return std::nullopt;
            o.fitChoice.start = v == "level5" ? engine::level5Weights : engine::level4Weights;
        } else if (a == "--fit") {
            if (v.empty() || !parseFeatureList(v, o.fitChoice.moved)) return std::nullopt;
        } else if (a == "--hold-out-every" || a == "--sample-every" || a == "--iterations") {
            const auto n = arena::parseCount(v, 1000000);
            if (!n || *n < 1 || (a == "--hold-out-every" && *n < 2)) return std::nullopt;
            (a == "--hold-out-every" ? o.holdOutEvery : a == "--sample-every" ? o.sampleEvery : o.iterations) =
                static_cast<int>(*n);
        } else if (a == "--seats" || a == "--openings" || a == "--seed" || a == "--jobs" || a == "--nodes" ||
                   a == "--level5-nodes") {
            if (a == "--seats") arenaArgs.erase(arenaArgs.begin(), arenaArgs.begin() + 2);
            arenaArgs.push_back(a);
            arenaArgs.push_back(v);
        } else {
            return std::nullopt;
        }
    }
    const auto arenaOptions = arena::parseArguments(arenaArgs);
    if (!arenaOptions) return std::nullopt;
    o.arena = *arenaOptions;
    for (int s = 1; s <= 7; ++s)
        if (o.arena.seats[s] != arena::Kind::engine && o.arena.seats[s] != arena::Kind::level5) return std::nullopt;
    return o;
}

// One position: the features of every kingdom still in the game, and which
// of them won the game.
struct Sample {
    std::vector<engine::Features> features;
    int winner = -1;  // index into features
};

struct Samples {
    std::vector<Sample> fit, heldOut;
    int games = 0, gamesWithWinner = 0;
};

// The positions of one game file; nothing from a game without a winner.
inline bool addSamples(const std::string& fileText, int sampleEvery, std::vector<Sample>& out) {
    const GameFileResult replay = replayGameFile(fileText);
    if (!replay.game || !replay.game->outcome || replay.game->outcome->kind != OutcomeKind::win) return false;
    const int winnerBlock = engine::blockOfSeat[replay.game->outcome->seat];
    const auto& record = replay.game->record;
    for (std::size_t i = 1; i < record.size(); i += static_cast<std::size_t>(sampleEvery)) {
        const RecordEntry& e = record[i];
        if (e.seatToMove < 1 || e.seatToMove > 7) continue;
        const engine::Position p(e.board(), e.capturedCount(), e.kingsCapturedCount(), e.seatToMove);
        Sample s;
        for (int b = 1; b <= engine::blockCount; ++b) {
            if (p.pieceCount(b) <= engine::dropOutPieceCount || p.kingSquare(b) == 0) continue;
            if (b == winnerBlock) s.winner = static_cast<int>(s.features.size());
            engine::Features f;
            engine::level5Features(p, b, b == engine::blockOfSeat[e.seatToMove], f);
            s.features.push_back(f);
        }
        if (s.winner >= 0 && s.features.size() >= 2) out.push_back(std::move(s));
    }
    return true;
}

// The saved games of a folder in name order, as collect() would have played them.
inline std::optional<Samples> readFolder(const Options& o, std::string& reason) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(o.from, ec))
        if (e.path().extension() == ".daro") files.push_back(e.path());
    if (ec) {
        reason = "cannot read the folder " + o.from;
        return std::nullopt;
    }
    std::sort(files.begin(), files.end());
    Samples s;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto bytes = readGameFileBytes(files[i].string(), reason);
        if (!bytes) {
            reason = files[i].string() + ": " + reason;
            return std::nullopt;
        }
        ++s.games;
        if (addSamples(*bytes, o.sampleEvery, i % static_cast<std::size_t>(o.holdOutEvery) == 0 ? s.heldOut : s.fit))
            ++s.gamesWithWinner;
    }
    return s;
}

// Plays the games `jobs` at a time; every holdOutEvery-th is held out.
inline Samples collect(const Options& o) {
    const int total = o.arena.openings;
    std::vector<arena::GameResult> games(static_cast<std::size_t>(total));
    std::atomic<int> next{0};
    const auto worker = [&] {
        for (int i; (i = next++) < total;) games[static_cast<std::size_t>(i)] = arena::playGame(o.arena, i);
    };
    std::vector<std::thread> threads;
    for (int j = 1; j < o.arena.jobs; ++j) threads.emplace_back(worker);
    worker();
    for (auto& t : threads) t.join();
    Samples s;
    for (int i = 0; i < total; ++i) {
        const auto& g = games[static_cast<std::size_t>(i)];
        ++s.games;
        if (g.error.empty() && addSamples(g.fileText, o.sampleEvery, i % o.holdOutEvery == 0 ? s.heldOut : s.fit))
            ++s.gamesWithWinner;
    }
    return s;
}

// Weights in the fit's own units: a logit per unit of each feature.
using Logits = std::array<double, engine::featureCount>;

inline double score(const engine::Features& f, const Logits& w) {
    double s = 0;
    for (int i = 0; i < engine::featureCount; ++i) s += w[i] * f[i];
    return s;
}

// Mean negative log-probability of the winner; adds the gradient when asked.
inline double loss(const std::vector<Sample>& samples, const Logits& w, Logits* gradient = nullptr) {
    if (samples.empty()) return 0;
    double total = 0;
    std::vector<double> z;
    for (const Sample& s : samples) {
        z.resize(s.features.size());
        double top = -1e300;
        for (std::size_t k = 0; k < z.size(); ++k) top = std::max(top, z[k] = score(s.features[k], w));
        double sum = 0;
        for (double& v : z) sum += (v = std::exp(v - top));
        total -= std::log(z[static_cast<std::size_t>(s.winner)] / sum);
        if (!gradient) continue;
        for (std::size_t k = 0; k < z.size(); ++k) {
            const double d = z[k] / sum - (static_cast<int>(k) == s.winner ? 1.0 : 0.0);
            for (int i = 0; i < engine::featureCount; ++i) (*gradient)[i] += d * s.features[k][i];
        }
    }
    if (gradient)
        for (double& g : *gradient) g /= static_cast<double>(samples.size());
    return total / static_cast<double>(samples.size());
}

inline Logits fromWeights(const engine::Weights& w, double temperature) {
    Logits l{};
    for (int i = 0; i < engine::featureCount; ++i) l[i] = temperature * w[i] / engine::weightScale;
    return l;
}

// The scale that makes LEVEL4's own terms predict best: a golden-section
// search over the logarithm of the temperature.
inline double bestTemperature(const std::vector<Sample>& samples, const engine::Weights& w) {
    double lo = std::log(1e-7), hi = std::log(1.0);
    const auto at = [&](double t) { return loss(samples, fromWeights(w, std::exp(t))); };
    for (int i = 0; i < 60; ++i) {
        const double a = lo + (hi - lo) * 0.382, b = lo + (hi - lo) * 0.618;
        if (at(a) < at(b)) hi = b;
        else lo = a;
    }
    return std::exp((lo + hi) / 2);
}

struct Fit {
    double temperature = 0;
    double fitBefore = 0, fitAfter = 0, heldOutBefore = 0, heldOutAfter = 0;
    engine::Weights weights{};
};

// Every road to a win stays worth walking: one more piece taken, before or
// after ten, twenty or a king, and a king taken never lower the score. A
// fit to few games reads the games' accidents as the opposite.
inline void keepProgressRewarded(Logits& w) {
    using namespace engine;
    w[fKings] = std::max(w[fKings], 0.0);
    w[fCaptured] = std::max(w[fCaptured], 0.0);
    w[fPastTenWithKing] = std::max(w[fPastTenWithKing], -w[fCaptured]);
    w[fPastTwenty] = std::max(w[fPastTwenty], -w[fCaptured]);
    const double both = w[fCaptured] + w[fPastTenWithKing] + w[fPastTwenty];
    if (both < 0) w[fPastTwenty] -= both;
}

// Adam over features scaled to unit spread, from the start's weights at their
// best temperature, with a light pull back toward them.
inline Fit fit(const Samples& samples, int iterations, const FitChoice& choice = {}) {
    Fit r;
    const engine::Weights& start = choice.start;
    r.temperature = bestTemperature(samples.fit, start);
    Logits w = fromWeights(start, r.temperature);
    const Logits w0 = w;
    r.fitBefore = loss(samples.fit, w);
    r.heldOutBefore = loss(samples.heldOut, w);
    Logits spread{};
    std::size_t n = 0;
    for (const Sample& s : samples.fit)
        for (const auto& f : s.features) {
            ++n;
            for (int i = 0; i < engine::featureCount; ++i) spread[i] += static_cast<double>(f[i]) * f[i];
        }
    for (double& v : spread) v = n ? std::sqrt(v / static_cast<double>(n)) : 1.0;
    for (double& v : spread) v = v > 0 ? v : 1.0;
    Logits m{}, v{};
    const double rate = 0.02, pull = 1e-3;
    for (int step = 1; step <= iterations; ++step) {
        Logits g{};
        loss(samples.fit, w, &g);
        for (int i = 0; i < engine::featureCount; ++i) {
            if (!choice.moved[static_cast<std::size_t>(i)]) continue;
            // In unit-spread terms the weight is w * spread and its gradient g / spread.
            const double gi = g[i] * spread[i] + pull * (w[i] - w0[i]) * spread[i];
            m[i] = 0.9 * m[i] + 0.1 * gi;
            v[i] = 0.999 * v[i] + 0.001 * gi * gi;
            const double mh = m[i] / (1 - std::pow(0.9, step)), vh = v[i] / (1 - std::pow(0.999, step));
            w[i] -= rate * mh / (std::sqrt(vh) + 1e-9) / spread[i];
        }
        keepProgressRewarded(w);
    }
    r.fitAfter = loss(samples.fit, w);
    r.heldOutAfter = loss(samples.heldOut, w);
    // Back to the search's units, LEVEL4's scale: a logit is 1/temperature of them.
    for (int i = 0; i < engine::featureCount; ++i)
        r.weights[i] = static_cast<int>(std::lround(w[i] / r.temperature * engine::weightScale));
    return r;
}

inline std::string weightsSource(const Options& o, const Samples& s, const Fit& f) {
    std::ostringstream out;
    char line[200];
    out << "// LEVEL5's weights, fitted by daro-tune to the results of self-play games:\n"
        << "//   " << o.command << "\n"
        << "// seed " << o.arena.seed << "; " << s.games << " games (" << s.gamesWithWinner << " with a winner), "
        << s.fit.size() << " positions fitted, " << s.heldOut.size() << " held out (every " << o.holdOutEvery
        << "th game).\n";
    std::snprintf(line, sizeof line, "// Held-out loss %.4f with the start's weights at their best scale, %.4f fitted", f.heldOutBefore,
                  f.heldOutAfter);
    out << line << "\n";
    std::snprintf(line, sizeof line, "// (fitted positions: %.4f before, %.4f after).", f.fitBefore, f.fitAfter);
    out << line << "\n"
        << "#include \"engine/Level5Eval.h\"\n\nnamespace daro::engine {\n\nconst Weights level5Weights = {\n";
    for (int i = 0; i < engine::featureCount; ++i)
        out << "    " << f.weights[i] << ",  // " << engine::featureNames[i] << "\n";
    out << "};\n\n}  // namespace daro::engine\n";
    return out.str();
}

}  // namespace daro::tune
