#pragma once
// What a print run makes: pages of drawing items in millimetres on the physical page
// (text in a rectangle, lines, rectangles, pictures), ready for any renderer to replay
// on a printer, a PDF or the preview.

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

struct TPlanFont {
    std::string Name = "Arial";
    int Size = 8;  // points
    int Style = 0; // 1 bold, 2 italic, 4 underline, 8 strike-out
    std::uint32_t Colour = 0;
    bool operator==(const TPlanFont&) const = default;
};

struct TPlanPen {
    std::uint32_t Colour = 0;
    int Style = 0;      // 0 solid, 1 dashes, 2 dots, 3 dash-dot, 4 dash-dot-dot
    double Width = 0.0; // millimetres; 0 the thinnest line the device draws
    bool operator==(const TPlanPen&) const = default;
};

struct TPlanBrush {
    std::uint32_t Colour = 0x00FFFFFF;
    int Style = 1; // 0 solid, 1 clear, 2 to 7 hatches
    bool operator==(const TPlanBrush&) const = default;
};

enum class TPlanItemKind { Text, Line, Rectangle, Picture };

struct TPlanItem {
    TPlanItemKind Kind = TPlanItemKind::Text;
    // A text's or picture's rectangle, a rectangle, or a line from (Left, Top) to
    // (Left + Width, Top + Height).
    double Left = 0, Top = 0, Width = 0, Height = 0;
    std::string Text; // Windows-1252; lines separated by line feeds; word-wrapped
    int Align = 0;    // 0 left, 1 right, 2 centre
    TPlanFont Font;
    TPlanPen Pen;
    TPlanBrush Brush;
    std::string Picture; // the picture's file
};

struct TPlanPage {
    double Width = 0, Height = 0; // as printed: a landscape page is the wider
    bool Landscape = false;
    int PaperCode = 9; // the printing system's paper code of the page
    std::vector<TPlanItem> Items;
};

struct TPrintPlan {
    std::string Title;
    int Copies = 1;
    std::vector<TPlanPage> Pages;
};

} // namespace tessaly
