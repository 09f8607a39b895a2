// The computer's choice of a move: the written one-ply search of LEVEL1-3,
// or the engines at LEVEL4 and LEVEL5. Pure functions of the position handed in, so
// they may run on any thread.
#include "engine/Level5.h"
#include "engine/Search.h"
#include "table/Table.h"

namespace daro {

namespace {

// Lower than any score a move can get.
constexpr Score noMoveScore = -999990;

// Search in board order; only a strictly better score replaces the best,
// so ties go to the first mover square and then the first target. Taking a
// king ends the search.
std::optional<ChosenMove> writtenChoice(Table& t, int seat) {
    t.勢力調査();
    const int block = Table::blockOfSeat(seat);
    const int low = 10 * block;
    const int high = 10 * block + Table::OHU;
    Score bestScore = noMoveScore;
    std::optional<ChosenMove> best;
    for (int x = 1; x <= Table::boardSize; ++x) {
        for (int y = 1; y <= Table::boardSize; ++y) {
            const int c = t.board[x][y];
            if (c < low || c > high) continue;
            int xmin = 1, xmax = 0, ymin = 1, ymax = 0;
            Table::取得_駒移動座標(c, x, y, xmin, xmax, ymin, ymax);
            for (int tx = xmin; tx <= xmax; ++tx) {
                for (int ty = ymin; ty <= ymax; ++ty) {
                    if (t.移動チェック(x, y, tx, ty, c) != Table::valueYes) continue;
                    const int captured = t.board[tx][ty];
                    const Score s = t.評価_盤(captured, c, x, y, tx, ty);
                    if (s <= bestScore) continue;
                    bestScore = s;
                    best = ChosenMove{x, y, tx, ty, c};
                    if (Table::isKingCode(captured)) return best;
                }
            }
        }
    }
    return best;
}

std::optional<ChosenMove> chosenOf(const engine::Result& result) {
    if (!result.move) return std::nullopt;
    const engine::Move& m = *result.move;
    return ChosenMove{engine::fileOf(m.from), engine::rankOf(m.from), engine::fileOf(m.to), engine::rankOf(m.to),
                      m.piece};
}

std::optional<ChosenMove> engineChoice(const SearchRequest& r) {
    const engine::Position position(r.board, r.capturedCount, r.kingsCapturedCount, r.seat);
    engine::Settings settings;
    settings.history = r.history;
    const engine::Result result = engine::search(position, settings);
    return chosenOf(result);
}

std::optional<ChosenMove> level5Choice(const SearchRequest& r) {
    const engine::Position position(r.board, r.capturedCount, r.kingsCapturedCount, r.seat);
    engine::Level5Settings settings;
    settings.history = r.history;
    return chosenOf(engine::searchLevel5(position, settings));
}

}  // namespace

std::optional<ChosenMove> think(const SearchRequest& r) {
    if (Table::blockOfSeat(r.seat) == 0) return std::nullopt;
    if (r.level == Table::levelFour) return engineChoice(r);
    if (r.level == Table::levelFive) return level5Choice(r);
    Table scratch;
    scratch.board = r.board;
    scratch.capturedCount = r.capturedCount;
    scratch.kingsCapturedCount = r.kingsCapturedCount;
    scratch.kingX = r.kingX;
    scratch.kingY = r.kingY;
    return writtenChoice(scratch, r.seat);
}

}  // namespace daro
