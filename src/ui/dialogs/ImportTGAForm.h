#pragma once
// The Targa import dialog: picks the picture file for an element image, with a preview, and the
// transparent and shadow colours the picture will be converted with. It reads nothing into the
// tile set; its caller loads the chosen file. Created once, hidden, and reused.

#include "ImportTGARules.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace kestrund {

class ColorMenu;
class TFolderList;

class TImportTGAForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int PreviewWidth = 140, PreviewHeight = 128;

    TImportTGAForm(const std::string& iniPath, QWidget* parent = nullptr);
    ~TImportTGAForm() override; // writes the ImportTGAWindow section

    // A folder that does not exist opens its nearest existing parent, else the home folder.
    void SetImportDirectory(const std::string& directory);
    void SetPreviewBackgroundColor(TColor color);
    void SetShadowColor(TColor color);
    void SetTransparentColor(TColor color);

    // The folder whose files are listed, where the chosen file lies.
    std::string GetImportDirectory() const;
    // The chosen file with its path; empty when none.
    std::string GetImportFileName() const;
    TColor TransparentColor() const { return FColors.Transparent; }
    TColor ShadowColor() const { return FColors.Shadow; }
    TColor PreviewBackgroundColor() const { return FColors.PreviewBackground; }

    // Who answers the colour menu's "Custom" item; empty for the standard colour dialog.
    void SetColorChooser(std::function<std::optional<TColor>(TColor initial, QWidget* parent)> chooser);

    void ReadSettings();
    void WriteSettings();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum TColorTarget { ctTransparent = 1, ctShadow = 2, ctPreviewBackground = 3 };

    QWidget* BuildPreviewColumn();
    QToolButton* AddColorButton(const char* name, const char* caption, TColorTarget target, QGridLayout* grid);

    void ListFiles(const QString& folder);
    void FileSelected(QListWidgetItem* item);
    void FilterChosen(int index);
    void OkClicked();

    void ShowPreview(const QString& fileName);
    void PaintPreview();
    void PickColor(const QPoint& position, Qt::MouseButton button);
    void ShowColorMenu(TColorTarget target, QToolButton* button);
    void MenuColorChosen(TColor color);
    void ColorsChanged();
    TColor Resolved(TColor color) const;

    std::string FIniPath;
    TImportColors FColors;
    TColor FPreviewKey = clFuchsia; // the preview's transparent colour until one is set
    TTgaPreview FPreview;
    QImage FPreviewImage;
    TPreviewOffset FOffset{2, 2};
    TColorTarget FMenuTarget = ctTransparent;
    QString FListDir;   // the folder whose files are listed
    QString FMask = "*.tga";
    QString FChosenFile;

    TFolderList* pLeft = nullptr;
    QListWidget* FileListBox = nullptr;
    QWidget* pPreView = nullptr;
    QLabel* lPreViewCaption = nullptr;
    QWidget* pbPreView = nullptr;
    QToolButton* sbBGColor = nullptr;
    QToolButton* sbShColor = nullptr;
    QToolButton* sbPreViewBG = nullptr;
    QLineEdit* eFName = nullptr;
    QComboBox* FilterComboBox1 = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QStatusBar* sbInfo = nullptr;
    QLabel* pHint = nullptr;
    QLabel* pInfo = nullptr;
    ColorMenu* FColorMenu = nullptr;
};

// What the caller gives the dialog and what it gets back.
struct TImportTGARequest {
    std::string Directory;
    TColor PreviewBackground = clBtnFace, Shadow = 0x808080, Transparent = 0xC0C0C0;
};

struct TImportTGAResult {
    std::string FileName, Directory;
    TColor Transparent = 0, Shadow = 0, PreviewBackground = 0;
};

// Sets the dialog up in the caller's order (directory, background, shadow, transparent), runs it
// modally; nothing on Cancel.
std::optional<TImportTGAResult> RunImportTGA(TImportTGAForm& form, const TImportTGARequest& request);

} // namespace kestrund
