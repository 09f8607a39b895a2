// "保存..." and "開く...": the game as a file, and a file as the game.
#include <string>

#include "Form1.h"
#include "play/GameFile.h"
#include "play/GameFileReasons.h"

namespace daro {

namespace {

int humanSeatOf(const Form1& f) {
    for (int s = 1; s <= Form1::seatCount; ++s)
        if (f.seatPlayer[s] == Form1::playerHuman) return s;
    return 1;
}

void refuse(Form1& f, const std::string& text, const std::string& title) {
    f.module1.play(f.soundForbidden);
    f.window.messageBox(text, title, BoxButtons::Ok, BoxIcon::Warning);
}

}  // namespace

void Form1::SAVE_Click() {
    if (gameStarted == valueNo) {
        module1.play(soundForbidden);
        window.messageBox("「対局」で始めて下さい", "開始", BoxButtons::Ok, BoxIcon::None);
        return;
    }
    const std::string path = window.chooseFileToSave("保存");
    if (path.empty()) return;
    const int mode = gameMode == modeOnePlayer ? modeOnePlayer : modeSevenPlayers;
    const std::string text = gameFileText(mode, humanSeatOf(*this), computerLevel, moveRecord, recordEnd, "");
    std::string reason;
    if (!writeFileReplacing(path, text, reason)) refuse(*this, path + "\n保存できません: " + japaneseReason(reason), "保存");
}

void Form1::OPEN_Click() {
    const std::string path = window.chooseFileToOpen("開く");
    if (path.empty()) return;
    std::string reason;
    const auto bytes = readGameFileBytes(path, reason);
    if (!bytes) {
        refuse(*this, path + "\n開けません: " + japaneseReason(reason), "開く");
        return;
    }
    const GameFileResult result = replayGameFile(*bytes);
    if (!result.game) {
        const GameFileProblem& p = result.problem;
        const std::string where = p.line > 0 ? std::to_string(p.line) + " 行目: " : std::string();
        refuse(*this, path + "\n開けません: " + where + japaneseReason(p.reason), "開く");
        return;
    }
    takeOverGame(*result.game);
}

void Form1::takeOverGame(const ReplayedGame& game) {
    gameMode = game.mode;
    for (int s = 1; s <= seatCount; ++s)
        seatPlayer[s] = game.mode == modeOnePlayer && s != game.humanSeat ? playerComputer : playerHuman;
    computerLevel = game.level;
    for (int level = 1; level <= 4; ++level) window.setChecked("LEVEL" + std::to_string(level), level == game.level);

    moveRecord = game.record;
    moveNumber = static_cast<int>(game.record.size()) - 1;
    recordEnd = moveNumber;
    const RecordEntry& last = game.record.back();
    board = last.board();
    capturedCount = last.capturedCount();
    kingsCapturedCount = last.kingsCapturedCount();
    turnSeat = game.seatToMove;

    gameStarted = valueYes;
    // Play goes on from the opened position with the next board click.
    recordNavigated = valueYes;
    rotationStop = valueNo;
    clickPhase = 0;

    消去_アイコン();
    画面_再描画();
    描画_手数(moveNumber, colorWhite);
    描画_アイコン(turnSeat, true);
    window.refresh();
}

}  // namespace daro
