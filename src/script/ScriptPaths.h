#pragma once
// File names around a script: its graphics folder, the pictures in it and its log.
// Scripts may come from Windows: both '\' and '/' separate folders when reading.

#include <filesystem>
#include <string>

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

} // namespace kestrund
