// The computer's turn: one com_ban on the initial and on a midgame position,
// and a whole game of seven computers. Waits are free (the clock does not wait).
#include <benchmark/benchmark.h>

#include <ostream>

#include "../tools/autoplay/Autoplay.h"

namespace {

using daro::Form1;
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
    Form1& f = game.form;
    int seat = f.手番_進(f.turnSeat);
    while (f.存在チェック駒(Form1::取得_手番王(seat)) != Form1::valueYes || f.調査_駒数(seat) <= 10)
        seat = f.手番_進(seat);
    return {f.board, f.capturedCount, f.kingsCapturedCount, seat, f.moveNumber};
}

void computerTurn(benchmark::State& state, const Position& p) {
    std::ostream nowhere(nullptr);
    Autoplay game(Options{}, nowhere);
    game.window.observer = nullptr;  // positions are set by hand here, not played
    Form1& f = game.form;
    for (int s = 1; s <= 7; ++s) f.seatPlayer[s] = Form1::playerComputer;
    for (auto _ : state) {
        f.board = p.board;
        f.capturedCount = p.captured;
        f.kingsCapturedCount = p.kings;
        f.moveNumber = p.moveNumber;
        f.turnSeat = p.seat;
        f.com_ban(p.seat);
        benchmark::DoNotOptimize(f.board);
    }
}

void BM_ComputerTurnInitial(benchmark::State& state) {
    std::ostream nowhere(nullptr);
    Autoplay start(Options{}, nowhere);
    const Position p{start.form.board, {}, {}, 1, 0};
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
        game.form.勢力調査();
        benchmark::DoNotOptimize(game.form.influenceTotal);
    }
}
BENCHMARK(BM_InfluenceSurveyInitial)->Unit(benchmark::kMicrosecond);

void BM_AllComputerGame(benchmark::State& state) {
    long moves = 0;
    for (auto _ : state) {
        std::ostream nowhere(nullptr);
        Autoplay game(Options{}, nowhere);
        game.run();
        moves = game.form.moveNumber;
    }
    state.counters["moves"] = static_cast<double>(moves);
}
BENCHMARK(BM_AllComputerGame)->Unit(benchmark::kMillisecond);

}  // namespace
