// A computer kingdom's turn as the window shows it: the drop-out, or the
// thinking display, the blinking square and the move.
#include "Form1.h"

namespace daro {

namespace {

void clearThinkingArea(Form1& f) {
    for (int y = -1; y <= 0; ++y)
        for (int x = -2; x <= 0; ++x) f.描画_絵(f.backgroundCode, x, y);
}

}  // namespace

void Form1::com_ban(int seat) {
    then([this, seat] {
        描画_アイコン(seat, true);
        描画_将棋盤桝();
        const Step step = table.next();
        if (step.kind == StepKind::dropOut && step.seat == seat) {
            if (table.調査_駒数(seat) > 0) 描画_戦線離脱(seat);
            then([this, seat] {
                table.step();
                描画_アイコン(seat, false);
                presentEvents();
            });
            return;
        }
        if (step.kind != StepKind::computerMove || step.seat != seat) return;

        // The thinking display covers the level and move-number texts.
        描画_絵(backgroundCode, -2, -1);
        描画_絵(backgroundCode, -1, -1);
        描画_絵(backgroundCode, 0, -1);
        for (int y = 0; y <= 1; ++y)
            for (int x = -2; x <= 0; ++x) 描画_絵(backgroundCode, x, y);
        描画_数値(-1.2, 0.3, std::string("思考中"), colorBlack, 0, 12);
        描画_数値(-1.3, 0.2, std::string("思考中"), colorWhite, 0, 12);
        window.refresh();

        const SearchRequest request = table.snapshot();
        awaitStep([this, request](std::function<void()> done) {
            searcher.think(request, [this, done](std::optional<ChosenMove> chosen) {
                chosen_ = chosen;
                done();
            });
        });
        then([this, seat] { presentComputerMove(seat, chosen_); });
    });
}

void Form1::presentComputerMove(int seat, const std::optional<ChosenMove>& chosen) {
    // A game left meanwhile (a new game, a file opened) is not this move's.
    if (table.next() != Step{StepKind::computerMove, seat}) return;
    clearThinkingArea(*this);
    // One level for all computers stands beside the board; where seats have
    // levels of their own no single one does, and a human's move would leave
    // half of it behind.
    if (gameMode == modeOnePlayer) 描画_レベル(table.levelOf(seat));
    if (!chosen) {
        // No legal move: the kingdom passes; the move number stays.
        描画_手数(moveNumber);
        描画_アイコン(seat, false);
        table.commitComputerMove(seat, chosen);
        presentEvents();
        return;
    }
    描画_手数(moveNumber + 1);
    描画_桝点滅(chosen->fromX, chosen->fromY, 4);
    then([this, seat, m = *chosen] {
        module1.play(soundPiece);
        table.commitComputerMove(seat, m);
        描画_駒移動(m.fromX, m.fromY, m.toX, m.toY, m.piece);
        描画_桝輪郭(colorWhite, m.toX, m.toY);
        描画_アイコン(seat, false);
        描画_持ち駒数(backgroundCode);
        presentEvents();
        // The turn ends with the next kingdom taken out, when it must go.
        const Step next = table.next();
        if (next.kind == StepKind::dropOut && next.seat != turnSeat) presentDropOut(next.seat);
    });
}

}  // namespace daro
