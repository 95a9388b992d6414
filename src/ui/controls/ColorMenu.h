#pragma once
// The colour pop-up menu of the colour buttons: sixteen named colours, "Custom" (through the
// colour chooser) and "System", each drawn with a swatch of its colour.

#include "SystemColors.h"

#include <QImage>
#include <QMenu>

#include <functional>
#include <optional>

namespace kestrund {

class ColorMenu : public QMenu {
    Q_OBJECT

public:
    static constexpr int NamedItemCount = 16;
    static constexpr int CustomItem = 16;
    static constexpr int SystemItem = 17;
    static constexpr int ColorItemCount = 18;
    // Extra width of every item beyond what the style measures, room for the swatch.
    static constexpr int ExtraItemWidth = 60;

    // Asks the user for a colour, starting at initial; nothing when cancelled.
    using TColorChooser = std::function<std::optional<TColor>(TColor initial, QWidget* parent)>;

    explicit ColorMenu(QWidget* parent = nullptr);

    // The colour items in menu order: 0..15 named, CustomItem, SystemItem (the separator
    // before "Custom" is not counted).
    QAction* ColorItem(int index) const;
    static TColor ItemColor(const QAction* item);

    // Replaces the colour chooser; an empty one restores the standard colour dialog.
    void SetColorChooser(TColorChooser chooser);

signals:
    // The user chose an item; for "Custom" only when the chooser was confirmed.
    void ColorChosen(kestrund::TColor color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ItemTriggered(QAction* item);
    void DrawColorItem(QPainter& painter, QAction* item, const QRect& rect) const;

    QList<QAction*> colorItems_;
    TColorChooser chooser_;
};

// The glyph of a colour button showing colour: the area connected to the top-left pixel turns
// transparent and the rectangle (2, 2)-(22, 13), right and bottom edges excluded, takes the
// colour.
QImage ColorSwatchGlyph(const QImage& glyph, TColor color, const QPalette& palette);
// The glyph a colour button starts from: a black frame on a transparent 24 x 15 picture.
QImage BlankSwatchGlyph();

} // namespace kestrund
