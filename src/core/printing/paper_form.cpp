#include "core/printing/paper_form.h"

#include "core/common/fill_text.h"
#include "core/printing/catalogue_rules.h"

#include <charconv>

namespace tessaly {

std::string PaperLengthText(double value) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

TPaperForm PaperFormOf(const TPaper& p) {
    TPaperForm f;
    f.Name = p.NameText();
    f.Type = p.Type;
    f.Unit = p.Unit;
    f.Width = PaperLengthText(p.Width);
    f.Height = PaperLengthText(p.Height);
    f.LabelWidth = PaperLengthText(p.LabelWidth);
    f.LabelHeight = PaperLengthText(p.LabelHeight);
    f.LabelsAcross = std::to_string(p.LabelsAcross);
    f.LabelsDown = std::to_string(p.LabelsDown);
    f.TopMargin = PaperLengthText(p.TopMargin);
    f.LeftMargin = PaperLengthText(p.LeftMargin);
    f.HorizontalGap = PaperLengthText(p.HorizontalGap);
    f.VerticalGap = PaperLengthText(p.VerticalGap);
    f.Portrait = p.Portrait;
    f.EnvelopeFeed = p.EnvelopeFeed;
    f.FaceUp = p.FaceUp;
    f.RotateEnvelope = p.RotateEnvelope;
    return f;
}

TPaperEditable PaperEditable(const TPaper& paper, bool copy) {
    TPaperEditable e;
    e.Sizes = paper.Editable();
    e.Name = e.Sizes || copy;
    e.Copy = copy;
    return e;
}

std::optional<TPaperFormError> CheckPaperForm(const TPaperForm& f, const TPaperList& papers,
                                              const TPaper& paper, TPaperEditable editable) {
    if (editable.Name) {
        if (auto m = CheckPaperName(papers, f.Name, editable.Copy ? "" : paper.NameText()))
            return TPaperFormError{TPaperField::Name, std::move(m)};
    }
    if (!editable.Sizes)
        return std::nullopt;
    struct TLength {
        TPaperField Field;
        const std::string& Text;
        bool ZeroAllowed;
        bool LabelsOnly;
    };
    const bool label = f.Type == kPaperLabel;
    const TLength lengths[] = {
        {TPaperField::Width, f.Width, false, false},
        {TPaperField::Height, f.Height, false, false},
        {TPaperField::LabelWidth, f.LabelWidth, false, true},
        {TPaperField::LabelHeight, f.LabelHeight, false, true},
    };
    for (const TLength& l : lengths)
        if ((label || !l.LabelsOnly) && !ParsePaperLength(l.Text, l.ZeroAllowed))
            return TPaperFormError{l.Field, std::nullopt};
    if (label) {
        if (!ParseLabelCount(f.LabelsAcross))
            return TPaperFormError{TPaperField::LabelsAcross, std::nullopt};
        if (!ParseLabelCount(f.LabelsDown))
            return TPaperFormError{TPaperField::LabelsDown, std::nullopt};
    }
    const TLength margins[] = {
        {TPaperField::TopMargin, f.TopMargin, true, false},
        {TPaperField::LeftMargin, f.LeftMargin, true, false},
        {TPaperField::HorizontalGap, f.HorizontalGap, true, true},
        {TPaperField::VerticalGap, f.VerticalGap, true, true},
    };
    for (const TLength& l : margins)
        if ((label || !l.LabelsOnly) && !ParsePaperLength(l.Text, l.ZeroAllowed))
            return TPaperFormError{l.Field, std::nullopt};
    return std::nullopt;
}

void ApplyPaperForm(const TPaperForm& f, const TPaper& original, TPaperEditable editable,
                    TPaper& out) {
    out = original;
    if (editable.Name)
        out.SetName(f.Name);
    if (editable.Sizes) {
        const auto length = [](const std::string& t, double was) {
            return ParsePaperLength(t, true).value_or(was);
        };
        const auto count = [](const std::string& t, int was) {
            return ParseLabelCount(t).value_or(was);
        };
        out.Type = f.Type;
        out.Unit = f.Unit;
        out.Width = length(f.Width, original.Width);
        out.Height = length(f.Height, original.Height);
        out.TopMargin = length(f.TopMargin, original.TopMargin);
        out.LeftMargin = length(f.LeftMargin, original.LeftMargin);
        if (f.Type == kPaperLabel) {
            out.LabelWidth = length(f.LabelWidth, original.LabelWidth);
            out.LabelHeight = length(f.LabelHeight, original.LabelHeight);
            out.LabelsAcross = count(f.LabelsAcross, original.LabelsAcross);
            out.LabelsDown = count(f.LabelsDown, original.LabelsDown);
            out.HorizontalGap = length(f.HorizontalGap, original.HorizontalGap);
            out.VerticalGap = length(f.VerticalGap, original.VerticalGap);
        }
    }
    out.Portrait = f.Portrait;
    out.EnvelopeFeed =
        f.EnvelopeFeed >= 1 && f.EnvelopeFeed <= 6 ? f.EnvelopeFeed : original.EnvelopeFeed;
    out.FaceUp = f.FaceUp;
    out.RotateEnvelope = f.RotateEnvelope;
}

bool AsksFeedOrientation(int feed, bool portrait) {
    return portrait != FeedIsPortrait(feed);
}

} // namespace tessaly
