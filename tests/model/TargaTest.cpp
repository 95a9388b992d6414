// Targa reading and writing: the accepted subset, the refusals with their codes and
// messages, and headers that lie about the size of the data.

#include "Errors.h"
#include "Targa.h"
#include "TgaBuilder.h"
#include "Scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace kestrund {
namespace {

using testing::LoadBytes;
using testing::SaveBytes;
using testing::TScratchDir;
using testing::TTgaFile;

// ---- writing ----

TEST(WriteTGA, LaysOutHeaderAndRowsBottomUp)
{
    TPictureBuffer picture(2, 2);
    picture(0, 0) = 0x0001;
    picture(1, 0) = 0x8002; // the attribute bit is written as it is
    picture(0, 1) = 0x7C00;
    picture(1, 1) = 0x03E0;
    const std::vector<std::uint8_t> expected = {
        0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // id, map, type, map, origin
        0x02, 0x00, 0x02, 0x00, 0x10, 0x01,                                     // 2 x 2, 16 bits, descriptor 1
        0x00, 0x7C, 0xE0, 0x03,                                                 // row y = 1
        0x01, 0x00, 0x02, 0x80,                                                 // row y = 0
    };
    EXPECT_EQ(WriteTGA(picture), expected);
}

TEST(WriteTGA, FileHoldsExactlyTheBytesAndReplacesAnOldFile)
{
    TScratchDir dir;
    const std::string name = dir.File("p.tga");
    SaveBytes(name, std::vector<std::uint8_t>(5000, 0xAB));
    TPictureBuffer picture(3, 1, 0x1234);
    WriteTGA(picture, name);
    EXPECT_EQ(LoadBytes(name), WriteTGA(picture));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"p.tga"});
}

TEST(WriteTGA, UncreatableFileRaisesCreateErrorAndLeavesNothing)
{
    TScratchDir dir;
    const TPictureBuffer picture(2, 2, 0x1111);
    for (const std::string& name : {dir.File("missing/p.tga"), dir.Path().string()}) {
        try {
            WriteTGA(picture, name);
            ADD_FAILURE() << "no error for " << name;
        } catch (const EFileCreateError& e) {
            EXPECT_EQ(e.FileName, name);
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(WriteTGA, RefusesPicturesTooLargeForTheHeader)
{
    EXPECT_THROW(WriteTGA(TPictureBuffer(32768, 1)), EInvalidArgument);
    EXPECT_THROW(WriteTGA(TPictureBuffer(1, 32768)), EInvalidArgument);
    EXPECT_EQ(WriteTGA(TPictureBuffer(32767, 1)).size(), 18u + 2u * 32767u);
}

// ---- reading the accepted forms ----

TEST(ReadTGA, SixteenBitWordsKeptUnchangedRowsBottomUp)
{
    TTgaFile f;
    f.Width = 3;
    f.Height = 2;
    f.Words({0x8001, 0x0002, 0x0003,  // bottom row (y = 1)
             0x7FFF, 0xFFFF, 0x0000}); // top row (y = 0)
    TPictureBuffer picture;
    ASSERT_EQ(ReadTGA(f.Bytes(), picture), tgaOK);
    ASSERT_EQ(picture.Width(), 3);
    ASSERT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture(0, 1), 0x8001);
    EXPECT_EQ(picture(1, 1), 0x0002);
    EXPECT_EQ(picture(2, 1), 0x0003);
    EXPECT_EQ(picture(0, 0), 0x7FFF);
    EXPECT_EQ(picture(1, 0), 0xFFFF);
    EXPECT_EQ(picture(2, 0), 0x0000);
}

struct TPaintCase {
    const char* Name;
    std::uint8_t Bits;
    std::vector<std::uint8_t> Pixel; // one stored pixel
    std::uint16_t Expected;
};

void PrintTo(const TPaintCase& c, std::ostream* os)
{
    *os << c.Name;
}

class ReadTGAPaintPixels : public ::testing::TestWithParam<TPaintCase> {};

TEST_P(ReadTGAPaintPixels, ConvertsToFiveFiveFive)
{
    const TPaintCase& c = GetParam();
    TTgaFile f;
    f.Width = 1;
    f.Height = 1;
    f.PixelBits = c.Bits;
    f.Pixels = c.Pixel;
    TPictureBuffer picture;
    ASSERT_EQ(ReadTGA(f.Bytes(), picture), tgaOK);
    EXPECT_EQ(picture(0, 0), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadTGAPaintPixels,
    ::testing::Values(TPaintCase{"Bgr24", 24, {0x18, 0x80, 0xF8}, 0x7E03},
                      TPaintCase{"Bgr24LowBitsDropped", 24, {0x07, 0x07, 0x07}, 0x0000},
                      TPaintCase{"Bgr24White", 24, {0xFF, 0xFF, 0xFF}, 0x7FFF},
                      TPaintCase{"Bgra32", 32, {0x08, 0x10, 0x20, 0x00}, 0x1041},
                      TPaintCase{"Bgra32AlphaIgnored", 32, {0x08, 0x10, 0x20, 0xFF}, 0x1041},
                      TPaintCase{"Bgra32Red", 32, {0x00, 0x00, 0xFF, 0x80}, 0x7C00}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ReadTGA, PaintProgramPictureWithIDColourMapAndFooter)
{
    // 2 x 2 at 24 bits with an ID text, an announced 3-entry colour map of 15-bit entries
    // (two bytes each) and a version-2 footer after the pixels.
    TTgaFile f;
    f.Width = 2;
    f.Height = 2;
    f.PixelBits = 24;
    f.Descriptor = 0x00;
    const std::string id = "made by hand";
    f.ID.assign(id.begin(), id.end());
    f.ColorMapType = 1;
    f.ColorMapStart = 0;
    f.ColorMapLength = 3;
    f.ColorMapEntryBits = 15;
    f.ColorMap = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    f.Pixels = {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00,  // bottom: blue, green
                0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}; // top: red, white
    const std::string footer = std::string(8, '\0') + "TRUEVISION-XFILE." + std::string(1, '\0');
    f.Trailer.assign(footer.begin(), footer.end());
    TPictureBuffer picture;
    ASSERT_EQ(ReadTGA(f.Bytes(), picture), tgaOK);
    EXPECT_EQ(picture(0, 1), 0x001F);
    EXPECT_EQ(picture(1, 1), 0x03E0);
    EXPECT_EQ(picture(0, 0), 0x7C00);
    EXPECT_EQ(picture(1, 0), 0x7FFF);
}

TEST(ReadTGA, ThirtyTwoBitWithAlphaBitsInDescriptorAndOrigin)
{
    // Paint programs put the alpha depth (8) in the low descriptor bits; only bits 5-7 matter.
    TTgaFile f;
    f.Width = 1;
    f.Height = 2;
    f.PixelBits = 32;
    f.Descriptor = 0x08;
    f.Pixels = {0x00, 0x00, 0x00, 0xFF, 0xF8, 0xF8, 0xF8, 0x00};
    TPictureBuffer picture;
    ASSERT_EQ(ReadTGA(f.Bytes(), picture), tgaOK);
    EXPECT_EQ(picture(0, 1), 0x0000);
    EXPECT_EQ(picture(0, 0), 0x7FFF);
}

TEST(ReadTGA, ColourMapOfOtherMapTypeIsNotSkipped)
{
    // Only map type 1 announces a map; with type 0 the length fields are noise.
    TTgaFile f;
    f.Width = 1;
    f.Height = 1;
    f.ColorMapLength = 100;
    f.ColorMapEntryBits = 24;
    f.Words({0x1234});
    TPictureBuffer picture;
    ASSERT_EQ(ReadTGA(f.Bytes(), picture), tgaOK);
    EXPECT_EQ(picture(0, 0), 0x1234);
}

TEST(ReadTGA, ZeroWidthOrHeightGivesOneByOne)
{
    for (auto [w, h] : {std::pair{0, 5}, std::pair{7, 0}, std::pair{0, 0}}) {
        TTgaFile f;
        f.Width = static_cast<std::uint16_t>(w);
        f.Height = static_cast<std::uint16_t>(h);
        TPictureBuffer picture;
        EXPECT_EQ(ReadTGA(f.Bytes(), picture), tgaOK) << w << "x" << h;
        EXPECT_EQ(picture.Width(), 1);
        EXPECT_EQ(picture.Height(), 1);
    }
}

TEST(ReadTGA, WrittenPicturesReadBackUnchanged)
{
    TPictureBuffer picture(5, 3);
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 3; ++y)
            picture(x, y) = static_cast<std::uint16_t>(0x9000 + 37 * x + 1000 * y);
    TPictureBuffer back;
    ASSERT_EQ(ReadTGA(WriteTGA(picture), back), tgaOK);
    EXPECT_EQ(back, picture);

    TScratchDir dir;
    WriteTGA(picture, dir.File("r.tga"));
    ASSERT_EQ(ReadTGA(dir.File("r.tga"), back), tgaOK);
    EXPECT_EQ(back, picture);
}

// ---- refusals ----

struct TRefusal {
    const char* Name;
    std::uint8_t ImageType;
    std::uint8_t Descriptor;
    std::uint8_t PixelBits;
    int Code;
};

void PrintTo(const TRefusal& c, std::ostream* os)
{
    *os << c.Name;
}

class ReadTGARefusal : public ::testing::TestWithParam<TRefusal> {};

TEST_P(ReadTGARefusal, GivesItsCode)
{
    const TRefusal& c = GetParam();
    TTgaFile f;
    f.ImageType = c.ImageType;
    f.Descriptor = c.Descriptor;
    f.PixelBits = c.PixelBits;
    f.Width = 2;
    f.Height = 2;
    f.Pixels.assign(16, 0); // enough for every pixel size
    TPictureBuffer picture;
    EXPECT_EQ(ReadTGA(f.Bytes(), picture), c.Code);
    EXPECT_EQ(picture.Width(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadTGARefusal,
    ::testing::Values(TRefusal{"ColourMapped", 1, 0x00, 8, tgaUnsupportedType},
                      TRefusal{"RunLength", 10, 0x00, 24, tgaUnsupportedType},
                      TRefusal{"Grey", 3, 0x00, 8, tgaUnsupportedType},
                      TRefusal{"TopLeft", 2, 0x20, 16, tgaUnsupportedInterleave},
                      TRefusal{"TopLeftWithInterleave", 2, 0xE0, 16, tgaUnsupportedInterleave},
                      TRefusal{"Bit6", 2, 0x40, 16, tgaInvalidFile},
                      TRefusal{"Bit7", 2, 0x80, 16, tgaInvalidFile},
                      TRefusal{"EightBits", 2, 0x00, 8, tgaUnsupportedPixelSize},
                      TRefusal{"FifteenBits", 2, 0x00, 15, tgaUnsupportedPixelSize},
                      // The checks run descriptor first, then type, then pixel size.
                      TRefusal{"DescriptorBeforeType", 1, 0x20, 8, tgaUnsupportedInterleave},
                      TRefusal{"InvalidBeforeType", 10, 0x40, 8, tgaInvalidFile},
                      TRefusal{"TypeBeforePixelSize", 1, 0x00, 8, tgaUnsupportedType}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TGAErrorMessage, TextsAndReportedCodes)
{
    struct {
        int Code;
        const char* Message;
        std::uint32_t Reported;
    } const cases[] = {
        {1, "\"a b.tga\" is not a supported TGA-type", 1},
        {2, "\"a b.tga\" is not a valid TGA-file", 2},
        {3, "\"a b.tga\" uses an unsupported or invalid Interleave format", 3},
        {4, "\"a b.tga\" uses an unsupported or invalid Pixel size", 4},
        {5, "Unknown error processing \"a b.tga\"", 16},
        {6, "\"a b.tga\" is too large: width and height must be below 32768 pixels", 6},
        {15, "Error loading \"a b.tga\"", 15},
        {16, "Unknown error processing \"a b.tga\"", 16},
        {9, "Unknown error processing \"a b.tga\"", 16},
        {-1, "Unknown error processing \"a b.tga\"", 16},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TGAErrorMessage(c.Code, "a b.tga"), c.Message) << c.Code;
        EXPECT_EQ(TGAReportedCode(c.Code), c.Reported) << c.Code;
        try {
            RaiseTGAError(c.Code, "a b.tga");
        } catch (const EInvalidImageFormat& e) {
            EXPECT_STREQ(e.what(), c.Message);
            EXPECT_EQ(e.Code, c.Reported);
        }
    }
}

// ---- headers that lie ----

TEST(ReadTGAHostile, DataEndingEarlyIsAReadError)
{
    TTgaFile full;
    full.Width = 4;
    full.Height = 3;
    full.PixelBits = 24;
    full.Pixels.assign(4 * 3 * 3, 0x55);
    const std::vector<std::uint8_t> bytes = full.Bytes();
    TPictureBuffer picture;
    ASSERT_EQ(ReadTGA(bytes, picture), tgaOK);
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{17}, std::size_t{18}, bytes.size() - 1}) {
        EXPECT_EQ(ReadTGA(std::span(bytes).first(size), picture), tgaReadError) << size;
        EXPECT_EQ(picture.Width(), 0);
    }
}

TEST(ReadTGAHostile, IDAndColourMapRunningPastTheEnd)
{
    TTgaFile f;
    f.Width = 1;
    f.Height = 1;
    f.Words({0x1234});
    f.ID.assign(200, 'x');
    std::vector<std::uint8_t> bytes = f.Bytes();
    bytes.resize(18 + 100); // ID cut short
    TPictureBuffer picture;
    EXPECT_EQ(ReadTGA(bytes, picture), tgaReadError);

    TTgaFile m;
    m.Width = 1;
    m.Height = 1;
    m.Words({0x1234});
    m.ColorMapType = 1;
    m.ColorMapLength = 0xFFFF;
    m.ColorMapEntryBits = 32;
    EXPECT_EQ(ReadTGA(m.Bytes(), picture), tgaReadError);
}

TEST(ReadTGAHostile, SidesOf32768OrMoreAreRefused)
{
    for (auto [w, h] : {std::pair{32768, 1}, std::pair{1, 32768}, std::pair{65535, 65535}}) {
        TTgaFile f;
        f.Width = static_cast<std::uint16_t>(w);
        f.Height = static_cast<std::uint16_t>(h);
        f.Words({1, 2, 3});
        TPictureBuffer picture;
        EXPECT_EQ(ReadTGA(f.Bytes(), picture), tgaTooLarge) << w << "x" << h;
    }
    // The refusal comes after the checks of the published format.
    TTgaFile f;
    f.Width = 40000;
    f.ImageType = 10;
    TPictureBuffer picture;
    EXPECT_EQ(ReadTGA(f.Bytes(), picture), tgaUnsupportedType);
}

// Runs body in a child process whose address space is capped a little above what it
// already uses, so an allocation the size a header claims cannot succeed there.
std::size_t CurrentAddressSpace()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

void CapAddressSpace()
{
    const rlim_t limit = CurrentAddressSpace() + (256u << 20);
    const rlimit r{limit, limit};
    if (::setrlimit(RLIMIT_AS, &r) != 0)
        std::_Exit(3);
}

std::vector<std::uint8_t> HugeHeader(std::size_t pixelBytes)
{
    TTgaFile f;
    f.Width = 32767;
    f.Height = 32767;
    f.PixelBits = 32; // claims 4 GiB of pixels
    f.Pixels.assign(pixelBytes, 0x77);
    return f.Bytes();
}

// Exit status 0 when a picture the size of the largest header cannot be made.
[[noreturn]] void AllocateHugePictureUnderCap()
{
    CapAddressSpace();
    try {
        TPictureBuffer big(32767, 32767);
        std::_Exit(big.Width() == 32767 ? 1 : 2);
    } catch (const std::bad_alloc&) {
        std::_Exit(0);
    }
}

// Exit status 0 when both lying headers are refused as read errors under the cap.
[[noreturn]] void ReadHugeHeadersUnderCap(const std::vector<std::uint8_t>& small,
                                          const std::vector<std::uint8_t>& partial)
{
    CapAddressSpace();
    TPictureBuffer picture;
    const bool ok = ReadTGA(small, picture) == tgaReadError && ReadTGA(partial, picture) == tgaReadError &&
                    picture.Width() == 0;
    std::_Exit(ok ? 0 : 1);
}

TEST(ReadTGAHostileDeathTest, CappedMemoryReallyStopsALargeAllocation)
{
    // Shows the cap works, so the next test can fail.
    EXPECT_EXIT(AllocateHugePictureUnderCap(), ::testing::ExitedWithCode(0), "");
}

TEST(ReadTGAHostileDeathTest, HugeHeaderOnSmallDataAllocatesNothingLarge)
{
    const std::vector<std::uint8_t> small = HugeHeader(0);
    const std::vector<std::uint8_t> partial = HugeHeader(1 << 20);
    EXPECT_EXIT(ReadHugeHeadersUnderCap(small, partial), ::testing::ExitedWithCode(0), "");
}

// ---- files ----

TEST(ReadTGAFile, UnreadableFilesAreLoadErrors)
{
    TScratchDir dir;
    TPictureBuffer picture;
    EXPECT_EQ(ReadTGA(dir.File("missing.tga"), picture), tgaLoadError);
    EXPECT_EQ(ReadTGA(dir.Path().string(), picture), tgaLoadError);
    SaveBytes(dir.File("empty.tga"), {});
    EXPECT_EQ(ReadTGA(dir.File("empty.tga"), picture), tgaReadError);
}

TEST(ReadTGAFile, HeaderIsReportedForAcceptedAndRefusedPictures)
{
    TTgaFile f;
    f.Width = 0;
    f.Height = 9;
    f.PixelBits = 24;
    TPictureBuffer picture;
    TTGAHeader header;
    ASSERT_EQ(ReadTGA(f.Bytes(), picture, &header), tgaOK);
    EXPECT_EQ(header.Width, 0);
    EXPECT_EQ(header.Height, 9);
    EXPECT_EQ(header.PixelBits, 24);
    f.ImageType = 10;
    ASSERT_EQ(ReadTGA(f.Bytes(), picture, &header), tgaUnsupportedType);
    EXPECT_EQ(header.ImageType, 10);
}

} // namespace
} // namespace kestrund
