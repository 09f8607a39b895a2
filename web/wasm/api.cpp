// The page's way into the game: one table per module instance, driven as
// every other program drives it. Answers are JSON text in a buffer that
// stays valid until the next call; the page copies it out at once.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "WebTable.h"
#include "engine/Level5.h"

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#define DARO_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE
#else
#define DARO_EXPORT extern "C"
#endif

namespace {

daro::web::WebTable& game() {
    static daro::web::WebTable table;
    return table;
}

std::string& answer() {
    static std::string text;
    return text;
}

const char* give(std::string text) {
    answer() = std::move(text);
    return answer().c_str();
}

// The page hands over text through memory it allocated: read with a bound.
std::string_view textOf(const char* p, int length) {
    if (p == nullptr || length <= 0) return {};
    return {p, static_cast<std::size_t>(length)};
}

}  // namespace

// Seats "human level4 ..." for seats 1..7, the level that stands in for a
// one-player game's computers; answers the position, or {"error": ...}.
DARO_EXPORT const char* daro_start(const char* seats, int length, int level) {
    return give(game().start(textOf(seats, length), level));
}

DARO_EXPORT const char* daro_position() { return give(game().positionJson()); }

// The refusal's name ("none" when the move was made).
DARO_EXPORT const char* daro_submit(int seat, int fromX, int fromY, int toX, int toY) {
    return give(game().submit(seat, {fromX, fromY, toX, toY}));
}

DARO_EXPORT const char* daro_destinations(int x, int y) { return give(game().destinationsJson(x, y)); }

DARO_EXPORT const char* daro_next() { return give(game().nextJson()); }

// One automatic step, the computer thinking here.
DARO_EXPORT void daro_step() { game().step(); }

DARO_EXPORT void daro_resume() { game().resume(); }

// What a worker needs to think for the seat to move, as one line of numbers.
DARO_EXPORT const char* daro_snapshot() { return give(game().snapshotText()); }

// In a worker: the move for a snapshot line, "none" when there is no move.
DARO_EXPORT const char* daro_think(const char* snapshot, int length) {
    return give(daro::web::thinkText(textOf(snapshot, length)));
}

// The worker's answer played for the seat; false when the table was not
// waiting for that seat's computer or the answer is no move line.
// LEVEL5's search for the human to move, for the worker; "none" when no
// human is to move.
DARO_EXPORT const char* daro_hint_snapshot() { return give(game().hintSnapshotText()); }

// The hint thought here: "FX FY TX TY PIECE" or "none". The game is left as it was.
DARO_EXPORT const char* daro_hint() { return give(game().hintText()); }

// Whether a worker's hint is a move the human to move may still make.
DARO_EXPORT int daro_hint_fits(const char* chosen, int length) {
    return game().hintFits(textOf(chosen, length)) ? 1 : 0;
}

DARO_EXPORT int daro_commit(int seat, const char* chosen, int length) {
    return game().commit(seat, textOf(chosen, length)) ? 1 : 0;
}

// What LEVEL5's transposition table takes, and the module's whole memory
// now, in bytes: the table must fit the heap of a page or a worker.
DARO_EXPORT double daro_level5_table_bytes() { return static_cast<double>(daro::engine::level5TableBytes()); }
DARO_EXPORT double daro_heap_bytes() {
#ifdef __EMSCRIPTEN__
    return static_cast<double>(__builtin_wasm_memory_size(0)) * 65536.0;
#else
    return 0;
#endif
}

DARO_EXPORT const char* daro_events() { return give(game().drainEventsJson()); }

DARO_EXPORT int daro_back() { return game().back() ? 1 : 0; }
DARO_EXPORT int daro_forward() { return game().forward() ? 1 : 0; }
DARO_EXPORT void daro_play_on() { game().playOn(); }

DARO_EXPORT const char* daro_entry(int n) { return give(game().entryJson(n)); }

DARO_EXPORT const char* daro_game_file() { return give(game().gameFile()); }

// Opens a game file: the position, or {"error": ..., "line": N} with the
// game left as it was.
DARO_EXPORT const char* daro_open(const char* bytes, int length) {
    return give(game().open(textOf(bytes, length)));
}

// Follows a server's game: seats as created, the table's lines from the
// opening position. The position, or an error when a line does not follow.
DARO_EXPORT const char* daro_follow(const char* seats, int seatsLength, const char* lines, int linesLength) {
    return give(game().follow(textOf(seats, seatsLength), textOf(lines, linesLength)));
}

// One announced line on the followed game; empty when it follows, else why not.
DARO_EXPORT const char* daro_follow_line(const char* line, int length) {
    return give(game().followLine(textOf(line, length)));
}
