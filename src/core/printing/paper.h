#pragma once
// A paper size (TPaper) and the list of them (TPaperList, file "TESSALY.TPP"): the
// physical sheet, for label stock the grid of labels on it, for envelopes how the
// printer feeds them. Lengths are stored in the paper's unit; the accessors give
// millimetres.

#include "core/common/text.h"
#include "core/store/my_list.h"
#include "core/store/stream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tessaly {

enum TPaperType : int { kPaperEnvelope = 1, kPaperLabel = 2, kPaperListing = 3 };
enum TPaperUnit : int { kUnitInches = 0, kUnitMillimetres = 1 };
// The printing system's paper code of a size of the user's own.
constexpr int kUserPaperCode = 256;
// Papers and layouts refer to none by this number.
constexpr int kNoNumber = -1;

// "Envelope", "Label", "Listing" for types 1 to 3, empty for any other.
std::string PaperTypeCaption(int type);
// "Inches", "Millimetres".
std::string PaperUnitCaption(int unit);

class TPaper {
public:
    Text Name;
    int Number = kNoNumber;
    int Type = kPaperEnvelope;
    int SystemCode = kUserPaperCode;
    // In the paper's unit.
    double Width = 0, Height = 0;
    double LabelWidth = 0, LabelHeight = 0;
    int LabelsAcross = 0, LabelsDown = 0;
    double TopMargin = 0, LeftMargin = 0;
    double HorizontalGap = 0, VerticalGap = 0;
    bool Portrait = false;
    int EnvelopeFeed = 4; // 1 to 3 portrait feeds, 4 to 6 landscape
    int Unit = kUnitMillimetres;
    bool FaceUp = false;
    bool RotateEnvelope = false; // from version 6 of the file

    // Trimmed and cut to 255 characters.
    void SetName(std::string_view name);
    std::string NameText() const { return Name.str(); }
    bool Editable() const { return SystemCode == kUserPaperCode; }

    // The lengths in millimetres whatever the unit.
    double WidthMm() const { return Mm(Width); }
    double HeightMm() const { return Mm(Height); }
    double LabelWidthMm() const { return Mm(LabelWidth); }
    double LabelHeightMm() const { return Mm(LabelHeight); }
    double TopMarginMm() const { return Mm(TopMargin); }
    double LeftMarginMm() const { return Mm(LeftMargin); }
    double HorizontalGapMm() const { return Mm(HorizontalGap); }
    double VerticalGapMm() const { return Mm(VerticalGap); }

    static std::unique_ptr<TPaper> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TPaper&) const = default;

private:
    double Mm(double v) const { return Unit == kUnitInches ? v * 25.4 : v; }
};

class TPaperList : public TMyList<TPaper> {
public:
    // The next paper number to hand out; never reused.
    int NextNumber = 0;

    TPaper* ByNumber(int number) const;
    // -1 when no paper has the name (compared without regard to case).
    int NumberByName(std::string_view name) const;
    TPaper* ByName(std::string_view name) const;
    bool Exists(int number) const { return ByNumber(number) != nullptr; }
    std::string NameByNumber(int number) const;
    std::string NameAt(int i) const;
    // 0 for a position or number that names no paper.
    int TypeAt(int i) const;
    int TypeByNumber(int number) const;

    // A user-defined paper with the next number: code 256, feed 4, portrait, face up
    // and rotate off, every length 0, inches when the locale's country code is 1,
    // else millimetres. Null when the numbers have run out.
    TPaper* Create(std::string_view name, int type, int countryCode);
    // A copy of every field under a new number with the code 256, so that a copy of a
    // factory paper is always editable. Null when the numbers have run out.
    TPaper* Duplicate(const TPaper& source);
    void Remove(const TPaper* paper);

    // Counter, count, papers.
    void Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w) const;
    bool operator==(const TPaperList& other) const {
        return NextNumber == other.NextNumber && ItemsEqual(other);
    }

private:
    // The next number, or -1 when the 16-bit counter has run out.
    int TakeNumber();
};

} // namespace tessaly
