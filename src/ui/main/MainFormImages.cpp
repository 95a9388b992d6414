// The main window's picture commands: Save Image of the view, the pictures of single
// elements, and the log of the last script import.

#include "MainForm.h"

#include "ErrorLogForm.h"
#include "ExtSpinEdit.h"
#include "ImageFiles.h"
#include "MiscFunc.h"
#include "SystemColors.h"

#include <QAction>

#include <filesystem>

namespace kestrund {

namespace {

const char* const kViewFilter = "Targa Image File (*.tga)|*.tga|Windows Bitmap (*.bmp)|*.bmp|JPEG JFIF Compliant "
                                "(*.jpg,*.jif,*.jpeg)|*.jpg;*.jif;*.jpeg|All Files (*.*)|*.*";
const char* const kTargaFilter = "Targa Image File (*.tga)|*.tga|All Files (*.*)|*.*";

// A prefix and two bytes as upper-case hex pairs: "TILE" 0x34 0x12 gives "TILE3412.tga".
std::string ElementImageName(const std::string& prefix, unsigned first, unsigned second)
{
    return prefix + Format("%02X%02X", first & 0xFF, second & 0xFF) + ".tga";
}

// Colours as drawn: a system colour is the desktop's current one.
TColor Resolved(TColor c)
{
    return QColorToColor(ColorToQColor(c));
}

} // namespace

std::string& TMainForm::ImageFolder(int kind)
{
    if (!Settings.DiversImageDirs)
        return Settings.ImageDir;
    switch (kind) {
    case kTiles: return Settings.TileImageDir;
    case kBorders: return Settings.BorderImageDir;
    case kRivers: return Settings.RiverImageDir;
    case kImprovements: return Settings.TileImpImageDir;
    default: return Settings.ImageDir;
    }
}

void TMainForm::miFileSaveImageClick()
{
    TFileDialogRequest request;
    request.Title = "Save Image";
    request.Filter = kViewFilter;
    request.DefaultExt = "*.tga";
    request.FileName = "*.tga";
    request.InitialDir = Settings.ImageDir;
    request.OverwritePrompt = Settings.OverWriteWarning;
    const auto chosen = FPrompts.SaveFile(request);
    if (!chosen)
        return;
    const std::string name = WithDefaultExtension(*chosen, request.DefaultExt);
    try {
        const TViewState view = ViewState();
        SaveViewImage(TileFile, view, CurrentRule, view.BgColor, view.SetShadowColor, name);
    } catch (const std::exception& e) {
        FPrompts.Message(e.what(), TMsgType::Error, mbOK);
        return;
    }
    if (!Settings.AlwayUseDef)
        Settings.ImageDir = std::filesystem::path(name).parent_path().string();
}

void TMainForm::SaveElementImage(int kind)
{
    const int number = Spins[static_cast<std::size_t>(kind)]->Value();
    if (number < 0 || static_cast<std::size_t>(number) >= Count(kind))
        return; // nothing to save in an empty kind
    const auto n = static_cast<std::size_t>(number);
    static const char* const titles[4] = {"Save Tile Image", "Save Border Image", "Save River Image",
                                          "Save Tile Improvement Image"};
    const std::string& prefix = TileFile.GraphicPrefixes[static_cast<std::size_t>(kind)];
    TFileDialogRequest request;
    request.Title = titles[kind];
    request.Filter = kTargaFilter;
    request.DefaultExt = "*.tga";
    switch (kind) {
    case kTiles: request.FileName = ElementImageName(prefix, TileFile.Tile(n).TileID, TileFile.Tile(n).TileID >> 8); break;
    case kBorders: request.FileName = ElementImageName(prefix, TileFile.Border(n).Inside, TileFile.Border(n).Outside); break;
    case kRivers:
        request.FileName = ElementImageName(prefix, TileFile.River(n).ImprovementID, TileFile.River(n).ImprovementID >> 8);
        break;
    default:
        request.FileName =
            ElementImageName(prefix, TileFile.Improvement(n).ImprovementID, TileFile.Improvement(n).ImprovementID >> 8);
    }
    std::string& folder = ImageFolder(kind);
    request.InitialDir = folder;
    request.OverwritePrompt = Settings.OverWriteWarning;
    const auto chosen = FPrompts.SaveFile(request);
    if (!chosen)
        return;
    const std::string name = WithDefaultExtension(*chosen, request.DefaultExt);
    const TColor transparent = Resolved(TileFile.TransparentColor), shadow = Resolved(TileFile.ShadowColor);
    try {
        switch (kind) {
        case kTiles: TileFile.Tile(n).ExportTGA(name, transparent, shadow); break;
        case kBorders: TileFile.Border(n).ExportTGA(name, BorderMask(), transparent); break;
        case kRivers: TileFile.River(n).ExportTGA(name, transparent, shadow); break;
        default: TileFile.Improvement(n).ExportTGA(name, transparent, shadow);
        }
    } catch (const std::exception& e) {
        FPrompts.Message(e.what(), TMsgType::Error, mbOK);
        return;
    }
    if (!Settings.AlwayUseDef)
        folder = std::filesystem::path(name).parent_path().string();
}

void TMainForm::miViewScriptLogClick()
{
    FErrorLog->show();
    FErrorLog->raise();
    FErrorLog->activateWindow();
}

void TMainForm::LoadImportLog()
{
    switch (FErrorLog->LoadFromFile(LogFileName)) {
    case TErrorLogForm::TLoadResult::Loaded:
        miViewScriptLog->setEnabled(true);
        return;
    case TErrorLogForm::TLoadResult::TooLarge:
        FPrompts.Message(Format("Logfile to large for internal viewer\n\rUse external viewer to se logfile: \"%s\"",
                                LogFileName.c_str()),
                         TMsgType::Information, mbOK);
        break;
    case TErrorLogForm::TLoadResult::Unreadable:
        break; // the import's own message names the log
    }
    // The window never shows an older log as this import's.
    miViewScriptLog->setEnabled(false);
}

} // namespace kestrund
