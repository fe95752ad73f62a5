#pragma once
// The objects of a page layout: TLayoutBox and its kinds, each with its data items
// (TFields), and the object file of layout N ("%08d.TPL": signature, version, the
// header, body and footer bands, signature). Lengths are millimetres from the band's
// top left corner.

#include "core/common/text.h"
#include "core/store/my_list.h"
#include "core/store/stream.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessaly {

enum TBoxKind : int {
    kBoxData = 0,
    kBoxAddress = 1, // merged data: the address field of an entry template
    kBoxStaticText = 2,
    kBoxGraphic = 3,
    kBoxVerticalLine = 4,
    kBoxHorizontalLine = 5,
    kBoxRectangle = 6,
    kBoxDate = 7,
    kBoxDatePrinted = 8,
    kBoxTime = 9,
    kBoxTimePrinted = 10,
    kBoxCreated = 11,
    kBoxUpdated = 12,
    kBoxLastCalled = 13,
    kBoxReturnAddress = 14,
    kBoxPageNumber = 15,
};

// How a box of this kind number behaves: any number outside 0 to 15 is merged data.
int BoxBehaviour(int kind);
// Whether the box keeps a format pattern (dates, times, page numbers) or a picture
// file behind its font.
bool BoxHasFormat(int kind);
// The default pattern of a kind: "ddddd" for dates, "t" for times, "%.1d" for the
// page number; empty for the others.
std::string DefaultBoxFormat(int kind);

// A data item of a box.
class TFields {
public:
    Text Caption;           // the field's label, or the text of a static text box
    int FieldNumber = 0;    // position in the data palette of the layout's source
    int Kind = kBoxData;    // the kind it was dragged as: 0, 1, 2, 7 or 9
    bool SingleLine = true; // from version 6 of the object file

    static std::unique_ptr<TFields> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TFields&) const = default;
};
using TFieldsList = TMyList<TFields>;

// The longest font name the file's 32-byte field holds.
constexpr std::size_t kFontNameMax = 31;

class TLayoutBox {
public:
    int Kind = kBoxData; // kept as read, even a number this program does not know
    int Source = 1;      // the data source of the layout the box was made in
    TFieldsList Items;
    int Alignment = 0; // 0 left, 1 right, 2 centre
    std::uint32_t BrushColour = 0x00FFFFFF;
    int BrushStyle = 1; // 0 solid, 1 clear, 2 to 7 hatches
    std::uint32_t PenColour = 0;
    int PenStyle = 0; // 0 solid, 1 dashes, 2 dots, 3 dash-dot, 4 dash-dot-dot
    int PenWidth = 0; // pixels
    double Left = 0, Top = 0, Width = 0, Height = 0;
    std::uint32_t FontColour = 0;
    int FontSize = 8;               // points
    int FontStyle = 0;              // 1 bold, 2 italic, 4 underline, 8 strike-out
    std::string FontName = "Arial"; // at most 31 characters
    Text Format; // the pattern of dates, times and page numbers, or a picture's file

    int Behaviour() const { return BoxBehaviour(Kind); }
    double Bottom() const { return Top + Height; }

    // Reads the box whose kind word has been read already. A font name longer than
    // 31 characters is a damaged file (StreamError).
    static std::unique_ptr<TLayoutBox> Read(TStreamReader& r, int kind, int version);
    // Kind word first.
    void Write(TStreamWriter& w) const;
    bool operator==(const TLayoutBox&) const = default;
};

// A band's boxes in Z-order, back to front.
using TBand = std::vector<TLayoutBox>;

struct TLayoutObjects {
    TBand Header, Body, Footer;

    // The largest bottom edge of the body's boxes: the height of one record's detail.
    double DetailHeight() const;
    bool operator==(const TLayoutObjects&) const = default;
};

// "00000012.TPL" for layout 12.
std::string ObjectFileName(int layoutNumber);
// The layout number an object file's name stands for, or -1 for any other name
// (eight decimal digits and ".TPL", the extension in either case).
int ObjectFileNumber(const std::string& fileName);

// The three bands of an image; false for a damaged one (a band count below -1, a
// font name too long, a body or trailer that does not end the file).
bool ParseLayoutObjects(std::span<const std::uint8_t> bytes, TLayoutObjects& out);
std::vector<std::uint8_t> WriteLayoutObjects(const TLayoutObjects& objects);

} // namespace tessaly
