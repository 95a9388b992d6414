#pragma once
// The options dialog: the program's preferences on three tabs. It keeps none of them: the caller
// fills it, shows it and takes the values back on OK. Registering the file type and clearing the
// settings file act at once, through the caller.

#include "MainSettings.h"
#include "Prompts.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace kestrund {

class TColorComboBox;
class TExtSpinEdit;

class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    // Asks for a folder, starting at the given one; nothing on Cancel.
    using TDirectoryChooser = std::function<std::optional<std::string>(const std::string& start)>;

    explicit TOptionsForm(const std::string& iniPath, QWidget* parent = nullptr);
    ~TOptionsForm() override; // writes the OptionsWindow section

    // Fills every control; out-of-range choices select the first item.
    void SetValues(const TOptionsValues& values);
    // The values as the controls hold them now.
    TOptionsValues Values() const;

    void SetDirectoryChooser(TDirectoryChooser chooser) { FChooseDirectory = std::move(chooser); }
    // The buttons that act at once call these; a button without its action is disabled.
    void SetActions(std::function<void()> registerFileType, std::function<void()> unregisterFileType,
                    std::function<void()> resetIni);

    // The colours of a first run, shown in the combos (stored only on OK).
    void ResetColors();

    void ReadSettings();
    void WriteSettings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TDirRow {
        QLabel* Label = nullptr;
        QFrame* Panel = nullptr;
        QLineEdit* Edit = nullptr;
        QToolButton* Browse = nullptr;
    };
    static constexpr int DirRowCount = 7, FirstImageRow = 3;

    QWidget* BuildDirectories();
    QWidget* BuildPreferences();
    QWidget* BuildColors();
    void Browse(int row);
    void ResetIniClicked();

    std::string FIniPath;
    int FDesignWidth = 0, FDesignHeight = 0;
    TDirectoryChooser FChooseDirectory;
    std::function<void()> FRegisterFileType, FUnregisterFileType, FResetIni;

    QTabWidget* pcOptions = nullptr;
    QAction* aSetPersistent = nullptr;
    QAction* aSetDiversImgDirs = nullptr;
    QCheckBox* cbPersistentDirs = nullptr;
    QCheckBox* cbAlwayUseDef = nullptr;
    QCheckBox* cbDiverseImageDirs = nullptr;
    std::array<TDirRow, DirRowCount> FDirRows;

    QComboBox* cbLogLevel = nullptr;
    QCheckBox* cbOverWritePrompt = nullptr;
    TExtSpinEdit* seImgBorderWidth = nullptr;
    QComboBox* cbDefColorMode = nullptr;
    QPushButton* btnRegisterSPR = nullptr;
    QPushButton* btnUnregister = nullptr;
    QLabel* lReset = nullptr;
    QPushButton* btnReset = nullptr;

    QCheckBox* cbPersistentColors = nullptr;
    QCheckBox* cbAlwayUseDefColors = nullptr;
    TColorComboBox* ccbMainWindowBGColor = nullptr;
    TColorComboBox* ccbMainWindowSHColor = nullptr;
    TColorComboBox* ccbTGAImportWindowTranspColor = nullptr;
    TColorComboBox* ccbTGAImportSHColor = nullptr;
    TColorComboBox* ccbTGAImportWindowBGColor = nullptr;
    QLabel* lResetColors = nullptr;
    QPushButton* btnResetColors = nullptr;

    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnHelp = nullptr;
};

// Sets the dialog up from the request (values and actions), runs it modally and returns the values
// on OK; nothing on Cancel. The actions are dropped afterwards.
std::optional<TOptionsValues> RunOptionsForm(TOptionsForm& form, const TOptionsRequest& request);

// The main window's preferences as the dialog shows them, and the dialog's answer taken back
// into them; the property editor's colours are not among them.
TOptionsValues OptionsValuesOf(const TMainSettings& settings);
void TakeOptionsValues(const TOptionsValues& values, TMainSettings& settings);

// The values the settings file holds now, defaults for what it lacks (folders: programDir).
TOptionsValues StoredOptionsValues(const std::string& iniPath, const std::string& programDir);

} // namespace kestrund
