#pragma once
// The pictures of the game, drawn in code so that they stay sharp at any
// device pixel ratio. Each picture is named like the picture control that
// holds it on the window: "SOU_OHU", "SYU", "KARA_MASU", "ZTSHOGI",
// "HAIKEI_TATAMI", "ICO_MAN_SOU", ...

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QString>
#include <QStringList>

namespace daro::art {

// The picture's own size in logical pixels (15 twips each); an invalid size
// for a name that has no picture.
QSize logicalSize(const QString& name);

// Every picture name: pieces, centre piece, empty square, title,
// backgrounds, icons.
QStringList names();

// The picture drawn to fill exactly `devicePixels`, in premultiplied ARGB;
// what the picture does not cover stays transparent. A null image for a name
// that has no picture.
QImage render(const QString& name, QSize devicePixels);

// Paints the picture onto `p` to fill the rectangle (0, 0, size) of its
// current coordinates; false for a name that has no picture. On a vector
// device (SVG) the characters are drawn as outlines, so the result needs no
// font where it is shown.
bool paint(QPainter& p, const QString& name, QSizeF size);

// The application's icon: the king of 楚 on a board square.
void paintApplicationIcon(QPainter& p, QSizeF size);

}  // namespace daro::art
