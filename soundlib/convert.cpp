#include "convert.h"

#include <memory>

namespace daro::sound {
namespace {

// Input is fed in pieces, so the stream never holds more than a piece of it.
constexpr std::size_t pieceBytes = 64 * 1024;

using Stream = std::unique_ptr<SDL_AudioStream, decltype(&SDL_FreeAudioStream)>;

// Appends what the stream has ready; false once the result passes the limit.
bool drain(SDL_AudioStream* stream, std::vector<std::uint8_t>& out) {
    while (true) {
        const int ready = SDL_AudioStreamAvailable(stream);
        if (ready <= 0) return true;
        const std::size_t had = out.size();
        if (had + std::size_t(ready) > largestConvertedBytes) return false;
        out.resize(had + std::size_t(ready));
        const int got = SDL_AudioStreamGet(stream, out.data() + had, ready);
        if (got < 0) return false;
        out.resize(had + std::size_t(got));
        if (got == 0) return true;
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> convertForDevice(const WaveData& wave, const DeviceFormat& device) {
    const int bytesPerSample = SDL_AUDIO_BITSIZE(device.format) / 8;
    const std::uint64_t expected = convertedBytes(wave, device.rate, device.channels, bytesPerSample);
    if (expected == 0 || expected > largestConvertedBytes) return std::nullopt;

    const SDL_AudioFormat from = wave.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    Stream stream(SDL_NewAudioStream(from, Uint8(wave.channels), wave.sampleRate, device.format,
                                     Uint8(device.channels), device.rate),
                  &SDL_FreeAudioStream);
    if (!stream) return std::nullopt;

    std::vector<std::uint8_t> out;
    out.reserve(std::size_t(expected));
    const std::size_t frameBytes = std::size_t(wave.channels * wave.bitsPerSample / 8);
    const std::size_t piece = pieceBytes - pieceBytes % frameBytes;
    for (std::size_t at = 0; at < wave.bytes; at += piece) {
        const std::size_t n = wave.bytes - at < piece ? wave.bytes - at : piece;
        if (SDL_AudioStreamPut(stream.get(), wave.samples + at, int(n)) != 0) return std::nullopt;
        if (!drain(stream.get(), out)) return std::nullopt;
    }
    if (SDL_AudioStreamFlush(stream.get()) != 0 || !drain(stream.get(), out)) return std::nullopt;
    if (out.empty()) return std::nullopt;
    // The estimate is an upper bound; the buffer keeps only what was made.
    out.shrink_to_fit();
    return out;
}

}  // namespace daro::sound
