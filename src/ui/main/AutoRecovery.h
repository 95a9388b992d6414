#pragma once
// Keeps a recovery copy of the open set while it has unsaved changes: after a change, at
// most once an interval, the set is copied on the window's thread and written on a worker,
// so input is never held up by the disk. A save, a discard (the history back at its clean
// state) or the end of the run removes the copy; a killed run leaves it for the next start.

#include "RecoveryFiles.h"
#include "TileSetDocument.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QLockFile;

namespace kestrund {

// A run's lock on its recovery files; nothing when another running editor holds it.
std::unique_ptr<QLockFile> LockRecovery(const TRecoveryFiles& files);

class TAutoRecovery : public QObject {
    Q_OBJECT
public:
    // describe: where the set came from, asked for at each copy.
    TAutoRecovery(TTileSetDocument& document, std::function<TRecoveryInfo()> describe, QObject* parent = nullptr);
    // Waits for a write under way, then removes the copy: the run ends cleanly.
    ~TAutoRecovery() override;

    // Keeps copies as files, held by lock, from now on (a copy due is written at once).
    void Start(const TRecoveryFiles& files, std::unique_ptr<QLockFile> lock, int intervalMs = 60000);
    bool Started() const { return FFiles.has_value(); }

signals:
    void Written();                     // a copy is complete on the disk
    void WriteFailed(const QString& message);

private:
    void Changed();
    void WriteNow();
    void WriteEnded();
    void RemoveCopy();

    TTileSetDocument& FDocument;
    std::function<TRecoveryInfo()> FDescribe;
    std::optional<TRecoveryFiles> FFiles;
    std::unique_ptr<QLockFile> FLock;
    int FInterval = 60000;
    QTimer FTimer;
    QElapsedTimer FSinceWrite;           // started at each copy
    QFutureWatcher<QString> FWriting;    // the worker's error message, empty on success
    bool FChangedWhileWriting = false;
};

} // namespace kestrund
