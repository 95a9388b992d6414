#pragma once
// A private-profile settings file: [sections] of key=value lines, names matched
// without regard to case. Every operation opens the file afresh by name, as the
// settings are shared by several windows that read and write them independently.

#include <functional>
#include <string>
#include <vector>

namespace kestrund {

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
    virtual ~TIniFile() = default;

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // A 32-bit number: decimal, or up to eight hex digits after '$' or "0x" read as the bit
    // pattern; anything else, a number beyond 32 bits among it, gives def.
    long long ReadInteger(const std::string& section, const std::string& key, long long def) const;
    // Any non-zero number is true.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    void DeleteKey(const std::string& section, const std::string& key);
    void EraseSection(const std::string& section);

private:
    std::vector<std::string> Lines() const;
    void Store(const std::vector<std::string>& lines);

    std::string FFileName;
};

// Writes unless default: a value equal to its default deletes the key instead.
class TExtIniFile : public TIniFile {
public:
    using TIniFile::TIniFile;
    void WriteStringDef(const std::string& section, const std::string& key, const std::string& def,
                        const std::string& value);
    void WriteBoolDef(const std::string& section, const std::string& key, bool def, bool value);
    void WriteIntegerDef(const std::string& section, const std::string& key, long long def, long long value);
};

// Whether the current user may create files in folder.
bool FolderWritable(const std::string& folder);

// Where the settings live: the explicit path when given (command line or
// KESTRUND_INI), else beside the program when writable says its folder takes
// files and the program is not installed (see InstalledDataFolder), else
// $XDG_CONFIG_HOME/Kestrund/Kestrund.ini (~/.config when unset).
std::string SettingsFilePath(const std::string& programPath, const std::string& explicitPath,
                             const char* xdgConfigHome, const char* home,
                             const std::function<bool(const std::string&)>& writable = FolderWritable);

} // namespace kestrund
