// The move list window: one line per event, and a click on a line shows the
// very pixels that as many 戻 show.
#include <QListWidget>
#include <QRegularExpression>

#include "QtFixture.h"

#include <random>
#include <sstream>

#include "Autoplay.h"
#include "RandomPlay.h"
#include "record/GameFile.h"

namespace daro::test {
namespace {

// One window playing a seeded one-player game at 秦.
struct Played {
    qt::MainWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    Form1 form{window, clock, &sound};
    Played() {
        window.setExitAction([] {});
        window.attach(form);
        window.load();
        window.show();
        QCoreApplication::processEvents();
        window.setChecked("TE_HYOUJI", true);
        SeenBox seen;
        answerNextBox(QMessageBox::Ok, &seen);  // "秦の番です"
        window.dispatch([](Form1& f) { f.JYUNBAN_1_Click(); });
        std::mt19937 rng(4);
        for (int turn = 0; turn < 2; ++turn) {
            const std::vector<Move> moves = legalMoves(form.table, form.turnSeat);
            if (moves.empty()) return;
            const Move& m = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)];
            click(m.fromX, m.fromY);
            click(m.toX, m.toY);
            QCoreApplication::processEvents();
        }
    }
    void click(int x, int y) {
        window.dispatch([=](Form1& f) {
            f.Form_MouseDown(1, 0, f.boardLeft + (x + 0.5) * f.cellWidth, f.boardTop + (y + 0.5) * f.cellHeight);
        });
    }
};

class MoveListWindow : public ::testing::Test {
protected:
    QString previousFolder = QDir::currentPath();
    QTemporaryDir folder;
    MoveListWindow() { QDir::setCurrent(folder.path()); }
    ~MoveListWindow() override { QDir::setCurrent(previousFolder); }
};

TEST_F(MoveListWindow, ALineClickedShowsThePixelsOfAsManyStepsBack) {
    Played listed, stepped;
    ASSERT_GE(listed.form.moveNumber, 14);
    // The board's pixels: the status beside it tells the thinking's timing too.
    const auto board = [](Played& p) {
        qt::Canvas* c = p.window.canvas();
        return c->buffer().copy(QRect(QPoint(c->toDevice(p.form.twipsX(1)), c->toDevice(p.form.twipsY(1))),
                                      QPoint(c->toDevice(p.form.twipsX(20)), c->toDevice(p.form.twipsY(20)))));
    };
    ASSERT_EQ(board(listed), board(stepped)) << "one game, one board";
    listed.window.menuItem(QStringLiteral("KIFU"))->trigger();
    auto* list = listed.window.findChild<QListWidget*>(QStringLiteral("KIFU_LIST"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), listed.form.moveNumber) << "one line a move, no drop-out or pass yet";
    EXPECT_EQ(list->item(0)->text().left(4), QStringLiteral("1 秦 "));

    for (int back : {5, 3}) {
        const int target = stepped.form.moveNumber - back;
        for (int i = 0; i < back; ++i) stepped.window.menuItem(QStringLiteral("REPLAY"))->trigger();
        QListWidgetItem* line = list->item(target - 1);
        ASSERT_EQ(line->data(Qt::UserRole).toInt(), target);
        emit list->itemClicked(line);
        QCoreApplication::processEvents();
        EXPECT_EQ(listed.form.moveNumber, target);
        const QImage a = board(listed), b = board(stepped);
        QRect differ;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != b.pixel(x, y)) differ |= QRect(x, y, 1, 1);
        EXPECT_TRUE(differ.isNull()) << back << " back: pixels differ in " << differ.x() << "," << differ.y() << " "
                                     << differ.width() << "x" << differ.height();
    }
}

// A whole seeded game, drop-outs included, opened in the window: the list
// reads in English in the English window, naming the very kingdoms, pieces
// and squares of the record, and is again the game's Japanese once back.
TEST_F(MoveListWindow, LinesReadInTheWindowsLanguageAndNameWhatTheRecordHolds) {
    std::ostringstream printed;
    autoplay::Options options;
    options.humanSeat = 1;
    options.seed = 3;
    autoplay::Autoplay game(options, printed);
    game.run();
    const GameFileResult opened = replayGameFile(game.gameFile());
    ASSERT_TRUE(opened.game) << opened.problem.reason;

    qt::MainWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    Form1 form{window, clock, &sound};
    window.setExitAction([] {});
    window.attach(form);
    window.load();
    window.dispatch([&](Form1& f) { f.takeOverGame(*opened.game); });
    window.menuItem(QStringLiteral("KIFU"))->trigger();
    auto* list = window.findChild<QListWidget*>(QStringLiteral("KIFU_LIST"));
    ASSERT_NE(list, nullptr);
    const std::vector<Form1::MoveListLine> japanese = form.moveList();
    const auto lines = [list] {
        QStringList all;
        for (int i = 0; i < list->count(); ++i) all << list->item(i)->text();
        return all;
    };
    QStringList classic;
    for (const Form1::MoveListLine& line : japanese) classic << QString::fromStdString(line.text);
    ASSERT_EQ(lines().join('\n').toStdString(), classic.join('\n').toStdString());
    ASSERT_EQ(list->windowTitle(), QStringLiteral("棋譜"));

    window.menuItem(QStringLiteral("LANGUAGE_en"))->trigger();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Move list"));
    const QStringList english = lines();
    ASSERT_EQ(english.size(), classic.size());
    const QStringList kingdoms = {"", "Qin", "Chu", "Han", "Qi", "Wei", "Zhao", "Yan"};
    const QStringList kinds = {"Envoy", "Saber", "Sword", "Crossbow", "Horseman",
                               "Bow", "Cannon", "Lieutenant", "Adjutant", "King"};
    const QRegularExpression moveLine(
        QStringLiteral("^(\\d+) ([A-Za-z]+) ([A-Za-z]+) (\\d+)-(\\d+) → (\\d+)-(\\d+)(?:, takes ([A-Za-z]+) ([A-Za-z]+))?$"));
    const QRegularExpression stepLine(QStringLiteral("^  ([A-Za-z]+) (drops out|passes)$"));
    int moves = 0, captures = 0, outs = 0;
    for (std::size_t i = 0; i < japanese.size(); ++i) {
        const RecordEvent& e = japanese[i].event;
        const QString line = english[qsizetype(i)];
        SCOPED_TRACE(line.toStdString() + "  /  " + japanese[i].text);
        EXPECT_EQ(list->item(int(i))->data(Qt::UserRole).toInt(), japanese[i].entry);
        if (e.kind == EventKind::Move) {
            ++moves;
            const auto m = moveLine.match(line);
            ASSERT_TRUE(m.hasMatch());
            EXPECT_EQ(m.captured(1).toInt(), japanese[i].entry);
            EXPECT_EQ(m.captured(2), kingdoms[e.seat]);
            EXPECT_EQ(m.captured(3), kinds[Codes::kindOf(e.piece)]);
            EXPECT_EQ(20 - m.captured(4).toInt(), e.fromX);
            EXPECT_EQ(m.captured(5).toInt(), e.fromY);
            EXPECT_EQ(20 - m.captured(6).toInt(), e.toX);
            EXPECT_EQ(m.captured(7).toInt(), e.toY);
            const RecordEntry& after = form.moveRecord[std::size_t(japanese[i].entry)];
            EXPECT_EQ(after.square(e.toX, e.toY), e.piece);
            if (e.captured == Codes::emptyCode) {
                EXPECT_TRUE(m.captured(8).isEmpty());
            } else {
                ++captures;
                EXPECT_EQ(m.captured(8), kingdoms[Codes::seatOfBlock(Codes::blockOfCode(e.captured))]);
                EXPECT_EQ(m.captured(9), kinds[Codes::kindOf(e.captured)]);
            }
        } else {
            const auto m = stepLine.match(line);
            ASSERT_TRUE(m.hasMatch());
            EXPECT_EQ(m.captured(1), kingdoms[e.seat]);
            EXPECT_EQ(m.captured(2), e.kind == EventKind::Out ? QStringLiteral("drops out") : QStringLiteral("passes"));
            outs += e.kind == EventKind::Out;
        }
    }
    EXPECT_EQ(moves, form.recordEnd);
    EXPECT_GT(captures, 0);
    EXPECT_GT(outs, 0);
    // Every line fits the list's width, the longest English capture too.
    const int room = list->viewport()->width();
    for (int i = 0; i < list->count(); ++i)
        EXPECT_LE(list->fontMetrics().horizontalAdvance(list->item(i)->text()), room) << english[i].toStdString();

    window.menuItem(QStringLiteral("LANGUAGE_ja"))->trigger();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(lines().join('\n').toStdString(), classic.join('\n').toStdString());
    EXPECT_EQ(list->windowTitle(), QStringLiteral("棋譜"));
}

// After 戻 and another move from there, the list tells the new move, not the
// one taken back, though it has as many lines as before.
TEST_F(MoveListWindow, AnotherMoveAfterStepsBackReplacesTheLineTakenBack) {
    Played p;
    p.window.menuItem(QStringLiteral("KIFU"))->trigger();
    auto* list = p.window.findChild<QListWidget*>(QStringLiteral("KIFU_LIST"));
    ASSERT_NE(list, nullptr);
    const int end = p.form.moveNumber;
    // Back to the human's turn, and another of 秦's moves than the one played.
    p.window.dispatch([](Form1& f) { f.takeBackToHumanTurn(); });
    const int from = p.form.moveNumber;
    ASSERT_LT(from, end);
    ASSERT_EQ(list->item(from)->data(Qt::UserRole).toInt(), from + 1);
    const QString before = list->item(from)->text();
    std::vector<Move> moves = legalMoves(p.form.table, p.form.turnSeat);
    ASSERT_GT(moves.size(), 1u);
    const RecordEvent played = p.form.moveRecord[std::size_t(from + 1)].move;
    const Move other = moves[0].fromX == played.fromX && moves[0].fromY == played.fromY &&
                               moves[0].toX == played.toX && moves[0].toY == played.toY
                           ? moves[1]
                           : moves[0];
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);  // "OKですか？": the first click plays on from here
    p.click(other.fromX, other.fromY);
    ASSERT_TRUE(seen.shown);
    p.click(other.fromX, other.fromY);
    p.click(other.toX, other.toY);
    QCoreApplication::processEvents();
    ASSERT_GT(p.form.moveNumber, from);
    p.window.menuItem(QStringLiteral("KIFU"))->trigger();
    QStringList shown, wanted;
    for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
    for (const Form1::MoveListLine& line : p.form.moveList()) wanted << QString::fromStdString(line.text);
    EXPECT_EQ(shown.join('\n').toStdString(), wanted.join('\n').toStdString());
    EXPECT_NE(list->item(from)->text().toStdString(), before.toStdString());
}

}  // namespace
}  // namespace daro::test
