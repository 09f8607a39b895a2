#include "wave.h"

#include <cstring>

namespace daro::sound {
namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
bool tagIs(const std::uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

constexpr std::uint16_t formatPcm = 1;

}  // namespace

std::optional<WaveData> parseWave(const std::uint8_t* image, std::size_t length) {
    if (image == nullptr || length < 12) return std::nullopt;
    if (!tagIs(image, "RIFF") || !tagIs(image + 8, "WAVE")) return std::nullopt;
    const std::uint64_t riffSize = le32(image + 4);
    if (riffSize < 4 || riffSize + 8 > length) return std::nullopt;
    // Bytes after the RIFF chunk belong to nobody; they are never read.
    const std::size_t end = std::size_t(riffSize + 8);

    WaveData wave;
    int blockAlign = 0;
    bool haveFormat = false;
    std::size_t pos = 12;
    while (end - pos >= 8) {
        const std::uint8_t* chunk = image + pos;
        const std::size_t size = le32(chunk + 4);
        if (size > end - pos - 8) return std::nullopt;
        const std::uint8_t* body = chunk + 8;
        if (tagIs(chunk, "fmt ")) {
            if (haveFormat || size < 16) return std::nullopt;
            if (le16(body) != formatPcm) return std::nullopt;
            wave.channels = le16(body + 2);
            const std::uint32_t rate = le32(body + 4);
            blockAlign = le16(body + 12);
            wave.bitsPerSample = le16(body + 14);
            if (wave.channels < 1 || wave.channels > 2) return std::nullopt;
            if (wave.bitsPerSample != 8 && wave.bitsPerSample != 16) return std::nullopt;
            if (rate < 4000 || rate > 192000) return std::nullopt;
            if (blockAlign != wave.channels * wave.bitsPerSample / 8) return std::nullopt;
            wave.sampleRate = int(rate);
            haveFormat = true;
        } else if (tagIs(chunk, "data")) {
            // Samples before their format could mean anything.
            if (!haveFormat) return std::nullopt;
            const std::size_t whole = size - size % std::size_t(blockAlign);
            if (whole == 0) return std::nullopt;
            wave.samples = body;
            wave.bytes = whole;
            return wave;
        }
        // Chunks are padded to an even size; the last pad byte may be missing.
        const std::size_t step = 8 + size + (size & 1);
        if (step > end - pos) break;
        pos += step;
    }
    return std::nullopt;
}

std::uint64_t convertedBytes(const WaveData& wave, int rate, int channels, int bytesPerSample) {
    const std::uint64_t frames = wave.bytes / std::uint64_t(wave.channels * wave.bitsPerSample / 8);
    // Whole frames out for every frame in, rounded up: at most 2^32 * 192000.
    const std::uint64_t framesOut = (frames * std::uint64_t(rate) + std::uint64_t(wave.sampleRate) - 1) /
                                    std::uint64_t(wave.sampleRate);
    return framesOut * std::uint64_t(channels) * std::uint64_t(bytesPerSample);
}

}  // namespace daro::sound
