// Where the game's files live: portable beside the program, or installed
// with the sounds in the data folder and the settings in the user's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "GameFixture.h"
#include "TempWorkingFolder.h"

namespace daro::test {
namespace {

namespace fs = std::filesystem;

const std::string settingsName = "ZT七国将棋.ini";
const std::string defaultSettings =
    "\x88\xda\x93\xae\x8e\x77\x93\xb1=OK\r\n\xb1\xb2\xba\xdd\x95\x5c\x8e\xa6=OK\r\n"
    "\x8e\x9d\x8b\xee\x90\x94\x95\x5c\x8e\xa6=OK\r\n\x94\x77\x8c\x69\x89\xe6=\x97\xce\r\nBGM=NG\r\n";

// A program folder, a data folder laid out as an install lays it out, a
// configuration folder and an unrelated current folder, all fresh.
class FilePlacesTest : public ::testing::Test {
protected:
    FilePlacesTest() {
        program = cwd.path() / "prefix" / "games";
        data = cwd.path() / "prefix" / "share" / "daro";
        config = cwd.path() / "home" / "config" / "daro";
        fs::create_directories(program);
        fs::create_directories(data);
        fs::create_directories(cwd.path() / "elsewhere");
        fs::current_path(cwd.path() / "elsewhere");
    }
    static void putFile(const fs::path& folder, const std::string& name, std::size_t size) {
        std::ofstream(folder / pathOfName(name), std::ios::binary) << std::string(size, 'w');
    }
    bool currentFolderIsEmpty() const { return fs::is_empty(cwd.path() / "elsewhere"); }

    TempWorkingFolder cwd;
    fs::path program, data, config;
};

TEST_F(FilePlacesTest, AnyWaveFileBesideTheProgramMeansPortableBareNames) {
    for (const char* wave : waveFileNames) {
        fs::remove_all(program);
        fs::create_directories(program);
        putFile(program, wave, 10);
        const FilePlaces places = decideFilePlaces(program, config);
        EXPECT_FALSE(places.installed) << wave;
        EXPECT_EQ(places.settingsFile(), pathOfName(settingsName));
        EXPECT_EQ(places.waveFile("BGM.wav"), "BGM.wav");
        EXPECT_EQ(places.soundLibraryFolder, program);
    }
    EXPECT_FALSE(fs::exists(config)) << "portable, the configuration folder is left alone";
}

TEST_F(FilePlacesTest, InstalledTheFilesLiveInTheDataAndConfigurationFolders) {
    const FilePlaces places = decideFilePlaces(program, config);
    ASSERT_TRUE(places.installed);
    EXPECT_TRUE(fs::is_directory(config)) << "a missing configuration folder is made";
    EXPECT_EQ(places.settingsFile(), config / pathOfName(settingsName));
    EXPECT_TRUE(fs::equivalent(fs::path(pathOfName(places.waveFile("終局.wav"))).parent_path(), data));
    EXPECT_EQ(pathOfName(places.waveFile("終局.wav")).filename(), pathOfName("終局.wav"));
    EXPECT_EQ(places.soundLibraryFolder.filename(), "daro");
}

TEST_F(FilePlacesTest, InstalledStartUpLoadsTheInstalledSoundsAndWritesOnlyTheConfigurationFolder) {
    // Sizes tell the files apart in the recorded calls.
    std::size_t size = 101;
    for (const char* wave : waveFileNames) putFile(data, wave, size++);
    // Sounds in the current folder are not the installed game's.
    for (const char* wave : waveFileNames) putFile(cwd.path() / "elsewhere", wave, 7);

    RecordingWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    Form1 form(window, clock, &sound, decideFilePlaces(program, config));
    form.Form_Load();

    std::vector<std::size_t> loaded;
    for (const auto& call : sound.calls)
        if (call.op == "dsCreateDSB") loaded.push_back(call.length);
    EXPECT_EQ(loaded, (std::vector<std::size_t>{101, 102, 103, 104, 105}));
    EXPECT_EQ(TempWorkingFolder::read((config / pathOfName(settingsName)).string()), defaultSettings);

    form.SIDOU_Click();
    form.SIDOU_Click();
    form.TAKE_Click();
    const std::string bamboo = "\x94\x77\x8c\x69\x89\xe6=\x92\x7c";
    EXPECT_NE(TempWorkingFolder::read((config / pathOfName(settingsName)).string()).find(bamboo), std::string::npos);
    EXPECT_FALSE(fs::exists(pathOfName(settingsName))) << "nothing is written to the current folder";
}

// A file where the configuration folder should be: nothing can be written,
// so the game runs on its defaults, as after any failed write.
TEST_F(FilePlacesTest, AnUnusableConfigurationFolderLeavesTheDefaultsInMemoryAndTheCurrentFolderAlone) {
    fs::create_directories(config.parent_path());
    std::ofstream(config) << "in the way";
    for (const fs::path& folder : {config, fs::path()}) {
        RecordingWindow window;
        InstantClock clock;
        RecordingSoundLibrary sound;
        Form1 form(window, clock, &sound, decideFilePlaces(program, folder));
        form.Form_Load();
        EXPECT_TRUE(window.isChecked("SIDOU"));
        EXPECT_TRUE(window.isChecked("MIDORI"));
        form.SIDOU_Click();
        form.TAKE_Click();
        EXPECT_FALSE(window.isChecked("SIDOU")) << "the option itself still changes";
        EXPECT_TRUE(currentFolderIsEmpty());
    }
    EXPECT_TRUE(fs::is_regular_file(config));
}

}  // namespace
}  // namespace daro::test
