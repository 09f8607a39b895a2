// The pictures: one for every control of the picture table, pieces in their
// kingdom's colour pointing away from home, tiles that join without a seam.
#include <QtMath>

#include <cmath>
#include <functional>

#include "Artwork.h"
#include "QtFixture.h"

namespace daro::test {
namespace {

const char* const prefixes[] = {"GI", "EN", "SAI", "CHO", "SOU", "TEI", "KAN"};
const char* const suffixes[] = {"GYO", "TOU", "KEN", "DOU", "KIB", "KYU", "HOU", "HEN", "HII", "OHU"};
const char* const backgrounds[] = {"HAIKEI_MIDORI", "HAIKEI_TATAMI", "HAIKEI_TAKE", "HAIKEI_UCHU", "HAIKEI_RENGA"};

TEST(Artwork, EveryControlOfThePictureTableHasAPicture) {
    QStringList squares = {"KARA_MASU", "SYU"};
    for (const char* p : prefixes)
        for (const char* s : suffixes) squares << QStringLiteral("%1_%2").arg(p, s);
    for (const char* b : backgrounds) squares << b;
    for (const QString& name : squares) {
        EXPECT_EQ(art::logicalSize(name), QSize(31, 31)) << name.toStdString();
        // A square picture covers its whole square.
        const QImage image = art::render(name, {31, 31});
        ASSERT_FALSE(image.isNull()) << name.toStdString();
        for (QPoint at : {QPoint(0, 0), QPoint(30, 0), QPoint(0, 30), QPoint(30, 30), QPoint(15, 15)})
            EXPECT_EQ(qAlpha(image.pixel(at)), 255) << name.toStdString();
    }
    const QSize title = art::logicalSize("ZTSHOGI");
    EXPECT_GE(title.width(), 150);
    EXPECT_LE(title.width(), 190);
    EXPECT_GE(title.height(), 50);
    EXPECT_LE(title.height(), 70);
    for (const char* who : {"ICO_MAN_", "ICO_COM_"})
        for (const char* p : prefixes) EXPECT_EQ(art::logicalSize(QString(who) + p), QSize(32, 32));
    EXPECT_FALSE(art::logicalSize("SOU_XYZ").isValid());
    EXPECT_TRUE(art::render("NOTHING", {31, 31}).isNull());
}

TEST(Artwork, ThePictureTableNamesAPictureForEveryCodeThatHasOne) {
    for (int code : {0, 1, 2, 3, 4, 5, 6, 80})
        EXPECT_TRUE(art::logicalSize(QString::fromStdString(Form1::pictureControlName(code))).isValid()) << code;
    for (int block = 1; block <= 7; ++block)
        for (int kind = 0; kind <= 9; ++kind) {
            const std::string name = Form1::pictureControlName(10 * block + kind);
            EXPECT_TRUE(art::logicalSize(QString::fromStdString(name)).isValid()) << 10 * block + kind;
        }
}

// A point of an up-pointing piece turned to face `degrees` clockwise.
QPoint turned(double x, double y, int degrees, int size) {
    const double a = qDegreesToRadians(double(degrees));
    const double s = size / 31.0, c = 15.5;
    const double dx = x - c, dy = y - c;
    return QPoint(int((c + dx * std::cos(a) - dy * std::sin(a)) * s), int((c + dx * std::sin(a) + dy * std::cos(a)) * s));
}

struct Expected {
    const char* prefix;
    int pointing;  // clockwise from up
    std::function<bool(QColor)> colour;
};

TEST(Artwork, PiecesWearTheirKingdomsColourAndPointAwayFromHome) {
    const QColor wood = QColor(art::render("KARA_MASU", {31, 31}).pixel(15, 15));
    auto isWood = [&](QColor c) {
        return std::abs(c.red() - wood.red()) < 30 && std::abs(c.green() - wood.green()) < 30 &&
               std::abs(c.blue() - wood.blue()) < 30;
    };
    const Expected kingdoms[] = {
        {"SOU", 90, [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; }},
        {"TEI", 0, [](QColor c) { return c.red() > 150 && c.green() < 80 && c.blue() < 80; }},
        {"KAN", 0, [](QColor c) { return c.red() > 200 && c.green() > 90 && c.green() < 200 && c.blue() > 130; }},
        {"SAI", 270, [](QColor c) { return c.blue() > 150 && c.red() < 100; }},
        {"GI", 270, [](QColor c) { return c.green() > 100 && c.red() < 100 && c.blue() < 100; }},
        {"CHO", 180, [](QColor c) { return c.red() > 80 && c.green() < 90 && c.blue() > 120; }},
        {"EN", 180, [](QColor c) { return c.red() < 70 && c.green() < 70 && c.blue() < 70; }},
    };
    for (int size : {31, 62}) {
        for (const auto& k : kingdoms) {
            for (const char* s : suffixes) {
                const QString name = QStringLiteral("%1_%2").arg(k.prefix, s);
                const QImage img = art::render(name, {size, size});
                auto at = [&](double x, double y) { return QColor(img.pixel(turned(x, y, k.pointing, size))); };
                SCOPED_TRACE(name.toStdString() + " at " + std::to_string(size));
                // Body near the broad end, clear of the character.
                EXPECT_TRUE(k.colour(at(6.5, 26.5)));
                // The tip reaches towards the far side; the corners beside it stay bare wood.
                EXPECT_FALSE(isWood(at(15.5, 3.0)));
                EXPECT_TRUE(isWood(at(2.0, 2.0)));
                EXPECT_TRUE(isWood(at(29.0, 2.0)));
                // A character stands out from the body.
                const QColor body = at(6.5, 26.5);
                int ink = 0;
                for (int y = 10; y < 26; ++y)
                    for (int x = 9; x < 23; ++x) {
                        const QColor c = at(x, y);
                        if (std::abs(c.lightness() - body.lightness()) > 90) ++ink;
                    }
                EXPECT_GT(ink, 12);
            }
        }
    }
    const QImage centre = art::render("SYU", {31, 31});
    const QColor yellow(centre.pixel(6, 15));
    EXPECT_TRUE(yellow.red() > 200 && yellow.green() > 160 && yellow.blue() < 110);
}

// Mean difference of two rows or columns.
double difference(const QImage& img, bool columns, int a, int b) {
    const int n = columns ? img.height() : img.width();
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const QRgb p = columns ? img.pixel(a, i) : img.pixel(i, a);
        const QRgb q = columns ? img.pixel(b, i) : img.pixel(i, b);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
    return sum / n;
}

TEST(Artwork, BackgroundTilesJoinWithoutASeam) {
    for (const char* name : backgrounds) {
        for (int size : {31, 62}) {
            const QImage tile = art::render(name, {size, size});
            for (bool columns : {true, false}) {
                // No step across the seam may be harder than the hardest inside the tile.
                double inside = 0;
                for (int i = 0; i + 1 < size; ++i) inside = std::max(inside, difference(tile, columns, i, i + 1));
                EXPECT_LE(difference(tile, columns, size - 1, 0), inside + 1.0)
                    << name << " at " << size << (columns ? " left/right" : " top/bottom");
            }
        }
    }
}

}  // namespace
}  // namespace daro::test
