#pragma once
// The two 16-bit pixel layouts, conversions to and from display colours (0x00BBGGRR),
// and the mode-0 picture buffer used to compose and read pictures.

#include "Colors.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrund {

enum : std::uint8_t {
    cmRGB555 = 0, // "Normal colors"
    cmRGB565 = 1, // "InGame version"
};

// Any mode other than 1 is mode 0.
TColor PixelToColor(std::uint16_t p, int mode);
std::uint16_t ColorToPixel(TColor c, int mode);
std::uint16_t ConvertPixel(std::uint16_t p, int fromMode, int toMode);
std::uint16_t Rgb24ToPixel(std::uint32_t v);    // v = R*65536 + G*256 + B
std::uint16_t Bgra32ToPixel(std::uint32_t v);   // bytes B, G, R, A in memory order (little-endian word)
TColor MultiplyColor(TColor c1, TColor c2);
std::uint16_t MultiplyPixel(std::uint16_t p1, std::uint16_t p2);

// Mode-0 picture, addressed [x][y]. Writes and reads outside it are ignored / read as 0.
class TPictureBuffer {
public:
    TPictureBuffer() = default;
    TPictureBuffer(int width, int height, std::uint16_t fill = 0);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }

    std::uint16_t& operator()(int x, int y) { return FWords[Index(x, y)]; }
    std::uint16_t operator()(int x, int y) const { return FWords[Index(x, y)]; }

    std::uint16_t Get(int x, int y) const { return Contains(x, y) ? FWords[Index(x, y)] : 0; }
    void Set(int x, int y, std::uint16_t p)
    {
        if (Contains(x, y))
            FWords[Index(x, y)] = p;
    }
    void Fill(std::uint16_t p);

    // Column x as stored: Height() words from the top; x must lie inside.
    const std::uint16_t* Column(int x) const { return FWords.data() + Index(x, 0); }
    std::uint16_t* Column(int x) { return FWords.data() + Index(x, 0); }

    bool operator==(const TPictureBuffer&) const = default;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(x) * static_cast<std::size_t>(FHeight) + static_cast<std::size_t>(y); }
    int FWidth = 0;
    int FHeight = 0;
    std::vector<std::uint16_t> FWords; // column after column
};

TPictureBuffer MakeBuffer(int width, int height, TColor color);

// A pixel-addressable drawing surface in display colours. Accesses outside are clipped.
class TSurface {
public:
    virtual ~TSurface() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    TColor Pixel(int x, int y) const { return Inside(x, y) ? DoGetPixel(x, y) : 0; }
    void SetPixel(int x, int y, TColor c)
    {
        if (Inside(x, y))
            DoSetPixel(x, y, c);
    }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }

protected:
    virtual TColor DoGetPixel(int x, int y) const = 0;
    virtual void DoSetPixel(int x, int y, TColor c) = 0;
};

// In-memory surface of colour values, row after row.
class TRgbSurface : public TSurface {
public:
    TRgbSurface(int width, int height, TColor fill = 0);
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void Fill(TColor c);
    const std::vector<TColor>& Data() const { return FPixels; }

protected:
    TColor DoGetPixel(int x, int y) const override { return FPixels[static_cast<std::size_t>(y) * FWidth + x]; }
    void DoSetPixel(int x, int y, TColor c) override { FPixels[static_cast<std::size_t>(y) * FWidth + x] = c; }

private:
    int FWidth;
    int FHeight;
    std::vector<TColor> FPixels;
};

} // namespace kestrund
