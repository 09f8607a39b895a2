#include <array>
#include <string>

#include "GameFixture.h"

using daro::Form1;
using daro::test::GameFixture;
using daro::test::WindowCall;

namespace {

class InitialPosition : public GameFixture {};

// Each kingdom's triangle, derived from its king square, the direction into
// the board and the side its HII stands on; compared with the whole board.
TEST_F(InitialPosition, EveryKingdomStandsInItsTriangle) {
    struct Home {
        int seat, kingX, kingY, inX, inY, hiiX, hiiY;
    };
    const Home homes[] = {
        {1, 1, 10, 1, 0, 0, -1},  {2, 6, 19, 0, -1, 1, 0}, {3, 14, 19, 0, -1, 1, 0}, {4, 19, 14, -1, 0, 0, -1},
        {5, 19, 6, -1, 0, 0, -1}, {6, 14, 1, 0, 1, 1, 0},  {7, 6, 1, 0, 1, 1, 0},
    };
    // Rows by depth from the home edge; the first entry is on the HII side.
    const std::array<std::array<int, 7>, 5> rows = {{
        {Form1::KIB, Form1::KEN, Form1::HII, Form1::OHU, Form1::HEN, Form1::KEN, Form1::KIB},
        {Form1::KIB, Form1::KEN, Form1::HOU, Form1::KEN, Form1::KIB, -1, -1},
        {Form1::TOU, Form1::DOU, Form1::TOU, -1, -1, -1, -1},
        {Form1::KYU, -1, -1, -1, -1, -1, -1},
        {Form1::GYO, -1, -1, -1, -1, -1, -1},
    }};
    daro::Board expected{};
    expected[10][10] = Form1::centreCode;
    for (const Home& h : homes) {
        const int block = Form1::blockOfSeat(h.seat);
        for (int depth = 0; depth < 5; ++depth) {
            const int width = 7 - 2 * depth < 1 ? 1 : 7 - 2 * depth;
            for (int i = 0; i < width; ++i) {
                const int side = (width - 1) / 2 - i;  // towards the HII side is positive
                const int x = h.kingX + depth * h.inX + side * h.hiiX;
                const int y = h.kingY + depth * h.inY + side * h.hiiY;
                expected[x][y] = 10 * block + rows[depth][i];
            }
        }
    }
    form.初期設定();
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) EXPECT_EQ(form.board[x][y], expected[x][y]) << x << "," << y;
    for (int seat = 1; seat <= 7; ++seat) {
        EXPECT_EQ(form.table.調査_駒数(seat), 17);
        EXPECT_EQ(form.table.存在チェック駒(Form1::取得_手番王(seat)), Form1::valueYes);
    }
}

TEST_F(InitialPosition, HidesTheFourteenIconsInOrderAndStopsPlay) {
    form.初期設定();
    std::vector<std::string> hidden;
    for (const WindowCall& c : window.callsOf(WindowCall::Kind::IconVisible)) {
        EXPECT_EQ(c.code, 0);
        hidden.push_back(c.text);
    }
    const std::vector<std::string> order = {"ICO_MAN_GI",  "ICO_COM_GI",  "ICO_MAN_EN",  "ICO_COM_EN",  "ICO_MAN_SAI",
                                            "ICO_COM_SAI", "ICO_MAN_CHO", "ICO_COM_CHO", "ICO_MAN_SOU", "ICO_COM_SOU",
                                            "ICO_MAN_TEI", "ICO_COM_TEI", "ICO_MAN_KAN", "ICO_COM_KAN"};
    EXPECT_EQ(hidden, order);
    EXPECT_EQ(form.turnSeat, Form1::noSeat);
    EXPECT_EQ(form.gameMode, Form1::noSeat);
}

TEST_F(InitialPosition, MidGameResetDiscardsPositionAndCountersButKeepsSeatsAndKingSquares) {
    form.初期設定();
    form.seatPlayer = {0, 1, 2, 2, 2, 2, 2, 2};
    form.rotationStop = Form1::valueYes;
    form.gameStarted = Form1::valueYes;
    form.turnSeat = 3;
    form.clickPhase = 1;
    form.moveNumber = 12;
    form.recordEnd = 12;
    form.capturedCount[5] = 4;
    form.kingsCapturedCount[5] = 1;
    form.table.kingX[1] = 7;
    form.table.kingY[1] = 8;
    form.board[9][9] = 52;
    form.board[1][10] = Form1::emptyCode;

    form.初期設定();

    EXPECT_EQ(form.board[9][9], Form1::emptyCode);
    EXPECT_EQ(form.board[1][10], 59);
    EXPECT_EQ(form.turnSeat, Form1::noSeat);
    EXPECT_EQ(form.clickPhase, 0);
    EXPECT_EQ(form.moveNumber, 0);
    EXPECT_EQ(form.recordEnd, 0);
    EXPECT_EQ(form.capturedCount[5], 0);
    EXPECT_EQ(form.kingsCapturedCount[5], 0);
    EXPECT_EQ(form.seatPlayer[1], Form1::playerHuman);
    EXPECT_EQ(form.rotationStop, Form1::valueYes);
    EXPECT_EQ(form.gameStarted, Form1::valueYes);
    EXPECT_EQ(form.table.kingX[1], 7);
    EXPECT_EQ(form.table.kingY[1], 8);
}

}  // namespace
