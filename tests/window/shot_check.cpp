// Checks the colours of regions of a screenshot.
//
//   daro_shot_check SHOT.png ORIGIN_X ORIGIN_Y < checks
//
// Each line of `checks` is
//   NAME X Y WIDTH HEIGHT #RRGGBB TOLERANCE SHARE
// and passes when at least SHARE (0..1) of the pixels of the region, placed
// relative to the origin, lie within TOLERANCE of the colour in every
// channel; a SHARE written "<0.1" asks for less than that instead. Blank
// lines and lines starting with '#' are skipped. Every check is reported;
// the exit status is 1 when any fails.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: daro_shot_check SHOT.png ORIGIN_X ORIGIN_Y < checks\n");
        return 2;
    }
    const QImage shot = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (shot.isNull()) {
        std::fprintf(stderr, "shot_check: cannot read %s\n", argv[1]);
        return 2;
    }
    const int ox = std::atoi(argv[2]), oy = std::atoi(argv[3]);
    bool allPassed = true;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        std::string name, colour;
        int x, y, w, h, tolerance;
        std::string shareText;
        if (!(in >> name >> x >> y >> w >> h >> colour >> tolerance >> shareText)) {
            std::fprintf(stderr, "shot_check: bad line: %s\n", line.c_str());
            return 2;
        }
        const bool below = shareText[0] == '<';
        const double limit = std::atof(shareText.c_str() + (below ? 1 : 0));
        const QColor want(QString::fromStdString(colour));
        const QRect region = QRect(ox + x, oy + y, w, h).intersected(shot.rect());
        int near = 0;
        for (int py = region.top(); py <= region.bottom(); ++py)
            for (int px = region.left(); px <= region.right(); ++px) {
                const QColor c(shot.pixel(px, py));
                if (std::abs(c.red() - want.red()) <= tolerance && std::abs(c.green() - want.green()) <= tolerance &&
                    std::abs(c.blue() - want.blue()) <= tolerance)
                    ++near;
            }
        const int total = w * h;
        const double share = total > 0 ? double(near) / total : 0.0;
        const bool passed = below ? share < limit : share >= limit;
        allPassed = allPassed && passed;
        std::printf("%s %-16s %4.0f%% of %dx%d near %s (need %s%.0f%%)\n", passed ? "ok  " : "FAIL", name.c_str(),
                    share * 100, w, h, colour.c_str(), below ? "under " : "", limit * 100);
    }
    return allPassed ? 0 : 1;
}
