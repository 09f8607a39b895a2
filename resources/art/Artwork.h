#pragma once
// The pictures of the game, drawn in code so that they stay sharp at any
// device pixel ratio. Each picture is named like the picture control that
// holds it on the window: "SOU_OHU", "SYU", "KARA_MASU", "ZTSHOGI",
// "HAIKEI_TATAMI", "ICO_MAN_SOU", ...

#include <QImage>
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

}  // namespace daro::art
