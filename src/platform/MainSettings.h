#pragma once
// The main window's settings: what it reads at start-up and writes at exit, with
// the conditions under which folders, colours and the colour mode are kept.

#include "IniFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrund {

struct TWindowPlacement {
    long long Left = 0, Top = 0, Width = 0, Height = 0;
    long long State = 0; // 0 normal, 1 minimised, 2 maximised
    bool operator==(const TWindowPlacement&) const = default;
};

// Defaults of a window of the given size, centred on the screen.
TWindowPlacement CentredPlacement(int screenWidth, int screenHeight, int width, int height);
// A screen's usable area in desktop coordinates.
struct TScreenArea {
    long long Left = 0, Top = 0, Width = 0, Height = 0;
};
// The placement as it is when enough of it lies on one of the screens to be grabbed; else (a
// monitor removed, say) its size limited to the primary screen, the first, and centred there.
TWindowPlacement PlacedOnScreens(const TWindowPlacement& placement, const std::vector<TScreenArea>& screens);

TWindowPlacement ReadPlacement(const TIniFile& ini, const std::string& section, const TWindowPlacement& def);
void WritePlacement(TExtIniFile& ini, const std::string& section, const TWindowPlacement& value,
                    const TWindowPlacement& def);

struct TMainSettings {
    std::string TileDir, SrcDir, ImageDir, TileImageDir, BorderImageDir, RiverImageDir, TileImpImageDir;
    bool PersistentDirs = false;
    bool DiversImageDirs = true;
    bool AlwayUseDef = false;
    int LogLevel = 0;
    bool OverWriteWarning = true;
    std::string HelpFile = "Kestrund.hlp";
    int ImgBorderWidth = 2;
    int ZoomFactor = 1;
    std::uint32_t BackGroundColor = 0xC0C0C0;
    std::uint32_t ShadowColor = 0x808080;
    bool PersistentColors = false;
    int DefaultColorMode = 0;
    int ColorMode = 0; // the mode the set starts in, and at exit the mode it ended in
    TWindowPlacement MainWindow;
};

// Where the defaults come from: the program's folder and the screen size.
struct TSettingsContext {
    std::string ProgramDir;
    int ScreenWidth = 1024;
    int ScreenHeight = 768;
};

TMainSettings DefaultMainSettings(const TSettingsContext& context);
TMainSettings ReadMainSettings(const TIniFile& ini, const TSettingsContext& context);
// force writes the folders and colours even when they are kept persistent.
void WriteMainSettings(TExtIniFile& ini, const TMainSettings& settings, const TSettingsContext& context, bool force);

} // namespace kestrund
