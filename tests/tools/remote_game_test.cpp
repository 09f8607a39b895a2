// A window that follows a game played elsewhere: the announced lines build
// the same game, only its own seat's moves leave the window, and a line that
// does not follow is refused.
#include <gtest/gtest.h>

#include <sstream>

#include "Autoplay.h"
#include "GameFixture.h"

namespace daro::test {
namespace {

class Follower : public GameFixture {
public:
    void TestBody() override {}
};

std::array<SeatKind, 8> oneHumanAt(int human) {
    std::array<SeatKind, 8> seats{};
    for (int s = 1; s <= 7; ++s) seats[static_cast<std::size_t>(s)] = {s == human, s == human ? 0 : 3};
    return seats;
}

TEST(RemoteGame, AnnouncedLinesBuildTheGameThatWasPlayed) {
    autoplay::Options o;
    o.humanSeat = 3;
    o.seed = 21;
    o.maxMoves = 60;
    std::ostringstream out;
    autoplay::Autoplay game(o, out);
    game.run();
    const std::vector<std::string> lines = recordLines(game.table.moveRecord, game.table.recordEnd);
    ASSERT_GT(lines.size(), 20u);

    // Joined at the start and told every line, or joined halfway with the record so far.
    for (std::size_t joinedAt : {std::size_t{0}, lines.size() / 2}) {
        Follower w;
        std::vector<TableMove> sent;
        w.form.sendMove = [&](const TableMove& m) { sent.push_back(m); };
        w.form.followRemoteGame(oneHumanAt(3), 3, {lines.begin(), lines.begin() + static_cast<long>(joinedAt)});
        for (std::size_t i = joinedAt; i < lines.size(); ++i)
            ASSERT_TRUE(w.form.presentRemoteLine(lines[i])) << lines[i];
        EXPECT_EQ(w.form.board, game.table.board);
        EXPECT_EQ(w.form.capturedCount, game.table.capturedCount);
        EXPECT_EQ(w.form.moveNumber, game.table.moveNumber);
        EXPECT_TRUE(sent.empty());
        // The same line again does not follow.
        EXPECT_FALSE(w.form.presentRemoteLine(lines.back().rfind("move", 0) == 0 ? lines.back() : lines.front()));
    }
}

TEST(RemoteGame, OnlyTheWindowsOwnSeatSendsMoves) {
    Follower w;
    std::vector<TableMove> sent;
    w.form.sendMove = [&](const TableMove& m) { sent.push_back(m); };
    w.form.followRemoteGame(oneHumanAt(1), 2, {});
    // 秦 is to move, the window plays 楚: 秦's piece does not answer.
    w.clickSquare(5, 10);
    w.clickSquare(6, 10);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(w.form.board[5][10], 50);

    Follower own;
    own.form.sendMove = [&](const TableMove& m) { sent.push_back(m); };
    own.form.followRemoteGame(oneHumanAt(1), 1, {});
    own.clickSquare(5, 10);
    own.clickSquare(6, 10);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].toX, 6);
    // Nothing moves until the server announces the move.
    EXPECT_EQ(own.form.board[5][10], 50);
    EXPECT_TRUE(own.form.presentRemoteLine("move 1 1 5 10 6 10 50 0"));
    EXPECT_EQ(own.form.board[6][10], 50);
}

// The table is followed as the server plays it: seven humans are the
// seven-player game, where the computers' rules (drop-outs, waits) never apply.
TEST(RemoteGame, SevenHumansAreTheSevenPlayerGameAndAnyComputerAFreeGame) {
    std::array<SeatKind, 8> seven{};
    for (int s = 1; s <= 7; ++s) seven[static_cast<std::size_t>(s)] = {true, 0};
    Follower w;
    w.form.sendMove = [](const TableMove&) {};
    w.form.followRemoteGame(seven, 3, {"move 1 1 5 10 6 10 50 0"});
    EXPECT_EQ(w.form.table.gameMode, Table::modeSevenPlayers);
    EXPECT_EQ(w.form.turnSeat, 2);
    Follower mixed;
    mixed.form.sendMove = [](const TableMove&) {};
    mixed.form.followRemoteGame(oneHumanAt(3), 3, {});
    EXPECT_EQ(mixed.form.table.gameMode, Table::modeFree);
}

// At a server 戻 and 進 only look back: the player is told so once, nothing
// is sent, a move announced meanwhile lands on the game as it stands, and a
// click on the board or the last 進 is the game again.
TEST(RemoteGame, ReviewLooksBackWithoutLeavingTheServersGame) {
    autoplay::Options o;
    o.humanSeat = 2;
    o.seed = 5;
    o.maxMoves = 30;
    std::ostringstream out;
    autoplay::Autoplay game(o, out);
    game.run();
    const std::vector<std::string> lines = recordLines(game.table.moveRecord, game.table.recordEnd);
    ASSERT_GT(lines.size(), 12u);
    const std::size_t half = lines.size() / 2;

    Follower w;
    std::vector<TableMove> sent;
    w.form.sendMove = [&](const TableMove& m) { sent.push_back(m); };
    w.form.followRemoteGame(oneHumanAt(2), 2, {lines.begin(), lines.begin() + static_cast<long>(half)});
    const int now = w.form.moveNumber;
    const auto boardNow = w.form.board;
    ASSERT_GE(now, 3);

    for (int back = 1; back <= 3; ++back) {
        w.form.REPLAY_Click();
        EXPECT_EQ(w.form.moveNumber, now - back);
        EXPECT_EQ(w.form.board, game.table.moveRecord[static_cast<std::size_t>(now - back)].board());
    }
    ASSERT_EQ(w.window.boxes.size(), 1u);
    EXPECT_NE(w.window.boxes[0].text.find("サーバーの卓では手を戻せません"), std::string::npos);
    EXPECT_TRUE(w.form.reviewingRemote());

    // A click while looking back shows the game as it stands, and moves nothing.
    w.clickSquare(5, 10);
    EXPECT_FALSE(w.form.reviewingRemote());
    EXPECT_EQ(w.form.moveNumber, now);
    EXPECT_EQ(w.form.board, boardNow);

    // Looking back again, the rest of the game is announced: it follows.
    w.form.REPLAY_Click();
    w.form.REPLAY_Click();
    for (std::size_t i = half; i < lines.size(); ++i) ASSERT_TRUE(w.form.presentRemoteLine(lines[i])) << lines[i];
    EXPECT_EQ(w.form.board, game.table.board);
    EXPECT_EQ(w.form.moveNumber, game.table.moveNumber);

    // 戻 then 進 to the last position is the game again; 進 past it is refused.
    w.form.REPLAY_Click();
    w.form.AFTER_Click();
    EXPECT_FALSE(w.form.reviewingRemote());
    EXPECT_EQ(w.form.board, game.table.board);
    EXPECT_EQ(w.window.boxes.size(), 1u);
    w.form.AFTER_Click();
    EXPECT_EQ(w.form.moveNumber, game.table.moveNumber);
    EXPECT_TRUE(sent.empty());
}

}  // namespace
}  // namespace daro::test
