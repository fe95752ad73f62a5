#pragma once
// The choices of the property editors' "Border Settings" and "Background Settings":
// the pen and brush styles in their file numbering and the 16 basic colours, plus the
// editors' window titles. Colours are the files' colour values (red in the low byte).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

// "Solid", "Dashes", "Dots", "Dash-Dot", "Dash-Dot-Dot" for the pen styles 0 to 4.
const std::vector<std::string>& PenStyleCaptions();
// "Solid", "Clear", "Diagonal Up", "Diagonal Down", "Cross", "Diagonal Cross",
// "Horizontal", "Vertical" for the brush styles 0 to 7.
const std::vector<std::string>& BrushStyleCaptions();

struct TBasicColour {
    const char* Name;
    std::uint32_t Value;
};
// Black, Maroon, Green, Olive, Navy, Purple, Teal, Gray, Silver, Red, Lime, Yellow,
// Blue, Fuchsia, Aqua, White.
const std::array<TBasicColour, 16>& BasicColours();
// The position of a colour among the basic ones, -1 for any other (a colour of the
// user's own or a system colour code, which the editors keep as it is).
int BasicColourIndex(std::uint32_t colour);

// The widest border the editors offer, in pixels.
constexpr int kMaxPenWidth = 99;

// What a box's kind calls its editor: "Line", "Rectangle", "Date / Time", "Graphic
// Image", "Static Text", "Data Object", "Return Address".
std::string BoxEditorName(int kind);
// "%s Property Editor" with that name.
std::string BoxEditorTitle(int kind);

} // namespace tessaly
