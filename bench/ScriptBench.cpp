// Script export and import of a game-sized set against plain stdio writing and reading
// the same files (the pictures and the script, same names and sizes) in the same run.
// Prints export/write floor (target <= 2), import/read floor (target <= 3) and the
// Total-level import over the Simple-level one (target <= 1.5).
//
// Writing depends on the file system's state: where it avoids reusing just-freed inodes
// (ext4 without a journal), files deleted by anyone in the last minute or so make each
// creation scan past them, and both writers then time that scan more than themselves.
// The floor's time per file is printed so that such runs can be told apart.

#include "GameSet.h"
#include "RatioReporter.h"
#include "ScriptExport.h"
#include "ScriptImport.h"
#include "TileFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

using namespace kestrund;
using namespace kestrund::bench;
namespace fs = std::filesystem;

namespace {

// The script's pictures go into the folder named after it: that is where an import
// of a script without a folder line looks for them.
const std::string ScriptName = "Game.txt";
const std::string GraphicsName = "Game";

struct TFileImage {
    std::string RelativeName;
    std::vector<std::uint8_t> Bytes;
};

struct TCase {
    fs::path Root;                  // everything the benchmark writes lives below
    std::unique_ptr<TTileFile> Set;
    fs::path ImportFolder;          // one export, read by every import iteration
    std::vector<TFileImage> Files;  // what that export wrote, for the floors
    std::size_t TotalBytes = 0;
    int NextFolder = 0;

    ~TCase()
    {
        std::error_code ignored;
        if (!Root.empty())
            fs::remove_all(Root, ignored);
    }

    fs::path FreshFolder()
    {
        const fs::path folder = Root / ("run" + std::to_string(NextFolder++));
        fs::create_directories(folder / GraphicsName);
        return folder;
    }
};

std::vector<std::uint8_t> ReadAll(const fs::path& file)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fs::file_size(file)));
    std::FILE* in = std::fopen(file.string().c_str(), "rb");
    if (!in || std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size())
        throw std::runtime_error("cannot read " + file.string());
    std::fclose(in);
    return bytes;
}

TCase& Case()
{
    static TCase c;
    if (c.Set)
        return c;
    c.Root = fs::temp_directory_path() / ("kestrund-scriptbench-" + std::to_string(::getpid()));
    fs::remove_all(c.Root);
    c.Set = MakeGameSet(1);
    // Picture names come from these numbers: give every border and river its own file.
    for (std::size_t i = 0; i < c.Set->BorderCount(); ++i) {
        c.Set->Border(i).Inside = static_cast<std::uint16_t>(i / 16);
        c.Set->Border(i).Outside = static_cast<std::uint16_t>(i % 16);
    }
    for (std::size_t i = 0; i < c.Set->RiverCount(); ++i)
        c.Set->River(i).ImprovementID = static_cast<std::uint16_t>(i);

    c.ImportFolder = c.FreshFolder();
    ExportScript(*c.Set, GraphicsName, (c.ImportFolder / ScriptName).string());
    for (const auto& entry : fs::recursive_directory_iterator(c.ImportFolder))
        if (entry.is_regular_file()) {
            c.Files.push_back({fs::relative(entry.path(), c.ImportFolder).string(), ReadAll(entry.path())});
            c.TotalBytes += c.Files.back().Bytes.size();
        }
    return c;
}

// Every iteration writes into a folder of its own, made outside the timing. The folders
// stay until the end: on a file system that avoids reusing just-freed inodes (ext4
// without a journal), removing hundreds of files makes the next creations scan past
// them, which would time the clean-up rather than the writing.
template <class WriteInto>
void TimeWriting(benchmark::State& state, WriteInto write)
{
    TCase& c = Case();
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path folder = c.FreshFolder();
        state.ResumeTiming();
        write(folder);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.TotalBytes));
    state.counters["files"] = static_cast<double>(c.Files.size());
}

void Export(benchmark::State& state)
{
    const TCase& c = Case();
    TimeWriting(state, [&](const fs::path& folder) {
        ExportScript(*c.Set, GraphicsName, (folder / ScriptName).string());
    });
}

void WriteFloor(benchmark::State& state)
{
    const TCase& c = Case();
    TimeWriting(state, [&](const fs::path& folder) {
        for (const TFileImage& file : c.Files) {
            std::FILE* out = std::fopen((folder / file.RelativeName).string().c_str(), "wb");
            if (!out)
                throw std::runtime_error("cannot create " + file.RelativeName);
            std::fwrite(file.Bytes.data(), 1, file.Bytes.size(), out);
            std::fclose(out);
        }
    });
}

// Every iteration imports into a new set, made and dropped outside the timing.
template <class ImportInto>
void TimeImport(benchmark::State& state, ImportInto import)
{
    TCase& c = Case();
    const std::string script = (c.ImportFolder / ScriptName).string();
    for (auto _ : state) {
        state.PauseTiming();
        auto set = std::make_unique<TTileFile>();
        state.ResumeTiming();
        if (const int result = import(*set, script); result != srSuccess) {
            state.SkipWithError(("import result " + std::to_string(result)).c_str());
            break;
        }
        state.PauseTiming();
        if (set->TileCount() != c.Set->TileCount() || set->ImprovementCount() != c.Set->ImprovementCount())
            state.SkipWithError("import lost elements");
        set.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.TotalBytes));
}

void ImportSimple(benchmark::State& state)
{
    TimeImport(state, [](TTileFile& set, const std::string& script) {
        std::vector<std::string> log; // the editor writes it out afterwards
        const int result = ImportScript(set, script, &log, false);
        benchmark::DoNotOptimize(log.data());
        return result;
    });
}

// A new log file every time: truncating the last one would wait for the disk to take
// the pages written just before, which no user importing by hand ever waits for.
void ImportTotal(benchmark::State& state)
{
    TCase& c = Case();
    TimeImport(state, [&](TTileFile& set, const std::string& script) {
        const std::string logFile = (c.Root / ("total" + std::to_string(c.NextFolder++) + ".log")).string();
        return ImportScriptLogged(set, script, logFile, false, llTotal);
    });
}

void ReadFloor(benchmark::State& state)
{
    const TCase& c = Case();
    std::vector<std::uint8_t> buffer;
    for (auto _ : state) {
        for (const TFileImage& file : c.Files) {
            std::FILE* in = std::fopen((c.ImportFolder / file.RelativeName).string().c_str(), "rb");
            if (!in)
                throw std::runtime_error("cannot open " + file.RelativeName);
            buffer.resize(file.Bytes.size());
            benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), in));
            std::fclose(in);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.TotalBytes));
}

} // namespace

int main(int argc, char** argv)
{
    auto common = [](benchmark::internal::Benchmark* b) {
        return b->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
    };
    auto configure = [&](benchmark::internal::Benchmark* b) { common(b)->MinTime(0.3); };
    // A fixed number of iterations for the writers: every one leaves 11 MB on disk.
    common(benchmark::RegisterBenchmark("WriteFloor", WriteFloor))->Iterations(2);
    common(benchmark::RegisterBenchmark("Export", Export))->Iterations(2);
    configure(benchmark::RegisterBenchmark("ReadFloor", ReadFloor));
    configure(benchmark::RegisterBenchmark("ImportSimple", ImportSimple));
    configure(benchmark::RegisterBenchmark("ImportTotal", ImportTotal));
    // Repetitions interleaved: the file system's speed at creating files drifts (see
    // TimeWriting), and export and its floor should see the same drift.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const TCase& c = Case();
    std::printf("\nset: %zu files (%zu pictures and the script), %.2f MB\n", c.Files.size(), c.Files.size() - 1,
                c.TotalBytes / 1e6);
    auto ratio = [&](const std::map<std::string, double>& t, const char* a, const char* b) {
        return t.count(a) && t.count(b) ? t.at(a) / t.at(b) : 0.0;
    };
    const auto& cpu = reporter.Median;
    const auto& real = reporter.MedianReal;
    if (!cpu.count("WriteFloor") || !cpu.count("ReadFloor") || !cpu.count("ImportSimple"))
        return 0; // filtered run: no ratios
    const double writePerFile = 1000 * cpu.at("WriteFloor") / c.Files.size();
    std::printf("write floor %.0f us per file, read floor %.1f us per file (CPU)\n", writePerFile,
                1000 * cpu.at("ReadFloor") / c.Files.size());
    if (writePerFile > 150)
        std::printf("creating files is slow right now (files deleted recently?): the export ratio is not telling\n");
    std::printf("export/write floor         = %5.2f  (real time %5.2f)  target <= 2\n",
                ratio(cpu, "Export", "WriteFloor"), ratio(real, "Export", "WriteFloor"));
    std::printf("import/read floor          = %5.2f  (real time %5.2f)  target <= 3\n",
                ratio(cpu, "ImportSimple", "ReadFloor"), ratio(real, "ImportSimple", "ReadFloor"));
    std::printf("Total-level/Simple import  = %5.2f  (real time %5.2f)  target <= 1.5\n",
                ratio(cpu, "ImportTotal", "ImportSimple"), ratio(real, "ImportTotal", "ImportSimple"));
    return 0;
}
