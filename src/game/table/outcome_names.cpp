#include "table/Table.h"

namespace daro {

const char* outcomeName(OutcomeKind k) {
    switch (k) {
        case OutcomeKind::win: return "win";
        case OutcomeKind::humanGone: return "humanGone";
        case OutcomeKind::noHumanLeft: return "noHumanLeft";
        case OutcomeKind::noKingdomCanMove: return "noKingdomCanMove";
    }
    return "win";
}

const char* winByName(WinBy w) {
    switch (w) {
        case WinBy::twoKings: return "twoKings";
        case WinBy::thirtyPieces: return "thirtyPieces";
        case WinBy::nineteenWithKing: return "nineteenWithKing";
        case WinBy::lastStanding: return "lastStanding";
    }
    return "lastStanding";
}

}  // namespace daro
