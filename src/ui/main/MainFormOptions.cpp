// File → Options: the preferences handed to the options dialog and taken back on OK, and
// the dialog's immediate actions (clearing the settings file, the file-type registration).

#include "MainForm.h"

#include "ErrorLogForm.h"
#include "FileTypeRegistration.h"

#include <QCoreApplication>

#include <cstdlib>

namespace kestrund {

namespace {

// Every section a window of the program keeps in the settings file.
const char* const kSettingsSections[] = {"MainWindow",   "Preferences",   "Colors",         "Directories",
                                         "LogWindow",    "SelDirWindow",  "OptionsWindow",  "PropertyWindow",
                                         "ImportTGAWindow"};

} // namespace

void TMainForm::miFileOptionsClick()
{
    // A persistent folder shows as stored, not as the last one used in this run.
    if (Settings.PersistentDirs) {
        const TMainSettings stored = ReadMainSettings(TIniFile(FIniPath), Context());
        for (auto folder : {&TMainSettings::TileDir, &TMainSettings::SrcDir, &TMainSettings::ImageDir,
                            &TMainSettings::TileImageDir, &TMainSettings::BorderImageDir,
                            &TMainSettings::RiverImageDir, &TMainSettings::TileImpImageDir})
            Settings.*folder = stored.*folder;
    }
    TOptionsRequest request;
    TOptionsValues& v = request.Values;
    v.TileDir = Settings.TileDir;
    v.SrcDir = Settings.SrcDir;
    v.ImageDir = Settings.ImageDir;
    v.TileImageDir = Settings.TileImageDir;
    v.BorderImageDir = Settings.BorderImageDir;
    v.RiverImageDir = Settings.RiverImageDir;
    v.TileImpImageDir = Settings.TileImpImageDir;
    v.PersistentDirs = Settings.PersistentDirs;
    v.AlwayUseDef = Settings.AlwayUseDef;
    v.DiversImageDirs = Settings.DiversImageDirs;
    v.LogLevel = Settings.LogLevel;
    v.OverWriteWarning = Settings.OverWriteWarning;
    v.ImgBorderWidth = ImgBorderWidth;
    v.DefaultColorMode = Settings.DefaultColorMode;
    v.ShadowColor = ShadowColor;
    v.BgColor = BgColor;
    v.PersistentColors = Settings.PersistentColors;
    request.ResetIni = [this] { ResetIni(); };
    request.RegisterFileType = [this] { RegisterTileFiles(true); };
    request.UnregisterFileType = [this] { RegisterTileFiles(false); };

    if (const auto result = FPrompts.Options(request)) {
        Settings.TileDir = result->TileDir;
        Settings.SrcDir = result->SrcDir;
        Settings.ImageDir = result->ImageDir;
        Settings.TileImageDir = result->TileImageDir;
        Settings.BorderImageDir = result->BorderImageDir;
        Settings.RiverImageDir = result->RiverImageDir;
        Settings.TileImpImageDir = result->TileImpImageDir;
        Settings.PersistentDirs = result->PersistentDirs;
        Settings.AlwayUseDef = result->AlwayUseDef;
        Settings.DiversImageDirs = result->DiversImageDirs;
        Settings.LogLevel = result->LogLevel;
        Settings.OverWriteWarning = result->OverWriteWarning;
        Settings.DefaultColorMode = result->DefaultColorMode;
        Settings.PersistentColors = result->PersistentColors;
        ImgBorderWidth = result->ImgBorderWidth;
        SetShadowColor(result->ShadowColor);
        SetBackgroundColor(result->BgColor);
        WriteSettings(true);
    }
    RedrawView();
}

void TMainForm::ResetIni()
{
    {
        TIniFile ini(FIniPath);
        for (const char* section : kSettingsSections)
            ini.EraseSection(section);
    }
    // The open set keeps its colour mode: retagging its elements would misread their pixels.
    ReadSettings(false);
    // The log window takes its defaults too, so it does not write its old ones back at exit.
    if (FErrorLog)
        FErrorLog->ReadSettings();
    FRecentFiles.clear();
    WriteRecentFiles();
    RebuildRecentMenu();
    RedrawView();
}

void TMainForm::RegisterTileFiles(bool on)
{
    const TRegistrationPlaces places =
        UserRegistrationPlaces(std::getenv("XDG_DATA_HOME"), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    const auto done = on ? RegisterFileType(TileFileType(), program, program + ",0", places)
                         : UnregisterFileType(TileFileType(), places);
    // A failure stays silent: the dialog has nothing the user could do about it.
    if (done)
        FPrompts.Message(*done, TMsgType::Information, mbOK);
}

} // namespace kestrund
