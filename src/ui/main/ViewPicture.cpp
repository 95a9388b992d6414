#include "ViewPicture.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace kestrund {

TTileViewWidget::TTileViewWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TTileViewWidget::SetPicture(const QImage* picture)
{
    FPicture = picture;
    UpdateSize();
}

void TTileViewWidget::SetZoom(int zoom)
{
    FZoom = std::clamp(zoom, 1, 8);
    UpdateSize();
}

QSize TTileViewWidget::sizeHint() const
{
    return FPicture ? FPicture->size() * FZoom : QSize(0, 0);
}

void TTileViewWidget::UpdateSize()
{
    setFixedSize(sizeHint());
    update();
}

void TTileViewWidget::paintEvent(QPaintEvent* event)
{
    if (!FPicture || FPicture->isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Only the exposed part is scaled, from the matching source pixels.
    const QRect exposed = event->rect().intersected(rect());
    const int z = FZoom;
    const QRect source(exposed.left() / z, exposed.top() / z, exposed.right() / z - exposed.left() / z + 1,
                       exposed.bottom() / z - exposed.top() / z + 1);
    const QRect target(source.left() * z, source.top() * z, source.width() * z, source.height() * z);
    painter.drawImage(target, *FPicture, source);
}

} // namespace kestrund
