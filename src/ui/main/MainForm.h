#pragma once
// The main window: owns the open tile set, lets the user pick one element of each
// kind, shows them in the tile view and carries the file commands.

#include "MainSettings.h"
#include "Prompts.h"
#include "TileSetDocument.h"
#include "TileView.h"

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QCheckBox;
class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollArea;
class QToolButton;

namespace kestrund {

class TAutoRecovery;
class TElementBrowser;
class TRecoveryFiles;
struct TRecoveryInfo;
class TErrorLogForm;
class TExtSpinEdit;
class TTileViewWidget;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // iniPath: the settings file; fileToOpen: a tile file named on the command line.
    TMainForm(TPrompts& prompts, const std::string& iniPath, const std::string& fileToOpen = {},
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // State
    TTileSetDocument Document;
    TTileFile& TileFile = Document.Set();
    QImage ViewPicture;
    int ImgBorderWidth = 2;
    int ZoomFactor = 1;
    TColor BgColor = 0xC0C0C0;
    TColor ShadowColor = 0x808080;
    const TTileRule* CurrentRule = nullptr;
    TMainSettings Settings; // folders and preferences as read and changed during the run
    std::string LogFileName;

    // Operations
    // False when the file could not be read (the set is then as it was).
    bool LoadTileFile(const std::string& name, bool append);
    void OpenTileFile(bool append);
    void ImportScriptFile(bool append);
    // Saves both files; true when both were written.
    bool SaveTileFile();
    void UpdateCounters();
    void RedrawView();
    void ShowTileRule(const TTileRule* rule);
    void SetBackgroundColor(TColor c);
    void SetShadowColor(TColor c);
    // colorMode: also set the open set's colour mode from the settings (at start-up).
    void ReadSettings(bool colorMode = true);
    void WriteSettings(bool force);
    TViewState ViewState() const;
    // Offers the recovery copies that runs which did not end cleanly left in folder, then
    // keeps a copy of the set there while it has unsaved changes (at most once an interval).
    void StartRecovery(const std::string& folder, int intervalMs = 60000);

    // Menu commands
    void miFileOpenClick() { OpenTileFile(false); }
    void miFileNewClick();
    void miFileSaveTileFileClick() { SaveTileFile(); }
    void miFileImportScriptClick() { ImportScriptFile(false); }
    void miFileExportScriptClick();
    void miAppendTileFileClick() { OpenTileFile(true); }
    void miAppendScriptClick() { ImportScriptFile(true); }
    void miHelpAboutClick();
    void miFileOptionsClick();
    void miFileSaveImageClick();
    // The picture of the kind's current element (tiles, borders, rivers, improvements).
    void SaveElementImage(int kind);
    void miViewScriptLogClick();
    // The Edit menu: the property editor on a new element (add) or the current one (edit).
    void EditElement(int kind, bool add);
    void DeleteElement(int kind);
    void SetZoom(int zoom);

    // Widgets (public for the tests that drive the window)
    std::array<QCheckBox*, KindCount> ShowBoxes{};
    std::array<QGroupBox*, KindCount> Groups{};
    std::array<TExtSpinEdit*, KindCount> Spins{};
    std::array<QLabel*, KindCount> CountLabels{};
    QLabel *lTileIDHex = nullptr, *lTileTSIHex = nullptr, *lTileCutoutHex = nullptr;
    QLabel *lBorderFromHex = nullptr, *lBorderToHEx = nullptr, *lRiverIDHex = nullptr, *lTIIDHex = nullptr;
    QLabel* lVRTileSetIndex = nullptr;
    std::array<QLabel*, 15> RuleLabels{}; // N, NW, NE, W, C, E, SW, S, SE, Graph., Alt1..Alt5
    std::array<QToolButton*, 4> BorderButtons{};  // SW, NW, NE, SE
    TTileViewWidget* pbTile = nullptr;
    QScrollArea* ScrollBox = nullptr;
    QLabel* lLoadingLabel = nullptr;
    QProgressBar* Animate1 = nullptr;

    QAction *miFileOpen = nullptr, *miFileNew = nullptr, *miFileSaveTileFile = nullptr;
    QAction *miFileImportScript = nullptr, *miFileExportScript = nullptr, *miFileOptions = nullptr;
    QAction *miAppendTileFile = nullptr, *miAppendScript = nullptr, *miFileExit = nullptr;
    QAction* miFileSaveImage = nullptr;
    QMenu* miFileRecent = nullptr; // the last tile files opened or saved, most recent first
    QAction *miEditUndo = nullptr, *miEditRedo = nullptr;
    std::array<QAction*, 4> SaveElementItems{}; // tiles, borders, rivers, improvements
    QAction* miViewScriptLog = nullptr;
    QAction* miViewBrowser = nullptr;
    TElementBrowser* Browser = nullptr; // every element of one kind as thumbnails
    // By TKind: the Edit menu's Add, Delete and Edit items.
    std::array<QAction*, KindCount> AddItems{}, DeleteItems{}, EditItems{};
    QAction *miViewSingle = nullptr, *miView3x3 = nullptr, *miViewHex = nullptr;
    QAction* miInGameColorMode = nullptr;
    QAction* miShadowInvert = nullptr;
    std::array<QAction*, 8> ZoomItems{};
    QMenu *BackgroundMenu = nullptr, *ShadowMenu = nullptr;
    QAction *miHelpIndex = nullptr, *miHelpAbout = nullptr;

    int BorderMask() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    QWidget* BuildLeftPanel();
    void BuildColorMenu(QMenu* menu, bool shadow);
    void BuildHelp(QWidget* leftPanel);
    void BuildBrowser(QMenu* view);
    // The browser's look and current element follow the window's.
    void FollowBrowser();
    void BrowserPicked(int kind, std::size_t i);
    void SetSpinLimits();
    void ClampSpins();
    void SpinChanged(int kind);
    void ShowBoxClicked(int kind);
    void SetNumberWidgetsEnabled(int kind, bool on);
    void OfferColorModeOfName(const std::string& fileName);
    void ColorItemClicked(QMenu* menu, QAction* item, bool shadow);
    TSettingsContext Context() const;
    void ShowLoading(bool on);
    void LoadImportLog();
    std::string& ImageFolder(int kind);
    std::size_t Count(int kind) const { return Document.Count(kind); }
    void ElementsChanged(int kind);
    // The options dialog's immediate actions.
    void ResetIni();
    void RegisterTileFiles(bool on);
    // History, unsaved changes, recent files and dropped files.
    void BuildHistoryItems(QMenu* edit);
    // Asks to save a modified set first; true when the command may go on.
    bool ConfirmDiscard();
    void OpenTileFileNamed(const std::string& name, bool append = false);
    void ImportScriptNamed(const std::string& name, bool append);
    void ChangeColorMode(bool inGame);
    void SetReplacedHandler();
    void SetDocumentName(const std::string& name);
    void UpdateTitle();
    void ReadRecentFiles();
    void WriteRecentFiles();
    void AddRecentFile(const std::string& name);
    void OpenRecentFile(const std::string& name);
    void RebuildRecentMenu();
    // Recovery copies.
    std::string RecoveryQuestion(const TRecoveryInfo& info) const;
    bool Recover(const TRecoveryFiles& files, const TRecoveryInfo& info);

    TPrompts& FPrompts;
    std::string FIniPath;
    TErrorLogForm* FErrorLog = nullptr;
    bool FRedrawing = false;
    bool FImporting = false;
    std::string FDocumentName; // shown in the title; empty before anything was opened
    std::vector<std::string> FRecentFiles;
    TAutoRecovery* FRecovery = nullptr;
};

} // namespace kestrund
