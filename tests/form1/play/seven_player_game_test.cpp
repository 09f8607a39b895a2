// Seven humans play a whole game with the mouse, until one kingdom wins.
#include <random>

#include "PlayFixture.h"

using daro::Form1;

namespace daro::test {
namespace {

struct Move {
    int fromX, fromY, toX, toY, captured;
};

class SevenPlayerGame : public PlayFixture {
protected:
    std::vector<Move> movesOf(int seat) const {
        const int b = Form1::blockOfSeat(seat);
        std::vector<Move> moves;
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y) {
                const int code = form.board[x][y];
                if (code < 10 * b || code > 10 * b + 9) continue;
                for (int tx = 1; tx <= 19; ++tx)
                    for (int ty = 1; ty <= 19; ++ty)
                        if (form.table.移動チェック(x, y, tx, ty, code) == Form1::valueYes)
                            moves.push_back({x, y, tx, ty, form.board[tx][ty]});
            }
        return moves;
    }

    // A king capture if there is one, else any capture, else any move.
    Move choose(std::vector<Move> moves, std::mt19937& random) const {
        auto rank = [](const Move& m) { return Form1::isKingCode(m.captured) ? 2 : m.captured != 0 ? 1 : 0; };
        int best = 0;
        for (const auto& m : moves) best = std::max(best, rank(m));
        std::erase_if(moves, [&](const Move& m) { return rank(m) != best; });
        return moves[random() % moves.size()];
    }

    bool kingMoveRefused(std::size_t boxesBefore) const {
        for (std::size_t i = boxesBefore; i < window.boxes.size(); ++i)
            if (window.boxes[i].text == "自殺はできません") return true;
        return false;
    }
};

TEST_F(SevenPlayerGame, ClicksCarryAGameToAWinner) {
    startSevenPlayers();
    window.yesNoDefault = BoxAnswer::No;  // keep the final counts to look at
    std::mt19937 random(7);
    std::string winner;
    int moves = 0;
    try {
        for (; moves < 4000; ++moves) {
            const int seat = form.turnSeat;
            ASSERT_GE(seat, 1);
            std::vector<Move> candidates = movesOf(seat);
            ASSERT_FALSE(candidates.empty()) << "seat " << seat << " cannot move";
            for (;;) {
                const Move m = choose(candidates, random);
                const std::size_t boxes = window.boxes.size();
                move(m.fromX, m.fromY, m.toX, m.toY);
                if (!kingMoveRefused(boxes)) break;
                clickSquare(1, 1);  // resumes after the take-back
                std::erase_if(candidates, [&](const Move& c) {
                    return c.fromX == m.fromX && c.fromY == m.fromY && c.toX == m.toX && c.toY == m.toY;
                });
                ASSERT_FALSE(candidates.empty());
                ASSERT_EQ(form.turnSeat, seat);
            }
            forget();
        }
    } catch (const ProgramEnded&) {
        for (const auto& b : window.boxes)
            if (b.title == "終了") winner = b.text;
    }
    ASSERT_FALSE(winner.empty()) << "no winner after " << moves << " moves";

    int seat = 1;
    while (Form1::kingdomName(seat) + "の勝ちです" != winner) ++seat;
    const int b = Form1::blockOfSeat(seat);
    const int c = form.capturedCount[b], k = form.kingsCapturedCount[b];
    EXPECT_TRUE(k >= 2 || c >= 30 || (c >= 19 && k == 1)) << winner << " C=" << c << " K=" << k;
    EXPECT_EQ(form.moveNumber, form.recordEnd);
    EXPECT_EQ(form.moveRecord[form.moveNumber].board(), form.board);
    EXPECT_TRUE(boxShown("続けますか？", "再ゲーム"));
}

}  // namespace
}  // namespace daro::test
