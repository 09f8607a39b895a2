#pragma once
// A Form1 wired to the recording doubles.

#include <gtest/gtest.h>

#include "Form1.h"
#include "InstantClock.h"
#include "RecordingSoundLibrary.h"
#include "RecordingWindow.h"

namespace daro::test {

// The 1_PLAY seat command of `seat`.
inline void takeSeat(Form1& form, int seat) {
    switch (seat) {
        case 1: form.JYUNBAN_1_Click(); break;
        case 2: form.JYUNBAN_2_Click(); break;
        case 3: form.JYUNBAN_3_Click(); break;
        case 4: form.JYUNBAN_4_Click(); break;
        case 5: form.JYUNBAN_5_Click(); break;
        case 6: form.JYUNBAN_6_Click(); break;
        default: form.JYUNBAN_7_Click(); break;
    }
}

class GameFixture : public ::testing::Test {
public:
    RecordingWindow window;
    InstantClock clock;
    RecordingSoundLibrary sound;
    Form1 form{window, clock, &sound};

    // Twips of the centre of board square (x, y).
    double squareX(int x) const { return form.boardLeft + x * form.cellWidth + form.cellWidth / 2.0; }
    double squareY(int y) const { return form.boardTop + y * form.cellHeight + form.cellHeight / 2.0; }
    void clickSquare(int x, int y) { form.Form_MouseDown(1, 0, squareX(x), squareY(y)); }

    void clearBoard() {
        for (auto& column : form.board) column.fill(Form1::emptyCode);
        form.board[10][10] = Form1::centreCode;
    }
};

}  // namespace daro::test
