#pragma once
// Every modal question the editor asks goes through TPrompts: the running program
// shows Qt dialogs, tests install answers and read back what was asked.

#include "ImportTGAForm.h"
#include "Pixel.h"
#include "PropertyForm.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace kestrund {

class TOptionsForm;
class TSelectDirForm;

enum class TMsgType { Error, Warning, Information, Confirmation };

// Buttons of a message, and the one pressed.
enum TMsgButton : int {
    mbOK = 1,
    mbCancel = 2,
    mbYes = 4,
    mbNo = 8,
};

// The answers to the question about a recovery copy left by a run that did not end cleanly.
enum class TRecoveryChoice { Recover, Discard, Later };

struct TFileDialogRequest {
    std::string Title;
    std::string Filter; // "Description (*.x)|*.x|..." pairs
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string FileName;
    std::string InitialDir;
    bool OverwritePrompt = false;
};

// The preferences the options dialog shows and gives back.
struct TOptionsValues {
    std::string TileDir, SrcDir, ImageDir, TileImageDir, BorderImageDir, RiverImageDir, TileImpImageDir;
    bool PersistentDirs = false, AlwayUseDef = false, DiversImageDirs = true;
    int LogLevel = 0; // 0..2
    bool OverWriteWarning = true;
    int ImgBorderWidth = 2;   // 0..255
    int DefaultColorMode = 0; // 0..2
    TColor BgColor = 0xC0C0C0, ShadowColor = 0x808080;
    TColor ImportTransparent = 0xC0C0C0, ImportShadow = 0x808080, ImportPreviewBG = 0x8000000F;
    bool PersistentColors = false, AlwaysUseDefault = false; // AlwaysUseDefault: the property editor's flag
};
struct TOptionsRequest {
    TOptionsValues Values;
    // The dialog's immediate actions, carried out by the caller (the main window).
    std::function<void()> RegisterFileType, UnregisterFileType, ResetIni;
};

class TPrompts {
public:
    virtual ~TPrompts() = default;
    virtual std::optional<std::string> OpenFile(const TFileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFile(const TFileDialogRequest& request) = 0;
    // Returns the button pressed (mbCancel when the box is closed otherwise).
    virtual int Message(const std::string& text, TMsgType type, int buttons) = 0;
    virtual std::optional<TColor> ChooseColor(TColor initial) = 0;
    virtual void About(const std::string& title, const std::string& text) = 0;
    // The program's own modal dialogs; nothing on Cancel.
    virtual std::optional<TElementEditResult> EditElement(const TElementEditRequest&) { return std::nullopt; }
    virtual std::optional<TImportTGAResult> ImportTGA(const TImportTGARequest&) { return std::nullopt; }
    virtual std::optional<TOptionsValues> Options(const TOptionsRequest&) { return std::nullopt; }
    // Recover, Discard or Later; Later when the question is closed otherwise.
    virtual TRecoveryChoice AskRecovery(const std::string&) { return TRecoveryChoice::Later; }
};

// Qt's filter form of a "Description|patterns|..." filter: "Description (*.a *.b);;...".
QString QtFilter(const std::string& filter);
// The Qt filter entry of the 1-based index, or empty.
QString QtSelectedFilter(const std::string& filter, int index);
// The extension a save dialog adds to a bare name under a Qt filter entry: the entry's
// first pattern's, or defaultExt for "*.*".
QString DefaultSuffixOf(const QString& entry, const std::string& defaultExt);
// A file name with the dialog's default extension added when it has none.
std::string WithDefaultExtension(const std::string& fileName, const std::string& defaultExt);

// The dialogs of the desktop.
class TQtPrompts : public TPrompts {
public:
    explicit TQtPrompts(QWidget* parent) : FParent(parent) {}
    void SetParent(QWidget* parent) { FParent = parent; }
    // Makes the program's dialogs, children of the parent: they read their settings now and
    // write them when the parent destroys them.
    void CreateDialogs(const std::string& iniPath);
    std::optional<std::string> OpenFile(const TFileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const TFileDialogRequest& request) override;
    int Message(const std::string& text, TMsgType type, int buttons) override;
    std::optional<TColor> ChooseColor(TColor initial) override;
    void About(const std::string& title, const std::string& text) override;
    std::optional<TElementEditResult> EditElement(const TElementEditRequest& request) override;
    std::optional<TImportTGAResult> ImportTGA(const TImportTGARequest& request) override;
    // Shows the property editor's import colours and flags in place of the request's, and on OK
    // hands them back to it and stores its import colours at once.
    std::optional<TOptionsValues> Options(const TOptionsRequest& request) override;
    TRecoveryChoice AskRecovery(const std::string& text) override;

private:
    QWidget* FParent;
    QPointer<TImportTGAForm> FImportTGA;
    QPointer<TPropertyForm> FProperty;
    QPointer<TSelectDirForm> FSelectDir;
    QPointer<TOptionsForm> FOptions;
};

} // namespace kestrund
