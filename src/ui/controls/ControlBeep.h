#pragma once
// The short warning sound of the controls (refused key, step on a read-only field). Goes
// through one replaceable function so that tests can count the beeps.

#include <functional>

namespace kestrund {

using BeepHandler = std::function<void()>;

void ControlBeep();

// Installs a new handler (an empty one restores the system beep) and returns the previous one.
BeepHandler SetBeepHandler(BeepHandler handler);

} // namespace kestrund
