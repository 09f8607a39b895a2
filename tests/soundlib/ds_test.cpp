#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "TempWorkingFolder.h"
#include "WaveImage.h"
#include "ds.h"

namespace daro::test {
namespace {

namespace fs = std::filesystem;

// The library writes 44.1 kHz 16-bit stereo to the disk file in blocks of
// 1024 frames; the file is flushed by stdio, so allow a few blocks of lag.
constexpr std::size_t bytesPerFrame = 4;
constexpr std::size_t lagBytes = 8 * 1024 * bytesPerFrame;

// The device plays into a file instead of a loudspeaker, a few times faster
// than real time.
class DiskDevice : public ::testing::Test {
protected:
    TempWorkingFolder folder;
    fs::path output = folder.path() / "out.raw";
    std::int32_t device = 0;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "2", 1);
        device = dsInitialize(0);
        ASSERT_NE(device, 0);
    }
    void TearDown() override {
        if (device != 0) dsTerminate(device);
    }

    std::size_t written() const {
        std::error_code ec;
        const auto size = fs::file_size(output, ec);
        return ec ? 0 : std::size_t(size);
    }
    // Lets the device write at least `bytes` more, or until it has gone to
    // sleep: nothing plays, so the file stops growing. The bound only keeps
    // a broken device from hanging the test.
    void playOn(std::size_t bytes) {
        const std::size_t target = written() + bytes;
        std::size_t last = written();
        int still = 0;
        for (int i = 0; i < 4000 && written() < target; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            if (written() != last) {
                last = written();
                still = 0;
            } else if (++still >= asleepAfterMs / 2) {
                return;
            }
        }
    }
    static constexpr int asleepAfterMs = 1000;
    // Everything the device wrote, as samples; closes the device.
    std::vector<std::int16_t> finish() {
        dsTerminate(device);
        device = 0;
        std::ifstream in(output, std::ios::binary);
        std::vector<char> raw((std::istreambuf_iterator<char>(in)), {});
        std::vector<std::int16_t> samples(raw.size() / 2);
        std::memcpy(samples.data(), raw.data(), samples.size() * 2);
        return samples;
    }
    static int peak(const std::vector<std::int16_t>& s, std::size_t from = 0) {
        int most = 0;
        for (std::size_t i = from; i < s.size(); ++i) most = std::max(most, std::abs(int(s[i])));
        return most;
    }
    std::int32_t create(const std::vector<std::uint8_t>& image) {
        return dsCreateDSB(device, image.data(), image.size(), 3);
    }
};

TEST_F(DiskDevice, OneShotIsHeardOnceAndOverlapsItself) {
    // 0.2 s at 22050 Hz becomes 8820 frames of output.
    const std::int32_t effect = create(levelWave(4410, 8000));
    ASSERT_NE(effect, 0);
    EXPECT_NE(dsPlay(effect), 0);
    EXPECT_NE(dsPlay(effect), 0);
    playOn(8820 * bytesPerFrame + lagBytes);
    const auto samples = finish();

    // Two plays on their own channels sum where they overlap.
    EXPECT_GT(peak(samples), 12000);
    std::size_t first = samples.size(), last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i] != 0) {
            first = std::min(first, i);
            last = i;
        }
    ASSERT_LT(first, samples.size());
    // Two plays started together, not one after the other (which would span
    // twice the sound). The slack allows for this thread being held up for a
    // few blocks between the two calls on a busy machine.
    const std::size_t soundSamples = 2 * 8820;
    EXPECT_LT(last - first, soundSamples + soundSamples * 3 / 4);
}

TEST_F(DiskDevice, LoopStartedTwicePlaysOnceUntilStopped) {
    const std::int32_t music = create(levelWave(2205, 6000));
    ASSERT_NE(music, 0);
    EXPECT_NE(dsPlayLooping(music), 0);
    EXPECT_NE(dsPlayLooping(music), 0);
    // Several times round the 0.1 s loop.
    playOn(4 * 4410 * bytesPerFrame);
    EXPECT_NE(dsStop(music), 0);
    const std::size_t stoppedAt = written();
    dsStop(music);  // stopping the silent buffer again is harmless
    playOn(2 * lagBytes);
    const auto samples = finish();

    const int playing = peak(std::vector<std::int16_t>(samples.begin(), samples.begin() + stoppedAt / 2));
    EXPECT_GT(playing, 5000);
    EXPECT_LT(playing, 7000) << "the loop was started twice";
    EXPECT_EQ(peak(samples, (stoppedAt + lagBytes) / 2), 0) << "the loop went on after stop";
}

TEST_F(DiskDevice, FreeingAPlayingBufferStopsIt) {
    const std::int32_t music = create(levelWave(2205, 6000));
    ASSERT_NE(music, 0);
    dsPlayLooping(music);
    playOn(4410 * bytesPerFrame);
    EXPECT_NE(dsFree(music), 0);
    const std::size_t freedAt = written();
    playOn(2 * lagBytes);
    EXPECT_EQ(dsPlay(music), 0);
    EXPECT_EQ(dsPlayLooping(music), 0);
    const auto samples = finish();
    EXPECT_GT(peak(samples), 5000);
    EXPECT_EQ(peak(samples, (freedAt + lagBytes) / 2), 0);
}

TEST_F(DiskDevice, HandleZeroAndUnknownHandlesDoNothing) {
    for (std::int32_t handle : {0, 12345}) {
        EXPECT_EQ(dsPlay(handle), 0);
        EXPECT_EQ(dsPlayLooping(handle), 0);
        EXPECT_EQ(dsStop(handle), 0);
        EXPECT_EQ(dsFree(handle), 0);
    }
    const auto image = levelWave(100, 8000);
    EXPECT_EQ(dsCreateDSB(0, image.data(), image.size(), 3), 0);
    EXPECT_EQ(dsCreateDSB(device + 1, image.data(), image.size(), 3), 0);
    EXPECT_EQ(dsTerminate(0), 0);
    playOn(4 * 1024 * bytesPerFrame);
    EXPECT_EQ(peak(finish()), 0);
}

// In silence the device writes nothing at all (it sleeps), and the next
// play wakes it.
TEST_F(DiskDevice, SleepsWhileNothingPlaysAndWakesForTheNextSound) {
    const std::int32_t effect = create(levelWave(1102, 7000));  // 0.05 s
    ASSERT_NE(effect, 0);
    EXPECT_NE(dsPlay(effect), 0);
    playOn(1 << 30);  // returns once the device has gone quiet
    const std::size_t quiet = written();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Awake, it would have written silence at a block every 2 ms.
    EXPECT_EQ(written(), quiet) << "the device wrote on in silence";
    EXPECT_NE(dsPlay(effect), 0);
    playOn(1 << 30);
    const auto samples = finish();
    EXPECT_GT(peak(samples, quiet / 2), 5000) << "the second sound was not heard";
}

TEST_F(DiskDevice, ImagesThatAreNotCompletePcmWavesAreRefused) {
    const auto good = levelWave(1000, 8000);
    ASSERT_NE(create(good), 0);

    EXPECT_EQ(dsCreateDSB(device, nullptr, 0, 3), 0);
    EXPECT_EQ(dsCreateDSB(device, good.data(), 0, 3), 0);
    EXPECT_EQ(dsCreateDSB(device, nullptr, good.size(), 3), 0);

    auto truncated = good;
    truncated.resize(good.size() - 1);  // the RIFF size now claims a byte too many
    EXPECT_EQ(create(truncated), 0);
    truncated.resize(30);  // inside the format chunk
    EXPECT_EQ(create(truncated), 0);

    auto dataLies = good;
    set32(dataLies, dataSizeAt, 4000);
    EXPECT_EQ(create(dataLies), 0);
    auto dataHuge = good;
    set32(dataHuge, dataSizeAt, 0xFFFFFFFF);
    EXPECT_EQ(create(dataHuge), 0);
    auto riffLies = good;
    set32(riffLies, riffSizeAt, std::uint32_t(good.size()));
    EXPECT_EQ(create(riffLies), 0);

    EXPECT_EQ(create(levelWave(1000, 8000, 22050, 3)), 0);  // IEEE float
    EXPECT_EQ(create(levelWave(1000, 8000, 22050, 0x55)), 0);  // compressed
    EXPECT_EQ(create(levelWave(0, 0)), 0);                    // no samples at all

    auto notWave = good;
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    EXPECT_EQ(create(notWave), 0);
}

TEST_F(DiskDevice, ThousandsOfMutatedHeadersNeverReadPastTheImage) {
    const auto good = levelWave(64, 8000);
    std::mt19937 random(20001031);
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<std::uint8_t> image = good;
        const int changes = 1 + int(random() % 4);
        for (int c = 0; c < changes; ++c) {
            const std::size_t at = random() % 44;
            switch (random() % 3) {
            case 0: image[at] = std::uint8_t(random()); break;
            case 1: image[at] ^= std::uint8_t(1u << (random() % 8)); break;
            default: image[at] = (random() & 1) != 0 ? 0xFF : 0x00; break;
            }
        }
        if (random() % 4 == 0) image.resize(random() % image.size());
        // An exact-size heap copy, so that any read beyond it is caught.
        auto exact = std::make_unique<std::uint8_t[]>(image.size() + (image.empty() ? 1 : 0));
        std::memcpy(exact.get(), image.data(), image.size());
        const std::int32_t handle = dsCreateDSB(device, exact.get(), image.size(), 3);
        if (handle != 0) {
            ++accepted;
            dsPlay(handle);
            dsFree(handle);
        }
    }
    // Most single flips land in fields that do not matter.
    EXPECT_GT(accepted, 0);
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// 10 MiB of 8-bit 4 kHz mono is some 440 MB as 44.1 kHz 16-bit stereo.
TEST_F(DiskDevice, AWaveTooLargeOnceConvertedIsRefusedWithoutTakingTheMemory) {
    const std::uint32_t dataBytes = 10u * 1024 * 1024;
    std::vector<std::uint8_t> image = levelWave(0, 0, 4000);
    set32(image, riffSizeAt, 36 + dataBytes);
    set32(image, byteRateAt, 4000);
    set16(image, blockAlignAt, 1);
    set16(image, bitsAt, 8);
    set32(image, dataSizeAt, dataBytes);
    image.resize(image.size() + dataBytes, 128);
    const double before = peakMiB();
    EXPECT_EQ(create(image), 0);
    EXPECT_LT(peakMiB() - before, 32.0);

    // Its first MiB (262 s, 46 MB converted) still plays.
    image.resize(44 + 1024 * 1024);
    set32(image, riffSizeAt, 36 + 1024 * 1024);
    set32(image, dataSizeAt, 1024 * 1024);
    EXPECT_NE(create(image), 0);
}

// A program that ends without closing the device, while the device sleeps,
// still ends. The child is given ten seconds, far more than it needs; the
// bound only keeps a hang from holding up the suite.
TEST(SleepingDevice, AProgramThatExitsWithTheDeviceOpenEnds) {
    TempWorkingFolder folder;
    const std::string output = (folder.path() / "out.raw").string();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "2", 1);
        const std::int32_t device = dsInitialize(0);
        if (device == 0) _exit(3);
        const auto image = levelWave(1102, 7000);
        const std::int32_t effect = dsCreateDSB(device, image.data(), image.size(), 3);
        if (effect == 0 || dsPlay(effect) == 0) _exit(4);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // long asleep by now
        std::exit(0);
    }
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 1000 && done == 0; ++i) {
        done = waitpid(child, &status, WNOHANG);
        if (done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the program hung at exit with the device open";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace daro::test
