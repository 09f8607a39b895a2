#pragma once
// Wave samples in the device's own format, so playing never converts.

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "wave.h"

namespace daro::sound {

struct DeviceFormat {
    SDL_AudioFormat format;
    int channels;
    int rate;
};

// The converted samples in a buffer of exactly their size; nothing when they
// would take more than largestConvertedBytes, or cannot be converted.
std::optional<std::vector<std::uint8_t>> convertForDevice(const WaveData& wave, const DeviceFormat& device);

}  // namespace daro::sound
