#pragma once
// The directory dialog: a folder list over a drive choice, with which the options dialog picks
// each of its folders. Created once, hidden, and reused.

#include <QDialog>

#include <optional>
#include <string>

class QPushButton;

namespace kestrund {

class TFolderList;

class TSelectDirForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 267, DesignHeight = 292;

    explicit TSelectDirForm(const std::string& iniPath, QWidget* parent = nullptr);
    ~TSelectDirForm() override; // writes the SelDirWindow section

    // Opens the folder; one that does not exist opens its nearest existing parent, else the home folder.
    void SetDirectory(const std::string& path);
    // The folder last selected in the list: the open one or one of its subfolders.
    std::string GetDirectory() const;

    void ReadSettings();
    void WriteSettings();

private:
    std::string FIniPath;
    QString FSelected;
    TFolderList* pFolders = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};

// Opens the dialog on start and runs it modally: the chosen folder, nothing on Cancel.
std::optional<std::string> RunSelectDir(TSelectDirForm& form, const std::string& start);

} // namespace kestrund
