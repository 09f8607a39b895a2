#include "ListingIndex.h"

namespace daro::server {

// Files the table under every key its facts give, or takes it out of them.
void ListingIndex::file(const std::string& code, const ListingFacts& f, bool in) {
    auto apply = [in](auto& set, auto key) {
        if (in)
            set.insert(std::move(key));
        else
            set.erase(key);
    };
    if (!f.listed) return;
    if (!f.waiting) return apply(playing_, PlayingKey{-f.createdAt, code});
    apply(waiting_, WaitingKey{f.free, f.createdAt, code});
    if (!f.quick) return;
    if (f.seated) apply(due_, DueKey{f.quickDue, code});
    if (f.free > 0) apply(quick_, QuickKey{f.turnPace, f.free, f.createdAt, code});
}

void ListingIndex::erase(const std::string& code) {
    auto it = filed_.find(code);
    if (it == filed_.end()) return;
    file(code, it->second, false);
    filed_.erase(it);
}

void ListingIndex::update(const std::string& code, const ListingFacts& facts) {
    erase(code);
    if (!facts.listed) return;
    file(code, facts, true);
    filed_.emplace(code, facts);
}

const std::string* ListingIndex::bestQuick(bool turnPace) const {
    auto it = quick_.lower_bound(QuickKey{turnPace, 0, -std::numeric_limits<double>::infinity(), std::string()});
    if (it == quick_.end() || std::get<0>(*it) != turnPace) return nullptr;
    return &std::get<3>(*it);
}

}  // namespace daro::server
