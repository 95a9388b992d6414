#pragma once
// Registering the program as the one that opens tile files. What is written is described by
// plain tables shared by both platforms: the registry values on Windows (under the current
// user's classes, which a user may write without being an administrator) and the freedesktop
// files on Linux (shared-mime-info package, desktop entry, icon, default-application line).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrund {

struct TFileType {
    std::string Extension;   // without the dot
    std::string TypeName;    // the registry's class name
    std::string Description; // shown by file managers
    std::string MimeType;    // the freedesktop name of the same type
};

// The tile file: "til", "CTP.TileFile", "CivCTP/CTP2 Tile-File", application/x-ctp-tile-file.
TFileType TileFileType();

// A registry value below the classes root. Name "" is the key's default value.
struct TRegistryValue {
    std::string Key;
    std::string Name;
    bool Binary = false;
    std::string Data; // the text, or the bytes of a binary value
    bool operator==(const TRegistryValue&) const = default;
};

// The values registration writes, in the order written.
std::vector<TRegistryValue> RegistryValues(const TFileType& type, const std::string& programPath,
                                           const std::string& icon);
// The keys unregistration deletes with everything below them.
std::vector<std::string> RegistryKeys(const TFileType& type);

// A file written below the data home: its path relative to it, and its text.
struct TRegistrationFile {
    std::string Path;
    std::string Text;
};

// The shared-mime-info package, the desktop entry and the icon. Nothing when the program path
// cannot be put on an Exec line (a control character in it).
std::vector<TRegistrationFile> FreedesktopFiles(const TFileType& type, const std::string& programPath);
// The desktop entry's file name, as mimeapps.list names it.
std::string DesktopFileName();
// mimeapps.list with the type's line in [Default Applications] set to the program (set) or,
// when it names the program, removed (!set); every other line is kept as it is.
std::string WithDefaultApplication(const std::string& mimeapps, const TFileType& type, bool set);

struct TRegistrationPlaces {
    std::string DataHome;   // $XDG_DATA_HOME, else ~/.local/share
    std::string ConfigHome; // $XDG_CONFIG_HOME, else ~/.config
};
// Relative values of the variables are ignored, as the base-directory rules ask.
TRegistrationPlaces UserRegistrationPlaces(const char* xdgDataHome, const char* xdgConfigHome, const char* home);

// Runs a desktop-database tool given as argv[0] and its arguments.
using TToolRunner = std::function<void(const std::vector<std::string>& argv)>;
// Runs the tool when it is found on PATH, without a shell, and waits for it; else does nothing.
void RunToolIfInstalled(const std::vector<std::string>& argv);

// Both return the confirmation text (".til has been registered to kestrund", ".til has been
// unregistered.") or nothing on any failure. A registration that fails half-way is undone.
// Windows writes the registry (places and refresh unused); elsewhere the freedesktop files
// are written below places and the desktop databases refreshed.
std::optional<std::string> RegisterFileType(const TFileType& type, const std::string& programPath,
                                            const std::string& icon, const TRegistrationPlaces& places,
                                            const TToolRunner& refresh = RunToolIfInstalled);
// Removes only what registration writes: the association line only while it names the program.
std::optional<std::string> UnregisterFileType(const TFileType& type, const TRegistrationPlaces& places,
                                              const TToolRunner& refresh = RunToolIfInstalled);

} // namespace kestrund
