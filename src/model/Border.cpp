#include "Border.h"

namespace kestrund {

namespace {
TColor MarkerColor(std::uint8_t edge)
{
    switch (edge) {
    case edgeSouthWest: return clRed;
    case edgeNorthWest: return clLime;
    case edgeNorthEast: return clBlue;
    default: return clFuchsia;
    }
}
} // namespace

TCBorder::TCBorder(std::uint8_t edge, std::uint8_t colorMode) : Edge(edge)
{
    Pixels.fill(ColorToPixel(MarkerColor(edge), colorMode));
}

void TCBorder::CopyOriented(const TCBorder& source)
{
    // Mask position (r, c) of the source goes to (r, c) of this edge.
    const auto& table = BorderMaskTable();
    const bool convert = source.ColorMode != ColorMode;
    for (int r = 0; r < BorderMaskRows; ++r)
        for (int c = 0; c < table[r].Count; ++c) {
            const std::uint16_t p = source.Pixels[MaskIndex(source.Edge, r, c)];
            Pixels[MaskIndex(Edge, r, c)] = convert ? ConvertPixel(p, source.ColorMode, ColorMode) : p;
        }
}

TTileBorder::TTileBorder(std::uint8_t colorMode)
    : Edges{TCBorder(0, colorMode), TCBorder(1, colorMode), TCBorder(2, colorMode), TCBorder(3, colorMode)}
{
    SetColorMode(colorMode);
}

TTileBorder::TTileBorder(std::uint8_t colorMode, TColor color) : TTileBorder(colorMode)
{
    for (auto& edge : Edges)
        edge.Pixels.fill(color == 0xFFFFFFFFu ? edge.Edge : ColorToPixel(color, colorMode));
}

void TTileBorder::Assign(const TTileBorder& source)
{
    Inside = source.Inside;
    Outside = source.Outside;
    for (int k = 0; k < 4; ++k)
        Edges[k].Pixels = source.Edges[k].Pixels;
    SetColorMode(source.ColorMode());
}

void TTileBorder::SetColorMode(std::uint8_t mode)
{
    for (auto& edge : Edges)
        edge.ColorMode = mode;
}

void TTileBorder::DrawEdges(int mask, int x, int y, TSurface& surface) const
{
    for (int k = 0; k < 4; ++k) {
        if (!(mask & (1 << k)))
            continue;
        const auto& points = BorderMask(k);
        const TCBorder& edge = Edges[k];
        for (int i = 0; i < BorderPixelCount; ++i)
            surface.SetPixel(x + points[i].X, y + points[i].Y, PixelToColor(edge.Pixels[i], edge.ColorMode));
    }
}

// Mode-0 words are copied whole, as tiles do, so that bit 15 survives a picture's
// round trip through a Targa file.
static std::uint16_t ToBufferWord(std::uint16_t p, std::uint8_t mode)
{
    return mode == cmRGB565 ? ConvertPixel(p, cmRGB565, cmRGB555) : p;
}

void TTileBorder::DrawEdgesToBuffer(int mask, int x, int y, TPictureBuffer& buffer) const
{
    for (int k = 0; k < 4; ++k) {
        if (!(mask & (1 << k)))
            continue;
        const auto& points = BorderMask(k);
        const TCBorder& edge = Edges[k];
        for (int i = 0; i < BorderPixelCount; ++i)
            buffer.Set(x + points[i].X, y + points[i].Y, ToBufferWord(edge.Pixels[i], edge.ColorMode));
    }
}

} // namespace kestrund
