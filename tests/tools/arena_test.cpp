// A short tournament: the lines it prints, the files it writes, and every
// game replayed move by move through the game's rules and its file reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "Arena.h"
#include "Replay.h"
#include "record/GameFile.h"

namespace daro::test {
namespace {

std::string readAll(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(Arena, ShortRunPrintsOneLineAGameAndEveryGameReplays) {
    const auto dir = std::filesystem::temp_directory_path() / ("daro-arena-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto options = arena::parseArguments({"--seats", "engine,random,written,written,random,written,written",
                                                "--rotate", "--openings", "1", "--max-moves", "90", "--nodes",
                                                "1500", "--jobs", "2", "--seed", "4", "--save-dir", dir.string()});
    ASSERT_TRUE(options);
    std::ostringstream out;
    const auto games = arena::run(*options, out);
    ASSERT_EQ(games.size(), 7u);

    std::istringstream lines(out.str());
    std::string line;
    const std::regex gameLine(R"(game (\d+) opening 1 seats [ewr]{7} moves \d+ winner (none|[1-7]) out (-|[1-7](,[1-7])*))");
    for (int i = 1; i <= 7; ++i) {
        ASSERT_TRUE(std::getline(lines, line));
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, gameLine)) << line;
        EXPECT_EQ(m[1], std::to_string(i));
    }
    std::string rest((std::istreambuf_iterator<char>(lines)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(std::regex_search(rest, std::regex(R"(^games 7 no-winner \d errors 0\n)"))) << rest;
    EXPECT_TRUE(std::regex_search(
        rest, std::regex(R"(\nno-winner rate \d+\.\d% length median \d+ longest \d+\n)")))
        << rest;
    EXPECT_TRUE(std::regex_search(rest, std::regex(R"(\nengine seats 7 won \d \(\d+\.\d%\) out \d \(\d+\.\d%\)\n)")))
        << rest;
    EXPECT_TRUE(std::regex_search(rest, std::regex(R"(\nrandom seats 14 won)"))) << rest;
    EXPECT_TRUE(std::regex_search(rest, std::regex(R"(engine think ms moves \d+ median [0-9.]+ p95 [0-9.]+ max [0-9.]+ \(paranoid\))")))
        << rest;

    // The seating turns one seat a game; the opening moves are the same in all.
    std::string opening;
    for (const auto& g : games) {
        ASSERT_EQ(g.error, "");
        int engineSeat = 0;
        for (int s = 1; s <= 7; ++s)
            if (g.seats[s] == arena::Kind::engine) engineSeat = s;
        EXPECT_EQ(engineSeat, g.index + 1);
        std::string firstMoves;
        for (int i = 0; i < 14 && i < static_cast<int>(g.events.size()); ++i) firstMoves += g.events[i] + "\n";
        if (opening.empty()) opening = firstMoves;
        EXPECT_EQ(firstMoves, opening);
        EXPECT_FALSE(g.thinkSeconds.empty());

        std::string events;
        for (const auto& e : g.events) events += e + "\n";
        const ReplayResult r = replayRecord(events, 0);
        EXPECT_EQ(r.error, "") << "game " << g.index + 1;

        // The saved file, read back by the game's reader and by daro-autoplay --verify.
        char name[32];
        std::snprintf(name, sizeof name, "game-%04d.daro", g.index + 1);
        const std::string file = readAll(dir / name);
        EXPECT_EQ(file, g.fileText);
        // The arena's players are named in the header.
        EXPECT_EQ(file.rfind("daro-game 1\nmode free\nlevel 3\nseats ", 0), 0u);
        const GameFileResult replayed = replayGameFile(file);
        ASSERT_TRUE(replayed.game) << "game " << g.index + 1 << " line " << replayed.problem.line << ": "
                                   << replayed.problem.reason;
        std::string recorded;
        for (const auto& e : replayed.game->eventLines) recorded += e + "\n";
        if (g.events.back() == "limit") recorded += "limit\n";
        EXPECT_EQ(recorded, events);
        const std::string verify = std::string("\"") + DARO_AUTOPLAY_PATH + "\" --verify \"" +
                                   (dir / name).string() + "\" >/dev/null 2>&1";
        EXPECT_EQ(std::system(verify.c_str()), 0) << name;
    }
    // Nothing but the seven games is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator{}), 7);
    std::filesystem::remove_all(dir);
}

// The figures of the summary from games whose lengths and outcomes are known.
TEST(Arena, SummaryCountsNoWinnerLengthsAndDuels) {
    std::vector<arena::GameResult> games(5);
    const long lengths[] = {300, 2000, 120, 900, 450};
    const int winners[] = {3, 0, 1, 2, 5};
    for (int i = 0; i < 5; ++i) {
        games[i].moves = lengths[i];
        games[i].winner = winners[i];
        games[i].seats.fill(arena::Kind::engine);
    }
    // Stronger side wins 250 moves on; loses; wins too late; never meets a duel.
    games[0].duelStronger = 3, games[0].duelMove = 50;
    games[1].duelStronger = 4, games[1].duelMove = 700;
    games[3].duelStronger = 2, games[3].duelMove = 599;
    // Three left: the one with the most wins; the most loses; a tie for the most.
    games[0].seats[3] = arena::Kind::level5;
    for (int s : {1, 3, 6}) games[0].threeLeft[s] = games[2].threeLeft[s] = games[4].threeLeft[s] = true;
    games[0].threeMost = 3, games[2].threeMost = 6, games[4].threeMost = 0;
    games[0].thinkSeconds = {0.010, 0.030};
    games[3].thinkSeconds = {0.020, 0.900};
    std::ostringstream out;
    arena::printSummary(arena::Options{}, games, out);
    const std::string text = out.str();
    EXPECT_NE(text.find("games 5 no-winner 1 errors 0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nno-winner rate 20.0% length median 450 longest 2000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nduels 3 stronger won within 300 moves 1 (33.3%)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("engine think ms moves 4 median 30.0 p95 900.0 max 900.0"), std::string::npos) << text;
    EXPECT_NE(text.find("\nthree left 2 the most pieces won 1 (50.0%)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nlevel5 among three left 1 with the most pieces 1 won 1 (100.0%)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nengine among three left 8 with the most pieces 1 won 1 (12.5%)\n"), std::string::npos)
        << text;

    // A duel: two kingdoms above ten pieces, one of them with at least twice
    // the pieces above that line.
    engine::GameBoard board{};
    const auto place = [&](int block, int count) {
        for (int i = 0; i < count; ++i) board[1 + i][block] = 10 * block + (i == 0 ? engine::OHU : engine::KEN);
    };
    place(2, 17);
    place(3, 13);
    engine::Position p(board, {}, {}, 1);
    EXPECT_EQ(arena::clearlyAhead(p, 2, 3), 2);
    EXPECT_EQ(arena::clearlyAhead(p, 3, 2), 2);
    place(3, 14);
    EXPECT_EQ(arena::clearlyAhead(engine::Position(board, {}, {}, 1), 2, 3), 0);
}

TEST(Arena, RefusesWhatItCannotPlay) {
    EXPECT_FALSE(arena::parseArguments({}));
    EXPECT_FALSE(arena::parseArguments({"--seats", "engine,written"}));
    EXPECT_FALSE(arena::parseArguments({"--seats", "engine,written,written,written,written,written,human"}));
    EXPECT_FALSE(arena::parseArguments(
        {"--seats", "engine,written,written,written,written,written,written", "--jobs", "0"}));
    EXPECT_FALSE(arena::parseArguments(
        {"--seats", "engine,written,written,written,written,written,written", "--search", "minimax"}));
    const auto o = arena::parseArguments(
        {"--seats", "written,written,engine,written,written,written,written", "--rotate", "--openings", "20"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->seats[3], arena::Kind::engine);
    EXPECT_EQ(arena::seatingOf(*o, 1)[4], arena::Kind::engine);
    EXPECT_EQ(o->openings, 20);

    // LEVEL5's weights by feature name, signed; anything else is refused.
    const std::vector<std::string> seats = {"--seats", "level5,engine,engine,engine,engine,engine,engine"};
    const auto withWeights = [&](std::vector<std::string> extra) {
        extra.insert(extra.begin(), seats.begin(), seats.end());
        return arena::parseArguments(extra);
    };
    const auto w = withWeights({"--level5-weight", "material=-1500", "--level5-weight", "king-room=7"});
    ASSERT_TRUE(w);
    EXPECT_EQ(w->level5Weights[engine::fMaterial], -1500);
    EXPECT_EQ(w->level5Weights[engine::fKingRoom], 7);
    EXPECT_EQ(w->level5Weights[engine::fCaptured], engine::level5Weights[engine::fCaptured]);
    for (const char* bad : {"material", "material=", "materials=5", "material=5x", "=5", "material=--5"})
        EXPECT_FALSE(withWeights({"--level5-weight", bad})) << bad;
    const auto costs = withWeights({"--level5-repetition-cost", "5000", "--level5-hunt-scale", "4"});
    ASSERT_TRUE(costs);
    EXPECT_EQ(costs->level5RepetitionCost, 5000);
    EXPECT_EQ(costs->level5HuntScale, 4);
    EXPECT_FALSE(withWeights({"--level5-hunt-scale", "-1"}));
    EXPECT_FALSE(withWeights({"--level5-cycle", "1001"}));
    const auto duel = withWeights({"--level5-duel", "4"});
    ASSERT_TRUE(duel);
    EXPECT_EQ(duel->level5DuelFactor, 4);
    EXPECT_FALSE(withWeights({"--level5-duel", "0"}));
}

}  // namespace
}  // namespace daro::test

namespace daro::test {
namespace {

// LEVEL5 at every seat in turn against LEVEL4: the same games, move for move
// and file for file, whether played one or two at a time; level5's summary
// line counts its seats.
TEST(Arena, Level5GamesAreTheSameAtOneAndTwoJobs) {
    const auto optionsAt = [](const char* jobs) {
        return arena::parseArguments({"--seats", "level5,engine,engine,engine,engine,engine,engine", "--rotate",
                                      "--openings", "1", "--max-moves", "40", "--nodes", "800", "--level5-nodes",
                                      "1500", "--jobs", jobs, "--seed", "21"});
    };
    const auto one = optionsAt("1"), two = optionsAt("2");
    ASSERT_TRUE(one && two);
    std::ostringstream outOne, outTwo;
    const auto a = arena::run(*one, outOne), b = arena::run(*two, outTwo);
    ASSERT_EQ(a.size(), 7u);
    ASSERT_EQ(b.size(), 7u);
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].fileText, b[i].fileText) << "game " << i + 1;
        EXPECT_EQ(arena::seatingText(a[i].seats)[i], 'l');
        EXPECT_NE(a[i].fileText.find("level5"), std::string::npos);
        EXPECT_FALSE(a[i].level5CpuSeconds.empty());
        EXPECT_TRUE(replayGameFile(a[i].fileText).game);
    }
    EXPECT_NE(outOne.str().find("\nlevel5 seats 7 won "), std::string::npos);
    EXPECT_NE(outOne.str().find("\nlevel5 think cpu-ms moves "), std::string::npos);
    EXPECT_FALSE(arena::parseArguments({"--seats", "level5,engine,engine,engine,engine,engine,engine",
                                        "--level5-nodes", "0"}));
    EXPECT_FALSE(arena::parseArguments({"--seats", "level5,engine,engine,engine,engine,engine,engine",
                                        "--level5-frontier", "-1"}));
    const auto frontier = arena::parseArguments(
        {"--seats", "level5,engine,engine,engine,engine,engine,engine", "--level5-frontier", "0"});
    ASSERT_TRUE(frontier);
    EXPECT_EQ(frontier->level5Frontier, 0);
}

}  // namespace
}  // namespace daro::test

namespace daro::test {
namespace {

// The lines of a game file up to its `n`th drop-out, that line left out.
std::string beforeDropOut(const std::string& text, int n) {
    std::istringstream lines(text);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("out ", 0) == 0 && --n == 0) return kept;
        kept += line + "\n";
    }
    return {};
}

// A game where, with three kingdoms left, LEVEL5 and two LEVEL4 went round
// the same three moves each from move 200 to 2,000 with no winner. LEVEL5
// had seen every line lost and kept its king out of reach by the same move
// back. Played on from where three were left, it finishes; told not to
// mind circles, it goes round again.
TEST(Arena, AGameThatWentRoundInACircleFinishes) {
    const auto base = std::filesystem::temp_directory_path() / ("daro-arena-circle-" + std::to_string(::getpid()));
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base);
    std::filesystem::copy_file(std::filesystem::path(DARO_TEST_GAMES) / "level5_circle.daro", base / "game-0001.daro");
    // LEVEL5 as it plays, or with the options given.
    const auto playOn = [&](std::vector<std::string> args) {
        const std::vector<std::string> resume = {"--resume",  base.string(), "--at-kingdoms", "3",
                                                 "--seed",    "12035",       "--max-moves",    "300"};
        args.insert(args.end(), resume.begin(), resume.end());
        const auto o = arena::parseArguments(args);
        EXPECT_TRUE(o);
        std::ostringstream out;
        const auto games = arena::run(*o, out);
        EXPECT_EQ(games.size(), 1u);
        return games.empty() ? arena::GameResult{} : games.front();
    };
    const arena::GameResult finished = playOn({});
    EXPECT_TRUE(finished.error.empty()) << finished.error;
    EXPECT_NE(finished.winner, 0);
    EXPECT_LT(finished.moves, 300);
    const arena::GameResult round = playOn({"--level5-cycle", "0"});
    EXPECT_EQ(round.winner, 0);
    EXPECT_EQ(round.moves, 300);
    std::filesystem::remove_all(base);
}

// Saved games played on from where five kingdoms were left: each new game
// is the saved one up to there, with its seats; a game that never came down
// to five is named and left out, and an empty folder is refused.
TEST(Arena, ResumedGamesPlayOnFromTheSavedPosition) {
    const auto base = std::filesystem::temp_directory_path() / ("daro-arena-resume-" + std::to_string(::getpid()));
    std::filesystem::remove_all(base);
    const auto saved = base / "saved", again = base / "again";
    const auto played = arena::parseArguments({"--seats", "random,written,engine,random,written,random,written",
                                               "--openings", "2", "--nodes", "800", "--seed", "8", "--save-dir",
                                               saved.string()});
    ASSERT_TRUE(played);
    std::filesystem::create_directories(saved);
    std::ostringstream first;
    const auto games = arena::run(*played, first);
    ASSERT_EQ(games.size(), 2u);
    // The last three the engine met are the seats not among the first four
    // that dropped out, by the game's own record; the second game gets there.
    for (const auto& g : games) {
        std::istringstream record(g.fileText);
        std::vector<int> outs;
        for (std::string word; record >> word;)
            if (word == "out" && record >> word) outs.push_back(std::stoi(word));
        std::array<bool, 8> lastThree{};
        for (int s = 1; s <= 7 && outs.size() >= 4; ++s)
            lastThree[s] = std::find(outs.begin(), outs.begin() + 4, s) == outs.begin() + 4;
        if (g.index == 1) {
            EXPECT_EQ(g.threeLeft, lastThree);
        }
        if (g.threeLeft != std::array<bool, 8>{}) {
            EXPECT_EQ(g.threeLeft, lastThree) << "game " << g.index + 1;
        }
        if (g.threeMost != 0) {
            EXPECT_TRUE(g.threeLeft[static_cast<std::size_t>(g.threeMost)]);
        }
    }
    // And one that never got far: cut after twenty moves.
    auto shortGame = *played;
    shortGame.openings = 1;
    shortGame.maxMoves = 20;
    shortGame.saveDir = (base / "short").string();
    std::filesystem::create_directories(shortGame.saveDir);
    std::ostringstream cut;
    arena::run(shortGame, cut);
    std::filesystem::copy_file(base / "short" / "game-0001.daro", saved / "game-0003.daro");

    const auto resumed = arena::parseArguments({"--resume", saved.string(), "--at-kingdoms", "5", "--nodes", "800",
                                                "--seed", "3", "--jobs", "2", "--save-dir", again.string()});
    ASSERT_TRUE(resumed);
    std::filesystem::create_directories(again);
    std::ostringstream out;
    const auto onward = arena::run(*resumed, out);
    ASSERT_EQ(onward.size(), 2u) << out.str();
    EXPECT_NE(out.str().find("game-0003.daro: the game never came down to 5 kingdoms"), std::string::npos);
    EXPECT_NE(out.str().find("resumed 2 of 3 saved games at 5 kingdoms"), std::string::npos);
    for (std::size_t i = 0; i < onward.size(); ++i) {
        ASSERT_TRUE(onward[i].error.empty()) << onward[i].error;
        const std::string before = beforeDropOut(games[i].fileText, 2);
        ASSERT_FALSE(before.empty());
        EXPECT_EQ(onward[i].fileText.substr(0, before.size()), before) << "game " << i + 1;
        EXPECT_EQ(onward[i].seats, games[i].seats);
        EXPECT_TRUE(replayGameFile(onward[i].fileText).game);
    }

    std::filesystem::create_directories(base / "empty");
    auto none = *resumed;
    none.resumeDir = (base / "empty").string();
    std::ostringstream nothing;
    EXPECT_THROW(arena::run(none, nothing), std::runtime_error);
    const std::vector<std::string> seats = {"--seats", "level5,engine,engine,engine,engine,engine,engine"};
    EXPECT_FALSE(arena::parseArguments({"--resume", "x", seats[0], seats[1]}));
    EXPECT_FALSE(arena::parseArguments({"--resume", "x", "--rotate"}));
    EXPECT_FALSE(arena::parseArguments({"--resume", "x", "--at-kingdoms", "7"}));
    EXPECT_FALSE(arena::parseArguments({"--resume", "x", "--at-kingdoms", "1"}));
    std::filesystem::remove_all(base);
}

}  // namespace
}  // namespace daro::test
