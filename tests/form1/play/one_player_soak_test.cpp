// Whole one-player games at every seat: the human side plays random legal
// moves through the mouse, the computer the rest, and what the rules promise
// is checked at every refresh of the window, that is after every move.
#include <functional>
#include <memory>
#include <random>

#include "GameFixture.h"
#include "RandomPlay.h"

#ifndef DARO_SOAK_GAMES
#define DARO_SOAK_GAMES 21
#endif

namespace daro::test {
namespace {

class CheckingWindow : public RecordingWindow {
public:
    std::function<void()> check;
    void refresh() override {
        // Only the last moments matter; a game draws millions of calls.
        if (calls.size() > 4096) calls.clear();
        RecordingWindow::refresh();
        if (check) check();
    }
};

struct Tally {
    int onBoard = 0;
    std::array<int, 8> piecesOf{};                 // by block
    std::array<std::array<int, 10>, 8> kinds{};    // by block and kind
    int kingsOnBoard = 0;
};

Tally tally(const Form1& form) {
    Tally t;
    for (int x = 1; x <= Form1::boardSize; ++x)
        for (int y = 1; y <= Form1::boardSize; ++y) {
            const int c = form.board[x][y];
            if (c == Form1::emptyCode || c == Form1::centreCode) continue;
            const int block = Form1::blockOfCode(c);
            if (block < 1 || block > 7) throw std::logic_error("no such piece on the board");
            ++t.onBoard;
            ++t.piecesOf[block];
            ++t.kinds[block][Form1::kindOf(c)];
            t.kingsOnBoard += Form1::isKingCode(c);
        }
    return t;
}

class OnePlayerSoak : public ::testing::Test {
protected:
    // What held at the last check, to compare the next one with.
    Tally start, last;
    std::array<int, 8> capturedBefore{};
    int lastMoveNumber = 0;
    int checks = 0;

    void expectRules(const Form1& form) {
        ++checks;
        const Tally now = tally(form);
        ASSERT_EQ(form.board[10][10], Form1::centreCode);
        int captured = 0, kingsCaptured = 0;
        for (int b = 1; b <= 7; ++b) {
            for (int k = 0; k < 10; ++k) ASSERT_LE(now.kinds[b][k], start.kinds[b][k]) << "a piece changed kind";
            ASSERT_GE(form.capturedCount[b], capturedBefore[b]) << "a capture was undone";
            ASSERT_LE(form.kingsCapturedCount[b], form.capturedCount[b]);
            captured += form.capturedCount[b];
            kingsCaptured += form.kingsCapturedCount[b];
        }
        ASSERT_LE(now.kingsOnBoard + kingsCaptured, 7);
        // Pieces leave the board only by capture or with their whole kingdom.
        const int vanished = (last.onBoard - now.onBoard) - (captured - total(capturedBefore));
        ASSERT_GE(vanished, 0);
        if (vanished > 0) {
            int kingdomsGone = 0;
            for (int b = 1; b <= 7; ++b) kingdomsGone += last.piecesOf[b] > 0 && now.piecesOf[b] == 0;
            ASSERT_GT(kingdomsGone, 0) << vanished << " pieces vanished without a capture";
        }
        ASSERT_TRUE(form.turnSeat == Form1::noSeat || (form.turnSeat >= 1 && form.turnSeat <= 7));
        ASSERT_GE(form.moveNumber, lastMoveNumber);
        ASSERT_EQ(form.recordEnd, form.moveNumber);
        last = now;
        for (int b = 1; b <= 7; ++b) capturedBefore[b] = form.capturedCount[b];
        lastMoveNumber = form.moveNumber;
    }
    static int total(const std::array<int, 8>& a) {
        int sum = 0;
        for (int v : a) sum += v;
        return sum;
    }

    // One game; the number of human moves made.
    int playGame(int humanSeat, std::mt19937& rng) {
        CheckingWindow window;
        InstantClock clock;
        RecordingSoundLibrary sound;
        auto form = std::make_unique<Form1>(window, clock, &sound);
        window.yesNoDefault = BoxAnswer::No;  // no second game: the program ends
        form->初期設定();
        start = last = tally(*form);
        capturedBefore = {};
        lastMoveNumber = 0;
        window.check = [&] { expectRules(*form); };
        const auto click = [&](int x, int y) {
            form->Form_MouseDown(1, 0, form->boardLeft + (x + 0.5) * form->cellWidth,
                                 form->boardTop + (y + 0.5) * form->cellHeight);
        };
        int humanMoves = 0;
        try {
            takeSeat(*form, humanSeat);
            for (int step = 0; step < 400 && !form->ended && form->turnSeat != Form1::noSeat; ++step) {
                if (::testing::Test::HasFatalFailure()) break;
                if (form->seatPlayer[form->turnSeat] != Form1::playerHuman) {
                    click(10, 10);  // the computer's chain was paused: any click goes on
                    continue;
                }
                const std::vector<Move> moves = legalMoves(form->table, form->turnSeat);
                if (moves.empty()) break;
                const Move& m = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)];
                click(m.fromX, m.fromY);
                click(m.toX, m.toY);
                ++humanMoves;
            }
        } catch (const ProgramEnded&) {
        }
        expectRules(*form);
        return humanMoves;
    }
};

TEST_F(OnePlayerSoak, RandomHumanAgainstTheComputerAtEverySeatKeepsTheRules) {
    std::mt19937 rng(20261208);
    int humanMoves = 0;
    for (int game = 0; game < DARO_SOAK_GAMES && !HasFatalFailure(); ++game)
        humanMoves += playGame(game % 7 + 1, rng);
    EXPECT_GT(humanMoves, DARO_SOAK_GAMES * 5);
    EXPECT_GT(checks, DARO_SOAK_GAMES * 50);
}

}  // namespace
}  // namespace daro::test
