// The move record: bytes per entry over whole games (the entry itself and
// its drop-outs and passes on the heap), the time to store a move, and the
// time to replay a game file.
#include <benchmark/benchmark.h>

#include <ostream>

#include "../tools/autoplay/Autoplay.h"
#include "record/GameFile.h"

namespace {

using daro::autoplay::Autoplay;
using daro::autoplay::Options;

// The heap block of a vector holds its capacity plus the allocator's own
// header of about 16 bytes.
std::size_t bytesOf(const daro::RecordEntry& e) {
    std::size_t heap = e.after.capacity() * sizeof(daro::RecordStep);
    return sizeof(daro::RecordEntry) + (heap > 0 ? heap + 16 : 0);
}

void BytesPerEntry(benchmark::State& state) {
    std::size_t entries = 0, bytes = 0, most = 0;
    for (auto _ : state) {
        for (int seat = 0; seat <= 7; ++seat) {
            std::ostream nowhere(nullptr);
            Options o;
            o.humanSeat = seat;
            o.seed = 40u + static_cast<unsigned>(seat);
            Autoplay game(o, nowhere);
            game.run();
            for (int n = 0; n <= game.table.recordEnd; ++n) {
                const std::size_t b = bytesOf(game.table.moveRecord[static_cast<std::size_t>(n)]);
                bytes += b;
                most = std::max(most, b);
                ++entries;
            }
        }
    }
    state.counters["bytes_per_entry"] = static_cast<double>(bytes) / static_cast<double>(entries);
    state.counters["most_bytes_of_an_entry"] = static_cast<double>(most);
    state.counters["entry_without_heap"] = static_cast<double>(sizeof(daro::RecordEntry));
}
BENCHMARK(BytesPerEntry)->Iterations(1)->Unit(benchmark::kMillisecond);

void ReplayAGameFile(benchmark::State& state) {
    std::ostream nowhere(nullptr);
    Options o;
    o.humanSeat = 3;
    o.seed = 8;
    Autoplay game(o, nowhere);
    game.run();
    const std::string file = game.gameFile();
    for (auto _ : state) benchmark::DoNotOptimize(daro::replayGameFile(file));
    state.counters["moves"] = game.table.recordEnd;
}
BENCHMARK(ReplayAGameFile)->Unit(benchmark::kMillisecond);

}  // namespace
