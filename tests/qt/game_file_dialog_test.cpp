// 局面 → 保存... and 開く... through the real file dialogs.
#include <QFile>
#include <QFileDialog>

#include "QtFixture.h"

namespace daro::test {
namespace {

// Fills in the next file dialog with `path` and accepts it.
void chooseInNextDialog(const QString& path, QString* title) {
    auto* poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [poll, path, title] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->stop();
        poll->deleteLater();
        *title = dialog->windowTitle();
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();  // the dialog's own accept, as its button does
    });
    poll->start();
}

class GameFileDialog : public QtWindowTest {};

TEST_F(GameFileDialog, ASavedGameOpensAgainFromTheMenu) {
    window.load();
    SeenBox whoseTurn;
    answerNextBox(QMessageBox::Ok, &whoseTurn);
    window.menuItem("PLAY_7")->trigger();
    ASSERT_TRUE(whoseTurn.shown);
    form.Form_MouseDown(1, 0, form.twipsX(4.5), form.twipsY(10.5));
    form.Form_MouseDown(1, 0, form.twipsX(4.5), form.twipsY(6.5));
    ASSERT_EQ(form.moveNumber, 1);
    const Board played = form.board;

    const QString path = folder.filePath("game.daro");
    QString title;
    chooseInNextDialog(path, &title);
    window.menuItem("SAVE")->trigger();
    EXPECT_EQ(title, QString::fromUtf8("保存"));
    ASSERT_TRUE(QFile::exists(path));

    form.CANCEL_Click();
    ASSERT_NE(form.board, played);
    chooseInNextDialog(path, &title);
    window.menuItem("OPEN")->trigger();
    EXPECT_EQ(title, QString::fromUtf8("開く"));
    EXPECT_EQ(form.board, played);
    EXPECT_EQ(form.moveNumber, 1);
    EXPECT_EQ(form.turnSeat, 2);
    EXPECT_EQ(form.gameMode, Form1::modeSevenPlayers);
}

}  // namespace
}  // namespace daro::test
