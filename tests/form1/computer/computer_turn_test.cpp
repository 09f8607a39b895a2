#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "GameFixture.h"
#include "RandomPlay.h"
#include "engine/Search.h"

namespace daro::test {
namespace {

class ComputerTurn : public GameFixture {
protected:
    void SetUp() override {
        clearBoard();
        for (int s = 1; s <= 7; ++s) form.seatPlayer[s] = Form1::playerComputer;
        form.gameMode = Form1::modeOnePlayer;
        form.gameStarted = Form1::valueYes;
        form.turnSeat = 1;
        form.rotationStop = Form1::valueNo;
        form.moveNumber = 0;
        form.recordEnd = 0;
        form.capturedCount = {};
        form.kingsCapturedCount = {};
        form.moveRecord.resize(1);
        form.moveRecord[0].setBoard(form.board);
    }

    void put(int code, int x, int y) { form.board[x][y] = code; }
    // A lone king of 燕 far away keeps a third kingdom in the game, so a
    // drop-out does not leave a last kingdom standing.
    void bystander() { put(29, 19, 1); }

    // 秦 (block 5): a king boxed in by its KENs in the top-left corner and
    // `fillers` KENs in the bottom-left corner that only make short quiet moves.
    void homeOfQin(int fillers) {
        put(59, 1, 1);
        put(52, 1, 2);
        put(52, 2, 1);
        put(52, 2, 2);
        const int squares[][2] = {{1, 19}, {2, 19}, {1, 18}, {2, 18}, {3, 19}, {1, 17}, {2, 17}};
        for (int i = 0; i < fillers; ++i) put(52, squares[i][0], squares[i][1]);
    }

    // 楚 (block 6), next to move: its king and ten KENs packed into the
    // bottom-right corner, too many to drop out.
    void chuFarAway(bool withKing = true) {
        if (withKing) put(69, 19, 19);
        const int squares[][2] = {{18, 19}, {19, 18}, {18, 18}, {17, 19}, {19, 17},
                                  {17, 18}, {18, 17}, {17, 17}, {16, 19}, {19, 16}};
        for (const auto& s : squares) put(62, s[0], s[1]);
    }

    double elapsed(double since) const { return clock.seconds - since; }
};

TEST_F(ComputerTurn, EqualScoresGoToTheFirstMoverInBoardOrder) {
    // Two KENs can each take a HEN for the same score; x runs outer, so (5,7) comes first.
    homeOfQin(5);
    put(52, 5, 7);
    put(52, 7, 5);
    put(67, 6, 7);
    put(67, 7, 6);
    chuFarAway();
    form.com_ban(1);
    EXPECT_EQ(form.board[6][7], 52);
    EXPECT_EQ(form.board[5][7], Form1::emptyCode);
    EXPECT_EQ(form.board[7][5], 52);
    EXPECT_EQ(form.board[7][6], 67);
    EXPECT_EQ(form.moveNumber, 1);
}

TEST_F(ComputerTurn, EqualScoresOfOnePieceGoToTheFirstTargetColumnThenRow) {
    homeOfQin(7);
    put(52, 5, 5);
    put(67, 5, 6);
    put(67, 6, 5);
    chuFarAway();
    form.com_ban(1);
    EXPECT_EQ(form.board[5][6], 52);
    EXPECT_EQ(form.board[6][5], 67);
}

TEST_F(ComputerTurn, TheFirstKingCaptureEndsTheSearch) {
    // HII (4,4) takes 燕's king away from the centre (49.0); the KYU on (8,8)
    // would take 斉's king towards it (49.5) but is never looked at.
    homeOfQin(5);
    put(58, 4, 4);
    put(55, 8, 8);
    put(29, 4, 2);
    put(39, 9, 8);
    chuFarAway();
    form.com_ban(1);
    EXPECT_EQ(form.board[4][2], 58);
    EXPECT_EQ(form.board[8][8], 55);
    EXPECT_EQ(form.board[9][8], 39);
    EXPECT_EQ(form.kingsCapturedCount[5], 1);
}

TEST_F(ComputerTurn, TenPiecesOrNoKingDropsOutWithoutAMove) {
    homeOfQin(5);  // ten pieces, king standing
    put(52, 7, 5);
    put(67, 7, 6);
    chuFarAway();
    bystander();
    ASSERT_EQ(form.table.調査_駒数(1), 10);
    form.com_ban(1);
    EXPECT_EQ(form.table.調査_駒数(1), 0);
    EXPECT_EQ(form.board[7][6], 67);
    EXPECT_EQ(form.moveNumber, 0);

    // Eleven pieces move; the same eleven without their king drop out.
    SetUp();
    homeOfQin(6);
    put(52, 7, 5);
    put(67, 7, 6);
    chuFarAway();
    bystander();
    form.com_ban(1);
    EXPECT_EQ(form.moveNumber, 1);
    EXPECT_EQ(form.board[7][6], 52);

    SetUp();
    homeOfQin(7);
    put(52, 7, 5);
    put(Form1::emptyCode, 1, 1);
    put(67, 7, 6);
    chuFarAway();
    bystander();
    form.com_ban(1);
    EXPECT_EQ(form.table.調査_駒数(1), 0);
    EXPECT_EQ(form.moveNumber, 0);
}

TEST_F(ComputerTurn, AKingdomWithNoLegalMovePassesAndLeavesEverythingElseAlone) {
    // Twelve pieces of 秦 packed into x 1..4, y 1..3 and fenced by 楚's GYOs,
    // which nothing may take. 楚 has no king: a move would take it out next.
    put(59, 1, 1);
    for (int x = 1; x <= 4; ++x)
        for (int y = 1; y <= 3; ++y)
            if (x != 1 || y != 1) put(52, x, y);
    for (int y = 1; y <= 3; ++y) put(60, 5, y);
    for (int x = 1; x <= 4; ++x) put(60, x, 4);
    const Board before = form.board;
    form.com_ban(1);
    EXPECT_EQ(form.board, before);
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.recordEnd, 0);
    EXPECT_EQ(form.rotationStop, Form1::valueNo);
    EXPECT_EQ(form.table.調査_駒数(2), 7);
    const auto texts = window.textsPrinted();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "思考中"), texts.end());
}

TEST_F(ComputerTurn, AWinningMoveAnnouncesTheMoversKingdom) {
    // 楚 has taken 29 pieces; its KEN takes 秦's HII for the thirtieth.
    form.turnSeat = 2;
    put(69, 19, 19);
    const int squares[][2] = {{18, 19}, {19, 18}, {18, 18}, {17, 19}, {19, 17},
                              {17, 18}, {18, 17}, {17, 17}, {16, 19}};
    for (const auto& s : squares) put(62, s[0], s[1]);
    put(62, 5, 5);
    put(58, 6, 5);
    put(59, 1, 1);
    form.capturedCount[6] = 29;
    window.yesNoDefault = BoxAnswer::Yes;
    form.com_ban(2);
    ASSERT_FALSE(window.boxes.empty());
    EXPECT_EQ(window.boxes[0].text, "楚の勝ちです");
    EXPECT_EQ(window.boxes[0].title, "終了");
    EXPECT_EQ(form.rotationStop, Form1::valueYes);
}

TEST_F(ComputerTurn, TheNextKingdomWithoutItsKingIsTakenOutOnce) {
    for (int player : {Form1::playerComputer, Form1::playerHuman}) {
        SetUp();
        homeOfQin(6);
        put(52, 7, 5);
        for (int y = 15; y <= 19; ++y) put(62, 19, y);  // 楚: five KENs, no king
        bystander();
        form.seatPlayer[2] = player;
        window.boxes.clear();
        const double start = clock.seconds;
        form.com_ban(1);
        EXPECT_EQ(form.rotationStop, Form1::valueYes);
        if (player == Form1::playerComputer) {
            EXPECT_EQ(form.table.調査_駒数(2), 0);
            // Four blinks of the mover (1.6 s) and one elimination of three seconds.
            EXPECT_NEAR(elapsed(start), 4.6, 0.3);
            EXPECT_TRUE(window.boxes.empty());
        } else {
            ASSERT_FALSE(window.boxes.empty());
            EXPECT_EQ(window.boxes[0].text, "あなたの負けです");
            EXPECT_EQ(std::count_if(window.boxes.begin(), window.boxes.end(),
                                    [](const ShownBox& box) { return box.text == "あなたの負けです"; }),
                      1);
        }
    }
}

TEST_F(ComputerTurn, FromTheInitialPositionItThinksBlinksAndRecordsOneMove) {
    form.初期設定();
    form.turnSeat = 1;
    window.clearCalls();
    const Board before = form.board;
    const double start = clock.seconds;
    form.com_ban(1);

    EXPECT_EQ(form.moveNumber, 1);
    EXPECT_EQ(form.recordEnd, 1);
    ASSERT_GE(form.moveRecord.size(), 2u);
    EXPECT_EQ(form.moveRecord[1].board(), form.board);
    int changed = 0, moverBlock = 0;
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y)
            if (form.board[x][y] != before[x][y]) {
                ++changed;
                if (form.board[x][y] != Form1::emptyCode) moverBlock = Form1::blockOfCode(form.board[x][y]);
            }
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(moverBlock, 5);
    EXPECT_NEAR(elapsed(start), 1.6, 0.2);
    EXPECT_EQ(form.rotationStop, Form1::valueNo);

    std::vector<WindowCall> thinking;
    for (const auto& c : window.callsOf(WindowCall::Kind::Text))
        if (c.text == "思考中") thinking.push_back(c);
    ASSERT_EQ(thinking.size(), 2u);
    EXPECT_EQ(thinking[0].code, Form1::colorBlack);
    EXPECT_EQ(thinking[1].code, Form1::colorWhite);
    EXPECT_EQ(thinking[0].size, 12);
}

TEST_F(ComputerTurn, TheLevelDoesNotChangeTheMove) {
    RecordingWindow otherWindow;
    InstantClock otherClock;
    Form1 other{otherWindow, otherClock, nullptr};
    form.初期設定();
    other.初期設定();
    form.computerLevel = 1;
    other.computerLevel = 3;
    for (Form1* f : {&form, &other}) {
        for (int s = 1; s <= 7; ++s) f->seatPlayer[s] = Form1::playerComputer;
        f->turnSeat = 1;
        f->com_ban(1);
        f->turnSeat = 2;
        f->com_ban(2);
    }
    EXPECT_EQ(form.moveNumber, 2);
    EXPECT_EQ(form.board, other.board);
}

TEST_F(ComputerTurn, TheChainStopsAtOnceWhenStoppedOrAtAHumanSeat) {
    form.初期設定();
    window.setChecked("AICON", true);
    form.seatPlayer[4] = Form1::playerHuman;
    form.turnSeat = 1;
    form.rotationStop = Form1::valueYes;
    form.対局_回転();
    EXPECT_EQ(form.moveNumber, 0);

    form.rotationStop = Form1::valueNo;
    form.turnSeat = 4;
    form.対局_回転();
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_TRUE(window.iconVisible["ICO_MAN_SAI"]);
}

TEST_F(ComputerTurn, TheChainPausesAfterAnEliminationWithTheTurnPassedOn) {
    homeOfQin(6);
    put(52, 7, 5);
    for (int y = 15; y <= 19; ++y) put(62, 19, y);  // 楚 without its king
    put(79, 14, 19);                                // 韓, a king alone: next after 楚
    form.turnSeat = 1;
    form.対局_回転();
    EXPECT_EQ(form.moveNumber, 1);
    EXPECT_EQ(form.table.調査_駒数(2), 0);
    EXPECT_EQ(form.turnSeat, 3);
    EXPECT_EQ(form.table.調査_駒数(3), 1);  // 韓 has not had its turn yet
}

// The window's computer turn at LEVEL4: it plays what the engine chooses, and
// a kingdom boxed in passes there exactly as at LEVEL3.
TEST(LevelFourTurn, ComBanPlaysTheEnginesMoveAndPassesWhenBoxedIn) {
    RecordingWindow window;
    InstantClock clock;
    Form1 form{window, clock, nullptr};
    const auto boxIn = [&form] {
        for (auto& column : form.board) column.fill(Form1::emptyCode);
        form.board[10][10] = Form1::centreCode;
        for (int x = 1; x <= 4; ++x)
            for (int y = 1; y <= 3; ++y) form.board[x][y] = 50;
        form.board[1][1] = 59;
        for (int y = 1; y <= 4; ++y) form.board[5][y] = 10;
        for (int x = 1; x <= 4; ++x) form.board[x][4] = 20;
        form.board[19][19] = 19;
        form.board[19][1] = 29;
    };
    for (int level : {3, Form1::levelFour}) {
        boxIn();
        form.computerLevel = level;
        form.turnSeat = 1;
        form.moveNumber = form.recordEnd = 7;
        const Board board = form.board;
        form.com_ban(1);
        EXPECT_EQ(form.board, board) << level;
        EXPECT_EQ(form.moveNumber, 7) << level;
    }

    std::mt19937 rng(7);
    form.初期設定();
    playRandomMoves(form.table, rng, 40);
    const int seat = form.turnSeat;
    engine::Settings s;
    s.secondsCap = 1000;  // only the node budget bounds it, however busy the machine
    const auto first = engine::search(
        engine::Position(form.board, form.capturedCount, form.kingsCapturedCount, seat), s);
    ASSERT_TRUE(first.move);
    form.computerLevel = Form1::levelFour;
    form.seatPlayer.fill(Form1::playerComputer);
    const Board before = form.board;
    form.com_ban(seat);
    const auto& m = *first.move;
    EXPECT_EQ(form.board[engine::fileOf(m.to)][engine::rankOf(m.to)], m.piece);
    EXPECT_EQ(form.board[engine::fileOf(m.from)][engine::rankOf(m.from)], Form1::emptyCode);
    EXPECT_NE(form.board, before);
}

}  // namespace
}  // namespace daro::test

namespace daro::test {
namespace {

// Seats with levels of their own: no single level stands beside the board
// between turns; the one-player game keeps its one level there.
TEST(ComputerLevelLabel, OnlyTheOnePlayerGameShowsALevelBesideTheBoard) {
    for (bool free : {true, false}) {
        RecordingWindow window;
        InstantClock clock;
        RecordingSoundLibrary sound;
        Form1 form{window, clock, &sound};
        form.初期設定();
        if (free) {
            std::array<SeatKind, 8> seats{};
            for (int s = 1; s <= 7; ++s) seats[static_cast<std::size_t>(s)] = {s == 3, s % 4 + 1};
            form.seatFree(seats);
        } else {
            form.JYUNBAN_3_Click();
        }
        ASSERT_EQ(form.turnSeat, 3) << "the computers before the human have moved";
        const auto levels = std::count_if(window.calls.begin(), window.calls.end(), [](const WindowCall& c) {
            return c.kind == WindowCall::Kind::Text && c.text == "LEVEL";
        });
        if (free) EXPECT_EQ(levels, 0);
        else EXPECT_GT(levels, 0);
    }
}

}  // namespace
}  // namespace daro::test
