#pragma once
// The contact sheet's own bitmap font: 5x7 glyphs for the digits, A-F and the space,
// which is every character an element's number and ID take in decimal or hex.

#include "Pixel.h"

#include <string_view>

namespace kestrund {

constexpr int GlyphWidth = 5;
constexpr int GlyphHeight = 7;
constexpr int GlyphAdvance = GlyphWidth + 1; // a blank column between characters

// The width of text at scale: no blank column after its last character, 0 when empty.
int SheetTextWidth(std::string_view text, int scale);

// Draws text with its top-left corner at x, y, every font pixel a scale x scale block of
// color; only the glyphs' pixels are set. A character without a glyph (lower-case hex
// digits too) is drawn as a space: an odd label leaves a gap rather than stop a sheet.
void DrawSheetText(TSurface& surface, int x, int y, std::string_view text, TColor color, int scale);

} // namespace kestrund
