#pragma once
// Targa pictures built byte by byte from the published file layout.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace kestrund::testing {

// 16-bit words as stored, little-endian, the whole list repeat times.
inline std::vector<std::uint8_t> Words(std::initializer_list<std::uint16_t> words, std::size_t repeat = 1)
{
    std::vector<std::uint8_t> b;
    for (std::size_t i = 0; i < repeat; ++i)
        for (std::uint16_t w : words)
            b.insert(b.end(), {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8)});
    return b;
}

// An uncompressed Targa file as its fields; Bytes() lays them out.
struct TTgaFile {
    std::uint8_t ColorMapType = 0, ImageType = 2;
    std::uint16_t ColorMapLength = 0;
    std::uint8_t ColorMapEntryBits = 0;
    std::uint16_t Width = 0, Height = 0;
    std::uint8_t PixelBits = 16, Descriptor = 0;
    std::vector<std::uint8_t> ID{}, ColorMap{}, Pixels{}, Trailer{}; // pixels: stored rows, bottom row first

    std::vector<std::uint8_t> Bytes() const
    {
        auto lo = [](unsigned v) { return static_cast<std::uint8_t>(v); };
        std::vector<std::uint8_t> b{lo(ID.size()), ColorMapType, ImageType, 0, 0, // no map start
                                    lo(ColorMapLength), lo(ColorMapLength >> 8), ColorMapEntryBits, 0, 0, 0, 0,
                                    lo(Width), lo(Width >> 8), lo(Height), lo(Height >> 8), PixelBits, Descriptor};
        for (const auto* part : {&ID, &ColorMap, &Pixels, &Trailer})
            b.insert(b.end(), part->begin(), part->end());
        return b;
    }
};

} // namespace kestrund::testing
