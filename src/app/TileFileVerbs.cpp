// kestrund-cli info and save.

#include "CliCommands.h"

#include "Errors.h"
#include "ScriptPaths.h"
#include "TileFile.h"

#include <algorithm>

namespace kestrund::cli {

// Errors about a file's contents are prefixed with the file's name, since one command
// may read several files.
TTileFileLoadInfo LoadNamed(TTileFile& set, const std::string& fileName, bool append)
{
    try {
        return set.LoadFromFile(fileName, append);
    } catch (const EFileOpenError&) {
        throw;
    } catch (const EKestrundError& e) {
        throw EKestrundError(fileName + ": " + e.what());
    }
}

std::uint8_t ReadingMode(const TCliArgs& args, const std::string& fileName, std::ostream& err)
{
    if (args.Has("--mode"))
        return ParseColorModeOption(args);
    // The game's own pair is gtset555.til and gtset565.til: reading a 5-6-5 file as
    // 5-5-5 would have every saved pixel converted as if it were one.
    if (!TileFileNameSays(fileName, "565"))
        return cmRGB555;
    err << "kestrund-cli: reading " << fileName << " as 5-6-5 (from its name; --mode sets it)\n";
    return cmRGB565;
}

void CheckOutputsDiffer(const TCliArgs& args)
{
    const auto out555 = args.Value("--out555");
    const auto out565 = args.Value("--out565");
    if (out555 && out565 && SameFilePath(*out555, *out565))
        throw ECliUsageError("--out555 and --out565 name the same file '" + *out565 + "'");
}

int RunInfo(const TCliArgs& args, std::ostream& out, std::ostream& err)
{
    args.ExpectPositionals({"FILE.til"});
    TTileFile set;
    set.ColorMode = ReadingMode(args, args.Positionals()[0], err);
    const TTileFileLoadInfo info = LoadNamed(set, args.Positionals()[0], false);

    std::size_t tilesWithOverlay = 0;
    int widest = 0;
    for (std::size_t i = 0; i < set.TileCount(); ++i)
        if (const TTileOverlay* overlay = set.Tile(i).Overlay.get()) {
            ++tilesWithOverlay;
            widest = std::max(widest, overlay->MaxWidth());
        }
    for (std::size_t i = 0; i < set.RiverCount(); ++i)
        widest = std::max(widest, set.River(i).MaxWidth());
    for (std::size_t i = 0; i < set.ImprovementCount(); ++i)
        widest = std::max(widest, set.Improvement(i).MaxWidth());

    out << "TileRules: " << set.TileRuleCount() << '\n'
        << "Borders: " << set.BorderCount() << '\n'
        << "Tiles: " << set.TileCount() << '\n'
        << "Rivers: " << set.RiverCount() << '\n'
        << "Improvements: " << set.ImprovementCount() << '\n'
        << "VariationRules: " << set.VariationRuleCount() << '\n'
        << "BorderHeader: " << set.BorderHeader[0] << ' ' << set.BorderHeader[1] << ' ' << set.BorderHeader[2]
        << '\n'
        << "TileHeader: " << set.TileHeader << '\n'
        << "TilesWithOverlay: " << tilesWithOverlay << '\n'
        << "WidestOverlay: " << widest << '\n'
        << "TrailingBytes: " << info.TrailingBytes << '\n'
        << "MissingSections: " << info.MissingSections << '\n';
    return ExitSuccess;
}

int RunSave(const TCliArgs& args, std::ostream& /*out*/, std::ostream& err)
{
    args.ExpectPositionals({"IN.til"});
    const std::optional<std::string> out555 = args.Value("--out555");
    const std::optional<std::string> out565 = args.Value("--out565");
    if (!out555 && !out565)
        throw ECliUsageError("nothing to write: give --out555 and/or --out565");
    CheckOutputsDiffer(args);
    ParseColorModeOption(args); // a bad --mode is a usage error before anything is read

    // Each file's elements keep the mode they were read in; saving converts them.
    TTileFile set;
    set.ColorMode = ReadingMode(args, args.Positionals()[0], err);
    LoadNamed(set, args.Positionals()[0], false);
    for (const std::string& more : args.Values("--append")) {
        set.ColorMode = ReadingMode(args, more, err);
        LoadNamed(set, more, true);
    }
    // The editor's order: the 5-5-5 file first, then the 5-6-5 one.
    if (out555)
        set.SaveToFile(*out555, cmRGB555);
    if (out565)
        set.SaveToFile(*out565, cmRGB565);
    return ExitSuccess;
}

} // namespace kestrund::cli
