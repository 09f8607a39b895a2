#include <gtest/gtest.h>

#include <filesystem>

#include "RecordingSoundLibrary.h"
#include "RecordingWindow.h"
#include "TempWorkingFolder.h"
#include "../../soundlib/WaveImage.h"
#include "shell/Module1.h"

namespace daro::test {
namespace {

const std::string noDeviceText = "Direct Soundインターフェースが作成できません。";
const std::string tooLargeText = "ファイルが大きすぎます (64 MiB まで)";
const std::string smallWave = "RIFF....WAVEfmt and so on";  // the recording library takes any bytes

// A library that refuses every image, as the real one refuses a corrupt file.
class RefusingSoundLibrary : public RecordingSoundLibrary {
public:
    std::int32_t dsCreateDSB(std::int32_t dev, const std::uint8_t* image, std::size_t length,
                             std::int32_t flags) override {
        RecordingSoundLibrary::dsCreateDSB(dev, image, length, flags);
        return 0;
    }
};

class SoundModule : public ::testing::Test {
protected:
    TempWorkingFolder folder;
    RecordingWindow window;
    RecordingSoundLibrary sound;

    void expectOneWarning(const std::string& textPart) {
        ASSERT_EQ(window.boxes.size(), 1u);
        EXPECT_NE(window.boxes[0].text.find(textPart), std::string::npos) << window.boxes[0].text;
        EXPECT_EQ(window.boxes[0].title, "ZT七国将棋.dll");
        EXPECT_EQ(window.boxes[0].buttons, BoxButtons::Ok);
        EXPECT_EQ(window.boxes[0].icon, BoxIcon::Warning);
    }
    int createCalls() const { return int(sound.argsOf("dsCreateDSB").size()); }
};

TEST_F(SoundModule, MissingLibraryWarnsOnceAndLeavesEverySoundSilent) {
    TempWorkingFolder::write("駒打音.wav", smallWave);
    Module1 module{nullptr, window};
    module.InitSound(window.handle);
    EXPECT_EQ(module.LoadSound("駒打音.wav", 3), 0);
    EXPECT_EQ(module.LoadSound("BGM.wav", 1), 0);
    module.play(5);
    module.playLooping(5);
    module.stop(5);
    module.free(5);
    module.TermSound();
    expectOneWarning(noDeviceText);
    EXPECT_EQ(window.boxes[0].text, noDeviceText);
}

TEST_F(SoundModule, NoDeviceWarnsOnceAtStartUpNotOncePerFile) {
    sound.device = 0;
    for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "終局.wav", "BGM.wav"})
        TempWorkingFolder::write(name, smallWave);
    Module1 module{&sound, window};
    module.InitSound(window.handle);
    EXPECT_EQ(sound.argsOf("dsInitialize"), std::vector<std::int32_t>{window.handle});
    for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "終局.wav", "BGM.wav"})
        EXPECT_EQ(module.LoadSound(name, 3), 0);
    module.TermSound();
    expectOneWarning(noDeviceText);
    EXPECT_EQ(createCalls(), 0);
    EXPECT_TRUE(sound.argsOf("dsTerminate").empty());
}

TEST_F(SoundModule, ReadableFileBecomesABufferWithItsBytesAndFlags) {
    TempWorkingFolder::write("BGM.wav", smallWave);
    Module1 module{&sound, window};
    module.InitSound(window.handle);
    const std::int32_t handle = module.LoadSound("BGM.wav", 1);
    EXPECT_NE(handle, 0);
    ASSERT_EQ(createCalls(), 1);
    EXPECT_EQ(sound.calls.back().arg, sound.device);
    EXPECT_EQ(sound.calls.back().length, smallWave.size());
    EXPECT_EQ(sound.calls.back().flags, 1);
    EXPECT_TRUE(window.boxes.empty());

    module.TermSound();
    module.TermSound();
    EXPECT_EQ(sound.argsOf("dsTerminate"), std::vector<std::int32_t>{sound.device});
}

TEST_F(SoundModule, MissingFileIsSilentAndEachUnreadableOneWarnsOnceByName) {
    TempWorkingFolder::write("禁止.wav", "");
    // A folder in the file's place cannot be read as a file.
    std::filesystem::create_directory(TempWorkingFolder::named("その他.wav"));
    // Sparse: nothing of it is written, and nothing of it may be read.
    TempWorkingFolder::write("BGM.wav", "");
    std::filesystem::resize_file(TempWorkingFolder::named("BGM.wav"), 64ull * 1024 * 1024 + 1);

    Module1 module{&sound, window};
    module.InitSound(window.handle);
    EXPECT_EQ(module.LoadSound("終局.wav", 3), 0);
    EXPECT_TRUE(window.boxes.empty());
    const std::vector<std::string> unreadable = {"禁止.wav", "その他.wav", "BGM.wav"};
    for (const auto& name : unreadable) EXPECT_EQ(module.LoadSound(name, 3), 0);
    ASSERT_EQ(window.boxes.size(), unreadable.size());
    for (std::size_t i = 0; i < unreadable.size(); ++i) {
        EXPECT_EQ(window.boxes[i].text.find(unreadable[i]), 0u) << window.boxes[i].text;
        EXPECT_EQ(window.boxes[i].title, "ZT七国将棋.dll");
        EXPECT_EQ(window.boxes[i].icon, BoxIcon::Warning);
    }
    EXPECT_EQ(window.boxes[0].text, "禁止.wav: ファイルが空です");
    EXPECT_EQ(window.boxes[1].text, "その他.wav: ファイルではなくフォルダです");
    EXPECT_EQ(window.boxes[2].text, "BGM.wav: " + tooLargeText);
    EXPECT_EQ(createCalls(), 0);
}

TEST_F(SoundModule, AFileTheLibraryRefusesWarnsOnceWithTheReason) {
    RefusingSoundLibrary refusing;
    const std::vector<std::uint8_t> wave = levelWave(4, 100);
    TempWorkingFolder::write("駒打音.wav", smallWave);
    TempWorkingFolder::write("BGM.wav", std::string(wave.begin(), wave.end()));
    Module1 module{&refusing, window};
    module.InitSound(window.handle);
    EXPECT_EQ(module.LoadSound("駒打音.wav", 3), 0);
    expectOneWarning("駒打音.wav: 再生できる形式の音声ではありません");
    // A wave it can read but refuses would take too much memory once converted.
    window.boxes.clear();
    EXPECT_EQ(module.LoadSound("BGM.wav", 1), 0);
    expectOneWarning("BGM.wav: " + tooLargeText);
}

TEST_F(SoundModule, PlayRequestsForHandleZeroNeverReachTheLibrary) {
    Module1 module{&sound, window};
    module.InitSound(window.handle);
    sound.calls.clear();
    module.play(0);
    module.playLooping(0);
    module.stop(0);
    module.free(0);
    EXPECT_TRUE(sound.calls.empty());

    module.play(3);
    module.playLooping(4);
    module.stop(4);
    module.free(3);
    ASSERT_EQ(sound.calls.size(), 4u);
    EXPECT_EQ(sound.argsOf("dsPlay"), std::vector<std::int32_t>{3});
    EXPECT_EQ(sound.argsOf("dsPlayLooping"), std::vector<std::int32_t>{4});
    EXPECT_EQ(sound.argsOf("dsStop"), std::vector<std::int32_t>{4});
    EXPECT_EQ(sound.argsOf("dsFree"), std::vector<std::int32_t>{3});
}

// A machine without sound warns at its first start only: the window keeps
// the fact, and every later start (with or without the library) is quiet.
// A warning about a file is not that fact and comes at every start.
TEST_F(SoundModule, TheNoDeviceWarningIsGivenOncePerInstallationWhileFileWarningsStay) {
    TempWorkingFolder::write("禁止.wav", "");
    for (int start = 1; start <= 3; ++start) {
        window.boxes.clear();
        sound.device = 0;
        Module1 silent{start == 2 ? nullptr : &sound, window};
        silent.InitSound(window.handle);
        EXPECT_EQ(window.boxes.size(), start == 1 ? 1u : 0u) << "start " << start;
    }
    sound.device = 7;
    Module1 sounding{&sound, window};
    sounding.InitSound(window.handle);
    EXPECT_EQ(sounding.LoadSound("禁止.wav", 3), 0);
    expectOneWarning("禁止.wav");
    EXPECT_NE(window.boxes.back().text.find("ファイルが空です"), std::string::npos);
}

// 効果音なし silences what play() asks for, at once and both ways; the
// music's loop, its stop and the freeing of buffers still reach the library.
TEST_F(SoundModule, EffectsOffSilencesEveryEffectAndLeavesTheMusicAlone) {
    Module1 module{&sound, window};
    module.InitSound(window.handle);
    window.setChecked(Module1::effectsOffControl, true);
    module.play(4);
    module.playLooping(5);
    module.stop(5);
    module.free(4);
    EXPECT_TRUE(sound.argsOf("dsPlay").empty());
    EXPECT_EQ(sound.argsOf("dsPlayLooping"), std::vector<std::int32_t>{5});
    EXPECT_EQ(sound.argsOf("dsStop"), std::vector<std::int32_t>{5});
    EXPECT_EQ(sound.argsOf("dsFree"), std::vector<std::int32_t>{4});
    window.setChecked(Module1::effectsOffControl, false);
    module.play(4);
    EXPECT_EQ(sound.argsOf("dsPlay"), std::vector<std::int32_t>{4});
}

}  // namespace
}  // namespace daro::test
