#include "ElementCommands.h"

namespace kestrund {

TInsertElementCommand::TInsertElementCommand(TTileSetDocument& document, int kind, std::size_t index,
                                             TElement element, const QString& text)
    : QUndoCommand(text), FDocument(document), FKind(kind), FIndex(index), FElement(std::move(element))
{
}

void TInsertElementCommand::redo()
{
    FDocument.Insert(FKind, FIndex, std::move(FElement));
}

void TInsertElementCommand::undo()
{
    FElement = FDocument.Take(FKind, FIndex);
}

TRemoveElementCommand::TRemoveElementCommand(TTileSetDocument& document, int kind, std::size_t index,
                                             const QString& text)
    : QUndoCommand(text), FDocument(document), FKind(kind), FIndex(index)
{
}

void TRemoveElementCommand::redo()
{
    FElement = FDocument.Take(FKind, FIndex);
}

void TRemoveElementCommand::undo()
{
    FDocument.Insert(FKind, FIndex, std::move(FElement));
}

TReplaceElementCommand::TReplaceElementCommand(TTileSetDocument& document, int kind, std::size_t index,
                                               TElement element, const QString& text)
    : QUndoCommand(text), FDocument(document), FKind(kind), FIndex(index), FElement(std::move(element))
{
}

void TReplaceElementCommand::Swap()
{
    FElement = FDocument.Replace(FKind, FIndex, std::move(FElement));
}

} // namespace kestrund
