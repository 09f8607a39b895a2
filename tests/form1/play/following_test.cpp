// Following a game over seeded one-player games: the marks show exactly the
// moves since the human's last move, the king's danger frame appears exactly
// when the move check lets another kingdom take it, the autosave reopens at
// the last move, a move-list jump equals as many 戻, and the pace options
// shorten the waits only.
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "PlayFixture.h"
#include "RandomPlay.h"
#include "TempWorkingFolder.h"
#include "record/GameFile.h"

namespace daro::test {
namespace {

using Square = std::pair<int, int>;

// A recording window that can look at the game at every refresh.
class CheckingWindow : public RecordingWindow {
public:
    std::function<void()> check;
    void refresh() override {
        RecordingWindow::refresh();
        if (check) check();
    }
};

// A game of one human at `seat` against LEVEL3, on recording doubles.
struct Game {
    CheckingWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    Form1 form;
    explicit Game(const FilePlaces& places = {}, bool marks = true, bool danger = true)
        : form(window, clock, &sound, places) {
        window.setChecked("TE_HYOUJI", marks);
        window.setChecked("OUTE", danger);
        form.初期設定();
    }
    void click(int x, int y) {
        form.Form_MouseDown(1, 0, form.boardLeft + (x + 0.5) * form.cellWidth,
                            form.boardTop + (y + 0.5) * form.cellHeight);
    }
    bool humansTurn() const {
        return !form.table.over() && form.turnSeat >= 1 && form.seatPlayer[form.turnSeat] == Form1::playerHuman &&
               form.table.next().kind == StepKind::human;
    }
    // Plays on to the human's turn and makes one random legal move there.
    bool humanMove(std::mt19937& rng) {
        for (int i = 0; i < 8 && !humansTurn() && !form.table.over(); ++i) click(10, 10);
        if (!humansTurn()) return false;
        const std::vector<Move> moves = legalMoves(form.table, form.turnSeat);
        if (moves.empty()) return false;
        const Move& m = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)];
        window.clearCalls();
        click(m.fromX, m.fromY);
        click(m.toX, m.toY);
        return true;
    }

    // Squares whose rectangle (or badge) at `inset` twips was drawn after their picture.
    std::map<Square, int> framesShown(int inset, WindowCall::Kind kind = WindowCall::Kind::Rectangle) const {
        std::map<Square, int> shown;
        for (const WindowCall& c : window.calls) {
            const double dx = c.x - form.boardLeft, dy = c.y - form.boardTop;
            const Square sq{int(dx / form.cellWidth), int(dy / form.cellHeight)};
            if (c.kind == WindowCall::Kind::Picture) shown.erase(sq);
            const bool atInset = std::abs(dx - sq.first * form.cellWidth - inset) < 0.5 &&
                                 std::abs(dy - sq.second * form.cellHeight - inset) < 0.5;
            if (c.kind == kind && atInset) shown[sq] = c.code;
        }
        return shown;
    }
    // "王手" stands in the status: printed after its cells were last cleared.
    bool dangerInStatus() const {
        bool shown = false;
        for (const WindowCall& c : window.calls) {
            if (c.kind == WindowCall::Kind::Text && c.text == "王手") shown = true;
            if (c.kind == WindowCall::Kind::Picture && std::abs(c.x - form.twipsX(-1)) < 0.5 &&
                std::abs(c.y - form.twipsY(2)) < 0.5)
                shown = false;
        }
        return shown;
    }
};

// The marks' badges: at the top left corner, filled in a colour of the mover's.
constexpr int kMarkInset = 30;
constexpr auto kBadge = WindowCall::Kind::Fill;
constexpr int kDangerInset = 15;

// The moves after the human's last one up to the position shown, read from the record.
std::vector<RecordEvent> movesSinceHuman(const Form1& f, int human) {
    std::vector<RecordEvent> moves;
    for (int n = f.moveNumber; n >= 1; --n) {
        const RecordEvent& m = f.moveRecord[static_cast<std::size_t>(n)].move;
        if (m.kind != EventKind::Move) continue;
        if (m.seat == human) break;
        moves.insert(moves.begin(), m);
    }
    return moves;
}

TEST(Following, MarksShowExactlyTheMovesSinceTheHumansLastMoveAndNothingWhenOff) {
    std::mt19937 rng(1812);
    int roundsOfSix = 0;
    for (int seat : {1, 4}) {
        Game on, off({}, false, false);
        std::mt19937 rngOff = rng;
        for (Game* g : {&on, &off}) (seat == 1 ? g->form.JYUNBAN_1_Click() : g->form.JYUNBAN_4_Click());
        for (int turn = 0; turn < 25; ++turn) {
            if (!on.humanMove(rng) || !off.humanMove(rngOff)) break;
            for (int i = 0; i < 8 && !on.humansTurn() && !on.form.table.over(); ++i) on.click(10, 10);
            if (on.form.table.over()) break;
            const std::vector<RecordEvent> expected = movesSinceHuman(on.form, seat);
            std::map<Square, int> want;
            for (const RecordEvent& m : expected)
                want[{m.toX, m.toY}] = std::array<int, 8>{0, 15, 4, 13, 1, 10, 5, 0}[m.seat];
            ASSERT_EQ(on.framesShown(kMarkInset, kBadge), want) << "turn " << turn;
            roundsOfSix += expected.size() == 6;
            EXPECT_TRUE(off.framesShown(kMarkInset, kBadge).empty());
            EXPECT_TRUE(off.framesShown(kDangerInset).empty());
        }
    }
    EXPECT_GT(roundsOfSix, 10);
}

TEST(Following, TheKingIsFramedExactlyWhenAnotherKingdomsMoveCheckReachesIt) {
    std::mt19937 rng(77);
    int inDanger = 0, safe = 0;
    for (int seat = 1; seat <= 7; ++seat) {
        Game g;
        g.form.seatFree([&] {
            std::array<SeatKind, 8> seats{};
            for (int s = 1; s <= 7; ++s) seats[static_cast<std::size_t>(s)] = {s == seat, 1};
            return seats;
        }());
        // At every refresh, during the computers' turns too.
        g.window.check = [&] {
            if (g.form.table.over() || g.form.gameStarted == Form1::valueNo) return;
            int kx = 0, ky = 0;
            if (!g.form.table.kingSquare(seat, kx, ky)) return;
            bool reachable = false;
            for (int other = 1; other <= 7; ++other)
                if (other != seat)
                    for (const Move& m : legalMoves(g.form.table, other)) reachable |= m.toX == kx && m.toY == ky;
            const std::map<Square, int> frames = g.framesShown(kDangerInset);
            ASSERT_EQ(frames.count({kx, ky}) == 1, reachable) << "seat " << seat << " move " << g.form.moveNumber;
            ASSERT_LE(frames.size(), 1u);
            ASSERT_EQ(g.dangerInStatus(), reachable);
            (reachable ? inDanger : safe)++;
        };
        for (int turn = 0; turn < 20 && !HasFatalFailure() && g.humanMove(rng); ++turn) {
        }
    }
    EXPECT_GT(inDanger, 20);
    EXPECT_GT(safe, 50);
}

class FollowingPlay : public PlayFixture {};

TEST_F(FollowingPlay, ACannonThreatensOnlyAcrossExactlyOneScreen) {
    // 秦's king (block 5) at (5,5); 楚's cannon (block 6) on the same column.
    layOut({{5, 5, 59}, {5, 12, 66}, {5, 9, 11}});
    EXPECT_TRUE(form.table.kingCanBeTaken(1));
    form.board[5][9] = Form1::emptyCode;
    EXPECT_FALSE(form.table.kingCanBeTaken(1)) << "a cannon takes only by jumping a screen";
    form.board[5][9] = 11;
    form.board[5][8] = 12;
    EXPECT_FALSE(form.table.kingCanBeTaken(1)) << "two screens block the cannon";
    form.board[5][5] = Form1::emptyCode;
    EXPECT_FALSE(form.table.kingCanBeTaken(1)) << "no king, no danger";
}

TEST(Following, TheAutosaveReopensAtTheLastMoveAndAFinishedGameForReview) {
    TempWorkingFolder folder;
    FilePlaces places;
    places.autosaveFile = std::filesystem::current_path() / "data" / "daro" / "autosave.daro";
    std::mt19937 rng(5);
    Game played(places);
    played.window.yesNoDefault = BoxAnswer::Yes;
    played.form.JYUNBAN_2_Click();
    for (int turn = 0; turn < 6; ++turn) ASSERT_TRUE(played.humanMove(rng));
    {
        Game reopened(places);
        reopened.form.ZENKAI_Click();
        EXPECT_EQ(reopened.form.moveNumber, played.form.moveNumber);
        EXPECT_EQ(reopened.form.board, played.form.board);
        EXPECT_EQ(reopened.form.turnSeat, played.form.turnSeat);
        EXPECT_EQ(reopened.form.capturedCount, played.form.capturedCount);
    }
    // Played to its end: the file keeps the last position and the result.
    for (int turn = 0; turn < 400 && played.form.gameStarted == Form1::valueYes; ++turn)
        if (!played.humanMove(rng)) break;
    if (played.form.gameStarted == Form1::valueNo) {
        Game reopened(places);
        reopened.form.ZENKAI_Click();
        EXPECT_TRUE(reopened.form.table.over());
        EXPECT_GT(reopened.form.moveNumber, 20);
        reopened.form.REPLAY_Click();
        EXPECT_EQ(reopened.form.moveNumber, reopened.form.recordEnd - 1) << "the finished game can be stepped";
    }
    // No file: a box says so and nothing changes.
    std::filesystem::remove(places.autosaveFile);
    Game fresh(places);
    fresh.form.ZENKAI_Click();
    EXPECT_EQ(fresh.form.gameStarted, Form1::valueNo);
    EXPECT_EQ(fresh.window.boxes.back().text, "前回の対局はありません");
}

TEST(Following, AMoveListJumpShowsWhatAsManyStepsBackShowAndCtrlZReachesTheHumansTurn) {
    TempWorkingFolder folder;
    FilePlaces places;
    places.autosaveFile = std::filesystem::current_path() / "autosave.daro";
    std::mt19937 rng(9);
    Game played(places);
    played.form.JYUNBAN_1_Click();
    for (int turn = 0; turn < 4; ++turn) ASSERT_TRUE(played.humanMove(rng));
    for (int i = 0; i < 8 && !played.humansTurn(); ++i) played.click(10, 10);

    const std::vector<Form1::MoveListLine> lines = played.form.moveList();
    ASSERT_GE(lines.size(), 20u);
    EXPECT_EQ(lines.front().text.rfind("1 秦 ", 0), 0u) << lines.front().text;
    for (int back : {1, 5, 13}) {
        Game jumped(places), stepped(places);
        jumped.form.ZENKAI_Click();
        stepped.form.ZENKAI_Click();
        jumped.form.showRecordPosition(jumped.form.moveNumber - back);
        for (int i = 0; i < back; ++i) stepped.form.REPLAY_Click();
        EXPECT_EQ(jumped.form.moveNumber, stepped.form.moveNumber);
        EXPECT_EQ(jumped.form.turnSeat, stepped.form.turnSeat);
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y)
                EXPECT_EQ(jumped.window.pictureAt(jumped.form.twipsX(x), jumped.form.twipsY(y)),
                          stepped.window.pictureAt(stepped.form.twipsX(x), stepped.form.twipsY(y)));
        EXPECT_EQ(jumped.framesShown(kMarkInset, kBadge), stepped.framesShown(kMarkInset, kBadge));
    }
    const int before = played.form.moveNumber;
    played.form.takeBackToHumanTurn();
    EXPECT_EQ(played.form.turnSeat, 1);
    EXPECT_EQ(played.form.moveNumber, before - 7) << "one press takes back the computers' six and the human's move";
}

TEST(Following, APaceShortensEveryWaitAndTheFastestBlinksNot) {
    std::map<std::string, double> elapsed;
    std::map<std::string, std::size_t> refreshes;
    Board classicBoard{};
    for (const std::string pace : {"", "HAYASA_HAYAI", "HAYASA_SAISOKU"}) {
        Game g;
        if (!pace.empty()) g.window.setChecked(pace, true);
        g.form.JYUNBAN_1_Click();
        std::mt19937 rng(3);
        const double start = g.clock.seconds;
        for (int turn = 0; turn < 3; ++turn) ASSERT_TRUE(g.humanMove(rng));
        elapsed[pace] = g.clock.seconds - start;
        refreshes[pace] = g.window.callsOf(WindowCall::Kind::Refresh).size();
        if (pace.empty()) classicBoard = g.form.board;
        EXPECT_EQ(g.form.board, classicBoard) << "the pace changes no move";
    }
    EXPECT_GT(elapsed[""], 2 * 6 * 1.6 - 0.1);
    EXPECT_NEAR(elapsed["HAYASA_HAYAI"], elapsed[""] / 4, elapsed[""] / 100);
    EXPECT_LT(elapsed["HAYASA_SAISOKU"], 0.1);
    EXPECT_LT(refreshes["HAYASA_SAISOKU"], refreshes[""]);
}

TEST_F(FollowingPlay, SHINKIStartsAgainFromTheOpeningWithTheSameSeatsAndLevels) {
    form.LEVEL4_Click();
    form.JYUNBAN_3_Click();
    move(1, 1, 1, 1);
    const auto seats = form.seatPlayer;
    form.LEVEL2_Click();
    form.SHINKI_Click();
    EXPECT_EQ(form.seatPlayer, seats);
    EXPECT_EQ(form.computerLevel, 2);
    EXPECT_EQ(form.moveNumber, 2) << "秦 and 楚 move before the human at 韓";
    EXPECT_EQ(form.turnSeat, 3);
    EXPECT_EQ(form.recordEnd, 2);
}

TEST_F(FollowingPlay, MoveNumbersOfAnyLengthEndBeforeTheSuffix) {
    for (int n : {7, 42, 999, 9999, 12345, 654321}) {
        window.clearCalls();
        form.描画_手数(n);
        double suffixX = 1e9, numberEnd = 0, size = 0;
        for (const WindowCall& c : window.callsOf(WindowCall::Kind::Text)) {
            if (c.text == "手目") suffixX = std::min(suffixX, c.x);
            // Digits are at most half an em wide; a point is 20 twips.
            else if (c.text == std::to_string(n)) numberEnd = std::max(numberEnd, c.x + c.text.size() * c.size * 10), size = c.size;
        }
        EXPECT_LT(numberEnd, suffixX) << n;
        if (n < 10000) EXPECT_EQ(size, 12) << "up to four digits draw as they always did";
    }
}

}  // namespace
}  // namespace daro::test
