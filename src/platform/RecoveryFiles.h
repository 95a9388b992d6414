#pragma once
// Recovery copies of a set with unsaved changes, one folder per editor run below the user's
// data folder: the set as a plain tile file named like the game's (gtset555.til or
// gtset565.til, so that opening it by hand picks the right colour mode) and recovery.ini
// saying where the set came from. Written last, recovery.ini marks a complete copy.

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrund {

class TTileFile;

struct TRecoveryInfo {
    std::string DocumentName;  // the name the window showed: the file opened or saved, "(new)", or ""
    std::string FileName555, FileName565;
    int ColorMode = 0;         // the layout the tile file holds
    std::int64_t Time = 0;     // when written, in seconds since 1970
    bool operator==(const TRecoveryInfo&) const = default;
};

// $XDG_DATA_HOME/Kestrund/recovery (~/.local/share when unset or relative); on Windows
// %LOCALAPPDATA%\Kestrund\recovery. Empty when the environment names no home.
std::string RecoveryFolder(const std::function<const char*(const char*)>& environment);

// A new run's id: the time and the process, so that ids sort by age and never meet.
std::string NewRecoveryId(std::time_t now, long process);
// The ids of the runs that left files in folder (a folder of copies or a lock), oldest first.
std::vector<std::string> RecoveryIds(const std::string& folder);

// The files of one run.
class TRecoveryFiles {
public:
    TRecoveryFiles(std::string folder, std::string id) : FFolder(std::move(folder)), FId(std::move(id)) {}
    const std::string& Id() const { return FId; }
    std::string LockFileName() const; // beside the run's folder, so removing the folder keeps it
    std::string TileFileName(int colorMode) const;
    std::string InfoFileName() const;

    // Writes the set in the layout of info.ColorMode, each file on the disk before the next,
    // then info. Raises EFileCreateError.
    void Write(const TTileFile& set, const TRecoveryInfo& info) const;
    // Nothing when no complete copy is there.
    std::optional<TRecoveryInfo> ReadInfo() const;
    // Reads the copy into a fresh set, tagged with its colour mode and the names it came
    // from. Raises EFileOpenError or EStreamReadError.
    void Load(TTileFile& set, const TRecoveryInfo& info) const;
    // Removes the copy (not the lock).
    void Remove() const;

private:
    std::string FFolder, FId;
};

} // namespace kestrund
