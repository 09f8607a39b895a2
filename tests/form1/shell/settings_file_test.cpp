// The settings file at the edges: whatever lies in its place, whatever editor
// saved it, and whatever happens while it is written.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "GameFixture.h"
#include "TempWorkingFolder.h"
#include "shell/RegularFile.h"

namespace daro::test {
namespace {

namespace fs = std::filesystem;

const std::string iniName = "ZT七国将棋.ini";

// One set of options, away from every default, as the game writes it
// (code page 932, CR LF) and as a modern editor saves it (UTF-8).
const std::vector<std::string> shiftJisLines = {
    "\x88\xda\x93\xae\x8e\x77\x93\xb1=NG",          // 移動指導
    "\xb1\xb2\xba\xdd\x95\x5c\x8e\xa6=NG",          // ｱｲｺﾝ表示
    "\x8e\x9d\x8b\xee\x90\x94\x95\x5c\x8e\xa6=OK",  // 持駒数表示
    "\x94\x77\x8c\x69\x89\xe6=\x92\x7c",            // 背景画=竹
    "BGM=OK",
};
const std::vector<std::string> utf8Lines = {"移動指導=NG", "ｱｲｺﾝ表示=NG", "持駒数表示=OK", "背景画=竹", "BGM=OK"};

std::string joined(const std::vector<std::string>& lines, const std::string& end) {
    std::string out;
    for (const auto& line : lines) out += line + end;
    return out;
}

const std::string asWritten = joined(shiftJisLines, "\r\n");

class SettingsFileEdges : public GameFixture {
protected:
    TempWorkingFolder folder;

    void SetUp() override { startUpState(); }
    void startUpState() {
        window.setChecked("SIDOU", false);
        window.setChecked("AICON", true);
        window.setChecked("mochikoma", false);
        window.setChecked("BGM", false);
        form.チェック設定(Form1::bgCodeTatami);
        form.soundBgm = 5;
        sound.calls.clear();
        window.clearCalls();
    }
    std::string file() const { return TempWorkingFolder::read(iniName); }
    // The options of shiftJisLines are in force.
    bool optionsRead() const {
        return !window.isChecked("SIDOU") && !window.isChecked("AICON") && window.isChecked("mochikoma") &&
               window.isChecked("TAKE") && !window.isChecked("TATAMI") && form.backgroundCode == Form1::bgCodeTake &&
               window.isChecked("BGM");
    }
};

TEST_F(SettingsFileEdges, BlankLinesEveryLineEndAndUtf8ReadTheSameOptions) {
    const std::vector<std::string> forms = {
        "\r\n" + joined(shiftJisLines, "\r\n\r\n") + "\r\n",  // blank lines, a trailing one too
        joined(shiftJisLines, "\r"),
        joined(shiftJisLines, "\n"),
        joined(utf8Lines, "\n"),
        "\xef\xbb\xbf" + joined(utf8Lines, "\r\n"),
    };
    for (const auto& content : forms) {
        startUpState();
        TempWorkingFolder::write(iniName, content);
        form.読込_環境設定ファイル();
        EXPECT_TRUE(optionsRead()) << content;
        EXPECT_EQ(sound.argsOf("dsPlayLooping"), std::vector<std::int32_t>{5});
        EXPECT_EQ(file(), content) << "reading alone never rewrites the file";
        form.書込_環境設定ファイル();
        EXPECT_EQ(file(), asWritten);
    }
}

TEST_F(SettingsFileEdges, AFileFullOfBackgroundLinesPaintsTheBackgroundOnce) {
    const std::string bamboo = shiftJisLines[3] + "\r\n";
    const std::string space = "\x94\x77\x8c\x69\x89\xe6=\x89\x46\x92\x88\r\n";  // 背景画=宇宙
    const std::string brick = "\x94\x77\x8c\x69\x89\xe6=\x97\xf9\x8a\xa2\r\n";  // 背景画=煉瓦
    std::string content;
    while (content.size() + bamboo.size() + space.size() + brick.size() <= 64 * 1024) content += bamboo + space;
    content += brick;
    TempWorkingFolder::write(iniName, content);
    form.読込_環境設定ファイル();
    const auto pictures = window.callsOf(WindowCall::Kind::Picture);
    EXPECT_EQ(pictures.size(), 34u * 25u);
    for (const auto& p : pictures) ASSERT_EQ(p.code, Form1::bgCodeRenga);
    EXPECT_EQ(form.backgroundCode, Form1::bgCodeRenga);
    EXPECT_TRUE(window.isChecked("RENGA"));
}

// Start-up runs in a child process that a watchdog ends if it ever waits.
TEST_F(SettingsFileEdges, PipesInPlaceOfTheFilesNeitherBlockStartUpNorGetReplaced) {
    ASSERT_EQ(mkfifo(TempWorkingFolder::named(iniName).c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(TempWorkingFolder::named("駒打音.wav").c_str(), 0600), 0);
    EXPECT_EXIT(
        {
            alarm(1);
            form.Form_Load();
            const bool defaults = window.isChecked("MIDORI") && window.isChecked("mochikoma");
            const bool warned = window.boxes.size() == 1 &&
                                window.boxes[0].text == "駒打音.wav: 通常のファイルではありません";
            std::_Exit(defaults && warned ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(fs::is_fifo(TempWorkingFolder::named(iniName)));
    EXPECT_TRUE(fs::is_fifo(TempWorkingFolder::named("駒打音.wav")));
}

TEST_F(SettingsFileEdges, AKillBetweenWritingAndRenamingLeavesTheOldFile) {
    TempWorkingFolder::write(iniName, asWritten);
    form.読込_環境設定ファイル();
    EXPECT_EXIT(
        {
            afterNewFileWritten = [] { raise(SIGKILL); };
            form.SIDOU_Click();
        },
        ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(file(), asWritten);

    // The next start finds the options, and the next write goes through.
    startUpState();
    form.読込_環境設定ファイル();
    EXPECT_TRUE(optionsRead());
    form.SIDOU_Click();
    EXPECT_EQ(file().substr(0, 13), "\x88\xda\x93\xae\x8e\x77\x93\xb1=OK\r\n");
}

TEST_F(SettingsFileEdges, AWriteThatFailsLeavesTheOldFileAndChecksTheDefaultBackground) {
    TempWorkingFolder::write(iniName, asWritten);
    form.読込_環境設定ファイル();
    // A file-size limit fails the write after a few bytes, as a full disk would.
    EXPECT_EXIT(
        {
            signal(SIGXFSZ, SIG_IGN);
            rlimit tiny{};
            tiny.rlim_cur = tiny.rlim_max = 8;
            setrlimit(RLIMIT_FSIZE, &tiny);
            form.SIDOU_Click();
            const bool failurePath = window.isChecked("MIDORI") && !window.isChecked("TAKE");
            std::_Exit(failurePath ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(file(), asWritten);
}

TEST_F(SettingsFileEdges, ALinkedSettingsFileHasTheFileItPointsToReplaced) {
    fs::create_directory("managed");
    TempWorkingFolder::write("managed/daro.ini", asWritten);
    fs::create_symlink("managed/daro.ini", TempWorkingFolder::named(iniName));
    fs::permissions("managed/daro.ini", fs::perms::owner_read | fs::perms::owner_write);
    form.読込_環境設定ファイル();
    form.BGM_Click();
    EXPECT_TRUE(fs::is_symlink(TempWorkingFolder::named(iniName)));
    EXPECT_EQ(TempWorkingFolder::read("managed/daro.ini"),
              joined({shiftJisLines[0], shiftJisLines[1], shiftJisLines[2], shiftJisLines[3], "BGM=NG"}, "\r\n"));
    EXPECT_EQ(fs::status("managed/daro.ini").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // Nothing is left behind beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator("managed"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace daro::test
