// kestrund [--ini PATH] [FILE.til]: the tile-set editor.

#include "IniFile.h"
#include "MainForm.h"
#include "Prompts.h"

#include <QApplication>
#include <QStringList>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrund");

    std::string iniPath;
    if (const char* env = std::getenv("KESTRUND_INI"))
        iniPath = env;
    std::string fileToOpen;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--ini" && i + 1 < args.size())
            iniPath = args[++i].toStdString();
        else if (fileToOpen.empty())
            fileToOpen = args[i].toStdString();
    }
    iniPath = kestrund::SettingsFilePath(QApplication::applicationFilePath().toStdString(), iniPath,
                                         std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));

    kestrund::TQtPrompts prompts(nullptr);
    kestrund::TMainForm form(prompts, iniPath, fileToOpen);
    prompts.SetParent(&form);
    form.show();
    return app.exec();
}
