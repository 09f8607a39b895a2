// The marks on the real canvas: on the pieces of all seven kingdoms each
// number reads against the badge under it (contrast ratio of at least 4.5:1),
// a badge at least ten pixels high at the classic size.
#include <QHash>

#include <cmath>
#include <set>

#include "QtFixture.h"

namespace daro::test {
namespace {

double luminance(QColor c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int pixelOf(double twips) { return int(std::ceil(twips / 15.0 - 1e-9)); }

class MarkContrast : public QtWindowTest {
protected:
    // The marks shown to the human at `seat` once the six computers have
    // moved after the human's first move, checked on the canvas.
    void checkMarksSeenBy(int seat, std::set<int>& kingdomsSeen) {
        window.load();
        window.dispatch([](Form1& f) { f.HAYASA_SAISOKU_Click(); });
        window.setChecked("TE_HYOUJI", true);
        // 秦 moves first: at 秦 the human is told so in a box.
        SeenBox whoseTurn;
        if (seat == 1) answerNextBox(QMessageBox::Ok, &whoseTurn);
        window.dispatch([seat](Form1& f) { seat == 1 ? f.JYUNBAN_1_Click() : f.JYUNBAN_2_Click(); });
        ASSERT_EQ(whoseTurn.shown, seat == 1);
        // Any legal move of the human, then the computers answer.
        window.dispatch([](Form1& f) {
            for (int x = 1; x <= Form1::boardSize; ++x)
                for (int y = 1; y <= Form1::boardSize; ++y)
                    for (int tx = 1; tx <= Form1::boardSize; ++tx)
                        for (int ty = 1; ty <= Form1::boardSize; ++ty) {
                            const int piece = f.board[x][y];
                            if (Form1::blockOfCode(piece) != Form1::blockOfSeat(f.turnSeat) ||
                                Form1::isKingCode(piece) || f.table.移動チェック(x, y, tx, ty, piece) != Form1::valueYes)
                                continue;
                            f.Form_MouseDown(1, 0, f.twipsX(x + 0.5), f.twipsY(y + 0.5));
                            f.Form_MouseDown(1, 0, f.twipsX(tx + 0.5), f.twipsY(ty + 0.5));
                            return;
                        }
        });
        const std::vector<Form1::MoveMark> marks = form.movesSinceHumanTurn();
        ASSERT_EQ(marks.size(), 6u);
        const QImage shown = window.canvas()->buffer();
        for (const Form1::MoveMark& m : marks) {
            SCOPED_TRACE("seat " + std::to_string(m.seat));
            kingdomsSeen.insert(m.seat);
            const int left = pixelOf(form.twipsX(m.x)), top = pixelOf(form.twipsY(m.y));
            // The badge: the run of one colour down its inner left column.
            const QColor fill = shown.pixelColor(left + 3, top + 3);
            int height = 0;
            while (height < 31 && shown.pixelColor(left + 3, top + 3 + height) == fill) ++height;
            EXPECT_GE(height + 2, 10);
            // The number: pixels of the badge neither its fill nor its frame's
            // row and column, in the colour that stands out most.
            int inked = 0;
            QColor number = fill;
            for (int y = top + 3; y < top + 2 + height; ++y)
                for (int x = left + 4; x < left + 12; ++x) {
                    const QColor c = shown.pixelColor(x, y);
                    if (contrast(c, fill) >= 3) ++inked;
                    if (contrast(c, fill) > contrast(number, fill)) number = c;
                }
            EXPECT_GE(inked, 6) << "no number on the badge, or a few stray pixels";
            EXPECT_GE(contrast(number, fill), 4.5)
                << "number " << number.name().toStdString() << " on " << fill.name().toStdString();
        }
    }
};

TEST_F(MarkContrast, EveryKingdomsMarkNumberReadsAgainstItsPieceOnABadgeTenPixelsHigh) {
    std::set<int> seen;
    checkMarksSeenBy(1, seen);
}

TEST_F(MarkContrast, TheWhitePiecesOfQinCarryAReadableMarkToo) {
    std::set<int> seen;
    checkMarksSeenBy(2, seen);
    EXPECT_TRUE(seen.count(1)) << "秦 moved after the human at 楚";
}

}  // namespace
}  // namespace daro::test
