#pragma once
// The public tables in the orders the lobby asks for them, kept up to date
// as tables change, so that a list, a quick-play seat or the quick tables
// due to start cost a look-up, never a walk over every table.
//
// Each table is filed under the keys it had when last told of; those keys
// are kept with it, so a change always removes exactly what was filed.

#include <limits>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>

namespace daro::server {

// What the index needs of a table, read at the moment it is told of it.
struct ListingFacts {
    bool listed = false;   // public and not over
    bool waiting = false;  // waiting for players (else being played)
    int free = 0;          // human seats nobody holds
    double createdAt = 0;
    bool quick = false;     // a quick-play table
    bool turnPace = false;
    bool seated = false;    // somebody holds a seat
    double quickDue = 0;    // when a quick-play table's wait is over
};

class ListingIndex {
public:
    void update(const std::string& code, const ListingFacts& facts);
    void erase(const std::string& code);

    // Waiting: fewest free seats first, then the oldest.
    using WaitingKey = std::tuple<int, double, std::string>;
    // Playing: the newest first.
    using PlayingKey = std::tuple<double, std::string>;
    // Quick play: by pace, then as waiting; only tables with a free seat.
    using QuickKey = std::tuple<bool, int, double, std::string>;
    // Quick tables somebody sits at, by the end of their wait.
    using DueKey = std::tuple<double, std::string>;

    const std::set<WaitingKey>& waiting() const { return waiting_; }
    const std::set<PlayingKey>& playing() const { return playing_; }
    const std::set<DueKey>& quickDue() const { return due_; }
    // The waiting quick-play table of this pace with the fewest free seats
    // (then the oldest); nullptr when there is none.
    const std::string* bestQuick(bool turnPace) const;
    std::size_t size() const { return filed_.size(); }

private:
    void file(const std::string& code, const ListingFacts& facts, bool in);

    std::set<WaitingKey> waiting_;
    std::set<PlayingKey> playing_;
    std::set<QuickKey> quick_;
    std::set<DueKey> due_;
    std::unordered_map<std::string, ListingFacts> filed_;
};

}  // namespace daro::server
