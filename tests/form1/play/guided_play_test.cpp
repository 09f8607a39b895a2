// Play with the marks or the king's danger on: the guide outlines only the
// king squares a move is accepted on, a refused king move leaves everything
// as it was, Home steps back to the opening for review, and the game kept
// last time plays on at the first click. With both options off each of these
// answers as it always did.
#include <filesystem>
#include <random>
#include <set>

#include "PlayFixture.h"
#include "RandomPlay.h"
#include "TempWorkingFolder.h"
#include "record/GameFile.h"

namespace daro::test {
namespace {

using Square = std::pair<int, int>;

class GuidedPlay : public PlayFixture {
protected:
    void guide(bool guided) {
        window.setChecked("TE_HYOUJI", guided);
        window.setChecked("OUTE", guided);
        window.setChecked("SIDOU", true);
        form.guideColor = Form1::colorWhite;
    }

    std::set<Square> outlinedInWhite() const {
        std::set<Square> squares;
        for (int x = 1; x <= Form1::boardSize; ++x)
            for (int y = 1; y <= Form1::boardSize; ++y)
                if (outlineAt(x, y) == Form1::colorWhite) squares.insert({x, y});
        return squares;
    }

    // The squares the table itself accepts the king's move on, asked of a copy.
    std::set<Square> acceptedKingSquares(int kx, int ky) const {
        std::set<Square> squares;
        for (int x = 1; x <= Form1::boardSize; ++x)
            for (int y = 1; y <= Form1::boardSize; ++y) {
                Table trial = form.table;
                if (trial.submit(form.turnSeat, {kx, ky, x, y}) == Refusal::none) squares.insert({x, y});
            }
        return squares;
    }
};

TEST_F(GuidedPlay, TheGuideOutlinesExactlyTheKingSquaresAMoveIsAcceptedOnOverSeededGames) {
    guide(true);
    int refusedSquaresSeen = 0;
    for (unsigned seed : {3u, 17u, 41u}) {
        form.初期設定();
        startSevenPlayers();
        std::mt19937 rng(seed);
        for (int turn = 0; turn < 60 && form.gameStarted == Form1::valueYes && !form.table.over(); ++turn) {
            int kx = 0, ky = 0;
            ASSERT_TRUE(form.table.kingSquare(form.turnSeat, kx, ky));
            window.clearCalls();
            clickSquare(kx, ky);
            const std::set<Square> accepted = acceptedKingSquares(kx, ky);
            std::set<Square> shown = outlinedInWhite();
            EXPECT_EQ(shown, accepted) << "seed " << seed << " turn " << turn;
            for (const Move& m : legalMoves(form.table, form.turnSeat))
                if (m.fromX == kx && m.fromY == ky && !accepted.count({m.toX, m.toY})) ++refusedSquaresSeen;
            // Play on with a move the table accepts (a king move drops the pick first).
            clickSquare(kx, ky);
            clickSquare(kx, ky);
            form.clickPhase = 0;
            std::vector<Move> moves = legalMoves(form.table, form.turnSeat);
            std::erase_if(moves, [&](const Move& m) { return Form1::isKingCode(m.piece); });
            if (moves.empty()) break;
            const Move& m = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)];
            move(m.fromX, m.fromY, m.toX, m.toY);
        }
    }
    EXPECT_GT(refusedSquaresSeen, 0) << "the games never offered a square the king rule refuses";
}

TEST_F(GuidedPlay, ClassicGuidanceStillOutlinesASquareTheKingRuleRefuses) {
    guide(false);
    layOut({{3, 3, 59}, {1, 1, 52}, {19, 19, 69}, {5, 4, 62}});
    startSevenPlayers();
    clickSquare(3, 3);
    EXPECT_EQ(outlineAt(4, 4), Form1::colorWhite);
    guide(true);
    form.clickPhase = 0;
    clickSquare(3, 3);
    EXPECT_NE(outlineAt(4, 4), Form1::colorWhite);
    EXPECT_EQ(outlineAt(3, 4), Form1::colorWhite);
}

TEST_F(GuidedPlay, ARefusedKingMoveKeepsTheMarksAndTheDangerAndTheNextClickPicks) {
    guide(true);
    // 楚's sword on (5,4) reaches (4,4) and (3,4)'s neighbour; 楚's 騎 on
    // (3,5) threatens 秦's king where it stands.
    layOut({{3, 3, 59}, {1, 1, 52}, {19, 19, 69}, {5, 4, 62}, {2, 4, 64}});
    startSevenPlayers();
    move(1, 1, 1, 2);
    move(19, 19, 19, 18);
    ASSERT_EQ(form.turnSeat, 1);
    const bool danger = form.table.kingCanBeTaken(1);
    const std::vector<Form1::MoveMark> marks = form.movesSinceHumanTurn();
    ASSERT_FALSE(marks.empty());
    const Board before = form.board;

    forget();
    move(3, 3, 4, 4);
    EXPECT_TRUE(boxShown("自殺はできません", ""));
    EXPECT_EQ(form.board, before);
    EXPECT_EQ(form.turnSeat, 1);
    EXPECT_EQ(form.recordNavigated, Form1::valueNo);
    // The marks are drawn again after the king's squares were repainted.
    int lastKingSquarePaint = -1, lastMark = -1;
    for (std::size_t i = 0; i < window.calls.size(); ++i) {
        const WindowCall& c = window.calls[i];
        if (c.kind == WindowCall::Kind::Picture && c.x == form.twipsX(4) && c.y == form.twipsY(4))
            lastKingSquarePaint = int(i);
        if (c.kind == WindowCall::Kind::Text && c.text == "1") lastMark = int(i);
    }
    EXPECT_GT(lastMark, lastKingSquarePaint);
    EXPECT_EQ(form.table.kingCanBeTaken(1), danger);

    forget();
    clickSquare(3, 3);
    EXPECT_TRUE(window.boxes.empty());
    EXPECT_EQ(form.clickPhase, 1);
    clickSquare(3, 4);
    EXPECT_EQ(form.board[3][4], 59);
    EXPECT_EQ(form.moveNumber, 3);
}

TEST_F(GuidedPlay, HomeShowsTheOpeningForReviewAndTheGameStaysWithinReach) {
    guide(true);
    startSevenPlayers();
    std::mt19937 rng(7);
    for (int i = 0; i < 9; ++i) {
        const std::vector<Move> moves = legalMoves(form.table, form.turnSeat);
        std::vector<Move> safe;
        for (const Move& m : moves)
            if (!Form1::isKingCode(m.piece)) safe.push_back(m);
        const Move& m = safe[std::uniform_int_distribution<std::size_t>(0, safe.size() - 1)(rng)];
        move(m.fromX, m.fromY, m.toX, m.toY);
    }
    ASSERT_EQ(form.moveNumber, 9);
    const Board last = form.board;
    const int seatAtLast = form.turnSeat;

    form.CANCEL_Click();
    EXPECT_EQ(form.gameStarted, Form1::valueYes);
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.recordEnd, 9);
    EXPECT_EQ(form.board, form.moveRecord[0].board());
    EXPECT_EQ(form.turnSeat, 1);

    form.AFTER_Click();
    EXPECT_EQ(form.moveNumber, 1);
    form.showRecordPosition(9);
    EXPECT_EQ(form.board, last);
    EXPECT_EQ(form.turnSeat, seatAtLast);

    // From the opening the next click plays on, as after 戻.
    form.CANCEL_Click();
    forget();
    clickSquare(10, 10);
    EXPECT_TRUE(boxShown("OKですか？", "再開"));
    const std::vector<Move> moves = legalMoves(form.table, 1);
    move(moves.front().fromX, moves.front().fromY, moves.front().toX, moves.front().toY);
    EXPECT_EQ(form.moveNumber, 1);
    EXPECT_EQ(form.recordEnd, 1);
}

TEST_F(GuidedPlay, ClassicHomeStillEndsTheGame) {
    guide(false);
    startSevenPlayers();
    const Move m = legalMoves(form.table, 1).front();
    move(m.fromX, m.fromY, m.toX, m.toY);
    form.CANCEL_Click();
    EXPECT_EQ(form.gameStarted, Form1::valueNo);
    forget();
    clickSquare(3, 3);
    EXPECT_TRUE(boxShown("「対局」で始めて下さい", "開始"));
}

TEST(GuidedContinue, TheGameKeptLastTimePlaysOnAtTheFirstClickUnasked) {
    TempWorkingFolder folder;
    FilePlaces places;
    places.autosaveFile = std::filesystem::current_path() / "autosave.daro";
    auto play = [&](bool guided, auto&& check) {
        RecordingWindow window;
        InstantClock clock;
        RecordingSoundLibrary sound;
        Form1 form(window, clock, &sound, places);
        window.setChecked("TE_HYOUJI", guided);
        form.初期設定();
        check(form, window);
    };
    play(true, [](Form1& form, RecordingWindow&) {
        form.PLAY_7_Click();
        const Move m = legalMoves(form.table, 1).front();
        for (auto [x, y] : {Square{m.fromX, m.fromY}, Square{m.toX, m.toY}})
            form.Form_MouseDown(1, 0, form.twipsX(x + 0.5), form.twipsY(y + 0.5));
        ASSERT_EQ(form.moveNumber, 1);
    });
    // Classic first: the guided game moves on and is kept again.
    for (bool guided : {false, true})
        play(guided, [guided](Form1& form, RecordingWindow& window) {
            form.ZENKAI_Click();
            ASSERT_EQ(form.moveNumber, 1);
            ASSERT_EQ(form.turnSeat, 2);
            const Move m = legalMoves(form.table, 2).front();
            window.boxes.clear();
            form.Form_MouseDown(1, 0, form.twipsX(m.fromX + 0.5), form.twipsY(m.fromY + 0.5));
            if (!guided) {
                ASSERT_EQ(window.boxes.size(), 1u);
                EXPECT_EQ(window.boxes.front().text, "OKですか？");
                EXPECT_EQ(form.clickPhase, 0);
                return;
            }
            EXPECT_TRUE(window.boxes.empty());
            form.Form_MouseDown(1, 0, form.twipsX(m.toX + 0.5), form.twipsY(m.toY + 0.5));
            EXPECT_EQ(form.moveNumber, 2);
        });
}

// 今の局面へ shows on the bar exactly while an earlier position is shown
// (guided play only), takes the game back to where it stands, and the next
// click then plays on without a box.
TEST_F(GuidedPlay, BackToNowShowsOnlyWhileLookingBackAndReturnsToTheGameAsItStands) {
    for (bool guided : {false, true}) {
        guide(guided);
        form.初期設定();
        startSevenPlayers();
        std::mt19937 rng(12);
        for (int i = 0; i < 5; ++i) {
            EXPECT_FALSE(window.itemVisible["GENZAI"]);
            std::vector<Move> moves = legalMoves(form.table, form.turnSeat);
            std::erase_if(moves, [](const Move& m) { return Form1::isKingCode(m.piece); });
            const Move& m = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)];
            move(m.fromX, m.fromY, m.toX, m.toY);
        }
        const Board last = form.board;
        const int seatAtLast = form.turnSeat;
        form.REPLAY_Click();
        form.REPLAY_Click();
        EXPECT_EQ(window.itemVisible["GENZAI"], guided);
        form.AFTER_Click();
        form.AFTER_Click();
        EXPECT_FALSE(window.itemVisible["GENZAI"]) << "at the last position there is nothing to go back to";
        if (!guided) continue;
        form.CANCEL_Click();
        EXPECT_TRUE(window.itemVisible["GENZAI"]);
        form.GENZAI_Click();
        EXPECT_FALSE(window.itemVisible["GENZAI"]);
        EXPECT_EQ(form.moveNumber, 5);
        EXPECT_EQ(form.board, last);
        EXPECT_EQ(form.turnSeat, seatAtLast);
        forget();
        const Move m = legalMoves(form.table, form.turnSeat).front();
        move(m.fromX, m.fromY, m.toX, m.toY);
        EXPECT_TRUE(window.boxes.empty());
        EXPECT_EQ(form.moveNumber, 6);
        EXPECT_EQ(form.recordEnd, 6);
    }
}

// At start-up the game left unfinished is offered once the window shows:
// Yes plays on from it at the first click, No leaves the start screen. A
// finished, missing or broken game, or the classic screen, asks nothing.
TEST(GuidedContinue, AtStartUpOnlyAnUnfinishedGameIsOfferedAndOnlyInGuidedPlay) {
    TempWorkingFolder folder;
    FilePlaces places;
    places.autosaveFile = std::filesystem::current_path() / "autosave.daro";
    struct Start {
        RecordingWindow window;
        InstantClock clock;
        RecordingSoundLibrary sound;
        Form1 form;
        Start(const FilePlaces& p, bool guided, BoxAnswer answer) : form(window, clock, &sound, p) {
            window.setChecked("TE_HYOUJI", guided);
            window.scriptedAnswers.push_back(answer);
            form.初期設定();
            form.offerLastGame();
        }
        bool asked() const {
            return window.boxes.size() == 1 && window.boxes[0].text == "前回の続き" &&
                   window.boxes[0].buttons == BoxButtons::YesNo;
        }
    };
    EXPECT_FALSE(Start(places, true, BoxAnswer::Yes).asked()) << "nothing kept yet";
    {
        Start first(places, true, BoxAnswer::Yes);
        first.form.JYUNBAN_1_Click();
        const Move m = legalMoves(first.form.table, 1).front();
        first.form.Form_MouseDown(1, 0, first.form.twipsX(m.fromX + 0.5), first.form.twipsY(m.fromY + 0.5));
        first.form.Form_MouseDown(1, 0, first.form.twipsX(m.toX + 0.5), first.form.twipsY(m.toY + 0.5));
        ASSERT_EQ(first.form.moveNumber, 7);
    }
    EXPECT_FALSE(Start(places, false, BoxAnswer::Yes).asked()) << "the classic start asks nothing";
    {
        Start no(places, true, BoxAnswer::No);
        EXPECT_TRUE(no.asked());
        EXPECT_EQ(no.form.gameStarted, Form1::valueNo);
    }
    Start yes(places, true, BoxAnswer::Yes);
    ASSERT_TRUE(yes.asked());
    EXPECT_EQ(yes.form.moveNumber, 7);
    EXPECT_EQ(yes.form.turnSeat, 1);
    const Move m = legalMoves(yes.form.table, 1).front();
    yes.form.Form_MouseDown(1, 0, yes.form.twipsX(m.fromX + 0.5), yes.form.twipsY(m.fromY + 0.5));
    yes.form.Form_MouseDown(1, 0, yes.form.twipsX(m.toX + 0.5), yes.form.twipsY(m.toY + 0.5));
    EXPECT_EQ(yes.window.boxes.size(), 1u) << "the first click plays on, unasked";
    EXPECT_EQ(yes.form.moveNumber, 14);

    // A file that does not replay is not offered, nor a game played to its end.
    const std::string kept = TempWorkingFolder::read("autosave.daro");
    TempWorkingFolder::write("autosave.daro", kept.substr(0, kept.size() / 2) + "\xff\n");
    EXPECT_FALSE(Start(places, true, BoxAnswer::Yes).asked());
    std::mt19937 rng(6);
    Form1& f = yes.form;
    for (int turn = 0; turn < 600 && f.gameStarted == Form1::valueYes && !f.table.over(); ++turn) {
        for (int i = 0; i < 8 && f.table.next().kind == StepKind::paused; ++i) f.Form_MouseDown(1, 0, 0, 0);
        const std::vector<Move> moves = legalMoves(f.table, f.turnSeat);
        if (moves.empty() || f.seatPlayer[f.turnSeat] != Form1::playerHuman) break;
        const Move& r = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)];
        f.Form_MouseDown(1, 0, f.twipsX(r.fromX + 0.5), f.twipsY(r.fromY + 0.5));
        f.Form_MouseDown(1, 0, f.twipsX(r.toX + 0.5), f.twipsY(r.toY + 0.5));
    }
    ASSERT_TRUE(replayGameFile(TempWorkingFolder::read("autosave.daro")).game->outcome) << "the game did not end";
    EXPECT_FALSE(Start(places, true, BoxAnswer::Yes).asked());
}

}  // namespace
}  // namespace daro::test
