// Watches regions of the screen for a while and says, sample by sample,
// how many pixels of each differ from that region's first sample.
//
//   daro_area_sampler SECONDS X Y WIDTH HEIGHT [X Y WIDTH HEIGHT ...]
//
// Prints one line per sample: the time (seconds since 1970, as `date +%s.%N`
// gives it), then one count per region. Regions are in screen pixels; a pixel differs when one of its
// channels is more than 48 away.
#include <QGuiApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int differing(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 ||
                std::abs(qBlue(p) - qBlue(q)) > 48)
                ++n;
        }
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || (argc - 2) % 4 != 0) {
        std::fprintf(stderr, "usage: daro_area_sampler SECONDS X Y WIDTH HEIGHT [X Y WIDTH HEIGHT ...]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const double seconds = std::atof(argv[1]);
    std::vector<QRect> regions;
    for (int i = 2; i + 3 < argc; i += 4)
        regions.emplace_back(std::atoi(argv[i]), std::atoi(argv[i + 1]), std::atoi(argv[i + 2]), std::atoi(argv[i + 3]));
    QScreen* screen = QGuiApplication::primaryScreen();
    const auto grab = [&](const QRect& r) {
        return screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    std::vector<QImage> first;
    for (const QRect& r : regions) first.push_back(grab(r));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000) {
        std::printf("%.3f", QDateTime::currentMSecsSinceEpoch() / 1000.0);
        for (std::size_t i = 0; i < regions.size(); ++i) std::printf(" %d", differing(first[i], grab(regions[i])));
        std::printf("\n");
        std::fflush(stdout);
        QThread::msleep(10);
    }
    return 0;
}
