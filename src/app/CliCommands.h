#pragma once
// The verbs of kestrund-cli. Adding a verb: write its Run function (in a file of its own
// beside TileFileVerbs.cpp) and add one entry to the table in CliCommands.cpp.

#include "CliArgs.h"
#include "TileFile.h"

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrund::cli {

// Exit statuses. import-script also exits with the import's own result code (0, 1 to
// 16, 17); the others lie above that range so that none of them can be taken for one.
constexpr int ExitSuccess = 0;
constexpr int ExitUsage = 64;      // apart from every import result code (1 to 17)
constexpr int ExitFailure = 20;        // anything else that stopped the verb
constexpr int ExitLogNotWritten = 21;  // import-script: the import log could not be written
constexpr int ExitSaveFailed = 22;     // import-script: imported, but a tile file could not be written

struct TCliVerb {
    std::string_view Name;
    std::string_view Usage;   // arguments after the verb name
    std::string_view Summary; // one line for --help
    std::vector<TCliOption> Options;
    // Returns the exit status; model errors propagate as exceptions, usage errors as ECliUsageError.
    int (*Run)(const TCliArgs& args, std::ostream& out, std::ostream& err);
};

const std::vector<TCliVerb>& CliVerbs();

// Runs a whole command line (without the program name); everything goes to out and err.
// helpEnd ends the text of --help (where the demo set and help pages are).
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err, std::string_view helpEnd = {});

// Reads a tile file into set; errors about its contents name the file.
TTileFileLoadInfo LoadNamed(TTileFile& set, const std::string& fileName, bool append);

// The colour mode a tile file is read in: --mode when given, else 5-6-5 when "565" is
// in the file's name (said on err) and 5-5-5 otherwise.
std::uint8_t ReadingMode(const TCliArgs& args, const std::string& fileName, std::ostream& err);

// A number option: decimal, or hex after 0x; def when absent. Raises ECliUsageError for
// anything else and for a number outside low..high.
long long Number(const TCliArgs& args, std::string_view name, long long def, long long low, long long high);

// Raises ECliUsageError when --out555 and --out565 name one file.
void CheckOutputsDiffer(const TCliArgs& args);

// Verbs on tile files (TileFileVerbs.cpp).
int RunInfo(const TCliArgs& args, std::ostream& out, std::ostream& err);
int RunSave(const TCliArgs& args, std::ostream& out, std::ostream& err);

// Verbs on scripts (ScriptVerbs.cpp).
int RunExportScript(const TCliArgs& args, std::ostream& out, std::ostream& err);
int RunImportScript(const TCliArgs& args, std::ostream& out, std::ostream& err);

// The view as a picture (RenderVerb.cpp).
int RunRender(const TCliArgs& args, std::ostream& out, std::ostream& err);

// Every element of a kind as one picture (SheetVerb.cpp).
int RunSheet(const TCliArgs& args, std::ostream& out, std::ostream& err);

} // namespace kestrund::cli
