#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kestrund {

void PrimaryScreenSize(int& width, int& height)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        width = screen->geometry().width();
        height = screen->geometry().height();
    }
}

TWindowPlacement CentredOnPrimaryScreen(int width, int height)
{
    int screenWidth = 1024, screenHeight = 768;
    PrimaryScreenSize(screenWidth, screenHeight);
    return CentredPlacement(screenWidth, screenHeight, width, height);
}

void ApplyPlacement(QWidget& window, const TWindowPlacement& placement)
{
    std::vector<TScreenArea> screens;
    const QScreen* primaryScreen = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        const TScreenArea s{area.left(), area.top(), area.width(), area.height()};
        screens.insert(screen == primaryScreen ? screens.begin() : screens.end(), s);
    }
    const TWindowPlacement p = PlacedOnScreens(placement, screens);
    window.setGeometry(static_cast<int>(p.Left), static_cast<int>(p.Top), static_cast<int>(p.Width),
                       static_cast<int>(p.Height));
    if (p.State == 2)
        window.setWindowState(Qt::WindowMaximized);
    else if (p.State == 1)
        window.setWindowState(Qt::WindowMinimized);
}

TWindowPlacement CurrentPlacement(const QWidget& window)
{
    const QRect normal = window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
    return {normal.left(), normal.top(), normal.width(), normal.height(),
            window.isMinimized() ? 1 : window.isMaximized() ? 2 : 0};
}

} // namespace kestrund
