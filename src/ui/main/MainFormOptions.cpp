// File → Options: the preferences handed to the options dialog and taken back on OK, and
// the dialog's immediate actions (clearing the settings file, the file-type registration).

#include "MainForm.h"

#include "ErrorLogForm.h"
#include "FileTypeRegistration.h"
#include "OptionsForm.h"

#include <QCoreApplication>

#include <cstdlib>

namespace kestrund {

namespace {

// Every section a window of the program keeps in the settings file.
const char* const kSettingsSections[] = {"MainWindow",   "Preferences",   "Colors",         "Directories",
                                         "LogWindow",    "SelDirWindow",  "OptionsWindow",  "PropertyWindow",
                                         "ImportTGAWindow", "Browser"};

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
    request.Values = OptionsValuesOf(Settings);
    // The view's own values are the live ones; the settings take them only when written.
    request.Values.ImgBorderWidth = ImgBorderWidth;
    request.Values.ShadowColor = ShadowColor;
    request.Values.BgColor = BgColor;
    request.ResetIni = [this] { ResetIni(); };
    request.RegisterFileType = [this] { RegisterTileFiles(true); };
    request.UnregisterFileType = [this] { RegisterTileFiles(false); };

    if (const auto result = FPrompts.Options(request)) {
        TakeOptionsValues(*result, Settings);
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
