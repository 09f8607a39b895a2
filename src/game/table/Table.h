#pragma once
// The table: one headless game of daro. It owns the board and the counters,
// the seats (human, or the computer at LEVEL1-4), the seat to move and the
// move record, and it moves the game on one step at a time. It never draws,
// never waits and never reads a clock; every program drives it the same way:
//
//   while the game runs:
//     switch (table.next().kind)
//       human:        wait for the seat's player, then table.submit(seat, move)
//       paused:       (one human at the board) a click resumes: table.resume()
//       computerMove: think on any thread with table.snapshot() and think(),
//                     then table.commitComputerMove(seat, chosen)
//       dropOut/pass: table.step()
//     table.drainEvents() tells what happened, in order.
//
// table.step() does whatever next() names in one call (the computer thinks
// inline), for drivers that need no thread.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "record/Record.h"
#include "rules/Codes.h"

namespace daro {

struct ReplayedGame;

// Computer scores are kept in exact tenths: 0.1 is 1, +50 is 500.
using Score = int;

// A seat's player: a human, or the computer at a level 1..5.
struct SeatKind {
    bool human = false;
    int level = 0;  // 1..5 for a computer; 0 follows the table's computerLevel
    bool operator==(const SeatKind&) const = default;
};

// A move as the player gives it: from a square to a square.
struct TableMove {
    int fromX = 0, fromY = 0, toX = 0, toY = 0;
};

// A computer kingdom's move, as the search hands it back.
struct ChosenMove {
    int fromX = 0, fromY = 0, toX = 0, toY = 0, piece = 0;
    bool operator==(const ChosenMove&) const = default;
};

enum class Refusal {
    none,               // accepted
    noGame,             // no game is running
    notYourTurn,        // another seat is to move, or no human may move now
    notYourPiece,       // the square holds no piece of the seat's kingdom
    illegalMove,        // the piece cannot go there
    kingSquareReached,  // the king would stand where another kingdom's piece reaches
};

// Why a game ended.
enum class OutcomeKind {
    win,               // `seat` won, `how` says by what
    humanGone,         // the one human's kingdom left the game
    noHumanLeft,       // every human kingdom left the game (several humans)
    noKingdomCanMove,  // a whole round went by without a move
};
enum class WinBy { twoKings, thirtyPieces, nineteenWithKing, lastStanding };

// The names the server's messages and the browser's page give them.
const char* outcomeName(OutcomeKind kind);
const char* winByName(WinBy how);

struct Outcome {
    OutcomeKind kind = OutcomeKind::win;
    int seat = 0;
    WinBy how = WinBy::lastStanding;
    bool operator==(const Outcome&) const = default;
};

enum class TableEventKind {
    moved,       // `move`: a move, numbered `moveNumber`
    droppedOut,  // `seat` left the game; its pieces are gone
    passed,      // `seat` had no move
    turnTo,      // `seat` is to move
    paused,      // the computers wait for a click (one human at the board)
    gameOver,    // `outcome`
};

struct TableEvent {
    TableEventKind kind = TableEventKind::turnTo;
    int seat = 0;
    RecordEvent move;
    int moveNumber = 0;
    Outcome outcome;
};

enum class StepKind {
    none,          // no game, or the game is over
    human,         // waiting for `seat`'s player
    paused,        // waiting for a click to resume the computers
    computerMove,  // `seat` thinks and moves (or passes when it has no move)
    dropOut,       // `seat` leaves the game
    pass,          // `seat`, a human without a legal move, passes
};

struct Step {
    StepKind kind = StepKind::none;
    int seat = 0;
    bool operator==(const Step&) const = default;
};

// Everything a search needs, copied: it may go to another thread.
struct SearchRequest {
    Board board{};
    std::array<int, 8> capturedCount{};
    std::array<int, 8> kingsCapturedCount{};
    std::array<int, 8> kingX{}, kingY{};
    int seat = 0;
    int level = 3;
    // LEVEL4 and LEVEL5 only: the keys of the game's positions so far, so the engine
    // sees a move back to one of them.
    std::vector<std::uint64_t> history;
};

// The computer's choice for the request's seat; nothing when it has no move.
// Pure: the same request gives the same move on any thread, at any load.
std::optional<ChosenMove> think(const SearchRequest& request);

class Table : public Codes {
public:
    Table();

    static constexpr int modeSevenPlayers = 0;
    static constexpr int modeOnePlayer = 1;
    // Any mix of seats, chosen seat by seat.
    static constexpr int modeFree = 2;
    static constexpr int levelFour = 4;
    static constexpr int levelFive = 5;
    // A kingdom with this many pieces or fewer leaves on the computer's watch.
    static constexpr int dropOutPieceCount = 10;

    // ------------------------------------------------------------- state
    Board board{};
    int turnSeat = noSeat;
    std::array<int, 8> seatPlayer{};          // by seat: playerHuman / playerComputer
    std::array<int, 8> seatLevel{};           // by seat: 1..5, or 0 to follow computerLevel
    std::array<int, 8> capturedCount{};       // by block
    std::array<int, 8> kingsCapturedCount{};  // by block
    std::array<int, 8> kingX{};               // by block; 0 = no square yet
    std::array<int, 8> kingY{};
    int rotationStop = valueNo;
    int gameMode = noSeat;
    int computerLevel = 3;

    int moveNumber = 0;
    int recordEnd = 0;
    // Entry n is the position after move n with its counters, seat to move
    // and events; grows as the game goes on.
    std::vector<RecordEntry> moveRecord;
    RecordEvent lastMove;  // the last move 駒移動 made, for the record

    Board influenceTotal{};
    std::array<Board, 8> kingdomInfluence{};  // by block

    bool onBoard(int x, int y) const { return x >= 1 && x <= boardSize && y >= 1 && y <= boardSize; }

    // ------------------------------------------------------------- a game
    // The opening position, no game running; seats and levels stay.
    void 初期設定();
    // Starts play from the position shown with these seats; seat 1 moves
    // first in a new game.
    void seat(int mode, const std::array<SeatKind, 8>& seats);
    SeatKind seatKind(int seat) const;
    int levelOf(int seat) const;
    int humanCount() const;

    Refusal submit(int seat, const TableMove& move);
    Step next() const;
    void step();
    SearchRequest snapshot() const;
    void commitComputerMove(int seat, const std::optional<ChosenMove>& chosen);
    void resume();
    // LEVEL5's move for the human seat to move, without playing it; nothing
    // when no human is to move or the seat has no move. The game is left as
    // it was.
    std::optional<ChosenMove> hint() const;
    // The search hint() makes, copied to think on any thread; nothing when
    // no human is to move.
    std::optional<SearchRequest> hintRequest() const;
    std::vector<TableEvent> drainEvents();
    const std::optional<Outcome>& outcome() const { return outcome_; }
    bool over() const { return outcome_.has_value(); }

    // Play goes on from the position shown after 戻/進 (which set the board,
    // the counters and the seat to move from the record): an ended game
    // opens again and nothing is pending.
    void resumeHere();
    // A replayed game file takes the place of the game.
    void takeOver(const ReplayedGame& game);

    // ------------------------------------------------------------- rules
    int 存在チェック駒(int code) const;
    void 取得_王座標(int code);

    int 移動チェック(int fromX, int fromY, int toX, int toY, int piece) const;
    int 移動チェック飛車(int fromX, int fromY, int toX, int toY) const;
    int 移動チェック角(int fromX, int fromY, int toX, int toY) const;
    int 移動チェック砲取(int fromX, int fromY, int toX, int toY) const;
    int 移動チェック騎(int fromX, int fromY, int toX, int toY) const;

    void 駒移動(int fromX, int fromY, int toX, int toY, int piece);
    void 調査_駒取得(const std::string& mode, int mover, int captured);
    int 調査_駒数(int seat) const;

    int 手番_進(int seat) const;
    int 手番_戻(int seat) const;
    void 戦線離脱処理(int seat);
    int 調査_終了(int seat) const;
    int lastKingdomStanding() const;
    bool hasLegalMove(int seat) const;
    // Would a king moved to (x, y) stand where another kingdom's piece, or
    // the centre piece, reaches? The board is looked at as it is.
    bool kingSquareReached(int fromX, int fromY, int toX, int toY, int king);
    // Could a piece of another kingdom take the seat's king where it stands,
    // by the move check a computer's capture passes? False without a king.
    bool kingCanBeTaken(int seat) const;
    // The square of the seat's king on the board; false when it is gone.
    bool kingSquare(int seat, int& x, int& y) const;

    static void 取得_駒移動座標(int piece, int x, int y, int& xmin, int& xmax, int& ymin, int& ymax);
    void 勢力調査();
    static Score 評価_移動得点(int fromX, int fromY, int toX, int toY);
    Score 評価_盤(int captured, int mover, int fromX, int fromY, int toX, int toY) const;

    // The record.
    void 手順保存(int n);
    void recordOut(int seat);
    void recordPass(int seat);
    bool wholeRoundPassed() const;

private:
    void push(TableEvent event);
    // The keys of the game's positions before this one, for repetitions.
    std::vector<std::uint64_t> positionKeys() const;
    void endGame(const Outcome& outcome);
    void turnTo(int seat);
    Outcome winOf(int seat) const;
    bool humanKingdomGone() const;
    bool gameEndsAfterDropOut(int seat);
    bool mustDropOut(int seat) const;
    void handOnAfterComputer(int seat);
    void handOnAfterHuman(int seat);
    void dropOut(int seat);
    bool passOn(int seat);
    void passHuman(int seat);

    std::vector<TableEvent> events_;
    std::optional<Outcome> outcome_;
    // After a computer's move, the next kingdom may have to leave before the
    // turn passes on: its seat, and the mover's.
    int pendingOut_ = 0;
    int pendingMover_ = 0;
};

}  // namespace daro
