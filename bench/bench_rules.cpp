// Cost of the influence survey and of the move check behind it.
#include <benchmark/benchmark.h>

#include <random>

#include "table/Table.h"
#include "RandomPlay.h"

namespace {

using Form1 = daro::Table;

struct Game {
    daro::Table table;
};

void BM_SurveyOpening(benchmark::State& state) {
    Game game;
    for (auto _ : state) {
        game.table.勢力調査();
        benchmark::DoNotOptimize(game.table.influenceTotal);
    }
}
BENCHMARK(BM_SurveyOpening)->Unit(benchmark::kMicrosecond);

void BM_SurveyMidgame(benchmark::State& state) {
    Game game;
    std::mt19937 rng(7);
    daro::test::playRandomMoves(game.table, rng, 140);
    for (auto _ : state) {
        game.table.勢力調査();
        benchmark::DoNotOptimize(game.table.influenceTotal);
    }
}
BENCHMARK(BM_SurveyMidgame)->Unit(benchmark::kMicrosecond);

// Every target square for every piece of the opening.
void BM_MoveCheckOpeningAllTargets(benchmark::State& state) {
    Game game;
    const daro::Table& form = game.table;
    for (auto _ : state) {
        int legal = 0;
        for (int x = 1; x <= Form1::boardSize; ++x)
            for (int y = 1; y <= Form1::boardSize; ++y) {
                const int piece = form.board[x][y];
                if (piece == Form1::emptyCode) continue;
                for (int tx = 1; tx <= Form1::boardSize; ++tx)
                    for (int ty = 1; ty <= Form1::boardSize; ++ty)
                        legal += form.移動チェック(x, y, tx, ty, piece);
            }
        benchmark::DoNotOptimize(legal);
    }
}
BENCHMARK(BM_MoveCheckOpeningAllTargets)->Unit(benchmark::kMicrosecond);

}  // namespace
