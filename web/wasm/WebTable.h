#pragma once
// The table as the page sees it: text in, JSON out, and the steps back and
// forward through the record that the window takes with 戻 and 進.
#include <optional>
#include <string>
#include <string_view>

#include "table/Table.h"

namespace daro::web {

class WebTable {
public:
    std::string start(std::string_view seats, int level);
    std::string positionJson();
    std::string submit(int seat, const TableMove& move);
    std::string destinationsJson(int x, int y);
    std::string nextJson() const;
    void step();
    void resume() { table_.resume(); }
    std::string snapshotText() const;
    // LEVEL5's search for the human to move, for the worker; "none" when no
    // human is to move here.
    std::string hintSnapshotText() const;
    // The same hint thought here, as "FX FY TX TY PIECE" or "none".
    std::string hintText() const;
    // Whether a hint's move is still one the human to move may make now.
    bool hintFits(std::string_view chosen) const;
    bool commit(int seat, std::string_view chosen);
    std::string drainEventsJson();
    bool back();
    bool forward();
    void playOn();
    // The position after move n of the record, for looking back at it.
    std::string entryJson(int n) const;
    std::string gameFile() const;
    std::string open(std::string_view bytes);
    std::string follow(std::string_view seats, std::string_view lines);
    std::string followLine(std::string_view line);

private:
    std::optional<ChosenMove> moveOf(int seat, std::string_view chosen) const;
    Table table_;
    bool started_ = false;
    // Stepped back or forward: the position shown is not where play stands.
    bool navigated_ = false;
};

// The move a computer chooses for a snapshot line, as "FX FY TX TY PIECE",
// or "none".
std::string thinkText(std::string_view snapshot);

}  // namespace daro::web
