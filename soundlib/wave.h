#pragma once
// Reads the headers of a RIFF/WAVE image without trusting them: every offset
// is checked against the image before it is used.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace daro::sound {

struct WaveData {
    int channels = 0;        // 1 or 2
    int sampleRate = 0;      // frames per second
    int bitsPerSample = 0;   // 8 (unsigned) or 16 (signed, little-endian)
    const std::uint8_t* samples = nullptr;  // inside the image
    std::size_t bytes = 0;   // whole frames only, never 0
};

// The sample data of a PCM wave image, or nothing for any image that is not
// one, or whose headers point beyond `length`.
std::optional<WaveData> parseWave(const std::uint8_t* image, std::size_t length);

// No sound buffer grows past the largest wave file the game reads.
constexpr std::uint64_t largestConvertedBytes = 64u * 1024u * 1024u;

// How many bytes the wave's samples take once converted to `rate` frames a
// second of `channels` samples of `bytesPerSample` bytes each.
std::uint64_t convertedBytes(const WaveData& wave, int rate, int channels, int bytesPerSample);

}  // namespace daro::sound
