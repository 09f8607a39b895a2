// The turn flow of a game: who is to move, what a step does, and what the
// drivers are told. The order of every state change follows the game as
// the window has always played it, so every driver sees the same game.
#include <algorithm>
#include <utility>

#include "engine/Search.h"

#include "record/GameFile.h"
#include "table/Table.h"

namespace daro {

namespace {

bool isSeat(int seat) { return seat >= 1 && seat <= Codes::seatCount; }

TableEvent eventOf(TableEventKind kind, int seat) {
    TableEvent e;
    e.kind = kind;
    e.seat = seat;
    return e;
}

}  // namespace

Table::Table() { 初期設定(); }

// ------------------------------------------------------------------ seats

void Table::seat(int mode, const std::array<SeatKind, 8>& seats) {
    gameMode = mode;
    for (int s = 1; s <= seatCount; ++s) {
        seatPlayer[s] = seats[s].human ? playerHuman : playerComputer;
        seatLevel[s] = seats[s].human ? 0 : seats[s].level;
    }
    rotationStop = valueNo;
    pendingOut_ = 0;
    outcome_.reset();
    if (turnSeat == noSeat) {
        turnSeat = 1;
        push(eventOf(TableEventKind::turnTo, turnSeat));
    }
}

SeatKind Table::seatKind(int seat) const {
    if (!isSeat(seat)) return {};
    return {seatPlayer[seat] == playerHuman, seatPlayer[seat] == playerHuman ? 0 : levelOf(seat)};
}

int Table::levelOf(int seat) const {
    if (isSeat(seat) && seatLevel[seat] >= 1 && seatLevel[seat] <= levelFive) return seatLevel[seat];
    return computerLevel;
}

int Table::humanCount() const {
    int n = 0;
    for (int s = 1; s <= seatCount; ++s)
        if (seatPlayer[s] == playerHuman) ++n;
    return n;
}

// ------------------------------------------------------------------ events

void Table::push(TableEvent event) { events_.push_back(std::move(event)); }

std::vector<TableEvent> Table::drainEvents() { return std::exchange(events_, {}); }

void Table::endGame(const Outcome& outcome) {
    rotationStop = valueYes;
    pendingOut_ = 0;
    outcome_ = outcome;
    TableEvent e = eventOf(TableEventKind::gameOver, outcome.seat);
    e.seat = outcome.seat;
    e.outcome = outcome;
    push(e);
}

void Table::turnTo(int seat) {
    turnSeat = seat;
    if (isSeat(seat)) push(eventOf(TableEventKind::turnTo, seat));
}

Outcome Table::winOf(int seat) const {
    const int block = blockOfSeat(seat);
    const int c = capturedCount[block], k = kingsCapturedCount[block];
    WinBy how = WinBy::lastStanding;
    if (k >= 2)
        how = WinBy::twoKings;
    else if (c >= 30)
        how = WinBy::thirtyPieces;
    else if (c >= 19 && k == 1)
        how = WinBy::nineteenWithKing;
    return {OutcomeKind::win, seat, how};
}

// ------------------------------------------------------------ what is next

bool Table::mustDropOut(int seat) const {
    return 存在チェック駒(取得_手番王(seat)) == valueNo || 調査_駒数(seat) <= dropOutPieceCount;
}

Step Table::next() const {
    if (over() || !isSeat(turnSeat)) return {};
    if (pendingOut_ != 0) return {StepKind::dropOut, pendingOut_};
    const int seat = turnSeat;
    const bool kingGone = 存在チェック駒(取得_手番王(seat)) == valueNo;
    if (seatPlayer[seat] == playerHuman) {
        // A kingdom without its king leaves at its turn.
        if (kingGone) return {StepKind::dropOut, seat};
        if (!kingGone && !hasLegalMove(seat)) return {StepKind::pass, seat};
        return {StepKind::human, seat};
    }
    if (rotationStop == valueYes) return {StepKind::paused, seat};
    if (mustDropOut(seat)) return {StepKind::dropOut, seat};
    return {StepKind::computerMove, seat};
}

void Table::resume() {
    if (over()) return;
    rotationStop = valueNo;
}

void Table::step() {
    const Step s = next();
    switch (s.kind) {
        case StepKind::computerMove: commitComputerMove(s.seat, think(snapshot())); break;
        case StepKind::dropOut: dropOut(s.seat); break;
        case StepKind::pass: passHuman(s.seat); break;
        case StepKind::paused:
        case StepKind::human:
        case StepKind::none: break;
    }
}

// ------------------------------------------------------------ the steps

// After a kingdom dropped out: the one human lost, every human is gone, or
// one kingdom is left. True when the game ended.
bool Table::gameEndsAfterDropOut(int seat) {
    if (isSeat(seat) && seatPlayer[seat] == playerHuman && gameMode != modeSevenPlayers) {
        if (gameMode == modeOnePlayer || humanCount() == 1) {
            endGame({OutcomeKind::humanGone, seat});
            return true;
        }
        bool humanLeft = false;
        for (int s = 1; s <= seatCount; ++s)
            if (seatPlayer[s] == playerHuman && 調査_駒数(s) > 0) humanLeft = true;
        if (!humanLeft) {
            endGame({OutcomeKind::noHumanLeft, seat});
            return true;
        }
    }
    const int last = lastKingdomStanding();
    if (last == noSeat) return false;
    endGame({OutcomeKind::win, last, WinBy::lastStanding});
    return true;
}

bool Table::humanKingdomGone() const {
    if (gameMode == modeSevenPlayers) return false;
    if (gameMode == modeFree) {
        if (humanCount() == 0) return false;
        for (int s = 1; s <= seatCount; ++s)
            if (seatPlayer[s] == playerHuman && 調査_駒数(s) > 0) return false;
        return true;
    }
    for (int s = 1; s <= seatCount; ++s)
        if (seatPlayer[s] == playerHuman && 調査_駒数(s) == 0) return true;
    return false;
}

void Table::dropOut(int seat) {
    const bool next = seat == pendingOut_;
    const int mover = pendingMover_;
    pendingOut_ = 0;
    const bool hasPieces = 調査_駒数(seat) > 0;
    if (hasPieces) {
        戦線離脱処理(seat);
        push(eventOf(TableEventKind::droppedOut, seat));
    }
    if (next) {
        // The next kingdom was taken out after a computer's move: with a
        // human at the board the computers wait for a click.
        if (gameMode == modeOnePlayer || humanCount() > 0) rotationStop = valueYes;
        if (gameEndsAfterDropOut(seat)) return;
        turnTo(手番_進(mover));
        return;
    }
    if (seatPlayer[seat] == playerHuman) {
        turnTo(手番_進(seat));
        if (hasPieces) gameEndsAfterDropOut(seat);
        return;
    }
    if (hasPieces && gameEndsAfterDropOut(seat)) return;
    turnTo(手番_進(seat));
}

// False when the pass ended the game: a whole round went by without a move.
bool Table::passOn(int seat) {
    recordPass(seat);
    push(eventOf(TableEventKind::passed, seat));
    if (wholeRoundPassed()) {
        endGame({OutcomeKind::noKingdomCanMove, seat});
        return false;
    }
    turnTo(手番_進(seat));
    return true;
}

void Table::passHuman(int seat) {
    if (!passOn(seat)) return;
    // Against the computers a click plays each round on, so their chain
    // never runs unwatched while the human can only pass.
    if (gameMode != modeSevenPlayers) rotationStop = valueYes;
}

SearchRequest Table::snapshot() const {
    SearchRequest r;
    r.board = board;
    r.capturedCount = capturedCount;
    r.kingsCapturedCount = kingsCapturedCount;
    r.kingX = kingX;
    r.kingY = kingY;
    r.seat = turnSeat;
    r.level = levelOf(turnSeat);
    if (r.level == levelFour || r.level == levelFive) r.history = positionKeys();
    return r;
}

std::vector<std::uint64_t> Table::positionKeys() const {
    std::vector<std::uint64_t> keys;
    const auto end = std::min(static_cast<std::size_t>(std::max(moveNumber, 0)), moveRecord.size());
    for (std::size_t i = 0; i < end; ++i)
        keys.push_back(engine::positionKey(moveRecord[i].board(), moveRecord[i].seatToMove));
    return keys;
}

std::optional<SearchRequest> Table::hintRequest() const {
    if (next().kind != StepKind::human) return std::nullopt;
    SearchRequest r = snapshot();
    r.level = levelFive;
    r.history = positionKeys();
    return r;
}

std::optional<ChosenMove> Table::hint() const {
    const auto request = hintRequest();
    if (!request) return std::nullopt;
    return think(*request);
}

void Table::commitComputerMove(int seat, const std::optional<ChosenMove>& chosen) {
    if (next() != Step{StepKind::computerMove, seat}) return;
    // What the computer looked at before it chose.
    勢力調査();
    for (int king : kingRefreshOrder) 取得_王座標(king);

    if (!chosen) {
        passOn(seat);
        return;
    }

    moveNumber = moveNumber + 1;
    recordEnd = moveNumber;
    駒移動(chosen->fromX, chosen->fromY, chosen->toX, chosen->toY, chosen->piece);
    手順保存(moveNumber);
    TableEvent moved = eventOf(TableEventKind::moved, seat);
    moved.move = lastMove;
    moved.moveNumber = moveNumber;
    push(moved);
    勢力調査();
    handOnAfterComputer(seat);
}

// Has the mover won; must the next kingdom leave?
void Table::handOnAfterComputer(int seat) {
    if (調査_終了(seat) == valueYes) {
        endGame(winOf(seat));
        return;
    }
    if (humanKingdomGone()) {
        endGame({humanCount() > 1 ? OutcomeKind::noHumanLeft : OutcomeKind::humanGone, seat});
        return;
    }
    if (lastKingdomStanding() == seat) {
        endGame({OutcomeKind::win, seat, WinBy::lastStanding});
        return;
    }
    const int following = 手番_進(seat);
    const bool kingGone = 存在チェック駒(取得_手番王(following)) == valueNo;
    // A kingdom already taken out for its king has no pieces left to remove.
    const bool tooFewPieces = !kingGone && 調査_駒数(following) <= dropOutPieceCount;
    if (kingGone || tooFewPieces) {
        pendingOut_ = following;
        pendingMover_ = seat;
        return;
    }
    turnTo(following);
}

Refusal Table::submit(int seat, const TableMove& m) {
    if (over() || !isSeat(turnSeat) || gameMode == noSeat) return Refusal::noGame;
    if (seat != turnSeat || next().kind != StepKind::human) return Refusal::notYourTurn;
    if (!onBoard(m.fromX, m.fromY) || !onBoard(m.toX, m.toY)) return Refusal::notYourPiece;
    const int piece = board[m.fromX][m.fromY];
    if (blockOfCode(piece) != blockOfSeat(seat)) return Refusal::notYourPiece;
    if (移動チェック(m.fromX, m.fromY, m.toX, m.toY, piece) != valueYes) return Refusal::illegalMove;
    if (isKingCode(piece) && kingSquareReached(m.fromX, m.fromY, m.toX, m.toY, piece))
        return Refusal::kingSquareReached;

    for (int king : kingRefreshOrder) 取得_王座標(king);
    moveNumber += 1;
    recordEnd = moveNumber;
    駒移動(m.fromX, m.fromY, m.toX, m.toY, piece);
    手順保存(moveNumber);
    TableEvent moved = eventOf(TableEventKind::moved, seat);
    moved.move = lastMove;
    moved.moveNumber = moveNumber;
    push(moved);
    handOnAfterHuman(seat);
    return Refusal::none;
}

void Table::handOnAfterHuman(int seat) {
    if (調査_終了(seat) == valueYes) {
        endGame(winOf(seat));
        return;
    }
    if (lastKingdomStanding() == seat) {
        endGame({OutcomeKind::win, seat, WinBy::lastStanding});
        return;
    }
    if (gameMode != modeSevenPlayers) {
        勢力調査();
        rotationStop = valueNo;
    }
    turnTo(手番_進(seat));
}

bool Table::kingSquareReached(int fromX, int fromY, int toX, int toY, int king) {
    const Board savedBoard = board;
    const Board savedTotal = influenceTotal;
    const auto savedKingdoms = kingdomInfluence;
    board[toX][toY] = king;
    board[fromX][fromY] = emptyCode;
    勢力調査();
    const int b = blockOfCode(king);
    const bool reached = influenceTotal[toX][toY] - kingdomInfluence[b][toX][toY] > 0;
    board = savedBoard;
    influenceTotal = savedTotal;
    kingdomInfluence = savedKingdoms;
    return reached;
}

bool Table::kingSquare(int seat, int& x, int& y) const {
    const int king = 取得_手番王(seat);
    for (int kx = 1; kx <= boardSize; ++kx)
        for (int ky = 1; ky <= boardSize; ++ky)
            if (board[kx][ky] == king) {
                x = kx;
                y = ky;
                return true;
            }
    return false;
}

bool Table::kingCanBeTaken(int seat) const {
    int kx = 0, ky = 0;
    if (!kingSquare(seat, kx, ky)) return false;
    const int block = blockOfSeat(seat);
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y) {
            const int piece = board[x][y];
            const int owner = blockOfCode(piece);
            if (owner == 0 || owner == block) continue;
            if (移動チェック(x, y, kx, ky, piece) == valueYes) return true;
        }
    return false;
}

// ------------------------------------------------------------ the record

void Table::resumeHere() {
    outcome_.reset();
    pendingOut_ = 0;
    rotationStop = valueNo;
}

void Table::takeOver(const ReplayedGame& game) {
    gameMode = game.mode;
    for (int s = 1; s <= seatCount; ++s) {
        seatPlayer[s] = game.seats[static_cast<std::size_t>(s)].human ? playerHuman : playerComputer;
        // Outside a free game the computers follow the level of the menu.
        seatLevel[s] = game.mode == modeFree ? game.seats[static_cast<std::size_t>(s)].level : 0;
    }
    computerLevel = game.level;
    moveRecord = game.record;
    moveNumber = static_cast<int>(game.record.size()) - 1;
    recordEnd = moveNumber;
    const RecordEntry& last = game.record.back();
    board = last.board();
    capturedCount = last.capturedCount();
    kingsCapturedCount = last.kingsCapturedCount();
    turnSeat = game.seatToMove;
    rotationStop = valueNo;
    pendingOut_ = 0;
    events_.clear();
    outcome_ = game.outcome;
}

}  // namespace daro
