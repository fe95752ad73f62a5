#pragma once
// One undoable designer edit: the state of the objects it touched (by identity: band,
// Z-position and box, or absent) and of the band heights, before and after. Redo sets
// the after state, undo the before state. Consecutive steps of one drag merge into one
// command. The program's undo stack wraps these.

#include "core/designer/page_model.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

enum class TEditKind {
    Place,
    Delete,
    Move,
    Nudge,
    Resize,
    Align,
    Size,
    Order,
    TextAlign,
    Font,
    Properties,
    BandHeight,
    Bands,
};
// The undo menu's name of an edit: "Place Object", "Move Objects", ...
std::string EditCaption(TEditKind kind);

struct TObjectState {
    int Id = 0;
    int Band = kBandBody;
    int Index = 0;
    std::optional<TLayoutBox> Box; // absent: the object does not exist in this state
    bool operator==(const TObjectState&) const = default;
};

struct TPageState {
    std::vector<TObjectState> Objects;
    double HeaderHeight = 0, FooterHeight = 0;
    bool Headers = false, Footers = false;
    bool operator==(const TPageState&) const = default;
};

// The state of these objects (absent ones recorded as absent) and the band heights.
TPageState CaptureState(const TPageModel& page, const std::vector<int>& ids);
// Puts the objects of a state back under their identities and positions.
void RestoreState(TPageModel& page, const TPageState& state);

class TDesignCommand {
public:
    TEditKind Kind = TEditKind::Move;
    int DragId = 0; // non-zero: the drag this step belongs to
    TPageState Before, After;

    void Redo(TPageModel& page) const { RestoreState(page, After); }
    void Undo(TPageModel& page) const { RestoreState(page, Before); }
    // Whether the edit changed anything.
    bool Changes() const { return Before != After; }
    // Takes the next step of the same drag: this command then ends where `next` ends.
    // False, and nothing taken, for any other command.
    bool MergeWith(const TDesignCommand& next);
};

} // namespace tessaly
