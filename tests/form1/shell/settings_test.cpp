#include <filesystem>

#include "GameFixture.h"
#include "TempWorkingFolder.h"

namespace daro::test {
namespace {

// The lines in code page 932, as the game writes them.
const std::string guideOn = "\x88\xda\x93\xae\x8e\x77\x93\xb1" "=OK\r\n";
const std::string guideOff = "\x88\xda\x93\xae\x8e\x77\x93\xb1" "=NG\r\n";
const std::string iconsOn = "\xb1\xb2\xba\xdd\x95\x5c\x8e\xa6" "=OK\r\n";
const std::string capturesOn = "\x8e\x9d\x8b\xee\x90\x94\x95\x5c\x8e\xa6" "=OK\r\n";
const std::string capturesOff = "\x8e\x9d\x8b\xee\x90\x94\x95\x5c\x8e\xa6" "=NG\r\n";
const std::string backgroundKey = "\x94\x77\x8c\x69\x89\xe6" "=";
const std::string midori = "\x97\xce";
const std::string take = "\x92\x7c";
const std::string tatami = "\x8f\xf4";
const std::string defaultFile =
    guideOn + iconsOn + capturesOn + backgroundKey + midori + "\r\n" + "BGM=NG\r\n";

const std::string iniName = "ZT七国将棋.ini";
const std::vector<std::string> backgroundControls = {"MIDORI", "TAKE", "TATAMI", "UCHU", "RENGA"};

class SettingsFile : public GameFixture {
protected:
    TempWorkingFolder folder;

    // What the window and the form hold just before the file is read.
    void SetUp() override {
        window.setChecked("SIDOU", false);
        window.setChecked("AICON", true);
        window.setChecked("TATAMI", true);
        form.soundBgm = 5;
    }
    std::vector<std::string> checkedBackgrounds() const {
        std::vector<std::string> out;
        for (const auto& name : backgroundControls)
            if (window.isChecked(name)) out.push_back(name);
        return out;
    }
    std::string file() const { return TempWorkingFolder::read(iniName); }
    void expectDefaultsApplied() {
        EXPECT_EQ(file(), defaultFile);
        EXPECT_TRUE(window.isChecked("SIDOU"));
        EXPECT_TRUE(window.isChecked("AICON"));
        EXPECT_TRUE(window.isChecked("mochikoma"));
        EXPECT_FALSE(window.isChecked("BGM"));
        EXPECT_EQ(checkedBackgrounds(), std::vector<std::string>{"MIDORI"});
        EXPECT_EQ(form.backgroundCode, Form1::bgCodeMidori);
        EXPECT_EQ(form.guideColor, Form1::colorWhite);
        EXPECT_EQ(sound.argsOf("dsStop"), std::vector<std::int32_t>{5});
        EXPECT_TRUE(window.boxes.empty());
    }
};

TEST_F(SettingsFile, NoFileWritesTheFiveDefaultLinesAndAppliesThem) {
    form.読込_環境設定ファイル();
    expectDefaultsApplied();
    EXPECT_TRUE(sound.argsOf("dsPlayLooping").empty());
}

TEST_F(SettingsFile, MusicAloneStartsTheLoopAndLeavesTheOtherOptions) {
    TempWorkingFolder::write(iniName, "BGM=OK\n");  // LF alone is read as well
    form.読込_環境設定ファイル();
    EXPECT_EQ(sound.argsOf("dsPlayLooping"), std::vector<std::int32_t>{5});
    EXPECT_TRUE(window.isChecked("BGM"));
    EXPECT_FALSE(window.isChecked("SIDOU"));
    EXPECT_TRUE(window.isChecked("AICON"));
    EXPECT_FALSE(window.isChecked("mochikoma"));
    EXPECT_EQ(checkedBackgrounds(), std::vector<std::string>{"TATAMI"});
    EXPECT_EQ(form.backgroundCode, Form1::bgCodeTatami);
    EXPECT_EQ(file(), "BGM=OK\n");

    form.mochikoma_Click();
    EXPECT_EQ(file(), guideOff + iconsOn + capturesOn + backgroundKey + tatami + "\r\n" + "BGM=OK\r\n");
}

TEST_F(SettingsFile, BambooIsSelectedAndWrittenBack) {
    TempWorkingFolder::write(iniName, backgroundKey + take + "\r\n");
    form.読込_環境設定ファイル();
    EXPECT_EQ(checkedBackgrounds(), std::vector<std::string>{"TAKE"});
    EXPECT_EQ(form.backgroundCode, Form1::bgCodeTake);
    form.書込_環境設定ファイル();
    EXPECT_EQ(file(), guideOff + iconsOn + capturesOff + backgroundKey + take + "\r\n" + "BGM=NG\r\n");
}

TEST_F(SettingsFile, ValuesAndKeysMatchOnlyExactly) {
    const std::string content = guideOn.substr(0, 8) + "=ok\r\n" +   // lower case
                                "BGM=\x82\x6e\x82\x6a\r\n" +          // full-width ＯＫ
                                "bgm=OK\r\n" + backgroundKey + "\x97\xce\x97\xce\r\n" + "=\r\n";
    TempWorkingFolder::write(iniName, content);
    form.読込_環境設定ファイル();
    EXPECT_FALSE(window.isChecked("SIDOU"));
    EXPECT_EQ(form.guideColor, Form1::colorGreen);
    EXPECT_FALSE(window.isChecked("BGM"));
    EXPECT_EQ(checkedBackgrounds(), std::vector<std::string>{"TATAMI"});
    EXPECT_TRUE(sound.calls.empty());
    EXPECT_EQ(file(), content);
}

TEST_F(SettingsFile, FilesThatAreNotSettingsGiveWayToTheDefaults) {
    std::string huge;
    while (huge.size() < 200 * 1024) huge += "BGM=OK\r\n";
    const std::string binary = "BGM=OK\r\n" + std::string("\x00\xff\x81\x0a=\xfe\x00", 7);
    const std::string noEquals = "BGM=OK\r\nBGM\r\n" + capturesOff;
    // The whole file is judged before anything of it is applied: lines before
    // the fault start no music that the defaults would stop again at once.
    // An empty file or one of blank lines holds no options either.
    for (const std::string& content : {huge, binary, noEquals, std::string(), std::string("\r\n\r\n")}) {
        sound.calls.clear();
        TempWorkingFolder::write(iniName, content);
        form.読込_環境設定ファイル();
        expectDefaultsApplied();
        EXPECT_TRUE(sound.argsOf("dsPlayLooping").empty());
    }
}

TEST_F(SettingsFile, UnwritableFileLeavesTheDefaultsInMemoryWithoutAMessage) {
    // Tests may run as root, where permissions stop nothing: a folder in the
    // file's place cannot be read nor written.
    std::filesystem::create_directory(TempWorkingFolder::named(iniName));
    form.読込_環境設定ファイル();
    EXPECT_TRUE(window.isChecked("mochikoma"));
    EXPECT_EQ(checkedBackgrounds(), std::vector<std::string>{"MIDORI"});
    EXPECT_EQ(form.guideColor, Form1::colorWhite);
    EXPECT_TRUE(std::filesystem::is_directory(TempWorkingFolder::named(iniName)));

    // The writer falls back to the default lines, and marks 緑 for them.
    form.RENGA_Click();
    EXPECT_EQ(checkedBackgrounds(), std::vector<std::string>{"MIDORI"});
    EXPECT_EQ(form.backgroundCode, Form1::bgCodeRenga);
    EXPECT_TRUE(window.boxes.empty());
}

TEST_F(SettingsFile, ClickingAnOptionTwiceRestoresTheFile) {
    form.読込_環境設定ファイル();
    ASSERT_EQ(file(), defaultFile);
    form.SIDOU_Click();
    EXPECT_EQ(file().substr(0, guideOff.size()), guideOff);
    form.SIDOU_Click();
    EXPECT_EQ(file(), defaultFile);
    form.AICON_Click();
    form.AICON_Click();
    EXPECT_EQ(file(), defaultFile);
    form.mochikoma_Click();
    EXPECT_NE(file().find(capturesOff), std::string::npos);
    form.mochikoma_Click();
    EXPECT_EQ(file(), defaultFile);
    sound.calls.clear();
    form.BGM_Click();
    EXPECT_NE(file().find("BGM=OK\r\n"), std::string::npos);
    form.BGM_Click();
    EXPECT_EQ(file(), defaultFile);
    EXPECT_EQ(sound.argsOf("dsPlayLooping"), std::vector<std::int32_t>{5});
    EXPECT_EQ(sound.argsOf("dsStop"), std::vector<std::int32_t>{5});
    form.TAKE_Click();
    EXPECT_EQ(form.backgroundCode, Form1::bgCodeTake);
    EXPECT_NE(file().find(backgroundKey + take), std::string::npos);
    form.MIDORI_Click();
    EXPECT_EQ(file(), defaultFile);
    // The checked background still rewrites the file.
    std::filesystem::remove(TempWorkingFolder::named(iniName));
    form.MIDORI_Click();
    EXPECT_EQ(file(), defaultFile);
    EXPECT_EQ(checkedBackgrounds(), std::vector<std::string>{"MIDORI"});
}

TEST_F(SettingsFile, TurningGuidanceOffRepaintsAll361Outlines) {
    window.setChecked("SIDOU", true);
    form.guideColor = Form1::colorWhite;
    window.clearCalls();
    form.SIDOU_Click();
    int outlines = 0;
    for (const auto& r : window.callsOf(WindowCall::Kind::Rectangle)) outlines += r.code == form.gridColor;
    EXPECT_EQ(outlines, 361);
    EXPECT_EQ(form.guideColor, form.gridColor);
    EXPECT_FALSE(window.isChecked("SIDOU"));

    window.clearCalls();
    form.SIDOU_Click();
    EXPECT_TRUE(window.callsOf(WindowCall::Kind::Rectangle).empty());
    EXPECT_EQ(form.guideColor, Form1::colorWhite);
}

}  // namespace
}  // namespace daro::test
