#pragma once
// The open tile set, and the only way the windows change its elements: each mutator
// changes the model, then says what changed, so that the panel, the view and the
// dialogs follow without being refreshed by hand.

#include "TileFile.h"

#include <QObject>
#include <QUndoStack>

#include <memory>
#include <variant>

namespace kestrund {

// Element kinds in the order of the left panel.
enum TKind { kTiles, kBorders, kRivers, kImprovements, kRules, kVariationRules, KindCount };

// One element of any kind, owned; the alternative's index is its TKind.
using TElement = std::variant<std::unique_ptr<TTile>, std::unique_ptr<TTileBorder>, std::unique_ptr<TRiver>,
                              std::unique_ptr<TTileImprovement>, std::unique_ptr<TTileRule>,
                              std::unique_ptr<TVariationRule>>;

class TTileSetDocument : public QObject {
    Q_OBJECT
public:
    explicit TTileSetDocument(QObject* parent = nullptr);

    // Whole-set work (open, import, new) goes through Set() and ends with SetReplaced().
    TTileFile& Set() { return FSet; }
    const TTileFile& Set() const { return FSet; }
    std::size_t Count(int kind) const;

    // Insert puts the element before index i (i = count appends); Take removes and returns
    // it; Replace puts element in the place of the one at i and returns that one.
    void Insert(int kind, std::size_t i, TElement element);
    TElement Take(int kind, std::size_t i);
    TElement Replace(int kind, std::size_t i, TElement element);
    void AnnounceSetReplaced();

    // Exchanges the set's elements and file fields with other's by moving them (the view's
    // transparent and shadow colours stay), then announces SetReplaced.
    void SwapSet(TTileFile& other);

    // The edits made through commands, for undoing them.
    QUndoStack& UndoStack() { return FUndoStack; }
    // Modified exactly when the history is away from its clean (saved or fresh) state.
    bool Modified() const { return !FUndoStack.isClean(); }
    // Open, New and a replacing Import: the earlier edits no longer apply.
    void StartHistory() { FUndoStack.clear(); }

signals:
    void ElementsMoved(int kind);                // an element was inserted or removed
    void ElementChanged(int kind, std::size_t i); // the element at i was replaced
    void SetReplaced();

private:
    TTileFile FSet;
    QUndoStack FUndoStack;
};

} // namespace kestrund
