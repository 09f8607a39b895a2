#pragma once
// The network panel's sentences for what a server answers: each refusal the
// protocol names said as a player reads it, in the window's language.

#include <QString>
#include <QStringList>

namespace daro::qt {

// Every refusal code the panel has a sentence for.
QStringList knownRefusals();

// The sentence for refusal `code`. `missingPlayers` is how many human seats
// of the table are still free, `over` whether its game has ended: the
// sentence for a move before the start says whom the game waits for.
QString refusalSentence(const QString& code, int missingPlayers = 0, bool over = false);

}  // namespace daro::qt
