// A game at a server: the window shows what the server announces, with the
// blinks and sounds of the game's own moves, and sends its player's moves.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "Form1.h"
#include "record/GameFile.h"

namespace daro {

namespace {

std::optional<RecordEvent> moveOf(const std::string& line) {
    int n = 0, seat = 0, fx = 0, fy = 0, tx = 0, ty = 0, piece = 0, captured = 0;
    if (std::sscanf(line.c_str(), "move %d %d %d %d %d %d %d %d", &n, &seat, &fx, &fy, &tx, &ty, &piece, &captured) !=
        8)
        return std::nullopt;
    return RecordEvent{EventKind::Move,
                       static_cast<std::uint8_t>(seat),
                       static_cast<std::uint8_t>(fx),
                       static_cast<std::uint8_t>(fy),
                       static_cast<std::uint8_t>(tx),
                       static_cast<std::uint8_t>(ty),
                       static_cast<std::uint8_t>(piece),
                       static_cast<std::uint8_t>(captured)};
}

int seatOf(const std::string& line) {
    const auto space = line.find(' ');
    return space == std::string::npos ? 0 : std::atoi(line.c_str() + space + 1);
}

}  // namespace

void Form1::followRemoteGame(const std::array<SeatKind, 8>& seats, int mySeat, const std::vector<std::string>& lines) {
    初期設定();
    // The server plays a table of seven humans as the seven-player game, any other as a free game.
    const bool allHuman = std::all_of(seats.begin() + 1, seats.end(), [](const SeatKind& k) { return k.human; });
    table.seat(allHuman ? modeSevenPlayers : modeFree, seats);
    for (const std::string& line : lines) {
        if (line.rfind("move ", 0) != 0 && line.rfind("out ", 0) != 0 && line.rfind("pass ", 0) != 0) continue;
        if (!playEventLine(table, line).empty()) break;
    }
    table.drainEvents();
    remoteSeat = mySeat;
    remoteSeats = seats;
    gameStarted = valueYes;
    recordNavigated = valueNo;
    clickPhase = 0;
    showWholeGame();
}

void Form1::leaveRemoteGame() {
    sendMove = nullptr;
    remoteSeat = 0;
    remoteHints = false;
}

bool Form1::reviewingRemote() const { return remote() && recordNavigated == valueYes; }

void Form1::backToNow() {
    if (!reviewingRemote()) return;
    // The game is built again from its record, as it came from the server.
    const std::vector<std::string> lines = recordLines(moveRecord, recordEnd);
    followRemoteGame(remoteSeats, remoteSeat, lines);
}

bool Form1::presentRemoteLine(const std::string& line) {
    // A move made while the player looks back is shown on the game as it stands.
    backToNow();
    if (const auto move = moveOf(line)) {
        if (table.next().kind == StepKind::paused) table.resume();
        if (move->seat != turnSeat) return false;
        if (move->seat == remoteSeat) {
            // The server took our own move: shown as a click's move is.
            presentHumanMove({move->fromX, move->fromY, move->toX, move->toY}, move->piece);
            return table.moveNumber >= 1 && moveRecord[static_cast<std::size_t>(moveNumber)].move == *move;
        }
        presentRemoteMove(*move, line);
        return true;
    }
    const int seat = seatOf(line);
    if (line.rfind("out ", 0) == 0) {
        描画_アイコン(seat, true);
        if (table.調査_駒数(seat) > 0) 描画_戦線離脱(seat);
        then([this, seat, line] {
            playEventLine(table, line);
            描画_アイコン(seat, false);
            描画_アイコン(turnSeat, true);
            presentEvents();
        });
        return true;
    }
    if (line.rfind("pass ", 0) == 0) {
        if (!playEventLine(table, line).empty()) return false;
        描画_アイコン(seat, false);
        描画_アイコン(turnSeat, true);
        presentEvents();
        return true;
    }
    return false;
}

// Another seat's move: its square blinks, then the piece goes, as the
// computer's moves are shown.
void Form1::presentRemoteMove(const RecordEvent& m, const std::string& line) {
    描画_アイコン(m.seat, true);
    描画_将棋盤桝();
    for (int y = -1; y <= 0; ++y)
        for (int x = -2; x <= 0; ++x) 描画_絵(backgroundCode, x, y);
    描画_手数(moveNumber + 1);
    描画_桝点滅(m.fromX, m.fromY, 4);
    then([this, m, line] {
        module1.play(soundPiece);
        if (!playEventLine(table, line).empty()) return;
        描画_駒移動(m.fromX, m.fromY, m.toX, m.toY, m.piece);
        描画_桝輪郭(colorWhite, m.toX, m.toY);
        描画_アイコン(m.seat, false);
        描画_持ち駒数(backgroundCode);
        if (!table.over()) 描画_アイコン(turnSeat, true);
        presentEvents();
    });
}

}  // namespace daro
