// A killed editor's unsaved changes: offered at the next start, recovered exactly, discarded or
// kept for later; a running editor's copy is left alone; the copy follows the changes.

#include "FileUtil.h"
#include "MainFormFixture.h"
#include "RecoveryFiles.h"

#include <csignal>

using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

// The complete copies in folder.
static long Copies(const std::string& folder)
{
    const auto ids = RecoveryIds(folder);
    return std::count_if(ids.begin(), ids.end(), [&](auto& id) { return !!TRecoveryFiles(folder, id).ReadInfo(); });
}

TEST_F(MainForm, AKilledEditorsChangesAreRecoveredDiscardedOrKeptForLater)
{
    const std::string folder = Dir / "data/Kestrund/recovery", kept = Dir / "kept";
    std::FILE* child = ::popen(("XDG_DATA_HOME=" + Dir / "data" + " exec " KESTRUND_RECOVERY_CHILD " " + Rich + " " +
                                Dir / "child.ini " + Dir / "expected.til").c_str(), "r");
    long pid = 0;
    ASSERT_EQ(std::fscanf(child, "written %ld", &pid), 1);
    Open()->StartRecovery(folder); // a second editor while the first runs: no question
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    ::pclose(child);
    fs::copy(folder, kept, fs::copy_options::recursive);
    const QRegularExpression question("^Kestrund did not close properly\\. Recover the unsaved changes to rich\\.til "
                                      "from \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d\\?$");
    for (const auto answer : {TRecoveryChoice::Later, TRecoveryChoice::Discard, TRecoveryChoice::Recover}) {
        fs::remove_all(folder);
        fs::copy(kept, folder, fs::copy_options::recursive);
        Prompts.RecoveryAnswers = {answer};
        auto form = Open();
        form->StartRecovery(folder);
        const bool recovered = answer == TRecoveryChoice::Recover;
        EXPECT_EQ(form->TileFile.SaveToMemory(cmRGB565) == ReadWholeFile(Dir / "expected.til"), recovered);
        EXPECT_EQ(form->windowTitle(), recovered ? "Kestrund - rich.til *" : "Kestrund");
        EXPECT_EQ(fs::exists(fs::path(folder) / RecoveryIds(kept)[0]), answer != TRecoveryChoice::Discard);
        form.reset(); // a clean exit: only the copy kept for later is offered again
        Open()->StartRecovery(folder);
        ASSERT_EQ(Prompts.RecoveryQuestions.size(), answer == TRecoveryChoice::Later ? 2u : 1u);
        for (const std::string& asked : Prompts.RecoveryQuestions)
            EXPECT_TRUE(question.match(QString::fromStdString(asked)).hasMatch()) << asked;
        Prompts.RecoveryQuestions.clear();
    }
}

TEST_F(MainForm, TheCopyFollowsAChangeAtMostOnceAnIntervalAndGoesWhenTheChangesAreUndone)
{
    auto form = Open(Rich);
    form->StartRecovery(Dir / "r", 1000);
    QElapsedTimer clock;
    clock.start();
    const auto copies = [&](long n) { return QTest::qWaitFor([&] { return Copies(Dir / "r") == n; }, 5000); };
    form->miInGameColorMode->trigger();
    EXPECT_TRUE(copies(1) && clock.elapsed() < 1000); // the first change is written at once
    form->miEditUndo->trigger();
    EXPECT_TRUE(copies(0));
    form->miEditRedo->trigger();
    EXPECT_TRUE(copies(1) && clock.elapsed() >= 1000); // not before the interval is over
}
