// Every way out releases the sounds once and ends the program once; message
// boxes show what the game asks and return the answer.
#include <QFile>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <vector>

#include "QtClock.h"
#include "QtFixture.h"

namespace daro::test {
namespace {

// A PCM wave file of four silent samples.
QByteArray tinyWave() {
    QByteArray w;
    auto put32 = [&](quint32 v) { for (int i = 0; i < 4; ++i) w.append(char((v >> (8 * i)) & 0xff)); };
    auto put16 = [&](quint16 v) { w.append(char(v & 0xff)); w.append(char(v >> 8)); };
    w.append("RIFF");
    put32(36 + 8);
    w.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(22050);
    put32(44100);
    put16(2);
    put16(16);
    w.append("data");
    put32(8);
    w.append(QByteArray(8, 0));
    return w;
}

class EndingTest : public QtWindowTest {
protected:
    void SetUp() override {
        // Five sounds to load, so that there are five buffers to free.
        for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "終局.wav", "BGM.wav"}) {
            QFile wave(QString::fromUtf8(name));
            ASSERT_TRUE(wave.open(QIODevice::WriteOnly));
            wave.write(tinyWave());
        }
        window.load();
        window.show();
        made = {form.soundOther, form.soundForbidden, form.soundPiece, form.soundGameEnd, form.soundBgm};
        opened = sound.argsOf("dsInitialize").size();
        sound.calls.clear();
    }
    // Every buffer made at start-up freed once, the device closed once.
    void expectEndedOnce() {
        EXPECT_EQ(exits, 1);
        EXPECT_TRUE(form.ended);
        std::vector<std::int32_t> freed = sound.argsOf("dsFree");
        std::vector<std::int32_t> live;
        for (std::int32_t b : made)
            if (b != 0) live.push_back(b);
        std::sort(freed.begin(), freed.end());
        std::sort(live.begin(), live.end());
        EXPECT_EQ(freed, live);
        EXPECT_EQ(sound.argsOf("dsTerminate").size(), opened);
    }
    std::vector<std::int32_t> made;
    std::size_t opened = 0;
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

// Closing the window while the game waits ends the program inside the
// wait, through the same way out as every other close.
TEST_F(EndingTest, ACloseDuringAWaitEndsTheProgramAtOnce) {
    qt::QtClock realClock([this](qt::QtClock::Leave how) { window.leaveDuringWait(how == qt::QtClock::Leave::Escape); });
    int exitsInsideTheWait = -1;
    window.dispatch([&](Form1&) {
        QTimer::singleShot(0, &window, [&] { window.windowHandle()->close(); });
        realClock.idle(0.05);
        exitsInsideTheWait = exits;
    });
    EXPECT_EQ(exitsInsideTheWait, 1);
    QApplication::processEvents();
    expectEndedOnce();
}

TEST_F(QtWindowTest, AWarningBoxShowsItsTextAndEmptyTitle) {
    SeenBox seen;
    answerNextBox(QMessageBox::Ok, &seen);
    EXPECT_EQ(window.messageBox("「対局」で始めて下さい", "", BoxButtons::Ok, BoxIcon::Warning), BoxAnswer::Ok);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.text, QStringLiteral("「対局」で始めて下さい"));
    for (QChar c : seen.title) EXPECT_FALSE(c.isPrint() && !c.isSpace()) << seen.title.toStdString();
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
