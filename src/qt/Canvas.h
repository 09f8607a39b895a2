#pragma once
// The form's client area: a persistent back buffer at the screen's device
// pixel ratio. Drawing goes into the back buffer only and marks what it
// touched; present() shows the marked rectangles (the game's refreshes and
// the return to the event loop). A paint event copies only its region and
// leaves out what is marked, so the window's own store (Qt's backing store,
// which also answers exposes) keeps the frame last shown there.

#include <QHash>
#include <QImage>
#include <QRegion>
#include <QWidget>

namespace daro::qt {

class Canvas : public QWidget {
    Q_OBJECT
public:
    static constexpr int twipsPerPixel = 15;
    // The whole window, frame, caption and menu bar included.
    static constexpr int windowWidthTwips = 14000;
    static constexpr int windowHeightTwips = 11000;
    // What a classic window frame takes of it, in pixels; the drawing area
    // is the rest, whatever this platform's own frame is like.
    static constexpr int classicBorder = 4;
    static constexpr int classicCaption = 19;
    static constexpr int classicMenuBar = 19;
    static constexpr int widthPixels = windowWidthTwips / twipsPerPixel - 2 * classicBorder;
    static constexpr int heightPixels =
        windowHeightTwips / twipsPerPixel - classicCaption - classicMenuBar - 2 * classicBorder;

    explicit Canvas(QWidget* parent = nullptr);

    // Twips of a point given in logical pixels.
    static double toTwips(double logicalPixels) { return logicalPixels * twipsPerPixel; }
    // The first whole logical pixel at or right of / below a twips position.
    // A click on that pixel maps back to twips on the same side of the
    // position, so what is drawn and what is clicked agree.
    static int toLogical(double twips);
    // The same in device pixels of the buffer.
    int toDevice(double twips) const;

    // The window may be resized: the game's area scales by `scale` with its
    // aspect kept, centred at `offset` (logical pixels of the widget); the
    // rest shows the back colour. The buffer always holds the game's area at
    // device resolution, so every size draws as crisply as the classic one.
    qreal scale() const { return scale_; }
    QPoint areaOffset() const { return offset_; }
    // A point of the widget in twips of the game's area.
    QPointF twipsAt(QPointF widgetPoint) const;
    // Widget pixels of a twips position.
    QPointF widgetAt(double xTwips, double yTwips) const;

    void paintPicture(const QString& name, double xTwips, double yTwips);
    void drawRectangle(double x1, double y1, double x2, double y2, const QColor& color);
    void fillRectangle(double x1, double y1, double x2, double y2, const QColor& color);
    void printText(double xTwips, double yTwips, const QString& text, double sizePoints, bool bold,
                   const QColor& color);
    void clear(const QColor& color);
    // The face printText uses, at `ratio` device pixels a logical pixel.
    static QFont textFont(double sizePoints, bool bold, qreal ratio = 1.0);

    // Shows what was drawn since the last time: now, or once control is
    // back in the event loop. Nothing new, nothing repainted.
    void present();
    void presentLater();

    // Pictures with words in them are drawn anew after the language changed.
    void forgetPictures() { pictures_.clear(); }
    // The picture `name` at its own size for this canvas' pixel ratio.
    QImage picture(const QString& name, QSize devicePixels);
    const QImage& buffer() const { return buffer_; }
    qreal bufferRatio() const { return ratio_; }

    QSize sizeHint() const override;

signals:
    // The screen's pixel ratio or the window's scale changed; pictures held
    // elsewhere should follow (ratio: device pixels a classic logical pixel).
    void ratioChanged(qreal ratio);
    // The game's area was resized: what it shows is to be drawn anew.
    void rescaled();
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt.
    void mousePressed(int button, int shift, double xTwips, double yTwips);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void matchScreenRatio();
    // Rebuilds the buffer for the current screen ratio and scale, keeping
    // what was drawn (scaled) until the game draws it anew.
    void rebuildBuffer();
    bool filledWith(const QRect& devicePixels, const QColor& color) const;
    // Marks a rectangle of the back buffer, in device pixels, as drawn.
    void touched(const QRect& devicePixels);
    QRegion takeUnshown();

    QImage buffer_;
    QRegion dirty_;
    qreal ratio_ = 1.0;  // device pixels of the buffer a classic logical pixel
    qreal screenRatio_ = 1.0;
    qreal scale_ = 1.0;
    QPoint offset_;
    QColor backColor_;
    QHash<QString, QImage> pictures_;
};

}  // namespace daro::qt
