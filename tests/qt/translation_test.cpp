// The window in English: every text the game shows comes out translated,
// fits where it is drawn, and Japanese brings back the classic texts.
#include <QAction>
#include <QFile>
#include <QFontMetricsF>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTextBrowser>

#include <fstream>

#include "Guide.h"
#include "Language.h"
#include "Phrasebook.h"
#include "Preferences.h"
#include "QtFixture.h"
#include "RecordingWindow.h"
#include "shell/FilePlaces.h"

namespace daro::test {
namespace {

bool hasJapanese(const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
    }
    return false;
}

// A wave file's name is a name, shown as it is.
QString withoutFileNames(QString text) {
    for (const char* name : waveFileNames) text.remove(QString::fromUtf8(name));
    return text;
}

QString q(const std::string& s) { return QString::fromStdString(s); }

// The boxes and labels of a game's moments, as the game words them.
class SeenTexts : public ::testing::Test {
protected:
    SeenTexts() { QDir::setCurrent(folder.path()); }
    ~SeenTexts() override { QDir::setCurrent(previousFolder); }

    QString previousFolder = QDir::currentPath();
    QTemporaryDir folder;
    RecordingWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;

    void play() {
        Form1 form{window, clock, &sound};
        form.Form_Load();
        window.setChecked("mochikoma", true);
        form.Form_MouseDown(1, 0, 5000, 5000);  // before a game
        form.REPLAY_Click();
        form.JYUNBAN_3_Click();  // two computer kingdoms move first
        form.REPLAY_Click();
        form.AFTER_Click();
        form.AFTER_Click();
        form.VER_Click();
        for (int seat = 1; seat <= Form1::seatCount; ++seat) {
            form.描画_手番エラーメッセージ(seat);
            form.終了(Form1::kingdomName(seat));
        }
        form.終了_man();
        form.noKingdomCanMove();
        // A game file that is none, and one that breaks off.
        const QString bad = folder.filePath("bad.daro"), cut = folder.filePath("cut.daro");
        std::ofstream(bad.toStdString()) << "hello\n";
        std::ofstream(cut.toStdString()) << "daro-game 1\nmode seven-players\nlevel 2\nmove 1 2 1 1 1 2 50 0\n";
        for (const QString& path : {bad, cut, folder.filePath("missing.daro"), folder.path()}) {
            window.scriptedPaths.push_back(path.toStdString());
            form.OPEN_Click();
        }
        window.scriptedPaths.push_back(folder.filePath("no/such/folder/x.daro").toStdString());
        form.SAVE_Click();
        // The sound: no device, then files it cannot play.
        Module1 silent(nullptr, window);
        silent.InitSound(0);
        Module1 loud(&sound, window);
        loud.InitSound(1);
        std::ofstream(folder.filePath("empty.wav").toStdString());
        std::ofstream(folder.filePath("bad.wav").toStdString()) << "not a wave";
        for (const char* name : {"empty.wav", "bad.wav", ""})
            loud.LoadSound(folder.filePath(QLatin1String(name)).toStdString(), 0);
    }
};

TEST_F(SeenTexts, EveryBoxTitleAndLabelOfAGameReadsInEnglish) {
    window.yesNoDefault = BoxAnswer::Yes;
    play();
    qt::Language language;
    ASSERT_TRUE(language.use(QStringLiteral("en")));
    int boxes = 0, labels = 0;
    for (const ShownBox& box : window.boxes) {
        const QString text = qt::phrasebook::translate(q(box.text), q(box.title));
        EXPECT_FALSE(hasJapanese(withoutFileNames(text))) << box.text << " -> " << text.toStdString();
        EXPECT_FALSE(hasJapanese(qt::phrasebook::translate(q(box.title)))) << box.title;
        ++boxes;
    }
    for (const std::string& text : window.textsPrinted()) {
        EXPECT_FALSE(hasJapanese(qt::phrasebook::moveSuffix(q(text), 2))) << text;
        ++labels;
    }
    EXPECT_GT(boxes, 30);
    EXPECT_GT(labels, 100);
    // A reason read from a game file names the line and what is wrong there.
    const auto reasons = std::count_if(window.boxes.begin(), window.boxes.end(), [](const ShownBox& b) {
        return qt::phrasebook::translate(q(b.text), q(b.title)).contains(QLatin1String("line 1: not a daro game file"));
    });
    EXPECT_EQ(reasons, 1);
}

TEST_F(SeenTexts, LabelsBesideTheBoardKeepOffTheBoardAndTheCoordinatesInBothLanguages) {
    play();
    // Logical pixels, as the canvas draws them.
    const QRectF board(QPointF(1565 / 15.0, 595 / 15.0), QPointF(10400 / 15.0, 9430 / 15.0));
    const QRectF canvas(0, 0, qt::Canvas::widthPixels, qt::Canvas::heightPixels);
    for (const char* code : {"ja", "en"}) {
        qt::Language language;
        ASSERT_TRUE(language.use(QLatin1String(code)));
        struct Placed {
            QRectF rect;
            bool coordinate;
            std::string text;
        };
        std::vector<Placed> placed;
        int number = 0;
        for (const WindowCall& c : window.callsOf(WindowCall::Kind::Text)) {
            bool isNumber = false;
            const int n = q(c.text).toInt(&isNumber);
            if (isNumber) number = n;
            const QString shown = qt::phrasebook::moveSuffix(q(c.text), number);
            const QFontMetricsF metrics(qt::Canvas::textFont(c.size, c.bold));
            const QRectF rect(c.x / 15.0, c.y / 15.0, metrics.horizontalAdvance(shown), metrics.height());
            // Column labels stand over the board from column 1 on, row labels right of it.
            const bool coordinate = c.x >= 1100 + 0.7 * 465 && c.y < 130 + 465 ? true : c.x >= 1100 + 20 * 465 && c.x < 1100 + 21 * 465;
            placed.push_back({rect, coordinate, c.text});
        }
        for (const Placed& p : placed) {
            EXPECT_TRUE(canvas.contains(p.rect)) << code << " " << p.text;
            EXPECT_FALSE(board.intersects(p.rect)) << code << " " << p.text << " runs into the board";
            if (p.coordinate) continue;
            for (const Placed& other : placed)
                if (other.coordinate && other.rect.intersects(p.rect)) {
                    ADD_FAILURE() << code << " " << p.text << " runs into the label " << other.text;
                    break;
                }
        }
    }
}

TEST_F(QtWindowTest, MenusSwitchToEnglishAndBackToTheClassicCaptionsAtOnceAndFitTheBar) {
    auto captions = [this] {
        QStringList all;
        for (QAction* a : window.findChildren<QAction*>())
            if (!a->text().isEmpty()) all << a->objectName() + QLatin1Char('=') + a->text();
        all.sort();
        return all;
    };
    auto barFits = [this] {
        window.show();
        QMenuBar* bar = window.menuBar();
        for (QAction* a : bar->actions())
            if (bar->actionGeometry(a).right() >= bar->width()) return false;
        return true;
    };
    const QStringList classic = captions();
    EXPECT_TRUE(barFits());
    window.menuItem("LANGUAGE_en")->trigger();
    QCoreApplication::sendPostedEvents();  // Qt tells the windows with the next turn of the loop
    EXPECT_EQ(window.language(), QLatin1String("en"));
    EXPECT_TRUE(window.menuItem("LANGUAGE_en")->isChecked());
    for (const QString& caption : captions())
        if (!caption.startsWith(QLatin1String("LANGUAGE")))
            EXPECT_FALSE(hasJapanese(caption)) << caption.toStdString();
    EXPECT_EQ(window.menuItem("JYUNBAN_1")->text(), QStringLiteral("1st (Qin)"));
    EXPECT_TRUE(barFits());
    window.menuItem("LANGUAGE_ja")->trigger();
    QCoreApplication::sendPostedEvents();  // Qt tells the windows with the next turn of the loop
    EXPECT_EQ(captions(), classic);
}

TEST_F(QtWindowTest, BoxesTranslatedFitOnTheScreen) {
    qt::Language language;
    ASSERT_TRUE(language.use(QStringLiteral("en")));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QString& source : qt::phrasebook::catalogue()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Title"), qt::phrasebook::translate(source));
        box.adjustSize();
        EXPECT_LE(box.width(), std::max(screen.width(), 1024)) << source.toStdString();
    }
}

// The language chosen is kept in a file of the game's own, beside the
// classic settings file, whose bytes stay as they were.
TEST_F(QtWindowTest, TheChosenLanguageIsKeptBesideTheClassicSettingsNotInThem) {
    window.load();
    const std::filesystem::path classic = FilePlaces{}.settingsFile();
    QFile classicFile(QString::fromStdU16String(std::filesystem::absolute(classic).u16string()));
    ASSERT_TRUE(classicFile.open(QIODevice::ReadOnly));
    const QByteArray before = classicFile.readAll();
    classicFile.close();
    const QString file = qt::Preferences::besideClassic(classic);
    EXPECT_EQ(file, QStringLiteral("daro.conf"));
    {
        qt::Preferences preferences(file);
        window.setPreferences(&preferences);
        window.menuItem("LANGUAGE_en")->trigger();
    QCoreApplication::sendPostedEvents();  // Qt tells the windows with the next turn of the loop
        window.setPreferences(nullptr);
    }
    EXPECT_EQ(qt::Preferences(file).value(QStringLiteral("language")).toString(), QStringLiteral("en"));
    ASSERT_TRUE(classicFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(classicFile.readAll(), before);
    // A folder in the file's place: kept for this run only.
    QDir().mkdir(QStringLiteral("in_the_way"));
    qt::Preferences blocked(QStringLiteral("in_the_way"));
    blocked.setValue(QStringLiteral("language"), QStringLiteral("ja"));
    EXPECT_EQ(blocked.value(QStringLiteral("language")).toString(), QStringLiteral("ja"));
    EXPECT_TRUE(QFileInfo(QStringLiteral("in_the_way")).isDir());
}

TEST(LanguageChoice, JapaneseForAJapaneseSystemEnglishForAnyOther) {
    EXPECT_EQ(qt::Language::forSystem(QLocale(QStringLiteral("ja_JP"))), QStringLiteral("ja"));
    EXPECT_EQ(qt::Language::forSystem(QLocale(QStringLiteral("en_GB"))), QStringLiteral("en"));
    EXPECT_EQ(qt::Language::forSystem(QLocale(QStringLiteral("de_DE"))), QStringLiteral("en"));
    EXPECT_EQ(qt::Language::nameOf(QStringLiteral("en")), QStringLiteral("English"));
    qt::Language language;
    EXPECT_FALSE(language.use(QStringLiteral("xx")));
    EXPECT_EQ(language.current(), QStringLiteral("ja"));
}

}  // namespace
}  // namespace daro::test
