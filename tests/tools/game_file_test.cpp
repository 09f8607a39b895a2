// Game files: what is saved opens as the same game, and whatever is not a
// legal game is refused with the game on screen untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "Autoplay.h"
#include "Form1.h"
#include "InstantClock.h"
#include "RecordingSoundLibrary.h"
#include "RecordingWindow.h"
#include "TempWorkingFolder.h"
#include "record/GameFile.h"

namespace daro::test {
namespace {

using autoplay::Autoplay;
using autoplay::Options;

struct Played {
    std::string output;  // what the tool printed
    std::string file;    // the game file of the same game
    std::vector<RecordEntry> record;
};

Played play(const Options& o) {
    std::ostringstream out;
    Autoplay game(o, out);
    game.run();
    const auto first = game.table.moveRecord.begin();
    return {out.str(), game.gameFile(), {first, first + game.table.recordEnd + 1}};
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// A window and a game that opens files, as the program does.
struct Screen {
    RecordingWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    Form1 form{window, clock, &sound};
    Screen() { form.初期設定(); }

    void open(const std::string& path) {
        window.scriptedPaths.push_back(path);
        form.OPEN_Click();
    }
};

void expectSameEntry(const RecordEntry& a, const RecordEntry& b, bool sameSeat, const std::string& where) {
    EXPECT_EQ(a.board(), b.board()) << where;
    EXPECT_EQ(a.capturedCount(), b.capturedCount()) << where;
    EXPECT_EQ(a.kingsCapturedCount(), b.kingsCapturedCount()) << where;
    EXPECT_EQ(a.move, b.move) << where;
    EXPECT_EQ(a.after, b.after) << where;
    if (sameSeat) {
        EXPECT_EQ(a.seatToMove, b.seatToMove) << where;
    }
}

TEST(GameFile, SavedGamesOfEveryLengthOpenAsTheSameGame) {
    TempWorkingFolder folder;
    std::mt19937 random(2024);
    std::vector<Options> games;
    for (long limit : {1L, 2L, 3L, 7L, 41L, 300L, 2000L}) {
        Options o;
        o.maxMoves = limit;
        if (limit % 2 == 1) {
            o.humanSeat = 1 + static_cast<int>(random() % 7);
            o.seed = random() % 1000;
        }
        games.push_back(o);
    }
    for (int seat = 1; seat <= 7; ++seat) games.push_back(Options{seat, 100u + static_cast<unsigned>(seat), 2000, {}, {}});

    int longest = 0;
    for (const Options& o : games) {
        const std::string where = "human " + std::to_string(o.humanSeat) + " seed " + std::to_string(o.seed) +
                                  " limit " + std::to_string(o.maxMoves);
        const Played p = play(o);
        const GameFileResult r = replayGameFile(p.file);
        ASSERT_TRUE(r.game) << where << ": line " << r.problem.line << ": " << r.problem.reason;
        const ReplayedGame& g = *r.game;

        // The file holds every event the tool printed, and nothing else.
        std::vector<std::string> printed = linesOf(p.output);
        if (!printed.empty() && printed.back() == "limit") printed.pop_back();
        EXPECT_EQ(g.eventLines, printed) << where;

        ASSERT_EQ(g.record.size(), p.record.size()) << where;
        for (std::size_t n = 0; n < g.record.size(); ++n)
            expectSameEntry(g.record[n], p.record[n], n + 1 < g.record.size(), where + " entry " + std::to_string(n));
        longest = std::max(longest, static_cast<int>(g.record.size()) - 1);

        // Opened in the game, every position of it is reached with 戻 and 進.
        std::string reason;
        ASSERT_TRUE(writeFileReplacing("game.daro", p.file, reason)) << reason;
        Screen screen;
        screen.open("game.daro");
        ASSERT_TRUE(screen.window.boxes.empty()) << where << ": " << screen.window.boxes[0].text;
        Form1& f = screen.form;
        EXPECT_EQ(f.board, p.record.back().board()) << where;
        EXPECT_EQ(f.moveNumber, static_cast<int>(p.record.size()) - 1) << where;
        EXPECT_EQ(f.gameMode, o.humanSeat == 0 ? Form1::modeFree : Form1::modeOnePlayer) << where;
        if (o.humanSeat != 0) {
            EXPECT_EQ(f.seatPlayer[o.humanSeat], Form1::playerHuman) << where;
        }
        while (f.moveNumber > 0) {
            f.REPLAY_Click();
            ASSERT_EQ(f.board, p.record[static_cast<std::size_t>(f.moveNumber)].board()) << where;
            ASSERT_EQ(f.capturedCount, p.record[static_cast<std::size_t>(f.moveNumber)].capturedCount()) << where;
        }
        f.AFTER_Click();
        EXPECT_EQ(f.board, p.record[1].board()) << where;
        EXPECT_EQ(screen.window.boxes.size(), 0u) << where;
    }
    EXPECT_GE(longest, 100);
}

// Seven humans who rarely take anything play a game of 2,000 moves with the
// mouse; the game saves it.
std::string longGameSavedByTheGame(Screen& screen, int moves) {
    Form1& f = screen.form;
    std::mt19937 random(17);
    f.PLAY_7_Click();
    auto click = [&](int x, int y) { f.Form_MouseDown(1, 0, f.twipsX(x + 0.5), f.twipsY(y + 0.5)); };
    while (f.moveNumber < moves && f.gameStarted == Form1::valueYes) {
        const int seat = f.turnSeat;
        const int block = Form1::blockOfSeat(seat);
        std::vector<std::array<int, 4>> quiet;
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y) {
                const int c = f.board[x][y];
                if (Form1::blockOfCode(c) != block || Form1::isKingCode(c)) continue;
                int xmin, xmax, ymin, ymax;
                Table::取得_駒移動座標(c, x, y, xmin, xmax, ymin, ymax);
                for (int tx = xmin; tx <= xmax; ++tx)
                    for (int ty = ymin; ty <= ymax; ++ty)
                        if (f.board[tx][ty] == Form1::emptyCode && f.table.移動チェック(x, y, tx, ty, c) == Form1::valueYes)
                            quiet.push_back({x, y, tx, ty});
            }
        if (quiet.empty()) break;
        const auto m = quiet[random() % quiet.size()];
        click(m[0], m[1]);
        click(m[2], m[3]);
        screen.window.clearCalls();
    }
    screen.window.scriptedPaths.push_back("long.daro");
    f.SAVE_Click();
    return TempWorkingFolder::read("long.daro");
}

TEST(GameFile, EveryLengthOfAGameOfTwoThousandMovesOpensAsSaved) {
    TempWorkingFolder folder;
    Screen screen;
    const std::string file = longGameSavedByTheGame(screen, 2000);
    const Form1& f = screen.form;
    ASSERT_EQ(f.moveNumber, 2000);
    const GameFileResult whole = replayGameFile(file);
    ASSERT_TRUE(whole.game) << whole.problem.line << ": " << whole.problem.reason;
    EXPECT_EQ(whole.game->seatToMove, f.turnSeat);
    for (int n = 0; n <= 2000; ++n)
        expectSameEntry(whole.game->record[static_cast<std::size_t>(n)], f.moveRecord[static_cast<std::size_t>(n)],
                        n < 2000, "entry " + std::to_string(n));

    // Every shorter game within it, cut after any move, opens as its own beginning.
    std::mt19937 random(3);
    for (int trial = 0; trial < 40; ++trial) {
        const int length = trial < 3 ? trial : static_cast<int>(random() % 2000);
        const std::string part = gameFileText(Form1::modeSevenPlayers, 0, f.computerLevel, f.moveRecord, length, "");
        const GameFileResult r = replayGameFile(part);
        ASSERT_TRUE(r.game) << length << ": " << r.problem.reason;
        ASSERT_EQ(r.game->record.size(), static_cast<std::size_t>(length) + 1);
        EXPECT_EQ(r.game->record.back().board(), f.moveRecord[static_cast<std::size_t>(length)].board()) << length;
    }
}

TEST(GameFile, WhatTheGameSavesOpensAgainAndSavesTheSameBytes) {
    TempWorkingFolder folder;
    Options o;
    o.humanSeat = 4;
    o.seed = 9;
    o.maxMoves = 150;
    const Played p = play(o);
    std::string reason;
    ASSERT_TRUE(writeFileReplacing("first.daro", p.file, reason)) << reason;

    Screen screen;
    screen.open("first.daro");
    screen.window.scriptedPaths.push_back("second.daro");
    screen.form.SAVE_Click();
    // The result line is the tool's report; a game that is saved is still open.
    std::vector<std::string> expected = linesOf(p.file);
    if (expected.back() == "lost" || expected.back().rfind("win ", 0) == 0) expected.pop_back();
    std::string text;
    for (const auto& l : expected) text += l + "\n";
    EXPECT_EQ(TempWorkingFolder::read("second.daro"), text);
    EXPECT_FALSE(std::filesystem::exists("second.daro.tmp"));
}

struct Snapshot {
    Board board;
    std::vector<RecordEntry> record;
    int moveNumber, recordEnd, turnSeat, gameMode, computerLevel, gameStarted;
    std::array<int, 8> seatPlayer, captured, kings;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(const Form1& f) {
    return {f.board,       f.moveRecord,    f.moveNumber,  f.recordEnd,     f.turnSeat,        f.gameMode,
            f.computerLevel, f.gameStarted, f.seatPlayer, f.capturedCount, f.kingsCapturedCount};
}

TEST(GameFile, EveryKindOfBadFileIsRefusedWithTheGameUntouched) {
    TempWorkingFolder folder;
    Options o;
    o.humanSeat = 2;
    o.seed = 3;
    o.maxMoves = 40;
    const std::string good = play(o).file;
    std::vector<std::string> lines = linesOf(good);
    auto join = [](const std::vector<std::string>& ls) {
        std::string text;
        for (const auto& l : ls) text += l + "\n";
        return text;
    };
    // Line 6 is the first move, 秦's; line 7 the second, 楚's (the human's).
    ASSERT_EQ(lines[5].rfind("move 1 1 ", 0), 0u);
    ASSERT_EQ(lines[6].rfind("move 2 2 ", 0), 0u);

    struct Bad {
        std::string name, bytes;
        int line;  // 0: the file as a whole
    };
    std::vector<Bad> bad;
    bad.push_back({"notes.txt", "shopping list\nmilk\n", 1});
    bad.push_back({"empty.daro", "", 1});
    bad.push_back({"cut-line.daro", good.substr(0, good.find(lines[8]) + 9), 9});
    bad.push_back({"cut-header.daro", "daro-game 1\nmode one-player\n", 3});
    auto illegal = lines;
    illegal[6] = "move 2 2 6 15 6 3 60 0";  // a GYO may not jump over pieces
    bad.push_back({"illegal.daro", join(illegal), 7});
    auto outOfTurn = lines;
    std::swap(outOfTurn[5], outOfTurn[6]);
    bad.push_back({"turn.daro", join(outOfTurn), 6});
    auto badSeats = lines;
    badSeats[4] = "seats human human robot human human human human";
    bad.push_back({"seats.daro", join(badSeats), 5});
    auto badLevel = lines;
    badLevel[3] = "level 9";
    bad.push_back({"level.daro", join(badLevel), 4});
    bad.push_back({"huge.daro", good + std::string(gameFileLimit, '\n'), 0});
    bad.push_back({"missing.daro", "", 0});

    Screen screen;
    screen.form.PLAY_7_Click();
    screen.form.Form_MouseDown(1, 0, screen.form.twipsX(4.5), screen.form.twipsY(10.5));
    screen.form.Form_MouseDown(1, 0, screen.form.twipsX(4.5), screen.form.twipsY(6.5));
    ASSERT_EQ(screen.form.moveNumber, 1);
    const Snapshot before = snapshotOf(screen.form);

    std::filesystem::create_directory("folder.daro");
    bad.push_back({"folder.daro", "", 0});
    for (const Bad& b : bad) {
        if (b.name != "missing.daro" && b.name != "folder.daro") TempWorkingFolder::write(b.name, b.bytes);
        screen.window.boxes.clear();
        screen.open(b.name);
        ASSERT_EQ(screen.window.boxes.size(), 1u) << b.name;
        const ShownBox& box = screen.window.boxes[0];
        EXPECT_EQ(box.title, "開く") << b.name;
        EXPECT_NE(box.text.find(b.name), std::string::npos) << box.text;
        if (b.line > 0)
            EXPECT_NE(box.text.find(std::to_string(b.line) + " 行目"), std::string::npos) << box.text;
        else
            EXPECT_EQ(box.text.find("行目"), std::string::npos) << box.text;
        EXPECT_TRUE(snapshotOf(screen.form) == before) << b.name;
    }
}

TEST(GameFile, ACorruptedLineIsTheFirstBadLineOrTheGameIsStillLegal) {
    Options o;
    o.humanSeat = 6;
    o.seed = 77;
    o.maxMoves = 120;
    const std::vector<std::string> lines = linesOf(play(o).file);
    std::mt19937 random(5);
    const std::string alphabet = "0123456789 movepasinwlt\r-";
    int refused = 0;
    for (int trial = 0; trial < 400; ++trial) {
        std::vector<std::string> changed = lines;
        const std::size_t at = random() % changed.size();
        std::string& line = changed[at];
        switch (random() % 3) {
            case 0: if (!line.empty()) line[random() % line.size()] = alphabet[random() % alphabet.size()]; break;
            case 1: line.insert(random() % (line.size() + 1), 1, alphabet[random() % alphabet.size()]); break;
            default: changed.erase(changed.begin() + static_cast<long>(at)); break;
        }
        std::string text;
        for (const auto& l : changed) text += l + "\n";
        const GameFileResult r = replayGameFile(text);
        if (r.game) continue;
        ++refused;
        // Everything before the change was a legal game.
        EXPECT_GE(r.problem.line, static_cast<int>(at) + 1) << "trial " << trial << ": " << r.problem.reason;
    }
    EXPECT_GT(refused, 300);
}

TEST(GameFile, ASaveThatCannotBeWrittenLeavesTheOldFileWhole) {
    TempWorkingFolder folder;
    TempWorkingFolder::write("kept.daro", "old game\n");
    // The temporary file's place is taken, so nothing can be written beside the target.
    std::filesystem::create_directory("kept.daro.tmp");
    Screen screen;
    screen.form.PLAY_7_Click();
    screen.window.boxes.clear();
    screen.window.scriptedPaths.push_back("kept.daro");
    screen.form.SAVE_Click();
    ASSERT_EQ(screen.window.boxes.size(), 1u);
    EXPECT_EQ(screen.window.boxes[0].title, "保存");
    EXPECT_EQ(TempWorkingFolder::read("kept.daro"), "old game\n");

    screen.window.boxes.clear();
    screen.window.scriptedPaths.push_back("no-such-folder/game.daro");
    screen.form.SAVE_Click();
    EXPECT_EQ(screen.window.boxes.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists("no-such-folder"));
}

}  // namespace
}  // namespace daro::test
