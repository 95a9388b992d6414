#include "AutoRecovery.h"


#include <utility>

#include <QDateTime>
#include <QLockFile>
#include <QtConcurrent/QtConcurrentRun>

namespace kestrund {

std::unique_ptr<QLockFile> LockRecovery(const TRecoveryFiles& files)
{
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(files.LockFileName()));
    // Never stale by age: a run may keep its lock for days. A lock whose process is gone
    // is still taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

TAutoRecovery::TAutoRecovery(TTileSetDocument& document, std::function<TRecoveryInfo()> describe, QObject* parent)
    : QObject(parent), FDocument(document), FDescribe(std::move(describe))
{
    FTimer.setSingleShot(true);
    FTimer.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5% early: not "at most once an interval"
    connect(&FTimer, &QTimer::timeout, this, &TAutoRecovery::WriteNow);
    connect(&FWriting, &QFutureWatcher<QString>::finished, this, &TAutoRecovery::WriteEnded);
    connect(&document.UndoStack(), &QUndoStack::indexChanged, this, &TAutoRecovery::Changed);
    connect(&document.UndoStack(), &QUndoStack::cleanChanged, this, &TAutoRecovery::Changed);
}

TAutoRecovery::~TAutoRecovery()
{
    FWriting.waitForFinished();
    RemoveCopy();
}

void TAutoRecovery::Start(const TRecoveryFiles& files, std::unique_ptr<QLockFile> lock, int intervalMs)
{
    FFiles = files;
    FLock = std::move(lock);
    FInterval = intervalMs;
    Changed();
}

void TAutoRecovery::Changed()
{
    if (!FFiles)
        return;
    if (!FDocument.Modified()) {
        FTimer.stop();
        if (!FWriting.isRunning()) // else once the write has ended
            RemoveCopy();
        return;
    }
    if (FWriting.isRunning()) {
        FChangedWhileWriting = true;
        return;
    }
    if (FTimer.isActive())
        return;
    // A zero wait still lets the changes of one command come together first.
    FTimer.start(FSinceWrite.isValid() ? std::max<qint64>(0, FInterval - FSinceWrite.elapsed()) : 0);
}

void TAutoRecovery::WriteNow()
{
    if (!FFiles || !FDocument.Modified() || FWriting.isRunning())
        return;
    FSinceWrite.start();
    // The copy is the only part on this thread: the worker must not see the set change.
    std::shared_ptr<const TTileFile> copy = FDocument.Set().Copy();
    TRecoveryInfo info = FDescribe();
    info.ColorMode = copy->ColorMode;
    info.Time = QDateTime::currentSecsSinceEpoch();
    FChangedWhileWriting = false;
    FWriting.setFuture(QtConcurrent::run([files = *FFiles, copy, info]() -> QString {
        try {
            files.Write(*copy, info);
            return {};
        } catch (const std::exception& e) {
            return QString::fromStdString(e.what());
        }
    }));
}

void TAutoRecovery::WriteEnded()
{
    const QString error = FWriting.result();
    if (!FDocument.Modified()) {
        RemoveCopy(); // saved or discarded while it was written
        return;
    }
    if (error.isEmpty())
        emit Written();
    else
        emit WriteFailed(error);
    if (std::exchange(FChangedWhileWriting, false))
        Changed();
}

void TAutoRecovery::RemoveCopy()
{
    if (FFiles)
        FFiles->Remove();
}

} // namespace kestrund
