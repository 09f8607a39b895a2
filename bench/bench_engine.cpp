// The engine: move generation of a whole position, make/unmake, the
// evaluations, and one search at the budget the game uses, of seven
// kingdoms (LEVEL4 and LEVEL5) and of a duel.
#include <benchmark/benchmark.h>

#include <ostream>
#include <vector>

#include "../tools/autoplay/Autoplay.h"
#include "engine/Level5.h"
#include "engine/Search.h"

namespace {

using daro::autoplay::Autoplay;
using daro::autoplay::Options;
namespace engine = daro::engine;

// The position after `moves` moves of a seven-computer game (it is won at move 93).
engine::Position after(long moves) {
    std::ostream nowhere(nullptr);
    Options o;
    o.maxMoves = moves;
    Autoplay game(o, nowhere);
    if (moves > 0) game.run();
    daro::Table& f = game.table;
    int seat = f.turnSeat < 1 ? 1 : f.turnSeat;
    while (f.調査_駒数(seat) == 0) seat = f.手番_進(seat);
    return engine::Position(f.board, f.capturedCount, f.kingsCapturedCount, seat);
}

// Every move of the kingdom to move.
void generateOne(benchmark::State& state, const engine::Position& p) {
    std::vector<engine::Move> moves;
    moves.reserve(256);
    const int block = engine::blockOfSeat[p.seatToMove()];
    for (auto _ : state) {
        moves.clear();
        p.generate(block, moves);
        benchmark::DoNotOptimize(moves.data());
    }
    state.counters["moves"] = static_cast<double>(moves.size());
}

void BM_EngineMovesInitial(benchmark::State& state) { generateOne(state, after(0)); }
BENCHMARK(BM_EngineMovesInitial)->Unit(benchmark::kNanosecond);

void BM_EngineMovesMidgame(benchmark::State& state) { generateOne(state, after(60)); }
BENCHMARK(BM_EngineMovesMidgame)->Unit(benchmark::kNanosecond);

// All seven kingdoms' moves: the whole board.
void BM_EngineMovesAllKingdomsMidgame(benchmark::State& state) {
    const engine::Position p = after(60);
    std::vector<engine::Move> moves;
    moves.reserve(1024);
    for (auto _ : state) {
        moves.clear();
        for (int b = 1; b <= engine::blockCount; ++b) p.generate(b, moves);
        benchmark::DoNotOptimize(moves.data());
    }
    state.counters["moves"] = static_cast<double>(moves.size());
}
BENCHMARK(BM_EngineMovesAllKingdomsMidgame)->Unit(benchmark::kNanosecond);

void BM_EngineMakeUnmakeMidgame(benchmark::State& state) {
    engine::Position p = after(60);
    std::vector<engine::Move> moves;
    p.generate(engine::blockOfSeat[p.seatToMove()], moves);
    for (auto _ : state) {
        for (const auto& m : moves) {
            p.make(m);
            p.unmake(m);
        }
        benchmark::DoNotOptimize(p);
    }
    state.counters["moves"] = static_cast<double>(moves.size());
}
BENCHMARK(BM_EngineMakeUnmakeMidgame)->Unit(benchmark::kNanosecond);

void BM_EngineInfluenceMidgame(benchmark::State& state) {
    const engine::Position p = after(60);
    std::array<std::uint8_t, engine::squareCount> total;
    std::array<std::array<std::uint8_t, engine::squareCount>, 8> byBlock;
    for (auto _ : state) {
        p.influence(total, byBlock);
        benchmark::DoNotOptimize(total.data());
    }
}
BENCHMARK(BM_EngineInfluenceMidgame)->Unit(benchmark::kMicrosecond);

void BM_EngineEvaluateMidgame(benchmark::State& state) {
    const engine::Position p = after(60);
    for (auto _ : state) benchmark::DoNotOptimize(engine::evaluate(p, engine::blockOfSeat[p.seatToMove()]));
}
BENCHMARK(BM_EngineEvaluateMidgame)->Unit(benchmark::kNanosecond);

void search(benchmark::State& state, engine::Method method) {
    const engine::Position p = after(60);
    engine::Settings s;
    s.method = method;
    engine::Result r;
    for (auto _ : state) r = engine::search(p, s);
    state.counters["nodes"] = static_cast<double>(r.nodes);
    state.counters["depth"] = r.depth;
}
void BM_EngineSearchBestReplyMidgame(benchmark::State& state) { search(state, engine::Method::bestReply); }
BENCHMARK(BM_EngineSearchBestReplyMidgame)->Unit(benchmark::kMillisecond);
void BM_EngineSearchParanoidMidgame(benchmark::State& state) { search(state, engine::Method::paranoid); }
BENCHMARK(BM_EngineSearchParanoidMidgame)->Unit(benchmark::kMillisecond);

// LEVEL5 at its own budget, from the same position and from a later one.
void level5(benchmark::State& state, long moves) {
    const engine::Position p = after(moves);
    engine::Result r;
    for (auto _ : state) r = engine::searchLevel5(p, engine::Level5Settings{});
    state.counters["nodes"] = static_cast<double>(r.nodes);
    state.counters["depth"] = r.depth;
}
void BM_Level5SearchMidgame(benchmark::State& state) { level5(state, 60); }
BENCHMARK(BM_Level5SearchMidgame)->Unit(benchmark::kMillisecond);
void BM_Level5SearchLate(benchmark::State& state) { level5(state, 85); }
BENCHMARK(BM_Level5SearchLate)->Unit(benchmark::kMillisecond);

// Two kingdoms left, 秦 (seat 1) ahead of 楚 (seat 2), which lost three
// pieces: the duel search at the game's budget.
engine::Position duel() {
    std::ostream nowhere(nullptr);
    Autoplay game(Options{}, nowhere);
    engine::GameBoard board = game.table.board;
    for (auto& column : board)
        for (int& c : column)
            if (engine::blockOf(c) != 0 && engine::blockOf(c) != 5 && engine::blockOf(c) != 6) c = engine::empty;
    board[5][18] = board[7][18] = board[5][17] = engine::empty;
    return engine::Position(board, {}, {}, 1);
}

void BM_EngineEvaluateDuel(benchmark::State& state) {
    const engine::Position p = duel();
    for (auto _ : state) benchmark::DoNotOptimize(engine::duelEvaluate(p, 5));
}
BENCHMARK(BM_EngineEvaluateDuel)->Unit(benchmark::kNanosecond);

void BM_EngineSearchDuel(benchmark::State& state) {
    const engine::Position p = duel();
    engine::Result r;
    for (auto _ : state) r = engine::search(p, engine::Settings{});
    state.counters["nodes"] = static_cast<double>(r.nodes);
    state.counters["depth"] = r.depth;
}
BENCHMARK(BM_EngineSearchDuel)->Unit(benchmark::kMillisecond);

}  // namespace
