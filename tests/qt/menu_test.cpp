// The menu bar as designed, and who owns its check marks.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "QtFixture.h"

namespace daro::test {
namespace {

// One line per item: indent, object name, caption, and [x] / [ ] for
// checkable items with their mark.
void outline(const QList<QAction*>& actions, int depth, QStringList& out) {
    for (QAction* a : actions) {
        if (a->isSeparator()) continue;
        QString line = QString(depth * 2, QLatin1Char(' ')) + a->objectName() + QLatin1Char(' ') + a->text();
        if (a->isCheckable()) line += a->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]");
        out << line;
        if (a->menu()) outline(a->menu()->actions(), depth + 1, out);
    }
}

TEST_F(QtWindowTest, MenuBarHasTheDesignedCaptionsNamesAndMarks) {
    QStringList seen;
    outline(window.menuBar()->actions(), 0, seen);
    const QStringList expected = {
        "TAIKYOKU 対局",
        "  TAIKYOKU_SYURUI 対局",
        "    PLAY_1 1_PLAY",
        "      JYUNBAN_1 １番目(秦)",
        "      JYUNBAN_2 2番目(楚)",
        "      JYUNBAN_3 3番目(韓)",
        "      JYUNBAN_4 4番目(斉)",
        "      JYUNBAN_5 5番目(魏)",
        "      JYUNBAN_6 6番目(趙)",
        "      JYUNBAN_7 7番目(燕)",
        "    PLAY_7 7_PLAY",
        "    FREE_PLAY 自由対局...",
        "    NET_PLAY ネット対局...",
        "  LEVEL COM対局ﾚﾍﾞﾙ",
        "    LEVEL1 LEVEL1 [ ]",
        "    LEVEL2 LEVEL2 [ ]",
        "    LEVEL3 LEVEL3 [ ]",
        "    LEVEL4 LEVEL4 [ ]",
        "    LEVEL5 LEVEL5 [ ]",
        "  SHINKI 新しい対局",
        "  OWARI 終わり",
        "STOP 局面",
        "  CANCEL 最初",
        "  SAVE 保存...",
        "  OPEN 開く...",
        "  ZENKAI 前回の続き",
        "  MATTA 自分の番まで戻る",
        "  KIFU 棋譜",
        "REPLAY 戻",
        "AFTER 進",
        "GENZAI 今の局面へ",
        "OPTION ｵﾌﾟｼｮﾝ",
        "  SIDOU 移動指導 [x]",
        "  AICON ｱｲｺﾝ表示 [ ]",
        "  mochikoma 持駒数表示 [ ]",
        "  HAIKEI_GA 背景画",
        "    MIDORI 緑 [ ]",
        "    TATAMI 畳 [x]",
        "    TAKE 竹 [ ]",
        "    UCHU 宇宙 [ ]",
        "    RENGA 煉瓦 [ ]",
        "  BGM BGM [ ]",
        "  KOUKAON_NASHI 効果音なし [ ]",
        "  TE_HYOUJI 手の表示 [x]",
        "  OUTE 王手の表示 [x]",
        "  TEBAN_OTO 手番の音 [x]",
        "  HAYASA 速さ",
        "    HAYASA_HYOUJUN 標準 [x]",
        "    HAYASA_HAYAI 速い [ ]",
        "    HAYASA_SAISOKU 最速 [ ]",
        "  LANGUAGE 言語 / Language",
        "    LANGUAGE_ja 日本語 [x]",
        "    LANGUAGE_en English [ ]",
        "SONOTA その他",
        "  ASOBIKATA 遊び方",
        "  HINT ヒント",
        "  VER ﾊﾞｰｼﾞｮﾝ情報",
    };
    EXPECT_EQ(seen.join('\n').toStdString(), expected.join('\n').toStdString());
    // 戻 and 進 are commands on the bar itself; 今の局面へ too, hidden until
    // an earlier position is shown.
    EXPECT_FALSE(window.menuItem(QStringLiteral("GENZAI"))->isVisible());
    for (const char* name : {"REPLAY", "AFTER", "GENZAI"}) {
        QAction* a = window.menuItem(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->menu(), nullptr) << name;
        EXPECT_TRUE(window.menuBar()->actions().contains(a)) << name;
    }
}

TEST_F(QtWindowTest, CheckMarksAreSetAndReadByControlName) {
    EXPECT_TRUE(window.isChecked("SIDOU"));
    EXPECT_TRUE(window.isChecked("TATAMI"));
    EXPECT_FALSE(window.isChecked("MIDORI"));
    window.setChecked("BGM", true);
    window.setChecked("SIDOU", false);
    EXPECT_TRUE(window.isChecked("BGM"));
    EXPECT_TRUE(window.menuItem("BGM")->isChecked());
    EXPECT_FALSE(window.isChecked("SIDOU"));
    EXPECT_FALSE(window.menuItem("SIDOU")->isChecked());
    window.setChecked("NO_SUCH_ITEM", true);
    EXPECT_FALSE(window.isChecked("NO_SUCH_ITEM"));
}

void expectMarks(const qt::MainWindow& window, const QStringList& checked) {
    for (const char* name : {"SIDOU", "AICON", "mochikoma", "MIDORI", "TATAMI", "TAKE", "UCHU", "RENGA", "BGM",
                             "LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4"}) {
        const bool want = checked.contains(QLatin1String(name));
        EXPECT_EQ(window.isChecked(name), want) << name;
        EXPECT_EQ(window.menuItem(QLatin1String(name))->isChecked(), want) << name << " on the menu";
    }
}

TEST_F(QtWindowTest, StartUpMarksTheDefaultOptionsAndLevelThree) {
#ifdef DARO_SETTINGS_PENDING
    GTEST_SKIP() << "the settings file is not read yet";
#endif
    window.load();
    expectMarks(window, {"SIDOU", "AICON", "mochikoma", "MIDORI", "LEVEL3"});
}

// Qt must not toggle a mark on its own: each handler reads the mark and sets
// it, so a second toggle would undo the choice.
TEST_F(QtWindowTest, EachChoiceChangesTheMarksOnceThroughItsHandler) {
#if defined(DARO_SETTINGS_PENDING) || defined(DARO_MODES_PENDING)
    GTEST_SKIP() << "the option and level commands are not there yet";
#endif
    window.load();
    window.menuItem("SIDOU")->trigger();
    expectMarks(window, {"AICON", "mochikoma", "MIDORI", "LEVEL3"});
    window.menuItem("SIDOU")->trigger();
    window.menuItem("BGM")->trigger();
    window.menuItem("TAKE")->trigger();
    window.menuItem("LEVEL2")->trigger();
    expectMarks(window, {"SIDOU", "AICON", "mochikoma", "TAKE", "BGM", "LEVEL2"});
    EXPECT_EQ(form.computerLevel, 2);
    EXPECT_EQ(form.backgroundCode, Form1::bgCodeTake);
}
}  // namespace
}  // namespace daro::test
