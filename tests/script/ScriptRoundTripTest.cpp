#include "ScriptExport.h"
#include "ScriptImport.h"
#include "SetBuilders.h"
#include "Scratch.h"

#include <gtest/gtest.h>

using namespace kestrund;
using namespace kestrund::testing;

namespace {

void ExpectSameElements(const TTileFile& a, const TTileFile& b)
{
    ASSERT_EQ(a.TileRuleCount(), b.TileRuleCount());
    for (std::size_t i = 0; i < a.TileRuleCount(); ++i)
        EXPECT_TRUE(a.TileRule(i) == b.TileRule(i)) << "rule " << i;
    ASSERT_EQ(a.BorderCount(), b.BorderCount());
    for (std::size_t i = 0; i < a.BorderCount(); ++i)
        EXPECT_TRUE(a.Border(i) == b.Border(i)) << "border " << i;
    ASSERT_EQ(a.TileCount(), b.TileCount());
    for (std::size_t i = 0; i < a.TileCount(); ++i)
        EXPECT_TRUE(a.Tile(i).SameAs(b.Tile(i))) << "tile " << i;
    ASSERT_EQ(a.RiverCount(), b.RiverCount());
    for (std::size_t i = 0; i < a.RiverCount(); ++i)
        EXPECT_TRUE(a.River(i).SameAs(b.River(i))) << "river " << i;
    ASSERT_EQ(a.ImprovementCount(), b.ImprovementCount());
    for (std::size_t i = 0; i < a.ImprovementCount(); ++i)
        EXPECT_TRUE(a.Improvement(i).SameAs(b.Improvement(i))) << "improvement " << i;
    ASSERT_EQ(a.VariationRuleCount(), b.VariationRuleCount());
    for (std::size_t i = 0; i < a.VariationRuleCount(); ++i)
        EXPECT_TRUE(a.VariationRule(i) == b.VariationRule(i)) << "variation rule " << i;
}

int ExportAndImport(const TTileFile& original, TTileFile& imported, const TScratchDir& dir)
{
    std::filesystem::create_directory(dir.Path() / "set");
    ExportScript(original, "set", dir / "set.src");
    std::vector<std::string> log;
    const int result = ImportScript(imported, dir / "set.src", &log, false);
    for (const auto& m : log)
        if (m.rfind("ERROR", 0) == 0)
            ADD_FAILURE() << m;
    return result;
}

} // namespace

TEST(ScriptRoundTrip, EveryElementComesBackExactly)
{
    TScratchDir dir;
    const auto original = MakeRichSet(7, false);
    TTileFile imported;
    EXPECT_EQ(ExportAndImport(*original, imported, dir), srSuccess);
    ExpectSameElements(*original, imported);
    EXPECT_EQ(original->SaveToMemory(0), imported.SaveToMemory(0));
    // No picture needed colours of its own.
    const std::string script = ReadText(dir / "set.src");
    EXPECT_EQ(script.find("$", script.find("// TileRules")), std::string::npos);
}

TEST(ScriptRoundTrip, PicturesHoldingTheKeyColoursComeBackExactly)
{
    TScratchDir dir;
    const auto original = MakeRichSet(11, true);
    TTileFile imported;
    EXPECT_EQ(ExportAndImport(*original, imported, dir), srSuccess);
    ExpectSameElements(*original, imported);
    EXPECT_EQ(original->SaveToMemory(0), imported.SaveToMemory(0));

    // Those elements carry their own colours; the colours line keeps the set's.
    const std::string script = ReadText(dir / "set.src");
    EXPECT_NE(script.find("$00007C1F $000083E0\r\n"), std::string::npos);
    EXPECT_NE(script.find("TIMP0200.tga $"), std::string::npos);
    EXPECT_NE(script.find("RIVE0001.tga $"), std::string::npos);
}

TEST(ScriptRoundTrip, OwnColoursAreNotInThePicture)
{
    TScratchDir dir;
    const auto original = MakeRichSet(11, true);
    const std::string text = ScriptText(*original);
    const std::size_t at = text.find("TIMP0200.tga $");
    ASSERT_NE(at, std::string::npos);
    const auto items = text.substr(at + 13, 19);
    const TColor t = static_cast<TColor>(std::stoul(items.substr(1, 8), nullptr, 16));
    const TColor s = static_cast<TColor>(std::stoul(items.substr(11, 8), nullptr, 16));
    EXPECT_NE(ColorToPixel(t, 0), ColorToPixel(s, 0));
    const TTileImprovement& improvement = original->Improvement(0);
    for (std::size_t row = improvement.FirstLine; row <= improvement.LastLine; ++row)
        if (const TLine* line = improvement.Line(row))
            for (std::size_t i = 0; i < line->Words.size(); ++i) {
                const std::uint16_t h = line->Words[i];
                if (IsLiteralOp(static_cast<std::uint8_t>(h >> 8))) {
                    for (unsigned k = 1; k <= (h & 0xFFu); ++k) {
                        EXPECT_NE(line->Words[i + k], ColorToPixel(t, 0));
                        EXPECT_NE(line->Words[i + k], ColorToPixel(s, 0));
                    }
                    i += h & 0xFFu;
                }
            }
}

TEST(ScriptRoundTrip, ExportWritesPicturesThenScript)
{
    TScratchDir dir;
    TTileFile set;
    std::filesystem::create_directory(dir.Path() / "out");
    WriteText(dir / "out/keep.txt", "untouched");
    ExportScript(set, "out", dir / "out.src");
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "out/BORD0000.tga"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "out/TILE0000.tga"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "out/RIVE0000.tga"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "out/TIMP0000.tga"));
    EXPECT_EQ(ReadText(dir / "out/keep.txt"), "untouched");
    EXPECT_EQ(ReadText(dir / "out.src"), ScriptText(set));
}

TEST(ScriptRoundTrip, MissingGraphicsFolderFailsBeforeTheScriptIsWritten)
{
    TScratchDir dir;
    TTileFile set;
    EXPECT_THROW(ExportScript(set, "nowhere", dir / "x.src"), EFileCreateError);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "x.src"));
}
