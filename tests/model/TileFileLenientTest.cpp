// What older and hand-made tile files carry that the reader takes as it is: sections
// missing at the end, words after a line's end run; and what saving keeps of the file
// it replaces.

#include "Errors.h"
#include "Scratch.h"
#include "SetBuilders.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrund {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// Empties the sections after `last` (0 tile rules .. 5 variation rules).
void EmptyAfter(TTileFile& set, int last)
{
    const TTileFile fresh;
    if (last < 1) {
        while (set.BorderCount())
            set.DeleteBorder(0);
        set.BorderHeader = fresh.BorderHeader;
    }
    if (last < 2) {
        while (set.TileCount())
            set.DeleteTile(0);
        set.TileHeader = fresh.TileHeader;
    }
    while (last < 3 && set.RiverCount())
        set.DeleteRiver(0);
    while (last < 4 && set.ImprovementCount())
        set.DeleteImprovement(0);
    while (last < 5 && set.VariationRuleCount())
        set.DeleteVariationRule(0);
}

TEST(TileFileEnds, AFileEndingAfterAnySectionLoadsWithTheRestEmpty)
{
    const auto full = MakeSet({}, 11)->SaveToMemory(cmRGB555);
    // Bytes an empty section takes: its count, and the borders' and tiles' headers.
    const std::size_t emptySection[6] = {2, 8, 4, 2, 2, 2};
    for (int last = 0; last < 5; ++last) {
        SCOPED_TRACE(last);
        TTileFile expected;
        expected.LoadFromMemory(full, false);
        EmptyAfter(expected, last);
        const auto resaved = expected.SaveToMemory(cmRGB555);
        std::size_t end = resaved.size();
        for (int k = last + 1; k < 6; ++k)
            end -= emptySection[k];

        TTileFile set;
        const auto info = set.LoadFromMemory(std::span(full.data(), end), false);
        EXPECT_EQ(info.MissingSections, static_cast<std::size_t>(5 - last));
        EXPECT_EQ(info.TrailingBytes, 0u);
        EXPECT_TRUE(SameSet(set, expected));
        EXPECT_EQ(set.SaveToMemory(cmRGB555), resaved) << "every section is written";
        // A file that stops inside a record is still refused, and leaves the set.
        EXPECT_THROW(set.LoadFromMemory(std::span(full.data(), end - 1), false), EFileFormatError);
        EXPECT_TRUE(SameSet(set, expected));
    }
    TTileFile set;
    EXPECT_THROW(set.LoadFromMemory(std::span(full.data(), 0), false), EFileFormatError);
}

TEST(TileFileEnds, AppendingAFileWithoutBordersKeepsTheHeaders)
{
    auto set = MakeSmallSet();
    const auto header = set->BorderHeader;
    const auto tileHeader = set->TileHeader;
    const auto rulesOnly = MakeSet({.TileRules = 2}, 3)->SaveToMemory(cmRGB555);
    const auto info = set->LoadFromMemory(std::span(rulesOnly.data(), 2 + 2 * 30), true);
    EXPECT_EQ(info.MissingSections, 5u);
    EXPECT_EQ(set->TileRuleCount(), 3u);
    EXPECT_EQ(set->TileCount(), 2u);
    EXPECT_EQ(set->BorderHeader, header);
    EXPECT_EQ(set->TileHeader, tileHeader);
}

// The small set's file with a word after row 2's end run and two words of padding after
// the last line; both look like a literal run, which must not be converted.
std::vector<std::uint8_t> PaddedSmallFile(int mode)
{
    auto d = MakeSmallSet()->SaveToMemory(mode);
    Put16(d, small::Tile1SizeAt, 30);
    Put16(d, small::Tile1BlockAt + 8, 4); // row 4
    Put16(d, small::Tile1BlockAt + 10, 6); // row 5
    d.insert(d.begin() + small::Tile1DataAt + 6, {0x01, 0x0C});
    d.insert(d.begin() + small::Tile1DataAt + 14, {0x01, 0x0C, 0xFF, 0x7F});
    return d;
}

TEST(TileFileLines, WordsAfterTheEndRunAreKeptAndNeverDrawn)
{
    const auto padded = PaddedSmallFile(cmRGB555);
    TTileFile set;
    set.LoadFromMemory(padded, false);
    EXPECT_EQ(set.SaveToMemory(cmRGB555), padded) << "re-saved byte for byte";
    EXPECT_EQ(set.SaveToMemory(cmRGB565), PaddedSmallFile(cmRGB565)) << "pixels converted, padding kept";

    const TTileOverlay& overlay = *set.Tile(1).Overlay;
    EXPECT_EQ(overlay.Line(2)->Width, 2);
    EXPECT_EQ(overlay.Line(5)->Words, (std::vector<std::uint16_t>{0xFA5E, 0x0C01, 0x7FFF}));
    TPictureBuffer drawn(TileWidth, TileHeight, 0x1234);
    TPictureBuffer plain(TileWidth, TileHeight, 0x1234);
    overlay.DrawToBuffer(0, 0, false, 0, drawn);
    MakeSmallSet()->Tile(1).Overlay->DrawToBuffer(0, 0, false, 0, plain);
    EXPECT_TRUE(drawn == plain);
}

TEST(WholeFiles, SavingKeepsTheTargetsPermissionsAndLinks)
{
    TScratchDir dir;
    const auto set = MakeSmallSet();
    WriteText(dir / "real.til", "old");
    const auto shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(dir / "real.til", shared);
    fs::create_symlink("real.til", dir / "link.til");
    set->SaveToFile(dir / "link.til", cmRGB555);
    EXPECT_TRUE(fs::is_symlink(dir / "link.til"));
    EXPECT_EQ(LoadBytes(dir / "real.til"), set->SaveToMemory(cmRGB555));
    EXPECT_EQ(fs::status(dir / "real.til").permissions(), shared);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"link.til", "real.til"}));
}

TEST(WholeFiles, ErrorsSayWhy)
{
    TScratchDir dir;
    fs::create_directory(dir / "folder.til");
    TTileFile set;
    struct TCase {
        std::string File;
        bool Save;
        std::string Message;
    };
    const TCase cases[] = {
        {dir / "missing.til", false, "Cannot open file \"" + dir / "missing.til" + "\". No such file or directory"},
        {dir / "folder.til", false, "Cannot open file \"" + dir / "folder.til" + "\". Is a directory"},
        {dir / "no/x.til", true, "Cannot create file \"" + dir / "no/x.til" + "\". No such file or directory"},
        {dir / "folder.til", true, "Cannot create file \"" + dir / "folder.til" + "\". Is a directory"},
    };
    for (const TCase& c : cases) {
        try {
            if (c.Save)
                set.SaveToFile(c.File, cmRGB555);
            else
                set.LoadFromFile(c.File, false);
            ADD_FAILURE() << c.File;
        } catch (const EKestrundError& e) {
            EXPECT_EQ(e.what(), c.Message);
        }
    }
}

} // namespace
} // namespace kestrund
