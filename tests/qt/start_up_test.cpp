// Start-up of the real window: the game left unfinished is offered only
// once the window is on the screen, and the no-sound warning, kept in our
// settings, is given at the first start only.
#include <QMessageBox>
#include <QTest>

#include <filesystem>

#include "Preferences.h"
#include "QtFixture.h"
#include "TempWorkingFolder.h"

namespace daro::test {
namespace {

struct Program {
    Program(const FilePlaces& places, qt::Preferences& preferences, SoundLibrary* library)
        : form(window, clock, library, places) {
        window.setExitAction([] {});
        window.setPreferences(&preferences);
        window.attach(form);
    }
    qt::MainWindow window;
    InstantClock clock;
    Form1 form;
};

// What the modal boxes said, and whether the main window was shown then.
struct Boxes {
    QStringList texts;
    bool windowShownAtEach = true;
    void answerAll(qt::MainWindow& window, QMessageBox::StandardButton button) {
        auto* poll = new QTimer(&window);
        poll->setInterval(0);
        QObject::connect(poll, &QTimer::timeout, [this, &window, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            texts << box->text();
            windowShownAtEach = windowShownAtEach && window.isVisible();
            QAbstractButton* b = box->button(button) ? box->button(button) : box->button(QMessageBox::Ok);
            b->click();
        });
        poll->start();
    }
};

void settle() {
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(10);
    }
}

TEST(StartUp, TheUnfinishedGameIsAskedAboutAfterTheWindowShowsAndTheSoundWarningOnlyAtTheFirstStart) {
    TempWorkingFolder folder;
    FilePlaces places;
    places.autosaveFile = std::filesystem::current_path() / "autosave.daro";
    const QString settings = QDir::current().absoluteFilePath(QStringLiteral("daro.conf"));
    RecordingSoundLibrary silent;
    silent.device = 0;
    {
        qt::Preferences preferences(settings);
        Program first(places, preferences, &silent);
        Boxes boxes;
        boxes.answerAll(first.window, QMessageBox::Yes);
        first.window.load();
        settle();
        EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("Direct Soundインターフェースが作成できません。")});
        first.window.dispatch([](Form1& f) { f.JYUNBAN_1_Click(); });
        first.window.dispatch([](Form1& f) {
            f.Form_MouseDown(1, 0, f.twipsX(5.5), f.twipsY(10.5));
            f.Form_MouseDown(1, 0, f.twipsX(6.5), f.twipsY(10.5));
        });
        settle();
        ASSERT_EQ(first.form.moveNumber, 7);
    }
    qt::Preferences preferences(settings);
    Program second(places, preferences, &silent);
    Boxes boxes;
    boxes.answerAll(second.window, QMessageBox::Yes);
    second.window.load();
    settle();
    EXPECT_TRUE(boxes.texts.isEmpty()) << "asked before the window was shown: " << boxes.texts.join('|').toStdString();
    second.window.show();
    settle();
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("前回の続き")});
    EXPECT_TRUE(boxes.windowShownAtEach);
    EXPECT_EQ(second.form.moveNumber, 7);
    second.window.hide();
    second.window.show();
    settle();
    EXPECT_EQ(boxes.texts.size(), 1) << "asked once, at the first show";
}

}  // namespace
}  // namespace daro::test
