// The move list window: one line per event, and a click on a line shows the
// very pixels that as many 戻 show.
#include <QListWidget>

#include "QtFixture.h"

#include <random>
#include "RandomPlay.h"

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

}  // namespace
}  // namespace daro::test
