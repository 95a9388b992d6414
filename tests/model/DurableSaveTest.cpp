// A save killed at any moment leaves the old or the new file, never a mix, and the next save
// removes what the killed writer left.

#include "FileUtil.h"
#include "GameSet.h"
#include "Scratch.h"

#include <chrono>
#include <csignal>
#include <thread>

using namespace kestrund;
using namespace kestrund::testing;
using std::chrono::microseconds;

TEST(DurableSave, ASaveKilledAnywhereLeavesTheOldOrTheNewFileAndTheNextSaveCleansUp)
{
    TScratchDir dir;
    const auto set = bench::MakeGameSet(1);
    // Both layouts have one size: only the bytes tell them apart.
    const std::vector<std::uint8_t> layouts[2] = {set->SaveToMemory(cmRGB555), set->SaveToMemory(cmRGB565)};
    set->SaveToFile(dir / "gtset.til", cmRGB555);
    std::mt19937 random(7);
    long longest = 10000000; // the first save runs to its end and sets the range of the kills
    int leftovers = 0;
    for (int run = 0; run <= 300; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const auto end = start + microseconds(run ? std::uniform_int_distribution<long>(0, longest)(random) : longest);
        const pid_t child = ::fork();
        if (child == 0) {
            set->SaveToFile(dir / "gtset.til", 1 - run % 2);
            std::_Exit(0);
        }
        int status = 0, ended = 0;
        while (!(ended = ::waitpid(child, &status, WNOHANG)) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(microseconds(50));
        if (!ended && ::kill(child, SIGKILL) == 0)
            ::waitpid(child, &status, 0);
        if (run == 0)
            longest = 6 * std::chrono::duration_cast<microseconds>(std::chrono::steady_clock::now() - start).count() / 5;
        const auto bytes = ReadWholeFile(dir / "gtset.til");
        ASSERT_TRUE(bytes == layouts[0] || bytes == layouts[1]) << "run " << run;
        // Each save removed the leftover of the one before: at most the last one's is there.
        const auto entries = dir.Entries();
        ASSERT_LE(entries.size(), 2u) << "run " << run;
        leftovers += entries.size() == 2 && TemporaryFileWriter(entries[1]) == child;
    }
    EXPECT_GT(leftovers, 0); // some kills fell while a save was under way
    // Live writers' files stay: another process's and this one's.
    const std::vector<std::string> live{"a.til.kestrund-" + std::to_string(::getppid()) + "-1.tmp",
                                        "gtset.til.kestrund-" + std::to_string(::getpid()) + "-99999.tmp"};
    for (const std::string& name : live)
        WriteText(dir / name, "");
    set->SaveToFile(dir / "gtset.til", cmRGB555);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{live[0], "gtset.til", live[1]}));
}
