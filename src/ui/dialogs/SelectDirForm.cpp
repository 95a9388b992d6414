#include "SelectDirForm.h"

#include "FolderList.h"
#include "Help.h"
#include "ImportTGARules.h"
#include "IniFile.h"
#include "MainSettings.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrund {

namespace {
const char* const kSection = "SelDirWindow";
} // namespace

TSelectDirForm::TSelectDirForm(const std::string& iniPath, QWidget* parent)
    : QDialog(parent, Qt::Tool), FIniPath(iniPath)
{
    setObjectName("SelectDirForm");
    setWindowTitle("Select a Directory");
    setSizeGripEnabled(true);
    setMinimumSize(180, 160);
    setProperty("HelpContext", 600);

    pFolders = new TFolderList;
    pFolders->setObjectName("pFolders");
    // The folder list's own parts, under the names this dialog's help and tests know them by.
    auto* list = pFolders->findChild<QListWidget*>("lbDir");
    list->setObjectName("dlbSelect");
    list->setProperty("HelpContext", 601);
    auto* drives = pFolders->findChild<QComboBox*>("cbDrive");
    drives->setObjectName("dcbSelect");
    drives->setProperty("HelpContext", 602);
    connect(pFolders, &TFolderList::FolderSelected, this, [this](const QString& folder) { FSelected = folder; });
    btnOK = new QPushButton("OK");
    btnOK->setObjectName("btnOK");
    btnOK->setProperty("HelpContext", 603);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    btnCancel = new QPushButton("Cancel");
    btnCancel->setObjectName("btnCancel");
    btnCancel->setProperty("HelpContext", 604);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(pFolders, 1);
    layout->addLayout(buttons);

    SetDirectory(QDir::homePath().toStdString());
    list->setFocus();
    InstallHelpKeys(this);
    ReadSettings();
}

TSelectDirForm::~TSelectDirForm()
{
    WriteSettingsOnClose([this] { WriteSettings(); });
}

void TSelectDirForm::SetDirectory(const std::string& path)
{
    pFolders->OpenDirectory(QString::fromStdString(ExistingFolder(path, QDir::homePath().toStdString())));
}

std::string TSelectDirForm::GetDirectory() const
{
    return QDir::toNativeSeparators(FSelected).toStdString();
}

void TSelectDirForm::ReadSettings()
{
    const TIniFile ini(FIniPath);
    ApplyPlacement(*this, ReadPlacement(ini, kSection, CentredOnPrimaryScreen(DesignWidth, DesignHeight)));
}

void TSelectDirForm::WriteSettings()
{
    TExtIniFile ini(FIniPath);
    WritePlacement(ini, kSection, CurrentPlacement(*this), CentredOnPrimaryScreen(DesignWidth, DesignHeight));
}

std::optional<std::string> RunSelectDir(TSelectDirForm& form, const std::string& start)
{
    form.SetDirectory(start);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    return form.GetDirectory();
}

} // namespace kestrund
