// The undo history on a game-sized set:
// - the memory held after 200 single-element edits (a tile, river or border replaced by a
//   changed copy, a border inserted, an improvement deleted, in turn), measured as the growth of
//   the heap in use (mallinfo2's uordblks + hblkhd) from before the edits to after them; target under 64 MB;
// - one undo and one redo of one element (a tile replaced): target under 5 ms each;
// - the undo and the redo of a whole script appended to the set (a snapshot): target under 50 ms.

#include "ElementCommands.h"
#include "GameSet.h"
#include "RatioReporter.h"
#include "ScriptExport.h"
#include "ScriptImport.h"
#include "SetSnapshotCommand.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

using namespace kestrund;
using namespace kestrund::bench;
namespace fs = std::filesystem;

namespace {

// A document holding a game-sized set.
std::unique_ptr<TTileSetDocument> GameDocument()
{
    auto document = std::make_unique<TTileSetDocument>();
    auto set = MakeGameSet(1);
    document->SwapSet(*set);
    return document;
}

// Edit number i of the 200: each kind of single-element command in turn.
QUndoCommand* SingleEdit(TTileSetDocument& document, int i)
{
    const TTileFile& set = document.Set();
    const std::size_t at = static_cast<std::size_t>(i) % 100;
    switch (i % 5) {
    case 0: {
        auto tile = std::make_unique<TTile>();
        tile->Assign(set.Tile(at));
        tile->Pixels[0] ^= 1;
        return new TReplaceElementCommand(document, kTiles, at, std::move(tile), "Edit Tile");
    }
    case 1: {
        auto river = std::make_unique<TRiver>();
        river->Assign(set.River(at % set.RiverCount()));
        river->ImprovementID ^= 1;
        return new TReplaceElementCommand(document, kRivers, at % set.RiverCount(), std::move(river), "Edit River");
    }
    case 2: {
        auto border = std::make_unique<TTileBorder>();
        border->Assign(set.Border(at));
        border->Inside ^= 1;
        return new TReplaceElementCommand(document, kBorders, at, std::move(border), "Edit Border");
    }
    case 3: {
        auto border = std::make_unique<TTileBorder>();
        border->Assign(set.Border(at));
        return new TInsertElementCommand(document, kBorders, at, std::move(border), "Add Border");
    }
    default: return new TRemoveElementCommand(document, kImprovements, at, "Delete Tile Improvement");
    }
}

double HeapInUse()
{
    const auto info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd); // small blocks and mapped ones
}

double HistoryBytes = 0;

// The 200 edits, timed as a whole; the heap growth they leave is the history's memory.
void TwoHundredEdits(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto document = GameDocument();
        malloc_trim(0);
        const double before = HeapInUse();
        state.ResumeTiming();
        for (int i = 0; i < 200; ++i)
            document->UndoStack().push(SingleEdit(*document, i));
        state.PauseTiming();
        HistoryBytes = HeapInUse() - before;
        if (document->UndoStack().count() != 200)
            state.SkipWithError("the edits did not all reach the history");
        document.reset();
        state.ResumeTiming();
    }
}

// Undo (or redo) of the last of the 200 edits, a tile replaced: only that step is timed.
void OneElement(benchmark::State& state, bool undo)
{
    auto document = GameDocument();
    for (int i = 0; i < 200; ++i)
        document->UndoStack().push(SingleEdit(*document, i * 5)); // tiles only
    QUndoStack& stack = document->UndoStack();
    for (auto _ : state) {
        if (!undo)
            stack.undo();
        const auto start = std::chrono::steady_clock::now();
        undo ? stack.undo() : stack.redo();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (undo)
            stack.redo();
    }
}

std::string ScriptFile()
{
    static const std::string script = [] {
        const fs::path folder = fs::temp_directory_path() / ("kestrund-undobench-" + std::to_string(::getpid()));
        // The pictures in the folder named after the script, where the import looks for them.
        fs::create_directories(folder / "game");
        ExportScript(*MakeGameSet(1), "game", (folder / "game.src").string());
        return (folder / "game.src").string();
    }();
    return script;
}

double SnapshotSeconds = 0; // taking the copy before the append, for the record

// Undo (or redo) of a whole game-sized script appended to a game-sized set.
void ScriptAppend(benchmark::State& state, bool undo)
{
    auto document = GameDocument();
    const auto start = std::chrono::steady_clock::now();
    auto before = document->Set().Copy();
    SnapshotSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string log = ScriptFile() + ".log";
    if (const int result = ImportScriptInto(document->Set(), ScriptFile(), log, true, 0);
        result != srSuccess || document->Set().TileCount() != 800) {
        state.SkipWithError(("import result " + std::to_string(result)).c_str());
        return;
    }
    document->UndoStack().push(new TSetSnapshotCommand(*document, std::move(before), "Append Script File"));
    QUndoStack& stack = document->UndoStack();
    for (auto _ : state) {
        if (!undo)
            stack.undo();
        const auto t = std::chrono::steady_clock::now();
        undo ? stack.undo() : stack.redo();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count());
        if (undo)
            stack.redo();
    }
    if (document->Set().TileCount() != 800)
        state.SkipWithError("the append is not in the set after the runs");
}

} // namespace

BENCHMARK(TwoHundredEdits)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK_CAPTURE(OneElement, Undo, true)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK_CAPTURE(OneElement, Redo, false)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK_CAPTURE(ScriptAppend, Undo, true)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK_CAPTURE(ScriptAppend, Redo, false)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    fs::remove_all(fs::path(ScriptFile()).parent_path());
    // Manual time: the medians are of the timed step alone, in each benchmark's own unit.
    auto ms = [&](const char* name) { return reporter.MedianReal[name]; };
    std::printf("\nhistory of 200 single-element edits: %.2f MB heap growth (target < 64 MB)\n", HistoryBytes / 1048576.0);
    std::printf("undo of one element:  %.4f ms (target < 5 ms)\n", ms("OneElement/Undo") / 1e3);
    std::printf("redo of one element:  %.4f ms (target < 5 ms)\n", ms("OneElement/Redo") / 1e3);
    std::printf("undo of a script append: %.3f ms (target < 50 ms)\n", ms("ScriptAppend/Undo"));
    std::printf("redo of a script append: %.3f ms (target < 50 ms)\n", ms("ScriptAppend/Redo"));
    std::printf("(the snapshot taken before the append: %.1f ms, not part of undo)\n", SnapshotSeconds * 1e3);
    return 0;
}
