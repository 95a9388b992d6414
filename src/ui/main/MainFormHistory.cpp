// Undo and redo, the question before unsaved changes are lost, the window title, the
// recent files and the files dropped on the window.

#include "MainForm.h"

#include "IniFile.h"
#include "MiscFunc.h"
#include "SetSnapshotCommand.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <filesystem>

namespace kestrund {

namespace {

// Settings: section RecentFiles, keys File1 .. File8 (most recent first), default "".
const char* const kRecentSection = "RecentFiles";
constexpr std::size_t kRecentCount = 8;
std::string RecentKey(std::size_t i)
{
    return "File" + std::to_string(i + 1);
}

enum class TDropKind { None, TileFile, Script };

// What a drop would open: one local file named .til or .src.
TDropKind DropKind(const QMimeData* mime, std::string* name = nullptr)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().first().isLocalFile())
        return TDropKind::None;
    const QString file = mime->urls().first().toLocalFile();
    if (name)
        *name = file.toStdString();
    if (file.endsWith(".til", Qt::CaseInsensitive))
        return TDropKind::TileFile;
    if (file.endsWith(".src", Qt::CaseInsensitive))
        return TDropKind::Script;
    return TDropKind::None;
}

} // namespace

void TMainForm::BuildHistoryItems(QMenu* edit)
{
    miEditUndo = Document.UndoStack().createUndoAction(this, "&Undo");
    miEditUndo->setObjectName("miEditUndo");
    miEditUndo->setShortcut(QKeySequence("Ctrl+Z"));
    miEditRedo = Document.UndoStack().createRedoAction(this, "&Redo");
    miEditRedo->setObjectName("miEditRedo");
    miEditRedo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    edit->addAction(miEditUndo);
    edit->addAction(miEditRedo);
    edit->addSeparator();
}

bool TMainForm::ConfirmDiscard()
{
    if (!Document.Modified())
        return true;
    switch (FPrompts.Message("The tile set has unsaved changes.\nSave them first?", TMsgType::Confirmation,
                             mbYes | mbNo | mbCancel)) {
    case mbYes: return SaveTileFile();
    case mbNo: return true;
    default: return false;
    }
}

void TMainForm::ChangeColorMode(bool inGame)
{
    const std::uint8_t mode = inGame ? cmRGB565 : cmRGB555;
    if (TileFile.ColorMode != mode) {
        auto before = Document.Set().Copy();
        TileFile.SetColorMode(mode);
        Document.UndoStack().push(new TSetSnapshotCommand(Document, std::move(before),
                                                          inGame ? "In-Game Color mode" : "Normal Color mode"));
        Document.AnnounceSetReplaced(); // every picture was converted
    } else
        RedrawView();
}

void TMainForm::SetReplacedHandler()
{
    CurrentRule = nullptr; // the rules are other objects now
    miInGameColorMode->setChecked(TileFile.ColorMode == cmRGB565);
    UpdateCounters();
    SetSpinLimits();
    RedrawView();
}

void TMainForm::SetDocumentName(const std::string& name)
{
    FDocumentName = name;
    UpdateTitle();
}

void TMainForm::UpdateTitle()
{
    QString title = "Kestrund";
    if (!FDocumentName.empty())
        title += " - " + QString::fromStdString(std::filesystem::path(FDocumentName).filename().string());
    if (Document.Modified())
        title += " *";
    setWindowTitle(title);
}

void TMainForm::ReadRecentFiles()
{
    TIniFile ini(FIniPath);
    FRecentFiles.clear();
    for (std::size_t i = 0; i < kRecentCount; ++i) {
        const std::string name = ini.ReadString(kRecentSection, RecentKey(i), "");
        if (!name.empty() && std::find(FRecentFiles.begin(), FRecentFiles.end(), name) == FRecentFiles.end())
            FRecentFiles.push_back(name);
    }
    RebuildRecentMenu();
}

void TMainForm::WriteRecentFiles()
{
    try {
        TExtIniFile ini(FIniPath);
        for (std::size_t i = 0; i < kRecentCount; ++i)
            ini.WriteStringDef(kRecentSection, RecentKey(i), "", i < FRecentFiles.size() ? FRecentFiles[i] : "");
    } catch (const std::exception&) {
        // The list is a convenience: a settings file that cannot be written must not stop the work.
    }
}

void TMainForm::AddRecentFile(const std::string& name)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(name, error);
    const std::string file = error ? name : absolute.lexically_normal().string();
    std::erase(FRecentFiles, file);
    FRecentFiles.insert(FRecentFiles.begin(), file);
    if (FRecentFiles.size() > kRecentCount)
        FRecentFiles.resize(kRecentCount);
    WriteRecentFiles();
    RebuildRecentMenu();
}

void TMainForm::OpenRecentFile(const std::string& name)
{
    std::error_code error;
    if (!std::filesystem::exists(name, error)) {
        FPrompts.Message(Format("%s not found", name.c_str()), TMsgType::Error, mbOK);
        std::erase(FRecentFiles, name);
        WriteRecentFiles();
        RebuildRecentMenu();
        return;
    }
    if (ConfirmDiscard())
        OpenTileFileNamed(name);
}

void TMainForm::RebuildRecentMenu()
{
    miFileRecent->clear();
    for (std::size_t i = 0; i < FRecentFiles.size(); ++i) {
        const QString file = QString::fromStdString(FRecentFiles[i]);
        QAction* item = miFileRecent->addAction(QString("&%1 %2").arg(i + 1).arg(QString(file).replace("&", "&&")));
        item->setData(file);
        item->setStatusTip(file);
        const std::string name = FRecentFiles[i];
        connect(item, &QAction::triggered, this, [this, name] { OpenRecentFile(name); });
    }
    miFileRecent->setEnabled(!FRecentFiles.empty());
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FImporting && DropKind(event->mimeData()) != TDropKind::None)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    std::string name;
    const TDropKind kind = DropKind(event->mimeData(), &name);
    if (FImporting || kind == TDropKind::None) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Opened once the drop is over: the questions and the import must not hold up the source.
    QMetaObject::invokeMethod(
        this,
        [this, kind, name] {
            if (FImporting || !ConfirmDiscard())
                return;
            if (kind == TDropKind::TileFile)
                OpenTileFileNamed(name);
            else
                ImportScriptNamed(name, false);
        },
        Qt::QueuedConnection);
}

} // namespace kestrund
