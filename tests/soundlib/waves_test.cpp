#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "TempWorkingFolder.h"
#include "ds.h"

namespace daro::test {
namespace {

std::vector<std::uint8_t> readGameFile(const std::string& name) {
    std::ifstream in(std::filesystem::path(DARO_GAME_DIR) / TempWorkingFolder::named(name), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

TEST(GameWaveFiles, AllFiveAreSixteenBitPcmTheLibraryAccepts) {
    TempWorkingFolder folder;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (folder.path() / "out.raw").c_str(), 1);
    const std::int32_t device = dsInitialize(0);
    ASSERT_NE(device, 0);
    for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "終局.wav", "BGM.wav"}) {
        const auto image = readGameFile(name);
        ASSERT_GE(image.size(), 44u) << name;
        EXPECT_EQ(image[34], 16) << name;  // bits per sample
        const std::uint32_t rate = le32(image, 24);
        EXPECT_TRUE(rate == 22050 || rate == 44100) << name;
        EXPECT_NE(dsCreateDSB(device, image.data(), image.size(), 3), 0) << name;
    }
    dsTerminate(device);
}

TEST(GameWaveFiles, MusicLoopsForFifteenSecondsAndJoinsAtAZeroCrossing) {
    const auto image = readGameFile("BGM.wav");
    ASSERT_GE(image.size(), 44u);
    const std::uint32_t rate = le32(image, 24), bytes = le32(image, 40);
    ASSERT_EQ(image[22], 1);  // mono
    ASSERT_EQ(image.size(), 44u + bytes);
    const std::size_t n = bytes / 2;
    EXPECT_GE(n, 15u * rate);
    std::vector<int> s(n);
    for (std::size_t i = 0; i < n; ++i) s[i] = std::int16_t(image[44 + 2 * i] | image[45 + 2 * i] << 8);

    // The end rises through zero into the start, no bigger a step than the
    // music takes anywhere else.
    EXPECT_LT(s[n - 1], 0);
    EXPECT_GE(s[0], 0);
    int largestStep = 0;
    for (std::size_t i = 1; i < n; ++i) largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
    EXPECT_LE(s[0] - s[n - 1], largestStep / 4);
}

}  // namespace
}  // namespace daro::test
