// Hostile inputs found while fuzzing the readers, kept as small as still shows the fault.

#include "Errors.h"
#include "TileFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

using namespace kestrund;

namespace {

void Put(std::vector<std::uint8_t>& out, std::initializer_list<std::uint16_t> words)
{
    for (std::uint16_t w : words) {
        out.push_back(static_cast<std::uint8_t>(w));
        out.push_back(static_cast<std::uint8_t>(w >> 8));
    }
}

// Rivers of one row at row 0 give the file its size; then improvements of one row at
// row 65534 each claim 65535 row slots for 14 bytes.
std::vector<std::uint8_t> TallRowsFile(std::uint16_t rivers)
{
    std::vector<std::uint8_t> out;
    Put(out, {0, 0, 0, 704, 0, 0, 0}); // no rules, borders (header), tiles (header)
    Put(out, {rivers});
    for (int i = 0; i < rivers; ++i)
        Put(out, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 8, 0, 0, 0, 0, 0xFA01});
    Put(out, {0xFFFF});
    for (int i = 0; i < 0xFFFF; ++i)
        Put(out, {1, 8, 0, 0xFFFE, 0xFFFE, 0, 0xFA01});
    Put(out, {0});
    return out;
}

// Peak resident memory, in megabytes, of a child process that loads data.
long PeakMegabytesLoading(const std::vector<std::uint8_t>& data)
{
    const pid_t child = ::fork();
    if (child == 0) {
        TTileFile set;
        try {
            set.LoadFromMemory(data, false);
        } catch (const EKestrundError&) {
            ::_exit(0);
        }
        ::_exit(1);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss / 1024;
}

} // namespace

// Row slots that no byte pays for were bounded by count, and each slot grew to hold its
// line in place: a 1.5 MB file then took over 500 MB before it was refused.
TEST(TileFileFuzzRegression, RowSlotsNoBytePaysForStayInProportion)
{
    const std::vector<std::uint8_t> data = TallRowsFile(20000);
    ASSERT_EQ(data.size(), 14u + 2 + 32u * 20000 + 2 + 14u * 0xFFFF + 2);
    // Measured first, before this process holds memory of its own loading.
    const long peak = PeakMegabytesLoading(data);
    ASSERT_GT(peak, 0) << "the child did not refuse the file";
    EXPECT_LT(peak, 300) << "megabytes at the peak for a file of " << data.size() / 1024 << " KB";

    TTileFile set;
    set.Clear();
    EXPECT_THROW(set.LoadFromMemory(data, false), EFileFormatError);
    EXPECT_EQ(set.RiverCount(), 0u);
}
