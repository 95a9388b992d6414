#pragma once
// File names around a script: its graphics folder, the pictures in it and its log.
// Scripts may come from Windows: both '\' and '/' separate folders when reading.

#include "Errors.h"

#include <filesystem>
#include <string>
#include <unordered_set>

namespace kestrund {

// A script name that cannot work: its log or its graphics folder would be the script
// itself. Raised before anything is written.
class EScriptNameError : public EKestrundError {
public:
    using EKestrundError::EKestrundError;
};

// The script's own name as a path of this platform, '\' and '/' both separating
// folders, the way every other name around a script is read.
std::filesystem::path ScriptFilePath(const std::string& scriptFileName);

// The script's name with the extension (from the last '.' after the last separator)
// replaced by ".log", or ".log" appended when there is none.
std::string LogFileNameFor(const std::string& scriptFileName);

// The script's name without folder and extension.
std::string ScriptBaseName(const std::string& scriptFileName);

// A graphics folder as written in a script, made a path of this platform; a relative
// folder lies beside the script.
std::filesystem::path ResolveGraphicsDir(const std::string& scriptFileName, const std::string& dirText);

// The picture file name inside the graphics folder. The name is always taken relative
// to it: a drive ("C:") and leading separators are dropped, as the Windows join of
// folder and name did, so a script cannot name files outside its folder that way.
std::filesystem::path GraphicsFile(const std::filesystem::path& dir, const std::string& name);

// The folder an export puts the pictures in: beside the script, named like it. Raises
// EScriptNameError (through CheckGraphicsFolder) when the name cannot work.
std::filesystem::path ScriptGraphicsFolder(const std::string& scriptFileName);

// Raises EScriptNameError when folder is the script itself (a script name without
// extension) or the script has no name to give its folder (only an extension).
void CheckGraphicsFolder(const std::string& scriptFileName, const std::filesystem::path& folder);

// Raises EScriptNameError when the import log would be written over the script.
void CheckLogIsNotScript(const std::string& scriptFileName, const std::string& logFileName);

// Whether two names reach the same file, also through links, "." and ".." or a
// relative and an absolute spelling; neither file needs to exist.
bool SameFilePath(const std::filesystem::path& a, const std::filesystem::path& b);

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
