// Cost of the influence survey and of the move check behind it.
#include <benchmark/benchmark.h>

#include <random>

#include "Form1.h"
#include "InstantClock.h"
#include "RandomPlay.h"

namespace {

using daro::Form1;

// A window that draws nothing, so that only the rules are timed.
class QuietWindow : public daro::Window {
public:
    void paintPicture(int, double, double) override {}
    void drawRectangle(double, double, double, double, int) override {}
    void printText(double, double, const std::string&, double, bool, int) override {}
    void refresh() override {}
    void setBackColor(int) override {}
    void setChecked(const std::string&, bool) override {}
    bool isChecked(const std::string&) const override { return false; }
    void setIconPosition(const std::string&, int, int) override {}
    void setIconVisible(const std::string&, bool) override {}
    daro::BoxAnswer messageBox(const std::string&, const std::string&, daro::BoxButtons, daro::BoxIcon) override {
        return daro::BoxAnswer::Ok;
    }
    int windowTop() const override { return 0; }
    void placeWindow(int, int, int, int) override {}
    std::int32_t nativeHandle() const override { return 0; }
    void endProgram() override {}
};

struct Game {
    QuietWindow window;
    daro::test::InstantClock clock;
    Form1 form{window, clock, nullptr};
    Game() { form.初期設定(); }
};

void BM_SurveyOpening(benchmark::State& state) {
    Game game;
    for (auto _ : state) {
        game.form.勢力調査();
        benchmark::DoNotOptimize(game.form.influenceTotal);
    }
}
BENCHMARK(BM_SurveyOpening)->Unit(benchmark::kMicrosecond);

void BM_SurveyMidgame(benchmark::State& state) {
    Game game;
    std::mt19937 rng(7);
    daro::test::playRandomMoves(game.form, rng, 140);
    for (auto _ : state) {
        game.form.勢力調査();
        benchmark::DoNotOptimize(game.form.influenceTotal);
    }
}
BENCHMARK(BM_SurveyMidgame)->Unit(benchmark::kMicrosecond);

// Every target square for every piece of the opening.
void BM_MoveCheckOpeningAllTargets(benchmark::State& state) {
    Game game;
    const Form1& form = game.form;
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
