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

// A name as it stands in a script, made relative: "C:" and leading separators go.
std::string InsideFolder(const std::string& name)
{
    std::size_t start = 0;
    if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0])))
        start = 2;
    while (start < name.size() && (name[start] == '/' || name[start] == '\\'))
        ++start;
    return Slashed(name.substr(start));
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

fs::path ScriptFilePath(const std::string& scriptFileName)
{
    return fs::path(Slashed(scriptFileName));
}

fs::path ResolveGraphicsDir(const std::string& scriptFileName, const std::string& dirText)
{
    fs::path dir(Slashed(dirText));
    if (dir.is_absolute())
        return dir;
    return ScriptFilePath(scriptFileName).parent_path() / dir;
}

fs::path GraphicsFile(const fs::path& dir, const std::string& name)
{
    return dir / fs::path(InsideFolder(name));
}

void CheckGraphicsFolder(const std::string& scriptFileName, const fs::path& folder)
{
    if (ScriptBaseName(scriptFileName).empty() || SameFilePath(folder, ScriptFilePath(scriptFileName)))
        throw EScriptNameError("Cannot export to \"" + scriptFileName +
                               "\": the script needs a name and an extension (such as .src), since its pictures "
                               "go into a folder beside it named like the script without its extension");
}

fs::path ScriptGraphicsFolder(const std::string& scriptFileName)
{
    const fs::path folder = ResolveGraphicsDir(scriptFileName, ScriptBaseName(scriptFileName));
    CheckGraphicsFolder(scriptFileName, folder);
    return folder;
}

void CheckLogIsNotScript(const std::string& scriptFileName, const std::string& logFileName)
{
    if (SameFilePath(ScriptFilePath(scriptFileName), ScriptFilePath(logFileName)))
        throw EScriptNameError("Cannot import \"" + scriptFileName +
                               "\": its import log would be written over the script itself; give the script "
                               "another extension, such as .src");
}

bool SameFilePath(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    if (fs::equivalent(a, b, error))
        return true;
    // Not both there: compare what the names would resolve to.
    auto full = [&error](const fs::path& p) {
        const fs::path absolute = fs::absolute(p, error);
        return error ? p.lexically_normal() : fs::weakly_canonical(absolute, error);
    };
    const fs::path fullA = full(a);
    const fs::path fullB = error ? fs::path() : full(b);
    return error ? a.lexically_normal() == b.lexically_normal() : fullA == fullB;
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
    const std::string inside = InsideFolder(name);
    const bool plain = !inside.empty() && inside != "." && inside != ".." && inside.find('/') == std::string::npos;
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
    return FExisting.count(inside) ? path : FindCaseInsensitive(path);
}

} // namespace kestrund
