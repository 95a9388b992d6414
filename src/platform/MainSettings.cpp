#include "MainSettings.h"

#include <algorithm>

namespace kestrund {

namespace {
const char* const kDirs = "Directories";
const char* const kPrefs = "Preferences";
const char* const kColors = "Colors";
const char* const kMain = "MainWindow";

// Colours are stored as signed 32-bit numbers (0x8000000F reads -2147483633).
long long StoredColor(std::uint32_t c)
{
    return static_cast<std::int32_t>(c);
}

struct TDirKey {
    const char* Key;
    std::string TMainSettings::*Field;
};
constexpr TDirKey DirKeys[] = {
    {"TileDir", &TMainSettings::TileDir},
    {"SrcDir", &TMainSettings::SrcDir},
    {"ImageDir", &TMainSettings::ImageDir},
    {"TileImageDir", &TMainSettings::TileImageDir},
    {"BorderImageDir", &TMainSettings::BorderImageDir},
    {"RiverImageDir", &TMainSettings::RiverImageDir},
    {"TileImpImageDir", &TMainSettings::TileImpImageDir},
};
} // namespace

TWindowPlacement CentredPlacement(int screenWidth, int screenHeight, int width, int height)
{
    // div truncates toward zero, as C++ division does.
    return {(screenWidth - width) / 2, (screenHeight - height) / 2, width, height, 0};
}

TWindowPlacement PlacedOnScreens(const TWindowPlacement& p, const std::vector<TScreenArea>& screens)
{
    if (screens.empty())
        return p;
    // Enough to grab and drag back: 100 x 50 pixels, or the whole of a smaller window.
    const long long needWidth = std::min<long long>(p.Width, 100), needHeight = std::min<long long>(p.Height, 50);
    for (const TScreenArea& s : screens) {
        const long long w = std::min(p.Left + p.Width, s.Left + s.Width) - std::max(p.Left, s.Left);
        const long long h = std::min(p.Top + p.Height, s.Top + s.Height) - std::max(p.Top, s.Top);
        if (w >= needWidth && h >= needHeight && w > 0 && h > 0)
            return p;
    }
    const TScreenArea& primary = screens.front();
    TWindowPlacement moved = p;
    moved.Width = std::min(p.Width, primary.Width);
    moved.Height = std::min(p.Height, primary.Height);
    moved.Left = primary.Left + (primary.Width - moved.Width) / 2;
    moved.Top = primary.Top + (primary.Height - moved.Height) / 2;
    return moved;
}

TWindowPlacement ReadPlacement(const TIniFile& ini, const std::string& section, const TWindowPlacement& def)
{
    return {ini.ReadInteger(section, "Left", def.Left), ini.ReadInteger(section, "Top", def.Top),
            ini.ReadInteger(section, "Width", def.Width), ini.ReadInteger(section, "Height", def.Height),
            ini.ReadInteger(section, "State", def.State)};
}

void WritePlacement(TExtIniFile& ini, const std::string& section, const TWindowPlacement& value,
                    const TWindowPlacement& def)
{
    ini.WriteIntegerDef(section, "Left", def.Left, value.Left);
    ini.WriteIntegerDef(section, "Width", def.Width, value.Width);
    ini.WriteIntegerDef(section, "Top", def.Top, value.Top);
    ini.WriteIntegerDef(section, "Height", def.Height, value.Height);
    ini.WriteIntegerDef(section, "State", def.State, value.State);
}

TMainSettings DefaultMainSettings(const TSettingsContext& context)
{
    TMainSettings s;
    for (const TDirKey& d : DirKeys)
        s.*d.Field = context.ProgramDir;
    s.MainWindow = CentredPlacement(context.ScreenWidth, context.ScreenHeight, 800, 609);
    return s;
}

TMainSettings ReadMainSettings(const TIniFile& ini, const TSettingsContext& context)
{
    TMainSettings s = DefaultMainSettings(context);
    for (const TDirKey& d : DirKeys)
        s.*d.Field = ini.ReadString(kDirs, d.Key, context.ProgramDir);
    s.MainWindow = ReadPlacement(ini, kMain, s.MainWindow);
    s.PersistentDirs = ini.ReadBool(kDirs, "PersistentDirs", false);
    s.DiversImageDirs = ini.ReadBool(kDirs, "DiversImageDirs", true);
    s.AlwayUseDef = ini.ReadBool(kDirs, "AlwayUseDef", false);
    s.LogLevel = static_cast<int>(ini.ReadInteger(kPrefs, "LogLevel", 0));
    if (s.LogLevel < 0 || s.LogLevel > 2)
        s.LogLevel = 0;
    s.OverWriteWarning = ini.ReadBool(kPrefs, "OverWriteWarning", true);
    s.HelpFile = ini.ReadString(kPrefs, "HelpFile", s.HelpFile);
    s.ImgBorderWidth = static_cast<int>(std::clamp<long long>(ini.ReadInteger(kPrefs, "ImgBorderWidth", 2), 0, 255));
    s.ZoomFactor = static_cast<int>(std::clamp<long long>(ini.ReadInteger(kPrefs, "ZoomFactor", 1), 1, 8));
    s.BackGroundColor = static_cast<std::uint32_t>(ini.ReadInteger(kColors, "BackGroundColor", 0xC0C0C0));
    s.ShadowColor = static_cast<std::uint32_t>(ini.ReadInteger(kColors, "ShadowColor", 0x808080));
    s.PersistentColors = ini.ReadBool(kColors, "PersistentColors", false);
    s.DefaultColorMode = static_cast<int>(ini.ReadInteger(kColors, "DefaultColorMode", 0));
    if (s.DefaultColorMode < 0 || s.DefaultColorMode > 2)
        s.DefaultColorMode = 0;
    if (s.DefaultColorMode == 2)
        s.ColorMode = ini.ReadInteger(kColors, "ColorMode", 0) == 1 ? 1 : 0;
    else
        s.ColorMode = s.DefaultColorMode;
    return s;
}

void WriteMainSettings(TExtIniFile& ini, const TMainSettings& s, const TSettingsContext& context, bool force)
{
    const TMainSettings def = DefaultMainSettings(context);
    if (!s.PersistentDirs || force)
        for (const TDirKey& d : DirKeys)
            ini.WriteStringDef(kDirs, d.Key, context.ProgramDir, s.*d.Field);
    ini.WriteBoolDef(kDirs, "PersistentDirs", false, s.PersistentDirs);
    ini.WriteBoolDef(kDirs, "DiversImageDirs", true, s.DiversImageDirs);
    ini.WriteBoolDef(kDirs, "AlwayUseDef", false, s.AlwayUseDef);
    ini.WriteIntegerDef(kPrefs, "LogLevel", 0, s.LogLevel);
    ini.WriteBoolDef(kPrefs, "OverWriteWarning", true, s.OverWriteWarning);
    ini.WriteString(kPrefs, "HelpFile", s.HelpFile);
    ini.WriteIntegerDef(kPrefs, "ImgBorderWidth", 2, s.ImgBorderWidth);
    ini.WriteIntegerDef(kPrefs, "ZoomFactor", 1, s.ZoomFactor);
    WritePlacement(ini, kMain, s.MainWindow, def.MainWindow);
    if (!s.PersistentColors || force) {
        ini.WriteIntegerDef(kColors, "BackGroundColor", StoredColor(0xC0C0C0), StoredColor(s.BackGroundColor));
        ini.WriteIntegerDef(kColors, "ShadowColor", StoredColor(0x808080), StoredColor(s.ShadowColor));
    }
    ini.WriteIntegerDef(kColors, "DefaultColorMode", 0, s.DefaultColorMode);
    ini.WriteIntegerDef(kColors, "ColorMode", 0, s.DefaultColorMode == 2 ? s.ColorMode : 0);
}

} // namespace kestrund
