// Targa pictures: the accepted subset, refusals with their codes and messages, headers that
// lie about the size of the data, and element pictures in and out of Targa files.

#include "Border.h"
#include "Errors.h"
#include "MiscFunc.h"
#include "Scratch.h"
#include "SetBuilders.h"
#include "Targa.h"
#include "TgaBuilder.h"
#include "Tile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <tuple>

namespace kestrund {
namespace {

using namespace testing;

std::vector<std::uint16_t> Rows(const TPictureBuffer& p) // top row first
{
    std::vector<std::uint16_t> words;
    for (int i = 0; i < p.Width() * p.Height(); ++i)
        words.push_back(p(i % p.Width(), i / p.Width()));
    return words;
}

// The message and code, or actual size, of the picture error that import raises.
template <class F>
std::string Refusal(F import)
{
    try {
        import();
    } catch (const EInvalidImageFormat& e) {
        return e.what() + Format(" #%u", e.Code);
    } catch (const EInvalidImageSize& e) {
        return e.what() + Format(" %ux%u", e.ActualWidth, e.ActualHeight);
    }
    return "accepted";
}

const TTgaFile Full24{.Width = 4, .Height = 3, .PixelBits = 24, .Pixels = std::vector<std::uint8_t>(36, 0x55)};

TEST(ReadTGA, GivesThePictureOrTheCodeAndTheHeader)
{
    struct Case { const char* name; TTgaFile file; int code; std::vector<std::uint16_t> rows = {}; int width = 0;
                  std::size_t cutTo = SIZE_MAX; }; // rows of the picture read; bytes of the file that are there
    const std::string footer = std::string(8, '\0') + "TRUEVISION-XFILE." + '\0';
    const Case cases[] = {
        {"SixteenBitsBottomUp", {.Width = 3, .Height = 2, .Pixels = Words({0x8001, 2, 3, 0x7FFF, 0xFFFF, 0})}, tgaOK,
         {0x7FFF, 0xFFFF, 0, 0x8001, 2, 3}, 3},
        {"Bgr24", {.Width = 3, .Height = 1, .PixelBits = 24, .Pixels = {0x18, 0x80, 0xF8, 7, 7, 7, 0xFF, 0xFF, 0xFF}},
         tgaOK, {0x7E03, 0, 0x7FFF}, 3},
        // Paint programs put the alpha depth in the low descriptor bits; only bits 5-7 matter.
        {"Bgra32AlphaIgnored", {.Width = 3, .Height = 1, .PixelBits = 32, .Descriptor = 8,
          .Pixels = {8, 0x10, 0x20, 0, 8, 0x10, 0x20, 0xFF, 0, 0, 0xFF, 0x80}}, tgaOK, {0x1041, 0x1041, 0x7C00}, 3},
        {"IDColourMapAndFooter", {.ColorMapType = 1, .ColorMapLength = 3, .ColorMapEntryBits = 15, .Width = 2,
          .Height = 2, .PixelBits = 24, .ID = {'h', 'i'}, .ColorMap = std::vector<std::uint8_t>(6, 0xEE),
          .Pixels = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, .Trailer = {footer.begin(), footer.end()}},
         tgaOK, {0x7C00, 0x7FFF, 0x001F, 0x03E0}, 2},
        // Only map type 1 announces a map; with type 0 the length fields are noise.
        {"MapFieldsOfMapType0", {.ColorMapLength = 100, .ColorMapEntryBits = 24, .Width = 1, .Height = 1,
          .Pixels = Words({0x1234})}, tgaOK, {0x1234}, 1},
        {"NoWidth", {.Width = 0, .Height = 5}, tgaOK, {0}, 1}, {"NoHeight", {.Width = 7, .Height = 0}, tgaOK, {0}, 1},
        // Checked in the order descriptor, image type, pixel size, our size limit.
        {"ColourMapped", {.ImageType = 1, .PixelBits = 8}, tgaUnsupportedType},
        {"RunLength", {.ImageType = 10}, tgaUnsupportedType}, {"Grey", {.ImageType = 3}, tgaUnsupportedType},
        {"TopLeft", {.Descriptor = 0x20}, tgaUnsupportedInterleave},
        {"TopLeftBeforeBits6And7", {.Descriptor = 0xE0}, tgaUnsupportedInterleave},
        {"Bit6", {.Descriptor = 0x40}, tgaInvalidFile}, {"Bit7", {.Descriptor = 0x80}, tgaInvalidFile},
        {"EightBits", {.PixelBits = 8}, tgaUnsupportedPixelSize},
        {"FifteenBits", {.PixelBits = 15}, tgaUnsupportedPixelSize},
        {"DescriptorBeforeType", {.ImageType = 1, .PixelBits = 8, .Descriptor = 0x20}, tgaUnsupportedInterleave},
        {"InvalidBeforeType", {.ImageType = 10, .Descriptor = 0x40}, tgaInvalidFile},
        {"TypeBeforeSizeLimit", {.ImageType = 10, .Width = 40000}, tgaUnsupportedType},
        {"Width32768", {.Width = 32768, .Height = 1}, tgaTooLarge},
        {"Height32768", {.Width = 1, .Height = 32768}, tgaTooLarge},
        {"Sides65535", {.Width = 65535, .Height = 65535}, tgaTooLarge},
        // Headers that claim more than the data holds.
        {"ShorterThanHeader", Full24, tgaReadError, {}, 0, 17}, {"HeaderOnly", Full24, tgaReadError, {}, 0, 18},
        {"OneByteShort", Full24, tgaReadError, {}, 0, 18 + 35},
        {"IDPastTheEnd", {.Width = 1, .Height = 1, .ID = std::vector<std::uint8_t>(200, 'x')}, tgaReadError, {}, 0,
         118},
        {"MapPastTheEnd", {.ColorMapType = 1, .ColorMapLength = 0xFFFF, .ColorMapEntryBits = 32, .Width = 1,
          .Height = 1, .Pixels = Words({1})}, tgaReadError},
    };
    for (const Case& c : cases) {
        TPictureBuffer picture(2, 2);
        TTGAHeader h;
        auto bytes = c.file.Bytes();
        bytes.resize(std::min(bytes.size(), c.cutTo));
        ASSERT_EQ(ReadTGA(bytes, picture, &h), c.code) << c.name;
        EXPECT_EQ(std::pair(picture.Width(), Rows(picture)), std::pair(c.width, c.rows)) << c.name;
        EXPECT_TRUE(c.cutTo < 18 || std::tuple(h.ImageType, h.Width, h.Height, h.PixelBits) ==
                                        std::tuple(c.file.ImageType, c.file.Width, c.file.Height, c.file.PixelBits));
    }
}

TEST(TGAErrorMessage, TextsAndReportedCodes)
{
    const std::string unknown = "Unknown error processing \"a b.tga\" #16";
    const std::pair<int, std::string> cases[] = {
        {1, "\"a b.tga\" is not a supported TGA-type #1"}, {2, "\"a b.tga\" is not a valid TGA-file #2"},
        {3, "\"a b.tga\" uses an unsupported or invalid Interleave format #3"},
        {4, "\"a b.tga\" uses an unsupported or invalid Pixel size #4"}, {5, unknown},
        {6, "\"a b.tga\" is too large: width and height must be below 32768 pixels #6"},
        {15, "Error loading \"a b.tga\" #15"}, {16, unknown}, {9, unknown}, {-1, unknown},
    };
    for (const auto& [code, message] : cases)
        EXPECT_EQ(Refusal([&] { RaiseTGAError(code, "a b.tga"); }), message);
}

TEST(WriteTGA, LaysOutHeaderAndRowsBottomUpAndReadsBack)
{
    TScratchDir dir;
    TPictureBuffer picture(2, 2), odd(5, 7), widest(32767, 1, 0x1234), highest(1, 32767, 0x4321), back;
    picture(0, 0) = 0x0001;
    picture(1, 0) = 0x8002; // the attribute bit is written as it is
    picture(0, 1) = 0x7C00;
    picture(1, 1) = 0x03E0;
    EXPECT_EQ(WriteTGA(picture), (std::vector<std::uint8_t>{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 16, 1,
                                                             0x00, 0x7C, 0xE0, 0x03, 0x01, 0x00, 0x02, 0x80}));
    for (int i = 0; i < 35; ++i) // 7 rows: four at a time, then one by one
        odd(i % 5, i / 5) = static_cast<std::uint16_t>(0x9000 + 37 * i);
    for (const TPictureBuffer* p : {&picture, &odd, &widest, &highest}) {
        ASSERT_EQ(ReadTGA(WriteTGA(*p), back), tgaOK);
        EXPECT_EQ(back, *p);
    }
    EXPECT_THROW(WriteTGA(TPictureBuffer(32768, 1)), EInvalidArgument);
    EXPECT_THROW(WriteTGA(TPictureBuffer(1, 32768)), EInvalidArgument);
    // Files are replaced whole; those that cannot be read are refused.
    WriteTGA(odd, SaveBytes(dir / "p.tga", std::vector<std::uint8_t>(5000, 0xAB)));
    EXPECT_EQ(LoadBytes(dir / "p.tga"), WriteTGA(odd));
    EXPECT_TRUE(ReadTGA(dir / "p.tga", back) == tgaOK && back == odd);
    for (const auto& [name, code] : {std::pair(SaveBytes(dir / "empty.tga", {}), tgaReadError),
                                     {dir / "missing.tga", tgaLoadError}, {dir.Path().string(), tgaLoadError}})
        EXPECT_EQ(ReadTGA(name, back), code) << name;
}

// A header that claims 4 GiB of pixels must be refused before anything of that size is
// made: shown in a child whose address space is capped a little above what it uses.
void CapAddressSpace()
{
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t limit = pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) + (256u << 20);
    const rlimit r{limit, limit};
    if (::setrlimit(RLIMIT_AS, &r) != 0)
        std::_Exit(3);
}

// Shows the cap stops an allocation of that size, so the reading below can fail. (Left out
// of the sanitizer build, whose allocator aborts instead of throwing.)
TEST(ReadTGAHostileDeathTest, CappedMemoryReallyStopsALargeAllocation)
{
    auto allocate = [] {
        CapAddressSpace();
        try {
            std::_Exit(TPictureBuffer(32767, 32767).Width() == 32767 ? 1 : 2);
        } catch (const std::bad_alloc&) {
            std::_Exit(0);
        }
    };
    EXPECT_EXIT(allocate(), ::testing::ExitedWithCode(0), "");
}

TEST(ReadTGAHostileDeathTest, HugeHeaderOnSmallDataAllocatesNothingLarge)
{
    const TTgaFile huge{.Width = 32767, .Height = 32767, .PixelBits = 32};
    TTgaFile partial = huge;
    partial.Pixels.assign(1 << 20, 0x77);
    auto read = [&] {
        CapAddressSpace();
        TPictureBuffer p;
        std::_Exit(ReadTGA(huge.Bytes(), p) == tgaReadError && ReadTGA(partial.Bytes(), p) == tgaReadError ? 0 : 1);
    };
    EXPECT_EXIT(read(), ::testing::ExitedWithCode(0), "");
}

// ---- element pictures ----

constexpr TColor Background = 0xFF00FF, Shadow = 0x808080; // 0x7C1F and 0x4210 in mode 0

// The rows of a tile's overlay; rows 0 (blank) and 10 (background only) drop out of a trip
// through a picture. Row 30 is left of the diamond.
TRows TileOverlayRows(std::uint8_t mode, bool withDroppedRows)
{
    const std::uint16_t bg = ColorToPixel(Background, mode);
    TRows rows{{2, {0x0A0A, 0x0C03, 0x1214, 0x2345, 0x3456, 0xED51}}, {5, {0x0D05, 0x0C02, 0x0111, 0x0202, 0xFA57}},
               {30, {0x0C02, 0x0313, 0x0444, 0xFA5C}}};
    if (withDroppedRows)
        rows.insert({{0, {0xFA5E}}, {10, {0x0C03, bg, bg, bg, 0xFA5B}}});
    return rows;
}

TRows OverlayRows() // 94 pixels wide, 7 rows high
{
    std::vector<std::uint16_t> shadowAndLiterals{0x0C02, 0x0757, 0x0888, 0x0D03, 0xEC59};
    shadowAndLiterals.insert(shadowAndLiterals.end(), 89, 0x0999);
    return {{3, {0x0D0A, 0x0C02, 0x0555, 0x0646, 0xFA52}}, {5, {0x0A05, 0xED59}}, {6, shadowAndLiterals}};
}

TTileBorder NumberedBorder(std::uint8_t mode)
{
    TTileBorder border(mode);
    for (auto& edge : border.Edges)
        for (std::size_t i = 0; i < edge.Pixels.size(); ++i)
            edge.Pixels[i] = static_cast<std::uint16_t>((edge.Edge * 0x1000 + i * 11 + 1) & (mode ? 0xFFDF : 0x7FFF));
    return border;
}

// Tiles, borders and overlays make the round trip; refused pictures raise the reader's
// message and change nothing, and exports that cannot be written leave no file.
TEST(ElementTGA, RoundTripsRefusalsAndFailedExportsInBothModes)
{
    for (std::uint8_t mode : {cmRGB555, cmRGB565}) {
        SCOPED_TRACE(int(mode));
        TScratchDir dir;
        TTile tile(0, mode);
        for (std::size_t i = 0; i < tile.Pixels.size(); ++i) // mode 1 has no spare bit 5 for a trip through mode 0
            tile.Pixels[i] = std::uint16_t(mode ? (i * 29 + 1) & ~0x20 : (i * 29 + 1) | (i % 3 ? 0 : 0x8000));
        PutLines(*(tile.Overlay = std::make_unique<TTileOverlay>(mode)), TileOverlayRows(mode, true));
        TTileOverlay kept(mode);
        PutLines(kept, TileOverlayRows(mode, false));
        tile.ExportTGA(dir / "t.tga", Background, Shadow);
        TPictureBuffer p;
        ASSERT_EQ(ReadTGA(dir / "t.tga", p), tgaOK);
        EXPECT_EQ(std::vector<int>({p.Width(), p.Height(), p(0, 0), p(93, 71), p(10, 2), p(13, 2)}),
                  std::vector<int>({94, 72, 0x7C1F, 0x7C1F, ConvertPixel(0x1214, mode, 0), 0x4210})); // shadow solid
        for (int mask : {0, 1, 2, 5, 10, 15}) { // the marker border leaves edge numbers in the ground
            TTile back(0x123456, mode);
            back.BorderEdges = 9;
            back.ImportTGA(dir / "t.tga", Background, Shadow, mask);
            auto expected = tile.Pixels;
            for (int k = 0; k < 4; ++k)
                for (const TMaskPoint& m : BorderMask(k))
                    if (mask >> k & 1)
                        expected.at(static_cast<std::size_t>(DiamondRow(m.Y).Start + m.X - DiamondRow(m.Y).Left)) = k;
            EXPECT_EQ(back.Pixels, expected) << mask;
            EXPECT_TRUE(back.Overlay && back.BorderEdges == 9 && back.Overlay->SamePicture(kept)) << mask;
            const TTgaFile plain{.Width = 94, .Height = 72, .Pixels = Words({0x7C1F}, 94 * 72)};
            back.ImportTGA(SaveBytes(dir / "plain.tga", plain.Bytes()), Background, Shadow, mask);
            EXPECT_FALSE(back.Overlay);
        }
        // Borders: all edges, or one copied into every orientation so that they mirror each other.
        NumberedBorder(mode).ExportTGA(dir / "b.tga", 15, Background);
        TTileBorder border(mode, clRed);
        border.ImportTGA(dir / "b.tga");
        EXPECT_TRUE(border == NumberedBorder(mode));
        for (int source = 0; source < 4; ++source) {
            TTileBorder one(mode, clRed);
            one.ImportTGA(dir / "b.tga", source + 1);
            EXPECT_EQ(one.Edges[source].Pixels, border.Edges[source].Pixels);
            one.ExportTGA(dir / "one.tga", 15, Background);
            ASSERT_EQ(ReadTGA(dir / "one.tga", p), tgaOK);
            for (int k = 0; k < 4; ++k)
                for (const TMaskPoint& m : BorderMask(k))
                    ASSERT_TRUE(p(m.X, m.Y) == p(93 - m.X, m.Y) && p(m.X, m.Y) == p(m.X, 95 - m.Y)) << source << k;
        }
        for (int which : {5, -1, 100})
            EXPECT_EQ(Thrown<EInvalidArgument>([&] { border.ImportTGA(dir / "b.tga", which); }),
                      std::to_string(which) + " not in the range 0-4");
        // Overlays: as wide as the widest line, down to the last; the other fields stay.
        TRiver river(mode), back(mode);
        PutLines(river, OverlayRows());
        river.ExportTGA(dir / "r.tga", Background, Shadow);
        ASSERT_EQ(ReadTGA(dir / "r.tga", p), tgaOK);
        EXPECT_EQ(std::pair(p.Width(), p.Height()), std::pair(94, 7));
        back.ImprovementID = back.Directions[4] = 9;
        PutLines(back, {{0, {0x0C01, 0x1111, 0xFA5D}}});
        back.ImportTGA(dir / "r.tga", Background, Shadow);
        EXPECT_TRUE(back.SamePicture(river) && back.ImprovementID == 9 && back.Directions[4] == 9);

        const std::string file = dir / "bad.tga", name = "\"" + file + "\"";
        TTgaFile wide{.Width = 95, .Height = 72, .Pixels = Words({0x1111}, 95 * 72)}, cut = Full24;
        cut.Pixels.pop_back();
        // The picture (none: no file), the refusal for tiles and borders, and for overlays (none: taken).
        const std::tuple<std::vector<std::uint8_t>, std::string, std::string> refused[] = {
            {{}, "Error loading " + name + " #15", "Error loading " + name + " #15"},
            {TTgaFile{.ImageType = 10}.Bytes(), name + " is not a supported TGA-type #1",
             name + " is not a supported TGA-type #1"},
            {cut.Bytes(), "Unknown error processing " + name + " #16", "Error converting " + name + " #5"},
            {wide.Bytes(), "Image must be of size 94x72 95x72", ""},
            {TTgaFile{.Width = 0, .Height = 72}.Bytes(), "Image must be of size 94x72 1x1", ""}, // read as 1 x 1
        };
        TTile before(0, mode);
        before.Assign(tile);
        for (const auto& [bytes, message, overlayMessage] : refused) {
            if (!bytes.empty())
                SaveBytes(file, bytes);
            EXPECT_EQ(Refusal([&] { tile.ImportTGA(file, Background, Shadow, 15); }), message);
            EXPECT_EQ(Refusal([&] { border.ImportTGA(file, 2); }), message);
            EXPECT_EQ(overlayMessage.empty() ? "" : Refusal([&] { back.ImportTGA(file, Background, Shadow); }),
                      overlayMessage);
            EXPECT_TRUE(tile.SameAs(before) && border == NumberedBorder(mode) && back.SamePicture(river)) << message;
        }
        std::filesystem::create_directory(dir / "folder.tga");
        for (const auto& [name, why] : {std::pair{dir / "missing/x.tga", "No such file or directory"},
                                        std::pair{dir / "folder.tga", "Is a directory"}})
            for (const std::function<void()>& write : std::initializer_list<std::function<void()>>{
                     [&] { WriteTGA(TPictureBuffer(2, 2), name); }, [&] { tile.ExportTGA(name, Background, Shadow); },
                     [&] { border.ExportTGA(name, 15, Background); },
                     [&] { river.ExportTGA(name, Background, Shadow); }})
                EXPECT_EQ(Thrown<EFileCreateError>(write), "Cannot create file \"" + name + "\". " + why);
        // An overlay without lines writes nothing, not even over an old file.
        TTileImprovement empty(mode), widest(mode), damaged(mode);
        empty.ExportTGA(SaveBytes(file, {1, 2, 3}), Background, Shadow);
        EXPECT_EQ(LoadBytes(file), (std::vector<std::uint8_t>{1, 2, 3}));
        // A damaged overlay may claim rows too wide for any picture: refused before drawing.
        std::vector<std::uint16_t> runs(128, 0x0AFF); // 128 runs of 255 pixels and 127 more: the widest picture
        runs.push_back(0xFA7F);
        PutLines(widest, {{0, runs}});
        widest.ExportTGA(dir / "widest.tga", Background, Shadow);
        runs.insert(runs.begin(), 2, 0x0AFF);
        PutLines(damaged, {{0, runs}});
        EXPECT_EQ(Thrown<EInvalidArgument>([&] { damaged.ExportTGA(dir / "w.tga", Background, Shadow); }),
                  "A picture of 33277x1 pixels is too large for a TGA file");
        EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"b.tga", "bad.tga", "folder.tga", "one.tga", "plain.tga",
                                                           "r.tga", "t.tga", "widest.tga"}));
    }
}

} // namespace
} // namespace kestrund
