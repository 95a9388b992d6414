// Save Image of the heaviest 3x3 view of a game-sized set, as the editor does it after its
// dialog: compose the view and write the file, in each of the three formats. The picture
// is written at zoom 1, so the zoom the editor shows does not enter. Target: under 50 ms.

#include "ImageFiles.h"
#include "RatioReporter.h"
#include "ScratchFolder.h"
#include "ViewCase.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace kestrund;
using namespace kestrund::bench;

namespace {

const TViewCase& Case()
{
    static const TViewCase c = MakeViewCase();
    return c;
}

const std::string& Folder()
{
    return ScratchFolder("save-image");
}

void Save(benchmark::State& state, const char* extension)
{
    const TViewCase& c = Case();
    const std::string name = Folder() + "/view" + extension;
    for (auto _ : state)
        SaveViewImage(*c.Set, c.View, c.Rule, 0xC0C0C0, 0x808080, name);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(name));
}

} // namespace

int main(int argc, char** argv)
{
    for (const char* extension : {".tga", ".bmp", ".jpg"})
        benchmark::RegisterBenchmark((std::string("SaveImage/") + (extension + 1)).c_str(), Save, extension)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(7)
            ->ReportAggregatesOnly(true)
            ->MinTime(0.2);
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const TViewGeometry& g = Case().Geometry;
    std::printf("\n3x3 view %dx%d of a game-sized set (zoom does not enter the file)\n", g.Width, g.Height);
    for (const char* format : {"tga", "bmp", "jpg"}) {
        const std::string name = std::string("SaveImage/") + format;
        if (reporter.MedianReal.count(name))
            std::printf("Save Image .%s: %7.3f ms wall (%.3f ms CPU)   target < 50 ms\n", format,
                        reporter.MedianReal[name], reporter.Median[name]);
    }
    return 0;
}
