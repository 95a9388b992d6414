#include "CliCommands.h"

#include "Errors.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <new>

#ifndef KESTRUND_VERSION
#define KESTRUND_VERSION "unknown"
#endif

namespace kestrund::cli {

namespace {

constexpr std::string_view ProgramName = "kestrund-cli";
const TCliOption ModeOption{"--mode", true, false};

void PrintHelp(std::ostream& out, std::string_view end)
{
    out << "Usage: " << ProgramName << " VERB ARGUMENTS...\n"
        << "       " << ProgramName << " VERB --help\n"
        << "       " << ProgramName << " --help | --version\n\nVerbs:\n";
    for (const TCliVerb& verb : CliVerbs())
        out << "  " << verb.Name << ' ' << verb.Usage << "\n      " << verb.Summary << '\n';
    out << "\n--mode is the colour mode a tile file is read in. Without it, a file with 565 in its\n"
        << "name is read as 5-6-5 (said on standard error) and any other as 5-5-5.\n"
        << "--out555 and --out565 must name different files.\n"
        << "\nExit status:\n"
        << "  0      success\n"
        << "  1-16   import-script: the import failed with this result code (see the log)\n"
        << "  17     import-script: imported, but some elements were not loaded (see the log)\n"
        << "  20     failure (a file that cannot be read or written, a damaged file, ...)\n"
        << "  21     import-script: the import log could not be written; nothing was saved\n"
        << "  22     import-script: imported, but a requested tile file could not be written\n"
        << "  64     usage error (nothing was read or written)\n"
        << end;
}

int UsageError(std::ostream& err, const std::string& message, std::string_view verb = {})
{
    err << ProgramName << ": " << message << '\n'
        << "Try '" << ProgramName << (verb.empty() ? "" : " ") << verb << " --help'.\n";
    return ExitUsage;
}

} // namespace

long long Number(const TCliArgs& args, std::string_view name, long long def, long long low, long long high)
{
    const auto text = args.Value(name);
    if (!text)
        return def;
    std::string_view digits = *text;
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        base = 16;
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() || value < low ||
        value > high)
        throw ECliUsageError(std::string(name) + " must be a number from " + std::to_string(low) + " to " +
                             std::to_string(high) + ", not '" + *text + "'");
    return value;
}

const std::vector<TCliVerb>& CliVerbs()
{
    static const std::vector<TCliVerb> verbs{
        {"info", "FILE.til [--mode 555|565]",
         "Prints the element counts, the headers, the overlays' extent, the bytes after the last section "
         "and the sections the file stopped before.",
         {ModeOption},
         RunInfo},
        {"save", "IN.til [--mode 555|565] [--append MORE.til]... [--out555 FILE] [--out565 FILE]",
         "Reads IN.til, appends each MORE.til in order, then writes the 5-5-5 and/or 5-6-5 file.",
         {ModeOption, {"--append", true, true}, {"--out555", true, false}, {"--out565", true, false}},
         RunSave},
        {"export-script", "IN.til SCRIPT.src [--mode 555|565] [--force]",
         "Writes IN.til as SCRIPT.src with its pictures in a folder named like the script, beside it.",
         {ModeOption, {"--force", false, false}},
         RunExportScript},
        {"import-script",
         "SCRIPT.src [--append BASE.til] [--mode 555|565] [--log-level 0|1|2] [--out555 FILE] [--out565 FILE]",
         "Reads SCRIPT.src (after BASE.til's elements), logs beside it, writes the requested tile files; "
         "exits with the import's result code.",
         {ModeOption, {"--append", true, false}, {"--log-level", true, false}, {"--out555", true, false},
          {"--out565", true, false}},
         RunImportScript},
        {"render", "IN.til OUT.tga|.bmp|.jpg [--mode 555|565] [view options]",
         "Draws the editor's view of IN.til into a picture and prints the shown elements' IDs. View options: "
         "--view single|3x3|variation, --tile N, --border N, --river N, --improvement N, --rule N (3x3 view), "
         "--variation N (variation view), --border-mask M (turns borders on), --border-width N, "
         "--background 0xBBGGRR, --shadow 0xBBGGRR, --hex (IDs printed in hex).",
         {ModeOption, {"--view", true, false}, {"--tile", true, false}, {"--border", true, false},
          {"--river", true, false}, {"--improvement", true, false}, {"--rule", true, false},
          {"--variation", true, false}, {"--border-mask", true, false}, {"--border-width", true, false},
          {"--background", true, false}, {"--shadow", true, false}, {"--hex", false, false}},
         RunRender},
        {"sheet",
         "IN.til OUT.png|.bmp|.tga|.jpg [--mode 555|565] [--kind tiles|borders|rivers|improvements|rules|variations] "
         "[--columns N] [--zoom 1-8] [--labels] [--hex] [--background 0xBBGGRR] [--shadow 0xBBGGRR]",
         "Draws every element of one kind (tiles by default) into one picture, a grid of --columns columns (as many "
         "as fit in 1600 pixels by default) at --zoom (1 by default), each with its number and ID under it when "
         "--labels is given (in hex with --hex); prints the picture's size and the cells.",
         {ModeOption, {"--kind", true, false}, {"--columns", true, false}, {"--zoom", true, false},
          {"--labels", false, false}, {"--hex", false, false}, {"--background", true, false},
          {"--shadow", true, false}},
         RunSheet},
    };
    return verbs;
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err, std::string_view helpEnd)
{
    if (args.empty())
        return UsageError(err, "no verb given");
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        PrintHelp(out, helpEnd);
        return ExitSuccess;
    }
    if (first == "--version") {
        out << ProgramName << ' ' << KESTRUND_VERSION << '\n';
        return ExitSuccess;
    }
    const auto& verbs = CliVerbs();
    const auto verb = std::find_if(verbs.begin(), verbs.end(), [&](const TCliVerb& v) { return v.Name == first; });
    if (verb == verbs.end())
        return UsageError(err, "unknown verb '" + first + "'");

    const std::span<const std::string> rest = args.subspan(1);
    if (std::find_if(rest.begin(), rest.end(), [](const std::string& a) { return a == "--help" || a == "-h"; }) !=
        rest.end()) {
        out << "Usage: " << ProgramName << ' ' << verb->Name << ' ' << verb->Usage << "\n" << verb->Summary << '\n';
        return ExitSuccess;
    }
    try {
        const TCliArgs parsed(rest, verb->Options);
        return verb->Run(parsed, out, err);
    } catch (const ECliUsageError& e) {
        return UsageError(err, std::string(verb->Name) + ": " + e.what(), verb->Name);
    } catch (const std::bad_alloc&) {
        err << ProgramName << ": out of memory\n";
        return ExitFailure;
    } catch (const std::exception& e) {
        err << ProgramName << ": " << e.what() << '\n';
        return ExitFailure;
    }
}

} // namespace kestrund::cli
