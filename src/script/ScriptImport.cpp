#include "ScriptImport.h"

#include "FileUtil.h"
#include "MiscFunc.h"
#include "ScriptPaths.h"
#include "ScriptText.h"

#include <algorithm>
#include <array>

namespace kestrund {

namespace {

const std::string kHeader10 = "Kestrund Script v.1.0";
const std::string kHeader11 = "Kestrund Script v.1.1";
const std::string kBareLineMessage = "     Line: \"%s\"";
const std::string kInvalidArgs = "Invalid number of arguments";

enum TSection { secRules, secBorders, secTiles, secRivers, secImprovements, secVariations };

struct TSectionTexts {
    const char* CountName;   // in "There are %d ... to load" and the count error
    const char* SummaryName; // in "%d of %d ... successfully loaded"
    const char* ErrorText;   // element error, with the number and the line
};
constexpr std::array<TSectionTexts, 6> Sections = {{
    {"TileRules", "Rules", "ERROR: Error generating rule number %d at line %d"},
    {"TileBorders", "Borders", "ERROR: Error generating border number %d at line %d"},
    {"Tiles", "Tiles", "ERROR: Error generating tile number %d at line %d"},
    {"Rivers", "Rivers", "ERROR: Error generating tile number %d at line %d"},
    {"TileImprovements", "Tile Improvements", "ERROR: Error generating tile improvement number %d at line %d"},
    {"VariationRules", "VariationRules", "ERROR: Error generating last block number %d at line %d"},
}};

// The end of the script was reached while looking for a line.
class EEndOfScript : public EScriptImportError {
public:
    EEndOfScript() : EScriptImportError("Unexpected end of the script file") {}
};

// Stops the import with a result code after its messages were logged.
struct TStop {
    int Code;
};

struct TBlock {
    std::string Text;
    std::size_t Closing;
};

class TImporter {
public:
    TImporter(TTileFile& set, const std::string& fileName, TImportLog& log, bool append,
              const TImportProgressFn& progress)
        : FSet(set), FFileName(fileName), FLog(log), FAppend(append), FProgress(progress)
    {
    }

    int Run()
    {
        try {
            ReadFile();
            ReadHeader();
            Decomment();
            ReadColors();
            ReadSection(secRules, &TImporter::ReadRule);
            ReadSection(secBorders, &TImporter::ReadBorder);
            ReadSection(secTiles, &TImporter::ReadTile);
            ReadSection(secRivers, &TImporter::ReadRiver);
            ReadSection(secImprovements, &TImporter::ReadImprovement);
            ReadSection(secVariations, &TImporter::ReadVariationRule);
        } catch (const TStop& stop) {
            return stop.Code;
        }
        if (FResult == srRunning) {
            FResult = srSuccess;
            FLog.Add("There was no errors converting \"" + FFileName + "\"", llSimple);
        } else {
            FLog.Add("ERROR: Some elements of \"" + FFileName + "\" were not loaded successfully", llSimple);
        }
        FSet.RebuildTileIndexList();
        return FResult;
    }

private:
    // One element: where it stands, and its number in the set's list.
    struct TElement {
        std::size_t Line = 0;
        std::string BlockText; // rules and rivers: quoted in Simple-level line messages
        bool IsBlock = false;
    };

    void ReadFile()
    {
        std::vector<std::uint8_t> bytes;
        try {
            bytes = ReadWholeFile(ScriptFilePath(FFileName).string());
        } catch (const EKestrundError&) {
            FLog.Add("ERROR: Error reading file: \"" + FFileName + "\" or file not found", llSimple);
            throw TStop{srReadError};
        }
        FLines = SplitScriptLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        FLog.Add("\"" + FFileName + "\" successfully loaded\n\r   Processing started", llExtensive, false);
    }

    void ReadHeader()
    {
        if (!FLines.empty() && FLines[0] == kHeader10)
            FVersion11 = false;
        else if (!FLines.empty() && FLines[0] == kHeader11)
            FVersion11 = true;
        else {
            FLog.Add("ERROR: \"" + FFileName + "\" is not a valid script-file", llSimple);
            throw TStop{srNotAScript};
        }
        if (!FAppend)
            FSet.Clear();
    }

    void Decomment()
    {
        for (std::string& line : FLines) {
            const std::size_t at = line.find("//");
            if (at != std::string::npos)
                line.erase(at);
        }
        FLog.Add("Decommenting succesfull\n\r", llExtensive);
    }

    std::string LineMessage(std::size_t line) const
    {
        if (line >= FLines.size())
            return kBareLineMessage;
        return "     Line: \"" + FLines[line] + "\"";
    }

    void LogError(const std::string& message, const std::string& lineMessage)
    {
        FLog.Add(message, llSimple, false);
        FLog.Add(lineMessage, llSimple);
    }

    // The first line at or after from that is not blank.
    std::size_t NextLine(std::size_t from) const
    {
        for (std::size_t i = from; i < FLines.size(); ++i)
            if (!IsBlankText(FLines[i]))
                return i;
        throw EEndOfScript();
    }

    TBlock ReadBlock(std::size_t from) const
    {
        std::size_t open = from;
        while (open < FLines.size() && FLines[open].find('{') == std::string::npos)
            ++open;
        std::size_t close = open;
        while (close < FLines.size() && FLines[close].find('}') == std::string::npos)
            ++close;
        if (close >= FLines.size())
            throw EEndOfScript();
        std::string joined;
        for (std::size_t i = open; i <= close; ++i) {
            joined += FLines[i];
            joined += ' ';
        }
        const std::size_t a = joined.find('{');
        const std::size_t b = joined.find('}');
        return {b > a ? joined.substr(a + 1, b - a - 1) : std::string(), close};
    }

    void ReadColors()
    {
        FCurrent = NextLine(1);
        std::string dir;
        try {
            const auto items = SplitCommaText(FLines[FCurrent]);
            if (items.size() == 1) {
                dir = TrimText(items[0]);
                FCurrent = NextLine(FCurrent + 1);
                const auto colors = SplitCommaText(FLines[FCurrent]);
                FTransparent = static_cast<TColor>(StrToIntStrict(Item(colors, 0)));
                FShadow = static_cast<TColor>(StrToIntStrict(Item(colors, 1)));
            } else if (items.size() == 2) {
                dir = ScriptBaseName(FFileName);
                FTransparent = static_cast<TColor>(StrToIntStrict(items[0]));
                FShadow = static_cast<TColor>(StrToIntStrict(items[1]));
            } else if (items.size() == 3) {
                dir = TrimText(items[0]);
                FTransparent = static_cast<TColor>(StrToIntStrict(items[1]));
                FShadow = static_cast<TColor>(StrToIntStrict(items[2]));
            } else {
                LogError("ERROR: Error reading default colors at Line " + std::to_string(FCurrent) + "\n\r:" +
                             kInvalidArgs,
                         LineMessage(FCurrent));
                throw TStop{srColors};
            }
        } catch (const EConvertError& e) {
            ColorsFailed(e.what());
        } catch (const EListIndexError& e) {
            ColorsFailed(e.what());
        }
        if (dir.empty() || (dir.back() != '\\' && dir.back() != '/'))
            dir += '\\';
        FGraphicsDir = ResolveGraphicsDir(FFileName, dir);
        FPictures = TPictureFinder(FGraphicsDir);
        FLog.Add("Default values successfully read\n\r", llExtensive);
    }

    [[noreturn]] void ColorsFailed(const std::string& text)
    {
        LogError("ERROR: Error reading default colors at Line " + std::to_string(FCurrent) + "\n\r: " + text,
                 LineMessage(FCurrent));
        throw TStop{srColors};
    }

    static const std::string& Item(const std::vector<std::string>& items, std::size_t i)
    {
        if (i >= items.size())
            throw EListIndexError(static_cast<long long>(i));
        return items[i];
    }

    std::string PicturePath(const std::string& name) { return FPictures.Find(name).string(); }

    std::size_t CountOf(TSection section) const
    {
        switch (section) {
        case secRules: return FSet.TileRuleCount();
        case secBorders: return FSet.BorderCount();
        case secTiles: return FSet.TileCount();
        case secRivers: return FSet.RiverCount();
        case secImprovements: return FSet.ImprovementCount();
        default: return FSet.VariationRuleCount();
        }
    }

    // readOne finds the element's line, adds the element (setting added) and fills it;
    // it returns the file name item for the success message. Errors after the element
    // was added are the element's.
    using TReadOne = std::string (TImporter::*)(bool& added);
    void ReadSection(TSection section, TReadOne readOne)
    {
        const TSectionTexts& texts = Sections[section];
        FCurrent = NextLine(FCurrent + 1);
        std::int32_t count = 0;
        try {
            count = StrToIntStrict(FLines[FCurrent]);
        } catch (const EConvertError& e) {
            LogError("ERROR: Error reading number of " + std::string(texts.CountName) + " at Line " +
                         std::to_string(FCurrent) + "\n\r: " + e.what(),
                     LineMessage(FCurrent));
            throw TStop{srTileRuleCount + static_cast<int>(section)};
        }
        if (count < 0 || CountOf(section) + static_cast<std::size_t>(count) > 0xFFFF)
            throw EScriptImportError(Format("The tile set cannot take %d more %s", count, texts.CountName));
        FLog.Add(Format("There are %d %s to load", count, texts.CountName), llExtensive);

        int loaded = 0;
        for (std::int32_t e = 0; e < count; ++e) {
            if (FProgress)
                FProgress({section, static_cast<std::size_t>(e), static_cast<std::size_t>(count)});
            FElement = TElement();
            FNumber = CountOf(section); // the number the new element will have
            std::string fileItem;
            bool added = false;
            try {
                fileItem = (this->*readOne)(added);
            } catch (const EScriptImportError& failure) {
                if (section != secImprovements || added)
                    throw;
                // The improvement's line could not be found at all.
                LogError(Format(texts.ErrorText, static_cast<int>(FNumber), static_cast<int>(FLines.size())) +
                             ": " + failure.what(),
                         kBareLineMessage);
                throw TStop{srImprovementLine};
            } catch (const TStop&) {
                throw;
            } catch (const EKestrundError& failure) {
                FResult = srElementErrors;
                const bool quoteBlock = FLog.Level() == llSimple && FElement.IsBlock;
                LogError(Format(texts.ErrorText, static_cast<int>(FNumber), static_cast<int>(FElement.Line)) +
                             ": " + failure.what(),
                         quoteBlock ? "     Line: \"" + FElement.BlockText + "\"" : LineMessage(FElement.Line));
                continue;
            }
            ++loaded;
            LogSuccess(section, fileItem);
        }
        FLog.Add(Format("%d of %d %s successfully loaded\n\r", loaded, count, texts.SummaryName), llSimple);
    }

    void LogSuccess(TSection section, const std::string& fileItem)
    {
        if (!FLog.Wants(llTotal))
            return;
        const int n = static_cast<int>(FNumber), line = static_cast<int>(FElement.Line);
        std::string m;
        switch (section) {
        case secRules: m = Format("Rule number %d at line %d successfully loaded", n, line); break;
        case secBorders: m = Format("Border number %d at line %d successfully loaded from \"", n, line); break;
        case secTiles: m = Format("Tile number %d at line %d successfully loaded from \"", n, line); break;
        case secRivers: m = Format("River number %d at line %d successfully loaded from \"", n, line); break;
        case secImprovements:
            m = Format("Til improvement number %d at line %d successfully loaded from \"", n, line);
            break;
        case secVariations: m = Format("VariationRule number %d at line %d successfully loaded", n, line); break;
        }
        if (section != secRules && section != secVariations)
            m += fileItem + "\"";
        FLog.Add(m, llTotal);
    }

    // Each reader: find the line or block (failures here end the import), add the
    // element, then fill it (failures here are the element's).

    std::string ReadRule(bool& added)
    {
        // From the line after the previous block, so that a block standing on one line
        // is not read again for the next rule.
        const TBlock block = ReadBlock(FCurrent + 1);
        FCurrent = block.Closing;
        FElement = {block.Closing, block.Text, true};
        TTileRule& rule = FSet.AddTileRule(std::make_unique<TTileRule>(&FSet));
        added = true;
        const auto items = SplitCommaText(block.Text);
        if (items.size() != 15)
            throw EKestrundError(kInvalidArgs);
        static constexpr int target[15] = {nbNW, nbN, nbNE, nbW, nbCentre, nbE, nbSW, nbS, nbSE,
                                           rvGraphics, rvAlt1, rvAlt2, rvAlt3, rvAlt4, rvAlt5};
        for (int i = 0; i < 15; ++i)
            rule.SetValue(target[i], static_cast<std::uint16_t>(StrToIntDef(items[static_cast<std::size_t>(i)], -1)));
        return {};
    }

    std::string ReadBorder(bool& added)
    {
        FCurrent = NextLine(FCurrent + 1);
        FElement.Line = FCurrent;
        TTileBorder& border = FSet.AddBorder(std::make_unique<TTileBorder>(FSet.ColorMode));
        added = true;
        const auto items = SplitCommaText(TrimText(FLines[FCurrent]));
        if (items.size() != 3 && items.size() != 4)
            throw EKestrundError(kInvalidArgs);
        border.Inside = static_cast<std::uint16_t>(StrToIntStrict(items[0]));
        border.Outside = static_cast<std::uint16_t>(StrToIntStrict(items[1]));
        if (items.size() == 3)
            border.ImportTGA(PicturePath(items[2]));
        else
            border.ImportTGA(PicturePath(items[2]), StrToIntDef(items[3], 0));
        return items[2];
    }

    std::string ReadTile(bool& added)
    {
        FCurrent = NextLine(FCurrent + 1);
        FElement.Line = FCurrent;
        TTile& tile = FSet.AddTile(std::make_unique<TTile>(0, FSet.ColorMode));
        added = true;
        const auto items = SplitCommaText(TrimText(FLines[FCurrent]));
        TColor transparent = FTransparent, shadow = FShadow;
        // A malformed colour here ends the import: it is read outside the tile's own handling.
        try {
            if (items.size() == 5 || items.size() == 6)
                transparent = static_cast<TColor>(StrToIntStrict(items[4]));
            if (items.size() == 6)
                shadow = static_cast<TColor>(StrToIntStrict(items[5]));
        } catch (const EConvertError& e) {
            throw EScriptImportError(Format("Tile number %d at line %d: ", static_cast<int>(FNumber),
                                            static_cast<int>(FCurrent)) + e.what());
        }
        if (items.size() < 4 || items.size() > 6)
            throw EKestrundError(kInvalidArgs);
        tile.TileID = static_cast<std::uint16_t>(StrToIntStrict(items[0]));
        tile.TileIndex = static_cast<std::uint8_t>(StrToIntStrict(items[1]));
        tile.BorderEdges = static_cast<std::uint8_t>(BinToInt(items[2]));
        tile.ImportTGA(PicturePath(items[3]), transparent, shadow, tile.BorderEdges);
        return items[3];
    }

    std::string ReadRiver(bool& added)
    {
        const TBlock block = ReadBlock(NextLine(FCurrent + 1));
        FCurrent = block.Closing;
        FElement = {block.Closing, block.Text, true};
        TRiver& river = FSet.AddRiver(std::make_unique<TRiver>(FSet.ColorMode));
        added = true;
        const auto items = SplitCommaText(block.Text);
        if (items.size() < 11 || items.size() > 13)
            throw EKestrundError(kInvalidArgs);
        river.ImprovementID = static_cast<std::uint16_t>(StrToIntStrict(items[0]));
        static constexpr int target[9] = {nbNW, nbN, nbNE, nbW, nbCentre, nbE, nbSW, nbS, nbSE};
        for (int i = 0; i < 9; ++i)
            river.Directions[static_cast<std::size_t>(target[i])] =
                static_cast<std::uint16_t>(StrToIntDef(items[static_cast<std::size_t>(i) + 1], 0));
        TColor transparent = FTransparent, shadow = FShadow;
        if (items.size() >= 12)
            transparent = static_cast<TColor>(StrToIntStrict(items[11]));
        if (items.size() == 13)
            shadow = static_cast<TColor>(StrToIntStrict(items[12]));
        river.ImportTGA(PicturePath(items[10]), transparent, shadow);
        return items[10];
    }

    std::string ReadImprovement(bool& added)
    {
        FCurrent = NextLine(FCurrent + 1);
        FElement.Line = FCurrent;
        TTileImprovement& improvement = FSet.AddImprovement(std::make_unique<TTileImprovement>(FSet.ColorMode));
        added = true;
        const auto items = SplitCommaText(TrimText(FLines[FCurrent]));
        if (items.size() < 2 || items.size() > 4)
            throw EKestrundError(kInvalidArgs);
        TColor transparent = FTransparent, shadow = FShadow;
        if (items.size() >= 3)
            transparent = static_cast<TColor>(StrToIntStrict(items[2]));
        if (items.size() == 4)
            shadow = static_cast<TColor>(StrToIntStrict(items[3]));
        improvement.ImprovementID = static_cast<std::uint16_t>(StrToIntStrict(items[0]));
        improvement.ImportTGA(PicturePath(items[1]), transparent, shadow);
        return items[1];
    }

    std::string ReadVariationRule(bool& added)
    {
        const std::size_t first = NextLine(FCurrent + 1);
        const bool oneLine = !FVersion11 || FLines[first].find('$') != std::string::npos;
        std::string text;
        if (oneLine) {
            FCurrent = first;
            FElement.Line = first;
            text = FLines[first];
        } else {
            const TBlock block = ReadBlock(first);
            FCurrent = block.Closing;
            FElement.Line = block.Closing;
            text = block.Text;
        }
        TVariationRule& rule = FSet.AddVariationRule(std::make_unique<TVariationRule>());
        added = true;
        const auto items = SplitCommaText(text);
        if (oneLine) {
            const std::int32_t n = StrToIntStrict(Item(items, 0));
            if (n < 0 || n > 0xFFFF)
                throw EKestrundError(Format("%d is not a valid number of steps", n));
            // Steps are made only for the items the line holds: a short line announcing
            // 65535 steps must not cost a quarter megabyte per rule.
            std::vector<std::uint32_t> steps;
            steps.reserve(std::min(static_cast<std::size_t>(n), items.size()));
            for (std::int32_t k = 0; k < n; ++k) {
                const std::string& item = Item(items, static_cast<std::size_t>(k) + 1);
                steps.push_back(static_cast<std::uint32_t>(StrToIntStrict(FVersion11 ? item : "$" + item)));
            }
            rule.Steps = std::move(steps);
        } else {
            const std::size_t n = items.size() / 3;
            rule.SetStepCount(static_cast<std::uint16_t>(n));
            for (std::size_t k = 0; k < n; ++k) {
                rule.SetStepTileIndex(k, StrToIntDef(items[3 * k], 0));
                rule.SetStepDir(k, StrToIntDef(items[3 * k + 1], 0));
                rule.SetStepTileID(k, static_cast<std::uint16_t>(StrToIntDef(items[3 * k + 2], 0)));
            }
        }
        return {};
    }

    TTileFile& FSet;
    const std::string& FFileName;
    TImportLog& FLog;
    bool FAppend;
    const TImportProgressFn& FProgress;

    std::vector<std::string> FLines;
    std::size_t FCurrent = 0;
    bool FVersion11 = true;
    std::filesystem::path FGraphicsDir;
    TPictureFinder FPictures;
    TColor FTransparent = 0;
    TColor FShadow = 0;
    int FResult = srRunning;
    TElement FElement;
    std::size_t FNumber = 0;
};

} // namespace

int ImportScript(TTileFile& set, const std::string& fileName, std::vector<std::string>* log, bool append,
                 const TImportProgressFn& progress)
{
    TImportLog importLog(log);
    return TImporter(set, fileName, importLog, append, progress).Run();
}

int ImportScriptLogged(TTileFile& set, const std::string& fileName, const std::string& logFileName, bool append,
                       int level, const TImportProgressFn& progress)
{
    CheckLogIsNotScript(fileName, logFileName);
    TImportLog importLog(logFileName, level);
    return TImporter(set, fileName, importLog, append, progress).Run();
}

} // namespace kestrund

namespace kestrund {

namespace {
// Runs the import on target at the given level.
int RunImport(TTileFile& target, const std::string& fileName, const std::string& logFileName, bool append,
              int logLevel, const TImportProgressFn& progress)
{
    if (logLevel == llExtensive || logLevel == llTotal)
        return ImportScriptLogged(target, fileName, logFileName, append, logLevel, progress);
    std::vector<std::string> log;
    const int result = ImportScript(target, fileName, &log, append, progress);
    WriteLogFile(logFileName, log);
    return result;
}

void TruncateTo(std::size_t count, std::size_t (TTileFile::*size)() const, void (TTileFile::*remove)(std::size_t),
                TTileFile& set)
{
    while ((set.*size)() > count)
        (set.*remove)((set.*size)() - 1);
}
} // namespace

int ImportScriptInto(TTileFile& set, const std::string& fileName, const std::string& logFileName, bool append,
                     int logLevel, const TImportProgressFn& progress)
{
    CheckLogIsNotScript(fileName, logFileName);
    if (append) {
        // Appending only adds elements: taking them off again restores the set.
        const std::size_t counts[6] = {set.TileRuleCount(), set.BorderCount(), set.TileCount(),
                                       set.RiverCount(), set.ImprovementCount(), set.VariationRuleCount()};
        try {
            return RunImport(set, fileName, logFileName, true, logLevel, progress);
        } catch (...) {
            TruncateTo(counts[0], &TTileFile::TileRuleCount, &TTileFile::DeleteTileRule, set);
            TruncateTo(counts[1], &TTileFile::BorderCount, &TTileFile::DeleteBorder, set);
            TruncateTo(counts[2], &TTileFile::TileCount, &TTileFile::DeleteTile, set);
            TruncateTo(counts[3], &TTileFile::RiverCount, &TTileFile::DeleteRiver, set);
            TruncateTo(counts[4], &TTileFile::ImprovementCount, &TTileFile::DeleteImprovement, set);
            TruncateTo(counts[5], &TTileFile::VariationRuleCount, &TTileFile::DeleteVariationRule,
                                       set);
            set.RebuildTileIndexList();
            throw;
        }
    }
    // A new set is built beside the open one and takes its place only when the import
    // got past the header (as the import clears the set only then) without failing.
    TTileFile scratch;
    scratch.ColorMode = set.ColorMode;
    scratch.TransparentColor = set.TransparentColor;
    scratch.ShadowColor = set.ShadowColor;
    scratch.BorderHeader = set.BorderHeader;
    scratch.TileHeader = set.TileHeader;
    const int result = RunImport(scratch, fileName, logFileName, false, logLevel, progress);
    if (result != srNotAScript && result != srReadError) {
        set.Clear();
        set.AppendElementsFrom(scratch);
    }
    return result;
}

} // namespace kestrund
