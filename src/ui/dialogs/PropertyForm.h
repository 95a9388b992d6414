#pragma once
// The property editor: the one modal dialog through which every element of a tile set is added
// or edited. It works on copies; the caller applies the result to the set. Created once, hidden,
// and reused: each use sets a kind, hands over an element, shows it and reads the values back.

#include "ImportTGAForm.h"
#include "PropertyLogic.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace kestrund {

class ColorMenu;
class TElementStrip;
class TExtSpinEdit;
class TPrompts;
class TVariationRuleEditor;

struct TElementEditRequest {
    TPropertyKind Kind = pkTileRule;
    bool Add = true;                // Add (fresh element, SetAddMode(true)) or Edit (element at Position, Replace checked)
    bool Hex = false;               // the main window's Hex Numbers
    const TTileFile* Set = nullptr; // the open set; never changed by the dialog
    int Position = 0;               // the main window's current number of the kind
    std::string ImageDirectory;     // kinds with pictures
};

struct TElementEditResult {
    // Exactly the requested kind's pointer is set: a new element holding everything the user left
    // in the dialog (for Edit it started as a copy of the element at Position). The caller assigns
    // it to the element at Position when Replace, else inserts it at Position (or appends when
    // Last or Position >= count).
    std::unique_ptr<TTileRule> TileRule;
    std::unique_ptr<TTileBorder> Border;
    std::unique_ptr<TTile> Tile;
    std::unique_ptr<TRiver> River;
    std::unique_ptr<TTileImprovement> Improvement;
    std::unique_ptr<TVariationRule> VariationRule;
    int Position = 0;
    bool Replace = false, Last = false;
    std::string ImageDirectory;
};

class TIniFile;

// The import colours and flags the property editor keeps in the settings' Colors section,
// as stored (the defaults when a key is missing).
struct TImportSettings {
    TColor Transparent, Shadow, PreviewBackground;
    bool PersistentColors, AlwaysUseDefault;
};
TImportSettings ReadImportSettings(const TIniFile& ini);

class TPropertyForm : public QDialog {
    Q_OBJECT
public:
    // Shows the Targa import dialog; nothing on Cancel.
    using TImportTGAChooser = std::function<std::optional<TImportTGAResult>(const TImportTGARequest&)>;

    TPropertyForm(TPrompts& prompts, const std::string& iniPath, QWidget* parent = nullptr);
    ~TPropertyForm() override; // writes its settings

    // The open set: strips, tile index list, tile lookup, position limits. May be none.
    void SetTileSet(const TTileFile* set);
    // Shows exactly the controls of a kind (0..5); any other value is only recorded.
    void SetKind(int kind);
    int Kind() const { return FKind; }
    void SetHexDisplay(bool hex);
    bool HexDisplay() const { return FHexDisplay; }
    // Add: Replace unchecked, Insert Last checked and enabled, position disabled.
    void SetAddMode(bool add);
    bool AddMode() const { return FAddMode; }

    // The element to show; the dialog copies it. While Accepted is set the controls are not reloaded.
    void SetTileRule(const TTileRule& rule);
    void SetBorder(const TTileBorder& border);
    void SetTile(const TTile& tile);
    void SetRiver(const TRiver& river);
    void SetImprovement(const TTileImprovement& improvement);
    void SetVariationRule(const TVariationRule& rule);

    // Write the controls into target and clear Accepted.
    void ApplyTileRule(TTileRule& target);
    void ApplyBorder(TTileBorder& target);
    void ApplyTile(TTile& target);
    void ApplyRiver(TRiver& target);
    void ApplyImprovement(TTileImprovement& target);
    void ApplyVariationRule(TVariationRule& target);

    // Hides and disables every kind's own controls; called after every use.
    void HideAllKinds();

    void SetPreviewBackground(TColor color);
    TColor PreviewBackground() const { return FPreviewBackground; }
    void SetImportTransparent(TColor color) { FImportTransparent = color; }
    TColor ImportTransparent() const { return FImportTransparent; }
    void SetImportShadow(TColor color) { FImportShadow = color; }
    TColor ImportShadow() const { return FImportShadow; }
    void SetPersistentColors(bool on) { FPersistentColors = on; }
    bool PersistentColors() const { return FPersistentColors; }
    void SetAlwaysUseDefault(bool on) { FAlwaysUseDefault = on; }
    bool AlwaysUseDefault() const { return FAlwaysUseDefault; }
    // Writes the three import colours to the settings file.
    void SaveImportColors();

    // Whether variation rules are edited as text ("Te&xt Edit").
    bool IsTextEdit() const;
    // OK was pressed (by any way) since the last Apply or the last SetKind.
    bool Accepted() const { return FAccepted; }

    // The position field, limited to where an element can go.
    int Position() const;
    void SetPosition(int position);
    bool Replace() const;
    // Checks or unchecks Replace as a click does (Insert Last and the position follow).
    void SetReplace(bool replace);
    bool InsertLast() const;
    void SetInsertLast(bool last);
    const std::string& ImageDirectory() const { return FImageDirectory; }
    void SetImageDirectory(const std::string& directory) { FImageDirectory = directory; }

    void SetImportTGAChooser(TImportTGAChooser chooser) { FImportTGAChooser = std::move(chooser); }

    void ReadSettings();
    void WriteSettings();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWidgets();
    QWidget* BuildFields();
    QWidget* BuildPreviewColumn();
    void ShowKindControls(TPropertyKind kind);

    void ReplaceClicked();
    void LastClicked();
    void UpdateStripMark();
    void PositionChanged();
    void UpdatePositionRange();
    void CornerClicked(QCheckBox* box);
    void TileCornersChanged();
    int CornerFlags() const;
    int BorderCorner() const;
    void TextEditSwitch();
    void StripChosen(int column);
    void LoadClicked();
    void UpdatePreview();
    void PaintPreview();
    void PreviewMouse(class QMouseEvent* event);
    void UpdateSwatch();
    bool PreviewKey(QWidget* target, class QKeyEvent* event);
    TColor Resolved(TColor color) const;
    QImage StripPicture(int index, bool highlighted) const;
    void SetFieldRange(TExtSpinEdit* edit, int min, int max, int hexWidth);

    TPrompts& FPrompts;
    std::string FIniPath;
    TImportTGAChooser FImportTGAChooser;
    const TTileFile* FSet = nullptr;

    int FKind = -1;
    bool FHexDisplay = false;
    bool FAddMode = false;
    bool FAccepted = false;
    TPositionRange FPosRange{0, 0};
    bool FPosLimited = false;

    TTileBorder FBorderSource, FBorderWorking;
    TTile FTileSource, FTileWorking;
    int FTileSourceFlags = 0; // corners whose marker border the source's pixels carry
    TRiver FRiver;
    TTileImprovement FImprovement;
    QImage FPreview;

    TColor FPreviewBackground = clBtnFace;
    TColor FImportTransparent = 0xC0C0C0;
    TColor FImportShadow = 0x808080;
    bool FPersistentColors = false;
    bool FAlwaysUseDefault = false;
    std::string FImageDirectory;

    // Always present.
    QLabel* lPos = nullptr;
    TExtSpinEdit* sePos = nullptr;
    QCheckBox* cbReplace = nullptr;
    QCheckBox* cbLast = nullptr;
    QCheckBox* cbHex = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnHelp = nullptr;
    void SetKindHelp(int kind); // the help contexts of the form and the fields that change with the kind

    // Kind fields.
    QLabel* lID = nullptr;
    TExtSpinEdit* seID = nullptr;
    std::array<QLabel*, 5> lAlt{};      // lAlt1..lAlt5
    std::array<TExtSpinEdit*, 5> seAlt{}; // seAlt1..seAlt5
    // Tile-rule neighbours and direction boxes, indexed by slot (0 W .. 8 E; 4 is the centre).
    std::array<TExtSpinEdit*, 9> seNeighbour{};
    std::array<QLabel*, 9> lNeighbour{};
    std::array<QCheckBox*, 9> cbDirection{}; // no box at the centre
    QWidget* pNeighbours = nullptr;
    QWidget* pDirections = nullptr;
    QLabel* lLand = nullptr;
    QComboBox* cbLand = nullptr;

    // Pictures.
    QPushButton* btnLoad = nullptr;
    QLabel* lPreViewBGColor = nullptr;
    QToolButton* sbPreViewBG = nullptr;
    QFrame* pResource = nullptr;
    QWidget* pbResource = nullptr;
    TElementStrip* dgTiles = nullptr;
    ColorMenu* FColorMenu = nullptr;

    // Variation rules.
    TVariationRuleEditor* pVariationRule = nullptr;
    QCheckBox* cbHexEd = nullptr;
    QPushButton* btnUpdate = nullptr;
    QPlainTextEdit* mVariationRule = nullptr;

    std::array<std::vector<QWidget*>, PropertyKindCount> FKindWidgets;
};

// Sets the form up as the Add/Edit commands do (kind, caption, hex display, the element, the
// position, add mode or Replace checked, image folder), shows it modally, applies on OK into a
// fresh element, and calls HideAllKinds. Nothing on Cancel, nor for an Edit of a position the set
// does not have.
std::optional<TElementEditResult> RunPropertyForm(TPropertyForm& form, const TElementEditRequest& request);

} // namespace kestrund
