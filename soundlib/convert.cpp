#include "convert.h"

#include <cstring>
#include <limits>

namespace daro::sound {

std::optional<std::vector<std::uint8_t>> convertForDevice(const WaveData& wave, const DeviceFormat& device) {
    // Judged before anything is allocated: a long, slow 8-bit wave grows
    // tenfold and more on the way to the device.
    const int bytesPerSample = SDL_AUDIO_BITSIZE(device.format) / 8;
    const std::uint64_t expected = convertedBytes(wave, device.rate, device.channels, bytesPerSample);
    if (expected == 0 || expected > largestConvertedBytes) return std::nullopt;

    SDL_AudioCVT cvt;
    const SDL_AudioFormat from = wave.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&cvt, from, Uint8(wave.channels), wave.sampleRate, device.format,
                          Uint8(device.channels), device.rate) < 0)
        return std::nullopt;
    if (cvt.needed == 0) return std::vector<std::uint8_t>(wave.samples, wave.samples + wave.bytes);
    if (wave.bytes > std::size_t(std::numeric_limits<int>::max()) / std::size_t(cvt.len_mult))
        return std::nullopt;

    // The converter needs room for its widest step; that room goes again at
    // once, and the buffer kept holds the converted samples alone.
    std::vector<std::uint8_t> work(wave.bytes * std::size_t(cvt.len_mult));
    std::memcpy(work.data(), wave.samples, wave.bytes);
    cvt.buf = work.data();
    cvt.len = int(wave.bytes);
    if (SDL_ConvertAudio(&cvt) != 0 || cvt.len_cvt < 0) return std::nullopt;
    // A wave of a few samples at a high rate can resample to nothing: it is
    // still a good wave, and plays as the one silent frame it rounds up to.
    if (cvt.len_cvt == 0) return std::vector<std::uint8_t>(std::size_t(expected), 0);
    if (std::uint64_t(cvt.len_cvt) > largestConvertedBytes) return std::nullopt;
    return std::vector<std::uint8_t>(work.begin(), work.begin() + cvt.len_cvt);
}

}  // namespace daro::sound
