// Writes the application's icon for the desktop's icon theme: PNG files at
// the usual sizes and one scalable SVG, all from the game's own artwork.
//   daro_make_icons FOLDER ICON-NAME   ->  FOLDER/NxN/apps/ICON-NAME.png, FOLDER/scalable/apps/ICON-NAME.svg
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

#include "Artwork.h"

namespace {

constexpr int pngSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int svgSize = 64;

bool writePng(const QString& folder, const QString& iconName, int size) {
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
    if (!QDir().mkpath(dir)) return false;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    daro::art::paintApplicationIcon(p, QSizeF(size, size));
    p.end();
    return image.save(dir + QLatin1Char('/') + iconName + QStringLiteral(".png"));
}

bool writeSvg(const QString& folder, const QString& iconName) {
    const QString dir = folder + QStringLiteral("/scalable/apps");
    if (!QDir().mkpath(dir)) return false;
    QSvgGenerator svg;
    svg.setFileName(dir + QLatin1Char('/') + iconName + QStringLiteral(".svg"));
    svg.setSize(QSize(svgSize, svgSize));
    svg.setViewBox(QRect(0, 0, svgSize, svgSize));
    svg.setTitle(QStringLiteral("daro"));
    svg.setDescription(QStringLiteral("The king of 楚 on a board square"));
    QPainter p;
    if (!p.begin(&svg)) return false;
    daro::art::paintApplicationIcon(p, QSizeF(svgSize, svgSize));
    return p.end();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: daro_make_icons FOLDER ICON-NAME\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString iconName = QString::fromLocal8Bit(argv[2]);
    for (int size : pngSizes) {
        if (!writePng(folder, iconName, size)) {
            std::fprintf(stderr, "daro_make_icons: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    if (!writeSvg(folder, iconName)) {
        std::fprintf(stderr, "daro_make_icons: cannot write the scalable icon\n");
        return 1;
    }
    return 0;
}
