// Any bytes as a wave file handed to the sound library: it reads only inside
// the image, and it makes a buffer exactly when the image is a PCM wave whose
// samples fit the buffer limit once converted for the device.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ds.h"
#include "wave.h"

namespace {

std::int32_t device = 0;

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_wave: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    device = dsInitialize(0);
    require(device != 0, "the dummy audio device does not open");
    // A device left open at exit keeps its mixing thread waiting on the
    // library's own state while that state is torn down: the process hangs.
    std::atexit([] { dsTerminate(device); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy, so a read past the end is caught.
    std::vector<std::uint8_t> image(data, data + size);
    const std::int32_t buffer = dsCreateDSB(device, image.data(), image.size(), 3);
    const auto wave = daro::sound::parseWave(image.data(), image.size());
    // The device plays 44.1 kHz 16-bit stereo.
    const bool fits = wave && daro::sound::convertedBytes(*wave, 44100, 2, 2) <= daro::sound::largestConvertedBytes;
    require((buffer != 0) == fits, "a buffer made for a refused image, or refused for a good one");
    if (buffer != 0) {
        dsPlay(buffer);
        dsFree(buffer);
    }
    return 0;
}
