// Tile file reading, plain and appending. A file that reads must write back as the
// same bytes; a file that does not read must leave the set exactly as it was.

#include "Errors.h"
#include "FuzzSupport.h"
#include "TileFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace kestrund;
using kestrund::fuzz::Check;

namespace {

std::vector<std::uint8_t> Saved(const TTileFile& set, int mode)
{
    try {
        return set.SaveToMemory(mode);
    } catch (const EInvalidArgument&) {
        // Only a set grown past the file's 16-bit counts by appending may refuse.
        return {};
    }
}

void Plain(std::span<const std::uint8_t> data)
{
    TTileFile set; // one default element of each kind
    set.ColorMode = cmRGB555;
    const auto before = set.SaveToMemory(cmRGB555);
    try {
        const TTileFileLoadInfo info = set.LoadFromMemory(data, false);
        Check(info.FileSize == data.size() && info.TrailingBytes <= data.size(), "load info");
        const auto again = set.SaveToMemory(cmRGB555);
        // Sections a file stopped before are written back empty, after the same bytes.
        const std::size_t kept = data.size() - info.TrailingBytes;
        Check(again.size() >= kept && (info.MissingSections > 0 || again.size() == kept) &&
                  std::equal(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(kept), again.begin()),
              "a file that reads writes back as the same bytes");
    } catch (const EKestrundError&) {
        Check(set.SaveToMemory(cmRGB555) == before, "a failed read leaves the set as it was");
    }
}

void Append(std::span<const std::uint8_t> data)
{
    TTileFile set;
    set.SetColorMode(cmRGB565);
    const auto before = set.SaveToMemory(cmRGB565);
    const std::size_t rules = set.TileRuleCount(), tiles = set.TileCount();
    try {
        set.LoadFromMemory(data, true);
        Check(set.TileRuleCount() >= rules && set.TileCount() >= tiles, "appending keeps the old elements");
        Saved(set, cmRGB565);
        Saved(set, cmRGB555);
    } catch (const EKestrundError&) {
        Check(set.SaveToMemory(cmRGB565) == before, "a failed append leaves the set as it was");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    Plain(bytes);
    Append(bytes);
    return 0;
}
