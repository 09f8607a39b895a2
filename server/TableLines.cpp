#include "TableLines.h"

#include <sstream>
#include <vector>

#include "record/GameFile.h"

namespace daro::server {

namespace {
constexpr int loopGuard = 1000;

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The numbers after the first word; nothing when any word is not a small number.
std::optional<std::vector<int>> numbersAfterWord(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    std::vector<int> numbers;
    while (in >> word) {
        if (word.size() > 4 || word.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
        numbers.push_back(std::stoi(word));
    }
    return numbers;
}

bool isSeat(int s) { return s >= 1 && s <= 7; }
}  // namespace

int modeOf(const std::array<SeatKind, 8>& seats) {
    for (int s = 1; s <= 7; ++s)
        if (!seats[static_cast<std::size_t>(s)].human) return Table::modeFree;
    return Table::modeSevenPlayers;
}

std::string lineOf(const TableEvent& e) {
    switch (e.kind) {
        case TableEventKind::moved: return eventLine(e.move, e.moveNumber);
        case TableEventKind::droppedOut: return "out " + std::to_string(e.seat);
        case TableEventKind::passed: return "pass " + std::to_string(e.seat);
        case TableEventKind::gameOver: return resultLine(e.outcome);
        case TableEventKind::turnTo:
        case TableEventKind::paused: break;
    }
    return {};
}

std::string standInLine(int seat, int level) { return "standin " + std::to_string(seat) + " " + std::to_string(level); }
std::string playerLine(int seat) { return "player " + std::to_string(seat); }

bool isSeatChangeLine(std::string_view line) {
    return startsWith(line, "standin ") || startsWith(line, "player ") || startsWith(line, "timeout ");
}

bool playLine(Table& table, const std::string& line) {
    const auto n = numbersAfterWord(line);
    if (!n) return false;
    if (startsWith(line, "timeout ")) return n->size() == 1u && isSeat((*n)[0]);
    if (startsWith(line, "standin ") || startsWith(line, "player ")) {
        const bool computer = line[0] == 's';
        if (n->size() != (computer ? 2u : 1u) || !isSeat((*n)[0])) return false;
        return !computer || ((*n)[1] >= 1 && (*n)[1] <= 4);
    }
    if (line == "lost" || startsWith(line, "win ")) return table.outcome() && resultLine(*table.outcome()) == line;
    for (int guard = 0; guard < loopGuard && table.next().kind == StepKind::paused; ++guard) table.resume();
    const Step step = table.next();
    if (startsWith(line, "move ") && n->size() == 8 && step.seat == (*n)[1]) {
        const auto& v = *n;
        if (v[0] != table.moveNumber + 1) return false;
        if (step.kind == StepKind::human) return table.submit(v[1], TableMove{v[2], v[3], v[4], v[5]}) == Refusal::none;
        if (step.kind != StepKind::computerMove) return false;
        // A stored computer move is checked like a player's: the store may have been tampered with.
        if (!table.onBoard(v[2], v[3]) || !table.onBoard(v[4], v[5])) return false;
        if (table.board[static_cast<std::size_t>(v[2])][static_cast<std::size_t>(v[3])] != v[6]) return false;
        if (Table::blockOfCode(v[6]) != Table::blockOfSeat(v[1])) return false;
        if (table.移動チェック(v[2], v[3], v[4], v[5], v[6]) != Table::valueYes) return false;
        table.commitComputerMove(v[1], ChosenMove{v[2], v[3], v[4], v[5], v[6]});
        return true;
    }
    const bool out = startsWith(line, "out "), pass = startsWith(line, "pass ");
    if ((out || pass) && n->size() == 1 && step.seat == (*n)[0]) {
        if (pass && step.kind == StepKind::computerMove) {
            table.commitComputerMove(step.seat, std::nullopt);
            return true;
        }
        if ((out && step.kind == StepKind::dropOut) || (pass && step.kind == StepKind::pass)) {
            table.step();
            return true;
        }
    }
    return false;
}

}  // namespace daro::server
