#include "RecoveryFiles.h"

#include "Errors.h"
#include "FileTypeRegistration.h"
#include "FileUtil.h"
#include "IniFile.h"
#include "TileFile.h"

#include <charconv>
#include <filesystem>
#include <set>

namespace kestrund {

namespace fs = std::filesystem;

namespace {
const char* const kSection = "Recovery";
const std::string kLockEnd = ".lock";
} // namespace

std::string RecoveryFolder(const std::function<const char*(const char*)>& environment)
{
#ifdef _WIN32
    const char* local = environment("LOCALAPPDATA");
    return local && *local ? (fs::path(local) / "Kestrund" / "recovery").string() : std::string();
#else
    const char* home = environment("HOME");
    const char* data = environment("XDG_DATA_HOME");
    if ((!home || !*home) && !(data && fs::path(data).is_absolute()))
        return {};
    return (fs::path(UserRegistrationPlaces(data, nullptr, home).DataHome) / "Kestrund" / "recovery").string();
#endif
}

std::string NewRecoveryId(std::time_t now, long process)
{
    char stamp[32] = "";
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &now);
#else
    gmtime_r(&now, &parts);
#endif
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &parts);
    return std::string(stamp) + "-" + std::to_string(process);
}

std::vector<std::string> RecoveryIds(const std::string& folder)
{
    std::set<std::string> ids; // sorted: the ids begin with the time
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code ignored;
        if (it->is_directory(ignored))
            ids.insert(name);
        else if (name.size() > kLockEnd.size() && name.ends_with(kLockEnd))
            ids.insert(name.substr(0, name.size() - kLockEnd.size()));
    }
    return {ids.begin(), ids.end()};
}

std::string TRecoveryFiles::LockFileName() const
{
    return (fs::path(FFolder) / (FId + kLockEnd)).string();
}

std::string TRecoveryFiles::TileFileName(int colorMode) const
{
    return (fs::path(FFolder) / FId / (colorMode == cmRGB565 ? "gtset565.til" : "gtset555.til")).string();
}

std::string TRecoveryFiles::InfoFileName() const
{
    return (fs::path(FFolder) / FId / "recovery.ini").string();
}

void TRecoveryFiles::Write(const TTileFile& set, const TRecoveryInfo& info) const
{
    const fs::path folder = fs::path(FFolder) / FId;
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        if (!fs::create_directories(folder, error))
            throw EFileCreateError(folder.string(), error.message());
        SyncFolder(FFolder); // the new folder's entry is on the disk too
    }
    const int mode = info.ColorMode == cmRGB565 ? cmRGB565 : cmRGB555;
    set.SaveToFile(TileFileName(mode), mode);
    // One text written whole: the settings file's writer would go to the disk once a key.
    std::string text = std::string("[") + kSection + "]\r\n";
    const std::pair<const char*, std::string> values[] = {
        {"Document", info.DocumentName},  {"FileName555", info.FileName555},
        {"FileName565", info.FileName565}, {"ColorMode", std::to_string(mode)},
        {"Time", std::to_string(info.Time)}};
    for (const auto& [key, value] : values)
        text += std::string(key) + "=" + value + "\r\n";
    WriteWholeFile(InfoFileName(), std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                   TWriteSync::Disk);
    fs::remove(TileFileName(mode == cmRGB565 ? cmRGB555 : cmRGB565), error); // a copy in the other layout
}

std::optional<TRecoveryInfo> TRecoveryFiles::ReadInfo() const
{
    std::error_code error;
    if (!fs::is_regular_file(InfoFileName(), error))
        return std::nullopt;
    const TIniFile ini(InfoFileName());
    TRecoveryInfo info;
    info.DocumentName = ini.ReadString(kSection, "Document", "");
    info.FileName555 = ini.ReadString(kSection, "FileName555", "");
    info.FileName565 = ini.ReadString(kSection, "FileName565", "");
    info.ColorMode = ini.ReadInteger(kSection, "ColorMode", cmRGB555) == cmRGB565 ? cmRGB565 : cmRGB555;
    const std::string time = ini.ReadString(kSection, "Time", "");
    std::from_chars(time.data(), time.data() + time.size(), info.Time); // stays 0 when damaged
    return info;
}

void TRecoveryFiles::Load(TTileFile& set, const TRecoveryInfo& info) const
{
    set.SetColorMode(static_cast<std::uint8_t>(info.ColorMode));
    set.LoadFromFile(TileFileName(info.ColorMode), false);
    set.FileName555 = info.FileName555;
    set.FileName565 = info.FileName565;
}

void TRecoveryFiles::Remove() const
{
    std::error_code ignored;
    fs::remove_all(fs::path(FFolder) / FId, ignored);
}

} // namespace kestrund
