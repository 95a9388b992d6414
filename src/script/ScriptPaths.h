#pragma once
// File names around a script: its graphics folder, the pictures in it and its log.
// Scripts may come from Windows: both '\' and '/' separate folders when reading.

#include <filesystem>
#include <string>
#include <unordered_set>

namespace kestrund {

// The script's name with the extension (from the last '.' after the last separator)
// replaced by ".log", or ".log" appended when there is none.
std::string LogFileNameFor(const std::string& scriptFileName);

// The script's name without folder and extension.
std::string ScriptBaseName(const std::string& scriptFileName);

// A graphics folder as written in a script, made a path of this platform; a relative
// folder lies beside the script.
std::filesystem::path ResolveGraphicsDir(const std::string& scriptFileName, const std::string& dirText);

// The picture file name inside the graphics folder.
std::filesystem::path GraphicsFile(const std::filesystem::path& dir, const std::string& name);

// When path does not exist, the path whose components differ only in letter case,
// if there is exactly such a file; otherwise path unchanged.
std::filesystem::path FindCaseInsensitive(const std::filesystem::path& path);

// FindCaseInsensitive(GraphicsFile(dir, name)) for the many pictures of one import:
// the folder is listed once, so that a name found there needs no look-up of its own.
class TPictureFinder {
public:
    TPictureFinder() = default;
    explicit TPictureFinder(std::filesystem::path dir) : FDir(std::move(dir)) {}
    std::filesystem::path Find(const std::string& name);

private:
    std::filesystem::path FDir;
    bool FListed = false;
    std::unordered_set<std::string> FExisting; // names in the folder that exist, as written
};

} // namespace kestrund
