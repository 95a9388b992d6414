#pragma once
// The editor's command line: kestrund [--ini PATH] [FILE.til], --help, --version, and Qt's own
// options passed through; read before the GUI starts, so that help, usage errors and a
// missing display are reported in plain words.

#include <functional>
#include <string>
#include <vector>

namespace kestrund {

struct TEditorCommandLine {
    bool Run = true;  // false: print Out and Err and exit with ExitCode
    int ExitCode = 0; // 0 help or version, 2 usage error, 1 no display
    std::string Out, Err;
    std::string IniPath; // --ini, else KESTRUND_INI, else empty
    std::string FileToOpen;
};

// An environment variable's value, or null.
using TEnvironment = std::function<const char*(const char*)>;

// args without the program name. needsDisplay: the platform shows windows only on a display
// named in the environment (X11 or Wayland), unless a Qt platform is chosen. helpEnd ends the
// text of --help (where the demo set and help pages are).
TEditorCommandLine ParseEditorCommandLine(const std::vector<std::string>& args, const TEnvironment& env,
                                          bool needsDisplay, const std::string& helpEnd = {});

std::string EditorUsage();

} // namespace kestrund
