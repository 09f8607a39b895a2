// What one wave file costs the sound library: time and the process's peak
// memory. The long 4 kHz wave is the worst case the 64 MiB file limit allows
// through: ten times its size once converted for the device.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ds.h"

namespace {

void put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(std::uint8_t(v & 0xFF));
    b.push_back(std::uint8_t(v >> 8 & 0xFF));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void putTag(std::vector<std::uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

std::vector<std::uint8_t> wave8BitMono(std::uint32_t rate, std::uint32_t bytes) {
    std::vector<std::uint8_t> b;
    putTag(b, "RIFF");
    put32(b, 36 + bytes);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, rate);
    put32(b, rate);
    put16(b, 1);
    put16(b, 8);
    putTag(b, "data");
    put32(b, bytes);
    for (std::uint32_t i = 0; i < bytes; ++i) b.push_back(std::uint8_t(128 + (i % 64)));
    return b;
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void loadWave(benchmark::State& state, std::uint32_t rate, std::uint32_t bytes) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::int32_t device = dsInitialize(0);
    if (device == 0) {
        state.SkipWithError("no dummy audio device");
        return;
    }
    const std::vector<std::uint8_t> image = wave8BitMono(rate, bytes);
    const double before = peakMiB();
    std::int32_t accepted = 0;
    for (auto _ : state) {
        const std::int32_t buffer = dsCreateDSB(device, image.data(), image.size(), 3);
        accepted = buffer != 0;
        dsFree(buffer);
    }
    state.counters["accepted"] = accepted;
    state.counters["peak_MiB"] = peakMiB();
    state.counters["peak_growth_MiB"] = peakMiB() - before;
    dsTerminate(device);
}

// A second of 22 kHz: an ordinary effect, accepted.
void BM_OrdinaryWave(benchmark::State& state) { loadWave(state, 22050, 22050); }
// 10 MiB at 4 kHz: 44 minutes of sound, some 440 MB once converted.
void BM_LongSlowWave(benchmark::State& state) { loadWave(state, 4000, 10u * 1024 * 1024); }

}  // namespace

BENCHMARK(BM_OrdinaryWave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongSlowWave)->Unit(benchmark::kMillisecond)->Iterations(1);
