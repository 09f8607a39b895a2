#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "Autoplay.h"
#include "Replay.h"

namespace daro::test {
namespace {

using autoplay::Autoplay;
using autoplay::Options;

struct Game {
    std::string output;
    Board board;
};

Game play(const Options& options) {
    std::ostringstream out;
    Autoplay game(options, out);
    game.run();
    return {out.str(), game.form.board};
}

int lastMoveNumber(const std::string& output) {
    int n = 0;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("move ", 0) == 0) n = std::stoi(line.substr(5));
    return n;
}

TEST(Autoplay, OneHumanGamesReplayToTheSameFinalBoard) {
    const int seats[] = {1, 4, 7};
    for (int i = 0; i < 3; ++i) {
        Options o;
        o.humanSeat = seats[i];
        o.seed = 11 + i;
        o.maxMoves = 300;
        const Game g = play(o);
        const ReplayResult r = replayRecord(g.output, o.humanSeat);
        EXPECT_EQ(r.error, "") << "seat " << o.humanSeat;
        EXPECT_EQ(r.board, g.board) << "seat " << o.humanSeat;
        EXPECT_GT(r.moves, 0);
    }
}

TEST(Autoplay, TheSameSeedPlaysTheSameGame) {
    Options o;
    o.humanSeat = 3;
    o.seed = 5;
    o.maxMoves = 60;
    EXPECT_EQ(play(o).output, play(o).output);
    Options other = o;
    other.seed = 6;
    EXPECT_NE(play(o).output, play(other).output);
}

TEST(Autoplay, AllComputerGameReplaysAndStopsAfterTheTurnOfTheLastAllowedMove) {
    const Game g = play(Options{});
    const ReplayResult r = replayRecord(g.output, 0);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.board, g.board);
    EXPECT_NE(g.output.find("out "), std::string::npos);
    if (r.last == "limit") {
        EXPECT_EQ(lastMoveNumber(g.output), 2000);
    }
    // 秦 opens and the seats follow in turn order.
    EXPECT_EQ(g.output.rfind("move 1 1 ", 0), 0u);
    EXPECT_NE(g.output.find("\nmove 2 2 "), std::string::npos);
}

TEST(Autoplay, ArgumentsAreCheckedStrictly) {
    using autoplay::parseArguments;
    EXPECT_TRUE(parseArguments({}));
    const auto o = parseArguments({"--human", "3", "--seed", "42", "--max-moves", "10"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->humanSeat, 3);
    EXPECT_EQ(o->seed, 42u);
    EXPECT_EQ(o->maxMoves, 10);
    EXPECT_EQ(parseArguments({})->maxMoves, 2000);
    EXPECT_FALSE(parseArguments({"--human", "3"}));
    EXPECT_FALSE(parseArguments({"--seed", "3"}));
    EXPECT_FALSE(parseArguments({"--human", "8", "--seed", "1"}));
    EXPECT_FALSE(parseArguments({"--human", "0", "--seed", "1"}));
    EXPECT_FALSE(parseArguments({"--max-moves", "0"}));
    EXPECT_FALSE(parseArguments({"--max-moves", "-5"}));
    EXPECT_FALSE(parseArguments({"--max-moves"}));
    EXPECT_FALSE(parseArguments({"--max-moves", "5", "--max-moves", "6"}));
    EXPECT_FALSE(parseArguments({"--level", "2"}));
}

// The program itself, as a player would run it.
struct ToolRun {
    int status = -1;
    std::string out, err;
};

ToolRun runTool(const std::string& arguments) {
    const std::string outFile = ::testing::TempDir() + "autoplay_out.txt";
    const std::string errFile = ::testing::TempDir() + "autoplay_err.txt";
    const std::string command =
        std::string("\"") + DARO_AUTOPLAY_PATH + "\" " + arguments + " >" + outFile + " 2>" + errFile;
    ToolRun r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    auto slurp = [](const std::string& path) {
        std::ifstream f(path);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    };
    r.out = slurp(outFile);
    r.err = slurp(errFile);
    return r;
}

TEST(AutoplayProgram, PlaysAGameWhoseRecordReplays) {
    const ToolRun r = runTool("--human 2 --seed 7 --max-moves 200");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const ReplayResult replay = replayRecord(r.out, 2);
    EXPECT_EQ(replay.error, "");
}

TEST(AutoplayProgram, BadArgumentsGiveTheUsageAndStatusTwo) {
    for (const char* args : {"--human 9 --seed 1", "--seed 1", "--max-moves x", "extra"}) {
        const ToolRun r = runTool(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err.find("usage: daro-autoplay"), std::string::npos) << args;
    }
}

}  // namespace
}  // namespace daro::test
