// Following a game: a new game in one step, the game kept after every move
// and opened again, taking back to the human's turn, and the move list.
#include <filesystem>
#include <system_error>

#include "Form1.h"
#include "record/GameFile.h"

namespace daro {

namespace {

bool isSeat(int seat) { return seat >= 1 && seat <= Codes::seatCount; }

// A square as the board's labels name it: the column number, the row numeral.
std::string squareName(int x, int y) { return std::to_string(20 - x) + Codes::rowLabel(y); }

std::string pieceName(int code) {
    return Codes::kingdomName(Codes::seatOfBlock(Codes::blockOfCode(code))) + Codes::kindName(code);
}

std::string moveText(int n, const RecordEvent& m) {
    std::string text = std::to_string(n) + " " + Codes::kingdomName(m.seat) + " " + Codes::kindName(m.piece) + " " +
                       squareName(m.fromX, m.fromY) + "→" + squareName(m.toX, m.toY);
    if (m.captured != Codes::emptyCode) text += " ×" + pieceName(m.captured);
    return text;
}

}  // namespace

void Form1::startFromOpening(int mode, const std::array<SeatKind, 8>& seats) {
    初期設定();
    table.seat(mode, seats);
    table.drainEvents();
    gameStarted = valueYes;
    recordNavigated = valueNo;
    for (auto [x, y] : {std::pair{-2, -1}, {-1, -1}, {0, -1}, {1, -1}, {-2, 0}, {-1, 0}, {0, 0}})
        描画_絵(backgroundCode, x, y);
    if (gameMode == modeOnePlayer) 描画_レベル(computerLevel);
    消去_アイコン();
    描画_アイコン(turnSeat, true);
    描画_手番表示();
    if (seatPlayer[turnSeat] == playerHuman)
        window.messageBox(kingdomName(turnSeat) + "の番です", "", BoxButtons::Ok, BoxIcon::None);
    followGame();
    対局_回転();
}

void Form1::SHINKI_Click() {
    if (gameMode == noSeat) {
        refuseNoGame();
        return;
    }
    // Seats keep their players and levels; a level 0 follows the menu.
    std::array<SeatKind, 8> seats{};
    for (int s = 1; s <= seatCount; ++s)
        seats[static_cast<std::size_t>(s)] = {seatPlayer[s] == playerHuman, table.seatLevel[s]};
    startFromOpening(gameMode, seats);
}

void Form1::autosave() {
    if (places.autosaveFile.empty() || gameStarted == valueNo || gameMode == noSeat) return;
    std::error_code ignored;
    std::filesystem::create_directories(places.autosaveFile.parent_path(), ignored);
    const std::string result = table.over() ? resultLine(*table.outcome()) : std::string();
    const std::string text = gameFileText(headerOf(table), moveRecord, recordEnd, result);
    std::string reason;
    // A full disk or a read-only folder costs the autosave only, never the game.
    writeFileReplacing(places.autosaveFile.string(), text, reason);
}

void Form1::ZENKAI_Click() {
    std::string reason;
    const auto bytes = places.autosaveFile.empty() ? std::nullopt
                                                   : readGameFileBytes(places.autosaveFile.string(), reason);
    if (!bytes) {
        module1.play(soundForbidden);
        window.messageBox("前回の対局はありません", "前回の続き", BoxButtons::Ok, BoxIcon::None);
        return;
    }
    const GameFileResult result = replayGameFile(*bytes);
    if (!result.game) {
        module1.play(soundForbidden);
        window.messageBox("前回の対局を開けません: " + result.problem.reason, "前回の続き", BoxButtons::Ok,
                          BoxIcon::Warning);
        return;
    }
    takeOverGame(*result.game);
    // The game left last time goes on at the first click, unasked.
    if (guidedPlay() && !table.over()) resumeQuietly_ = true;
}

void Form1::offerLastGame() {
    if (!guidedPlay() || gameStarted == valueYes || places.autosaveFile.empty()) return;
    // A missing, unreadable or finished game is not worth a question.
    std::string reason;
    const auto bytes = readGameFileBytes(places.autosaveFile.string(), reason);
    if (!bytes) return;
    const GameFileResult result = replayGameFile(*bytes);
    if (!result.game || result.game->outcome || result.game->seatToMove == noSeat) return;
    if (window.messageBox("前回の続き", "前回の続き", BoxButtons::YesNo, BoxIcon::None) != BoxAnswer::Yes) return;
    takeOverGame(*result.game);
    if (!table.over()) resumeQuietly_ = true;
}

void Form1::showReviewCommand() {
    const bool earlier = gameStarted == valueYes && recordNavigated == valueYes && moveNumber < recordEnd;
    window.setItemVisible("GENZAI", earlier && (guidedPlay() || remote()));
}

void Form1::GENZAI_Click() {
    if (remote()) {
        backToNow();
        return;
    }
    if (gameStarted == valueNo || recordNavigated == valueNo) return;
    showRecordPosition(recordEnd);
    // The game stands as it was left: the next click plays on, unasked.
    if (moveNumber == recordEnd && guidedPlay()) resumeQuietly_ = true;
}

void Form1::takeBackToHumanTurn() {
    if (gameStarted == valueNo || moveNumber < 1) {
        REPLAY_Click();  // says why not, as 戻 does
        return;
    }
    do {
        const int before = moveNumber;
        REPLAY_Click();
        if (moveNumber == before) return;
    } while (moveNumber >= 1 && !(isSeat(turnSeat) && seatPlayer[turnSeat] == playerHuman));
}

void Form1::showRecordPosition(int n) {
    if (gameStarted == valueNo || n < 0 || n > recordEnd) return;
    while (moveNumber != n) {
        const int before = moveNumber;
        if (moveNumber > n)
            REPLAY_Click();
        else
            AFTER_Click();
        if (moveNumber == before) return;
    }
}

std::vector<Form1::MoveListLine> Form1::moveList() const {
    std::vector<MoveListLine> lines;
    const int last = std::min(recordEnd, static_cast<int>(moveRecord.size()) - 1);
    for (int n = 0; n <= last; ++n) {
        const RecordEntry& entry = moveRecord[static_cast<std::size_t>(n)];
        if (n > 0 && entry.move.kind == EventKind::Move) lines.push_back({n, moveText(n, entry.move), entry.move});
        for (const RecordStep& step : entry.after) {
            const std::string what = step.kind == EventKind::Out ? " 脱落" : " パス";
            RecordEvent event;
            event.kind = step.kind;
            event.seat = step.seat;
            lines.push_back({n, "  " + kingdomName(step.seat) + what, event});
        }
    }
    return lines;
}

void Form1::followGame() {
    clearHint();
    autosave();
    描画_経過();
}

}  // namespace daro
