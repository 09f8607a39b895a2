// With 手の表示 and 王手の表示 off, the screens of the classic game stay
// exactly as they were: each scene below is played on the real window's
// canvas and its pixels (and the turn icons shown) are compared with the
// fingerprints in classic_screens.txt, taken from the classic drawing.
//
// The fingerprints hold for the renderer they were taken with (Qt version
// and the board's typeface, named in the file's first line); elsewhere the
// comparison is skipped, saying why. A scene that differs leaves its picture
// in the test's folder (classic_screens/). To take the fingerprints anew, run
// with DARO_WRITE_CLASSIC_SCREENS=FILE and look at every picture beside FILE.
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QLabel>
#include <QProcess>
#include <QTextStream>

#include <functional>
#include <map>

#include "QtFixture.h"

namespace daro::test {
namespace {

const char* const kReferenceFile = DARO_SOURCE_DIR "/tests/qt/classic_screens.txt";

// Boxes are answered at once (OK, and Yes to a question): the scenes are
// about the board, and a modal box would wait for a click.
class QuietWindow : public qt::MainWindow {
public:
    BoxAnswer messageBox(const std::string& text, const std::string& title, BoxButtons buttons,
                         BoxIcon) override {
        boxes.push_back(title + "|" + text);
        return buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
    }
    std::vector<std::string> boxes;
};

QString renderer() {
    const QFontInfo face(qt::Canvas::textFont(12, false));
    return QStringLiteral("qt %1 font %2").arg(QString::fromLatin1(qVersion()), face.family());
}

struct Reference {
    QString renderer;
    std::map<QString, QString> fingerprints;
};

Reference readReference() {
    Reference r;
    QFile file(QString::fromUtf8(kReferenceFile));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return r;
    QTextStream in(&file);
    r.renderer = in.readLine();
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        if (space > 0) r.fingerprints[line.left(space)] = line.mid(space + 1);
    }
    return r;
}

// A Form1 on the real window in a folder of its own, started as the
// program starts it.
struct ClassicGame {
    ClassicGame() {
        QDir::setCurrent(folder.path());
        window.setExitAction([this] { ++exits; });
        window.attach(form);
        // The classic game: the new options off, the classic pace.
        window.setChecked("TE_HYOUJI", false);
        window.setChecked("OUTE", false);
        window.load();
        QCoreApplication::processEvents();
    }
    ~ClassicGame() { QDir::setCurrent(previousFolder); }

    // The buffer's pixels and where the turn icons show, as one fingerprint.
    QString fingerprint() {
        QCoreApplication::processEvents();
        const QImage pixels = window.canvas()->buffer().convertToFormat(QImage::Format_RGB32);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(QByteArray::number(pixels.width()) + "x" + QByteArray::number(pixels.height()));
        for (int y = 0; y < pixels.height(); ++y)
            hash.addData(QByteArrayView(reinterpret_cast<const char*>(pixels.constScanLine(y)), pixels.width() * 4));
        QStringList icons;
        for (QLabel* icon : window.canvas()->findChildren<QLabel*>())
            if (!icon->isHidden())
                icons << QStringLiteral("%1@%2,%3").arg(icon->objectName()).arg(icon->x()).arg(icon->y());
        icons.sort();
        return QString::fromLatin1(hash.result().toHex()) + QLatin1Char(' ') +
               (icons.isEmpty() ? QStringLiteral("-") : icons.join(QLatin1Char(';')));
    }

    void click(int x, int y) {
        window.dispatch([=](Form1& f) { f.Form_MouseDown(1, 0, f.twipsX(x + 0.5), f.twipsY(y + 0.5)); });
    }
    void move(int fx, int fy, int tx, int ty) {
        click(fx, fy);
        click(tx, ty);
    }
    void call(void (Form1::*command)()) {
        window.dispatch([command](Form1& f) { (f.*command)(); });
    }
    // 秦's 行 steps right, the way the other window tests open.
    void qinOpens() { move(5, 10, 6, 10); }

    QString previousFolder = QDir::currentPath();
    QTemporaryDir folder;
    QuietWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    Form1 form{window, clock, &sound};
    int exits = 0;
};

// One scene: what a player does from the start screen, named.
struct Scene {
    const char* name;
    std::function<void(ClassicGame&)> play;
};

const Scene kScenes[] = {
    {"start", [](ClassicGame&) {}},
    {"one_player_first_round",
     [](ClassicGame& g) {
         g.call(&Form1::JYUNBAN_1_Click);
         g.qinOpens();
     }},
    {"one_player_guide_picked",
     [](ClassicGame& g) {
         g.call(&Form1::JYUNBAN_1_Click);
         g.qinOpens();
         g.click(4, 10);  // 秦's 弓 picked: its destinations outlined
     }},
    {"computer_first_then_human",
     [](ClassicGame& g) {
         g.call(&Form1::LEVEL1_Click);
         g.call(&Form1::JYUNBAN_4_Click);
     }},
    {"seven_players_two_moves",
     [](ClassicGame& g) {
         g.call(&Form1::PLAY_7_Click);
         g.qinOpens();
         g.move(6, 15, 6, 14);
     }},
    {"review_back_twice",
     [](ClassicGame& g) {
         g.call(&Form1::PLAY_7_Click);
         g.qinOpens();
         g.move(6, 15, 6, 14);
         g.call(&Form1::REPLAY_Click);
         g.call(&Form1::REPLAY_Click);
     }},
    {"home_ends_the_game",
     [](ClassicGame& g) {
         g.call(&Form1::JYUNBAN_1_Click);
         g.qinOpens();
         g.call(&Form1::CANCEL_Click);
     }},
    {"refused_king_move",
     [](ClassicGame& g) {
         g.call(&Form1::PLAY_7_Click);
         // 秦's king alone beside 楚's sword: a step next to the sword is refused.
         Form1& f = g.form;
         for (int x = 1; x <= Form1::boardSize; ++x)
             for (int y = 1; y <= Form1::boardSize; ++y)
                 if (f.board[x][y] != Form1::centreCode) f.board[x][y] = Form1::emptyCode;
         f.board[4][10] = 10 * Form1::blockOfSeat(1) + Form1::OHU;
         f.board[5][12] = 10 * Form1::blockOfSeat(2) + Form1::KEN;
         f.board[15][15] = 10 * Form1::blockOfSeat(2) + Form1::OHU;
         f.table.手順保存(0);
         g.window.dispatch([](Form1& h) { h.画面_再描画(); });
         g.click(4, 10);  // picked: outlines
         g.click(5, 11);  // beside the sword: refused
     }},
    {"tatami_no_counts_no_guide",
     [](ClassicGame& g) {
         g.call(&Form1::TATAMI_Click);
         g.call(&Form1::mochikoma_Click);
         g.call(&Form1::SIDOU_Click);
         g.call(&Form1::PLAY_7_Click);
         g.qinOpens();
         g.click(6, 15);  // 楚's 行 picked, nothing outlined
     }},
    {"renga_level4_round",
     [](ClassicGame& g) {
         g.call(&Form1::RENGA_Click);
         g.call(&Form1::LEVEL4_Click);
         g.call(&Form1::JYUNBAN_2_Click);
     }},
};

// Qt's text drawing depends a little on what the process drew before, so
// each scene is played first thing in a process of its own: this test,
// started again for one scene, writes its fingerprint and picture to FOLDER.
TEST(ClassicScreens, OneScene) {
    const QString name = qEnvironmentVariable("DARO_CLASSIC_SCENE");
    const QString folder = qEnvironmentVariable("DARO_CLASSIC_FOLDER");
    if (name.isEmpty() || folder.isEmpty()) GTEST_SKIP() << "played for one scene by the test below";
    for (const Scene& scene : kScenes) {
        if (name != QLatin1String(scene.name)) continue;
        ClassicGame s;
        scene.play(s);
        ASSERT_EQ(s.exits, 0);
        QFile out(QDir(folder).absoluteFilePath(name + QStringLiteral(".txt")));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Text));
        out.write(s.fingerprint().toUtf8());
        s.window.canvas()->buffer().save(QDir(folder).absoluteFilePath(name + QStringLiteral(".png")));
        return;
    }
    FAIL() << "no scene " << name.toStdString();
}

QString fingerprintInItsOwnProcess(const char* scene, const QString& folder) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DARO_CLASSIC_SCENE"), QString::fromLatin1(scene));
    environment.insert(QStringLiteral("DARO_CLASSIC_FOLDER"), folder);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ClassicScreens.OneScene")});
    if (!child.waitForFinished(60000) || child.exitCode() != 0) return QStringLiteral("(the scene failed to play)");
    QFile in(QDir(folder).absoluteFilePath(QString::fromLatin1(scene) + QStringLiteral(".txt")));
    return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
}

TEST(ClassicScreens, EveryClassicSceneDrawsExactlyTheScreenItAlwaysDid) {
    const Reference reference = readReference();
    const QString writeTo = qEnvironmentVariable("DARO_WRITE_CLASSIC_SCREENS");
    if (writeTo.isEmpty()) {
        ASSERT_FALSE(reference.renderer.isEmpty()) << "no fingerprints in " << kReferenceFile;
        if (reference.renderer != renderer())
            GTEST_SKIP() << "the fingerprints were taken with " << reference.renderer.toStdString() << ", this is "
                         << renderer().toStdString();
    }
    // The pictures stay beside the test for a look; the written file's folder gets them too.
    const QString folder = writeTo.isEmpty() ? QDir::current().absoluteFilePath(QStringLiteral("classic_screens"))
                                             : QFileInfo(writeTo).absolutePath();
    QDir().mkpath(folder);
    QStringList written{renderer()};
    std::vector<std::string> differing;
    for (const Scene& scene : kScenes) {
        const QString seen = fingerprintInItsOwnProcess(scene.name, folder);
        written << QString::fromLatin1(scene.name) + QLatin1Char(' ') + seen;
        const auto it = reference.fingerprints.find(QString::fromLatin1(scene.name));
        if (it != reference.fingerprints.end() && it->second == seen) continue;
        differing.push_back(std::string(scene.name) + " (now " + folder.toStdString() + "/" + scene.name + ".png)");
    }
    if (!writeTo.isEmpty()) {
        QFile out(writeTo);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Text));
        out.write((written.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        return;
    }
    for (const std::string& name : differing) ADD_FAILURE() << "the classic screen changed: " << name;
}

// The fingerprint is able to tell: one outline in another colour, or one
// more text, makes another fingerprint; a scene played twice, each time in
// a process of its own, makes the same one.
TEST(ClassicScreens, OneSquareOutlinedOrOneLabelPrintedChangesTheFingerprint) {
    QTemporaryDir folder;
    const QString first = fingerprintInItsOwnProcess("review_back_twice", folder.path());
    EXPECT_EQ(fingerprintInItsOwnProcess("review_back_twice", folder.path()), first)
        << "a scene played twice differs: the comparison would be flaky";
    ClassicGame plain;
    const QString before = plain.fingerprint();
    plain.window.dispatch([](Form1& f) { f.描画_桝輪郭(Form1::colorWhite, 10, 10); });
    const QString outlined = plain.fingerprint();
    EXPECT_NE(outlined, before);
    plain.window.dispatch([](Form1& f) { f.描画_数値(-1, 5, std::string("王手"), Form1::colorBlack, 0, 14); });
    EXPECT_NE(plain.fingerprint(), outlined);
}

}  // namespace
}  // namespace daro::test
