#pragma once
// The edits of single elements as undoable commands. Each calls the document's mutators,
// never the model; an element taken out of the set is owned by the command that took it.

#include "TileSetDocument.h"

#include <QUndoCommand>

namespace kestrund {

class TInsertElementCommand : public QUndoCommand {
public:
    TInsertElementCommand(TTileSetDocument& document, int kind, std::size_t index, TElement element,
                          const QString& text);
    void redo() override;
    void undo() override;

private:
    TTileSetDocument& FDocument;
    int FKind;
    std::size_t FIndex;
    TElement FElement; // while undone
};

class TRemoveElementCommand : public QUndoCommand {
public:
    TRemoveElementCommand(TTileSetDocument& document, int kind, std::size_t index, const QString& text);
    void redo() override;
    void undo() override;

private:
    TTileSetDocument& FDocument;
    int FKind;
    std::size_t FIndex;
    TElement FElement; // while done
};

// Puts a new element in the place of the one at index; undo and redo swap them back.
class TReplaceElementCommand : public QUndoCommand {
public:
    TReplaceElementCommand(TTileSetDocument& document, int kind, std::size_t index, TElement element,
                           const QString& text);
    void redo() override { Swap(); }
    void undo() override { Swap(); }

private:
    void Swap();
    TTileSetDocument& FDocument;
    int FKind;
    std::size_t FIndex;
    TElement FElement; // the one not in the set
};

} // namespace kestrund
