#pragma once
// The "Paper Setup" dialog's form: the paper's fields as typed, which of them may be
// changed, the checks its OK makes (which field fails first, and the name's message),
// the envelope feed's orientation, and putting a checked form into the paper.

#include "core/common/dialog_message.h"
#include "core/printing/paper.h"

#include <optional>
#include <string>

namespace tessaly {

// The typed fields, in the order OK checks them.
enum class TPaperField {
    Name,
    Width,
    Height,
    LabelWidth,
    LabelHeight,
    LabelsAcross,
    LabelsDown,
    TopMargin,
    LeftMargin,
    HorizontalGap,
    VerticalGap,
};

struct TPaperForm {
    std::string Name;
    int Type = kPaperEnvelope;
    int Unit = kUnitMillimetres;
    std::string Width, Height, LabelWidth, LabelHeight;
    std::string LabelsAcross, LabelsDown;
    std::string TopMargin, LeftMargin, HorizontalGap, VerticalGap;
    bool Portrait = false;
    int EnvelopeFeed = 4;
    bool FaceUp = false;
    bool RotateEnvelope = false;
};

// A length as the form shows it: the shortest text that reads back as the value.
std::string PaperLengthText(double value);
TPaperForm PaperFormOf(const TPaper& paper);

// What may be changed: the name, type, sizes, unit and label grid only on a size of the
// user's own (code 256); the name also on a copy.
struct TPaperEditable {
    bool Name = false;
    bool Sizes = false;
    // A copy holds its source's name until it is given its own.
    bool Copy = false;
};
TPaperEditable PaperEditable(const TPaper& paper, bool copy);

struct TPaperFormError {
    TPaperField Field = TPaperField::Name;
    // The name's message (strings 436 and 389); a field that does not parse has none
    // (it beeps and takes the focus).
    std::optional<TDialogMessage> Message;
};
// The first failing field: the name (when editable), then, when the sizes may be
// changed, the lengths (margins and gaps may be 0) and for a label sheet its label size
// and a whole number of labels across and down above 0.
std::optional<TPaperFormError> CheckPaperForm(const TPaperForm& form, const TPaperList& papers,
                                              const TPaper& paper, TPaperEditable editable);
// Puts a checked form into the paper: what may be changed, and the feed settings.
void ApplyPaperForm(const TPaperForm& form, const TPaper& original, TPaperEditable editable,
                    TPaper& out);

// The orientation changed with `feed` chosen: whether to ask string 386 first (it goes
// against the feed's, FeedIsPortrait).
bool AsksFeedOrientation(int feed, bool portrait);

} // namespace tessaly
