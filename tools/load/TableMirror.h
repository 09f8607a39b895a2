#pragma once
// What a client keeps of a table: a Table that follows the server's events,
// so it knows the position and whose turn it is, and can find a move.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "TableLines.h"
#include "record/GameFile.h"

namespace daro::server {

class TableMirror {
public:
    // From a "table" message: the seats, then every line of its record.
    bool start(const nlohmann::json& state) {
        std::array<SeatKind, 8> kinds{};
        const auto& seats = state.at("seats");
        for (int s = 1; s <= 7; ++s) {
            const auto& seat = seats.at(static_cast<std::size_t>(s - 1));
            kinds[static_cast<std::size_t>(s)] = seat.at("kind") == "human" ? SeatKind{true, 0}
                                                                            : SeatKind{false, seat.at("level").get<int>()};
        }
        table = Table();
        table.seat(modeOf(kinds), kinds);
        // Before the game starts there is nothing to follow.
        if (state.at("status") == "waiting") return true;
        return followLines(state.at("record"));
    }

    // One event as it is announced; false when it does not follow.
    bool follow(const nlohmann::json& event) {
        const std::string type = event.value("type", "");
        if (type == "moved") {
            RecordEvent e{EventKind::Move, event.at("seat").get<std::uint8_t>(), event.at("from")[0].get<std::uint8_t>(),
                          event.at("from")[1].get<std::uint8_t>(), event.at("to")[0].get<std::uint8_t>(),
                          event.at("to")[1].get<std::uint8_t>(), event.at("piece").get<std::uint8_t>(),
                          event.at("captured").get<std::uint8_t>()};
            return played(playLine(table, eventLine(e, event.at("n").get<int>())));
        }
        if (type == "out" || type == "pass")
            return played(playLine(table, type + " " + std::to_string(event.at("seat").get<int>())));
        return true;
    }

    // A legal move for the seat, as the computer at LEVEL1 would play it.
    std::optional<TableMove> choose(int seat) const {
        SearchRequest request = table.snapshot();
        request.seat = seat;
        request.level = 1;
        const auto chosen = think(request);
        if (!chosen) return std::nullopt;
        return TableMove{chosen->fromX, chosen->fromY, chosen->toX, chosen->toY};
    }

    Table table;

private:
    bool played(bool ok) {
        table.drainEvents();
        return ok;
    }
    bool followLines(const nlohmann::json& lines) {
        for (const auto& line : lines)
            if (!playLine(table, line.get<std::string>())) return false;
        table.drainEvents();
        return true;
    }
};

}  // namespace daro::server
