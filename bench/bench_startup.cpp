// Start-up of the real window (offscreen) with a settings file at the 64 KiB
// cap, every line of it naming a background: the worst file the game reads.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "Form1.h"
#include "InstantClock.h"
#include "MainWindow.h"
#include "RecordingSoundLibrary.h"
#include "TempWorkingFolder.h"

namespace {

// "背景画=竹" in code page 932, CR LF.
const std::string bambooLine = "\x94\x77\x8c\x69\x89\xe6=\x92\x7c\r\n";

std::string settingsOfSize(std::size_t bytes) {
    std::string out;
    while (out.size() + bambooLine.size() <= bytes) out += bambooLine;
    return out;
}

void startUp(benchmark::State& state, const std::string& settings) {
    daro::test::TempWorkingFolder folder;
    for (auto _ : state) {
        state.PauseTiming();
        daro::test::TempWorkingFolder::write("ZT七国将棋.ini", settings);
        state.ResumeTiming();
        daro::qt::MainWindow window;
        daro::test::InstantClock clock;
        daro::test::RecordingSoundLibrary sound;
        daro::Form1 form(window, clock, &sound);
        window.attach(form);
        window.load();
    }
}

void BM_StartUpWithDefaultFile(benchmark::State& state) {
    startUp(state, "\x88\xda\x93\xae\x8e\x77\x93\xb1=OK\r\nBGM=NG\r\n");
}
void BM_StartUpWithLargestFile(benchmark::State& state) { startUp(state, settingsOfSize(64 * 1024)); }

}  // namespace

BENCHMARK(BM_StartUpWithDefaultFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpWithLargestFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
