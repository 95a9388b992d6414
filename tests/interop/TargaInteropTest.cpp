// Targa files against an independent implementation, ImageMagick: it must open the
// pictures the model writes with the right size and colours, and the pictures it
// writes itself must import (or be refused, for the forms outside the subset).

#include "Border.h"
#include "Overlay.h"
#include "Targa.h"
#include "Tile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace kestrund {
namespace {

namespace fs = std::filesystem;

// Runs a shell command and returns what it wrote to standard output.
std::vector<std::uint8_t> RunCommand(const std::string& command, int* status = nullptr)
{
    std::vector<std::uint8_t> out;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return out;
    std::uint8_t chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        out.insert(out.end(), chunk, chunk + n);
    const int rc = ::pclose(pipe);
    if (status)
        *status = rc;
    return out;
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

class TargaInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        int status = -1;
        RunCommand("convert -version >/dev/null 2>&1", &status);
        ASSERT_EQ(status, 0) << "ImageMagick's convert is missing; scripts/bootstrap installs it";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        FDir = fs::temp_directory_path() / ("kestrund-interop-" + std::string(info->name()) + "-" +
                                            std::to_string(::getpid()));
        fs::remove_all(FDir);
        fs::create_directories(FDir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(FDir, ignored);
    }

    std::string File(const char* name) const { return (FDir / name).string(); }

    // What ImageMagick sees: width, height and 8-bit RGB, rows top to bottom.
    struct TSeen {
        int Width = 0, Height = 0;
        std::vector<std::uint8_t> Rgb;
        TColor At(int x, int y) const
        {
            const std::size_t i = 3 * (static_cast<std::size_t>(y) * Width + x);
            return Rgb[i] | Rgb[i + 1] << 8 | Rgb[i + 2] << 16;
        }
    };
    static TSeen Open(const std::string& fileName)
    {
        TSeen seen;
        const std::vector<std::uint8_t> size = RunCommand("identify -format '%w %h' " + Quoted(fileName) + " 2>&1");
        const std::string text(size.begin(), size.end());
        EXPECT_EQ(std::sscanf(text.c_str(), "%d %d", &seen.Width, &seen.Height), 2) << text;
        // The reader keeps the stored row order and notes the origin; auto-orient applies it.
        seen.Rgb = RunCommand("convert " + Quoted(fileName) + " -auto-orient -depth 8 rgb:-");
        EXPECT_EQ(seen.Rgb.size(), 3u * static_cast<std::size_t>(seen.Width) * static_cast<std::size_t>(seen.Height));
        return seen;
    }

    fs::path FDir;
};

// ImageMagick widens 5-bit channels to 8 bits; the 5 bits themselves must match.
void ExpectSameColor(TColor seen, std::uint16_t word, int x, int y)
{
    EXPECT_EQ(ColorToPixel(seen, cmRGB555), word & 0x7FFF)
        << "at " << x << "," << y << std::hex << " seen 0x" << seen << " word 0x" << word;
}

// ---- our pictures, their reader ----

TEST_F(TargaInterop, WrittenPictureOpensWithItsSizeAndColours)
{
    TPictureBuffer picture(7, 3);
    const std::uint16_t words[] = {0x0000, 0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x4210, 0x1234};
    for (int x = 0; x < 7; ++x) {
        picture(x, 0) = words[x];
        picture(x, 1) = static_cast<std::uint16_t>(words[6 - x] | 0x8000); // attribute bit set
        picture(x, 2) = static_cast<std::uint16_t>(x * 0x0421 + 3);
    }
    WriteTGA(picture, File("p.tga"));
    const TSeen seen = Open(File("p.tga"));
    ASSERT_EQ(seen.Width, 7);
    ASSERT_EQ(seen.Height, 3);
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 3; ++y)
            ExpectSameColor(seen.At(x, y), picture(x, y), x, y);
}

TEST_F(TargaInterop, ExportedElementsOpenAsDrawn)
{
    TTile tile(0x3080F0, cmRGB565);
    TPictureBuffer top(94, 3, ColorToPixel(0xFF00FF, cmRGB555));
    top(5, 2) = ColorToPixel(0x00FF00, cmRGB555);
    tile.Overlay = std::make_unique<TTileOverlay>(cmRGB565);
    tile.Overlay->FromBuffer(top, 0xFF00FF, 0x808080);
    tile.ExportTGA(File("t.tga"), 0xFF00FF, 0x808080);
    const TSeen t = Open(File("t.tga"));
    ASSERT_EQ(t.Width, 94);
    ASSERT_EQ(t.Height, 72);
    ExpectSameColor(t.At(0, 0), 0x7C1F, 0, 0);
    ExpectSameColor(t.At(5, 2), 0x03E0, 5, 2);
    ExpectSameColor(t.At(46, 24), ColorToPixel(0x3080F0, cmRGB555), 46, 24);
    ExpectSameColor(t.At(47, 71), ColorToPixel(0x3080F0, cmRGB555), 47, 71);
    ExpectSameColor(t.At(45, 24), 0x7C1F, 45, 24);

    TTileBorder border(cmRGB555, 0x0000FF);
    border.ExportTGA(File("b.tga"), 1, 0xFFFFFF);
    const TSeen b = Open(File("b.tga"));
    ASSERT_EQ(b.Width, 94);
    ASSERT_EQ(b.Height, 72);
    ExpectSameColor(b.At(12, 43), 0x7C00, 12, 43); // first pixel of edge 0
    ExpectSameColor(b.At(81, 43), 0x7FFF, 81, 43); // edge 3 not drawn

    TTileImprovement overlay(cmRGB555);
    TPictureBuffer picture(20, 4, ColorToPixel(0xFFFFFF, cmRGB555));
    picture(3, 1) = ColorToPixel(0xFF0000, cmRGB555);
    picture(4, 1) = ColorToPixel(0x404040, cmRGB555);
    overlay.FromBuffer(picture, 0xFFFFFF, 0x404040);
    overlay.ExportTGA(File("o.tga"), 0x00FFFF, 0x404040);
    const TSeen o = Open(File("o.tga"));
    ASSERT_EQ(o.Width, 20);
    ASSERT_EQ(o.Height, 2); // rows up to the last drawn one
    ExpectSameColor(o.At(3, 1), 0x001F, 3, 1);
    ExpectSameColor(o.At(4, 1), 0x2108, 4, 1);
    ExpectSameColor(o.At(0, 0), 0x7FE0, 0, 0); // 0x00FFFF is yellow
}

// ---- their pictures, our reader ----

// A 3 x 2 picture: red, green, blue on top; white, black, grey below.
const char* const Source = "-size 1x1 xc:'#FF0000' xc:'#00FF00' xc:'#0000FF' +append "
                           "\\( -size 1x1 xc:'#FFFFFF' xc:'#000000' xc:'#808080' +append \\) -append";

void ExpectSourcePicture(const TPictureBuffer& p)
{
    ASSERT_EQ(p.Width(), 3);
    ASSERT_EQ(p.Height(), 2);
    EXPECT_EQ(p(0, 0), 0x7C00);
    EXPECT_EQ(p(1, 0), 0x03E0);
    EXPECT_EQ(p(2, 0), 0x001F);
    EXPECT_EQ(p(0, 1), 0x7FFF);
    EXPECT_EQ(p(1, 1), 0x0000);
    EXPECT_EQ(p(2, 1), 0x4210);
}

struct TForeign {
    const char* Name;
    const char* Options; // after the source picture
    int Code;
    std::uint8_t PixelBits; // checked for accepted pictures
    bool HasID = false;
};

void PrintTo(const TForeign& c, std::ostream* os)
{
    *os << c.Name;
}

class ForeignTarga : public TargaInterop, public ::testing::WithParamInterface<TForeign> {};

TEST_P(ForeignTarga, ImportsOrIsRefused)
{
    const TForeign& c = GetParam();
    const std::string name = File("f.tga");
    int status = -1;
    RunCommand(std::string("convert ") + Source + " " + c.Options + " " + Quoted(name) + " 2>&1", &status);
    ASSERT_EQ(status, 0);
    TPictureBuffer picture;
    TTGAHeader header;
    ASSERT_EQ(ReadTGA(name, picture, &header), c.Code);
    if (c.Code == tgaOK) {
        EXPECT_EQ(header.PixelBits, c.PixelBits);
        EXPECT_EQ(header.IDLength > 0, c.HasID);
        ExpectSourcePicture(picture);
    }
}

// The writer keeps rows in memory order and notes the origin; flipping and then
// declaring bottom-left gives a picture stored the ordinary way.
INSTANTIATE_TEST_SUITE_P(
    ImageMagick, ForeignTarga,
    ::testing::Values(
        TForeign{"TrueColor24", "-flip -orient BottomLeft -type TrueColor", tgaOK, 24},
        TForeign{"TrueColorAlpha32", "-flip -orient BottomLeft -alpha set -type TrueColorAlpha", tgaOK, 32},
        TForeign{"WithIDField", "-flip -orient BottomLeft -type TrueColor -set comment 'drawn elsewhere'", tgaOK,
                 24, true},
        TForeign{"RunLength", "-flip -orient BottomLeft -type TrueColor -compress RLE", tgaUnsupportedType, 0},
        TForeign{"ColourMapped", "-flip -orient BottomLeft -type Palette", tgaUnsupportedType, 0},
        TForeign{"TopLeftOrigin", "-orient TopLeft -type TrueColor", tgaUnsupportedInterleave, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace kestrund
