#pragma once
// pVariationRule: five rows of combo boxes (tile index, direction, tile ID) for the first five
// entries of a variation rule, kept in step with the text area that holds every entry as a line.
// The rows and the preview show the working copy; OK stores the text.

#include "VariationRule.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class QComboBox;
class QPlainTextEdit;

namespace kestrund {

class TTileFile;

class TVariationRuleEditor : public QWidget {
    Q_OBJECT
public:
    static constexpr int RowCount = 5;

    // text is the text area mVariationRule, owned by the dialog.
    TVariationRuleEditor(QPlainTextEdit* text, QWidget* parent = nullptr);

    // Where the index lists, tile IDs and tile picks come from; may be none.
    void SetTileSet(const TTileFile* set) { FSet = set; }

    // The rule to edit: the working copy is made always; with reload the rows and the text are
    // filled from it as well.
    void Load(const TVariationRule& rule, bool reload);
    // The text's lines as the target's entries, one per line, blank lines included.
    void Apply(TVariationRule& target) const;
    // The text to the rows: blank lines dropped, the working copy read from the rest.
    void UpdateFromText();
    // A tile picked in the strip goes into the row that last had the focus.
    void PickTile(std::uint16_t tileID);

    TVariationRule& WorkingRule() { return FWorking; }
    const TVariationRule& WorkingRule() const { return FWorking; }
    int FocusedRow() const { return FFocusedRow; }

signals:
    // The working copy changed; the preview shows it.
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TRow {
        QComboBox* Index = nullptr;
        QComboBox* Dir = nullptr;
        QComboBox* TileID = nullptr;
    };

    void RefreshRows();
    void IndexBehaviour(int row, int index);
    // Rewrites the row's entry and line from its combos and carries on with the rows below.
    // Only the row's own index choice of "Non" cuts the rule there; reached from above, a row
    // showing "Non" ends the chain and leaves the entries it cannot show alone.
    void RowChange(int row, bool ownIndexChoice);
    int ShownIndex(int row) const;
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);

    QPlainTextEdit* FText;
    const TTileFile* FSet = nullptr;
    TVariationRule FWorking;
    std::vector<std::uint32_t> FLoadedSteps;
    int FFocusedRow = -1;
    std::array<TRow, RowCount> FRows;
};

} // namespace kestrund
