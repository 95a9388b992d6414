#pragma once
// A terrain tile: the ground diamond plus an optional overlay drawn over and above it.

#include "ByteStream.h"
#include "Overlay.h"
#include "Pixel.h"
#include "TileGeometry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace kestrund {

class TTile {
public:
    TTile() = default;
    TTile(TColor color, std::uint8_t colorMode);
    TTile(const TTile&) = delete;
    TTile& operator=(const TTile&) = delete;

    std::uint8_t ColorMode = cmRGB555;
    std::uint16_t TileID = 0;
    std::uint8_t TileIndex = 0;
    std::uint8_t BorderEdges = 0;
    std::uint16_t ImageSize = GroundImageSize;
    std::array<std::uint16_t, GroundPixelCount> Pixels{};
    std::unique_ptr<TTileOverlay> Overlay;

    // Copies everything but ImageSize; the overlay is copied or removed like the source's.
    void Assign(const TTile& source);
    void SetColorMode(std::uint8_t mode);
    std::size_t OverlayWords() const { return Overlay ? Overlay->BlockWords() : 0; }

    void Draw(int x, int y, TSurface& surface, TColor shadowColor = clDefaultShadow) const;
    // Overlay shadow runs are painted solid in shadowColor whatever shadowBlend says.
    void DrawToBuffer(int x, int y, bool shadowBlend, TColor shadowColor, TPictureBuffer& buffer) const;

    void LoadFromStream(TByteReader& reader);
    void SaveToStream(TByteWriter& writer, int mode) const;

    void ImportTGA(const std::string& fileName, TColor transparent, TColor shadow, int borderMask);
    // The tile from a mode-0 picture of the tile's size: the diamond becomes the ground, the
    // rest the overlay; the edges in borderMask are marked in the ground first.
    void FromPicture(TPictureBuffer picture, TColor transparent, TColor shadow, int borderMask);
    void ExportTGA(const std::string& fileName, TColor background, TColor shadow) const;

    bool SameAs(const TTile& other) const;
};

} // namespace kestrund
