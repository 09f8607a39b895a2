#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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
    return {out.str(), game.table.board};
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
}

TEST(Autoplay, AllComputerGameReplaysToTheSameFinalBoard) {
    const Game g = play(Options{});
    const ReplayResult r = replayRecord(g.output, 0);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.board, g.board);
    EXPECT_NE(g.output.find("out "), std::string::npos);
    // 秦 opens and the seats follow in turn order.
    EXPECT_EQ(g.output.rfind("move 1 1 ", 0), 0u);
    EXPECT_NE(g.output.find("\nmove 2 2 "), std::string::npos);
}

TEST(Autoplay, TheLimitComesAfterTheTurnOfTheLastAllowedMove) {
    for (int human : {0, 4}) {
        Options o;
        o.humanSeat = human;
        o.seed = 2;
        o.maxMoves = 25;
        const Game g = play(o);
        const ReplayResult r = replayRecord(g.output, human);
        EXPECT_EQ(r.error, "") << human;
        EXPECT_EQ(r.board, g.board) << human;
        EXPECT_EQ(r.last, "limit") << human;
        EXPECT_EQ(lastMoveNumber(g.output), 25) << human;
    }
}

std::vector<std::string> linesOf(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// 秦 with twelve pieces packed into x 1..4, y 1..3, fenced by GYOs of 楚.
void fenceInQin(Board& board) {
    for (auto& column : board) column.fill(Form1::emptyCode);
    board[10][10] = Form1::centreCode;
    board[1][1] = 59;
    for (int x = 1; x <= 4; ++x)
        for (int y = 1; y <= 3; ++y)
            if (x != 1 || y != 1) board[x][y] = 52;
    for (int y = 1; y <= 3; ++y) board[5][y] = 60;
    for (int x = 1; x <= 4; ++x) board[x][4] = 60;
}

TEST(Autoplay, AWholeRoundWithoutAMoveEndsTheGame) {
    // 秦 alone fills the board: every square it could go to holds its own piece.
    // Its one pass is a whole round in which no kingdom could move.
    std::ostringstream out;
    Autoplay game(Options{}, out);
    Board& b = game.table.board;
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) b[x][y] = 52;
    b[1][1] = 59;
    b[10][10] = Form1::centreCode;
    game.watchFromHere();
    game.run();
    EXPECT_EQ(linesOf(out.str()), (std::vector<std::string>{"pass 1", "limit"}));
}

TEST(Autoplay, APassInsideTheComputersChainComesBeforeTheNextMove) {
    // 秦 (computer) cannot move, 楚 (computer) can, 韓 is the human.
    std::ostringstream out;
    Options o;
    o.humanSeat = 3;
    o.seed = 1;
    o.maxMoves = 2;
    Autoplay game(o, out);
    Board& b = game.table.board;
    fenceInQin(b);
    b[19][19] = 69;
    for (int y = 9; y <= 18; ++y) b[19][y] = 62;
    b[19][1] = 79;
    for (int y = 2; y <= 11; ++y) b[19][y] = 72;
    game.watchFromHere();
    game.run();
    const auto lines = linesOf(out.str());
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "pass 1");
    EXPECT_EQ(lines[1].rfind("move 1 2 ", 0), 0u);
    EXPECT_EQ(lines[2].rfind("move 2 3 ", 0), 0u);
    EXPECT_EQ(lines[3], "limit");
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
    // Tests run side by side, so each keeps files of its own.
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string outFile = ::testing::TempDir() + "autoplay_out_" + name + ".txt";
    const std::string errFile = ::testing::TempDir() + "autoplay_err_" + name + ".txt";
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
    std::remove(outFile.c_str());
    std::remove(errFile.c_str());
    return r;
}

TEST(AutoplayProgram, PlaysAGameWhoseRecordReplays) {
    const ToolRun r = runTool("--human 2 --seed 7 --max-moves 200");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const ReplayResult replay = replayRecord(r.out, 2);
    EXPECT_EQ(replay.error, "");
}

TEST(AutoplayProgram, ASavedGameVerifiesToTheEventsItPrinted) {
    const std::string file = ::testing::TempDir() + "autoplay_saved.daro";
    const ToolRun played = runTool("--human 5 --seed 12 --max-moves 90 --save \"" + file + "\"");
    ASSERT_EQ(played.status, 0) << played.err;
    const ToolRun verified = runTool("--verify \"" + file + "\"");
    EXPECT_EQ(verified.status, 0) << verified.err;
    EXPECT_EQ(verified.err, "");
    std::string expected = played.out;
    if (expected.size() >= 6 && expected.compare(expected.size() - 6, 6, "limit\n") == 0)
        expected.resize(expected.size() - 6);
    EXPECT_EQ(verified.out, expected);

    // One illegal line: the status and the line are given.
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_GT(lines.size(), 8u);
    lines[7] = "move 4 4 19 14 1 1 39 0";
    std::ofstream out(file, std::ios::trunc);
    for (const auto& line : lines) out << line << '\n';
    out.close();
    const ToolRun refused = runTool("--verify \"" + file + "\"");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.rfind("line 8: ", 0), 0u) << refused.err;
}

TEST(AutoplayProgram, BadArgumentsGiveTheUsageAndStatusTwo) {
    for (const char* args : {"--human 9 --seed 1", "--seed 1", "--max-moves x", "extra", "--verify a --max-moves 3",
                             "--save"}) {
        const ToolRun r = runTool(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err.find("usage: daro-autoplay"), std::string::npos) << args;
    }
}

}  // namespace
}  // namespace daro::test
