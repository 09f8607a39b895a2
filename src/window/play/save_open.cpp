// "保存..." and "開く...": the game as a file, and a file as the game.
#include <string>

#include "Form1.h"
#include "record/GameFile.h"
#include "record/GameFileReasons.h"

namespace daro {

namespace {

void refuse(Form1& f, const std::string& text, const std::string& title) {
    f.module1.play(f.soundForbidden);
    f.window.messageBox(text, title, BoxButtons::Ok, BoxIcon::Warning);
}

}  // namespace

void Form1::SAVE_Click() {
    if (gameStarted == valueNo) {
        refuseNoGame();
        return;
    }
    const std::string path = window.chooseFileToSave("保存");
    if (path.empty()) return;
    const std::string text = gameFileText(headerOf(table), moveRecord, recordEnd, "");
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
    table.takeOver(game);
    for (int level = 1; level <= 4; ++level) window.setChecked("LEVEL" + std::to_string(level), level == game.level);
    if (game.level == levelFive || window.isChecked("LEVEL5")) window.setChecked("LEVEL5", game.level == levelFive);
    gameStarted = valueYes;
    // Play goes on from the opened position with the next board click.
    recordNavigated = valueYes;
    resumeQuietly_ = false;
    clickPhase = 0;

    showWholeGame();
}

// The position taken over from elsewhere, drawn anew with the seat to move.
void Form1::showWholeGame() {
    消去_アイコン();
    画面_再描画();
    描画_手数(moveNumber, colorWhite);
    描画_アイコン(turnSeat, true);
    window.refresh();
}

}  // namespace daro
