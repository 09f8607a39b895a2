// ヒント in the window: LEVEL5's move for the human outlined apart from the
// other marks, nothing played, and clicking the outlined squares plays it.
// The search is held as the window's thread holds it: meanwhile the board
// answers, and a move or Esc leaves the late answer unshown. A server's
// table gives hints only when it was created so.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "GameFixture.h"

namespace daro::test {
namespace {

constexpr int kHintColour = 11;

// A searcher that answers only when told, as a thread answers later.
class HeldSearcher : public Searcher {
public:
    struct Held {
        SearchRequest request;
        std::function<void(std::optional<ChosenMove>)> done;
    };
    std::vector<Held> held;

    void think(const SearchRequest& request, std::function<void(std::optional<ChosenMove>)> done) override {
        held.push_back({request, std::move(done)});
    }
    void answer(std::size_t i) {
        Held h = std::move(held.at(i));
        held.erase(held.begin() + static_cast<long>(i));
        h.done(daro::think(h.request));
    }
    // The computers' searches, until only `keep` hint searches are left.
    void answerComputers() {
        for (std::size_t i = 0; i < held.size();)
            if (held[i].request.level != Table::levelFive) answer(i);
            else ++i;
    }
};

class Hint : public GameFixture {
protected:
    // Squares outlined in the hint's colour, in the order drawn.
    std::vector<std::pair<int, int>> hinted() const {
        std::vector<std::pair<int, int>> squares;
        for (const WindowCall& c : window.callsOf(WindowCall::Kind::Rectangle)) {
            if (c.code != kHintColour) continue;
            const std::pair square{static_cast<int>((c.x - form.boardLeft) / form.cellWidth),
                                   static_cast<int>((c.y - form.boardTop) / form.cellHeight)};
            if (squares.empty() || squares.back() != square) squares.push_back(square);
        }
        return squares;
    }
};

TEST_F(Hint, OutlinesAMoveOfTheHumanThatClickingPlays) {
    form.初期設定();
    window.clearCalls();
    form.HINT_Click();
    EXPECT_TRUE(window.callsOf(WindowCall::Kind::Rectangle).empty()) << "no game, no hint";

    form.JYUNBAN_1_Click();
    window.setChecked("TE_HYOUJI", true);
    window.boxes.clear();
    const Board board = form.board;
    const std::size_t record = form.moveRecord.size();
    const int turn = form.turnSeat;
    window.clearCalls();
    form.HINT_Click();
    EXPECT_EQ(form.board, board);
    EXPECT_EQ(form.moveRecord.size(), record);
    EXPECT_EQ(form.turnSeat, turn);
    EXPECT_TRUE(window.boxes.empty());
    const auto squares = hinted();
    ASSERT_EQ(squares.size(), 2u) << "the piece's square, then its target";
    for (const WindowCall& c : window.callsOf(WindowCall::Kind::Rectangle))
        EXPECT_NE(c.code, 14) << "the latest computer move's frame is yellow; the hint is not";
    const auto [fx, fy] = squares[0];
    const auto [tx, ty] = squares[1];
    EXPECT_EQ(Form1::blockOfCode(form.board[fx][fy]), Form1::blockOfSeat(1));
    const int piece = form.board[fx][fy];

    clickSquare(fx, fy);
    clickSquare(tx, ty);
    ASSERT_GT(form.moveRecord.size(), record);
    const RecordEvent& played = form.moveRecord[record].move;
    EXPECT_EQ(played.kind, EventKind::Move);
    EXPECT_EQ(int{played.piece}, piece);
    EXPECT_EQ(played.toX, tx);
    EXPECT_EQ(played.toY, ty);
    EXPECT_EQ(played.fromX, fx);

    // Shown again, then 戻: the frames go with the position they were for.
    ASSERT_EQ(form.table.next(), (Step{StepKind::human, 1}));
    form.HINT_Click();
    ASSERT_TRUE(form.hintWanted());
    form.REPLAY_Click();
    EXPECT_FALSE(form.hintWanted());
}

class HintOffTheWindowThread : public Hint {
protected:
    HeldSearcher searcher;
    Form1 held{window, clock, &sound, {}, &searcher};
    // The fixture's clicks go to the form with the held searcher.
    void click(int x, int y) { held.Form_MouseDown(1, 0, squareX(x), squareY(y)); }
    std::vector<std::pair<int, int>> hintedOnHeld() const {
        std::vector<std::pair<int, int>> squares;
        for (const WindowCall& c : window.callsOf(WindowCall::Kind::Rectangle))
            if (c.code == kHintColour)
                squares.emplace_back(static_cast<int>((c.x - held.boardLeft) / held.cellWidth),
                                     static_cast<int>((c.y - held.boardTop) / held.cellHeight));
        return squares;
    }
};

TEST_F(HintOffTheWindowThread, TheBoardAnswersWhileItThinksAndAMoveOrEscDropsTheLateAnswer) {
    held.初期設定();
    held.JYUNBAN_1_Click();
    window.boxes.clear();

    // Asked: a LEVEL5 search for seat 1 goes off; nothing is held up.
    held.HINT_Click();
    ASSERT_EQ(searcher.held.size(), 1u);
    EXPECT_EQ(searcher.held[0].request.level, Table::levelFive);
    EXPECT_EQ(searcher.held[0].request.seat, 1);
    EXPECT_FALSE(held.busy());
    EXPECT_TRUE(held.hintWanted());

    // The human moves before the answer: the answer is for a position gone by.
    window.clearCalls();
    const std::size_t record = held.moveRecord.size();
    click(5, 10);
    click(6, 10);
    ASSERT_GT(held.moveRecord.size(), record) << "the board answered while the hint was thought";
    searcher.answer(0);
    EXPECT_TRUE(hintedOnHeld().empty());
    EXPECT_FALSE(held.hintWanted());
    // The computers play on to the human's turn.
    for (int guard = 0; guard < 20 && !searcher.held.empty(); ++guard) searcher.answerComputers();
    ASSERT_EQ(held.table.next(), (Step{StepKind::human, 1}));

    // Asked again and Esc before the answer: dropped, and the program goes on.
    held.HINT_Click();
    ASSERT_EQ(searcher.held.size(), 1u);
    window.clearCalls();
    held.Form_KeyPress(27);
    EXPECT_EQ(window.endCount, 0);
    searcher.answer(0);
    EXPECT_TRUE(hintedOnHeld().empty());

    // Asked and answered in time: shown. Esc takes it away, the next Esc ends.
    held.HINT_Click();
    window.clearCalls();
    searcher.answer(0);
    const auto shown = hintedOnHeld();
    ASSERT_FALSE(shown.empty());
    window.clearCalls();
    held.Form_KeyPress(27);
    EXPECT_EQ(window.endCount, 0);
    EXPECT_FALSE(held.hintWanted());
    EXPECT_FALSE(window.callsOf(WindowCall::Kind::Picture).empty()) << "the outlined squares painted again";
    EXPECT_THROW(held.Form_KeyPress(27), ProgramEnded);
}

std::array<SeatKind, 8> humanAtOneAndTwo() {
    std::array<SeatKind, 8> seats{};
    for (int s = 1; s <= 7; ++s) seats[static_cast<std::size_t>(s)] = {s <= 2, s <= 2 ? 0 : 3};
    return seats;
}

TEST_F(HintOffTheWindowThread, AServersTableGivesHintsOnlyWhenItWasCreatedSoAndOnlyForTheWindowsSeat) {
    held.sendMove = [](const TableMove&) {};
    held.followRemoteGame(humanAtOneAndTwo(), 1, {});
    window.boxes.clear();
    held.HINT_Click();
    ASSERT_EQ(window.boxes.size(), 1u);
    EXPECT_EQ(window.boxes[0].text, "この卓ではヒントは使えません");
    EXPECT_EQ(window.boxes[0].title, "ヒント");
    EXPECT_TRUE(searcher.held.empty());

    // Created with hints: the window's own seat gets one, another seat none.
    held.remoteHints = true;
    window.boxes.clear();
    held.HINT_Click();
    EXPECT_TRUE(window.boxes.empty());
    ASSERT_EQ(searcher.held.size(), 1u);
    EXPECT_EQ(searcher.held[0].request.seat, 1);
    searcher.held.clear();

    held.followRemoteGame(humanAtOneAndTwo(), 2, {});
    held.remoteHints = true;
    held.HINT_Click();
    EXPECT_TRUE(searcher.held.empty()) << "秦 is to move; the window plays 楚";

    held.leaveRemoteGame();
    EXPECT_FALSE(held.remoteHints);
}

}  // namespace
}  // namespace daro::test
