// The chain of automatic steps that runs until a human is to move, as the
// window shows it.
#include "Form1.h"

namespace daro {

void Form1::対局_回転() {
    then([this] {
        const Step step = table.next();
        // At a server the steps are the server's; the window only shows them.
        if (remote()) {
            if (step.kind != StepKind::none) 描画_アイコン(step.seat, true);
            return;
        }
        switch (step.kind) {
            case StepKind::human:
            case StepKind::paused:
                // Paused at a computer seat: its icon says who plays on the next click.
                描画_アイコン(step.seat, true);
                return;
            case StepKind::none: return;
            default: break;
        }
        presentStep(step);
        then([this] {
            if (!ended && !table.over()) 対局_回転();
        });
    });
}

void Form1::presentStep(const Step& step) {
    const bool computer = seatPlayer[step.seat] == playerComputer;
    if (step.kind == StepKind::computerMove || (computer && step.kind == StepKind::dropOut && step.seat == turnSeat))
        com_ban(step.seat);
    else if (step.kind == StepKind::dropOut)
        presentDropOut(step.seat);
    else if (step.kind == StepKind::pass)
        presentPass(step.seat);
}

// A kingdom taken out after a computer's move, or one whose king is gone
// when its turn comes.
void Form1::presentDropOut(int seat) {
    const bool afterComputer = seat != turnSeat;
    描画_アイコン(seat, true);
    if (table.調査_駒数(seat) > 0) 描画_戦線離脱(seat);
    then([this, seat, afterComputer] {
        table.step();
        if (afterComputer && table.over()) {
            presentEvents();
            return;
        }
        描画_アイコン(seat, false);
        if (!afterComputer) 描画_アイコン(turnSeat, true);
        presentEvents();
    });
}

// A human with pieces and a king but no legal move could only wait for
// ever; the turn passes on as a computer's does.
void Form1::presentPass(int seat) {
    table.step();
    if (!table.over()) {
        描画_アイコン(seat, false);
        描画_アイコン(turnSeat, true);
    }
    presentEvents();
}

void Form1::presentEvents() {
    const std::vector<TableEvent> events = table.drainEvents();
    // Kept and drawn before any box: the answer to one may end the program.
    if (!events.empty()) followGame();
    for (const TableEvent& e : events) {
        if (e.kind == TableEventKind::gameOver) {
            presentOutcome(e.outcome);
            return;
        }
        // With several humans against the computers, a human kingdom that
        // leaves is told; play goes on.
        if (e.kind == TableEventKind::droppedOut && gameMode == modeFree && seatPlayer[e.seat] == playerHuman &&
            table.humanCount() > 1 && !table.over()) {
            window.messageBox(kingdomName(e.seat) + "は脱落しました", "脱落", BoxButtons::Ok, BoxIcon::None);
        }
    }
}

}  // namespace daro
