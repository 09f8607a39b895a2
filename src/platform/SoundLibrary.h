#pragma once
// The separate sound library. Handles are small integers; 0 is always a
// valid handle that does nothing.

#include <cstddef>
#include <cstdint>

namespace daro {

class SoundLibrary {
public:
    virtual ~SoundLibrary() = default;
    virtual std::int32_t dsInitialize(std::int32_t windowHandle) = 0;
    virtual std::int32_t dsTerminate(std::int32_t device) = 0;
    // The wave image is copied before the call returns; 0 for any image
    // that is not a complete RIFF/WAVE PCM file of `length` bytes.
    virtual std::int32_t dsCreateDSB(std::int32_t device, const std::uint8_t* image,
                                     std::size_t length, std::int32_t flags) = 0;
    virtual std::int32_t dsFree(std::int32_t buffer) = 0;
    virtual std::int32_t dsPlay(std::int32_t buffer) = 0;
    virtual std::int32_t dsPlayLooping(std::int32_t buffer) = 0;
    virtual std::int32_t dsStop(std::int32_t buffer) = 0;
};

}  // namespace daro
