#include "IniFile.h"

#include "FileUtil.h"
#include "ProgramPlaces.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace kestrund {

namespace {

std::string Trim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool SameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// "[name]" gives name; anything else gives false.
bool SectionName(const std::string& line, std::string& name)
{
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    name = Trim(t.substr(1, t.size() - 2));
    return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos)
        return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return !key.empty() && key[0] != ';';
}

// Lines [first, end) of a section's body, or first == npos when absent.
struct TSpan {
    std::size_t Header = std::string::npos;
    std::size_t End = 0;
};

TSpan FindSection(const std::vector<std::string>& lines, const std::string& section)
{
    TSpan span;
    std::string name;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!SectionName(lines[i], name))
            continue;
        if (span.Header != std::string::npos) {
            span.End = i;
            return span;
        }
        if (SameText(name, section))
            span.Header = i;
    }
    span.End = lines.size();
    return span;
}

// A 32-bit number: decimal in the signed range, or up to eight hexadecimal digits read as
// the bit pattern ("$FFFFFFFF" is -1), as the platform's own ini reading takes them.
bool ParseInteger(std::string text, long long& out)
{
    text = Trim(text);
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$')
        base = 16, ++i;
    else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        base = 16, i += 2;
    if (i >= text.size())
        return false;
    const unsigned long long limit = base == 16 ? 0xFFFFFFFFull : negative ? 0x80000000ull : 0x7FFFFFFFull;
    unsigned long long v = 0;
    for (; i < text.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return false;
        v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (v > limit)
            return false; // overflows 32 bits: malformed
    }
    const long long value =
        base == 16 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(v)) : static_cast<long long>(v);
    out = negative ? -value : value;
    return true;
}

} // namespace

std::vector<std::string> TIniFile::Lines() const
{
    std::vector<std::string> lines;
    std::ifstream in(FFileName, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void TIniFile::Store(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    // The user's configuration folder may not exist yet.
    const std::filesystem::path folder = std::filesystem::path(FFileName).parent_path();
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);
    WriteWholeFile(FFileName, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                   TWriteSync::Disk);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    const auto lines = Lines();
    const TSpan span = FindSection(lines, section);
    if (span.Header == std::string::npos)
        return def;
    std::string k, v;
    for (std::size_t i = span.Header + 1; i < span.End; ++i)
        if (KeyOf(lines[i], k, v) && SameText(k, key))
            return v;
    return def;
}

long long TIniFile::ReadInteger(const std::string& section, const std::string& key, long long def) const
{
    long long v;
    return ParseInteger(ReadString(section, key, ""), v) ? v : def;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    auto lines = Lines();
    const TSpan span = FindSection(lines, section);
    const std::string entry = key + "=" + value;
    if (span.Header == std::string::npos) {
        if (!lines.empty() && !Trim(lines.back()).empty())
            lines.push_back("");
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
        Store(lines);
        return;
    }
    std::string k, v;
    std::size_t last = span.Header;
    for (std::size_t i = span.Header + 1; i < span.End; ++i) {
        if (KeyOf(lines[i], k, v) && SameText(k, key)) {
            // The key keeps its spelling. An unchanged line is not written again: each
            // write waits for the disk, and closing the window writes every setting.
            if (lines[i] != k + "=" + value) {
                lines[i] = k + "=" + value;
                Store(lines);
            }
            return;
        }
        if (!Trim(lines[i]).empty())
            last = i;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), entry);
    Store(lines);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, long long value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(const std::string& section) const
{
    return FindSection(Lines(), section).Header != std::string::npos;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    const auto lines = Lines();
    const TSpan span = FindSection(lines, section);
    if (span.Header == std::string::npos)
        return false;
    std::string k, v;
    for (std::size_t i = span.Header + 1; i < span.End; ++i)
        if (KeyOf(lines[i], k, v) && SameText(k, key))
            return true;
    return false;
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    auto lines = Lines();
    const TSpan span = FindSection(lines, section);
    if (span.Header == std::string::npos)
        return;
    std::string k, v;
    for (std::size_t i = span.Header + 1; i < span.End; ++i)
        if (KeyOf(lines[i], k, v) && SameText(k, key)) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            Store(lines);
            return;
        }
}

void TIniFile::EraseSection(const std::string& section)
{
    auto lines = Lines();
    const TSpan span = FindSection(lines, section);
    if (span.Header == std::string::npos)
        return;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(span.Header),
                lines.begin() + static_cast<std::ptrdiff_t>(span.End));
    Store(lines);
}

void TExtIniFile::WriteStringDef(const std::string& section, const std::string& key, const std::string& def,
                                 const std::string& value)
{
    if (value == def)
        DeleteKey(section, key);
    else
        WriteString(section, key, value);
}

void TExtIniFile::WriteBoolDef(const std::string& section, const std::string& key, bool def, bool value)
{
    if (value == def)
        DeleteKey(section, key);
    else
        WriteBool(section, key, value);
}

void TExtIniFile::WriteIntegerDef(const std::string& section, const std::string& key, long long def,
                                  long long value)
{
    if (value == def)
        DeleteKey(section, key);
    else
        WriteInteger(section, key, value);
}

bool FolderWritable(const std::string& folder)
{
    return ::access(folder.c_str(), W_OK) == 0;
}

std::string SettingsFilePath(const std::string& programPath, const std::string& explicitPath,
                             const char* xdgConfigHome, const char* home,
                             const std::function<bool(const std::string&)>& writable)
{
    namespace fs = std::filesystem;
    if (!explicitPath.empty())
        return explicitPath;
    const fs::path program(programPath);
    const fs::path beside = program.parent_path() / (program.stem().string() + ".ini");
    const fs::path folder = program.parent_path().empty() ? fs::path(".") : program.parent_path();
    // An installed program's folder is shared by every user, and root could write into it.
    if (InstalledDataFolder(programPath).empty() && writable(folder.string()))
        return beside.string();
    fs::path config;
    if (xdgConfigHome && *xdgConfigHome)
        config = xdgConfigHome;
    else
        config = fs::path(home ? home : ".") / ".config";
    return (config / "Kestrund" / "Kestrund.ini").string();
}

} // namespace kestrund
