// Element pictures in and out of Targa files. Every import builds the new pixels aside
// and changes the element only when nothing can fail any more.

#include "Border.h"
#include "Errors.h"
#include "MiscFunc.h"
#include "Overlay.h"
#include "Targa.h"
#include "Tile.h"

#include <new>

namespace kestrund {

namespace {

// A tile or border picture, read and checked for the tile size.
TPictureBuffer ReadTilePicture(const std::string& fileName)
{
    TPictureBuffer picture;
    if (const int code = ReadTGA(fileName, picture); code != tgaOK)
        RaiseTGAError(code, fileName);
    if (picture.Width() != TileWidth || picture.Height() != TileHeight)
        throw EInvalidImageSize(Format("Image must be of size %dx%d", TileWidth, TileHeight),
                                static_cast<std::uint32_t>(picture.Width()),
                                static_cast<std::uint32_t>(picture.Height()));
    return picture;
}

// Moves the rows of a freshly built overlay into target, leaving its other fields alone.
void TakeLines(TTileOverlay& target, TTileOverlay& source)
{
    target.Lines = std::move(source.Lines);
    target.FirstLine = source.FirstLine;
    target.LastLine = source.LastLine;
    target.SetColorMode(source.ColorMode);
}

} // namespace

// ---- tiles ----

void TTile::ImportTGA(const std::string& fileName, TColor transparent, TColor shadow, int borderMask)
{
    FromPicture(ReadTilePicture(fileName), transparent, shadow, borderMask);
}

void TTile::FromPicture(TPictureBuffer picture, TColor transparent, TColor shadow, int borderMask)
{
    // Marker border: each selected edge leaves its number as raw value in the ground.
    if (borderMask != 0)
        TTileBorder(ColorMode, 0xFFFFFFFFu).DrawEdgesToBuffer(borderMask, 0, 0, picture);

    const std::uint16_t t5 = ColorToPixel(transparent, cmRGB555);
    std::array<std::uint16_t, GroundPixelCount> ground{};
    for (int y = GroundTop; y < TileHeight; ++y) {
        const TDiamondRow d = DiamondRow(y);
        std::uint16_t* word = picture.Column(d.Left) + y; // along the row: one column further each step
        for (int i = 0; i < d.Count; ++i, word += TileHeight) {
            ground[static_cast<std::size_t>(d.Start + i)] = *word;
            *word = t5;
        }
    }
    if (ColorMode == cmRGB565)
        for (std::uint16_t& p : ground)
            p = ConvertPixel(p, cmRGB555, cmRGB565);

    TTileOverlay rebuilt(ColorMode);
    rebuilt.FromBuffer(picture, transparent, shadow);

    Pixels = ground;
    if (rebuilt.Empty()) {
        Overlay.reset();
        return;
    }
    if (!Overlay)
        Overlay = std::make_unique<TTileOverlay>(ColorMode);
    TakeLines(*Overlay, rebuilt);
}

void TTile::ExportTGA(const std::string& fileName, TColor background, TColor shadow) const
{
    TPictureBuffer picture = MakeBuffer(TileWidth, TileHeight, background);
    DrawToBuffer(0, 0, false, shadow, picture);
    WriteTGA(picture, fileName);
}

// ---- borders ----

void TCBorder::FromPicture(const TPictureBuffer& picture)
{
    const auto& points = BorderMask(Edge);
    for (int i = 0; i < BorderPixelCount; ++i) {
        const std::uint16_t p = picture.Get(points[i].X, points[i].Y);
        Pixels[i] = ColorMode == cmRGB565 ? ConvertPixel(p, cmRGB555, cmRGB565) : p;
    }
}

void TTileBorder::ImportTGA(const std::string& fileName, int which)
{
    const TPictureBuffer picture = ReadTilePicture(fileName);

    std::array<TCBorder, 4> edges = Edges;
    switch (which) {
    case 0:
        for (auto& edge : edges)
            edge.FromPicture(picture);
        break;
    case 1:
        edges[0].FromPicture(picture);
        edges[1].CopyOriented(edges[0]);
        edges[2].CopyOriented(edges[0]);
        edges[3].CopyOriented(edges[1]);
        break;
    case 2:
        edges[1].FromPicture(picture);
        edges[0].CopyOriented(edges[1]);
        edges[2].CopyOriented(edges[0]);
        edges[3].CopyOriented(edges[1]);
        break;
    case 3:
        edges[2].FromPicture(picture);
        edges[0].CopyOriented(edges[2]);
        edges[1].CopyOriented(edges[2]);
        edges[3].CopyOriented(edges[1]);
        break;
    case 4:
        edges[3].FromPicture(picture);
        edges[0].CopyOriented(edges[3]);
        edges[1].CopyOriented(edges[3]);
        edges[2].CopyOriented(edges[0]);
        break;
    default:
        throw EInvalidArgument(Format("%d not in the range 0-4", which));
    }
    Edges = edges;
}

void TTileBorder::ExportTGA(const std::string& fileName, int mask, TColor background) const
{
    TPictureBuffer picture = MakeBuffer(TileWidth, TileHeight, background);
    DrawEdgesToBuffer(mask, 0, 0, picture);
    WriteTGA(picture, fileName);
}

// ---- overlays (rivers and improvements) ----

void TTileOverlay::ImportTGA(const std::string& fileName, TColor transparent, TColor shadow)
{
    TPictureBuffer picture;
    TTGAHeader header;
    const int code = ReadTGA(fileName, picture, &header);
    if (code == tgaReadError)
        throw EInvalidImageFormat(Format("Error converting \"%s\"", fileName.c_str()), tgaReadError);
    if (code != tgaOK)
        RaiseTGAError(code, fileName);

    TTileOverlay rebuilt(ColorMode);
    try {
        // A picture without pixels has no rows to draw: the 1 x 1 stand-in is not used.
        if (header.Width != 0 && header.Height != 0)
            rebuilt.FromBuffer(picture, transparent, shadow);
    } catch (const std::bad_alloc&) {
        throw EInvalidImageFormat(Format("Error converting \"%s\"", fileName.c_str()), tgaReadError);
    }
    TakeLines(*this, rebuilt);
}

void TTileOverlay::ExportTGA(const std::string& fileName, TColor background, TColor shadow) const
{
    if (Empty())
        return;
    const int width = MaxWidth();
    const int height = LastLine + 1;
    // Checked before the buffer is made: a damaged overlay may claim huge rows.
    if (width > MaxTGASide || height > MaxTGASide)
        throw EInvalidArgument(Format("A picture of %dx%d pixels is too large for a TGA file", width, height));
    TPictureBuffer picture = MakeBuffer(width, height, background);
    DrawToBuffer(0, 0, false, shadow, picture);
    WriteTGA(picture, fileName);
}

} // namespace kestrund
