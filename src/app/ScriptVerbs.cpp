// kestrund-cli export-script and import-script.

#include "CliCommands.h"

#include "Errors.h"
#include "ImportLog.h"
#include "ScriptExport.h"
#include "ScriptImport.h"
#include "ScriptPaths.h"

#include <filesystem>

namespace kestrund::cli {

namespace fs = std::filesystem;

int RunExportScript(const TCliArgs& args, std::ostream& /*out*/, std::ostream& err)
{
    args.ExpectPositionals({"IN.til", "SCRIPT.src"});
    const std::string script = args.Positionals()[1];
    // The folder as the writer will see it, refused before anything is read or made.
    const fs::path folder = ScriptGraphicsFolder(script);
    TTileFile set;
    set.ColorMode = ReadingMode(args, args.Positionals()[0], err);
    LoadNamed(set, args.Positionals()[0], false);

    std::error_code error;
    if (fs::is_directory(folder, error)) {
        if (!args.Has("--force"))
            throw EKestrundError("The directory '" + folder.string() +
                                 "' already exists; give --force to export into it (files of the same names "
                                 "are replaced)");
    } else if (fs::exists(folder, error)) {
        throw EKestrundError("A file named '" + folder.string() + "' already exists; could not create the directory");
    } else if (!fs::create_directory(folder, error)) {
        throw EFileCreateError(folder.string(), error.message());
    }
    ExportScript(set, folder.filename().string(), script);
    return ExitSuccess;
}

int RunImportScript(const TCliArgs& args, std::ostream& /*out*/, std::ostream& err)
{
    args.ExpectPositionals({"SCRIPT.src"});
    const std::string script = args.Positionals()[0];
    int level = llSimple;
    if (const auto text = args.Value("--log-level")) {
        if (*text != "0" && *text != "1" && *text != "2")
            throw ECliUsageError("--log-level must be 0, 1 or 2, not '" + *text + "'");
        level = (*text)[0] - '0';
    }
    CheckOutputsDiffer(args);

    TTileFile set;
    set.ColorMode = ParseColorModeOption(args);
    const std::optional<std::string> base = args.Value("--append");
    if (base) {
        set.ColorMode = ReadingMode(args, *base, err);
        LoadNamed(set, *base, false);
    }
    const std::string logFile = LogFileNameFor(script);
    int result = srSuccess;
    try {
        result = ImportScriptInto(set, script, logFile, base.has_value(), level);
    } catch (const ELogWriteError& e) {
        err << "kestrund-cli: importing " << script << " failed: the log could not be written: " << e.what() << '\n';
        return ExitLogNotWritten;
    }
    if (result >= 1 && result <= 16) {
        err << "kestrund-cli: importing " << script << " failed (result " << result << "); see " << logFile << '\n';
        return result;
    }
    if (result == srElementErrors)
        err << "kestrund-cli: some elements of " << script << " were not loaded; see " << logFile << '\n';
    try {
        if (const auto out555 = args.Value("--out555"))
            set.SaveToFile(*out555, cmRGB555);
        if (const auto out565 = args.Value("--out565"))
            set.SaveToFile(*out565, cmRGB565);
    } catch (const EKestrundError& e) {
        err << "kestrund-cli: " << script << " was imported (result " << result
            << "), but the tile file was not written: " << e.what() << '\n';
        return ExitSaveFailed;
    }
    return result;
}

} // namespace kestrund::cli
