// The computer's turn: one com_ban on the initial and on a midgame position,
// and a whole game of seven computers. Waits are free (the clock does not wait).
#include <benchmark/benchmark.h>

#include <ostream>

#include "../tools/autoplay/Autoplay.h"

namespace {

using daro::Table;
using daro::autoplay::Autoplay;
using daro::autoplay::Options;

// A seven-computer game stopped after `moves` moves, with a seat to move that will think.
struct Position {
    daro::Board board;
    std::array<int, 8> captured, kings;
    int seat;
    int moveNumber;
};

Position midgame(long moves) {
    std::ostream nowhere(nullptr);
    Options o;
    o.maxMoves = moves;
    Autoplay game(o, nowhere);
    game.run();
    Table& f = game.table;
    int seat = f.手番_進(f.turnSeat);
    while (f.存在チェック駒(Table::取得_手番王(seat)) != Table::valueYes || f.調査_駒数(seat) <= 10)
        seat = f.手番_進(seat);
    return {f.board, f.capturedCount, f.kingsCapturedCount, seat, f.moveNumber};
}

void computerTurn(benchmark::State& state, const Position& p) {
    daro::SearchRequest request;
    request.board = p.board;
    request.capturedCount = p.captured;
    request.kingsCapturedCount = p.kings;
    request.seat = p.seat;
    request.level = 3;
    for (auto _ : state) benchmark::DoNotOptimize(daro::think(request));
}

void BM_ComputerTurnInitial(benchmark::State& state) {
    std::ostream nowhere(nullptr);
    Autoplay start(Options{}, nowhere);
    const Position p{start.table.board, {}, {}, 1, 0};
    computerTurn(state, p);
}
BENCHMARK(BM_ComputerTurnInitial)->Unit(benchmark::kMicrosecond);

void BM_ComputerTurnMidgame(benchmark::State& state) {
    const Position p = midgame(140);
    computerTurn(state, p);
}
BENCHMARK(BM_ComputerTurnMidgame)->Unit(benchmark::kMicrosecond);

void BM_InfluenceSurveyInitial(benchmark::State& state) {
    std::ostream nowhere(nullptr);
    Autoplay game(Options{}, nowhere);
    for (auto _ : state) {
        game.table.勢力調査();
        benchmark::DoNotOptimize(game.table.influenceTotal);
    }
}
BENCHMARK(BM_InfluenceSurveyInitial)->Unit(benchmark::kMicrosecond);

void BM_AllComputerGame(benchmark::State& state) {
    long moves = 0;
    for (auto _ : state) {
        std::ostream nowhere(nullptr);
        Autoplay game(Options{}, nowhere);
        game.run();
        moves = game.table.moveNumber;
    }
    state.counters["moves"] = static_cast<double>(moves);
}
BENCHMARK(BM_AllComputerGame)->Unit(benchmark::kMillisecond);

}  // namespace
