#pragma once
// The network panel's sentences for what a server answers: each refusal the
// protocol names said as a player reads it, in the window's language.

#include <QString>
#include <QStringList>

namespace daro::qt {

// The kingdom of seat 1–7 (秦 … 燕); empty for any other number.
QString kingdomName(int seat);

// Every refusal code the panel has a sentence for.
QStringList knownRefusals();

// The sentence for refusal `code`. `missingPlayers` is how many human seats
// of the table are still free, `over` whether its game has ended: the
// sentence for a move before the start says whom the game waits for.
QString refusalSentence(const QString& code, int missingPlayers = 0, bool over = false);

// A move time in its largest whole unit: "1 hour", "3 days", "5 minutes".
QString moveTimeText(int seconds);

// A table's pace in a few words: "live", "turn-based, 1 day a move".
QString paceText(bool turnBased, int moveSeconds);

// How a table is played, as the panel shows it for the table you are at:
// its pace, a turn-based table's time for one move, and whether hints are allowed.
QString tableRulesText(bool turnBased, int moveSeconds, bool hints);

}  // namespace daro::qt
