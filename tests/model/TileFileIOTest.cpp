// Tile file reading and writing: round trips, pixel layouts, appending, limits, files.

#include "SetBuilders.h"
#include "Scratch.h"

#include "Errors.h"
#include "FileUtil.h"
#include "MiscFunc.h"
#include "TileFile.h"
#include "TileFileIO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

namespace kestrund {
namespace {

using namespace testing;
namespace fs = std::filesystem;

std::vector<std::uint8_t> Save(const TTileFile& set, int mode) { return set.SaveToMemory(mode); }

std::unique_ptr<TTileFile> Load(const std::vector<std::uint8_t>& data, std::uint8_t mode)
{
    auto set = std::make_unique<TTileFile>();
    set->ColorMode = mode;
    set->LoadFromMemory(data, false);
    return set;
}

TEST(TileFileRoundTrip, DefaultSetHasTheDocumentedLayout)
{
    TTileFile set; // one default element of each kind
    const auto data = Save(set, cmRGB555);
    const std::size_t riverAt = 2 + 30 + 2 + 6 + 2820 + 2 + 2 + 4616 + 2;
    EXPECT_EQ(data.size(), riverAt + 18 + 6 + 4 + 2 + 6 + 4 + 2 + 2 + 4);
    EXPECT_EQ(Get16(data, riverAt - 4), 0); // the default tile has no overlay: B = 0
    EXPECT_EQ(Get16(data, riverAt + 18 + 2), 4); // the river's empty block
    EXPECT_EQ(Get16(data, riverAt + 18 + 6), 0xFFFF);
    EXPECT_EQ(Get16(data, riverAt + 18 + 8), 0xFFFF);

    const auto back = Load(data, cmRGB555);
    EXPECT_TRUE(SameSet(set, *back));
    EXPECT_FALSE(back->Tile(0).Overlay);
    EXPECT_EQ(back->River(0).DataSize, 4);
    EXPECT_EQ(back->VariationRule(0).StepCount(), 1u);
}

TEST(TileFileRoundTrip, SmallSetBytesAreWhereTheLayoutPutsThem)
{
    const auto set = MakeSmallSet();
    const auto data = Save(*set, cmRGB555);
    ASSERT_EQ(data.size(), small::FileSize);
    EXPECT_EQ(Get16(data, small::BordersAt + 2), 7);
    EXPECT_EQ(Get16(data, small::TilesAt + 2), 0x0102);
    EXPECT_EQ(Get16(data, small::Tile0At + 4614), 0);
    EXPECT_EQ(Get16(data, small::Tile1SizeAt), 24);
    const std::uint16_t block[] = {2, 5, 0, 0xFFFF, 3, 5, 0xEC02, 0x1111, 0x2222, 0x0A05, 0xED03, 0xFA5E};
    for (std::size_t i = 0; i < std::size(block); ++i)
        EXPECT_EQ(Get16(data, small::Tile1BlockAt + 2 * i), block[i]) << "word " << i;
    EXPECT_EQ(Get16(data, small::River0At + 20), 4);
    EXPECT_EQ(Get16(data, small::Improvement0At + 2), 8);
    EXPECT_EQ(Get16(data, small::VariationRule0At), 2);

    const auto back = Load(data, cmRGB555);
    EXPECT_TRUE(SameSet(*set, *back));
    // Bookkeeping of where records were found.
    EXPECT_EQ(back->River(0).FilePosition, small::River0At + 18);
    EXPECT_EQ(back->River(0).DataSize, 4);
    EXPECT_EQ(back->Improvement(0).FilePosition, small::Improvement0At);
    EXPECT_EQ(back->Improvement(0).DataSize, 8);
    EXPECT_EQ(back->Tile(1).Overlay->DataSize, 24);
    // The row between FirstLine and LastLine without a line comes back empty.
    EXPECT_EQ(back->Tile(1).Overlay->Line(3), nullptr);
    EXPECT_EQ(back->Tile(1).Overlay->Line(4)->Width, 8);
}

TEST(TileFileRoundTrip, BothModesGiveTheSameElementsAndTheSameBytes)
{
    for (std::uint8_t mode : {cmRGB555, cmRGB565}) {
        SCOPED_TRACE(int(mode));
        const auto set = MakeSet(TSetShape{}, 11, mode);
        const auto data = Save(*set, mode);
        const auto back = Load(data, mode);
        EXPECT_TRUE(SameSet(*set, *back));
        EXPECT_EQ(Save(*back, mode), data);
    }
}

TEST(TileFileRoundTrip, GameShapedSetReadsAndSavesBackUnchanged)
{
    // A few thousand elements, overlays up to 255 pixels wide and 200 rows high with empty
    // rows inside, ImageSize values other than 4608, pixels with bit 15 set.
    TSetShape shape;
    shape.TileRules = 600;
    shape.Borders = 300;
    shape.Tiles = 1200;
    shape.TilesWithOverlay = 150;
    shape.Rivers = 40;
    shape.Improvements = 200;
    shape.VariationRules = 30;
    shape.OverlayWidth = 255;
    shape.OverlayHeight = 200;
    for (std::uint8_t mode : {cmRGB555, cmRGB565}) {
        SCOPED_TRACE(int(mode));
        const auto set = MakeSet(shape, 99, mode);
        const auto data = Save(*set, mode);
        const auto back = Load(data, mode);
        EXPECT_TRUE(SameSet(*set, *back));
        EXPECT_EQ(Save(*back, mode), data);
        int widest = 0;
        for (std::size_t i = 0; i < back->ImprovementCount(); ++i)
            widest = std::max(widest, back->Improvement(i).MaxWidth());
        EXPECT_EQ(widest, 255);
    }
}

TEST(TileFileModes, FilesOfBothLayoutsDifferOnlyInPixelWords)
{
    const auto set = MakeSmallSet(cmRGB555);
    const auto file555 = Save(*set, cmRGB555);
    const auto file565 = Save(*set, cmRGB565);
    ASSERT_EQ(file555.size(), file565.size());
    std::vector<bool> pixel(file555.size(), false);
    auto mark = [&](std::size_t at, std::size_t words) {
        for (std::size_t i = 0; i < 2 * words; ++i)
            pixel[at + i] = true;
    };
    mark(small::BordersAt + 8 + 4, 4 * BorderPixelCount);
    mark(small::Tile0At + 6, GroundPixelCount);
    mark(small::Tile1At + 6, GroundPixelCount);
    mark(small::Tile1DataAt + 2, 2); // the literal run's two pixels; its header stays
    for (std::size_t i = 0; i + 1 < file555.size(); i += 2) {
        if (pixel[i])
            EXPECT_EQ(Get16(file565, i), ConvertPixel(Get16(file555, i), cmRGB555, cmRGB565)) << "at " << i;
        else
            EXPECT_EQ(Get16(file565, i), Get16(file555, i)) << "at " << i;
    }
}

TEST(TileFileModes, GreenBitOf565IsLostThrough555AndBit15Through565)
{
    // 5-5-5 set -> 5-6-5 file -> set tagged 5-6-5 -> 5-5-5 file: every pixel word but bit 15.
    const auto set555 = MakeSet(TSetShape{}, 5, cmRGB555);
    const auto first = Save(*set555, cmRGB555);
    const auto via565 = Load(Save(*set555, cmRGB565), cmRGB565);
    const auto again = Load(Save(*via565, cmRGB555), cmRGB555);
    ASSERT_EQ(Save(*again, cmRGB555).size(), first.size());
    for (std::size_t t = 0; t < set555->TileCount(); ++t)
        for (std::size_t i = 0; i < GroundPixelCount; ++i)
            ASSERT_EQ(again->Tile(t).Pixels[i], set555->Tile(t).Pixels[i] & 0x7FFF);
    for (std::size_t k = 0; k < 4; ++k)
        for (std::size_t i = 0; i < BorderPixelCount; ++i)
            ASSERT_EQ(again->Border(0).Edges[k].Pixels[i], set555->Border(0).Edges[k].Pixels[i] & 0x7FFF);

    // 5-6-5 -> 5-5-5 -> 5-6-5: the lowest green bit (bit 5) does not survive.
    const auto set565 = MakeSmallSet(cmRGB565);
    set565->Tile(0).Pixels[0] = 0x0020;
    set565->Tile(0).Pixels[1] = 0xFFFF;
    const auto via555 = Load(Save(*set565, cmRGB555), cmRGB555);
    const auto back = Load(Save(*via555, cmRGB565), cmRGB565);
    EXPECT_EQ(back->Tile(0).Pixels[0], 0x0000);
    EXPECT_EQ(back->Tile(0).Pixels[1], 0xFFDF);
    const TLine* line = back->Tile(1).Overlay->Line(2);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Words, (std::vector<std::uint16_t>{0xEC02, 0x1111 & ~0x20, 0x2222 & ~0x20}));
    for (std::size_t i = 2; i < GroundPixelCount; ++i)
        ASSERT_EQ(back->Tile(0).Pixels[i], set565->Tile(0).Pixels[i] & ~0x20);
}

TEST(TileFileModes, BulkConversionAgreesWithConvertPixelForEveryWord)
{
    std::vector<std::uint16_t> all(65536);
    for (std::size_t p = 0; p < all.size(); ++p)
        all[p] = static_cast<std::uint16_t>(p);
    for (int from : {0, 1, 2})
        for (int to : {0, 1, 2}) {
            auto words = all;
            ConvertPixelWords(words.data(), words.size(), from, to);
            for (std::size_t p = 0; p < all.size(); ++p)
                ASSERT_EQ(words[p], ConvertPixel(all[p], from, to)) << from << "->" << to << " of " << p;
        }
}

TEST(TileFileModes, ElementsOfAnotherModeAreConvertedOneByOne)
{
    auto set = MakeSmallSet(cmRGB555);
    set->Tile(0).SetColorMode(cmRGB565); // only this tile is 5-6-5
    set->Tile(0).Pixels[0] = 0xF81F;
    const auto back = Load(Save(*set, cmRGB555), cmRGB555);
    EXPECT_EQ(back->Tile(0).Pixels[0], 0x7C1F);
    EXPECT_EQ(back->Tile(1).Pixels, set->Tile(1).Pixels);
    EXPECT_EQ(back->Border(0).Edges[2].Pixels, set->Border(0).Edges[2].Pixels); // bit 15 kept
}

TEST(TileFileAppend, AddsElementsAfterTheExistingOnesAndTakesTheHeaders)
{
    auto set = MakeSet(TSetShape{}, 1);
    const auto original = MakeSet(TSetShape{}, 1);
    TSetShape otherShape;
    otherShape.TileRules = 2;
    otherShape.Tiles = 3;
    otherShape.VariationRules = 1;
    const auto other = MakeSet(otherShape, 2);
    const auto info = set->LoadFromMemory(Save(*other, cmRGB555), true);
    EXPECT_EQ(info.TrailingBytes, 0u);

    EXPECT_EQ(set->TileRuleCount(), 3u + 2u);
    EXPECT_EQ(set->BorderCount(), 2u + 2u);
    EXPECT_EQ(set->TileCount(), 4u + 3u);
    EXPECT_EQ(set->RiverCount(), 2u + 2u);
    EXPECT_EQ(set->ImprovementCount(), 3u + 3u);
    EXPECT_EQ(set->VariationRuleCount(), 3u + 1u);
    EXPECT_EQ(set->BorderHeader, other->BorderHeader);
    EXPECT_EQ(set->TileHeader, other->TileHeader);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(set->TileRule(i) == original->TileRule(i));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(set->TileRule(3 + i) == other->TileRule(i));
        EXPECT_EQ(set->TileRule(3 + i).Owner, set.get());
    }
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(set->Tile(i).SameAs(original->Tile(i)));
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(set->Tile(4 + i).SameAs(other->Tile(i)));
    EXPECT_TRUE(set->River(3).SameAs(other->River(1)));
    EXPECT_TRUE(set->Improvement(5).SameAs(other->Improvement(2)));
    EXPECT_TRUE(set->VariationRule(3) == other->VariationRule(0));
    const auto& indices = set->TileIndexList();
    for (std::size_t i = 0; i < other->TileCount(); ++i)
        EXPECT_NE(std::find(indices.begin(), indices.end(), IntToStrPad(other->Tile(i).TileIndex, 2, '0')),
                  indices.end());
}

TEST(TileFileAppend, PassingTheElementLimitIsRefusedAndChangesNothing)
{
    TTileFile set;
    set.Clear();
    for (std::size_t i = 0; i < 65534; ++i)
        set.AddTileRule(std::make_unique<TTileRule>());
    const auto before = Save(set, cmRGB555);
    auto more = MakeSmallSet();
    more->AddTileRule(std::make_unique<TTileRule>()); // two rules: 65536 in all
    const auto data = Save(*more, cmRGB555);
    try {
        set.LoadFromMemory(data, true);
        FAIL() << "no error";
    } catch (const EInvalidArgument& e) {
        EXPECT_STREQ(e.what(), "TileRules: appending would give the set 65536 elements, more than 65535");
    }
    EXPECT_EQ(Save(set, cmRGB555), before);
    EXPECT_EQ(set.BorderHeader, (std::array<std::uint16_t, 3>{0, 704, 0}));

    // Up to the limit itself is fine.
    more->DeleteTileRule(1);
    set.LoadFromMemory(Save(*more, cmRGB555), true);
    EXPECT_EQ(set.TileRuleCount(), 65535u);
}

TEST(TileFileEmpty, EmptyListsAndRulesWithoutStepsRoundTrip)
{
    TTileFile set;
    set.Clear();
    const auto empty = Save(set, cmRGB555);
    EXPECT_EQ(empty, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0xC0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    auto back = Load(empty, cmRGB555);
    EXPECT_TRUE(SameSet(set, *back));

    auto rule = std::make_unique<TVariationRule>();
    rule->SetStepCount(0);
    set.AddVariationRule(std::move(rule));
    const auto data = Save(set, cmRGB555);
    EXPECT_EQ(data.size(), empty.size() + 2);
    EXPECT_EQ(Get16(data, data.size() - 2), 0);
    back = Load(data, cmRGB555);
    ASSERT_EQ(back->VariationRuleCount(), 1u);
    EXPECT_EQ(back->VariationRule(0).StepCount(), 0u);
}

TEST(TileFileEmpty, TileOverlayWithoutLinesIsKeptAsA4ByteBlock)
{
    auto set = MakeSmallSet();
    set->Tile(0).Overlay = std::make_unique<TTileOverlay>();
    const auto data = Save(*set, cmRGB555);
    EXPECT_EQ(Get16(data, small::Tile0At + 4614), 4);
    const auto back = Load(data, cmRGB555);
    ASSERT_TRUE(back->Tile(0).Overlay);
    EXPECT_TRUE(back->Tile(0).Overlay->Empty());
    EXPECT_EQ(Save(*back, cmRGB555), data);
}

TEST(TileFileTrailing, BytesAfterTheLastSectionAreCountedAndDropped)
{
    auto data = Save(*MakeSmallSet(), cmRGB555);
    const auto clean = data;
    data.insert(data.end(), {1, 2, 3, 4, 5, 6, 7});
    TTileFile set;
    const auto info = set.LoadFromMemory(data, false);
    EXPECT_EQ(info.TrailingBytes, 7u);
    EXPECT_EQ(info.FileSize, clean.size() + 7);
    EXPECT_EQ(Save(set, cmRGB555), clean);
}

// Overlay blocks are sized in 16 bits: 65534 bytes is the largest that fits.
std::unique_ptr<TTileImprovement> ImprovementWithBlockWords(std::size_t words)
{
    auto improvement = std::make_unique<TTileImprovement>();
    auto line = std::make_unique<TLine>();
    line->Words.assign(words - 4, 0x0A01); // one-pixel transparent runs
    line->Words.push_back(0xFA01);
    line->ComputeWidth();
    improvement->Lines.push_back(std::move(line));
    improvement->FirstLine = improvement->LastLine = 0;
    EXPECT_EQ(improvement->BlockWords(), words);
    return improvement;
}

TEST(TileFileLimits, OverlayBlocksPast65535BytesAreRefused)
{
    TTileFile set;
    set.AddImprovement(ImprovementWithBlockWords(32767));
    const auto data = Save(set, cmRGB555);
    const auto back = Load(data, cmRGB555);
    EXPECT_EQ(back->Improvement(1).DataSize, 65534);
    EXPECT_EQ(Save(*back, cmRGB555), data);

    set.AddImprovement(ImprovementWithBlockWords(32768));
    try {
        set.SaveToMemory(cmRGB565);
        FAIL() << "no error";
    } catch (const EInvalidArgument& e) {
        EXPECT_STREQ(e.what(),
                     "Improvements: element 2 has an overlay block of 65536 bytes, more than the 65535 a tile file "
                     "can hold");
    }

    TTileFile tiles;
    tiles.Tile(0).Overlay = std::make_unique<TTileOverlay>();
    tiles.Tile(0).Overlay->Assign(*ImprovementWithBlockWords(40000));
    EXPECT_THROW(tiles.SaveToMemory(cmRGB555), EInvalidArgument);
    TTileFile rivers;
    rivers.River(0).Assign(*ImprovementWithBlockWords(40000));
    try {
        rivers.SaveToMemory(cmRGB555);
        FAIL() << "no error";
    } catch (const EInvalidArgument& e) {
        EXPECT_STREQ(e.what(),
                     "Rivers: element 0 has an overlay block of 80000 bytes, more than the 65535 a tile file "
                     "can hold");
    }
}

TEST(TileFileFiles, SaveAndOpenThroughFiles)
{
    TScratchDir dir;
    const auto set = MakeSet(TSetShape{}, 3);
    set->SaveToFile(dir.File("gtset555.til"), cmRGB555);
    set->SaveToFile(dir.File("gtset565.til"), cmRGB565);
    EXPECT_EQ(ReadWholeFile(dir.File("gtset555.til")), Save(*set, cmRGB555));
    EXPECT_EQ(ReadWholeFile(dir.File("gtset565.til")), Save(*set, cmRGB565));

    TTileFile back;
    back.LoadFromFile(dir.File("gtset555.til"), false);
    EXPECT_TRUE(SameSet(*set, back));
    TTileFile back565;
    back565.ColorMode = cmRGB565;
    back565.LoadFromFile(dir.File("gtset565.til"), false);
    EXPECT_EQ(back565.Tile(0).ColorMode, cmRGB565);
    EXPECT_EQ(back565.River(0).Line(back565.River(0).FirstLine)->ColorMode, cmRGB565);
}

TEST(TileFileFiles, FailedSaveLeavesThePreviousFile)
{
    TScratchDir dir;
    const std::string target = dir.File("set.til");
    const auto good = MakeSmallSet();
    good->SaveToFile(target, cmRGB555);
    const auto before = ReadWholeFile(target);

    TTileFile bad;
    bad.AddImprovement(ImprovementWithBlockWords(40000));
    EXPECT_THROW(bad.SaveToFile(target, cmRGB555), EInvalidArgument);
    EXPECT_EQ(ReadWholeFile(target), before);
    EXPECT_THROW(bad.SaveToFile(dir.File("new.til"), cmRGB555), EInvalidArgument);
    EXPECT_FALSE(fs::exists(dir.File("new.til")));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1u); // no temporary file left behind
}

TEST(TileFileFiles, CreateAndOpenErrorsNameTheFile)
{
    TScratchDir dir;
    const std::string target = dir.File("missing-folder/set.til");
    try {
        MakeSmallSet()->SaveToFile(target, cmRGB555);
        FAIL() << "no error";
    } catch (const EFileCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + target + "\"");
    }

    auto set = MakeSmallSet();
    const auto before = Save(*set, cmRGB555);
    for (const std::string& name : {dir.File("missing.til"), dir.Path().string()}) // a folder is no file
        for (bool append : {false, true}) {
            try {
                set->LoadFromFile(name, append);
                FAIL() << "no error";
            } catch (const EFileOpenError& e) {
                EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + name + "\"");
            }
            EXPECT_EQ(Save(*set, cmRGB555), before);
        }
}

} // namespace
} // namespace kestrund
