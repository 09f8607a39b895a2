// Thousands of random legal moves from the opening, checking what must hold
// in every position reached by play.
#include <random>

#include "GameFixture.h"
#include "RandomPlay.h"

using daro::Form1;
using daro::test::GameFixture;
using daro::test::legalMoves;
using daro::test::Move;

namespace {

class RandomPlay : public GameFixture {};

TEST_F(RandomPlay, InvariantsHoldMoveAfterMove) {
    form.初期設定();
    std::mt19937 rng(20261207);
    std::array<int, 8> takenFrom{};    // by block: pieces others captured
    std::array<int, 8> captures{};     // by block: pieces this block captured
    std::array<int, 8> kingCaptures{};
    std::array<bool, 8> eliminated{};  // by block
    int eliminatedPieces = 0;
    int seat = 1;
    int movesMade = 0;
    for (int turn = 0; turn < 2500 && seat != Form1::noSeat; ++turn) {
        // A kingdom without its king leaves the game when its turn comes.
        const int block = Form1::blockOfSeat(seat);
        if (form.table.存在チェック駒(Form1::取得_手番王(seat)) != Form1::valueYes) {
            eliminatedPieces += form.table.調査_駒数(seat);
            form.table.戦線離脱処理(seat);
            eliminated[block] = true;
            seat = form.table.手番_進(seat);
            continue;
        }
        const std::vector<Move> moves = legalMoves(form.table, seat);
        for (const Move& m : moves) {
            const int target = form.board[m.toX][m.toY];
            ASSERT_NE(target, Form1::centreCode);
            ASSERT_FALSE(Form1::blockOfCode(target) != 0 && Form1::kindOf(target) == Form1::GYO);
            ASSERT_NE(Form1::blockOfCode(target), block);
        }
        if (!moves.empty()) {
            std::uniform_int_distribution<std::size_t> pick(0, moves.size() - 1);
            const Move m = moves[pick(rng)];
            const int target = form.board[m.toX][m.toY];
            if (target != Form1::emptyCode) {
                ++takenFrom[Form1::blockOfCode(target)];
                ++captures[block];
                if (Form1::isKingCode(target)) ++kingCaptures[block];
            }
            form.table.駒移動(m.fromX, m.fromY, m.toX, m.toY, m.piece);
            ++movesMade;
        }

        ASSERT_EQ(form.board[10][10], Form1::centreCode);
        int onBoard = 0;
        for (int s = 1; s <= 7; ++s) {
            const int b = Form1::blockOfSeat(s);
            ASSERT_EQ(form.table.調査_駒数(s), eliminated[b] ? 0 : 17 - takenFrom[b]) << "seat " << s;
            ASSERT_EQ(form.capturedCount[b], captures[b]);
            ASSERT_EQ(form.kingsCapturedCount[b], kingCaptures[b]);
            onBoard += form.table.調査_駒数(s);
        }
        int capturedTotal = 0;
        for (int b = 1; b <= 7; ++b) capturedTotal += form.capturedCount[b];
        ASSERT_EQ(capturedTotal, 119 - onBoard - eliminatedPieces);

        const daro::Board before = form.board;
        form.table.勢力調査();
        ASSERT_EQ(form.board, before);

        seat = form.table.手番_進(seat);
    }
    EXPECT_GT(movesMade, 2000);
    int captured = 0;
    for (int b = 1; b <= 7; ++b) captured += form.capturedCount[b];
    EXPECT_GT(captured, 20);
}

}  // namespace
