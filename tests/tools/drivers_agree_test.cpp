// The same seeds give the same game through every driver: the window clicked
// square by square, daro-autoplay, and the game file read back.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "Autoplay.h"
#include "GameFixture.h"

namespace daro::test {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A window of its own for every game.
class WindowGame : public GameFixture {
public:
    void TestBody() override {}

    // Plays the human's seat with the moves autoplay would pick, until the
    // window's game reaches `moves` moves or ends.
    void play(int human, std::uint64_t seed, int moves) {
        std::mt19937_64 rng(seed);
        window.yesNoDefault = BoxAnswer::No;
        takeSeat(form, human);
        for (int guard = 0; guard < 4 * moves && !form.ended && form.moveNumber < moves; ++guard) {
            const Step step = form.table.next();
            if (step.kind == StepKind::paused) {
                clickSquare(10, 10);
                continue;
            }
            if (step.kind != StepKind::human) return;
            const auto accepted = autoplay::acceptedMoves(form.table);
            if (accepted.empty()) return;
            const auto& m = accepted[rng() % accepted.size()];
            clickSquare(m.fromX, m.fromY);
            clickSquare(m.toX, m.toY);
        }
    }
};

TEST(DriversAgree, TheWindowAutoplayAndTheGameFileTellTheSameGame) {
    for (int human = 1; human <= 7; ++human) {
        const std::uint64_t seed = 40u + static_cast<std::uint64_t>(human);
        autoplay::Options o;
        o.humanSeat = human;
        o.seed = seed;
        o.maxMoves = 90;
        std::ostringstream out;
        autoplay::Autoplay game(o, out);
        game.run();
        std::vector<std::string> played = linesOf(out.str());
        if (!played.empty() && played.back() == "limit") played.pop_back();

        const GameFileResult read = replayGameFile(game.gameFile());
        ASSERT_TRUE(read.game) << read.problem.line << ": " << read.problem.reason;
        EXPECT_EQ(read.game->eventLines, played) << "seat " << human;

        WindowGame screen;
        try {
            screen.play(human, seed, game.table.moveNumber);
        } catch (const ProgramEnded&) {
        }
        std::vector<std::string> shown = recordLines(screen.form.moveRecord, screen.form.recordEnd);
        if (game.table.over()) shown.push_back(resultLine(*game.table.outcome()));
        shown.resize(std::min(shown.size(), played.size()));
        EXPECT_EQ(shown, played) << "seat " << human;
    }
}

}  // namespace
}  // namespace daro::test
