#include "ControlBeep.h"

#include <QApplication>

#include <utility>

namespace kestrund {

namespace {
BeepHandler& currentHandler()
{
    static BeepHandler handler;
    return handler;
}
} // namespace

void ControlBeep()
{
    if (const BeepHandler& handler = currentHandler())
        handler();
    else
        QApplication::beep();
}

BeepHandler SetBeepHandler(BeepHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

} // namespace kestrund
