#pragma once
// The composed view as a Qt image, and the paint box that shows it zoomed.

#include "Pixel.h"

#include <QImage>
#include <QWidget>

namespace kestrund {

// A drawing surface over a 32-bit Qt image.
class TQImageSurface : public TSurface {
public:
    explicit TQImageSurface(QImage& image) : FImage(image) {}
    int Width() const override { return FImage.width(); }
    int Height() const override { return FImage.height(); }

protected:
    TColor DoGetPixel(int x, int y) const override
    {
        const QRgb p = reinterpret_cast<const QRgb*>(FImage.constScanLine(y))[x];
        return static_cast<TColor>(qRed(p)) | static_cast<TColor>(qGreen(p)) << 8 |
               static_cast<TColor>(qBlue(p)) << 16;
    }
    void DoSetPixel(int x, int y, TColor c) override
    {
        reinterpret_cast<QRgb*>(FImage.scanLine(y))[x] = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    }

private:
    QImage& FImage;
};

// pbTile: the view picture stretched by the zoom factor, every pixel a solid block.
class TTileViewWidget : public QWidget {
    Q_OBJECT
public:
    explicit TTileViewWidget(QWidget* parent = nullptr);
    void SetPicture(const QImage* picture);
    void SetZoom(int zoom);
    int Zoom() const { return FZoom; }
    // Sizes the widget to the picture's size times the zoom.
    void UpdateSize();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* FPicture = nullptr;
    int FZoom = 1;
};

} // namespace kestrund
