#include "TileSetDocument.h"

namespace kestrund {

TTileSetDocument::TTileSetDocument(QObject* parent) : QObject(parent) {}

std::size_t TTileSetDocument::Count(int kind) const
{
    switch (kind) {
    case kTiles: return FSet.TileCount();
    case kBorders: return FSet.BorderCount();
    case kRivers: return FSet.RiverCount();
    case kImprovements: return FSet.ImprovementCount();
    case kRules: return FSet.TileRuleCount();
    default: return FSet.VariationRuleCount();
    }
}

void TTileSetDocument::Insert(int kind, std::size_t i, TElement element)
{
    if (static_cast<int>(element.index()) != kind)
        throw EInvalidArgument("An element of another kind cannot go there");
    std::visit(
        [&](auto& e) {
            using T = typename std::decay_t<decltype(e)>::element_type;
            if constexpr (std::is_same_v<T, TTile>)
                FSet.InsertTile(i, std::move(e));
            else if constexpr (std::is_same_v<T, TTileBorder>)
                FSet.InsertBorder(i, std::move(e));
            else if constexpr (std::is_same_v<T, TRiver>)
                FSet.InsertRiver(i, std::move(e));
            else if constexpr (std::is_same_v<T, TTileImprovement>)
                FSet.InsertImprovement(i, std::move(e));
            else if constexpr (std::is_same_v<T, TTileRule>)
                FSet.InsertTileRule(i, std::move(e));
            else
                FSet.InsertVariationRule(i, std::move(e));
        },
        element);
    emit ElementsMoved(kind);
}

TElement TTileSetDocument::Take(int kind, std::size_t i)
{
    TElement taken;
    switch (kind) {
    case kTiles: taken = FSet.TakeTile(i); break;
    case kBorders: taken = FSet.TakeBorder(i); break;
    case kRivers: taken = FSet.TakeRiver(i); break;
    case kImprovements: taken = FSet.TakeImprovement(i); break;
    case kRules: taken = FSet.TakeTileRule(i); break;
    default: taken = FSet.TakeVariationRule(i);
    }
    emit ElementsMoved(kind);
    return taken;
}

TElement TTileSetDocument::Replace(int kind, std::size_t i, TElement element)
{
    // Checked first, so that a wrong kind or place leaves the set as it was.
    if (static_cast<int>(element.index()) != kind || i >= Count(kind))
        throw EInvalidArgument("No element of that kind at " + std::to_string(i) + " to replace");
    QSignalBlocker quiet(this);
    TElement old = Take(kind, i);
    Insert(kind, i, std::move(element));
    quiet.unblock();
    emit ElementChanged(kind, i);
    return old;
}

void TTileSetDocument::AnnounceSetReplaced()
{
    emit SetReplaced();
}

namespace {

void SwapFileFields(TTileFile& a, TTileFile& b)
{
    std::swap(a.ScriptComment, b.ScriptComment);
    std::swap(a.ColorComment, b.ColorComment);
    std::swap(a.BorderHeader, b.BorderHeader);
    std::swap(a.TileHeader, b.TileHeader);
    std::swap(a.ColorMode, b.ColorMode);
    std::swap(a.FileName555, b.FileName555);
    std::swap(a.FileName565, b.FileName565);
}

} // namespace


void TTileSetDocument::SwapSet(TTileFile& other)
{
    if (&other == &FSet)
        return;
    // Only the element pointers move.
    TTileFile held;
    held.Clear();
    held.AppendElementsFrom(FSet);
    FSet.AppendElementsFrom(other);
    other.AppendElementsFrom(held);
    SwapFileFields(FSet, other);
    emit SetReplaced();
}

} // namespace kestrund
