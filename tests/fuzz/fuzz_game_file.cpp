// Any bytes as a game file: reading never fails in any other way than with a
// reason, and a game it accepts is written back to a file that replays to
// the very same record.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "record/GameFile.h"

namespace {

void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_game_file: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const daro::GameFileResult read = daro::replayGameFile(bytes);
    if (!read.game) {
        require(!read.problem.reason.empty(), "a refused file without a reason");
        return 0;
    }
    const daro::ReplayedGame& game = *read.game;
    require(!game.record.empty(), "a game without its opening position");
    const std::string written = daro::gameFileText(game.mode, game.humanSeat, game.level, game.record,
                                                   int(game.record.size()) - 1, game.result);
    const daro::GameFileResult again = daro::replayGameFile(written);
    require(again.game.has_value(), "the game's own file is refused");
    require(again.game->record == game.record, "the written file replays to another record");
    require(again.game->result == game.result && again.game->seatToMove == game.seatToMove,
            "the written file ends otherwise");
    return 0;
}
