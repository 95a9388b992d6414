// recovery_child SET.til INI EXPECTED: an editor that changes the set it opened (In-Game colours,
// a tile added), writes the changed set's 5-6-5 bytes to EXPECTED, prints "written PID" once its
// recovery copy is on the disk and waits to be killed. Its data folder is XDG_DATA_HOME's.

#include "../ScriptedPrompts.h"
#include "MainForm.h"
#include "RecoveryFiles.h"

#include <QApplication>
#include <QTest>

using namespace kestrund;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::TScriptedPrompts prompts;
    TMainForm form(prompts, argv[2], argv[1]);
    const std::string folder = RecoveryFolder([](const char* name) { return std::getenv(name); });
    form.StartRecovery(folder);
    // Both changes before the event loop runs: they reach the first copy together.
    form.miInGameColorMode->trigger();
    prompts.EditAnswers.push_back([](const TElementEditRequest& request) {
        TElementEditResult result;
        result.Position = 1;
        result.Tile = std::make_unique<TTile>(0x3366CC, request.Set->ColorMode);
        return result;
    });
    form.AddItems[kTiles]->trigger();
    form.TileFile.SaveToFile(argv[3], cmRGB565);
    std::vector<std::string> ids;
    for (int tries = 0; ids.size() != 1 || !TRecoveryFiles(folder, ids[0]).ReadInfo(); ids = RecoveryIds(folder)) {
        if (++tries > 6000)
            return 1; // no copy within a minute
        QTest::qWait(10);
    }
    std::printf("written %lld\n", QCoreApplication::applicationPid());
    std::fflush(stdout);
    return app.exec();
}
