// A save killed at any moment: the target holds the old or the new set, never a mix, and
// what the killed writer left is removed by the next save.

#include "FileUtil.h"
#include "GameSet.h"
#include "Scratch.h"

#include <chrono>
#include <random>
#include <thread>

#include <csignal>
#include <unistd.h>

using namespace kestrund;
using namespace kestrund::testing;

namespace {

// Starts saving set in a child process and kills it after delay; true when the save ended first.
bool SaveKilledAfter(const TTileFile& set, const std::string& name, int mode, std::chrono::microseconds delay)
{
    const pid_t child = ::fork();
    if (child == 0) {
        set.SaveToFile(name, mode);
        std::_Exit(0);
    }
    const auto end = std::chrono::steady_clock::now() + delay;
    int status = 0;
    pid_t ended = 0;
    while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    if (ended == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(DurableSave, ASaveKilledAnywhereLeavesTheOldOrTheNewFileAndTheNextSaveCleansUp)
{
    TScratchDir dir;
    const std::string name = dir / "gtset.til";
    const auto set = bench::MakeGameSet(1);
    // The two layouts of one set: the same size, different bytes.
    const std::vector<std::uint8_t> layouts[2] = {set->SaveToMemory(cmRGB555), set->SaveToMemory(cmRGB565)};
    ASSERT_NE(layouts[0], layouts[1]);
    set->SaveToFile(name, cmRGB555);
    int held = 0; // the layout the file holds
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SaveKilledAfter(*set, name, cmRGB565, std::chrono::seconds(10)));
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    held = 1;

    std::mt19937 random(7);
    std::uniform_int_distribution<long> moment(0, whole.count() * 6 / 5);
    int completed = 0, leftovers = 0;
    for (int run = 0; run < 300; ++run) {
        const int next = 1 - held;
        completed += SaveKilledAfter(*set, name, next ? cmRGB565 : cmRGB555, std::chrono::microseconds(moment(random)));
        const auto bytes = ReadWholeFile(name);
        ASSERT_TRUE(bytes == layouts[held] || bytes == layouts[next]) << "run " << run << ": " << bytes.size();
        held = bytes == layouts[next] ? next : held;
        // Each save removed the one before's leftover: the file and at most the last one's.
        const auto entries = dir.Entries();
        ASSERT_LE(entries.size(), 2u) << "run " << run;
        if (entries.size() == 2) {
            ++leftovers;
            EXPECT_GT(TemporaryFileWriter(entries[0] == "gtset.til" ? entries[1] : entries[0]), 0);
        }
    }
    // The kills fell before, during and after the replacing.
    EXPECT_GT(completed, 0);
    EXPECT_GT(leftovers, 0);
    set->SaveToFile(name, cmRGB555);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"gtset.til"});
    std::printf("%d saves of %zu bytes (%lld us each): %d completed, %d left a temporary file\n", 300,
                layouts[0].size(), static_cast<long long>(whole.count()), completed, leftovers);
}
