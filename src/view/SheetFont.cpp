#include "SheetFont.h"

#include <array>
#include <cstdint>

namespace kestrund {

namespace {

// Seven rows from the top; bit 4 of a row is its leftmost pixel.
using TGlyph = std::array<std::uint8_t, GlyphHeight>;

constexpr std::array<TGlyph, 16> Glyphs{{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}, // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}, // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}, // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}, // 9
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, // A
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}, // B
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, // C
    {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}, // D
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, // E
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}, // F
}};

// The glyph of c, or nullptr for the space and every character without one.
const TGlyph* GlyphOf(char c)
{
    if (c >= '0' && c <= '9')
        return &Glyphs[static_cast<std::size_t>(c - '0')];
    if (c >= 'A' && c <= 'F')
        return &Glyphs[static_cast<std::size_t>(c - 'A' + 10)];
    return nullptr;
}

} // namespace

int SheetTextWidth(std::string_view text, int scale)
{
    if (text.empty())
        return 0;
    return (static_cast<int>(text.size()) * GlyphAdvance - 1) * scale;
}

void DrawSheetText(TSurface& surface, int x, int y, std::string_view text, TColor color, int scale)
{
    for (std::size_t k = 0; k < text.size(); ++k) {
        const TGlyph* glyph = GlyphOf(text[k]);
        if (!glyph)
            continue;
        const int left = x + static_cast<int>(k) * GlyphAdvance * scale;
        for (int row = 0; row < GlyphHeight; ++row)
            for (int column = 0; column < GlyphWidth; ++column) {
                if (!((*glyph)[static_cast<std::size_t>(row)] & (0x10 >> column)))
                    continue;
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx)
                        surface.SetPixel(left + column * scale + dx, y + row * scale + dy, color);
            }
    }
}

} // namespace kestrund
