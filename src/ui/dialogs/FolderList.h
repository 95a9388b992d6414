#pragma once
// A folder chooser in the manner of a drive and directory list: the path from the drive's root
// down to the open folder, then that folder's subfolders, above a list of drives (on Linux "/",
// the home folder and the mounted volumes).

#include <QWidget>

class QComboBox;
class QListWidget;

namespace kestrund {

class TFolderList : public QWidget {
    Q_OBJECT
public:
    explicit TFolderList(QWidget* parent = nullptr);

    // Opens the folder: its path and subfolders are listed and it is selected.
    void OpenDirectory(const QString& folder);
    // The open folder (the selected one may be a subfolder or a folder above it).
    QString Directory() const { return FDirectory; }

    // The roots offered as drives.
    static QStringList DriveRoots();

signals:
    // The selection moved to a folder, by mouse, key or opening.
    void FolderSelected(const QString& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillDrives();
    bool FolderKey(int key);

    QString FDirectory;
    QListWidget* lbDir = nullptr;
    QComboBox* cbDrive = nullptr;
};

} // namespace kestrund
