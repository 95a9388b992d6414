#include "ElementStrip.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kestrund {

TElementStrip::TElementStrip(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    horizontalScrollBar()->setSingleStep(CellWidth);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void TElementStrip::SetCellPicture(TCellPicture picture)
{
    FPicture = std::move(picture);
    viewport()->update();
}

void TElementStrip::SetCount(int count)
{
    FCount = std::max(count, 0);
    if (FSelected >= FCount)
        FSelected = -1;
    UpdateScrollBar();
    viewport()->update();
}

void TElementStrip::SetSelected(int column)
{
    FSelected = column >= 0 && column < FCount ? column : -1;
    if (FSelected >= 0) {
        QScrollBar* bar = horizontalScrollBar();
        const int left = FSelected * CellWidth;
        if (left < bar->value())
            bar->setValue(left);
        else if (left + CellWidth > bar->value() + viewport()->width())
            bar->setValue(left + CellWidth - viewport()->width());
    }
    viewport()->update();
}

void TElementStrip::SetShowSelection(bool show)
{
    if (show == FShowSelection)
        return;
    FShowSelection = show;
    viewport()->update();
}

int TElementStrip::ColumnAt(const QPoint& point) const
{
    const int x = point.x() + horizontalScrollBar()->value();
    if (x < 0 || point.y() < 0 || point.y() >= CellHeight)
        return -1;
    const int column = x / CellWidth;
    return column < FCount ? column : -1;
}

QSize TElementStrip::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return {8 * CellWidth + frame, CellHeight + frame + horizontalScrollBar()->sizeHint().height()};
}

QSize TElementStrip::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return {2 * CellWidth + 2 * frameWidth(), hint.height()};
}

void TElementStrip::UpdateScrollBar()
{
    QScrollBar* bar = horizontalScrollBar();
    bar->setPageStep(std::max(viewport()->width(), 1));
    bar->setRange(0, std::max(0, FCount * CellWidth - viewport()->width()));
}

void TElementStrip::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
}

void TElementStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    if (!FPicture)
        return;
    const int offset = horizontalScrollBar()->value();
    const int first = offset / CellWidth;
    const int last = std::min(FCount - 1, (offset + viewport()->width()) / CellWidth);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int column = first; column <= last; ++column) {
        const bool highlighted = FShowSelection && column == FSelected;
        const QImage picture = FPicture(column, highlighted);
        const QRect cell(column * CellWidth - offset, 0, CellWidth, CellHeight);
        if (!picture.isNull())
            painter.drawImage(cell, picture);
        if (column == FSelected && hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
}

void TElementStrip::Choose(int column)
{
    if (column < 0 || column >= FCount)
        return;
    SetSelected(column);
    emit CellChosen(column);
}

void TElementStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Choose(ColumnAt(event->position().toPoint()));
    QAbstractScrollArea::mousePressEvent(event);
}

void TElementStrip::keyPressEvent(QKeyEvent* event)
{
    const int current = std::max(FSelected, 0);
    switch (event->key()) {
    case Qt::Key_Left: Choose(FSelected < 0 ? 0 : current - 1); break;
    case Qt::Key_Right: Choose(FSelected < 0 ? 0 : current + 1); break;
    case Qt::Key_Home: Choose(0); break;
    case Qt::Key_End: Choose(FCount - 1); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
}

} // namespace kestrund
