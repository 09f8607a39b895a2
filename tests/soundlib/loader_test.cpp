#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SoundLibraryLoader.h"
#include "TempWorkingFolder.h"
#include "WaveImage.h"

namespace daro::test {
namespace {

TEST(SoundLibraryLoader, FindsTheLibraryInTheGameFolder) {
    EXPECT_EQ(soundLibraryFileName(), "libZT七国将棋.so");
    auto library = loadSoundLibrary(DARO_GAME_DIR);
    ASSERT_NE(library, nullptr);
    // Without a device every buffer is the no-op handle.
    const auto image = levelWave(100, 1000);
    EXPECT_EQ(library->dsCreateDSB(0, image.data(), image.size(), 3), 0);
    EXPECT_EQ(library->dsPlay(0), 0);
}

TEST(SoundLibraryLoader, MissingOrBrokenLibraryMeansNoSound) {
    TempWorkingFolder folder;
    EXPECT_EQ(loadSoundLibrary(folder.path().string()), nullptr);
    TempWorkingFolder::write(soundLibraryFileName(), "not a library");
    EXPECT_EQ(loadSoundLibrary(folder.path().string()), nullptr);
    EXPECT_EQ(loadSoundLibrary(""), nullptr);  // the current folder: the same one
#ifdef DARO_PARTIAL_LIBRARY_DIR
    EXPECT_EQ(loadSoundLibrary(DARO_PARTIAL_LIBRARY_DIR), nullptr);
#endif
}

}  // namespace
}  // namespace daro::test
