#include "Pixel.h"

#include <algorithm>
#include <cstring>

namespace kestrund {

namespace {
struct Rgb5 {
    unsigned r, g, b;
};

Rgb5 Split(std::uint16_t p, int mode)
{
    if (mode == cmRGB565)
        return {(p >> 11) & 31u, (p >> 6) & 31u, p & 31u};
    return {(p >> 10) & 31u, (p >> 5) & 31u, p & 31u};
}

std::uint16_t Join(Rgb5 c, int mode)
{
    if (mode == cmRGB565)
        return static_cast<std::uint16_t>(c.r << 11 | c.g << 6 | c.b);
    return static_cast<std::uint16_t>(c.r << 10 | c.g << 5 | c.b);
}
} // namespace

TColor PixelToColor(std::uint16_t p, int mode)
{
    const Rgb5 c = Split(p, mode);
    return (c.r << 3) + ((c.g << 3) << 8) + ((c.b << 3) << 16);
}

std::uint16_t ColorToPixel(TColor c, int mode)
{
    return Join({(c & 255u) >> 3, ((c >> 8) & 255u) >> 3, ((c >> 16) & 255u) >> 3}, mode);
}

std::uint16_t ConvertPixel(std::uint16_t p, int fromMode, int toMode)
{
    return Join(Split(p, fromMode), toMode);
}

std::uint16_t Rgb24ToPixel(std::uint32_t v)
{
    return static_cast<std::uint16_t>(((v >> 16) & 0xF8u) << 7 | ((v >> 8) & 0xF8u) << 2 | (v & 0xFFu) >> 3);
}

std::uint16_t Bgra32ToPixel(std::uint32_t v)
{
    const unsigned b = v & 0xFF, g = (v >> 8) & 0xFF, r = (v >> 16) & 0xFF;
    return static_cast<std::uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
}

TColor MultiplyColor(TColor c1, TColor c2)
{
    TColor result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned a = (c1 >> shift) & 255u, b = (c2 >> shift) & 255u;
        result |= ((a * b) >> 8) << shift;
    }
    return result;
}

std::uint16_t MultiplyPixel(std::uint16_t p1, std::uint16_t p2)
{
    unsigned result = 0;
    for (int shift = 0; shift < 15; shift += 5) {
        const unsigned a = (p1 >> shift) & 31u, b = (p2 >> shift) & 31u;
        result |= ((a * b) >> 5) << shift;
    }
    return static_cast<std::uint16_t>(result);
}

TPictureBuffer::TPictureBuffer(int width, int height, std::uint16_t fill)
    : FWidth(std::max(width, 0)), FHeight(std::max(height, 0)),
      FWords(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight))
{
    // Zeroing is a block clear; other fills go word by word.
    if (fill != 0)
        Fill(fill);
}

void TPictureBuffer::Fill(std::uint16_t p)
{
    // Four words per store: pictures are filled with the background before every export.
    const std::uint64_t four = p * 0x0001000100010001ull;
    const std::size_t n = FWords.size();
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4)
        std::memcpy(&FWords[i], &four, sizeof four);
    for (; i < n; ++i)
        FWords[i] = p;
}

TPictureBuffer MakeBuffer(int width, int height, TColor color)
{
    return TPictureBuffer(width, height, ColorToPixel(color, cmRGB555));
}

TRgbSurface::TRgbSurface(int width, int height, TColor fill)
    : FWidth(std::max(width, 0)), FHeight(std::max(height, 0)),
      FPixels(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), fill)
{
}

void TRgbSurface::Fill(TColor c)
{
    std::fill(FPixels.begin(), FPixels.end(), c);
}

} // namespace kestrund
