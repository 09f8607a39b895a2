#include "Artwork.h"

#include <QCoreApplication>
#include <QTransform>

#include <QFont>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <array>
#include <cmath>

namespace daro::art {
namespace {

// Everything is drawn in logical units and scaled to the device size, so a
// 2x screen gets twice the detail instead of a blown-up bitmap.
constexpr double square = 31.0;
const QSize squareSize(31, 31);
const QSize titleSize(170, 60);
const QSize iconSize(32, 32);

struct Kingdom {
    const char* prefix;
    const char* name;  // the king's character
    QColor body;
    QColor ink;
    QColor rim;
    int pointing;  // degrees clockwise from "up": away from the home edge
};

// In block order; the home edges are left (秦), bottom (楚, 韓), right (斉, 魏)
// and top (趙, 燕).
const std::array<Kingdom, 7>& kingdoms() {
    static const std::array<Kingdom, 7> table{{
        {"GI", "魏", QColor(34, 139, 58), QColor(255, 255, 255), QColor(10, 60, 20), 270},
        {"EN", "燕", QColor(38, 38, 42), QColor(255, 255, 255), QColor(150, 150, 150), 180},
        {"SAI", "斉", QColor(38, 78, 200), QColor(255, 255, 255), QColor(10, 25, 90), 270},
        {"CHO", "趙", QColor(128, 48, 168), QColor(255, 255, 255), QColor(55, 15, 80), 180},
        {"SOU", "秦", QColor(248, 246, 238), QColor(0, 0, 0), QColor(90, 80, 70), 90},
        {"TEI", "楚", QColor(204, 32, 32), QColor(255, 255, 255), QColor(90, 10, 10), 0},
        {"KAN", "韓", QColor(255, 150, 190), QColor(70, 0, 25), QColor(150, 50, 90), 0},
    }};
    return table;
}

struct Kind {
    const char* suffix;
    const char* character;  // empty: the kingdom's name
};

const std::array<Kind, 10>& kinds() {
    static const std::array<Kind, 10> table{{
        {"GYO", "行"}, {"TOU", "刀"}, {"KEN", "剣"}, {"DOU", "弩"}, {"KIB", "騎"},
        {"KYU", "弓"}, {"HOU", "砲"}, {"HEN", "偏"}, {"HII", "裨"}, {"OHU", ""},
    }};
    return table;
}

const Kingdom* kingdomByPrefix(const QString& prefix) {
    for (const auto& k : kingdoms())
        if (prefix == QLatin1String(k.prefix)) return &k;
    return nullptr;
}

const Kind* kindBySuffix(const QString& suffix) {
    for (const auto& k : kinds())
        if (suffix == QLatin1String(k.suffix)) return &k;
    return nullptr;
}

const char* const backgroundNames[] = {"HAIKEI_MIDORI", "HAIKEI_TATAMI", "HAIKEI_TAKE", "HAIKEI_UCHU",
                                       "HAIKEI_RENGA"};

QFont mincho(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// ------------------------------------------------------------ board squares

const QColor woodColor(222, 184, 120);

void drawWood(QPainter& p) {
    p.fillRect(QRectF(0, 0, square, square), woodColor);
    // A few faint grain lines; the middle stays calm so pieces read well.
    QPen grain(QColor(150, 100, 45, 45), 0.6);
    p.setPen(grain);
    for (double y : {3.5, 9.0, 22.5, 27.5}) {
        QPainterPath line;
        line.moveTo(0, y);
        line.cubicTo(10, y - 1.2, 20, y + 1.2, square, y);
        p.drawPath(line);
    }
    // Soft bevel: light from the top left.
    p.fillRect(QRectF(0, 0, square, 1.0), QColor(255, 240, 210, 90));
    p.fillRect(QRectF(0, 0, 1.0, square), QColor(255, 240, 210, 90));
    p.fillRect(QRectF(0, square - 1.0, square, 1.0), QColor(120, 80, 30, 70));
    p.fillRect(QRectF(square - 1.0, 0, 1.0, square), QColor(120, 80, 30, 70));
}

void drawCharacter(QPainter& p, const QRectF& box, const QString& text, int pixelSize, const QColor& ink) {
    const QFont font = mincho(pixelSize, true);
    if (p.paintEngine() == nullptr || p.paintEngine()->type() != QPaintEngine::SVG) {
        p.setFont(font);
        p.setPen(ink);
        p.drawText(box, Qt::AlignCenter, text);
        return;
    }
    // Placed as drawText would place it: centred on the advance and the line.
    const QFontMetricsF metrics(font);
    const QPointF baseline(box.center().x() - metrics.horizontalAdvance(text) / 2,
                           box.center().y() - metrics.height() / 2 + metrics.ascent());
    QPainterPath outline;
    outline.addText(baseline, font, text);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(outline);
    p.restore();
}

void drawPiece(QPainter& p, const Kingdom& kingdom, const Kind& kind) {
    drawWood(p);
    QTransform turn;
    turn.translate(square / 2, square / 2);
    turn.rotate(kingdom.pointing);
    turn.translate(-square / 2, -square / 2);

    const QPolygonF outline({{15.5, 1.8}, {25.2, 6.2}, {27.8, 29.2}, {3.2, 29.2}, {5.8, 6.2}});
    const QPolygonF shape = turn.map(outline);

    // Shadow in screen space, so it falls the same way for every kingdom.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 35, 10, 90));
    p.drawPolygon(shape.translated(0.9, 0.9));

    p.save();
    p.setTransform(turn, true);
    QLinearGradient shade(0, 2, 0, 29);
    shade.setColorAt(0, kingdom.body.lighter(118));
    shade.setColorAt(1, kingdom.body.darker(112));
    p.setBrush(shade);
    // The king is edged in gold.
    const bool king = kind.character[0] == '\0';
    p.setPen(QPen(king ? QColor(226, 178, 36) : kingdom.rim, king ? 1.4 : 0.9, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.drawPolygon(outline);
    const QString text = QString::fromUtf8(king ? kingdom.name : kind.character);
    drawCharacter(p, QRectF(4.0, 8.0, 23.0, 20.0), text, king ? 16 : 15, kingdom.ink);
    p.restore();
}

void drawCentrePiece(QPainter& p) {
    drawWood(p);
    // Neutral: an octagon that points nowhere.
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const double a = (22.5 + 45.0 * i) * M_PI / 180.0;
        octagon << QPointF(15.5 + 13.6 * std::cos(a), 15.5 + 13.6 * std::sin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 35, 10, 90));
    p.drawPolygon(octagon.translated(0.9, 0.9));
    QRadialGradient glow(QPointF(12, 11), 18);
    glow.setColorAt(0, QColor(255, 238, 110));
    glow.setColorAt(1, QColor(232, 190, 20));
    p.setBrush(glow);
    p.setPen(QPen(QColor(130, 95, 0), 0.9));
    p.drawPolygon(octagon);
    drawCharacter(p, QRectF(3, 4, 25, 23), QStringLiteral("周"), 16, QColor(60, 30, 0));
}

// -------------------------------------------------------------- backgrounds
// Each tile is 31 x 31 and repeats without a seam: whatever crosses an edge
// is drawn again one tile further on.

void drawMidori(QPainter& p) {
    p.fillRect(QRectF(0, 0, square, square), QColor(28, 112, 52));
    // A fine twill; the line spacing divides the tile so it wraps exactly.
    const double step = square / 8;
    p.setPen(QPen(QColor(80, 170, 95, 60), 0.7));
    for (int k = -8; k <= 8; ++k) {
        const double c = k * step;
        p.drawLine(QPointF(c, 0), QPointF(c + square, square));
        p.drawLine(QPointF(c - square, 0), QPointF(c, square));
    }
    p.setPen(QPen(QColor(10, 60, 25, 55), 0.5));
    for (int k = -8; k <= 8; ++k) {
        const double c = k * step + step / 2;
        p.drawLine(QPointF(c, 0), QPointF(c + square, square));
    }
}

void drawTatami(QPainter& p) {
    p.fillRect(QRectF(0, 0, square, square), QColor(198, 190, 118));
    // Rush weave: 15 rounded straws per tile, shaded by a repeating gradient
    // so the rows flow on into the next tile.
    const double row = square / 15;
    QLinearGradient straw(0, 0, 0, row);
    straw.setSpread(QGradient::RepeatSpread);
    straw.setColorAt(0.0, QColor(214, 208, 136));
    straw.setColorAt(0.45, QColor(200, 194, 120));
    straw.setColorAt(0.8, QColor(160, 154, 84));
    straw.setColorAt(1.0, QColor(214, 208, 136));
    p.fillRect(QRectF(0, 0, square, square), straw);
    // Warp threads, four per tile.
    p.setPen(QPen(QColor(130, 125, 65, 70), 0.5));
    for (int k = 0; k < 4; ++k) {
        const double x = k * square / 4 + 1.0;
        p.drawLine(QPointF(x, 0), QPointF(x, square));
    }
}

void drawStalk(QPainter& p, double left, double width, double node) {
    QLinearGradient round(left, 0, left + width, 0);
    round.setColorAt(0.0, QColor(62, 110, 36));
    round.setColorAt(0.35, QColor(150, 196, 84));
    round.setColorAt(0.7, QColor(104, 158, 58));
    round.setColorAt(1.0, QColor(52, 92, 30));
    p.fillRect(QRectF(left, 0, width, square), round);
    QLinearGradient ring(left, 0, left + width, 0);
    ring.setColorAt(0.0, QColor(40, 70, 22));
    ring.setColorAt(0.35, QColor(96, 140, 50));
    ring.setColorAt(1.0, QColor(34, 60, 18));
    p.fillRect(QRectF(left, node, width, 1.3), ring);
    p.fillRect(QRectF(left + 0.5, node + 1.3, width - 1.0, 0.6), QColor(210, 235, 160, 150));
}

void drawTake(QPainter& p) {
    p.fillRect(QRectF(0, 0, square, square), QColor(232, 228, 196));
    drawStalk(p, 1.5, 12.0, 8.5);
    drawStalk(p, 17.0, 11.5, 22.0);
}

void drawUchu(QPainter& p) {
    p.fillRect(QRectF(0, 0, square, square), QColor(8, 9, 30));
    p.setPen(Qt::NoPen);
    struct Star { double x, y, r; QColor c; };
    const Star stars[] = {
        {4.0, 6.0, 0.7, QColor(255, 255, 255)}, {20.5, 3.5, 0.45, QColor(220, 230, 255)},
        {12.5, 14.5, 0.9, QColor(255, 250, 220)}, {26.0, 19.5, 0.6, QColor(255, 230, 150)},
        {7.0, 24.5, 0.45, QColor(255, 255, 255)}, {17.5, 27.0, 0.6, QColor(170, 200, 255)},
        {28.5, 10.5, 0.35, QColor(255, 255, 255)}, {23.0, 12.0, 0.3, QColor(255, 255, 255)},
    };
    for (const auto& s : stars) {
        p.setBrush(s.c);
        p.drawEllipse(QPointF(s.x, s.y), s.r, s.r);
    }
    // One bright star with a sparkle.
    p.setPen(QPen(QColor(255, 250, 220, 150), 0.35));
    p.drawLine(QPointF(12.5, 11.8), QPointF(12.5, 17.2));
    p.drawLine(QPointF(9.8, 14.5), QPointF(15.2, 14.5));
}

void drawRenga(QPainter& p) {
    p.fillRect(QRectF(0, 0, square, square), QColor(204, 194, 172));
    const double joint = 0.7;
    const double half = square / 2;
    auto brick = [&](const QRectF& r, const QColor& c) {
        QLinearGradient face(0, r.top(), 0, r.bottom());
        face.setColorAt(0, c.lighter(112));
        face.setColorAt(1, c.darker(118));
        p.fillRect(r, face);
    };
    // Upper course: one brick whose ends meet at the tile's side edges.
    brick(QRectF(joint, joint, square - 2 * joint, half - 2 * joint), QColor(168, 66, 44));
    // Lower course, half a brick along: the brick is split by the side edges.
    const QRectF lower(half + joint, half + joint, square - 2 * joint, half - 2 * joint);
    brick(lower, QColor(150, 58, 40));
    brick(lower.translated(-square, 0), QColor(150, 58, 40));
}

// --------------------------------------------------------------- the title

void drawTitle(QPainter& p) {
    const QRectF panel(1, 1, 168, 58);
    QLinearGradient lacquer(0, 0, 0, 60);
    lacquer.setColorAt(0, QColor(92, 22, 14));
    lacquer.setColorAt(1, QColor(34, 6, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(panel.translated(1.5, 1.5), 6, 6);
    p.setBrush(lacquer);
    p.drawRoundedRect(panel, 6, 6);
    const QColor gold(222, 184, 70);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(gold, 1.6));
    p.drawRoundedRect(panel.adjusted(2.5, 2.5, -2.5, -2.5), 4.5, 4.5);
    p.setPen(QPen(gold, 0.6));
    p.drawRoundedRect(panel.adjusted(5, 5, -5, -5), 3, 3);

    QLinearGradient leaf(0, 8, 0, 40);
    leaf.setColorAt(0, QColor(255, 236, 150));
    leaf.setColorAt(1, QColor(200, 150, 40));
    QPainterPath words;
    QFont big = mincho(29, true);
    big.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    // The game's name in the window's language, narrowed to fit the panel.
    words.addText(0, 0, big, QCoreApplication::translate("Title", "七国将棋"));
    const QRectF wb = words.boundingRect();
    const qreal narrow = std::min(1.0, 150 / wb.width());
    words = QTransform::fromScale(narrow, std::min(1.0, narrow * 1.6)).map(words);
    const QRectF fitted = words.boundingRect();
    words.translate(85 - fitted.center().x(), 25 - fitted.center().y());
    p.setPen(QPen(QColor(40, 10, 0), 1.2));
    p.setBrush(leaf);
    p.drawPath(words);

    p.setPen(QColor(245, 232, 200));
    QFont small = mincho(11, true);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(small);
    p.drawText(QRectF(6, 40, 158, 14), Qt::AlignCenter, QStringLiteral("ZT daro"));
}

// --------------------------------------------------------------- the icons

void drawIconPlate(QPainter& p) {
    p.setPen(QPen(QColor(70, 58, 40), 1.0));
    QLinearGradient plate(0, 1, 0, 31);
    plate.setColorAt(0, QColor(246, 242, 228));
    plate.setColorAt(1, QColor(214, 206, 184));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);
}

QColor figureOutline(const Kingdom& k) {
    return k.body.lightness() < 60 ? QColor(140, 140, 150) : k.rim;
}

void drawPerson(QPainter& p, const Kingdom& k) {
    drawIconPlate(p);
    p.setPen(QPen(figureOutline(k), 1.0));
    p.setBrush(k.body);
    QPainterPath body;
    body.moveTo(6.5, 28.0);
    body.cubicTo(6.5, 19.0, 10.0, 17.0, 16.0, 17.0);
    body.cubicTo(22.0, 17.0, 25.5, 19.0, 25.5, 28.0);
    body.closeSubpath();
    p.drawPath(body);
    p.drawEllipse(QPointF(16.0, 10.5), 5.2, 5.2);
}

void drawComputer(QPainter& p, const Kingdom& k) {
    drawIconPlate(p);
    p.setPen(QPen(figureOutline(k), 1.0));
    p.setBrush(k.body);
    p.drawRect(QRectF(13.5, 21.0, 5.0, 3.5));
    p.drawRoundedRect(QRectF(8.5, 24.0, 15.0, 3.5), 1.2, 1.2);
    p.drawRoundedRect(QRectF(5.0, 5.0, 22.0, 16.5), 2, 2);
    QLinearGradient glass(0, 8, 0, 18);
    glass.setColorAt(0, QColor(70, 120, 200));
    glass.setColorAt(1, QColor(18, 36, 90));
    p.setBrush(glass);
    p.setPen(QPen(QColor(10, 20, 40), 0.6));
    p.drawRect(QRectF(8.0, 7.8, 16.0, 11.0));
    p.setPen(QPen(QColor(180, 230, 255), 0.8));
    p.drawLine(QPointF(10.0, 11.0), QPointF(17.0, 11.0));
    p.drawLine(QPointF(10.0, 14.0), QPointF(21.0, 14.0));
}

enum class Family { None, Piece, Centre, Empty, Title, Background, IconMan, IconCom };

struct Parsed {
    Family family = Family::None;
    const Kingdom* kingdom = nullptr;
    const Kind* kind = nullptr;
};

Parsed parse(const QString& name) {
    Parsed r;
    if (name == QLatin1String("SYU")) r.family = Family::Centre;
    else if (name == QLatin1String("KARA_MASU")) r.family = Family::Empty;
    else if (name == QLatin1String("ZTSHOGI")) r.family = Family::Title;
    else if (name.startsWith(QLatin1String("HAIKEI_"))) {
        for (const char* bg : backgroundNames)
            if (name == QLatin1String(bg)) r.family = Family::Background;
    } else if (name.startsWith(QLatin1String("ICO_MAN_")) || name.startsWith(QLatin1String("ICO_COM_"))) {
        r.kingdom = kingdomByPrefix(name.mid(8));
        if (r.kingdom) r.family = name.startsWith(QLatin1String("ICO_MAN_")) ? Family::IconMan : Family::IconCom;
    } else {
        const qsizetype bar = name.indexOf(QLatin1Char('_'));
        if (bar > 0) {
            r.kingdom = kingdomByPrefix(name.left(bar));
            r.kind = kindBySuffix(name.mid(bar + 1));
            if (r.kingdom && r.kind) r.family = Family::Piece;
        }
    }
    return r;
}

}  // namespace

QSize logicalSize(const QString& name) {
    switch (parse(name).family) {
    case Family::None: return {};
    case Family::Title: return titleSize;
    case Family::IconMan:
    case Family::IconCom: return iconSize;
    default: return squareSize;
    }
}

QStringList names() {
    QStringList out;
    for (const auto& k : kingdoms())
        for (const auto& kind : kinds())
            out << QStringLiteral("%1_%2").arg(QLatin1String(k.prefix), QLatin1String(kind.suffix));
    out << QStringLiteral("SYU") << QStringLiteral("KARA_MASU") << QStringLiteral("ZTSHOGI");
    for (const char* bg : backgroundNames) out << QLatin1String(bg);
    for (const char* who : {"ICO_MAN_", "ICO_COM_"})
        for (const auto& k : kingdoms()) out << QLatin1String(who) + QLatin1String(k.prefix);
    return out;
}

bool paint(QPainter& p, const QString& name, QSizeF size) {
    const Parsed what = parse(name);
    if (what.family == Family::None || size.isEmpty()) return false;
    const QSize units = logicalSize(name);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size.width() / units.width(), size.height() / units.height());
    switch (what.family) {
    case Family::Piece: drawPiece(p, *what.kingdom, *what.kind); break;
    case Family::Centre: drawCentrePiece(p); break;
    case Family::Empty: drawWood(p); break;
    case Family::Title: drawTitle(p); break;
    case Family::IconMan: drawPerson(p, *what.kingdom); break;
    case Family::IconCom: drawComputer(p, *what.kingdom); break;
    case Family::Background:
        if (name == QLatin1String("HAIKEI_MIDORI")) drawMidori(p);
        else if (name == QLatin1String("HAIKEI_TATAMI")) drawTatami(p);
        else if (name == QLatin1String("HAIKEI_TAKE")) drawTake(p);
        else if (name == QLatin1String("HAIKEI_UCHU")) drawUchu(p);
        else drawRenga(p);
        break;
    case Family::None: break;
    }
    p.restore();
    return true;
}

QImage render(const QString& name, QSize devicePixels) {
    if (parse(name).family == Family::None || devicePixels.isEmpty()) return {};
    QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paint(p, name, QSizeF(devicePixels));
    p.end();
    return image;
}

void paintApplicationIcon(QPainter& p, QSizeF size) { paint(p, QStringLiteral("TEI_OHU"), size); }

}  // namespace daro::art
