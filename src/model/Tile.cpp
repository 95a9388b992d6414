#include "Tile.h"

namespace kestrund {

TTile::TTile(TColor color, std::uint8_t colorMode) : ColorMode(colorMode)
{
    Pixels.fill(ColorToPixel(color, colorMode));
}

void TTile::Assign(const TTile& source)
{
    if (&source == this)
        return;
    TileID = source.TileID;
    TileIndex = source.TileIndex;
    BorderEdges = source.BorderEdges;
    Pixels = source.Pixels;
    Overlay.reset();
    if (source.Overlay) {
        Overlay = std::make_unique<TTileOverlay>(source.ColorMode);
        Overlay->Assign(*source.Overlay);
    }
    SetColorMode(source.ColorMode);
}

void TTile::SetColorMode(std::uint8_t mode)
{
    ColorMode = mode;
    if (Overlay)
        Overlay->SetColorMode(mode);
}

void TTile::Draw(int x, int y, TSurface& surface, TColor shadowColor) const
{
    for (int row = 0; row < TileHeight; ++row) {
        const TDiamondRow d = DiamondRow(row);
        for (int i = 0; i < d.Count; ++i)
            surface.SetPixel(x + d.Left + i, y + row, PixelToColor(Pixels[d.Start + i], ColorMode));
        if (Overlay && !Overlay->Empty() && row <= Overlay->LastLine)
            if (const TLine* line = Overlay->Line(static_cast<std::size_t>(row)))
                line->Draw(surface, x, y + row, shadowColor);
    }
}

void TTile::DrawToBuffer(int x, int y, bool /*shadowBlend*/, TColor shadowColor, TPictureBuffer& buffer) const
{
    for (int row = 0; row < TileHeight; ++row) {
        const TDiamondRow d = DiamondRow(row);
        for (int i = 0; i < d.Count; ++i) {
            const std::uint16_t p = Pixels[d.Start + i];
            buffer.Set(x + d.Left + i, y + row, ColorMode == cmRGB565 ? ConvertPixel(p, cmRGB565, cmRGB555) : p);
        }
        if (Overlay && !Overlay->Empty() && row <= Overlay->LastLine)
            if (const TLine* line = Overlay->Line(static_cast<std::size_t>(row)))
                line->DrawToBuffer(buffer, x, y + row, false, shadowColor);
    }
}

bool TTile::SameAs(const TTile& other) const
{
    if (ColorMode != other.ColorMode || TileID != other.TileID || TileIndex != other.TileIndex ||
        BorderEdges != other.BorderEdges || ImageSize != other.ImageSize || Pixels != other.Pixels)
        return false;
    if (!Overlay || !other.Overlay)
        return !Overlay && !other.Overlay;
    return Overlay->SamePicture(*other.Overlay);
}

} // namespace kestrund
