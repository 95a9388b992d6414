#include "ColorMenu.h"

#include <QColorDialog>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

#include <vector>

namespace kestrund {

namespace {

struct MenuColor {
    const char* name;
    TColor color;
};

constexpr MenuColor menuColors[ColorMenu::ColorItemCount] = {
    {"Black", clBlack}, {"Maroon", clMaroon}, {"Green", clGreen},   {"Olive", clOlive},
    {"Navy", clNavy},   {"Purple", clPurple}, {"Teal", clTeal},     {"Gray", clGray},
    {"Silver", clSilver}, {"Red", clRed},     {"Lime", clLime},     {"Yellow", clYellow},
    {"Blue", clBlue},   {"Fuchsia", clFuchsia}, {"Aqua", clAqua},   {"White", clWhite},
    {"Custom", clGray}, {"System", clBtnFace},
};

// Widens the menu's items to make room for the swatch left of the caption.
class WideMenuItemStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override
    {
        QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        if (type == CT_MenuItem) {
            const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            if (item && item->menuItemType != QStyleOptionMenuItem::Separator)
                size.rwidth() += ColorMenu::ExtraItemWidth;
        }
        return size;
    }
};

std::optional<TColor> StandardColorChooser(TColor initial, QWidget* parent)
{
    const QColor chosen = QColorDialog::getColor(ColorToQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return QColorToColor(chosen);
}

} // namespace

ColorMenu::ColorMenu(QWidget* parent)
    : QMenu(parent)
{
    auto* itemStyle = new WideMenuItemStyle();
    itemStyle->setParent(this);
    setStyle(itemStyle);

    for (int i = 0; i < ColorItemCount; ++i) {
        if (i == CustomItem)
            addSeparator();
        QAction* item = addAction(QString::fromLatin1(menuColors[i].name));
        item->setObjectName(QStringLiteral("pi") + item->text());
        item->setData(QVariant::fromValue<quint32>(menuColors[i].color));
        colorItems_.append(item);
    }
    connect(this, &QMenu::triggered, this, &ColorMenu::ItemTriggered);
}

QAction* ColorMenu::ColorItem(int index) const
{
    return colorItems_.value(index, nullptr);
}

TColor ColorMenu::ItemColor(const QAction* item)
{
    return item->data().value<quint32>();
}

void ColorMenu::SetColorChooser(TColorChooser chooser)
{
    chooser_ = std::move(chooser);
}

void ColorMenu::ItemTriggered(QAction* item)
{
    const int index = int(colorItems_.indexOf(item));
    if (index < 0)
        return;
    if (index == CustomItem) {
        const std::optional<TColor> chosen
            = chooser_ ? chooser_(ItemColor(item), parentWidget()) : StandardColorChooser(ItemColor(item), parentWidget());
        if (!chosen)
            return;
        item->setData(QVariant::fromValue<quint32>(*chosen));
    }
    emit ColorChosen(ItemColor(item));
}

void ColorMenu::DrawColorItem(QPainter& painter, QAction* item, const QRect& rect) const
{
    const bool selected = activeAction() == item && item->isEnabled();
    const QRect fill(rect.left(), rect.top() + 1, rect.width(), rect.height() - 1);
    painter.fillRect(fill, palette().color(selected ? QPalette::Highlight : QPalette::Button));

    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
    painter.setFont(font());
    painter.drawText(QRect(rect.left() + 38, rect.top() + 2, rect.width() - 38, rect.height() - 2),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item->text());

    // Right and bottom edges excluded: the last column is x = 34, the last row bottom - 3
    // counted from the first row below the item.
    const QRect swatch(QPoint(rect.left() + 2, rect.top() + 3), QPoint(rect.left() + 34, rect.bottom() - 2));
    painter.setPen(Qt::black);
    painter.setBrush(ColorToQColor(ItemColor(item), palette()));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void ColorMenu::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    QStyleOptionMenuItem panel;
    panel.initFrom(this);
    panel.state = QStyle::State_None;
    panel.checkType = QStyleOptionMenuItem::NotCheckable;
    panel.maxIconWidth = 0;
    panel.reservedShortcutWidth = 0;
    style()->drawPrimitive(QStyle::PE_PanelMenu, &panel, &painter, this);

    for (QAction* action : actions()) {
        const QRect rect = actionGeometry(action);
        if (!action->isVisible() || !event->rect().intersects(rect))
            continue;
        if (action->isSeparator()) {
            QStyleOptionMenuItem option;
            initStyleOption(&option, action);
            option.rect = rect;
            style()->drawControl(QStyle::CE_MenuItem, &option, &painter, this);
        } else {
            painter.save();
            DrawColorItem(painter, action, rect);
            painter.restore();
        }
    }

    const int frameWidth = style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
    if (frameWidth > 0) {
        QStyleOptionFrame frame;
        frame.rect = rect();
        frame.palette = palette();
        frame.state = QStyle::State_None;
        frame.lineWidth = frameWidth;
        frame.midLineWidth = 0;
        style()->drawPrimitive(QStyle::PE_FrameMenu, &frame, &painter, this);
    }
}

QImage ColorSwatchGlyph(const QImage& glyph, TColor color, const QPalette& palette)
{
    QImage image = glyph.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return image;

    // The region that has the top-left pixel's colour is the glyph's background. A key colour
    // (olive, or lime for olive itself) would mark it for a button that drops its key colour;
    // Qt draws every colour it is given, so the key showed as a ring round the square. The
    // region becomes transparent instead.
    const QRgb target = image.pixel(0, 0);
    const QRgb clear = qRgba(0, 0, 0, 0);
    if (target != clear) {
        std::vector<QPoint> pending{QPoint(0, 0)};
        while (!pending.empty()) {
            const QPoint p = pending.back();
            pending.pop_back();
            if (!image.valid(p) || image.pixel(p) != target)
                continue;
            image.setPixel(p, clear);
            pending.insert(pending.end(), {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
        }
    }

    QPainter painter(&image);
    painter.fillRect(QRect(QPoint(2, 2), QPoint(21, 12)), ColorToQColor(color, palette));
    return image;
}

QImage BlankSwatchGlyph()
{
    QImage glyph(24, 15, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setPen(Qt::black);
    painter.drawRect(1, 1, 21, 12);
    return glyph;
}

} // namespace kestrund
