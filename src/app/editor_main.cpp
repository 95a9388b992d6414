// kestrund [--ini PATH] [FILE.til]: the tile-set editor.

#include "EditorCommandLine.h"
#include "Help.h"
#include "IniFile.h"
#include "MainForm.h"
#include "ProgramPlaces.h"
#include "Prompts.h"
#include "RecoveryFiles.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    // Before Qt starts: Qt would take --help for its own and fail on a missing display with
    // a message about platform plugins.
#if defined(__linux__)
    constexpr bool needsDisplay = true;
#else
    constexpr bool needsDisplay = false;
#endif
    const std::string program = kestrund::RunningProgramPath(argv[0]);
    const kestrund::TProgramPlaces places = kestrund::FindProgramPlaces(program);
    const kestrund::TEditorCommandLine line = kestrund::ParseEditorCommandLine(
        std::vector<std::string>(argv + 1, argv + argc), [](const char* name) { return std::getenv(name); },
        needsDisplay, kestrund::ProgramPlacesText(places));
    if (!line.Run) {
        std::fputs(line.Out.c_str(), stdout);
        std::fputs(line.Err.c_str(), stderr);
        return line.ExitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrund");
    const std::string iniPath = kestrund::SettingsFilePath(QApplication::applicationFilePath().toStdString(),
                                                           line.IniPath, std::getenv("XDG_CONFIG_HOME"),
                                                           std::getenv("HOME"));
    kestrund::SetShippedHelpFolder(QString::fromStdString(places.HelpFolder));

    kestrund::TQtPrompts prompts(nullptr);
    kestrund::TMainForm form(prompts, iniPath, line.FileToOpen);
    prompts.SetParent(&form);
    prompts.CreateDialogs(iniPath);
    form.show();
    form.StartRecovery(kestrund::RecoveryFolder([](const char* name) { return std::getenv(name); }));
    return app.exec();
}
