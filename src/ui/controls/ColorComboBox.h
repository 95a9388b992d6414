#pragma once
// A drop-down list of the sixteen named colours, a custom colour and the button-face system
// colour, each drawn as a filled box with its name in bold.

#include "SystemColors.h"

#include <QComboBox>

namespace kestrund {

class TColorComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(quint32 CustomColor READ CustomColor WRITE SetCustomColor)
    Q_PROPERTY(quint32 SelColor READ SelColor WRITE SetSelColor)

public:
    static constexpr int NamedItemCount = 16;
    static constexpr int CustomItem = 16;
    static constexpr int SystemItem = 17;
    static constexpr int ItemCount = 18;

    explicit TColorComboBox(QWidget* parent = nullptr);

    // Held for any colour that has no item of its own; shown on "Custom".
    TColor CustomColor() const { return customColor_; }
    void SetCustomColor(TColor color);

    // The colour of the selected item; CustomColor when nothing is selected. Writing selects
    // the named item or "System" for their exact values, anything else becomes the custom colour.
    TColor SelColor() const;
    void SetSelColor(TColor color);

    // Fill and text colour of item index as drawn when enabled. The custom item's text is the
    // inverse of its colour, or black or white where the inverse would not stand out.
    TColor ItemColor(int index) const;
    TColor ItemTextColor(int index) const;

    // Draws item index into rect: background (highlighted when selected), then the outlined
    // colour box with the bold name on it; silver with grey text when the box is disabled.
    void DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const;

    // Fixed height of every item.
    int ItemHeight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int WidthForNames() const;

    TColor customColor_ = clGray;
};

} // namespace kestrund
