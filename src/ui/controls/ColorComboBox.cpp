#include "ColorComboBox.h"

#include <QAbstractItemDelegate>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kestrund {

namespace {

struct NamedColor {
    TColor color;
    TColor text;
};

constexpr std::array<NamedColor, TColorComboBox::NamedItemCount> namedColors{{
    {clBlack, clWhite},  {clMaroon, clWhite}, {clGreen, clWhite},   {clOlive, clWhite},
    {clNavy, clWhite},   {clPurple, clWhite}, {clTeal, clWhite},    {clGray, clWhite},
    {clSilver, clBlack}, {clRed, clWhite},    {clLime, clBlack},    {clYellow, clBlack},
    {clBlue, clWhite},   {clFuchsia, clBlack}, {clAqua, clBlack},   {clWhite, clBlack},
}};

const char* const itemNames = "Black,Maroon,Green,Olive,Navy,Purple,Teal,Gray,Silver,Red,Lime,Yellow,"
                              "Blue,Fuchsia,Aqua,White,Custom,System";

// Draws the popup list's rows the same way as the closed box.
class ColorItemDelegate final : public QAbstractItemDelegate {
public:
    explicit ColorItemDelegate(TColorComboBox* combo)
        : QAbstractItemDelegate(combo)
        , combo_(combo)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        combo_->DrawItem(*painter, index.row(), option.rect, option.state & QStyle::State_Selected);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), combo_->ItemHeight()};
    }

private:
    TColorComboBox* combo_;
};

} // namespace

TColorComboBox::TColorComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setItemDelegate(new ColorItemDelegate(this));
    setMaxVisibleItems(ItemCount);
    addItems(QString::fromLatin1(itemNames).split(u','));
    // The box starts without a selection (blue is chosen before the names exist, so it finds
    // no item); the windows set SelColor before showing it.
    setCurrentIndex(-1);
}

void TColorComboBox::SetCustomColor(TColor color)
{
    customColor_ = color;
    update();
}

TColor TColorComboBox::ItemColor(int index) const
{
    if (index >= 0 && index < NamedItemCount)
        return namedColors[std::size_t(index)].color;
    if (index == SystemItem)
        return clBtnFace;
    return customColor_;
}

TColor TColorComboBox::ItemTextColor(int index) const
{
    if (index >= 0 && index < NamedItemCount)
        return namedColors[std::size_t(index)].text;
    if (index == SystemItem)
        return clBtnText;
    // The inverse colour, unless it is too close to the colour itself (the mid greys, the
    // default custom colour among them), where the name would vanish.
    const TColor rgb = QColorToColor(ColorToQColor(customColor_, palette()));
    const TColor inverse = rgb ^ 0xFFFFFF;
    bool distinct = false;
    for (int shift = 0; shift < 24; shift += 8) {
        const int channel = int((rgb >> shift) & 0xFF);
        distinct = distinct || std::abs(2 * channel - 255) >= 0x40;
    }
    if (distinct)
        return inverse;
    return qGray(ColorToQColor(rgb).rgb()) >= 128 ? clBlack : clWhite;
}

TColor TColorComboBox::SelColor() const
{
    return ItemColor(currentIndex());
}

void TColorComboBox::SetSelColor(TColor color)
{
    int index = CustomItem;
    const auto named = std::find_if(namedColors.begin(), namedColors.end(),
                                    [color](const NamedColor& entry) { return entry.color == color; });
    if (named != namedColors.end())
        index = int(named - namedColors.begin());
    else if (color == clBtnFace)
        index = SystemItem;
    else
        customColor_ = color;
    setCurrentIndex(index);
    update();
}

int TColorComboBox::ItemHeight() const
{
    QFont bold = font();
    bold.setBold(true);
    return std::max(16, QFontMetrics(bold).height() + 4);
}

void TColorComboBox::DrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const
{
    painter.save();
    painter.fillRect(rect, palette().color(selected ? QPalette::Highlight : QPalette::Base));
    if (index >= 0 && index < count()) {
        QColor fill(0xC0, 0xC0, 0xC0);
        QColor ink(0x80, 0x80, 0x80);
        if (isEnabled()) {
            fill = ColorToQColor(ItemColor(index), palette());
            ink = ColorToQColor(ItemTextColor(index), palette());
        }
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(Qt::black);
        painter.setBrush(fill);
        painter.setRenderHint(QPainter::Antialiasing, false);
        // Outline and fill one pixel inside the item; drawRect's outline covers its right and
        // bottom edges as well, hence the extra pixel taken off.
        const QRect box(QPoint(rect.left() + 1, rect.top() + 1), QPoint(rect.right() - 1, rect.bottom() - 1));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setClipRect(rect.adjusted(2, 2, -2, -2));
        painter.setPen(ink);
        const QRect textArea(rect.left() + 4, rect.top() + 2, rect.width(), rect.height());
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, itemText(index));
    }
    painter.restore();
}

void TColorComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DrawItem(painter, currentIndex(), field, hasFocus());
}

int TColorComboBox::WidthForNames() const
{
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    return widest + 8;
}

QSize TColorComboBox::sizeHint() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    QSize size = style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                           QSize(WidthForNames(), ItemHeight()), this);
    return size.expandedTo(QComboBox::sizeHint());
}

QSize TColorComboBox::minimumSizeHint() const
{
    return sizeHint();
}

} // namespace kestrund
