// kestrund-cli sheet on a game-sized set: every tile at zoom 1 with its label, in the
// default columns, composed alone and composed then written as PNG. Target: under 200 ms.

#include "ContactSheet.h"
#include "GameSet.h"
#include "PngFile.h"
#include "RatioReporter.h"
#include "ScratchFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace kestrund;
using namespace kestrund::bench;

namespace {

const TTileFile& Set()
{
    static const auto set = MakeGameSet(1);
    return *set;
}

const TContactSheetOptions Options{.Labels = true};

const std::string& Folder()
{
    return ScratchFolder("sheet");
}

void Compose(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ComposeContactSheet(Set(), Options));
}

void ComposeAndWritePng(benchmark::State& state)
{
    const std::string name = Folder() + "/sheet.png";
    for (auto _ : state)
        WritePng(ComposeContactSheet(Set(), Options), name);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(name));
}

} // namespace

int main(int argc, char** argv)
{
    using TBody = void (*)(benchmark::State&);
    for (auto [name, body] :
         {std::pair<const char*, TBody>{"Sheet/compose", Compose}, {"Sheet/png", ComposeAndWritePng}})
        benchmark::RegisterBenchmark(name, body)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(7)
            ->ReportAggregatesOnly(true)
            ->MinTime(0.5);
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const TSheetLayout layout = ContactSheetLayout(Set(), Options);
    std::printf("\n%zu tiles at zoom 1 with labels, %d columns: a sheet of %dx%d\n", layout.Count, layout.Columns,
                layout.Width(), layout.Height());
    for (const char* what : {"compose", "png"}) {
        const std::string name = std::string("Sheet/") + what;
        if (reporter.Median.count(name))
            std::printf("%-8s %8.3f ms CPU (%.3f ms wall)   ratio to target %.2f   target < 200 ms\n", what,
                        reporter.Median[name], reporter.MedianReal[name], reporter.Median[name] / 200.0);
    }
    return 0;
}
