// Draws every picture on one sheet at a chosen scale, for review; the
// background tiles are also shown 3 x 3 to show how they join.
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>

#include "Artwork.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: daro_art_sheet OUT.png [SCALE]\n");
        return 2;
    }
    const double scale = argc > 2 ? QString::fromLocal8Bit(argv[2]).toDouble() : 2.0;
    const int width = int(560 * scale);
    QImage sheet(width, int(620 * scale), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(110, 110, 110));
    QPainter p(&sheet);
    int x = 4, y = 4, rowHeight = 0;
    const int gap = int(6 * scale);
    for (const QString& name : daro::art::names()) {
        QSize size = daro::art::logicalSize(name) * scale;
        const bool tile = name.startsWith(QLatin1String("HAIKEI_"));
        const QSize box = tile ? size * 3 : size;
        if (x + box.width() > width) {
            x = 4;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        const QImage picture = daro::art::render(name, size);
        for (int i = 0; i < (tile ? 3 : 1); ++i)
            for (int j = 0; j < (tile ? 3 : 1); ++j)
                p.drawImage(QPoint(x + i * size.width(), y + j * size.height()), picture);
        x += box.width() + gap;
        rowHeight = std::max(rowHeight, box.height());
    }
    p.end();
    return sheet.copy(0, 0, width, y + rowHeight + 4).save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
