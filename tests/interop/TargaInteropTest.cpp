// Targa files against an independent implementation, ImageMagick: it must see the pictures
// the model writes as our reader does, and the pictures it writes itself must import (or be
// refused, for the forms outside the subset).

#include "Border.h"
#include "MiscFunc.h"
#include "Scratch.h"
#include "SetBuilders.h"
#include "Targa.h"
#include "Tile.h"

#include <gtest/gtest.h>

namespace kestrund {
namespace {

using namespace testing;

// Size and 5-5-5 words, top row first, as ImageMagick sees the file (channels widened to
// 8 bits, rows put top down).
std::string Seen(const std::string& file)
{
    std::string s = ShellCommand("identify -format '%wx%h' '" + file + "'").second;
    const std::string rgb = ShellCommand("convert '" + file + "' -auto-orient -depth 8 rgb:-").second;
    const auto* bytes = reinterpret_cast<const unsigned char*>(rgb.data());
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        s += Format(" %04X", Rgb24ToPixel(bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2]));
    return s;
}

// The same as our reader sees it, or its result code.
std::string Read(const std::string& file, TTGAHeader* header = nullptr)
{
    TPictureBuffer p;
    if (const int code = ReadTGA(file, p, header))
        return "code " + std::to_string(code);
    std::string s = Format("%dx%d", p.Width(), p.Height());
    for (int i = 0; i < p.Width() * p.Height(); ++i)
        s += Format(" %04X", p(i % p.Width(), i / p.Width()) & 0x7FFF);
    return s;
}

// A 3 x 2 picture: red, green, blue on top; white, black, grey below.
const char* const Source = "-size 1x1 xc:'#FF0000' xc:'#00FF00' xc:'#0000FF' +append "
                           "\\( -size 1x1 xc:'#FFFFFF' xc:'#000000' xc:'#808080' +append \\) -append";

TEST(TargaInterop, PicturesWrittenOnEitherSideReadTheSameOrAreRefused)
{
    ASSERT_EQ(ShellCommand("convert -version").first, 0)
        << "ImageMagick's convert is missing; scripts/bootstrap installs it";
    TScratchDir dir;
    TPictureBuffer picture(7, 3);
    for (int i = 0; i < 21; ++i) // some with the attribute bit set
        picture(i % 7, i / 7) = static_cast<std::uint16_t>(i * 0x1C63 + 0x1234);
    WriteTGA(picture, dir / "p.tga");
    TTile tile(0x3080F0, cmRGB565);
    PutLines(*(tile.Overlay = std::make_unique<TTileOverlay>(cmRGB565)), {{2, {0x0A05, 0xEC01, 0x07E0}}}); // green
    tile.ExportTGA(dir / "t.tga", 0xFF00FF, 0x808080);
    TTileBorder(cmRGB555, 0x0000FF).ExportTGA(dir / "b.tga", 1, 0xFFFFFF);
    TTileImprovement overlay(cmRGB555);
    PutLines(overlay, {{1, {0x0A03, 0x0C01, 0x001F, 0x0D01, 0xFA0F}}}); // blue, then a shadow pixel
    overlay.ExportTGA(dir / "o.tga", 0x00FFFF, 0x404040);
    for (const char* name : {"p.tga", "t.tga", "b.tga", "o.tga"})
        EXPECT_EQ(Seen(dir / name), Read(dir / name)) << name;
    EXPECT_EQ(Seen(dir / "o.tga").substr(0, 20), "20x2 7FE0 7FE0 7FE0 "); // 0x00FFFF is yellow

    // ImageMagick's: its writer keeps rows in memory order and notes the origin; flipping and then
    // declaring bottom-left gives a picture stored the ordinary way.
    const std::tuple<const char*, std::string, int> cases[] = {
        {"-flip -orient BottomLeft -type TrueColor", "24 bits, no ID", 0},
        {"-flip -orient BottomLeft -alpha set -type TrueColorAlpha", "32 bits, no ID", 0},
        {"-flip -orient BottomLeft -type TrueColor -set comment 'drawn elsewhere'", "24 bits, ID", 0},
        {"-flip -orient BottomLeft -type TrueColor -compress RLE", "", tgaUnsupportedType},
        {"-flip -orient BottomLeft -type Palette", "", tgaUnsupportedType},
        {"-orient TopLeft -type TrueColor", "", tgaUnsupportedInterleave},
    };
    for (const auto& [options, form, code] : cases) {
        ASSERT_EQ(ShellCommand(std::string("convert ") + Source + " " + options + " '" + dir / "f.tga" + "'").first, 0);
        TTGAHeader h;
        const std::string read = Read(dir / "f.tga", &h);
        EXPECT_EQ(read, code ? "code " + std::to_string(code) : "3x2 7C00 03E0 001F 7FFF 0000 4210") << options;
        EXPECT_EQ(code ? "" : Format("%d bits, %s", h.PixelBits, h.IDLength ? "ID" : "no ID"), form) << options;
    }
}

} // namespace
} // namespace kestrund
