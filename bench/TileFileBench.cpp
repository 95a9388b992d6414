// Tile file reading and writing against memcpy of the same bytes, for a set shaped like a
// full game set (~3 MB) and one ten times larger. Prints load/memcpy, save/memcpy and
// big/small; targets: load and save within 10 x memcpy, big within 11 x small.

#include "GameSet.h"
#include "RatioReporter.h"
#include "TileFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace kestrund;
using namespace kestrund::bench;

namespace {

struct TCase {
    std::unique_ptr<TTileFile> Set;
    std::vector<std::uint8_t> Data;
};

TCase& Case(int scale)
{
    static std::map<int, TCase> cases;
    TCase& c = cases[scale];
    if (!c.Set) {
        c.Set = MakeGameSet(scale);
        c.Data = c.Set->SaveToMemory(cmRGB555);
    }
    return c;
}

void Load(benchmark::State& state, int scale)
{
    const TCase& c = Case(scale);
    TTileFile set;
    for (auto _ : state) {
        set.LoadFromMemory(c.Data, false);
        benchmark::DoNotOptimize(set.TileCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.Data.size()));
}

void Save(benchmark::State& state, int scale, int mode)
{
    const TCase& c = Case(scale);
    for (auto _ : state) {
        std::vector<std::uint8_t> data = c.Set->SaveToMemory(mode);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.Data.size()));
}

void Memcpy(benchmark::State& state, int scale)
{
    const TCase& c = Case(scale);
    std::vector<std::uint8_t> target(c.Data.size());
    for (auto _ : state) {
        std::memcpy(target.data(), c.Data.data(), c.Data.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * c.Data.size()));
}

} // namespace

int main(int argc, char** argv)
{
    const std::pair<const char*, int> scales[] = {{"small", 1}, {"big", 10}};
    for (const auto& [name, scale] : scales) {
        const int s = scale;
        auto configure = [](benchmark::internal::Benchmark* b) {
            b->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true)->MinTime(0.2);
        };
        configure(benchmark::RegisterBenchmark((std::string("Memcpy/") + name).c_str(),
                                               [s](benchmark::State& st) { Memcpy(st, s); }));
        configure(benchmark::RegisterBenchmark((std::string("Load/") + name).c_str(),
                                               [s](benchmark::State& st) { Load(st, s); }));
        configure(benchmark::RegisterBenchmark((std::string("Save/") + name).c_str(),
                                               [s](benchmark::State& st) { Save(st, s, cmRGB555); }));
        configure(benchmark::RegisterBenchmark((std::string("SaveOtherMode/") + name).c_str(),
                                               [s](benchmark::State& st) { Save(st, s, cmRGB565); }));
    }
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    auto& t = reporter.Median;
    if (!t.count("Memcpy/small") || !t.count("Memcpy/big"))
        return 0; // filtered run: no ratios
    std::printf("\nset sizes: small %.2f MB, big %.2f MB\n", Case(1).Data.size() / 1e6, Case(10).Data.size() / 1e6);
    for (const char* size : {"small", "big"}) {
        const double copy = t[std::string("Memcpy/") + size];
        std::printf("%-5s load/memcpy = %6.2f   save/memcpy = %6.2f   save-other-mode/memcpy = %6.2f  (target <= 10)\n",
                    size, t[std::string("Load/") + size] / copy, t[std::string("Save/") + size] / copy,
                    t[std::string("SaveOtherMode/") + size] / copy);
    }
    std::printf("big/small: load = %5.2f   save = %5.2f   save-other-mode = %5.2f   memcpy = %5.2f  (target <= 11)\n",
                t["Load/big"] / t["Load/small"], t["Save/big"] / t["Save/small"],
                t["SaveOtherMode/big"] / t["SaveOtherMode/small"], t["Memcpy/big"] / t["Memcpy/small"]);
    // memcpy itself is not linear once the big set no longer fits the caches; this is the
    // growth of each operation beyond what the memory system alone explains.
    const double copyGrowth = t["Memcpy/big"] / t["Memcpy/small"];
    std::printf("big/small over memcpy's own growth: load = %5.2f   save = %5.2f   save-other-mode = %5.2f\n",
                t["Load/big"] / t["Load/small"] / copyGrowth, t["Save/big"] / t["Save/small"] / copyGrowth,
                t["SaveOtherMode/big"] / t["SaveOtherMode/small"] / copyGrowth);
    return 0;
}
