// Damaged tile files: every inconsistency is an error naming section, element and
// offset, and the set being read into stays exactly as it was.

#include "SetBuilders.h"

#include "Errors.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <functional>

namespace kestrund {
namespace {

using namespace testing;

struct TDamage {
    const char* Name;
    std::function<void(std::vector<std::uint8_t>&)> Apply;
    const char* Message;
};

void PrintTo(const TDamage& damage, std::ostream* os) { *os << damage.Name; }

const std::vector<TDamage>& Damages()
{
    using V = std::vector<std::uint8_t>;
    static const std::vector<TDamage> damages{
        {"EmptyFile", [](V& d) { d.clear(); },
         "TileRules: the section header ends past the end of the file (offset 0)"},
        {"EndsInsideBorderHeader", [](V& d) { d.resize(small::BordersAt + 4); },
         "Borders: the section header ends past the end of the file (offset 32)"},
        {"EndsAtSectionBoundary", [](V& d) { d.resize(small::RiversAt); },
         "Rivers: the section header ends past the end of the file (offset 12120)"},
        {"EndsBeforeLastSection", [](V& d) { d.resize(small::VariationRulesAt); },
         "VariationRules: the section header ends past the end of the file (offset 12166)"},
        {"TileCountLargerThanData", [](V& d) { Put16(d, small::TilesAt, 3); },
         "Tiles: count 3 is larger than the data (offset 2860)"},
        {"RuleCountLargerThanData", [](V& d) { Put16(d, 0, 0xFFFF); },
         "TileRules: count 65535 is larger than the data (offset 0)"},
        {"VariationRuleCountLargerThanData", [](V& d) { Put16(d, small::VariationRulesAt, 2); },
         "VariationRules: element 1 ends past the end of the file (offset 12178)"},
        {"EndsInsideOverlayBlock", [](V& d) { d.resize(small::Tile1BlockAt + 14); },
         "Tiles: element 1 ends past the end of the file (offset 7480)"},
        {"StepCountPastTheEnd", [](V& d) { Put16(d, small::VariationRule0At, 5); },
         "VariationRules: element 0 ends past the end of the file (offset 12168)"},
        {"RiverBlockPastTheEnd", [](V& d) { Put16(d, small::River0At + 20, 0x4000); },
         "Rivers: element 0 ends past the end of the file (offset 12122)"},
        {"OffsetsNotAscending", [](V& d) { Put16(d, small::Tile1BlockAt + 10, 1); },
         "Tiles: element 1 has overlay offsets that are not ascending at row 5 (offset 12106)"},
        {"OffsetOutsideBlock", [](V& d) { Put16(d, small::Tile1BlockAt + 10, 6); },
         "Tiles: element 1 has an overlay offset outside its block at row 5 (offset 12106)"},
        {"FirstOffsetNotZero", [](V& d) { Put16(d, small::Tile1BlockAt + 4, 1); },
         "Tiles: element 1 has a first overlay offset other than 0 at row 2 (offset 12100)"},
        {"LineOfZeroWords", [](V& d) { Put16(d, small::Tile1BlockAt + 8, 0); },
         "Tiles: element 1 has an overlay line of zero words at row 2 (offset 12108)"},
        {"LiteralPixelsPastLine", [](V& d) { Put16(d, small::Tile1DataAt, 0xEC05); },
         "Tiles: element 1 has an overlay line whose literal pixels run past its words at row 2 (offset 12108)"},
        {"LineWithoutEndRun", [](V& d) { Put16(d, small::Tile1DataAt, 0x0C02); },
         "Tiles: element 1 has an overlay line that does not end with its end run at row 2 (offset 12108)"},
        {"BlockSizeTooLarge", [](V& d) { Put16(d, small::Tile1SizeAt, 26); },
         "Tiles: element 1 has an overlay block size (26 bytes) that disagrees with its contents (offset 12096)"},
        {"BlockSizeOdd", [](V& d) { Put16(d, small::Tile1SizeAt, 23); },
         "Tiles: element 1 has an overlay block size (23 bytes) that disagrees with its contents (offset 12096)"},
        {"BlockSizeBelowHeader", [](V& d) { Put16(d, small::Tile1SizeAt, 2); },
         "Tiles: element 1 has an overlay block size (2 bytes) that disagrees with its contents (offset 12096)"},
        {"BlockTooSmallForOffsetTable", [](V& d) { Put16(d, small::Tile1BlockAt + 2, 20); },
         "Tiles: element 1 has an overlay block size (24 bytes) that disagrees with its contents (offset 12096)"},
        {"LastLineBeforeFirstLine", [](V& d) { Put16(d, small::Tile1BlockAt + 2, 1); },
         "Tiles: element 1 has an overlay whose LastLine (1) is not a row at or after its FirstLine (2) "
         "(offset 12096)"},
        {"EmptyOverlayWithLongerBlock", [](V& d) { Put16(d, small::Improvement0At + 6, 0xFFFF); },
         "Improvements: element 0 has an overlay block size (8 bytes) that disagrees with its contents "
         "(offset 12158)"},
        {"ImprovementBlockOfNoWords", [](V& d) { Put16(d, small::Improvement0At + 2, 0); },
         "Improvements: element 0 has an overlay block size (0 bytes) that disagrees with its contents "
         "(offset 12158)"},
    };
    return damages;
}

class TileFileBadInput : public ::testing::TestWithParam<TDamage> {};

TEST_P(TileFileBadInput, GivesItsErrorAndLeavesTheSetUnchanged)
{
    auto data = MakeSmallSet()->SaveToMemory(cmRGB555);
    GetParam().Apply(data);
    for (bool append : {false, true}) {
        SCOPED_TRACE(append ? "append" : "open");
        auto set = MakeSet(TSetShape{}, 42);
        const auto before = set->SaveToMemory(cmRGB555);
        try {
            set->LoadFromMemory(data, append);
            FAIL() << "no error";
        } catch (const EFileFormatError& e) {
            EXPECT_STREQ(e.what(), GetParam().Message);
        }
        EXPECT_EQ(set->SaveToMemory(cmRGB555), before);
        EXPECT_TRUE(SameSet(*set, *MakeSet(TSetShape{}, 42)));
    }
}

INSTANTIATE_TEST_SUITE_P(Damages, TileFileBadInput, ::testing::ValuesIn(Damages()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(TileFileBadInputSweep, RowsNoBytePaysForAreBounded)
{
    // 14-byte improvements each claiming rows up to 65534: without a bound, a file of a few
    // kilobytes would take gigabytes of row slots.
    TTileFile empty;
    empty.Clear();
    auto data = empty.SaveToMemory(cmRGB555);
    data.resize(data.size() - 4); // drop the improvement and variation rule counts
    const std::size_t improvementsAt = data.size();
    data.resize(improvementsAt + 2);
    Put16(data, improvementsAt, 1000);
    for (int i = 0; i < 1000; ++i)
        for (std::uint16_t w : {std::uint16_t(i), std::uint16_t(8), std::uint16_t(0), std::uint16_t(0xFFFE),
                                std::uint16_t(0xFFFE), std::uint16_t(0), std::uint16_t(0xFA01)}) {
            data.push_back(static_cast<std::uint8_t>(w));
            data.push_back(static_cast<std::uint8_t>(w >> 8));
        }
    data.insert(data.end(), {0, 0});
    ASSERT_EQ(data.size(), improvementsAt + 2 + 14000 + 2);
    auto set = MakeSmallSet();
    try {
        set->LoadFromMemory(data, false);
        FAIL() << "no error";
    } catch (const EFileFormatError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Improvements: element 16 has overlay rows out of all proportion to the size of the file (offset " +
                      std::to_string(improvementsAt + 2 + 16 * 14) + ")");
    }
    EXPECT_TRUE(SameSet(*set, *MakeSmallSet()));
    // A few such overlays fit the bound and read back as they were written.
    Put16(data, improvementsAt, 10);
    data.resize(improvementsAt + 2 + 140);
    data.insert(data.end(), {0, 0});
    set->LoadFromMemory(data, false);
    EXPECT_EQ(set->Improvement(1).FirstLine, 0xFFFE);
    EXPECT_EQ(set->SaveToMemory(cmRGB555), data);
}

TEST(TileFileBadInputSweep, EveryPrefixOfAValidFileIsAnError)
{
    const auto data = MakeSmallSet()->SaveToMemory(cmRGB555);
    auto set = MakeSet(TSetShape{}, 8);
    const auto before = set->SaveToMemory(cmRGB555);
    const auto headers = std::make_pair(set->BorderHeader, set->TileHeader);
    for (std::size_t length = 0; length < data.size(); ++length) {
        const std::span<const std::uint8_t> prefix(data.data(), length);
        EXPECT_THROW(set->LoadFromMemory(prefix, length % 2 == 0), EFileFormatError) << "prefix " << length;
        ASSERT_EQ(set->TileCount(), 4u) << "prefix " << length;
        ASSERT_EQ(std::make_pair(set->BorderHeader, set->TileHeader), headers);
    }
    EXPECT_EQ(set->SaveToMemory(cmRGB555), before);
    set->LoadFromMemory(data, false); // and the whole file is fine
    EXPECT_TRUE(SameSet(*set, *MakeSmallSet()));
}

TEST(TileFileBadInputSweep, EveryPrefixOfASetWithOverlaysIsAnError)
{
    // Larger overlays, empty overlays and stepless rules: every cut lands somewhere new.
    TSetShape shape;
    shape.OverlayWidth = 20;
    shape.OverlayHeight = 9;
    const auto data = MakeSet(shape, 21)->SaveToMemory(cmRGB555);
    TTileFile set;
    for (std::size_t length = 0; length < data.size(); ++length)
        ASSERT_THROW(set.LoadFromMemory(std::span(data.data(), length), false), EFileFormatError)
            << "prefix " << length;
    EXPECT_EQ(set.TileCount(), 1u);
}

TEST(TileFileBadInputSweep, DamagedBytesNeverCrash)
{
    // The small file's counts, headers, record fields and overlay bytes, each set to a few
    // hostile values: every read either raises a model error or accepts a file that it
    // saves back byte for byte (less the bytes after the last section).
    const auto clean = MakeSmallSet()->SaveToMemory(cmRGB555);
    std::vector<std::size_t> positions;
    for (std::size_t at = 0; at < 40; ++at) // counts, headers, the first records
        positions.push_back(at);
    for (std::size_t at = small::TilesAt; at < small::Tile0At + 8; ++at)
        positions.push_back(at);
    for (std::size_t at = small::Tile1SizeAt; at < clean.size(); ++at)
        positions.push_back(at);
    for (const std::size_t at : positions)
        for (std::uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
            auto data = clean;
            data[at] = value;
            TTileFile set;
            try {
                const auto info = set.LoadFromMemory(data, false);
                const std::vector<std::uint8_t> expected(data.begin(),
                                                         data.end() - static_cast<std::ptrdiff_t>(info.TrailingBytes));
                ASSERT_EQ(set.SaveToMemory(cmRGB555), expected) << "byte " << at << " = " << int(value);
            } catch (const EKestrundError&) {
                ASSERT_EQ(set.TileCount(), 1u);
            }
        }
}

} // namespace
} // namespace kestrund
