#pragma once
// The game's own texts — boxes, their titles, the labels beside the board —
// come through the seam in Japanese, as the game words them. Here they are
// looked up whole in the window's language: a kingdom's name with its
// phrase ("秦の勝ちです") is one sentence to translate, and a text with a
// part that varies (a file's path, a line number) is one sentence with a
// place for that part.

#include <QString>
#include <QStringList>

namespace daro::qt::phrasebook {

// The text in the current language; itself when there is no translation
// (always so in Japanese). `title` is the box's title, which tells apart
// texts that read alike in Japanese but not in every language.
QString translate(const QString& text, const QString& title = {});

// A text printed beside the board; the label after the move number agrees
// with the number.
QString moveSuffix(const QString& text, int moveNumber);

// Whether a translation is in use (Japanese is none).
bool translating();

// Every text of the catalogue, whole sentences and sentences with places.
QStringList catalogue();

}  // namespace daro::qt::phrasebook
