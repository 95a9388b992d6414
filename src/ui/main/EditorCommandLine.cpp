#include "EditorCommandLine.h"

#include "Version.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrund {

namespace {

// Qt's own options (QGuiApplication, QApplication and the X11 platform), with one or two
// dashes; QApplication takes them out of the command line itself.
constexpr std::array<std::string_view, 14> QtOptionsWithValue = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session",  "style",              "stylesheet",    "display", "geometry",      "name",        "title"};
constexpr std::array<std::string_view, 6> QtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync",
                                                     "qmljsdebugger"};

bool Contains(const auto& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEditorCommandLine Exit(int code, std::string out, std::string err)
{
    TEditorCommandLine line;
    line.Run = false;
    line.ExitCode = code;
    line.Out = std::move(out);
    line.Err = std::move(err);
    return line;
}

TEditorCommandLine UsageError(const std::string& what)
{
    return Exit(2, {}, "kestrund: " + what + "\n" + EditorUsage());
}

bool Set(const char* value)
{
    return value && *value;
}

} // namespace

std::string EditorUsage()
{
    return "Usage: kestrund [--ini PATH] [FILE.til]\n"
           "       kestrund --help | --version\n"
           "\n"
           "The tile-set editor; it opens FILE.til when one is given.\n"
           "\n"
           "  --ini PATH   the settings file (default: $XDG_CONFIG_HOME/Kestrund/Kestrund.ini,\n"
           "               ~/.config when unset; kestrund.ini beside a program that is not\n"
           "               installed, when its folder is writable)\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n"
           "  --           end of options: the next argument is the file\n"
           "\n"
           "Environment:\n"
           "  KESTRUND_INI      the settings file, when --ini is not given\n"
           "  QT_QPA_PLATFORM   Qt's platform; 'offscreen' runs without a display\n"
           "\n"
           "Qt's own options (-platform NAME, -style NAME, ...) are passed on to Qt.\n";
}

TEditorCommandLine ParseEditorCommandLine(const std::vector<std::string>& args, const TEnvironment& env,
                                          bool needsDisplay, const std::string& helpEnd)
{
    TEditorCommandLine line;
    if (const char* ini = env("KESTRUND_INI"))
        line.IniPath = ini;
    bool platformChosen = Set(env("QT_QPA_PLATFORM"));
    bool options = true;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options = false;
            continue;
        }
        if (arg == "--help" || arg == "-h")
            return Exit(0, EditorUsage() + helpEnd, {});
        if (arg == "--version")
            return Exit(0, std::string("kestrund ") + kProductVersion + "\n", {});
        if (arg == "--ini" || arg.starts_with("--ini=")) {
            if (arg.size() > 6)
                line.IniPath = arg.substr(6);
            else if (i + 1 < args.size())
                line.IniPath = args[++i];
            else
                return UsageError("--ini needs a path");
            continue;
        }
        const std::string_view bare = std::string_view(arg).substr(arg[1] == '-' ? 2 : 1);
        const std::string_view name = bare.substr(0, bare.find('='));
        if (Contains(QtOptionsWithValue, name)) {
            if (name == bare && ++i >= args.size())
                return UsageError(arg + " needs a value");
            platformChosen = platformChosen || name == "platform";
            continue;
        }
        if (Contains(QtFlags, name))
            continue;
        return UsageError("unknown option '" + arg + "'");
    }
    if (files.size() > 1)
        return UsageError("one file at a time, not " + std::to_string(files.size()));
    if (!files.empty())
        line.FileToOpen = files.front();
    if (needsDisplay && !platformChosen && !Set(env("DISPLAY")) && !Set(env("WAYLAND_DISPLAY")))
        return Exit(1, {},
                    "kestrund: no display to open the window on: set DISPLAY, or QT_QPA_PLATFORM=offscreen for "
                    "headless use\n");
    return line;
}

} // namespace kestrund
