// A resized window: the game's area keeps its aspect, a click in the centre
// of every square reaches that square, and the board is drawn at the new
// resolution rather than stretched.
#include <QTest>

#include "QtFixture.h"

namespace daro::test {
namespace {

class ScaledWindow : public QtWindowTest {
protected:
    void SetUp() override {
        window.load();
        window.show();
        QCoreApplication::processEvents();
    }
    void resizeCanvasTo(QSize canvas) {
        window.resize(window.size() - window.canvas()->size() + canvas);
        QCoreApplication::processEvents();
    }
};

TEST_F(ScaledWindow, AClickInTheCentreOfEverySquareHitsThatSquareAtOneAndAHalfAndTwiceTheSize) {
    const QSize classic(qt::Canvas::widthPixels, qt::Canvas::heightPixels);
    for (double factor : {1.5, 2.0}) {
        // A wider window than the aspect: the area is centred, the rest is background.
        resizeCanvasTo(QSize(int(classic.width() * factor) + 40, int(classic.height() * factor)));
        qt::Canvas* canvas = window.canvas();
        ASSERT_NEAR(canvas->scale(), factor, 0.01);
        ASSERT_EQ(canvas->areaOffset().x(), 20);
        // Only where the clicks land matters here, not what the game makes of them.
        QObject::disconnect(canvas, &qt::Canvas::mousePressed, &window, nullptr);
        std::vector<QPointF> hits;
        auto connection = QObject::connect(canvas, &qt::Canvas::mousePressed,
                                           [&](int, int, double x, double y) { hits.emplace_back(x, y); });
        int wrong = 0;
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y) {
                const QPointF centre = canvas->widgetAt(form.twipsX(x + 0.5), form.twipsY(y + 0.5));
                hits.clear();
                QTest::mouseClick(canvas, Qt::LeftButton, {}, centre.toPoint());
                ASSERT_EQ(hits.size(), 1u);
                const int hitX = int(std::floor((hits[0].x() - form.boardLeft) / form.cellWidth));
                const int hitY = int(std::floor((hits[0].y() - form.boardTop) / form.cellHeight));
                wrong += hitX != x || hitY != y;
            }
        EXPECT_EQ(wrong, 0) << "at " << factor << "x";
        QObject::disconnect(connection);
    }
}

TEST_F(ScaledWindow, TwiceTheSizeDrawsTheBoardAtTwiceThePixelsAndTheClassicSizeComesBackExactly) {
    const QImage classic = window.canvas()->buffer().copy();
    resizeCanvasTo(QSize(qt::Canvas::widthPixels, qt::Canvas::heightPixels) * 2);
    const QImage big = window.canvas()->buffer();
    ASSERT_EQ(big.size(), classic.size() * 2);
    // Drawn anew: a square's picture is rendered at 62 pixels, not doubled from 31.
    const QImage square = big.copy(QRect(window.canvas()->toDevice(form.twipsX(5)),
                                         window.canvas()->toDevice(form.twipsY(10)), 62, 62));
    bool onlyPairs = true;
    for (int y = 0; y < 62 && onlyPairs; y += 2)
        for (int x = 0; x < 62 && onlyPairs; x += 2)
            onlyPairs = square.pixel(x, y) == square.pixel(x + 1, y) && square.pixel(x, y) == square.pixel(x, y + 1);
    EXPECT_FALSE(onlyPairs) << "the picture looks stretched from the classic size";
    resizeCanvasTo(QSize(qt::Canvas::widthPixels, qt::Canvas::heightPixels));
    EXPECT_EQ(window.canvas()->buffer(), classic);
}

TEST_F(ScaledWindow, TheBandsBesideATallerAreaAreADarkerShadeOfTheBackgroundNotTheBackColour) {
    resizeCanvasTo(QSize(qt::Canvas::widthPixels, qt::Canvas::heightPixels + 200));
    const QImage shown = window.canvas()->grab().toImage();
    const QColor band = shown.pixelColor(shown.width() / 2, 3);
    const QColor corner = window.canvas()->buffer().pixelColor(1, window.canvas()->buffer().height() - 2);
    EXPECT_NE(band, qt::MainWindow::qbColor(Form1::colorGreen));
    EXPECT_EQ(band.rgb(), corner.darker(140).rgb());
    EXPECT_LT(band.lightness(), corner.lightness());
}

}  // namespace
}  // namespace daro::test
