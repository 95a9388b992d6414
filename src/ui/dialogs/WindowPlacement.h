#pragma once
// Stored window placements applied to and read from top-level windows.

#include "MainSettings.h"

#include <exception>

class QWidget;

namespace kestrund {

// The screen size the centred defaults are computed for.
void PrimaryScreenSize(int& width, int& height);
// A window of the given size centred on the primary screen: the default of every window.
TWindowPlacement CentredOnPrimaryScreen(int width, int height);
// Sets the window's normal rectangle, then its state; a placement on a monitor that is gone
// comes back onto the primary screen.
void ApplyPlacement(QWidget& window, const TWindowPlacement& placement);
// The window's normal (restored) rectangle and its state, as stored.
TWindowPlacement CurrentPlacement(const QWidget& window);

// Runs a window's settings write from its destructor: a settings file that cannot be
// written must not stop the program from closing.
template <class Write>
void WriteSettingsOnClose(Write&& write) noexcept
{
    try {
        write();
    } catch (const std::exception&) {
    }
}

} // namespace kestrund
