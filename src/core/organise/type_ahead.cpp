#include "core/organise/type_ahead.h"

#include "core/organise/entry_list.h"

namespace tessaly {

namespace {

TTypeAheadResult Select(int index) {
    return {TTypeAheadResult::Action::Select, index};
}

TTypeAheadResult Beep() {
    return {TTypeAheadResult::Action::Beep, -1};
}

TTypeAhead::Finder FinderOf(const TEntryList& list) {
    return [&list](std::string_view prefix) { return list.FindPrefix(prefix); };
}

} // namespace

void TTypeAhead::Tick() {
    const std::int64_t now = clock_.MonotonicMs();
    if (anyKey_ && now - lastKeyMs_ > kTypeAheadResetMs)
        prefix_.clear();
    lastKeyMs_ = now;
    anyKey_ = true;
}

TTypeAheadResult TTypeAhead::KeyChar(char c, const Finder& find) {
    if (static_cast<unsigned char>(c) < 32 || c == 127)
        return {};
    Tick();
    prefix_ += c;
    const int found = find(prefix_);
    if (found < 0) {
        prefix_.clear();
        return Beep();
    }
    return Select(found);
}

TTypeAheadResult TTypeAhead::KeyChar(char c, const TEntryList& list) {
    return KeyChar(c, FinderOf(list));
}

TTypeAheadResult TTypeAhead::Backspace(const Finder& find) {
    Tick();
    if (prefix_.empty())
        return Beep();
    prefix_.pop_back();
    if (prefix_.empty()) {
        const int first = find(prefix_); // the first item, -1 in an empty list
        return first < 0 ? TTypeAheadResult{} : Select(first);
    }
    const int found = find(prefix_);
    if (found < 0) {
        // The list changed under the prefix; start afresh.
        prefix_.clear();
        return Beep();
    }
    return Select(found);
}

TTypeAheadResult TTypeAhead::Backspace(const TEntryList& list) {
    return Backspace(FinderOf(list));
}

} // namespace tessaly
