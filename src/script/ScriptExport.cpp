#include "ScriptExport.h"

#include "FileUtil.h"
#include "MiscFunc.h"
#include "ScriptPaths.h"
#include "Targa.h"

#include <bitset>
#include <memory>
#include <optional>
#include <unordered_set>

namespace kestrund {

namespace {

// Transparent and shadow colour for one element's picture.
struct TPictureColors {
    TColor Transparent;
    TColor Shadow;
    bool OwnColors; // differ from the set's: written on the record line
};

// The word the import compares with the transparent and shadow colours, for a
// literal pixel p of an element in mode: pictures travel as 5-5-5 words.
std::uint16_t ComparedWord(std::uint16_t p, int mode)
{
    return mode == cmRGB565 ? ConvertPixel(ConvertPixel(p, cmRGB565, cmRGB555), cmRGB555, cmRGB565) : p;
}

void CollectLiterals(const TTileOverlay& overlay, std::bitset<65536>& used)
{
    if (overlay.Empty())
        return;
    for (std::size_t row = overlay.FirstLine; row <= overlay.LastLine; ++row) {
        const TLine* line = overlay.Line(row);
        if (!line)
            continue;
        const auto& w = line->Words;
        std::size_t i = 0;
        while (i < w.size()) {
            const std::uint16_t header = w[i++];
            if (!IsLiteralOp(static_cast<std::uint8_t>(header >> 8)))
                continue;
            for (unsigned k = 0; k < (header & 0xFFu) && i < w.size(); ++k)
                used.set(ComparedWord(w[i++], line->ColorMode));
        }
    }
}

// A colour whose word in mode is not used, searched from preferred on.
TColor FreeColor(TColor preferred, int mode, const std::bitset<65536>& used)
{
    const std::uint16_t start = ColorToPixel(preferred, cmRGB555);
    for (unsigned step = 0; step < 0x8000; ++step) {
        const std::uint16_t w5 = static_cast<std::uint16_t>((start + step) & 0x7FFF);
        if (!used.test(ConvertPixel(w5, cmRGB555, mode)))
            return PixelToColor(w5, cmRGB555);
    }
    return preferred; // every colour is a pixel of the picture: nothing can be done
}

TPictureColors ColorsFor(const TTileFile& set, const TTileOverlay* overlay)
{
    TPictureColors colors{set.TransparentColor, set.ShadowColor, false};
    if (!overlay)
        return colors;
    const int mode = overlay->ColorMode == cmRGB565 ? cmRGB565 : cmRGB555;
    std::bitset<65536> used;
    CollectLiterals(*overlay, used);
    if (!used.test(ColorToPixel(colors.Transparent, mode)) && !used.test(ColorToPixel(colors.Shadow, mode)))
        return colors;
    colors.Transparent = FreeColor(colors.Transparent, mode, used);
    used.set(ColorToPixel(colors.Transparent, mode));
    colors.Shadow = FreeColor(colors.Shadow, mode, used);
    colors.OwnColors = true;
    return colors;
}

std::string Hex8(TColor c)
{
    return Format("$%08X", c);
}

std::string ColorItems(const TPictureColors& colors)
{
    return colors.OwnColors ? " " + Hex8(colors.Transparent) + " " + Hex8(colors.Shadow) : std::string();
}

std::string Signed6(std::uint16_t v)
{
    return IntToStrPad(static_cast<std::int16_t>(v), 6, ' ');
}

// The neighbourhood laid out as on the map: NW N NE / W centre E / SW S SE.
template <class Text>
void AddGrid(std::string& out, const std::uint16_t* v, Text text, const char* sep)
{
    static constexpr int rows[3][3] = {{1, 2, 5}, {0, 4, 8}, {3, 6, 7}};
    for (const auto& row : rows)
        out += "  " + text(v[row[0]]) + sep + text(v[row[1]]) + sep + text(v[row[2]]) + "\r\n";
}

class TScriptWriter {
public:
    TScriptWriter(const TTileFile& set, std::optional<std::filesystem::path> graphicsDir)
        : FSet(set), FGraphicsDir(std::move(graphicsDir))
    {
    }

    std::string Write()
    {
        Line("Kestrund Script v.1.1");
        Line("// " + FSet.ScriptComment);
        Line("// " + FSet.ColorComment);
        Line("");
        Line(Hex8(FSet.TransparentColor) + " " + Hex8(FSet.ShadowColor));
        Line("");

        Section(0, FSet.TileRuleCount());
        for (std::size_t i = 0; i < FSet.TileRuleCount(); ++i)
            Rule(FSet.TileRule(i));
        Line("");
        Section(1, FSet.BorderCount());
        for (std::size_t i = 0; i < FSet.BorderCount(); ++i)
            Border(FSet.Border(i));
        Line("");
        Section(2, FSet.TileCount());
        for (std::size_t i = 0; i < FSet.TileCount(); ++i)
            Tile(FSet.Tile(i));
        Line("");
        Section(3, FSet.RiverCount());
        for (std::size_t i = 0; i < FSet.RiverCount(); ++i)
            River(FSet.River(i));
        Line("");
        Section(4, FSet.ImprovementCount());
        for (std::size_t i = 0; i < FSet.ImprovementCount(); ++i)
            Improvement(FSet.Improvement(i));
        Line("");
        Section(5, FSet.VariationRuleCount());
        for (std::size_t i = 0; i < FSet.VariationRuleCount(); ++i)
            Variation(FSet.VariationRule(i));
        Line("");
        Line("// " + FSet.ScriptSectionNames[6]);
        return std::move(FText);
    }

private:
    void Line(const std::string& text)
    {
        FText += text;
        FText += "\r\n";
    }

    void Section(int index, std::size_t count)
    {
        Line("// " + FSet.ScriptSectionNames[static_cast<std::size_t>(index)]);
        Line("");
        Line(std::to_string(count));
    }

    // The picture's name: the first element keeps it, later ones of the same name get
    // "_2", "_3", ... so that no picture is written over another's.
    std::string PictureName(const std::string& stem)
    {
        std::string name = stem + ".tga";
        for (int n = 2; !FNames.insert(name).second; ++n)
            name = stem + "_" + std::to_string(n) + ".tga";
        return name;
    }

    // An overlay without lines still gets a picture: one pixel of the transparent
    // colour, which reads back as an overlay without lines.
    void WriteOverlay(const TTileOverlay& overlay, const std::string& name, const TPictureColors& colors)
    {
        const auto path = PicturePath(name);
        if (!path)
            return;
        if (overlay.Empty())
            WriteTGA(MakeBuffer(1, 1, colors.Transparent), *path);
        else
            overlay.ExportTGA(*path, colors.Transparent, colors.Shadow);
    }

    // Where a picture goes, or nothing when only the text is wanted.
    std::optional<std::string> PicturePath(const std::string& name) const
    {
        if (!FGraphicsDir)
            return std::nullopt;
        return GraphicsFile(*FGraphicsDir, name).string();
    }

    void Rule(const TTileRule& rule)
    {
        Line("{");
        AddGrid(FText, rule.Values.data(), Signed6, " ");
        Line("");
        std::string alts = " ";
        for (int k = rvGraphics; k <= rvAlt5; ++k)
            alts += " " + Signed6(rule.Values[static_cast<std::size_t>(k)]);
        Line(alts);
        Line("}");
    }

    void Border(const TTileBorder& border)
    {
        const std::string name =
            PictureName("BORD" + IntToHexTrim(border.Inside & 0xFF, 2) + IntToHexTrim(border.Outside & 0xFF, 2));
        if (auto path = PicturePath(name))
            border.ExportTGA(*path, 15, FSet.TransparentColor);
        Line(IntToStrPad(border.Inside, 4, ' ') + " " + IntToStrPad(border.Outside, 4, ' ') + " " + name);
    }

    void Tile(const TTile& tile)
    {
        const std::string name = PictureName("TILE" + IntToHexTrim(tile.TileID, 4));
        const TPictureColors colors = ColorsFor(FSet, tile.Overlay.get());
        if (auto path = PicturePath(name))
            tile.ExportTGA(*path, colors.Transparent, colors.Shadow);
        Line(IntToStrPad(tile.TileID, 6, ' ') + " " + IntToStrPad(tile.TileIndex, 4, ' ') + " " +
             IntToBin(tile.BorderEdges, 4) + " " + name + ColorItems(colors));
    }

    void River(const TRiver& river)
    {
        const std::string name = PictureName("RIVE" + IntToHexTrim(river.ImprovementID, 4));
        const TPictureColors colors = ColorsFor(FSet, &river);
        WriteOverlay(river, name, colors);
        Line("{");
        Line(IntToStrPad(river.ImprovementID, 4, ' ') + " ");
        AddGrid(FText, river.Directions.data(), [](std::uint16_t v) { return std::to_string(v); }, " ");
        Line("  " + name + ColorItems(colors));
        Line("}");
    }

    void Improvement(const TTileImprovement& improvement)
    {
        const std::string name = PictureName("TIMP" + IntToHexTrim(improvement.ImprovementID, 4));
        const TPictureColors colors = ColorsFor(FSet, &improvement);
        WriteOverlay(improvement, name, colors);
        Line(IntToStrPad(improvement.ImprovementID, 5, ' ') + " " + name + ColorItems(colors));
    }

    void Variation(const TVariationRule& rule)
    {
        Line("{");
        for (std::size_t i = 0; i < rule.StepCount(); ++i)
            Line("  " + rule.StepText(i));
        Line("}");
    }

    const TTileFile& FSet;
    std::optional<std::filesystem::path> FGraphicsDir;
    std::unordered_set<std::string> FNames; // picture names given so far
    std::string FText;
};

} // namespace

void ExportScript(const TTileFile& set, const std::string& graphicsDir, const std::string& scriptFileName)
{
    const std::filesystem::path folder = ResolveGraphicsDir(scriptFileName, graphicsDir);
    const std::filesystem::path script = ScriptFilePath(scriptFileName);
    // Before the first picture: the script could not be written over its own folder.
    CheckGraphicsFolder(scriptFileName, folder);
    RemoveStaleTemporaryFiles(folder.string());
    const std::string text = TScriptWriter(set, folder).Write();
    // The pictures reach the disk before the script that names them.
    SyncFolder(folder.string());
    WriteWholeFile(script.string(), std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                   TWriteSync::Disk);
}

std::string ScriptText(const TTileFile& set)
{
    return TScriptWriter(set, std::nullopt).Write();
}

} // namespace kestrund
