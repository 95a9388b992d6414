#include "Pixel.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace kestrund;

namespace {

struct PixelColorCase {
    std::uint16_t pixel;
    int mode;
    TColor color;
};

struct ConvertCase {
    std::uint16_t pixel;
    int from;
    int to;
    std::uint16_t expected;
};

} // namespace

TEST(PixelToColor, SplitsTheLayoutOfEachMode)
{
    const PixelColorCase cases[] = {
        {0x7C1F, 0, 0xF800F8},  // magenta, the transparent colour of the pictures
        {0x7FFF, 0, 0xF8F8F8},  // white keeps the low three channel bits clear
        {0xFFFF, 0, 0xF8F8F8},  // bit 15 ignored
        {0x03E0, 0, 0x00F800},
        {0x1234, 0, 0xA08820},  // R 4, G 17, B 20
        {0xF81F, 1, 0xF800F8},
        {0x07E0, 1, 0x00F800},  // lowest green bit ignored
        {0x0020, 1, 0x000000},
        {0xFFFF, 1, 0xF8F8F8},
        {0x7C1F, 2, 0xF800F8},  // any mode but 1 is mode 0
        {0x7C1F, -1, 0xF800F8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PixelToColor(c.pixel, c.mode), c.color) << std::hex << c.pixel << " mode " << c.mode;
}

TEST(ColorToPixel, AssemblesTheLayoutOfEachMode)
{
    const PixelColorCase cases[] = {
        {0x7C1F, 0, 0xF800F8},
        {0x7FFF, 0, 0xFFFFFF},
        {0x7C00, 0, 0x0000FF},
        {0x0000, 0, 0x070707},   // low three bits of each channel dropped
        {0x4210, 0, 0x808080},
        {0x7200, 0, 0x0083E0},   // the set's default shadow colour
        {0x7C00, 0, 0xFF0000FF}, // top byte ignored
        {0xFFDF, 1, 0xFFFFFF},   // lowest green bit written 0
        {0xF800, 1, 0x0000FF},
        {0x07C0, 1, 0x00FF00},
        {0x001F, 1, 0xFF0000},
        {0x7C1F, 3, 0xF800F8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorToPixel(c.color, c.mode), c.pixel) << std::hex << c.color << " mode " << c.mode;
}

TEST(ConvertPixel, MovesChannelsBetweenLayouts)
{
    const ConvertCase cases[] = {
        {0x7C1F, 0, 1, 0xF81F}, {0x07E0, 1, 0, 0x03E0}, {0x03E0, 0, 1, 0x07C0},
        {0x0020, 1, 0, 0x0000}, {0xFFFF, 0, 0, 0x7FFF}, // same mode clears bit 15 ...
        {0xFFFF, 1, 1, 0xFFDF},                         // ... or bit 5
        {0x9234, 0, 0, 0x1234}, {0x7C1F, 5, 7, 0x7C1F}, {0xF81F, 1, 9, 0x7C1F},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertPixel(c.pixel, c.from, c.to), c.expected)
            << std::hex << c.pixel << " " << c.from << "->" << c.to;
}

TEST(ConvertPixel, RoundTripThroughTheOtherModeKeepsFiveBitChannels)
{
    for (unsigned p = 0; p < 0x8000; ++p) {
        const auto word = static_cast<std::uint16_t>(p);
        ASSERT_EQ(ConvertPixel(ConvertPixel(word, 0, 1), 1, 0), word) << p;
        ASSERT_EQ(PixelToColor(word, 0), PixelToColor(ConvertPixel(word, 0, 1), 1)) << p;
    }
}

TEST(Rgb24ToPixel, TakesRedFromTheHighByte)
{
    EXPECT_EQ(Rgb24ToPixel(0xFF00FF), 0x7C1F);
    EXPECT_EQ(Rgb24ToPixel(0x00FF00), 0x03E0);
    EXPECT_EQ(Rgb24ToPixel(0xFF0000), 0x7C00);
    EXPECT_EQ(Rgb24ToPixel(0x0000FF), 0x001F);
    EXPECT_EQ(Rgb24ToPixel(0x123456), 0x08CA); // R5 2, G5 6, B5 10
    EXPECT_EQ(Rgb24ToPixel(0x070707), 0x0000);
}

TEST(Bgra32ToPixel, ReadsBlueGreenRedAlphaInMemoryOrder)
{
    EXPECT_EQ(Bgra32ToPixel(0x00123456), 0x08CA);
    EXPECT_EQ(Bgra32ToPixel(0xAA123456), 0x08CA); // alpha ignored
    EXPECT_EQ(Bgra32ToPixel(0x00FF0000), 0x7C00);
    EXPECT_EQ(Bgra32ToPixel(0x0000FF00), 0x03E0);
    EXPECT_EQ(Bgra32ToPixel(0x000000FF), 0x001F);
}

TEST(MultiplyColor, MultipliesEachChannelOver256)
{
    EXPECT_EQ(MultiplyColor(0xFFFFFF, 0x808080), 0x7F7F7FU);
    EXPECT_EQ(MultiplyColor(0x102030, 0xFFFFFF), 0x0F1F2FU);
    EXPECT_EQ(MultiplyColor(0x204080, 0x808080), 0x102040U);
    EXPECT_EQ(MultiplyColor(0xFF0000FF, 0xFF0000FF), 0x0000FEU);
    EXPECT_EQ(MultiplyColor(0x123456, 0), 0U);
}

TEST(MultiplyPixel, MultipliesEachFiveBitChannelOver32)
{
    EXPECT_EQ(MultiplyPixel(0x7FFF, 0x4210), 0x3DEF);
    EXPECT_EQ(MultiplyPixel(0x7FFF, 0x7FFF), 0x7BDE);
    EXPECT_EQ(MultiplyPixel(0xFFFF, 0xFFFF), 0x7BDE);
    EXPECT_EQ(MultiplyPixel(0x7C00, 0x03FF), 0x0000);
    EXPECT_EQ(MultiplyPixel(0x7C00, 0x7C00), 0x7800);
}

TEST(PictureBuffer, MakeBufferFillsWithTheModeZeroWord)
{
    const TPictureBuffer buffer = MakeBuffer(3, 2, 0xF800F8);
    ASSERT_EQ(buffer.Width(), 3);
    ASSERT_EQ(buffer.Height(), 2);
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(buffer(x, y), 0x7C1F);
}

TEST(PictureBuffer, AccessOutsideIsClipped)
{
    TPictureBuffer buffer(2, 2, 7);
    buffer.Set(-1, 0, 1);
    buffer.Set(2, 0, 1);
    buffer.Set(0, 2, 1);
    buffer.Set(1, 1, 9);
    EXPECT_EQ(buffer.Get(-1, 0), 0);
    EXPECT_EQ(buffer.Get(0, 5), 0);
    EXPECT_EQ(buffer(0, 0), 7);
    EXPECT_EQ(buffer(1, 0), 7);
    EXPECT_EQ(buffer(0, 1), 7);
    EXPECT_EQ(buffer(1, 1), 9);
}

TEST(RgbSurface, AccessOutsideIsClipped)
{
    TRgbSurface surface(3, 2, 0x111111);
    surface.SetPixel(-1, 0, 5);
    surface.SetPixel(3, 1, 5);
    surface.SetPixel(0, -1, 5);
    surface.SetPixel(2, 2, 5);
    surface.SetPixel(2, 1, 0xABCDEF);
    EXPECT_EQ(surface.Pixel(-1, 0), 0U);
    EXPECT_EQ(surface.Pixel(3, 0), 0U);
    EXPECT_EQ(surface.Pixel(2, 1), 0xABCDEFU);
    int changed = 0;
    for (TColor c : surface.Data())
        changed += c != 0x111111;
    EXPECT_EQ(changed, 1);
}
