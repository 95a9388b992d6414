#include "ScriptPaths.h"

#include <algorithm>
#include <cctype>

namespace kestrund {

namespace fs = std::filesystem;

namespace {
std::string Slashed(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::size_t NameStart(const std::string& fileName)
{
    const std::size_t sep = fileName.find_last_of("/\\");
    return sep == std::string::npos ? 0 : sep + 1;
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
} // namespace

std::string LogFileNameFor(const std::string& scriptFileName)
{
    const std::size_t dot = scriptFileName.find_last_of('.');
    if (dot != std::string::npos && dot >= NameStart(scriptFileName))
        return scriptFileName.substr(0, dot) + ".log";
    return scriptFileName + ".log";
}

std::string ScriptBaseName(const std::string& scriptFileName)
{
    std::string name = scriptFileName.substr(NameStart(scriptFileName));
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

fs::path ResolveGraphicsDir(const std::string& scriptFileName, const std::string& dirText)
{
    fs::path dir(Slashed(dirText));
    if (dir.is_absolute())
        return dir;
    return fs::path(Slashed(scriptFileName)).parent_path() / dir;
}

fs::path GraphicsFile(const fs::path& dir, const std::string& name)
{
    return dir / fs::path(Slashed(name));
}

fs::path FindCaseInsensitive(const fs::path& path)
{
    std::error_code error;
    if (fs::exists(path, error))
        return path;
    // Walk down from the deepest existing folder, matching each missing part by case.
    fs::path resolved = path.is_absolute() ? fs::path() : fs::path(".");
    for (const fs::path& part : path) {
        const fs::path candidate = resolved / part;
        if (fs::exists(candidate, error)) {
            resolved = candidate;
            continue;
        }
        fs::path match;
        for (fs::directory_iterator it(resolved, error), end; !error && it != end; it.increment(error))
            if (SameIgnoringCase(it->path().filename().string(), part.string())) {
                match = it->path();
                break;
            }
        if (match.empty())
            return path;
        resolved = match;
    }
    return resolved;
}

fs::path TPictureFinder::Find(const std::string& name)
{
    const fs::path path = GraphicsFile(FDir, name);
    // Only a plain file name can be answered from the listing.
    const bool plain = !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
    if (!plain)
        return FindCaseInsensitive(path);
    if (!FListed) {
        FListed = true;
        std::error_code error;
        for (fs::directory_iterator it(FDir, error), end; !error && it != end; it.increment(error)) {
            // A link counts only when what it names exists, as for the direct look-up.
            std::error_code ignored;
            if (!it->is_symlink(ignored) || fs::exists(it->path(), ignored))
                FExisting.insert(it->path().filename().string());
        }
    }
    // Not listed: the full search, which also sees files that came after the listing.
    return FExisting.count(name) ? path : FindCaseInsensitive(path);
}

} // namespace kestrund
