// Over seeded random games in both modes: stepping back and forward through
// the record gives back exactly the state that was left.
#include <map>
#include <random>

#include "PlayFixture.h"
#include "RandomPlay.h"

namespace daro::test {
namespace {

struct Shown {
    Board board;
    std::array<int, 8> captured, kings;
    int turnSeat;
    std::map<std::string, bool> icons;
    bool operator==(const Shown&) const = default;
};

class RecordProperty : public PlayFixture {
protected:
    Shown shown() const {
        return {form.board, form.capturedCount, form.kingsCapturedCount, form.turnSeat, window.iconVisible};
    }

    std::string iconDifference(const std::map<std::string, bool>& before) const {
        std::string text;
        for (const auto& [name, visible] : window.iconVisible) {
            auto it = before.find(name);
            if (it == before.end() || it->second != visible)
                text += " " + name + (visible ? " shown" : " hidden");
        }
        return text;
    }

    void expectNoNegativeCounter(const std::string& where) {
        for (int b = 1; b <= 7; ++b) {
            ASSERT_GE(form.capturedCount[b], 0) << where;
            ASSERT_GE(form.kingsCapturedCount[b], 0) << where;
        }
    }

    // Back k and forward k from the position of play; then the next click
    // goes on from there. Every stored position on the way is checked.
    void backAndForth(int k, const std::string& where) {
        const Shown before = shown();
        const int n = form.moveNumber;
        for (int i = 1; i <= k; ++i) {
            form.REPLAY_Click();
            ASSERT_EQ(form.moveNumber, n - i) << where;
            ASSERT_EQ(form.board, form.moveRecord[n - i].board()) << where;
            expectNoNegativeCounter(where);
            if (auto it = truth.find(n - i); it != truth.end()) {
                Shown now = shown();
                now.icons.clear();
                ASSERT_EQ(now, it->second) << where << ", back at move " << n - i;
            }
        }
        if (form.moveNumber == 0) {
            ASSERT_EQ(form.board, opening) << where;
            for (int b = 1; b <= 7; ++b) ASSERT_EQ(form.capturedCount[b] + form.kingsCapturedCount[b], 0) << where;
        }
        for (int i = 0; i < k; ++i) form.AFTER_Click();
        ASSERT_EQ(shown(), before) << where << " back and forth " << k << iconDifference(before.icons);
        window.clearCalls();
    }

    // Plays a random move of the seat to move as its human would: now and
    // then the best capture (kings first), so that kingdoms fall.
    bool humanMoves(std::mt19937& random) {
        // A click first resumes play after browsing, or the computers after a drop-out.
        for (int i = 0; i < 8 && form.gameStarted == Form1::valueYes; ++i) {
            const bool computer = form.gameMode == Form1::modeOnePlayer && form.turnSeat >= 1 &&
                                  form.seatPlayer[form.turnSeat] == Form1::playerComputer;
            if (form.recordNavigated == Form1::valueNo && !computer) break;
            clickSquare(10, 10);
        }
        if (form.gameStarted == Form1::valueNo || form.ended || form.turnSeat < 1) return false;
        // What the game looks like when this move is made is what stepping
        // back to this move number must show again.
        truth[form.moveNumber] = {form.board, form.capturedCount, form.kingsCapturedCount, form.turnSeat, {}};
        std::vector<Move> moves = legalMoves(form.table, form.turnSeat);
        std::erase_if(moves, [](const Move& m) { return Form1::isKingCode(m.piece); });
        if (moves.empty()) return false;
        auto rank = [&](const Move& m) {
            const int c = form.board[m.toX][m.toY];
            return Form1::isKingCode(c) ? 2 : c != Form1::emptyCode ? 1 : 0;
        };
        int best = 0;
        for (const Move& m : moves) best = std::max(best, rank(m));
        if (random() % 4 == 0) std::erase_if(moves, [&](const Move& m) { return rank(m) != best; });
        const Move m = moves[random() % moves.size()];
        move(m.fromX, m.fromY, m.toX, m.toY);
        return form.gameStarted == Form1::valueYes;
    }

    // Games one after another until the human side has made `moves` moves.
    void playAndCheck(unsigned seed, int moves, std::mt19937& random, void (Form1::*start)()) {
        for (int i = 0; i < moves; ++i) {
            if (form.gameStarted == Form1::valueNo) {
                truth.clear();
                (form.*start)();
                forget();
            }
            if (!humanMoves(random)) {
                countDropOuts();
                form.初期設定();
                form.gameStarted = Form1::valueNo;
                continue;
            }
            const std::string where = "seed " + std::to_string(seed) + " move " + std::to_string(form.moveNumber);
            expectNoNegativeCounter(where);
            if (form.moveNumber == 0) continue;
            backAndForth(1, where);
            backAndForth(1 + static_cast<int>(random() % static_cast<unsigned>(form.moveNumber)), where);
            if (i % 40 == 0) backAndForth(form.moveNumber, where);
            if (HasFatalFailure()) return;
        }
    }

    void countDropOuts() {
        for (int n = 0; n <= form.recordEnd; ++n)
            for (const RecordStep& e : form.moveRecord[n].after) dropOuts += e.kind == EventKind::Out;
    }

    Board opening{};
    int dropOuts = 0;
    std::map<int, Shown> truth;
};

TEST_F(RecordProperty, SevenPlayerGamesStepBackAndForthExactly) {
    opening = form.board;
    window.setChecked("AICON", true);
    window.yesNoDefault = BoxAnswer::Yes;
    for (unsigned seed : {3u, 8u}) {
        std::mt19937 random(seed);
        playAndCheck(seed, 400, random, &Form1::PLAY_7_Click);
        countDropOuts();
    }
    // The games must have met what comparing boards got wrong.
    EXPECT_GT(dropOuts, 0);
}

TEST_F(RecordProperty, OnePlayerGamesStepBackAndForthExactly) {
    opening = form.board;
    window.setChecked("AICON", true);
    window.yesNoDefault = BoxAnswer::Yes;
    for (unsigned seed : {5u, 6u}) {
        std::mt19937 random(seed);
        playAndCheck(seed, 100, random, &Form1::JYUNBAN_3_Click);
        countDropOuts();
    }
    EXPECT_GT(dropOuts, 0);
}

}  // namespace
}  // namespace daro::test
