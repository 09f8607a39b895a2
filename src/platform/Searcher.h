#pragma once
// Where the computer thinks. The window hands the search to a thread of its
// own and hears back on its own thread; tools think inside the call.

#include <functional>
#include <optional>

#include "table/Table.h"

namespace daro {

class Searcher {
public:
    virtual ~Searcher() = default;
    // Calls `done` with the choice, on the caller's thread, once it is made.
    virtual void think(const SearchRequest& request, std::function<void(std::optional<ChosenMove>)> done) = 0;
};

class SyncSearcher : public Searcher {
public:
    void think(const SearchRequest& request, std::function<void(std::optional<ChosenMove>)> done) override {
        done(daro::think(request));
    }
};

}  // namespace daro
