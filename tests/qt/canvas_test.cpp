// Drawing on the back buffer, and clicks mapped back to twips.
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

#include "QtFixture.h"

namespace daro::test {
namespace {

// Square (x, y) of the board in twips, as the game places it.
double squareLeft(int x) { return 1100 + 465.0 * x; }
double squareTop(int y) { return 130 + 465.0 * y; }
int columnOf(double xTwips) { return int(std::floor((xTwips - 1100) / 465)); }

struct Press {
    int button, shift;
    double x, y;
};

Press press(qt::Canvas* canvas, QPoint at, Qt::MouseButton button = Qt::LeftButton,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QSignalSpy spy(canvas, &qt::Canvas::mousePressed);
    QTest::mousePress(canvas, button, modifiers, at);
    QTest::mouseRelease(canvas, button, modifiers, at);
    if (spy.count() != 1) {
        ADD_FAILURE() << "expected one press, got " << spy.count();
        return {0, 0, 0, 0};
    }
    const QList<QVariant> a = spy.takeFirst();
    return {a[0].toInt(), a[1].toInt(), a[2].toDouble(), a[3].toDouble()};
}

// A bare canvas: a click on the board of a game would be answered by a box.
TEST(Canvas, TheFirstAndLastPixelsDrawnForTheBoardAreClickedAsTheBoard) {
    qt::Canvas bare;
    qt::Canvas* canvas = &bare;
    canvas->clear(Qt::black);
    canvas->paintPicture("KARA_MASU", squareLeft(1), squareTop(1));
    canvas->paintPicture("KARA_MASU", squareLeft(19), squareTop(1));
    ASSERT_EQ(canvas->bufferRatio(), 1.0);
    const QImage& buffer = canvas->buffer();
    const int y = canvas->toDevice(squareTop(1)) + 15;

    // The leftmost pixel showing square 1 ...
    const int first = canvas->toDevice(squareLeft(1));
    EXPECT_NE(pixel(buffer, first, y), QColor(Qt::black));
    EXPECT_EQ(pixel(buffer, first - 1, y), QColor(Qt::black));
    EXPECT_EQ(columnOf(press(canvas, {first, y}).x), 1);
    EXPECT_EQ(columnOf(press(canvas, {first - 1, y}).x), 0);

    // ... and the rightmost showing square 19.
    const int last = canvas->toDevice(squareLeft(20)) - 1;
    EXPECT_NE(pixel(buffer, last, y), QColor(Qt::black));
    EXPECT_EQ(pixel(buffer, last + 1, y), QColor(Qt::black));
    EXPECT_EQ(columnOf(press(canvas, {last, y}).x), 19);
    EXPECT_EQ(columnOf(press(canvas, {last + 1, y}).x), 20);

    const Press at = press(canvas, {first, y});
    EXPECT_DOUBLE_EQ(at.x, first * 15.0);
    EXPECT_DOUBLE_EQ(at.y, y * 15.0);
}

TEST(Canvas, ButtonsAndShiftKeysArePassedAsTheGameNumbersThem) {
    qt::Canvas bare;
    qt::Canvas* canvas = &bare;
    const Press left = press(canvas, {200, 200});
    EXPECT_EQ(left.button, 1);
    EXPECT_EQ(left.shift, 0);
    EXPECT_EQ(press(canvas, {200, 200}, Qt::RightButton).button, 2);
    EXPECT_EQ(press(canvas, {200, 200}, Qt::MiddleButton).button, 4);
    EXPECT_EQ(press(canvas, {200, 200}, Qt::LeftButton, Qt::ShiftModifier).shift, 1);
    EXPECT_EQ(press(canvas, {200, 200}, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier).shift, 6);
}

TEST_F(QtWindowTest, AnOutlineRunsAlongTheEdgePixelsOfItsSquare) {
    qt::Canvas* canvas = window.canvas();
    canvas->clear(Qt::black);
    canvas->paintPicture("KARA_MASU", squareLeft(2), squareTop(2));
    window.drawRectangle(squareLeft(2), squareTop(2), squareLeft(3), squareTop(3), 2);
    const QImage& b = canvas->buffer();
    const QColor green(0, 128, 0);
    const int left = canvas->toDevice(squareLeft(2)), right = canvas->toDevice(squareLeft(3));
    const int top = canvas->toDevice(squareTop(2)), bottom = canvas->toDevice(squareTop(3));
    for (int x = left; x <= right; ++x) {
        EXPECT_EQ(pixel(b, x, top), green) << x;
        EXPECT_EQ(pixel(b, x, bottom), green) << x;
    }
    for (int y = top; y <= bottom; ++y) {
        EXPECT_EQ(pixel(b, left, y), green) << y;
        EXPECT_EQ(pixel(b, right, y), green) << y;
    }
    EXPECT_NE(pixel(b, left + 1, top + 1), green);
    EXPECT_EQ(pixel(b, left - 1, top - 1), QColor(Qt::black));
    EXPECT_EQ(pixel(b, right + 1, bottom + 1), QColor(Qt::black));
}

// Ink rows of the buffer between two rows, in a column range.
int firstInkedRow(const QImage& b, int x0, int x1, const QColor& paper) {
    for (int y = 0; y < b.height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (pixel(b, x, y) != paper) return y;
    return -1;
}

TEST_F(QtWindowTest, TextHangsBelowItsPrintPosition) {
    qt::Canvas* canvas = window.canvas();
    canvas->clear(Qt::white);
    const double x = 3000, y = 3000;
    window.printText(x, y, "田", 16, true, 0);
    const int top = canvas->toDevice(y);
    const int ink = firstInkedRow(canvas->buffer(), canvas->toDevice(x), canvas->toDevice(x) + 40, Qt::white);
    ASSERT_GE(ink, 0) << "nothing printed";
    // 16 points are about 21 pixels; the glyph starts inside the text cell.
    EXPECT_GE(ink, top);
    EXPECT_LT(ink, top + 8);
}

TEST_F(QtWindowTest, WhatWasDrawnIsShownAgainAfterTheWindowIsUncovered) {
    window.show();
    window.setBackColor(2);
    window.canvas()->paintPicture("SOU_OHU", squareLeft(1), squareTop(10));
    window.printText(200, 200, "秦 取駒(王) ", 11, false, 15);
    window.refresh();
    window.hide();
    window.show();
    QApplication::processEvents();
    const QImage shown = window.canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& buffer = window.canvas()->buffer();
    ASSERT_EQ(shown.size(), buffer.size());
    EXPECT_EQ(shown, buffer.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(pixel(shown, 5, 680), QColor(0, 128, 0));
}

TEST_F(QtWindowTest, IconsStartHiddenAndArePlacedInTwips) {
    window.show();
    int count = 0;
    for (QLabel* label : window.canvas()->findChildren<QLabel*>()) {
        if (!label->objectName().startsWith("ICO_")) continue;
        ++count;
        EXPECT_FALSE(label->isVisible()) << label->objectName().toStdString();
    }
    EXPECT_EQ(count, 14);
    window.setIconPosition("ICO_MAN_SOU", 940, 4800);
    window.setIconVisible("ICO_MAN_SOU", true);
    QLabel* man = window.icon("ICO_MAN_SOU");
    EXPECT_EQ(man->pos(), QPoint(63, 320));
    EXPECT_TRUE(man->isVisible());
    window.setIconVisible("ICO_MAN_SOU", false);
    EXPECT_FALSE(man->isVisible());
}

TEST_F(QtWindowTest, PlacingTheWindowKeepsTheCanvasSizeAndReportsTheTop) {
    window.placeWindow(-60, -60, 14000, 11000);
    EXPECT_EQ(window.windowTop(), -60);
    EXPECT_EQ(window.canvas()->size(), QSize(925, 687));
}

}  // namespace
}  // namespace daro::test
