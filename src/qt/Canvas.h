#pragma once
// The form's client area: a persistent back buffer at the screen's device
// pixel ratio. Drawing goes into the buffer; a paint event only shows it.

#include <QHash>
#include <QImage>
#include <QWidget>

namespace daro::qt {

class Canvas : public QWidget {
    Q_OBJECT
public:
    static constexpr int twipsPerPixel = 15;
    static constexpr int widthTwips = 14000;
    static constexpr int heightTwips = 11000;

    explicit Canvas(QWidget* parent = nullptr);

    // Twips of a point given in logical pixels.
    static double toTwips(double logicalPixels) { return logicalPixels * twipsPerPixel; }
    // The first whole logical pixel at or right of / below a twips position.
    // A click on that pixel maps back to twips on the same side of the
    // position, so what is drawn and what is clicked agree.
    static int toLogical(double twips);
    // The same in device pixels of the buffer.
    int toDevice(double twips) const;

    void paintPicture(const QString& name, double xTwips, double yTwips);
    void drawRectangle(double x1, double y1, double x2, double y2, const QColor& color);
    void printText(double xTwips, double yTwips, const QString& text, double sizePoints, bool bold,
                   const QColor& color);
    void clear(const QColor& color);

    // The picture `name` at its own size for this canvas' pixel ratio.
    QImage picture(const QString& name, QSize devicePixels);
    const QImage& buffer() const { return buffer_; }
    qreal bufferRatio() const { return ratio_; }

    QSize sizeHint() const override;

signals:
    // The screen's pixel ratio changed; pictures held elsewhere should follow.
    void ratioChanged(qreal ratio);
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt.
    void mousePressed(int button, int shift, double xTwips, double yTwips);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void matchScreenRatio();

    QImage buffer_;
    qreal ratio_ = 1.0;
    QColor backColor_;
    QHash<QString, QImage> pictures_;
};

}  // namespace daro::qt
