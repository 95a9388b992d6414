#pragma once
// Tile borders: four edges of 352 pixels each, placed by the border mask.

#include "ByteStream.h"
#include "Pixel.h"
#include "TileGeometry.h"

#include <array>
#include <cstdint>
#include <string>

namespace kestrund {

enum : std::uint8_t { edgeSouthWest = 0, edgeNorthWest = 1, edgeNorthEast = 2, edgeSouthEast = 3 };

class TCBorder {
public:
    // Filled with the edge's marker colour (red, green, blue, magenta) in the given mode.
    TCBorder(std::uint8_t edge, std::uint8_t colorMode);

    std::uint8_t ColorMode = cmRGB555;
    std::uint8_t Edge = 0;
    std::array<std::uint16_t, BorderPixelCount> Pixels{};

    // Takes the source edge's pixels position by position into this edge's orientation.
    void CopyOriented(const TCBorder& source);
    // Takes the picture words at this edge's mask positions (converted for a mode-1 edge).
    void FromPicture(const TPictureBuffer& picture);

    bool operator==(const TCBorder&) const = default;
};

class TTileBorder {
public:
    TTileBorder() : TTileBorder(cmRGB555) {}
    explicit TTileBorder(std::uint8_t colorMode);
    // Every pixel the colour; 0xFFFFFFFF makes every pixel of edge k the raw value k.
    TTileBorder(std::uint8_t colorMode, TColor color);

    std::uint16_t Inside = 0;
    std::uint16_t Outside = 0;
    std::array<TCBorder, 4> Edges;

    void Assign(const TTileBorder& source);
    std::uint8_t ColorMode() const { return Edges[0].ColorMode; }
    void SetColorMode(std::uint8_t mode);

    void Draw(int x, int y, TSurface& surface) const { DrawEdges(15, x, y, surface); }
    void DrawEdges(int mask, int x, int y, TSurface& surface) const;
    void DrawEdgesToBuffer(int mask, int x, int y, TPictureBuffer& buffer) const;

    void LoadFromStream(TByteReader& reader);
    void SaveToStream(TByteWriter& writer, int mode) const;

    void ImportTGA(const std::string& fileName) { ImportTGA(fileName, 0); }
    void ImportTGA(const std::string& fileName, int which);
    void ExportTGA(const std::string& fileName, int mask, TColor background) const;

    bool operator==(const TTileBorder& other) const
    {
        return Inside == other.Inside && Outside == other.Outside && Edges == other.Edges;
    }
};

} // namespace kestrund
