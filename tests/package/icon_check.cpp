// The scalable icon draws the same picture as the PNG icon of one size:
//   daro_icon_check ICON.svg ICON.png   (status 0 when they agree)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) return 2;
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    const QImage png = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_ARGB32);
    if (!svg.isValid() || png.isNull() || png.width() != png.height()) {
        std::printf("icon_check: cannot read the icons\n");
        return 1;
    }
    QImage drawn(png.size(), QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    QPainter p(&drawn);
    svg.render(&p);
    p.end();
    // Antialiasing differs between the two engines; the pictures must not.
    double difference = 0;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) {
            const QRgb a = png.pixel(x, y), b = drawn.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
        }
    const double mean = difference / (png.width() * png.height() * 4.0);
    std::printf("icon_check: mean difference %.2f of 255\n", mean);
    return mean < 12.0 ? 0 : 1;
}
