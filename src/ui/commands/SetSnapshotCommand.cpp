#include "SetSnapshotCommand.h"

namespace kestrund {

TSetSnapshotCommand::TSetSnapshotCommand(TTileSetDocument& document, std::unique_ptr<TTileFile> other,
                                         const QString& text)
    : QUndoCommand(text), FDocument(document), FOther(std::move(other))
{
}

void TSetSnapshotCommand::redo()
{
    // The stack calls redo on push; the set already holds the change then.
    if (std::exchange(FApplied, false))
        return;
    FDocument.SwapSet(*FOther);
}

} // namespace kestrund
