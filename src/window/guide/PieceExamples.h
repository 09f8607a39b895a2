#pragma once
// The guide's diagrams: for each kind of piece, an example on a small board
// and the squares the rules let the piece reach there. The reach is asked of
// the rules themselves, square by square, so the guide cannot disagree with
// the game. Works over any rules object with the game's `board` and
// `移動チェック` (the window's game object, the headless table).

#include <array>
#include <vector>

namespace daro::guide {

// The small board: squares 1..size each way, at the top left of the game's
// board. The squares around it are walled off with sabres of the moving
// kingdom: its pieces neither enter, take nor pass them, and they reach no
// square its king could be refused for (the centre piece would).
inline constexpr int smallBoardSize = 9;

// The pieces' kingdoms on the small board: 楚 (block 6), whose pieces stand
// upright, moves; 斉 (block 3) is another kingdom.
inline constexpr int moverBlock = 6;
inline constexpr int otherBlock = 3;

struct Placed {
    int x, y;
    int code;
};

struct Example {
    int kind;         // the units digit of a piece code: 0 行 .. 9 王
    int x, y;         // where the piece stands
    std::array<Placed, 3> others;  // code 0: none
};

namespace detail {
constexpr int own(int kind) { return 10 * moverBlock + kind; }
constexpr int theirs(int kind) { return 10 * otherBlock + kind; }
// Kinds by their units digit.
constexpr int gyo = 0, tou = 1, ken = 2, dou = 3, kib = 4, kyu = 5, hou = 6, hen = 7, hii = 8, ohu = 9;
}  // namespace detail

// One example a kind, in the order of the kinds' codes. Each shows what
// stops the piece: a piece of its own, one it takes, one it cannot take.
inline constexpr std::array<Example, 10> examples = [] {
    using namespace detail;
    return std::array<Example, 10>{{
        // 行: onto empty squares only; the other kingdom's sword stops it.
        {gyo, 5, 5, {{{5, 3, theirs(ken)}, {7, 7, own(ken)}, {}}}},
        // 刀: one step diagonally; takes the sword, not the 行.
        {tou, 5, 5, {{{6, 4, theirs(ken)}, {4, 6, own(ken)}, {4, 4, theirs(gyo)}}}},
        // 剣: one step straight.
        {ken, 5, 5, {{{5, 4, theirs(tou)}, {4, 5, own(tou)}, {}}}},
        // 弩: up to five squares; near a corner to show where that ends.
        {dou, 2, 8, {{{5, 8, theirs(ken)}, {}, {}}}},
        // 弓: up to four squares.
        {kyu, 2, 8, {{{2, 5, own(ken)}, {5, 5, theirs(ken)}, {}}}},
        // 騎: a step to an empty neighbour, then diagonally to the ring four away.
        {kib, 5, 5, {{{6, 4, own(ken)}, {1, 1, theirs(ken)}, {}}}},
        // 砲: like 裨 onto empty squares; takes by jumping exactly one piece.
        {hou, 5, 8, {{{5, 5, own(ken)}, {5, 2, theirs(ken)}, {7, 8, theirs(tou)}}}},
        // 偏: any distance diagonally.
        {hen, 5, 5, {{{7, 3, theirs(ken)}, {3, 7, own(ken)}, {8, 8, theirs(gyo)}}}},
        // 裨: any distance straight.
        {hii, 5, 5, {{{5, 2, theirs(ken)}, {2, 5, own(ken)}, {}}}},
        // 王: any distance in eight directions.
        {ohu, 5, 5, {{{5, 3, theirs(ken)}, {7, 5, own(ken)}, {}}}},
    }};
}();

struct Square {
    int x, y;
    bool operator==(const Square&) const = default;
};

// Sets the rules' board to the example: the small board with its pieces, the
// rest walled off.
template <class Rules>
void setUp(Rules& rules, const Example& e) {
    for (int x = 1; x <= Rules::boardSize; ++x)
        for (int y = 1; y <= Rules::boardSize; ++y)
            rules.board[x][y] = x <= smallBoardSize && y <= smallBoardSize ? Rules::emptyCode : detail::own(detail::tou);
    rules.board[e.x][e.y] = 10 * moverBlock + e.kind;
    for (const Placed& p : e.others)
        if (p.code != 0) rules.board[p.x][p.y] = p.code;
}

// Every square of the board the piece on (x, y) may move to, by the rules'
// move check, column by column.
template <class Rules>
std::vector<Square> reachOf(const Rules& rules, int x, int y) {
    std::vector<Square> reach;
    const int piece = rules.board[x][y];
    for (int tx = 1; tx <= Rules::boardSize; ++tx)
        for (int ty = 1; ty <= Rules::boardSize; ++ty)
            if (rules.移動チェック(x, y, tx, ty, piece) == Rules::valueYes) reach.push_back({tx, ty});
    return reach;
}

// Of the squares the move check lets a king reach, those the king rule
// refuses: another kingdom's piece (or the centre piece) reaches them. Empty
// for any other piece.
template <class Rules>
std::vector<Square> kingRuleRefuses(Rules& rules, int x, int y) {
    std::vector<Square> refused;
    const int piece = rules.board[x][y];
    if (!Rules::isKingCode(piece)) return refused;
    for (const Square& s : reachOf(rules, x, y))
        if (rules.kingSquareReached(x, y, s.x, s.y, piece)) refused.push_back(s);
    return refused;
}

}  // namespace daro::guide
