// daro-tune's fit on positions made up to pull it astray: it still lowers
// the loss it fits, and never makes taking a piece or a king cost score.
#include <gtest/gtest.h>

#include <random>

#include "Tune.h"

namespace daro::test {
namespace {

using engine::Features;

Features kingdom(int captured, int kings, int pieces, int mobility) {
    Features f{};
    f[engine::fCaptured] = captured;
    f[engine::fKings] = kings;
    f[engine::fPastTenWithKing] = kings >= 1 ? std::max(0, captured - 10) : 0;
    f[engine::fPastTwenty] = std::max(0, captured - 20);
    f[engine::fMaterial] = 100 * pieces;
    f[engine::fPiecesShort] = std::max(0, 14 - pieces);
    f[engine::fMobility] = mobility;
    return f;
}

// The winners here keep their pieces and move freely but have taken fewer,
// which alone would teach the fit that taking after a king or past twenty
// is bad.
tune::Samples misleading(std::uint32_t seed) {
    std::mt19937 rng(seed);
    tune::Samples s;
    for (int i = 0; i < 400; ++i) {
        tune::Sample sample;
        const int n = 2 + static_cast<int>(rng() % 4);
        for (int k = 0; k < n; ++k) {
            const bool winner = k == 0;
            const int captured = winner ? 11 + static_cast<int>(rng() % 6) : 14 + static_cast<int>(rng() % 14);
            const int kings = winner ? static_cast<int>(rng() % 2) : 1;
            const int pieces = winner ? 14 + static_cast<int>(rng() % 3) : 11 + static_cast<int>(rng() % 4);
            sample.features.push_back(kingdom(captured, kings, pieces, 40 + static_cast<int>(rng() % 60)));
        }
        sample.winner = 0;
        (i % 4 == 0 ? s.heldOut : s.fit).push_back(sample);
    }
    return s;
}

TEST(Tune, FitLowersItsLossAndEveryCaptureStillScores) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        const tune::Samples samples = misleading(seed);
        const tune::Fit fit = tune::fit(samples, 300);
        EXPECT_LT(fit.fitAfter, fit.fitBefore) << "seed " << seed;
        EXPECT_LT(fit.heldOutAfter, fit.heldOutBefore) << "seed " << seed;
        for (int kings = 0; kings <= 1; ++kings)
            for (int captured = 0; captured < 29; ++captured) {
                const int before = engine::weigh(kingdom(captured, kings, 13, 50), fit.weights);
                EXPECT_GE(engine::weigh(kingdom(captured + 1, kings, 13, 50), fit.weights), before)
                    << "seed " << seed << " captured " << captured << " kings " << kings;
                EXPECT_GE(engine::weigh(kingdom(captured, kings + 1, 13, 50), fit.weights), before)
                    << "seed " << seed << " captured " << captured << " kings " << kings;
            }
    }
}

// A fit that starts from LEVEL5's weights and moves only the features named
// leaves every other weight as it was, and the names are checked.
TEST(Tune, FitMovesOnlyTheNamedFeatures) {
    const auto o = tune::parseArguments({"--start", "level5", "--fit", "material,pieces-short"});
    ASSERT_TRUE(o);
    const tune::Fit fit = tune::fit(misleading(4), 200, o->fitChoice);
    EXPECT_LT(fit.fitAfter, fit.fitBefore);
    for (int i = 0; i < engine::featureCount; ++i) {
        const bool named = i == engine::fMaterial || i == engine::fPiecesShort;
        if (named) {
            EXPECT_NE(fit.weights[i], engine::level5Weights[i]) << engine::featureNames[i];
        } else {
            EXPECT_EQ(fit.weights[i], engine::level5Weights[i]) << engine::featureNames[i];
        }
    }
    for (const char* bad : {"", "material,", "material,material", "materials", ",material"})
        EXPECT_FALSE(tune::parseArguments({"--fit", bad})) << '"' << bad << '"';
    EXPECT_FALSE(tune::parseArguments({"--start", "level6"}));
}

}  // namespace
}  // namespace daro::test
