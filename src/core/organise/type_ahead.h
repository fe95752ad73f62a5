#pragma once
// Finding an entry by typing in the entry list: typed characters build a prefix
// that is looked up among the sort texts. The prefix starts afresh when more than
// 1500 ms passed since the previous key. What the list should do comes back as a
// result: select an item (and run its click action) or sound the error beep.

#include "core/system/clock.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tessaly {

class TEntryList;

// Milliseconds after which the next key starts a new prefix.
constexpr std::int64_t kTypeAheadResetMs = 1500;

struct TTypeAheadResult {
    enum class Action { None, Select, Beep };
    Action What = Action::None;
    int Index = -1; // the item to select for Action::Select
    bool operator==(const TTypeAheadResult&) const = default;
};

class TTypeAhead {
public:
    // Gives the first item whose text begins with a prefix (without regard to case),
    // or -1.
    using Finder = std::function<int(std::string_view prefix)>;

    explicit TTypeAhead(const IClock& clock = SystemClock::Instance()) : clock_(clock) {}

    // A typed character: appended to the prefix (emptied first after a pause); the
    // first matching item is selected, else the beep sounds and the prefix is emptied.
    // Control characters are not typed text and do nothing.
    TTypeAheadResult KeyChar(char c, const Finder& find);
    TTypeAheadResult KeyChar(char c, const TEntryList& list);
    // Backspace: removes the last character and selects the first item matching what
    // is left; with one character left the prefix is emptied and the first item
    // selected; with an empty prefix (a pause counts as emptying it) it beeps.
    TTypeAheadResult Backspace(const Finder& find);
    TTypeAheadResult Backspace(const TEntryList& list);
    // Page Up, Page Down, End, Home, Up and Down empty the prefix.
    void NavigationKey() { prefix_.clear(); }

    const std::string& Prefix() const { return prefix_; }

private:
    // Empties the prefix when the previous key lies too far back, and notes this key.
    void Tick();

    const IClock& clock_;
    std::string prefix_;
    std::int64_t lastKeyMs_ = 0;
    bool anyKey_ = false;
};

} // namespace tessaly
