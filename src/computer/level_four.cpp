// LEVEL4: the engine chooses the computer kingdom's move.
#include "Form1.h"
#include "engine/Search.h"

namespace daro {

namespace {

class LevelFourPlayer : public MoveChooser {
public:
    bool choose(Form1& form, int seat, std::optional<ChosenMove>& move) override {
        const engine::Position position(form.board, form.capturedCount, form.kingsCapturedCount, seat);
        const engine::Result result = engine::search(position, engine::Settings{});
        move.reset();
        if (result.move) {
            const engine::Move& m = *result.move;
            move = ChosenMove{engine::fileOf(m.from), engine::rankOf(m.from), engine::fileOf(m.to),
                              engine::rankOf(m.to), m.piece};
        }
        return true;
    }
};

}  // namespace

std::unique_ptr<MoveChooser> makeLevelFourPlayer() { return std::make_unique<LevelFourPlayer>(); }

}  // namespace daro
