// The line of whose turn it is, over seeded games: it names the seat to
// move after every step, says "あなたの番です" exactly for a seat played at
// this window, and the turn's sound comes exactly when the turn comes back
// from another player. With the new options off nothing of it is drawn.
#include <random>

#include "GameFixture.h"
#include "RandomPlay.h"

namespace daro::test {
namespace {

constexpr std::int32_t turnSound = 24;

struct Game {
    RecordingWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    Form1 form{window, clock, &sound};

    explicit Game(bool guided = true) {
        window.setChecked("TE_HYOUJI", guided);
        window.setChecked("OUTE", guided);
        window.setChecked("TEBAN_OTO", true);
        form.soundOther = turnSound;
        form.module1.soundDevice = sound.device;
        form.初期設定();
    }
    void click(int x, int y) { form.Form_MouseDown(1, 0, form.twipsX(x + 0.5), form.twipsY(y + 0.5)); }
    bool humansTurn() const {
        return !form.table.over() && form.seatPlayer[form.turnSeat] == Form1::playerHuman &&
               form.table.next().kind == StepKind::human;
    }
    // One legal move of the human to move that the table accepts.
    bool humanMove(std::mt19937& rng) {
        for (int i = 0; i < 8 && !humansTurn() && !form.table.over(); ++i) click(10, 10);
        if (!humansTurn()) return false;
        std::vector<Move> moves;
        for (const Move& m : legalMoves(form.table, form.turnSeat)) {
            Table trial = form.table;
            if (trial.submit(form.turnSeat, {m.fromX, m.fromY, m.toX, m.toY}) == Refusal::none) moves.push_back(m);
        }
        if (moves.empty()) return false;
        const Move& m = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)];
        click(m.fromX, m.fromY);
        click(m.toX, m.toY);
        return true;
    }
    bool atLine(const WindowCall& c) const {
        return std::abs(c.x - form.twipsX(21.7)) < 1 && std::abs(c.y - form.twipsY(2.1)) < 1;
    }
    bool clearsLine(const WindowCall& c) const {
        return c.kind == WindowCall::Kind::Picture && std::abs(c.y - form.twipsY(2)) < 1 && c.x >= form.twipsX(21) - 1 &&
               c.x <= form.twipsX(26) + 1;
    }
    // The lines printed since the calls were cleared, in order, and what
    // stands there now ("" when it was cleared after the last one).
    std::vector<std::string> linesPrinted() const {
        std::vector<std::string> lines;
        for (const WindowCall& c : window.calls)
            if (c.kind == WindowCall::Kind::Text && atLine(c)) lines.push_back(c.text);
        return lines;
    }
    std::string lineShown() const {
        std::string shown;
        for (const WindowCall& c : window.calls) {
            if (clearsLine(c)) shown.clear();
            if (c.kind == WindowCall::Kind::Text && atLine(c)) shown = c.text;
        }
        return shown;
    }
    int turnSounds() const {
        int n = 0;
        for (std::int32_t b : sound.argsOf("dsPlay")) n += b == turnSound;
        return n;
    }
    void forget() {
        window.clearCalls();
        sound.calls.clear();
    }
};

std::string lineOf(int seat) { return Codes::kingdomName(seat) + "の番です"; }

// One human against six computers, and a free game of two humans with
// computers between them: at each human turn the line says "あなたの番です",
// the computers' turns were each named on the way, and the sound came once.
TEST(TurnLine, AtEveryHumanTurnTheLineSaysYourMoveAfterNamingEachComputerAndTheSoundComesOnce) {
    for (unsigned seed : {2u, 11u}) {
        for (int game = 0; game < 2; ++game) {
            Game g;
            if (game == 0) {
                g.form.JYUNBAN_3_Click();
            } else {
                std::array<SeatKind, 8> seats{};
                for (int s = 1; s <= Codes::seatCount; ++s) seats[std::size_t(s)] = {s == 1 || s == 4, 1};
                g.form.seatFree(seats);
            }
            std::mt19937 rng(seed);
            for (int turn = 0; turn < 6 && !g.form.table.over(); ++turn) {
                g.forget();
                const int mover = g.form.turnSeat;
                if (!g.humanMove(rng)) break;
                for (int i = 0; i < 8 && !g.humansTurn() && !g.form.table.over(); ++i) g.click(10, 10);
                if (!g.humansTurn()) break;
                SCOPED_TRACE("seed " + std::to_string(seed) + " game " + std::to_string(game) + " turn " +
                             std::to_string(turn));
                EXPECT_EQ(g.lineShown(), "あなたの番です");
                const std::vector<std::string> lines = g.linesPrinted();
                ASSERT_GE(lines.size(), 2u);
                EXPECT_EQ(lines.back(), "あなたの番です");
                for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
                    bool named = false;
                    for (int s = 1; s <= Codes::seatCount; ++s)
                        named |= g.form.seatPlayer[s] == Form1::playerComputer && lines[i] == lineOf(s);
                    EXPECT_TRUE(named) << lines[i];
                }
                EXPECT_EQ(g.turnSounds(), 1) << "after " << Codes::kingdomName(mover) << "'s move";
            }
        }
    }
}

// Seven humans at one mouse: every seat is the window's, the mouse passes
// by hand and no sound comes. At a server only the window's own seat is
// "あなたの番です", and a watcher has none.
TEST(TurnLine, AllHumansAtOneMouseHearNothingAndAtAServerOnlyTheOwnSeatIsYourMove) {
    Game seven;
    seven.form.PLAY_7_Click();
    EXPECT_EQ(seven.lineShown(), "あなたの番です") << "the line stands from the start";
    std::mt19937 rng(4);
    for (int turn = 0; turn < 10; ++turn) {
        ASSERT_TRUE(seven.humanMove(rng));
        EXPECT_EQ(seven.lineShown(), "あなたの番です");
    }
    EXPECT_EQ(seven.turnSounds(), 0);

    std::array<SeatKind, 8> seats{};
    for (int s = 1; s <= Codes::seatCount; ++s) seats[std::size_t(s)] = {s <= 2, 1};
    for (int mine : {2, 0}) {
        Game g;
        g.form.sendMove = [](const TableMove&) {};
        g.form.followRemoteGame(seats, mine, {});
        EXPECT_EQ(g.lineShown(), lineOf(1));
        g.forget();
        ASSERT_TRUE(g.form.presentRemoteLine("move 1 1 5 10 6 10 50 0"));
        EXPECT_EQ(g.lineShown(), mine == 2 ? "あなたの番です" : lineOf(2));
        EXPECT_EQ(g.turnSounds(), mine == 2 ? 1 : 0);
    }
}

// 戻 names the seat to move in the position shown, without a sound; the
// classic screen never prints a line there nor sounds, in any game.
TEST(TurnLine, ReviewNamesTheShownPositionsSeatQuietlyAndTheClassicScreenHasNoLine) {
    Game g;
    g.form.JYUNBAN_1_Click();
    std::mt19937 rng(8);
    ASSERT_TRUE(g.humanMove(rng));
    g.forget();
    g.form.REPLAY_Click();
    EXPECT_EQ(g.lineShown(), lineOf(7));
    g.form.takeBackToHumanTurn();
    EXPECT_EQ(g.lineShown(), "あなたの番です");
    EXPECT_EQ(g.turnSounds(), 0);
    g.form.TE_HYOUJI_Click();
    g.form.OUTE_Click();
    EXPECT_EQ(g.lineShown(), "") << "the line goes with the options";

    for (int game = 0; game < 2; ++game) {
        Game classic(false);
        classic.forget();  // from here on the background is not painted whole
        if (game == 0) classic.form.JYUNBAN_2_Click();
        else classic.form.PLAY_7_Click();
        std::mt19937 r(5);
        for (int turn = 0; turn < 4; ++turn) ASSERT_TRUE(classic.humanMove(r));
        classic.form.REPLAY_Click();
        EXPECT_TRUE(classic.linesPrinted().empty());
        for (const WindowCall& c : classic.window.calls) EXPECT_FALSE(classic.clearsLine(c));
        EXPECT_EQ(classic.turnSounds(), 0);
    }
}

}  // namespace
}  // namespace daro::test
