#pragma once
// A change to the whole set (an append, the colour mode) as one undoable command: it holds
// the set as it is not now, and undo and redo exchange that with the document's by moving
// the elements, never copying them.

#include "TileSetDocument.h"

#include <QUndoCommand>

#include <utility>

namespace kestrund {

class TSetSnapshotCommand : public QUndoCommand {
public:
    // Pushed after the change: other is the set from before it.
    TSetSnapshotCommand(TTileSetDocument& document, std::unique_ptr<TTileFile> other, const QString& text);
    void redo() override;
    void undo() override { FDocument.SwapSet(*FOther); }

private:
    TTileSetDocument& FDocument;
    std::unique_ptr<TTileFile> FOther;
    bool FApplied = true; // the change was made before the push
};

} // namespace kestrund
