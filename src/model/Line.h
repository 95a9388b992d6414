#pragma once
// One run-length coded row of an overlay picture.

#include "ByteStream.h"
#include "Pixel.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kestrund {

// Run operations (high byte of a run header).
enum : std::uint8_t {
    opTransparent = 0x0A,
    opSolidShadow = 0x0B,
    opLiteral = 0x0C,
    opShadow = 0x0D,
    opLiteralEnd = 0xEC,
    opShadowEnd = 0xED,
    opTransparentEnd = 0xFA,
    opSolidShadowEnd = 0xFB,
};

constexpr std::uint16_t DefaultLineWord = 0xFA5E; // 94 transparent pixels, end of line

inline bool IsLiteralOp(std::uint8_t op) { return op == opLiteral || op == opLiteralEnd; }
inline bool IsEndOp(std::uint8_t op)
{
    return op == opLiteralEnd || op == opShadowEnd || op == opTransparentEnd || op == opSolidShadowEnd;
}

class TLine {
public:
    TLine() = default;
    explicit TLine(std::uint8_t colorMode) : ColorMode(colorMode) {}
    // A line of stored words (as read from a file); Width is computed from them.
    TLine(std::uint8_t colorMode, std::vector<std::uint16_t> words) : ColorMode(colorMode), Words(std::move(words))
    {
        ComputeWidth();
    }
    // Words whose width is already known (measured while checking them).
    TLine(std::uint8_t colorMode, std::vector<std::uint16_t> words, std::uint16_t width)
        : ColorMode(colorMode), Width(width), Words(std::move(words))
    {
    }
    // A line encoding a row of pixels, as Encode does.
    TLine(std::uint8_t colorMode, std::span<const std::uint16_t> pixels, std::uint16_t transparent,
          std::uint16_t shadow)
        : ColorMode(colorMode), Words()
    {
        Encode(pixels, transparent, shadow);
    }

    std::uint8_t ColorMode = cmRGB555;
    std::uint16_t Width = 94;
    std::vector<std::uint16_t> Words{DefaultLineWord};

    void Assign(const TLine& source);
    std::size_t WordCount() const { return Words.size(); }

    // Encodes a row of pixels (already in the line's mode); T and S are the transparent
    // and shadow words. Runs longer than 255 pixels are split into several runs.
    void Encode(std::span<const std::uint16_t> pixels, std::uint16_t transparent, std::uint16_t shadow);

    // Width from the words: run lengths up to and including the first end run.
    void ComputeWidth();

    // A row with nothing drawn: transparent runs only, up to the end run. Rows wider
    // than 255 pixels need several such runs, so the first run alone does not tell.
    bool IsBlank() const;

    // Reads wordCount words as stored, then computes Width.
    void LoadFromStream(TByteReader& reader, std::size_t wordCount);
    // Writes the words, literal pixels converted to mode when it differs from the line's.
    void SaveToStream(TByteWriter& writer, int mode) const;

    void Draw(TSurface& surface, int x, int y, TColor shadowColor) const;
    void DrawToBuffer(TPictureBuffer& buffer, int x, int y, bool shadowBlend, TColor shadowColor) const;

    bool operator==(const TLine& other) const = default;
};

} // namespace kestrund
