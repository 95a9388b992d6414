// The recovery copies: the question at start-up about those left by runs that did not end
// cleanly, and the copy this run keeps.

#include "MainForm.h"

#include "AutoRecovery.h"
#include "Errors.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLockFile>

#include <ctime>
#include <filesystem>

namespace kestrund {

std::string TMainForm::RecoveryQuestion(const TRecoveryInfo& info) const
{
    const std::string name = info.DocumentName.empty() || info.DocumentName == "(new)"
                                 ? "a new set"
                                 : std::filesystem::path(info.DocumentName).filename().string();
    const std::string time =
        QDateTime::fromSecsSinceEpoch(info.Time).toString("yyyy-MM-dd hh:mm").toStdString();
    return "Kestrund did not close properly. Recover the unsaved changes to " + name + " from " + time + "?";
}

bool TMainForm::Recover(const TRecoveryFiles& files, const TRecoveryInfo& info)
{
    TTileFile recovered;
    try {
        files.Load(recovered, info);
    } catch (const EKestrundError& e) {
        FPrompts.Message(files.TileFileName(info.ColorMode) + " could not be read:\n\r" + e.what(), TMsgType::Error,
                         mbOK);
        return false;
    }
    Document.SwapSet(recovered);
    Document.StartHistory();
    Document.UndoStack().resetClean(); // unsaved changes, with nothing to undo
    SetDocumentName(info.DocumentName);
    return true;
}

void TMainForm::StartRecovery(const std::string& folder, int intervalMs)
{
    std::error_code error;
    if (folder.empty() || FRecovery->Started() || (!std::filesystem::create_directories(folder, error) && error))
        return;
    for (const std::string& id : RecoveryIds(folder)) {
        const TRecoveryFiles files(folder, id);
        auto lock = LockRecovery(files); // a running editor's files are left alone
        if (!lock)
            continue;
        const auto info = files.ReadInfo();
        if (!info) { // a run without unsaved changes
            files.Remove();
            continue;
        }
        switch (FPrompts.AskRecovery(RecoveryQuestion(*info))) {
        case TRecoveryChoice::Recover:
            if (Recover(files, *info)) { // this run's copy from now on
                FRecovery->Start(files, std::move(lock), intervalMs);
                return;
            }
            break;
        case TRecoveryChoice::Discard: files.Remove(); break;
        case TRecoveryChoice::Later: break;
        }
    }
    const TRecoveryFiles files(folder, NewRecoveryId(std::time(nullptr), QCoreApplication::applicationPid()));
    if (auto lock = LockRecovery(files))
        FRecovery->Start(files, std::move(lock), intervalMs);
}

} // namespace kestrund
