#include "Line.h"

#include "TileFileIO.h"

#include <algorithm>
#include <array>

namespace kestrund {

void TLine::Assign(const TLine& source)
{
    ColorMode = source.ColorMode;
    Width = source.Width;
    Words = source.Words;
}

void TLine::Encode(std::span<const std::uint16_t> pixels, std::uint16_t transparent, std::uint16_t shadow)
{
    enum Kind { kTransparent, kShadow, kLiteral };
    auto classify = [&](std::uint16_t p) {
        if (p == transparent)
            return kTransparent;
        if (p == shadow)
            return kShadow;
        return kLiteral;
    };
    static constexpr std::uint8_t midOp[] = {opTransparent, opShadow, opLiteral};
    static constexpr std::uint8_t endOp[] = {opTransparentEnd, opShadowEnd, opLiteralEnd};

    Width = static_cast<std::uint16_t>(pixels.size());
    if (pixels.empty()) {
        Words.assign(1, static_cast<std::uint16_t>(opTransparentEnd << 8));
        return;
    }

    // At most a header and a literal word per pixel: written aside, then copied into
    // words of the exact size. Rows as wide as a tile need no allocation for this.
    std::array<std::uint16_t, 512> small;
    std::vector<std::uint16_t> large;
    const std::size_t bound = 2 * pixels.size();
    std::uint16_t* const out = bound <= small.size() ? small.data() : (large.resize(bound), large.data());
    std::size_t count = 0;

    // Emits one run of the same class; pieces of 255 pixels come first when it is longer.
    auto emit = [&](Kind kind, std::size_t start, std::size_t length, bool last) {
        while (length > 0) {
            const std::size_t n = length > 255 ? 255 : length;
            const bool final = last && n == length;
            out[count++] = static_cast<std::uint16_t>((final ? endOp[kind] : midOp[kind]) << 8 | n);
            if (kind == kLiteral) {
                std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(start), n, out + count);
                count += n;
            }
            start += n;
            length -= n;
        }
    };

    // Each run is measured by a loop of its own class.
    const std::size_t n = pixels.size();
    for (std::size_t i = 0; i < n;) {
        const Kind kind = classify(pixels[i]);
        std::size_t end = i + 1;
        switch (kind) {
        case kTransparent:
            while (end < n && pixels[end] == transparent)
                ++end;
            break;
        case kShadow:
            while (end < n && pixels[end] == shadow)
                ++end;
            break;
        case kLiteral:
            while (end < n && pixels[end] != transparent && pixels[end] != shadow)
                ++end;
            break;
        }
        emit(kind, i, end - i, end == n);
        i = end;
    }
    Words = std::vector<std::uint16_t>(out, out + count);
}

void TLine::ComputeWidth()
{
    unsigned width = 0;
    std::size_t i = 0;
    while (i < Words.size()) {
        const std::uint8_t op = static_cast<std::uint8_t>(Words[i] >> 8);
        const unsigned n = Words[i] & 0xFF;
        ++i;
        switch (op) {
        case opTransparent:
        case opSolidShadow:
        case opShadow:
            width += n;
            break;
        case opLiteral:
            width += n;
            i += n;
            break;
        case opLiteralEnd:
        case opShadowEnd:
        case opTransparentEnd:
        case opSolidShadowEnd:
            Width = static_cast<std::uint16_t>(width + n);
            return;
        default:
            break;
        }
    }
    Width = static_cast<std::uint16_t>(width);
}

bool TLine::IsBlank() const
{
    for (std::uint16_t word : Words) {
        const std::uint8_t op = static_cast<std::uint8_t>(word >> 8);
        if (op == opTransparentEnd)
            return true;
        if (op != opTransparent)
            return false;
    }
    return false;
}

void TLine::LoadFromStream(TByteReader& reader, std::size_t wordCount)
{
    std::vector<std::uint16_t> words(wordCount);
    reader.Words(words.data(), wordCount);
    Words = std::move(words);
    ComputeWidth();
}

void TLine::SaveToStream(TByteWriter& writer, int mode) const
{
    const int from = ColorMode == cmRGB565 ? cmRGB565 : cmRGB555;
    const int to = mode == cmRGB565 ? cmRGB565 : cmRGB555;
    if (from == to) {
        WritePixelWords(writer, Words.data(), Words.size(), to, to);
        return;
    }
    // Headers unchanged, literal pixels converted, written in one go. Words after the
    // end run are no pixels and stay as they are.
    std::vector<std::uint16_t> words(Words);
    std::size_t i = 0;
    while (i < words.size()) {
        const std::uint8_t op = static_cast<std::uint8_t>(words[i++] >> 8);
        if (IsLiteralOp(op)) {
            const std::size_t n = std::min<std::size_t>(words[i - 1] & 0xFFu, words.size() - i);
            ConvertPixelWords(words.data() + i, n, from, to);
            i += n;
        }
        if (IsEndOp(op))
            break;
    }
    WritePixelWords(writer, words.data(), words.size(), to, to);
}

void TLine::Draw(TSurface& surface, int x, int y, TColor shadowColor) const
{
    std::size_t i = 0;
    while (i < Words.size()) {
        const std::uint8_t op = static_cast<std::uint8_t>(Words[i] >> 8);
        const int n = Words[i] & 0xFF;
        ++i;
        switch (op) {
        case opTransparent:
            x += n;
            break;
        case opSolidShadow:
        case opSolidShadowEnd:
            for (int k = 0; k < n; ++k)
                surface.SetPixel(x++, y, shadowColor);
            if (op == opSolidShadowEnd)
                return;
            break;
        case opLiteral:
        case opLiteralEnd:
            for (int k = 0; k < n && i < Words.size(); ++k)
                surface.SetPixel(x++, y, PixelToColor(Words[i++], ColorMode));
            if (op == opLiteralEnd)
                return;
            break;
        case opShadow:
        case opShadowEnd:
            for (int k = 0; k < n; ++k, ++x)
                if (surface.Inside(x, y))
                    surface.SetPixel(x, y, MultiplyColor(surface.Pixel(x, y), shadowColor));
            if (op == opShadowEnd)
                return;
            break;
        case opTransparentEnd:
            return;
        default:
            break;
        }
    }
}

void TLine::DrawToBuffer(TPictureBuffer& buffer, int x, int y, bool shadowBlend, TColor shadowColor) const
{
    const std::uint16_t c5 = ColorToPixel(shadowColor, cmRGB555);
    std::size_t i = 0;
    while (i < Words.size()) {
        const std::uint8_t op = static_cast<std::uint8_t>(Words[i] >> 8);
        const int n = Words[i] & 0xFF;
        ++i;
        switch (op) {
        case opTransparent:
        case opSolidShadow:
            x += n;
            break;
        case opLiteral:
        case opLiteralEnd:
            for (int k = 0; k < n && i < Words.size(); ++k, ++x) {
                const std::uint16_t p = Words[i++];
                buffer.Set(x, y, ColorMode == cmRGB565 ? ConvertPixel(p, cmRGB565, cmRGB555) : p);
            }
            if (op == opLiteralEnd)
                return;
            break;
        case opShadow:
        case opShadowEnd:
            for (int k = 0; k < n; ++k, ++x)
                if (buffer.Contains(x, y))
                    buffer(x, y) = shadowBlend ? MultiplyPixel(buffer(x, y), c5) : c5;
            if (op == opShadowEnd)
                return;
            break;
        case opTransparentEnd:
        case opSolidShadowEnd:
            return;
        default:
            break;
        }
    }
}

} // namespace kestrund
