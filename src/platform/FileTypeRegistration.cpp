#include "FileTypeRegistration.h"

#include "FileUtil.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>
#else
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace kestrund {

namespace fs = std::filesystem;

namespace {

const char* const kDefaultSection = "[Default Applications]";
const char* const kMimePackage = "mime/packages/kestrund-til.xml";
const char* const kDesktopEntry = "applications/kestrund.desktop";
const char* const kIconFile = "icons/hicolor/scalable/apps/kestrund.svg";

// A diamond tile with its earth below: the program's and the tile file's icon.
const char* const kIcon = R"(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <path d="M2 22 L24 36 L24 44 L2 30 Z" fill="#9c6b3c"/>
  <path d="M46 22 L24 36 L24 44 L46 30 Z" fill="#74502c"/>
  <path d="M24 8 L46 22 L24 36 L2 22 Z" fill="#6fae4a" stroke="#3d6e24" stroke-width="1.5" stroke-linejoin="round"/>
  <path d="M13 15 L35 29 M35 15 L13 29" stroke="#3d6e24" stroke-width="1" opacity="0.5"/>
  <path d="M24 4 L29 10 L24 16 L19 10 Z" fill="#3b78c4" stroke="#1f4f8f" stroke-width="1"/>
</svg>
)";

std::string Trimmed(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::string XmlText(const std::string& s)
{
    std::string out;
    for (char c : s)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

// The program as the first word of an Exec line: quoted when it holds a reserved character, with
// the characters that quoting does not protect escaped, then escaped once more as a desktop-entry
// string; % doubled. A plain name (an installed entry's) stays bare, as desktops show it.
std::optional<std::string> ExecProgram(const std::string& path)
{
    if (!path.empty() && path.find_first_of(" \t\n\"'\\><~|&;$*?#()`%") == std::string::npos &&
        std::all_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x20 && c != 0x7F; }))
        return path;
    std::string out = "\"";
    for (char c : path) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return std::nullopt;
        if (c == '"' || c == '`' || c == '$')
            out += "\\\\";
        out += c == '\\' ? "\\\\\\\\" : c == '%' ? "%%" : std::string(1, c);
    }
    return out + "\"";
}

std::string Message(const char* format, const std::string& a, const std::string& b = {})
{
    std::string text = format;
    if (auto at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, a);
    if (auto at = text.find("%S"); at != std::string::npos)
        text.replace(at, 2, b);
    return text;
}

#ifdef _WIN32

// Below the current user's classes: HKEY_CLASSES_ROOT merges them in, and unlike the
// machine's classes a user may write them.
std::wstring ClassesKey(const std::string& key)
{
    const std::string path = "Software\\Classes\\" + key;
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    wide.pop_back(); // the terminator written by the conversion
    return wide;
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    return wide; // keeps its terminator: REG_SZ data includes it
}

bool WriteRegistry(const std::vector<TRegistryValue>& values)
{
    for (const TRegistryValue& v : values) {
        HKEY key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, ClassesKey(v.Key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
        const std::wstring name = Wide(v.Name), text = Wide(v.Data);
        const LONG result =
            v.Binary ? RegSetValueExW(key, name.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(v.Data.data()),
                                      static_cast<DWORD>(v.Data.size()))
                     : RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                                      static_cast<DWORD>(text.size() * sizeof(wchar_t)));
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return false;
    }
    return true;
}

// The extension's key only while it still names our type: another program may have taken it.
bool DeleteRegistry(const TFileType& type)
{
    for (const std::string& key : RegistryKeys(type)) {
        if (key == "." + type.Extension) {
            wchar_t value[256];
            DWORD size = sizeof(value);
            if (RegGetValueW(HKEY_CURRENT_USER, ClassesKey(key).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value,
                             &size) == ERROR_SUCCESS &&
                Wide(type.TypeName) != std::wstring(value) + L'\0')
                continue;
        }
        const LONG result = RegDeleteTreeW(HKEY_CURRENT_USER, ClassesKey(key).c_str());
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            return false;
    }
    return true;
}

#else

void Write(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    WriteWholeFile(file.string(), {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::string ReadOrEmpty(const fs::path& file)
{
    if (!fs::exists(file))
        return {};
    const auto bytes = ReadWholeFile(file.string());
    return std::string(bytes.begin(), bytes.end());
}

bool RemoveFreedesktop(const TFileType& type, const TRegistrationPlaces& places)
{
    std::error_code error;
    for (const char* file : {kMimePackage, kDesktopEntry, kIconFile})
        if (fs::remove(fs::path(places.DataHome) / file, error); error && error != std::errc::not_a_directory)
            return false;
    const fs::path list = fs::path(places.ConfigHome) / "mimeapps.list";
    const std::string before = ReadOrEmpty(list);
    const std::string after = WithDefaultApplication(before, type, false);
    if (after == before)
        return true;
    if (after.find_first_not_of(" \t\r\n") == std::string::npos)
        return fs::remove(list, error), !error;
    Write(list, after);
    return true;
}

void RefreshDatabases(const TRegistrationPlaces& places, const TToolRunner& refresh)
{
    if (!refresh)
        return;
    refresh({"update-mime-database", (fs::path(places.DataHome) / "mime").string()});
    refresh({"update-desktop-database", (fs::path(places.DataHome) / "applications").string()});
}

#endif

} // namespace

TFileType TileFileType()
{
    return {"til", "CTP.TileFile", "CivCTP/CTP2 Tile-File", "application/x-ctp-tile-file"};
}

std::vector<TRegistryValue> RegistryValues(const TFileType& type, const std::string& programPath,
                                           const std::string& icon)
{
    const std::string& name = type.TypeName;
    return {
        {"." + type.Extension, "", false, name},
        {name, "", false, type.Description},
        {name, "EditFlags", true, std::string("\x00\x00\x01\x00", 4)},
        {name, "AlwaysShowExt", false, ""},
        // The program quoted too: a path with blanks would otherwise end at its first blank.
        {name + "\\Shell\\Open\\command", "", false, "\"" + programPath + "\" \"%1\""},
        {name + "\\DefaultIcon", "", false, icon},
    };
}

std::vector<std::string> RegistryKeys(const TFileType& type)
{
    return {"." + type.Extension, type.TypeName};
}

std::string DesktopFileName()
{
    return fs::path(kDesktopEntry).filename().string();
}

std::vector<TRegistrationFile> FreedesktopFiles(const TFileType& type, const std::string& programPath)
{
    const auto exec = ExecProgram(programPath);
    if (!exec)
        return {};
    const std::string mime = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                             "  <mime-type type=\"" + XmlText(type.MimeType) + "\">\n"
                             "    <comment>" + XmlText(type.Description) + "</comment>\n"
                             "    <icon name=\"kestrund\"/>\n"
                             "    <glob pattern=\"*." + XmlText(type.Extension) + "\"/>\n"
                             "  </mime-type>\n"
                             "</mime-info>\n";
    const std::string desktop = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=Kestrund\n"
                                "GenericName=Tile-Set Editor\n"
                                "Comment=Edit " + type.Description + "s and their scripts\n"
                                "Exec=" + *exec + " %f\n"
                                "Icon=kestrund\n"
                                "MimeType=" + type.MimeType + ";\n"
                                "Categories=Graphics;2DGraphics;\n"
                                "Terminal=false\n";
    return {{kMimePackage, mime}, {kDesktopEntry, desktop}, {kIconFile, kIcon}};
}

std::string WithDefaultApplication(const std::string& mimeapps, const TFileType& type, bool set)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < mimeapps.size();) {
        const std::size_t end = std::min(mimeapps.find('\n', start), mimeapps.size());
        lines.push_back(mimeapps.substr(start, end - start));
        start = end + 1;
    }
    const std::string ours = type.MimeType + "=" + DesktopFileName();
    std::size_t header = std::string::npos, lastEntry = std::string::npos;
    bool inSection = false, placed = false, removed = false;
    for (std::size_t i = 0; i < lines.size();) {
        const std::string t = Trimmed(lines[i]);
        if (!t.empty() && t.front() == '[') {
            inSection = t == kDefaultSection;
            if (inSection && header == std::string::npos)
                header = lastEntry = i;
        } else if (inSection && !t.empty()) {
            const std::size_t eq = t.find('=');
            const bool ourType = eq != std::string::npos && Trimmed(t.substr(0, eq)) == type.MimeType;
            const std::string value = ourType ? Trimmed(t.substr(eq + 1)) : std::string();
            const bool drop = ourType && (set ? placed : value == DesktopFileName() || value == DesktopFileName() + ";");
            if (drop) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                removed = true;
                continue;
            }
            if (ourType && set)
                lines[i] = ours, placed = true;
            lastEntry = i;
        }
        ++i;
    }
    if (set && !placed) {
        if (header == std::string::npos) {
            if (!lines.empty() && !Trimmed(lines.back()).empty())
                lines.push_back("");
            lines.push_back(kDefaultSection);
            lastEntry = lines.size() - 1;
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastEntry) + 1, ours);
    }
    if (!set && !removed)
        return mimeapps;
    if (!set) {
        // A section left empty goes; at the end of the file with the blank line that set it apart.
        std::size_t end = header + 1;
        while (end < lines.size() && Trimmed(lines[end]).empty())
            ++end;
        if (end == lines.size()) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header), lines.end());
            if (!lines.empty() && Trimmed(lines.back()).empty())
                lines.pop_back();
        } else if (Trimmed(lines[end]).front() == '[')
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header));
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TRegistrationPlaces UserRegistrationPlaces(const char* xdgDataHome, const char* xdgConfigHome, const char* home)
{
    const auto place = [home](const char* variable, const char* fallback) {
        if (variable && fs::path(variable).is_absolute())
            return std::string(variable);
        return (fs::path(home ? home : "") / fallback).string();
    };
    return {place(xdgDataHome, ".local/share"), place(xdgConfigHome, ".config")};
}

void RunToolIfInstalled(const std::vector<std::string>& argv)
{
#ifdef _WIN32
    (void)argv;
#else
    const char* path = std::getenv("PATH");
    if (argv.empty() || !path)
        return;
    const std::string dirs = path;
    std::string found;
    for (std::size_t start = 0; start <= dirs.size() && found.empty();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string dir = dirs.substr(start, end - start);
        const std::string candidate = (fs::path(dir.empty() ? "." : dir) / argv[0]).string();
        if (::access(candidate.c_str(), X_OK) == 0 && fs::is_regular_file(candidate))
            found = candidate;
        start = end + 1;
    }
    if (found.empty())
        return;
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Their reports are of no use to the user; the registration stands without them.
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    if (posix_spawn(&pid, found.c_str(), &actions, nullptr, args.data(), environ) == 0) {
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    posix_spawn_file_actions_destroy(&actions);
#endif
}

std::optional<std::string> RegisterFileType(const TFileType& type, const std::string& programPath,
                                            const std::string& icon, const TRegistrationPlaces& places,
                                            const TToolRunner& refresh)
{
    const std::string message =
        Message(".%s has been registered to %S", type.Extension, fs::path(programPath).filename().string());
#ifdef _WIN32
    (void)places, (void)refresh;
    if (WriteRegistry(RegistryValues(type, programPath, icon))) {
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        return message;
    }
    DeleteRegistry(type);
    return std::nullopt;
#else
    (void)icon; // the icon is drawn into the icon theme instead of taken from the program
    const auto files = FreedesktopFiles(type, programPath);
    if (files.empty() || places.DataHome.empty() || places.ConfigHome.empty())
        return std::nullopt;
    try {
        for (const TRegistrationFile& file : files)
            Write(fs::path(places.DataHome) / file.Path, file.Text);
        const fs::path list = fs::path(places.ConfigHome) / "mimeapps.list";
        Write(list, WithDefaultApplication(ReadOrEmpty(list), type, true));
    } catch (const std::exception&) {
        try {
            RemoveFreedesktop(type, places);
        } catch (const std::exception&) {
        }
        RefreshDatabases(places, refresh);
        return std::nullopt;
    }
    RefreshDatabases(places, refresh);
    return message;
#endif
}

std::optional<std::string> UnregisterFileType(const TFileType& type, const TRegistrationPlaces& places,
                                              const TToolRunner& refresh)
{
    const std::string message = Message(".%s has been unregistered.", type.Extension);
#ifdef _WIN32
    (void)places, (void)refresh;
    if (!DeleteRegistry(type))
        return std::nullopt;
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return message;
#else
    if (places.DataHome.empty() || places.ConfigHome.empty())
        return std::nullopt;
    bool removed = false;
    try {
        removed = RemoveFreedesktop(type, places);
    } catch (const std::exception&) {
    }
    RefreshDatabases(places, refresh);
    return removed ? std::optional(message) : std::nullopt;
#endif
}

} // namespace kestrund
