#pragma once
// Games played on from saved ones: each saved game's moves up to the moment
// its kingdoms are down to a given number, then the seats' own players.
// The same positions played on under other settings tell the settings
// apart with far fewer games than whole games would.
#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "record/GameFile.h"
#include "table/Table.h"

namespace daro::arena {

struct SavedMove {
    int seat = 0;
    ChosenMove move;
};

struct ResumePoint {
    std::array<std::string, 8> seats{};  // the file's seat words, by seat
    std::vector<SavedMove> moves;        // played as saved, in order
};

// The game files of a folder, by name. Nothing, with the reason, when the
// folder cannot be read or holds none.
inline std::optional<std::vector<std::string>> savedGames(const std::string& dir, std::string& reason) {
    std::error_code ec;
    std::vector<std::string> files;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec) && it->path().extension() == ".daro") files.push_back(it->path().string());
    if (ec) {
        reason = "cannot read the folder " + dir;
        return std::nullopt;
    }
    if (files.empty()) {
        reason = "no .daro files in " + dir;
        return std::nullopt;
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The moves of the saved game before its kingdoms came down to `kingdoms`,
// and its seats. Nothing when the file is not a game of computers that
// came down to that many, with the reason.
inline std::optional<ResumePoint> resumePoint(const std::string& path, int kingdoms, std::string& reason) {
    const auto bytes = readGameFileBytes(path, reason);
    if (!bytes) return std::nullopt;
    const GameFileResult read = replayGameFile(*bytes);
    if (!read.game) {
        reason = "line " + std::to_string(read.problem.line) + ": " + read.problem.reason;
        return std::nullopt;
    }
    ResumePoint point;
    std::istringstream header(*bytes);
    for (std::string line; std::getline(header, line);) {
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word != "seats") continue;
        for (int s = 1; s <= 7; ++s) words >> point.seats[static_cast<std::size_t>(s)];
        break;
    }
    for (int s = 1; s <= 7; ++s)
        if (point.seats[static_cast<std::size_t>(s)].empty() || point.seats[static_cast<std::size_t>(s)] == "human") {
            reason = "the seats line does not name seven computers";
            return std::nullopt;
        }
    int out = 0;
    for (const RecordEntry& entry : read.game->record) {
        const RecordEvent& m = entry.move;
        if (m.kind == EventKind::Move) point.moves.push_back({m.seat, {m.fromX, m.fromY, m.toX, m.toY, m.piece}});
        for (const RecordStep& step : entry.after)
            if (step.kind == EventKind::Out && ++out == 7 - kingdoms) return point;
    }
    reason = "the game never came down to " + std::to_string(kingdoms) + " kingdoms";
    return std::nullopt;
}

}  // namespace daro::arena
