// Writes the pictures the browser shows as one SVG of symbols, drawn by the
// same code as the window's: every piece, the centre piece, the empty square
// and the turn icons. Each symbol's id is the picture's name.
//   daro_export_svg FILE
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cstdio>

#include "Artwork.h"

namespace {

// Only what the board and the seat panel show.
bool wanted(const QString& name) {
    return !name.startsWith(QLatin1String("HAIKEI_")) && name != QLatin1String("ZTSHOGI");
}

// The drawing of one picture, without its document around it; its ids are
// made its own, so the symbols can share one file.
QByteArray symbolOf(const QString& name) {
    const QSize size = daro::art::logicalSize(name);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    QPainter p;
    if (!p.begin(&svg)) return {};
    daro::art::paint(p, name, QSizeF(size));
    p.end();
    QString text = QString::fromUtf8(buffer.data());
    // The gradients come first, in the document's <defs>.
    qsizetype start = text.indexOf(QLatin1String("<defs>"));
    if (start < 0) start = text.indexOf(QLatin1String("<g "));
    const qsizetype end = text.lastIndexOf(QLatin1String("</svg>"));
    if (start < 0 || end < start) return {};
    text = text.mid(start, end - start);
    text.replace(QRegularExpression(QStringLiteral("id=\"([A-Za-z_][A-Za-z0-9_]*)\"")),
                 QStringLiteral("id=\"%1-\\1\"").arg(name));
    text.replace(QRegularExpression(QStringLiteral("url\\(#([A-Za-z_][A-Za-z0-9_]*)\\)")),
                 QStringLiteral("url(#%1-\\1)").arg(name));
    // What the generator writes that changes nothing here only costs bytes
    // and parsing time: the characters are outlines already, so the font
    // attributes are idle, and so are identity transforms and empty groups.
    text.replace(QRegularExpression(QStringLiteral("\\s*font-(family|size|weight|style)=\"[^\"]*\"")), QString());
    text.replace(QStringLiteral(" transform=\"matrix(1,0,0,1,0,0)\""), QString());
    text.replace(QStringLiteral(" vector-effect=\"none\""), QString());
    text.replace(QRegularExpression(QStringLiteral("\\n\\s*")), QStringLiteral("\n"));
    text.replace(QRegularExpression(QStringLiteral("\\s+>")), QStringLiteral(">"));
    static const QRegularExpression emptyGroup(QStringLiteral("<g[^>]*>\\s*</g>\\n?"));
    while (text.contains(emptyGroup)) text.remove(emptyGroup);
    return QStringLiteral("<symbol id=\"%1\" viewBox=\"0 0 %2 %3\">\n%4</symbol>\n")
        .arg(name)
        .arg(size.width())
        .arg(size.height())
        .arg(text)
        .toUtf8();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: daro_export_svg FILE\n");
        return 2;
    }
    QByteArray out = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                     "width=\"0\" height=\"0\" aria-hidden=\"true\" focusable=\"false\">\n";
    for (const QString& name : daro::art::names()) {
        if (!wanted(name)) continue;
        const QByteArray symbol = symbolOf(name);
        if (symbol.isEmpty()) {
            std::fprintf(stderr, "daro_export_svg: cannot draw %s\n", qPrintable(name));
            return 1;
        }
        out += symbol;
    }
    out += "</svg>\n";
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit()) {
        std::fprintf(stderr, "daro_export_svg: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
