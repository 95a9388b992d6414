// The Edit menu: add, delete and edit one element of each kind through the property
// editor, each change an undoable command on the document.

#include "MainForm.h"

#include "ElementCommands.h"
#include "ExtSpinEdit.h"
#include "MiscFunc.h"

#include <QAction>

namespace kestrund {

namespace {

struct TEditTexts {
    TPropertyKind Property;
    const char *Name, *Question;
};

// By TKind.
const TEditTexts kEditTexts[KindCount] = {
    {pkTile, "Tile", "Do you want to delete Tile nr.: %d"},
    {pkBorder, "Border", "Do you want to delete Border nr.: %d"},
    {pkRiver, "River", "Do you want to delete River nr.: %d"},
    {pkImprovement, "Tile Improvement", "Do you want to delete TileImprovement nr.: %d"},
    {pkTileRule, "Tile Rule", "Do you want to delete Rule nr.:%d"},
    {pkVariationRule, "Variation Rule", "Do you want to delete VariationRule nr.: %d"},
};

bool HasPictures(int kind)
{
    return kind == kTiles || kind == kBorders || kind == kRivers || kind == kImprovements;
}

// The edited element of the kind out of the dialog's result; empty when it holds none.
TElement EditedElement(TElementEditResult& result, int kind)
{
    switch (kind) {
    case kTiles: return std::move(result.Tile);
    case kBorders: return std::move(result.Border);
    case kRivers: return std::move(result.River);
    case kImprovements: return std::move(result.Improvement);
    case kRules: return std::move(result.TileRule);
    default: return std::move(result.VariationRule);
    }
}

bool Empty(const TElement& element)
{
    return std::visit([](const auto& e) { return !e; }, element);
}

} // namespace

void TMainForm::EditElement(int kind, bool add)
{
    TExtSpinEdit* spin = Spins[static_cast<std::size_t>(kind)];
    const std::size_t count = Count(kind);
    // Edit needs an element to open; an empty kind only takes new ones.
    if (!add && (spin->Value() < 0 || static_cast<std::size_t>(spin->Value()) >= count))
        return;
    TElementEditRequest request;
    request.Kind = kEditTexts[kind].Property;
    request.Add = add;
    request.Hex = miViewHex->isChecked();
    request.Set = &TileFile;
    request.Position = std::clamp(spin->Value(), 0, static_cast<int>(count));
    if (HasPictures(kind))
        request.ImageDirectory = ImageFolder(kind);
    auto result = FPrompts.EditElement(request);
    if (!result) {
        RedrawView();
        return;
    }
    if (HasPictures(kind) && !Settings.AlwayUseDef)
        ImageFolder(kind) = result->ImageDirectory;
    const QString text = QString(add ? "Add %1" : "Edit %1").arg(kEditTexts[kind].Name);
    TElement element = EditedElement(*result, kind);
    if (Empty(element))
        return;
    if (result->Replace) {
        if (result->Position >= 0 && static_cast<std::size_t>(result->Position) < count)
            Document.UndoStack().push(new TReplaceElementCommand(Document, kind,
                                                                 static_cast<std::size_t>(result->Position),
                                                                 std::move(element), text));
    } else {
        const std::size_t at = result->Last || result->Position < 0 || static_cast<std::size_t>(result->Position) >= count
                                   ? count
                                   : static_cast<std::size_t>(result->Position);
        Document.UndoStack().push(new TInsertElementCommand(Document, kind, at, std::move(element), text));
        spin->SetValue(static_cast<int>(at));
    }
    RedrawView();
}

void TMainForm::DeleteElement(int kind)
{
    TExtSpinEdit* spin = Spins[static_cast<std::size_t>(kind)];
    const int number = spin->Value();
    if (number < 0 || static_cast<std::size_t>(number) >= Count(kind))
        return;
    if (FPrompts.Message(Format(kEditTexts[kind].Question, number), TMsgType::Warning, mbOK | mbCancel) == mbOK)
        Document.UndoStack().push(new TRemoveElementCommand(Document, kind, static_cast<std::size_t>(number),
                                                            QString("Delete %1").arg(kEditTexts[kind].Name)));
    SetSpinLimits();
    UpdateCounters();
    RedrawView();
}

} // namespace kestrund
