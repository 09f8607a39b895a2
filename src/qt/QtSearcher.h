#pragma once
// The computer thinks on a thread of its own, so the window goes on
// repainting and answering Esc; the choice comes back on the window's thread.

#include <QObject>

#include "platform/Searcher.h"

namespace daro::qt {

class QtSearcher : public QObject, public daro::Searcher {
public:
    void think(const SearchRequest& request, std::function<void(std::optional<ChosenMove>)> done) override;
};

}  // namespace daro::qt
