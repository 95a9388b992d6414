// A killed editor's unsaved changes: offered at the next start, recovered exactly, discarded
// or kept for later; a running editor's copy is left alone.

#include "FileUtil.h"
#include "MainFormFixture.h"
#include "RecoveryFiles.h"

#include <csignal>

using namespace kestrund;
using namespace kestrund::testing;
namespace fs = std::filesystem;

TEST_F(MainForm, AKilledEditorsChangesAreRecoveredDiscardedOrKeptForLater)
{
    const std::string data = Dir / "data", folder = Dir / "data/Kestrund/recovery", kept = Dir / "kept";
    std::FILE* child = ::popen(("XDG_DATA_HOME='" + data + "' exec " KESTRUND_RECOVERY_CHILD " '" + Rich + "' '" +
                                Dir / "child.ini" + "' '" + Dir / "expected.til" + "'")
                                   .c_str(),
                               "r");
    ASSERT_TRUE(child);
    char line[64] = "";
    long pid = 0;
    ASSERT_TRUE(std::fgets(line, sizeof line, child) && std::sscanf(line, "written %ld", &pid) == 1) << line;
    // A second editor while the first runs: no question, and its copy stays.
    Open()->StartRecovery(folder);
    EXPECT_EQ(Prompts.RecoveryQuestions.size(), 0u);
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    ::pclose(child);
    ASSERT_EQ(RecoveryIds(folder).size(), 1u);
    fs::copy(folder, kept, fs::copy_options::recursive);

    const auto expected = ReadWholeFile(Dir / "expected.til");
    const struct { TRecoveryChoice Answer; bool Recovered, Kept; } rows[] = {
        {TRecoveryChoice::Later, false, true},
        {TRecoveryChoice::Discard, false, false},
        {TRecoveryChoice::Recover, true, true},
    };
    for (const auto& row : rows) {
        fs::remove_all(folder);
        fs::copy(kept, folder, fs::copy_options::recursive);
        Prompts.RecoveryQuestions.clear();
        Prompts.RecoveryAnswers = {row.Answer};
        auto form = Open();
        form->StartRecovery(folder);
        ASSERT_EQ(Prompts.RecoveryQuestions.size(), 1u);
        EXPECT_TRUE(QRegularExpression("^Kestrund did not close properly\\. Recover the unsaved changes to rich\\.til "
                                       "from \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d\\?$")
                        .match(QString::fromStdString(Prompts.RecoveryQuestions[0]))
                        .hasMatch())
            << Prompts.RecoveryQuestions[0];
        EXPECT_EQ(form->TileFile.SaveToMemory(cmRGB565) == expected, row.Recovered);
        EXPECT_EQ(form->Document.Modified(), row.Recovered);
        EXPECT_EQ(form->miInGameColorMode->isChecked(), row.Recovered);
        EXPECT_EQ(form->windowTitle(), row.Recovered ? "Kestrund - rich.til *" : "Kestrund");
        // The copy left by the killed run stays exactly when it is kept for later or is now this run's.
        const auto ids = RecoveryIds(folder);
        EXPECT_EQ(std::count(ids.begin(), ids.end(), RecoveryIds(kept)[0]), row.Kept ? 1 : 0);
        form.reset();
        Prompts.RecoveryQuestions.clear();
        Open()->StartRecovery(folder); // a clean exit leaves nothing to recover but what was kept for later
        EXPECT_EQ(Prompts.RecoveryQuestions.size(), row.Answer == TRecoveryChoice::Later ? 1u : 0u);
    }
}

TEST_F(MainForm, TheCopyFollowsAChangeAtMostOnceAnIntervalAndGoesWhenTheSetIsSavedOrUndone)
{
    const std::string folder = Dir / "recovery";
    auto form = Open(Rich);
    form->StartRecovery(folder, 1000);
    const auto copies = [&] {
        const auto ids = RecoveryIds(folder);
        return std::count_if(ids.begin(), ids.end(), [&](auto& id) { return !!TRecoveryFiles(folder, id).ReadInfo(); });
    };
    QElapsedTimer clock;
    clock.start();
    form->miInGameColorMode->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return copies() == 1; }, 5000));
    EXPECT_LT(clock.elapsed(), 1000); // the first change is written at once
    form->miEditUndo->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return copies() == 0; }, 5000));
    form->miEditRedo->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return copies() == 1; }, 5000));
    EXPECT_GE(clock.elapsed(), 1000); // not before the interval is over
    Run(*form, &TMainForm::miFileSaveTileFileClick, {Dir / "a.til", Dir / "b.til"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return copies() == 0; }, 5000));
}
