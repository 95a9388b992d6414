// Tile file reading and writing: layouts and round trips, both pixel layouts, appending,
// the 16-bit limits, files that cannot be written, files that end after a complete section,
// and damaged files, each refused with its section, element and offset while the set being
// read into stays as it was.

#include "Errors.h"
#include "FileUtil.h"
#include "MiscFunc.h"
#include "Scratch.h"
#include "SetBuilders.h"
#include "TileFileIO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <numeric>
#include <sys/resource.h>
#include <sys/wait.h>

namespace kestrund {
namespace {

using namespace testing;
namespace fs = std::filesystem;
using TWords = std::vector<std::pair<std::size_t, std::vector<std::uint16_t>>>; // stored words at offsets

std::unique_ptr<TTileFile> Load(std::span<const std::uint8_t> data, std::uint8_t mode)
{
    auto set = std::make_unique<TTileFile>();
    set->ColorMode = mode;
    set->LoadFromMemory(data, false);
    return set;
}

std::uint16_t Get16(const std::vector<std::uint8_t>& data, std::size_t at)
{
    return static_cast<std::uint16_t>(data.at(at) | data.at(at + 1) << 8);
}

std::array<std::size_t, 6> Counts(const TTileFile& s)
{
    return {s.TileRuleCount(), s.BorderCount(), s.TileCount(), s.RiverCount(), s.ImprovementCount(),
            s.VariationRuleCount()};
}

std::unique_ptr<TTileFile> EmptySet()
{
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    return set;
}

TEST(TileFileLayout, WordsWhereTheLayoutPutsThemAndUnchangedRoundTrips)
{
    auto lineless = MakeSmallSet(); // an overlay without lines is still a block; a rule may have no steps
    lineless->Tile(0).Overlay = std::make_unique<TTileOverlay>();
    lineless->AddVariationRule(std::make_unique<TVariationRule>()).SetStepCount(0);
    // A few thousand elements, overlays up to 255 x 200 with empty rows inside, bit 15 in pixels.
    const TSetShape game{.TileRules = 600, .Borders = 300, .Tiles = 1200, .TilesWithOverlay = 150, .Rivers = 40,
                         .Improvements = 200, .VariationRules = 30, .OverlayWidth = 255, .OverlayHeight = 200};
    struct Case { const char* name; std::unique_ptr<TTileFile> set; std::uint8_t mode; std::size_t size; TWords at; };
    const Case cases[] = {
        {"Empty", EmptySet(), cmRGB555, 20, {{0, {0, 0, 0, 704, 0, 0, 0, 0, 0, 0}}}},
        {"Small", MakeSmallSet(), cmRGB555, small::FileSize,
         {{0, {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}}, {small::BordersAt, {1, 7, 704, 9}},
          {small::TilesAt, {2, 0x0102}}, {small::Tile0At + 4614, {0}},
          {small::Tile1SizeAt, {24, 2, 5, 0, 0xFFFF, 3, 5, 0xEC02, 0x1111, 0x2222, 0x0A05, 0xED03, 0xFA5E}},
          {small::River0At, {1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 4, 21, 0xFFFF, 0xFFFF}},
          {small::Improvement0At, {30, 8, 31, 0, 0, 0, 0xFA5E}}, {small::VariationRule0At, {2, 0x0042, 1, 0x0081, 2}}}},
        {"LinelessOverlayAndSteplessRule", std::move(lineless), cmRGB555, small::FileSize + 6,
         {{small::Tile0At + 4614, {4, 0xFFFF, 0xFFFF}}, {small::VariationRulesAt + 4, {2}},
          {small::FileSize + 4, {0}}}},
        {"GameShaped555", MakeSet(game, 99, cmRGB555), cmRGB555, 0, {}},
        {"GameShaped565", MakeSet(game, 99, cmRGB565), cmRGB565, 0, {}},
    };
    for (const auto& [name, set, mode, size, words] : cases) {
        SCOPED_TRACE(name);
        const auto data = set->SaveToMemory(mode);
        EXPECT_TRUE(size == 0 || data.size() == size) << data.size();
        for (const auto& [at, expected] : words)
            for (std::size_t i = 0; i < expected.size(); ++i)
                EXPECT_EQ(Get16(data, at + 2 * i), expected[i]) << "at " << at + 2 * i;
        const auto back = Load(data, mode);
        EXPECT_TRUE(SameSet(*set, *back));
        EXPECT_EQ(back->SaveToMemory(mode), data);
        if (std::string(name) == "Small") { // where records were found, and widths measured on reading
            EXPECT_EQ(std::tuple(back->River(0).FilePosition, back->Improvement(0).FilePosition),
                      std::tuple(small::River0At + 18, small::Improvement0At));
            const TTileOverlay& overlay = *back->Tile(1).Overlay;
            EXPECT_EQ(std::tuple(back->River(0).DataSize, back->Improvement(0).DataSize, overlay.DataSize,
                                 overlay.Line(4)->Width), std::tuple(4, 8, 24, 8));
        }
    }
}

TEST(TileFileModes, FilesOfBothLayoutsDifferOnlyInPixelWordsConvertedPerElement)
{
    // Words after a line's end run (padding) are kept as they are, though they look like a literal run.
    const auto set = MakeSmallSet(cmRGB555);
    auto& lines = set->Tile(1).Overlay->Lines;
    lines[2]->Words.push_back(0x0C01);
    lines[5]->Words.insert(lines[5]->Words.end(), {0x0C01, 0x7FFF});
    const auto file555 = set->SaveToMemory(cmRGB555), file565 = set->SaveToMemory(cmRGB565);
    ASSERT_EQ(file555.size(), file565.size());
    std::vector<bool> pixel(file555.size());
    for (auto [at, words] : std::initializer_list<std::pair<std::size_t, std::size_t>>{
             {small::BordersAt + 12, 4 * BorderPixelCount}, {small::Tile0At + 6, GroundPixelCount},
             {small::Tile1At + 6, GroundPixelCount}, {small::Tile1DataAt + 2, 2}}) // the literal run's pixels
        std::fill_n(pixel.begin() + static_cast<std::ptrdiff_t>(at), 2 * words, true);
    for (std::size_t i = 0; i < file555.size(); i += 2)
        ASSERT_EQ(Get16(file565, i), pixel[i] ? ConvertPixel(Get16(file555, i), 0, 1) : Get16(file555, i)) << i;
    set->Tile(0).SetColorMode(cmRGB565); // this tile alone is converted on its way into a mode-0 file
    const auto back = Load(set->SaveToMemory(cmRGB555), cmRGB555);
    for (std::size_t i = 0; i < GroundPixelCount; ++i)
        ASSERT_EQ(back->Tile(0).Pixels[i], ConvertPixel(set->Tile(0).Pixels[i], 1, 0)) << i;
    EXPECT_TRUE(back->Tile(1).SameAs(set->Tile(1)));
    EXPECT_EQ(back->Tile(1).Overlay->Line(2)->Width, 2); // up to the end run
    std::vector<std::uint16_t> all(65536);
    std::iota(all.begin(), all.end(), 0);
    for (int from : {0, 1, 2})
        for (int to : {0, 1, 2}) {
            auto words = all; // in pieces of four words and three more, the last one shorter
            for (std::size_t at = 0; at < words.size(); at += 7)
                ConvertPixelWords(words.data() + at, std::min<std::size_t>(7, words.size() - at), from, to);
            for (std::size_t p = 0; p < all.size(); ++p)
                ASSERT_EQ(words[p], ConvertPixel(all[p], from, to)) << from << "->" << to << " of " << p;
        }
}

TEST(TileFileAppend, AddsElementsAfterTheExistingOnesAndTakesTheHeaders)
{
    auto set = MakeSet({}, 1);
    const auto original = MakeSet({}, 1), other = MakeSet({.TileRules = 2, .Tiles = 3, .VariationRules = 1}, 2);
    auto data = other->SaveToMemory(cmRGB555);
    data.insert(data.end(), {1, 2, 3, 4, 5, 6, 7});
    const auto info = set->LoadFromMemory(data, true);
    set->AppendElementsFrom(*set); // a set appended to itself stays as it is
    EXPECT_EQ(std::pair(info.FileSize, info.TrailingBytes), std::pair(data.size(), std::size_t{7}));
    EXPECT_EQ(Counts(*set), (std::array<std::size_t, 6>{5, 4, 7, 4, 6, 4}));
    EXPECT_EQ(std::pair(set->BorderHeader, set->TileHeader), std::pair(other->BorderHeader, other->TileHeader));
    EXPECT_TRUE(set->TileRule(2) == original->TileRule(2) && set->TileRule(4) == other->TileRule(1));
    EXPECT_TRUE(set->TileRule(4).Owner == set.get() && set->VariationRule(3) == other->VariationRule(0));
    EXPECT_TRUE(set->Tile(3).SameAs(original->Tile(3)) && set->Tile(4).SameAs(other->Tile(0)));
    EXPECT_TRUE(set->River(3).SameAs(other->River(1)) && set->Improvement(5).SameAs(other->Improvement(2)));
    for (std::size_t i = 0; i < set->TileCount(); ++i)
        EXPECT_EQ(std::ranges::count(set->TileIndexList(), IntToStrPad(set->Tile(i).TileIndex, 2, '0')), 1) << i;
}

// Counts are 16-bit in the file: a list takes its 65535th element and refuses the next,
// whether it comes from Add, Insert or an appended file, and stays as it was.
template <class T>
void ExpectLimit(const char* kind, T& (TTileFile::*add)(std::unique_ptr<T>),
                 T& (TTileFile::*insert)(std::size_t, std::unique_ptr<T>), T& (TTileFile::*at)(std::size_t) const)
{
    TTileFile set;
    (set.*add)(std::make_unique<T>());
    ASSERT_EQ(set.TileIndexList(), std::vector<std::string>{"00"}) << kind; // one entry per index, checked early
    for (std::size_t i = 2; i < 65535; ++i)
        (set.*add)(std::make_unique<T>());
    const T* first = &(set.*at)(0);
    const auto counts = Counts(set);
    const std::string message = std::string("A tile set holds at most 65535 ") + kind;
    EXPECT_EQ(Thrown<EInvalidArgument>([&] { (set.*add)(std::make_unique<T>()); }), message);
    EXPECT_EQ(Thrown<EInvalidArgument>([&] { (set.*insert)(0, std::make_unique<T>()); }), message);
    EXPECT_TRUE(Counts(set) == counts && &(set.*at)(0) == first) << kind;
}

TEST(TileFileLimits, ListsTake65535ElementsAndRefuseTheNext)
{
    ExpectLimit("tile rules", &TTileFile::AddTileRule, &TTileFile::InsertTileRule, &TTileFile::TileRule);
    ExpectLimit("borders", &TTileFile::AddBorder, &TTileFile::InsertBorder, &TTileFile::Border);
    ExpectLimit("tiles", &TTileFile::AddTile, &TTileFile::InsertTile, &TTileFile::Tile);
    ExpectLimit("rivers", &TTileFile::AddRiver, &TTileFile::InsertRiver, &TTileFile::River);
    ExpectLimit("improvements", &TTileFile::AddImprovement, &TTileFile::InsertImprovement, &TTileFile::Improvement);
    ExpectLimit("variation rules", &TTileFile::AddVariationRule, &TTileFile::InsertVariationRule,
                &TTileFile::VariationRule);
    auto set = EmptySet(), more = MakeSmallSet();
    for (std::size_t i = 0; i < 65534; ++i)
        set->AddTileRule(std::make_unique<TTileRule>());
    const auto before = set->SaveToMemory(cmRGB555);
    more->AddTileRule(std::make_unique<TTileRule>()); // two rules: 65536 in all
    EXPECT_EQ(Thrown<EInvalidArgument>([&] { set->LoadFromMemory(more->SaveToMemory(cmRGB555), true); }),
              "TileRules: appending would give the set 65536 elements, more than 65535");
    EXPECT_EQ(set->SaveToMemory(cmRGB555), before);
    more->DeleteTileRule(1);
    set->LoadFromMemory(more->SaveToMemory(cmRGB555), true);
    EXPECT_EQ(set->TileRuleCount(), 65535u);
}

// Overlay blocks are sized in 16 bits: 65534 bytes is the largest that fits.
std::unique_ptr<TTileImprovement> ImprovementWithBlockWords(std::size_t words)
{
    auto improvement = std::make_unique<TTileImprovement>();
    std::vector<std::uint16_t> line(words - 4, 0x0A01); // one-pixel transparent runs
    line.push_back(0xFA01);
    improvement->Lines.emplace_back().emplace(cmRGB555, std::move(line));
    improvement->FirstLine = improvement->LastLine = 0;
    return improvement;
}

TEST(TileFileLimits, OverlayBlocksPast65535BytesAreRefused)
{
    TTileFile set, rivers, tiles;
    set.AddImprovement(ImprovementWithBlockWords(32767));
    EXPECT_EQ(Load(set.SaveToMemory(cmRGB555), cmRGB555)->Improvement(1).DataSize, 65534);
    set.AddImprovement(ImprovementWithBlockWords(32768));
    rivers.River(0).Assign(*ImprovementWithBlockWords(40000));
    tiles.Tile(0).Overlay = std::make_unique<TTileOverlay>();
    tiles.Tile(0).Overlay->Assign(*ImprovementWithBlockWords(40000));
    for (const auto& [s, message] : {std::pair(&set, "Improvements: element 2 has an overlay block of 65536 bytes"),
                                     {&rivers, "Rivers: element 0 has an overlay block of 80000 bytes"},
                                     {&tiles, "Tiles: element 0 has an overlay block of 80000 bytes"}})
        EXPECT_EQ(Thrown<EInvalidArgument>([&] { s->SaveToMemory(cmRGB565); }),
                  message + std::string(", more than the 65535 a tile file can hold"));
    // Step counts are 16-bit too.
    TTileFile rules;
    rules.VariationRule(0).Steps.assign(65535, 7);
    EXPECT_EQ(Load(rules.SaveToMemory(cmRGB555), cmRGB555)->VariationRule(0).Steps, rules.VariationRule(0).Steps);
    rules.VariationRule(0).Steps.push_back(7);
    EXPECT_EQ(Thrown<EInvalidArgument>([&] { rules.SaveToMemory(cmRGB555); }),
              "VariationRules: element 0 has 65536 steps, more than 65535");
}

TEST(TileFileFiles, SavedAndOpenedInBothModesWithErrorsSayingWhy)
{
    TScratchDir dir;
    const auto set = MakeSet({.Tiles = 8}, 3); // larger than the 64 KiB a read takes first
    for (std::uint8_t mode : {cmRGB555, cmRGB565}) {
        set->SaveToFile(dir / "set.til", mode);
        EXPECT_EQ(ReadWholeFile(dir / "set.til"), set->SaveToMemory(mode));
        TTileFile back;
        back.ColorMode = mode;
        back.LoadFromFile(dir / "set.til", false);
        EXPECT_EQ(back.SaveToMemory(mode), set->SaveToMemory(mode));
        EXPECT_EQ(back.River(0).Line(back.River(0).FirstLine)->ColorMode, mode);
    }
    fs::create_directory(dir / "folder.til");
    for (const auto& [name, why] : {std::pair{dir / "missing/set.til", "No such file or directory"},
                                    std::pair{dir / "folder.til", "Is a directory"}}) {
        EXPECT_EQ(Thrown<EFileCreateError>([&] { set->SaveToFile(name, cmRGB555); }),
                  "Cannot create file \"" + name + "\". " + why);
        for (bool append : {false, true})
            EXPECT_EQ(Thrown<EFileOpenError>([&] { set->LoadFromFile(name, append); }),
                      "Cannot open file \"" + name + "\". " + why);
    }
    EXPECT_TRUE(SameSet(*set, *MakeSet({.Tiles = 8}, 3)));
    // Saving through a link writes the file it names, which keeps its permissions.
    const auto shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(dir / "set.til", shared);
    fs::create_symlink("set.til", dir / "link.til");
    set->SaveToFile(dir / "link.til", cmRGB555);
    EXPECT_TRUE(fs::is_symlink(dir / "link.til") && fs::status(dir / "set.til").permissions() == shared);
    // A set that cannot be saved leaves the previous file and no other.
    TTileFile bad;
    bad.AddImprovement(ImprovementWithBlockWords(40000));
    EXPECT_THROW(bad.SaveToFile(dir / "set.til", cmRGB565), EInvalidArgument);
    EXPECT_THROW(bad.SaveToFile(dir / "new.til", cmRGB555), EInvalidArgument);
    EXPECT_EQ(ReadWholeFile(dir / "set.til"), set->SaveToMemory(cmRGB555));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder.til", "link.til", "set.til"}));
}

// A full disk, as a file size limit in a child process: the write or the final flush
// fails, and the file already there must stay as it was.
TEST(TileFileFilesDeathTest, FullDiskFailsTheSaveAndLeavesThePreviousFile)
{
    const std::function<void(const std::string&)> saves[] = {
        [](const std::string& name) { MakeSmallSet()->SaveToFile(name, cmRGB555); },
        [](const std::string& name) { WriteWholeFile(name, std::vector<std::uint8_t>(100, 7)); }, // all buffered
    };
    for (const auto& save : saves) {
        TScratchDir dir;
        const std::string name = SaveBytes(dir / "old.til", std::vector<std::uint8_t>(30, 0x55));
        auto child = [&] {
            const rlimit r{16, 16};
            if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &r) != 0)
                std::_Exit(3);
            const std::string said = Thrown<EFileCreateError>([&] { save(name); });
            std::_Exit(said == "Cannot create file \"" + name + "\". File too large" ? 0 : 1);
        };
        EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "");
        EXPECT_EQ(LoadBytes(name), std::vector<std::uint8_t>(30, 0x55));
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"old.til"});
    }
}

// Older sets end after a complete section: the sections after it read as empty, and
// are written back.
TEST(TileFileEnds, AFileEndingAfterAnySectionLoadsWithTheRestEmpty)
{
    const auto full = MakeSet({}, 11)->SaveToMemory(cmRGB555);
    std::size_t TSetShape::*const counts[] = {&TSetShape::TileRules, &TSetShape::Borders,
                                              &TSetShape::Tiles,     &TSetShape::Rivers,
                                              &TSetShape::Improvements, &TSetShape::VariationRules};
    const std::size_t emptySection[6] = {2, 8, 4, 2, 2, 2}; // its count, and the borders' and tiles' headers
    for (int last = 0; last < 5; ++last) {
        TSetShape shape;
        std::size_t missingBytes = 0;
        for (int k = last + 1; k < 6; ++k) {
            shape.*counts[k] = 0;
            missingBytes += emptySection[k];
        }
        const auto expected = MakeSet(shape, 11); // the same random words up to the end of section last
        if (last < 1)
            expected->BorderHeader = TTileFile().BorderHeader;
        if (last < 2)
            expected->TileHeader = 0;
        const auto resaved = expected->SaveToMemory(cmRGB555);
        TTileFile set;
        const auto info = set.LoadFromMemory(std::span(full.data(), resaved.size() - missingBytes), false);
        EXPECT_EQ(std::tuple(info.MissingSections, info.TrailingBytes), std::tuple(5u - last, 0u));
        EXPECT_TRUE(SameSet(set, *expected)) << last;
        EXPECT_EQ(set.SaveToMemory(cmRGB555), resaved) << last;
    }
}

// ---- damaged files ----

constexpr int Cut = -1; // the file ends at the offset

const std::tuple<std::size_t, int, const char*> Damages[] = {
    {0, Cut, "TileRules: the section header ends past the end of the file (offset 0)"},
    {small::BordersAt + 4, Cut, "Borders: the section header ends past the end of the file (offset 32)"},
    {small::RiversAt + 1, Cut, "Rivers: the section header ends past the end of the file (offset 12120)"},
    {small::VariationRulesAt + 1, Cut,
     "VariationRules: the section header ends past the end of the file (offset 12166)"},
    {small::Tile1BlockAt + 14, Cut, "Tiles: element 1 ends past the end of the file (offset 7480)"},
    {small::TilesAt, 3, "Tiles: count 3 is larger than the data (offset 2860)"},
    {0, 0xFFFF, "TileRules: count 65535 is larger than the data (offset 0)"},
    {small::VariationRulesAt, 2, "VariationRules: element 1 ends past the end of the file (offset 12178)"},
    {small::VariationRule0At, 5, "VariationRules: element 0 ends past the end of the file (offset 12168)"},
    {small::River0At + 20, 0x4000, "Rivers: element 0 ends past the end of the file (offset 12122)"},
    {small::Tile1BlockAt + 10, 1,
     "Tiles: element 1 has overlay offsets that are not ascending at row 5 (offset 12106)"},
    {small::Tile1BlockAt + 10, 6, "Tiles: element 1 has an overlay offset outside its block at row 5 (offset 12106)"},
    {small::Tile1BlockAt + 4, 1, "Tiles: element 1 has a first overlay offset other than 0 at row 2 (offset 12100)"},
    {small::Tile1BlockAt + 8, 0, "Tiles: element 1 has an overlay line of zero words at row 2 (offset 12108)"},
    {small::Tile1DataAt, 0xEC05,
     "Tiles: element 1 has an overlay line whose literal pixels run past its words at row 2 (offset 12108)"},
    {small::Tile1DataAt, 0x0C02,
     "Tiles: element 1 has an overlay line that does not end with its end run at row 2 (offset 12108)"},
    // The last line takes the two bytes after it as padding; the river after it no longer fits.
    {small::Tile1SizeAt, 26,
     "Rivers: element 0 has an overlay block size (21 bytes) that disagrees with its contents (offset 12148)"},
    {small::Tile1SizeAt, 23,
     "Tiles: element 1 has an overlay block size (23 bytes) that disagrees with its contents (offset 12096)"},
    {small::Tile1SizeAt, 2,
     "Tiles: element 1 has an overlay block size (2 bytes) that disagrees with its contents (offset 12096)"},
    {small::Tile1BlockAt + 2, 20, // too small for the offsets
     "Tiles: element 1 has an overlay block size (24 bytes) that disagrees with its contents (offset 12096)"},
    {small::Tile1BlockAt + 2, 1,
     "Tiles: element 1 has an overlay whose LastLine (1) is not a row at or after its FirstLine (2) (offset 12096)"},
    {small::Improvement0At + 6, 0xFFFF, // an empty overlay in a longer block
     "Improvements: element 0 has an overlay block size (8 bytes) that disagrees with its contents (offset 12158)"},
    {small::Improvement0At + 2, 0,
     "Improvements: element 0 has an overlay block size (0 bytes) that disagrees with its contents (offset 12158)"},
};

TEST(TileFileBadInput, GivesItsErrorAndLeavesTheSetUnchanged)
{
    for (const auto& [at, value, message] : Damages)
        for (bool append : {false, true}) {
            auto data = MakeSmallSet()->SaveToMemory(cmRGB555);
            value == Cut ? data.resize(at) : Put16(data, at, static_cast<std::uint16_t>(value));
            auto set = MakeSet({}, 42);
            EXPECT_EQ(Thrown<EFileFormatError>([&] { set->LoadFromMemory(data, append); }), message);
            EXPECT_TRUE(SameSet(*set, *MakeSet({}, 42))) << message;
        }
    EXPECT_EQ(Thrown<EFileFormatError>([] { TTileFile().LoadFromMemory(std::vector<std::uint8_t>{0, 0, 1}, false); }),
              "Borders: the section header ends past the end of the file (offset 2)"); // no rules, then one byte
}

TEST(TileFileBadInput, EveryPrefixOfAValidFileIsAnErrorThatChangesNothing)
{
    // The small file, and one with larger and empty overlays and stepless rules. A prefix that
    // ends after a complete section is the one kind that loads, the rest empty.
    for (const auto& data : {MakeSmallSet()->SaveToMemory(cmRGB555),
                             MakeSet({.OverlayWidth = 20, .OverlayHeight = 9}, 21)->SaveToMemory(cmRGB555)}) {
        auto set = MakeSet({}, 8);
        std::size_t sectionEnds = 0;
        for (std::size_t length = 0; length < data.size(); ++length) {
            TTileFile probe;
            try {
                const std::size_t missing = probe.LoadFromMemory(std::span(data.data(), length), false).MissingSections;
                EXPECT_EQ(missing, 5 - sectionEnds) << length;
                ++sectionEnds;
                continue;
            } catch (const EFileFormatError&) {
            }
            ASSERT_THROW(set->LoadFromMemory(std::span(data.data(), length), length % 2 == 0), EFileFormatError)
                << length;
        }
        EXPECT_EQ(sectionEnds, 5u);
        EXPECT_TRUE(SameSet(*set, *MakeSet({}, 8)));
        set->LoadFromMemory(data, false);
        EXPECT_EQ(set->SaveToMemory(cmRGB555), data);
    }
}

TEST(TileFileBadInput, DamagedBytesNeverCrash)
{
    // Counts, headers, record fields and overlay bytes set to hostile values: every read
    // either raises a model error or accepts a file it saves back byte for byte (less the
    // bytes after the last section).
    const auto clean = MakeSmallSet()->SaveToMemory(cmRGB555);
    auto next = [](std::size_t at) {
        return at == 39 ? small::TilesAt : at == small::Tile0At + 7 ? small::Tile1SizeAt : at + 1;
    };
    for (std::size_t at = 0; at < clean.size(); at = next(at))
        for (std::uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF}) {
            auto data = clean;
            data[at] = value;
            TTileFile set;
            try {
                data.resize(data.size() - set.LoadFromMemory(data, false).TrailingBytes);
                ASSERT_EQ(set.SaveToMemory(cmRGB555), data) << "byte " << at << " = " << int(value);
            } catch (const EKestrundError&) {
                ASSERT_EQ(set.TileCount(), 1u);
            }
        }
}

// Rivers of one row give the file its size; then improvements of one row at row 65534
// each claim 65535 row slots for 14 bytes.
std::vector<std::uint8_t> TallRowsFile(std::uint16_t rivers, std::uint16_t improvements)
{
    std::vector<std::uint8_t> out;
    auto put = [&](std::initializer_list<std::uint16_t> words, std::size_t times = 1) {
        for (std::size_t i = 0; i < times; ++i)
            for (std::uint16_t w : words)
                out.insert(out.end(), {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8)});
    };
    put({0, 0, 0, 704, 0, 0, 0, rivers}); // no rules, borders or tiles
    put({0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 8, 0, 0, 0, 0, 0xFA01}, rivers);
    put({improvements});
    put({1, 8, 0, 0xFFFE, 0xFFFE, 0, 0xFA01}, improvements);
    put({0});
    return out;
}

TEST(TileFileBadInput, RowsNoBytePaysForAreBounded)
{
    auto set = MakeSmallSet();
    EXPECT_EQ(Thrown<EFileFormatError>([&] { set->LoadFromMemory(TallRowsFile(0, 1000), false); }),
              "Improvements: element 16 has overlay rows out of all proportion to the size of the file (offset " +
                  std::to_string(16 + 2 + 16 * 14) + ")");
    EXPECT_TRUE(SameSet(*set, *MakeSmallSet()));
    // A few such overlays fit the bound and read back as they were written.
    set->LoadFromMemory(TallRowsFile(0, 10), false);
    EXPECT_EQ(set->Improvement(1).FirstLine, 0xFFFE);
    EXPECT_EQ(set->SaveToMemory(cmRGB555), TallRowsFile(0, 10));
}

// Row slots were bounded by count, and each slot grew to hold its line in place: a
// 1.5 MB file then took over 500 MB before it was refused.
TEST(TileFileFuzzRegression, RowSlotsNoBytePaysForStayInProportion)
{
    const std::vector<std::uint8_t> data = TallRowsFile(20000, 0xFFFF);
    const pid_t child = ::fork(); // measured apart from this process's own memory
    if (child == 0) {
        TTileFile set;
        ::_exit(Thrown<EFileFormatError>([&] { set.LoadFromMemory(data, false); }) == "no error" ? 1 : 0);
    }
    int status = 0;
    rusage usage{};
    ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child did not refuse the file";
    EXPECT_LT(usage.ru_maxrss / 1024, 300) << "megabytes at the peak for a file of " << data.size() / 1024 << " KB";
}

} // namespace
} // namespace kestrund
