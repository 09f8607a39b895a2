#include "Canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "Artwork.h"

namespace daro::qt {
namespace {

// Sums such as 1100 + 465 * 0.1 are not exact; a hair of tolerance keeps a
// position that is meant to be whole on its own pixel.
int firstPixelAtOrAfter(double pixels) { return int(std::ceil(pixels - 1e-6)); }

const QSize logicalCanvas(Canvas::widthPixels, Canvas::heightPixels);

}  // namespace

Canvas::Canvas(QWidget* parent) : QWidget(parent), backColor_(Qt::white) {
    setMinimumSize(logicalCanvas / 2);
    resize(logicalCanvas);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    screenRatio_ = devicePixelRatioF();
    ratio_ = screenRatio_;
    buffer_ = QImage(logicalCanvas * ratio_, QImage::Format_RGB32);
    buffer_.fill(backColor_);
}

QSize Canvas::sizeHint() const { return logicalCanvas; }

int Canvas::toLogical(double twips) { return firstPixelAtOrAfter(twips / twipsPerPixel); }

int Canvas::toDevice(double twips) const { return firstPixelAtOrAfter(twips * ratio_ / twipsPerPixel); }

QImage Canvas::picture(const QString& name, QSize devicePixels) {
    const QString key = QStringLiteral("%1@%2x%3").arg(name).arg(devicePixels.width()).arg(devicePixels.height());
    auto it = pictures_.find(key);
    if (it == pictures_.end()) it = pictures_.insert(key, art::render(name, devicePixels));
    return *it;
}

void Canvas::paintPicture(const QString& name, double x, double y) {
    matchScreenRatio();
    const QSize own = art::logicalSize(name);
    if (!own.isValid()) return;
    // Both edges are mapped, so neighbouring squares and tiles meet exactly
    // whatever the pixel ratio.
    const QPoint topLeft(toDevice(x), toDevice(y));
    const QPoint end(toDevice(x + own.width() * twipsPerPixel), toDevice(y + own.height() * twipsPerPixel));
    const QSize size(end.x() - topLeft.x(), end.y() - topLeft.y());
    if (size.isEmpty()) return;
    QPainter p(&buffer_);
    p.drawImage(topLeft, picture(name, size));
    p.end();
    touched(QRect(topLeft, size));
}

void Canvas::drawRectangle(double x1, double y1, double x2, double y2, const QColor& color) {
    matchScreenRatio();
    const int left = toDevice(std::min(x1, x2));
    const int right = toDevice(std::max(x1, x2));
    const int top = toDevice(std::min(y1, y2));
    const int bottom = toDevice(std::max(y1, y2));
    // One logical pixel wide; both corners belong to the outline.
    const int pen = std::max(1, int(std::lround(ratio_)));
    const QRect strips[] = {{left, top, right - left + pen, pen},
                            {left, bottom, right - left + pen, pen},
                            {left, top, pen, bottom - top + pen},
                            {right, top, pen, bottom - top + pen}};
    // The grid is redrawn whole to clear one highlight: an outline already
    // there is left alone, so it is not repainted either.
    if (std::all_of(std::begin(strips), std::end(strips), [&](const QRect& r) { return filledWith(r, color); }))
        return;
    QPainter p(&buffer_);
    p.fillRect(left, top, right - left + pen, pen, color);
    p.fillRect(left, bottom, right - left + pen, pen, color);
    p.fillRect(left, top, pen, bottom - top + pen, color);
    p.fillRect(right, top, pen, bottom - top + pen, color);
    p.end();
    touched(QRect(left, top, right - left + pen, bottom - top + pen));
}

void Canvas::fillRectangle(double x1, double y1, double x2, double y2, const QColor& color) {
    matchScreenRatio();
    const int pen = std::max(1, int(std::lround(ratio_)));
    const QRect area(QPoint(toDevice(std::min(x1, x2)), toDevice(std::min(y1, y2))),
                     QPoint(toDevice(std::max(x1, x2)) + pen - 1, toDevice(std::max(y1, y2)) + pen - 1));
    QPainter p(&buffer_);
    p.fillRect(area, color);
    p.end();
    touched(area);
}

void Canvas::printText(double x, double y, const QString& text, double sizePoints, bool bold, const QColor& color) {
    matchScreenRatio();
    if (text.isEmpty()) return;
    const QFont font = textFont(sizePoints, bold, ratio_);
    const QFontMetricsF metrics(font);
    // The print position is the top of the text cell, not the baseline.
    const QPointF baseline(toDevice(x), toDevice(y) + metrics.ascent());
    QPainter p(&buffer_);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(color);
    p.drawText(baseline, text);
    p.end();
    // The ink may stray a little past the advance (bold, italics of a
    // substitute face, antialiasing).
    const QRectF ink = metrics.boundingRect(text).translated(baseline) |
                       QRectF(baseline.x(), baseline.y() - metrics.ascent(), metrics.horizontalAdvance(text),
                              metrics.height());
    touched(ink.toAlignedRect().adjusted(-2, -2, 2, 2));
}

QFont Canvas::textFont(double sizePoints, bool bold, qreal ratio) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")});
    // A point is 20 twips: 4/3 of a logical pixel.
    font.setPixelSize(std::max(1, int(std::lround(sizePoints * 20.0 / twipsPerPixel * ratio))));
    font.setBold(bold);
    return font;
}

void Canvas::clear(const QColor& color) {
    backColor_ = color;
    buffer_.fill(color);
    touched(buffer_.rect());
}

bool Canvas::filledWith(const QRect& device, const QColor& color) const {
    const QRect r = device.intersected(buffer_.rect());
    const QRgb want = color.rgb();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(buffer_.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            if (line[x] != want) return false;
    }
    return true;
}

void Canvas::touched(const QRect& device) {
    // Logical pixels, rounded outwards, so a fractional pixel ratio loses no edge.
    const qreal r = screenRatio_;
    const QRect logical(QPoint(int(std::floor(device.left() / r)), int(std::floor(device.top() / r))),
                        QPoint(int(std::ceil((device.right() + 1) / r)) - 1, int(std::ceil((device.bottom() + 1) / r)) - 1));
    dirty_ += logical.translated(offset_).intersected(rect());
}

QRegion Canvas::takeUnshown() {
    QRegion region;
    region.swap(dirty_);
    return region;
}

void Canvas::present() {
    const QRegion region = takeUnshown();
    if (!region.isEmpty()) repaint(region);
}

void Canvas::presentLater() {
    const QRegion region = takeUnshown();
    if (!region.isEmpty()) update(region);
}

QPointF Canvas::twipsAt(QPointF at) const { return (at - QPointF(offset_)) / scale_ * twipsPerPixel; }

QPointF Canvas::widgetAt(double x, double y) const {
    return QPointF(offset_) + QPointF(x, y) * scale_ / twipsPerPixel;
}

void Canvas::matchScreenRatio() {
    const qreal now = devicePixelRatioF();
    if (qFuzzyCompare(now, screenRatio_)) return;
    // Moved to a screen of another density: keep what was drawn, scaled;
    // everything drawn from now on is sharp again.
    screenRatio_ = now;
    rebuildBuffer();
}

void Canvas::rebuildBuffer() {
    const qreal ratio = screenRatio_ * scale_;
    if (qFuzzyCompare(ratio, ratio_) && buffer_.size() == logicalCanvas * ratio) return;
    QImage resized(logicalCanvas * ratio, QImage::Format_RGB32);
    resized.fill(backColor_);
    QPainter p(&resized);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(QPointF(0, 0), QSizeF(resized.size())), buffer_);
    p.end();
    buffer_ = resized;
    ratio_ = ratio;
    pictures_.clear();
    update();
    emit ratioChanged(ratio);
}

void Canvas::resizeEvent(QResizeEvent*) {
    const qreal scale = std::min(width() / qreal(logicalCanvas.width()), height() / qreal(logicalCanvas.height()));
    const QSize area = (QSizeF(logicalCanvas) * scale).toSize();
    offset_ = QPoint((width() - area.width()) / 2, (height() - area.height()) / 2);
    if (qFuzzyCompare(scale, scale_)) {
        update();
        return;
    }
    scale_ = scale;
    rebuildBuffer();
    emit rescaled();
}

void Canvas::paintEvent(QPaintEvent* event) {
    matchScreenRatio();
    // A view of the buffer that knows its pixel ratio, without copying it.
    QImage frame(buffer_.constBits(), buffer_.width(), buffer_.height(), buffer_.bytesPerLine(), buffer_.format());
    const qreal r = screenRatio_;
    frame.setDevicePixelRatio(r);
    const QRect area(offset_, QSizeF(QSizeF(buffer_.size()) / r).toSize());
    QPainter p(this);
    // Beside the game's area of a resized window: the colour of the
    // background picture at the area's bottom corner, a little darker, so
    // the bands read as a frame rather than the bright back colour.
    const QRegion outside = event->region() - QRegion(area);
    if (!outside.isEmpty()) {
        const QColor edge = buffer_.isNull() ? backColor_ : buffer_.pixelColor(1, buffer_.height() - 2).darker(140);
        for (const QRect& band : outside) p.fillRect(band, edge);
    }
    // What is not shown yet stays as the window's own store last had it
    // (the frame on the screen) until the next present.
    for (const QRect& shown : (event->region() & QRegion(area)) - dirty_) {
        const QRect source = shown.translated(-offset_);
        p.drawImage(QRectF(shown), frame,
                    QRectF(source.x() * r, source.y() * r, source.width() * r, source.height() * r));
    }
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: event->ignore(); return;
    }
    const Qt::KeyboardModifiers m = event->modifiers();
    const int shift = (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
    const QPointF at = twipsAt(event->position());
    emit mousePressed(button, shift, at.x(), at.y());
}

}  // namespace daro::qt
