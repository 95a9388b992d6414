// The script import over a private folder that holds a script and the pictures of
// a small exported set (plus a few odd ones). The first byte picks the log level,
// plain or appending import, and the entry point; the rest is the script.
//
// Element failures must stay element failures (logged, import goes on); the only
// exception that may leave the import is the unexpected-failure kind, and the
// editor's entry point must then leave the open set as it was.

#include "Errors.h"
#include "FuzzSupport.h"
#include "ImportLog.h"
#include "ScriptExport.h"
#include "ScriptImport.h"
#include "Targa.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>

using namespace kestrund;
using kestrund::fuzz::Check;

namespace {

struct TWorkspace {
    TWorkspace()
    {
        std::filesystem::create_directories(Dir.Path / "set");
        ExportScript(*fuzz::MakeSmallSet(cmRGB555), "set", Script);
        // Pictures the exported set does not have: other pixel sizes, a damaged one.
        const TColor t = 0x00007C1F, s = 0x000083E0;
        WriteTGA(fuzz::SamplePicture(5, 4, t, s, 9), Dir / "set/SMALL.tga");
        WriteTGA(fuzz::SamplePicture(94, 72, t, s, 10), Dir / "set/FULL.tga");
        auto damaged = WriteTGA(fuzz::SamplePicture(5, 4, t, s, 11));
        damaged.resize(damaged.size() - 3);
        fuzz::WriteBytes(Dir / "set/SHORT.tga", damaged);
    }
    fuzz::TScratchDir Dir;
    std::string Script = Dir / "set.src";
    std::string Log = Dir / "set.log";
};

std::vector<std::uint8_t> Snapshot(const TTileFile& set)
{
    return set.SaveToMemory(set.ColorMode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TWorkspace work;
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    fuzz::WriteBytes(work.Script, std::span<const std::uint8_t>(data + 1, size - 1));

    const int level = selector % 3;
    const bool append = selector & 0x04;
    const bool editorEntry = selector & 0x08;
    TTileFile set; // one default element of each kind, so appending has something to keep
    set.ColorMode = selector & 0x10 ? cmRGB565 : cmRGB555;
    set.SetColorMode(set.ColorMode);

    if (editorEntry) {
        const auto before = Snapshot(set);
        try {
            const int result = ImportScriptInto(set, work.Script, work.Log, append, level);
            Check(result >= srSuccess && result <= srElementErrors, "result code in range");
            if (result == srNotAScript || result == srReadError)
                Check(Snapshot(set) == before, "a file that is not a script leaves the set as it was");
        } catch (const EKestrundError&) {
            Check(Snapshot(set) == before, "a failed import leaves the open set as it was");
        }
        return 0;
    }

    try {
        int result;
        if (level == llSimple) {
            std::vector<std::string> log;
            result = ImportScript(set, work.Script, &log, append);
            Check(!log.empty(), "the Simple level logs at least the outcome");
        } else {
            result = ImportScriptLogged(set, work.Script, work.Log, append, level);
        }
        Check(result >= srSuccess && result <= srElementErrors, "result code in range");
    } catch (const EScriptImportError&) {
        // the unexpected-failure kind: the caller resets the set
    }
    return 0;
}
