// Start-up and the ways out. The sound and settings parts are skipped while
// those modules are not built in yet.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "GameFixture.h"

namespace daro::test {
namespace {

using Kind = WindowCall::Kind;
namespace fs = std::filesystem;

bool soundModuleBuiltIn() {
    RecordingWindow w;
    RecordingSoundLibrary library;
    Module1 probe(&library, w);
    probe.InitSound(1);
    return !library.calls.empty();
}

// Notes how many window calls came before each sound call.
struct MarkingSound : RecordingSoundLibrary {
    explicit MarkingSound(const RecordingWindow& w) : window(w) {}
    std::int32_t dsInitialize(std::int32_t h) override {
        windowCallsBefore.push_back(window.calls.size());
        return RecordingSoundLibrary::dsInitialize(h);
    }
    std::int32_t dsCreateDSB(std::int32_t d, const std::uint8_t* i, std::size_t n, std::int32_t f) override {
        windowCallsBefore.push_back(window.calls.size());
        return RecordingSoundLibrary::dsCreateDSB(d, i, n, f);
    }
    const RecordingWindow& window;
    std::vector<std::size_t> windowCallsBefore;
};

// Start-up in a folder of its own: the five wave files, no settings file.
class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        home = fs::current_path();
        folder = fs::temp_directory_path() /
                 (std::string("daro-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        fs::current_path(folder);
        // Sizes tell the files apart in the recorded calls.
        const char* waves[] = {"その他.wav", "禁止.wav", "駒打音.wav", "終局.wav", "BGM.wav"};
        for (std::size_t i = 0; i < 5; ++i) std::ofstream(waves[i], std::ios::binary) << std::string(101 + i, 'w');
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
    }

    fs::path home, folder;
    RecordingWindow window;
    InstantClock clock;
    MarkingSound sound{window};
    Form1 form{window, clock, &sound};
};

TEST_F(StartUp, MenuDefaultsThenIconsThenColoursThenTheFirstPositionThenPlacement) {
    form.Form_Load();

    const std::pair<const char*, int> defaults[] = {{"SIDOU", 0}, {"LEVEL3", 1}, {"AICON", 1}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(window.calls[i].text, defaults[i].first);
        EXPECT_EQ(window.calls[i].code, defaults[i].second);
    }
    // The fourteen icons, a kingdom's computer and human icon at one place.
    EXPECT_EQ(window.calls[3].text, "ICO_COM_GI");
    EXPECT_EQ(window.callsOf(Kind::IconPosition).size(), 14u);
    const std::tuple<const char*, int, int> places[] = {{"GI", 10160, 3000}, {"EN", 3600, 120},  {"SAI", 10160, 6720},
                                                        {"CHO", 7420, 120},  {"SOU", 940, 4800}, {"TEI", 3600, 9360},
                                                        {"KAN", 7420, 9360}};
    for (auto [prefix, left, top] : places) {
        const std::pair<int, int> at{left, top};
        EXPECT_EQ(window.iconPosition[std::string("ICO_COM_") + prefix], at) << prefix;
        EXPECT_EQ(window.iconPosition[std::string("ICO_MAN_") + prefix], at) << prefix;
    }
    EXPECT_EQ(window.calls[17].kind, Kind::BackColor);
    EXPECT_EQ(window.backColor, Form1::colorGreen);
    EXPECT_EQ(form.gridColor, Form1::colorGreen);

    // The first position is drawn, title last, and then the window placed.
    ASSERT_GE(window.calls.size(), 20u);
    EXPECT_EQ(window.calls[window.calls.size() - 2].code, Form1::titlePictureCode);
    EXPECT_EQ(window.pictureAt(form.twipsX(1), form.twipsY(10)), 59);
    EXPECT_EQ(window.calls.back().kind, Kind::Place);
    EXPECT_EQ(std::vector<int>({window.left, window.top, window.width, window.height}),
              std::vector<int>({-60, -60, 14000, 11000}));

    EXPECT_EQ(form.gameStarted, Form1::valueNo);
    EXPECT_EQ(form.turnSeat, Form1::noSeat);
    EXPECT_EQ(form.computerLevel, 3);
    EXPECT_TRUE(window.isChecked("LEVEL3"));

    window.clearCalls();
    window.top = -60;  // already in place: left where it is
    form.Form_Load();
    EXPECT_TRUE(window.callsOf(Kind::Place).empty());
}

TEST_F(StartUp, SettingsAreReadAfterTheDefaultsAndBeforeTheFirstPosition) {
    form.Form_Load();
    if (!fs::exists(fs::path(u8"ZT七国将棋.ini"))) GTEST_SKIP() << "settings reader not built in";

    // A missing file means the default options: they paint their background
    // and set their last mark before the first position is drawn.
    std::vector<std::size_t> backgrounds;
    std::size_t lastCheck = 0;
    for (std::size_t i = 0; i < window.calls.size(); ++i) {
        const WindowCall& c = window.calls[i];
        if (c.kind == Kind::Picture && c.x == -295 && c.y == -800) backgrounds.push_back(i);
        if (c.kind == Kind::Check) lastCheck = i;
    }
    ASSERT_EQ(backgrounds.size(), 2u);
    EXPECT_GT(backgrounds[0], 17u);
    EXPECT_LT(lastCheck, backgrounds[1]);
    EXPECT_TRUE(window.isChecked("SIDOU"));  // the file's choice wins over the default
    EXPECT_TRUE(window.isChecked("LEVEL3"));
}

TEST_F(StartUp, SoundComesFirstEachFileIntoItsOwnBuffer) {
    if (!soundModuleBuiltIn()) GTEST_SKIP() << "sound module not built in";
    form.Form_Load();
    EXPECT_EQ(sound.argsOf("dsInitialize"), std::vector<std::int32_t>{window.handle});
    std::vector<std::size_t> lengths;
    std::vector<std::int32_t> flags;
    for (const auto& c : sound.calls)
        if (c.op == "dsCreateDSB") {
            lengths.push_back(c.length);
            flags.push_back(c.flags);
        }
    EXPECT_EQ(lengths, (std::vector<std::size_t>{101, 102, 103, 104, 105}));
    EXPECT_EQ(flags, (std::vector<std::int32_t>{3, 3, 3, 3, 1}));
    EXPECT_EQ((std::vector<std::int32_t>{form.soundOther, form.soundForbidden, form.soundPiece, form.soundGameEnd,
                                         form.soundBgm}),
              (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
    ASSERT_EQ(sound.windowCallsBefore.size(), 6u);
    for (std::size_t n : sound.windowCallsBefore) EXPECT_EQ(n, 0u);
}

class WaysOut : public GameFixture {};

TEST_F(WaysOut, EachWayOutEndsTheProgramOnceAndLaterOnesDoNothing) {
    form.Form_KeyPress(13);
    form.Form_KeyPress('q');
    EXPECT_FALSE(form.ended);
    EXPECT_EQ(window.endCount, 0);

    EXPECT_THROW(form.Form_KeyPress(27), ProgramEnded);
    EXPECT_NO_THROW(form.Form_Unload());
    EXPECT_NO_THROW(form.OWARI_Click());
    EXPECT_NO_THROW(form.Form_KeyPress(27));
    EXPECT_EQ(window.endCount, 1);

    for (auto wayOut : {&Form1::Form_Unload, &Form1::OWARI_Click}) {
        RecordingWindow otherWindow;
        Form1 other{otherWindow, clock, &sound};
        EXPECT_THROW((other.*wayOut)(), ProgramEnded);
        EXPECT_TRUE(other.ended);
        EXPECT_NO_THROW(other.Form_Unload());
        EXPECT_EQ(otherWindow.endCount, 1);
    }
}

// A game over releases the sound and ends the program itself; a close that
// follows must not release it again.
TEST_F(WaysOut, EndProcessingFreesTheFiveBuffersThenClosesTheDeviceOnce) {
    if (!soundModuleBuiltIn()) GTEST_SKIP() << "sound module not built in";
    form.module1.soundDevice = sound.device;
    form.soundOther = 11;
    form.soundForbidden = 12;
    form.soundPiece = 13;
    form.soundGameEnd = 14;
    form.soundBgm = 15;
    form.終了処理();
    EXPECT_EQ(sound.argsOf("dsFree"), (std::vector<std::int32_t>{11, 12, 13, 14, 15}));
    ASSERT_FALSE(sound.calls.empty());
    EXPECT_EQ(sound.calls.back().op, "dsTerminate");
    EXPECT_EQ(window.endCount, 0);

    EXPECT_NO_THROW(form.Form_Unload());
    EXPECT_EQ(sound.argsOf("dsFree").size(), 5u);
    EXPECT_EQ(sound.argsOf("dsTerminate").size(), 1u);
}

}  // namespace
}  // namespace daro::test
