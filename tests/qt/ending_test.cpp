// Every way out releases the sounds once and ends the program once; message
// boxes show what the game asks and return the answer.
#include <QTest>

#include "QtClock.h"
#include "QtFixture.h"

namespace daro::test {
namespace {

class EndingTest : public QtWindowTest {
protected:
    void SetUp() override {
        window.load();
        window.show();
        sound.calls.clear();
    }
    void expectEndedOnce() {
        EXPECT_EQ(exits, 1);
        EXPECT_EQ(sound.argsOf("dsFree").size(), 5u);
        EXPECT_EQ(sound.argsOf("dsTerminate").size(), 1u);
    }
};

TEST_F(EndingTest, EscEndsTheProgramOnce) {
    QTest::keyClick(&window, Qt::Key_Escape);
    expectEndedOnce();
    QTest::keyClick(&window, Qt::Key_Escape);
    window.close();
    expectEndedOnce();
}

TEST_F(EndingTest, OtherKeysDoNotEndIt) {
    QTest::keyClick(&window, Qt::Key_A);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(sound.argsOf("dsFree").empty());
}

TEST_F(EndingTest, OwariEndsTheProgramOnce) {
    window.menuItem("OWARI")->trigger();
    expectEndedOnce();
    window.menuItem("OWARI")->trigger();
    expectEndedOnce();
}

TEST_F(EndingTest, ClosingTheWindowEndsTheProgramOnce) {
    window.close();
    expectEndedOnce();
    window.close();
    expectEndedOnce();
    EXPECT_TRUE(window.hasEnded());
}

// A close that arrives while the game waits must not run game code inside
// the wait; it is acted on once the waiting call has returned.
TEST_F(EndingTest, ACloseDuringAWaitIsHandledAfterTheWait) {
    qt::QtClock realClock;
    bool closedInsideTheWait = true;
    window.dispatch([&](Form1&) {
        QTimer::singleShot(0, &window, [&] { window.close(); });
        realClock.idle(0);
        closedInsideTheWait = exits > 0 || !sound.argsOf("dsFree").empty();
    });
    EXPECT_FALSE(closedInsideTheWait);
    EXPECT_EQ(exits, 0);
    QApplication::processEvents();
    QApplication::processEvents();
    expectEndedOnce();
}

TEST_F(QtWindowTest, AWarningBoxShowsItsTextAndEmptyTitle) {
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    EXPECT_EQ(window.messageBox("「対局」で始めて下さい", "", BoxButtons::Ok, BoxIcon::Warning), BoxAnswer::Ok);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.text, QStringLiteral("「対局」で始めて下さい"));
    EXPECT_EQ(seen.title, QString());
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST_F(QtWindowTest, AYesNoBoxReturnsTheButtonChosen) {
    SeenBox seen;
    answerNextBox(QMessageBox::No, &seen);
    EXPECT_EQ(window.messageBox("続けますか？", "終局", BoxButtons::YesNo, BoxIcon::None), BoxAnswer::No);
    EXPECT_EQ(seen.title, QStringLiteral("終局"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    answerNextBox(QMessageBox::Yes, &seen);
    EXPECT_EQ(window.messageBox("続けますか？", "終局", BoxButtons::YesNo, BoxIcon::None), BoxAnswer::Yes);
}

}  // namespace
}  // namespace daro::test
