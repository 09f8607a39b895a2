// What the lobby tells clients: events, seats and whole tables as JSON.
#include "Announce.h"

#include <cmath>

#include "Lobby.h"
#include "MessageFields.h"
#include "TableLines.h"
#include "record/GameFile.h"

namespace daro::server {

const char* refusalCode(Refusal r) {
    switch (r) {
        case Refusal::none: return "";
        case Refusal::noGame: return "game_not_running";
        case Refusal::notYourTurn: return "not_your_turn";
        case Refusal::notYourPiece: return "not_your_piece";
        case Refusal::illegalMove: return "illegal_move";
        case Refusal::kingSquareReached: return "king_in_reach";
    }
    return "illegal_move";
}

Json eventJson(const TableEvent& e) {
    switch (e.kind) {
        case TableEventKind::moved:
            return {{"type", "moved"},
                    {"n", e.moveNumber},
                    {"seat", e.move.seat},
                    {"from", {e.move.fromX, e.move.fromY}},
                    {"to", {e.move.toX, e.move.toY}},
                    {"piece", e.move.piece},
                    {"captured", e.move.captured}};
        case TableEventKind::droppedOut: return {{"type", "out"}, {"seat", e.seat}};
        case TableEventKind::passed: return {{"type", "pass"}, {"seat", e.seat}};
        case TableEventKind::turnTo: return {{"type", "turn"}, {"seat", e.seat}};
        case TableEventKind::gameOver: {
            Json j = {{"type", "over"}, {"outcome", outcomeName(e.outcome.kind)}, {"result", resultLine(e.outcome)}};
            if (e.outcome.kind == OutcomeKind::win) {
                j["seat"] = e.outcome.seat;
                j["by"] = winByName(e.outcome.how);
            }
            return j;
        }
        case TableEventKind::paused: break;
    }
    return nullptr;
}

void Lobby::sendJson(ConnId who, const Json& message) { out_.send(who, dump(message)); }

void Lobby::broadcast(GameTable& t, const Json& message) {
    const std::string text = dump(message);
    for (int s = 1; s <= seats; ++s)
        if (t.seats[static_cast<std::size_t>(s)].conn != 0) out_.send(t.seats[static_cast<std::size_t>(s)].conn, text);
    for (ConnId spectator : t.spectators) out_.send(spectator, text);
}

Json Lobby::seatJson(const GameTable& t, int seat, double now) const {
    const SeatState& s = t.seats[static_cast<std::size_t>(seat)];
    const bool human = s.created.human;
    Json j = {{"seat", seat},
              {"kind", human ? "human" : "computer"},
              {"level", human ? t.level : s.created.level},
              {"name", s.name},
              {"open", human && s.tokenHash.empty()},
              {"connected", s.conn != 0}};
    std::string playedBy = "player";
    if (!human || s.standIn)
        playedBy = "computer";
    else if (s.tokenHash.empty())
        playedBy = "nobody";
    j["playedBy"] = playedBy;
    if (human && !t.turnPace && !s.tokenHash.empty() && s.conn == 0 && !s.standIn)
        j["graceLeft"] = std::max(0.0, std::ceil((s.graceEnds - now) * 10) / 10);
    if (t.turnPace) {
        j["missed"] = s.missed;
        j["abandoned"] = human && s.standIn && s.missed >= limits_.missedBeforeAbandoned;
    }
    return j;
}

Json Lobby::tableJson(const GameTable& t, int you, double now) const {
    static constexpr const char* statusNames[] = {"waiting", "playing", "over"};
    Json seatList = Json::array();
    for (int s = 1; s <= seats; ++s) seatList.push_back(seatJson(t, s, now));
    Json board = Json::array();
    Json captured = Json::array(), kings = Json::array();
    for (int x = 1; x <= 19; ++x) {
        Json column = Json::array();
        for (int y = 1; y <= 19; ++y) column.push_back(t.table.board[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]);
        board.push_back(std::move(column));
    }
    for (int b = 1; b <= seats; ++b) {
        captured.push_back(t.table.capturedCount[static_cast<std::size_t>(b)]);
        kings.push_back(t.table.kingsCapturedCount[static_cast<std::size_t>(b)]);
    }
    Json record = t.lines;
    const Step step = t.status == GameTable::Status::playing ? t.table.next() : Step{};
    Json j = {{"type", "table"},
            {"code", t.code},
            {"status", statusNames[static_cast<int>(t.status)]},
            {"you", you},
            {"level", t.level},
            {"grace", t.grace},
            {"pace", t.turnPace ? "turn" : "live"},
            {"moveSeconds", t.moveSeconds},
            {"hints", t.hints},
            {"rematch", t.rematch},
            {"seats", seatList},
            {"turn", step.kind == StepKind::none ? 0 : step.seat},
            {"moveNumber", t.table.moveNumber},
            {"board", board},
            {"captured", captured},
            {"kingsCaptured", kings},
            {"record", record},
            {"result", t.result}};
    if (const auto left = turnLeft(t, now)) j["turnLeft"] = *left;
    return j;
}

void Lobby::seatChanged(GameTable& t, int seat, double now) {
    Json j = seatJson(t, seat, now);
    j["type"] = "seat";
    broadcast(t, j);
    listingChanged(t);
}

}  // namespace daro::server
