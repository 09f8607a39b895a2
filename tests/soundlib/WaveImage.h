#pragma once
// Wave images built in memory for the library tests.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace daro::test {

inline void put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(std::uint8_t(v & 0xFF));
    b.push_back(std::uint8_t(v >> 8 & 0xFF));
}
inline void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void putTag(std::vector<std::uint8_t>& b, const char* tag) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(tag[i]));
}

// A 16-bit mono PCM image of `frames` frames, every sample `level`: a
// constant level survives resampling, so plays that overlap add up visibly.
inline std::vector<std::uint8_t> levelWave(int frames, std::int16_t level, int rate = 22050,
                                          std::uint16_t formatTag = 1) {
    std::vector<std::uint8_t> b;
    putTag(b, "RIFF");
    put32(b, 36 + std::uint32_t(frames) * 2);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, formatTag);
    put16(b, 1);
    put32(b, std::uint32_t(rate));
    put32(b, std::uint32_t(rate) * 2);
    put16(b, 2);
    put16(b, 16);
    putTag(b, "data");
    put32(b, std::uint32_t(frames) * 2);
    for (int i = 0; i < frames; ++i) put16(b, std::uint16_t(level));
    return b;
}

// Byte offsets of the canonical 44-byte header.
constexpr std::size_t riffSizeAt = 4;
constexpr std::size_t formatTagAt = 20;
constexpr std::size_t byteRateAt = 28;
constexpr std::size_t blockAlignAt = 32;
constexpr std::size_t bitsAt = 34;
constexpr std::size_t dataSizeAt = 40;

inline void set16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
inline void set32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

}  // namespace daro::test
