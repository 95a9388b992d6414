#pragma once
// Targa pictures built byte by byte from the published file layout.

#include <cstdint>
#include <vector>

namespace kestrund::testing {

// An uncompressed Targa file as its fields; Bytes() lays them out.
struct TTgaFile {
    std::uint8_t ColorMapType = 0;
    std::uint8_t ImageType = 2;
    std::uint16_t ColorMapStart = 0;
    std::uint16_t ColorMapLength = 0;
    std::uint8_t ColorMapEntryBits = 0;
    std::uint16_t Width = 0;
    std::uint16_t Height = 0;
    std::uint8_t PixelBits = 16;
    std::uint8_t Descriptor = 0;
    std::vector<std::uint8_t> ID;       // its length goes into the header
    std::vector<std::uint8_t> ColorMap; // stored as given
    std::vector<std::uint8_t> Pixels;   // stored rows, bottom row first
    std::vector<std::uint8_t> Trailer;  // anything after the pixels

    std::vector<std::uint8_t> Bytes() const
    {
        std::vector<std::uint8_t> b;
        auto u16 = [&](std::uint16_t v) {
            b.push_back(static_cast<std::uint8_t>(v));
            b.push_back(static_cast<std::uint8_t>(v >> 8));
        };
        b.push_back(static_cast<std::uint8_t>(ID.size()));
        b.push_back(ColorMapType);
        b.push_back(ImageType);
        u16(ColorMapStart);
        u16(ColorMapLength);
        b.push_back(ColorMapEntryBits);
        u16(0);
        u16(0);
        u16(Width);
        u16(Height);
        b.push_back(PixelBits);
        b.push_back(Descriptor);
        b.insert(b.end(), ID.begin(), ID.end());
        b.insert(b.end(), ColorMap.begin(), ColorMap.end());
        b.insert(b.end(), Pixels.begin(), Pixels.end());
        b.insert(b.end(), Trailer.begin(), Trailer.end());
        return b;
    }

    // Appends 16-bit words, little-endian.
    TTgaFile& Words(std::initializer_list<std::uint16_t> words)
    {
        for (std::uint16_t w : words) {
            Pixels.push_back(static_cast<std::uint8_t>(w));
            Pixels.push_back(static_cast<std::uint8_t>(w >> 8));
        }
        return *this;
    }
    TTgaFile& Word(std::uint16_t w, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            Words({w});
        return *this;
    }
};

// A 94 x 72 16-bit picture, every pixel the same word.
inline TTgaFile UniformTilePicture(std::uint16_t word)
{
    TTgaFile f;
    f.Width = 94;
    f.Height = 72;
    f.Word(word, 94 * 72);
    return f;
}

} // namespace kestrund::testing
