#include "ProgramPlaces.h"

#include <filesystem>
#include <system_error>

// The build's demo folder relative to the built programs' folder, and the source tree's help
// pages; the build defines them.
#ifndef KESTRUND_BUILD_DEMO
#define KESTRUND_BUILD_DEMO ""
#endif
#ifndef KESTRUND_SOURCE_HELP
#define KESTRUND_SOURCE_HELP ""
#endif

namespace kestrund {

namespace fs = std::filesystem;

namespace {

std::string IfFile(const fs::path& file)
{
    std::error_code error;
    return fs::is_regular_file(file, error) ? file.lexically_normal().string() : std::string();
}

std::string FolderHolding(const fs::path& folder, const char* file)
{
    return IfFile(folder / file).empty() ? std::string() : folder.lexically_normal().string();
}

} // namespace

std::string InstalledDataFolder(const std::string& programPath)
{
    const fs::path bin = fs::path(programPath).parent_path();
    const fs::path data = bin.parent_path() / "share" / "kestrund";
    std::error_code error;
    return bin.filename() == "bin" && fs::is_directory(data, error) ? data.string() : std::string();
}

TProgramPlaces FindProgramPlaces(const std::string& programPath)
{
    if (const fs::path data = InstalledDataFolder(programPath); !data.empty())
        return {true, IfFile(data / "demo" / "gtset555.til"), FolderHolding(data / "help", "index.html")};
    const fs::path folder = fs::path(programPath).parent_path();
    return {false, *KESTRUND_BUILD_DEMO ? IfFile(folder / KESTRUND_BUILD_DEMO / "gtset555.til") : "",
            *KESTRUND_SOURCE_HELP ? FolderHolding(KESTRUND_SOURCE_HELP, "index.html") : ""};
}

std::string RunningProgramPath(const char* argv0)
{
    std::error_code error;
#ifdef __linux__
    if (const fs::path self = fs::read_symlink("/proc/self/exe", error); !error)
        return self.string();
#endif
    const fs::path given = argv0 ? argv0 : "";
    const fs::path absolute = fs::absolute(given, error);
    return error ? given.string() : absolute.lexically_normal().string();
}

std::string ProgramPlacesText(const TProgramPlaces& places)
{
    return std::string("\nFiles:\n") +
           "  demo set     " + (places.DemoSet.empty() ? "(not found)" : places.DemoSet) + "\n" +
           "  help pages   " + (places.HelpFolder.empty() ? "(not found)" : places.HelpFolder + "/index.html") + "\n";
}

} // namespace kestrund
