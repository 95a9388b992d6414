// Tile file reading and writing against memcpy of the same bytes, for a set shaped like a
// full game set (~3 MB) and one ten times larger. Prints load/memcpy, save/memcpy and
// big/small; targets: load and save within 10 x memcpy, big within 11 x small.

#include "TileFile.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace kestrund;

namespace {

constexpr std::uint16_t Transparent = 0x7C1F;
constexpr std::uint16_t Shadow = 0x0001;

// A blob like a tree or a building: rows from top to 71, each a transparent margin, a
// literal run, a shadow run and transparent to the end of the 94-pixel row.
void FillOverlay(TTileOverlay& overlay, int top, std::mt19937& random)
{
    overlay.Clear();
    overlay.Lines.resize(TileHeight);
    std::vector<std::uint16_t> row(TileWidth);
    for (int y = top; y < TileHeight; ++y) {
        const double t = static_cast<double>(y - top + 1) / (TileHeight - top + 1);
        const int half = 1 + static_cast<int>(15 * std::sin(3.14159 * t));
        const int left = 47 - half;
        const int right = 47 + half;
        for (int x = 0; x < TileWidth; ++x) {
            std::uint16_t p = Transparent;
            if (x >= left && x < right)
                p = static_cast<std::uint16_t>(0x0400 + random() % 0x7000);
            else if (x >= right && x < right + 6)
                p = Shadow;
            row[static_cast<std::size_t>(x)] = p;
        }
        auto line = std::make_unique<TLine>(overlay.ColorMode);
        line->Encode(row, Transparent, Shadow);
        overlay.Lines[static_cast<std::size_t>(y)] = std::move(line);
    }
    overlay.Trim();
}

// 300 rules, 220 borders, 400 tiles (80 with overlays), 30 rivers, 170 improvements and
// 14 variation rules, times scale.
std::unique_ptr<TTileFile> MakeGameSet(int scale)
{
    std::mt19937 random(static_cast<std::uint32_t>(scale));
    auto word = [&] { return static_cast<std::uint16_t>(random()); };
    auto set = std::make_unique<TTileFile>();
    set->Clear();
    for (int i = 0; i < 300 * scale; ++i) {
        auto rule = std::make_unique<TTileRule>();
        for (auto& v : rule->Values)
            v = word();
        set->AddTileRule(std::move(rule));
    }
    for (int i = 0; i < 220 * scale; ++i) {
        auto border = std::make_unique<TTileBorder>();
        for (auto& edge : border->Edges)
            for (auto& p : edge.Pixels)
                p = word();
        set->AddBorder(std::move(border));
    }
    for (int i = 0; i < 400 * scale; ++i) {
        auto tile = std::make_unique<TTile>();
        tile->TileID = static_cast<std::uint16_t>(i);
        tile->TileIndex = static_cast<std::uint8_t>(i % 40);
        for (auto& p : tile->Pixels)
            p = word();
        if (i % 5 == 0) {
            tile->Overlay = std::make_unique<TTileOverlay>();
            FillOverlay(*tile->Overlay, 10 + i % 30, random);
        }
        set->AddTile(std::move(tile));
    }
    for (int i = 0; i < 30 * scale; ++i) {
        auto river = std::make_unique<TRiver>();
        FillOverlay(*river, 30, random);
        set->AddRiver(std::move(river));
    }
    for (int i = 0; i < 170 * scale; ++i) {
        auto improvement = std::make_unique<TTileImprovement>();
        improvement->ImprovementID = static_cast<std::uint16_t>(i);
        FillOverlay(*improvement, i % 40, random);
        set->AddImprovement(std::move(improvement));
    }
    for (int i = 0; i < 14 * scale; ++i) {
        auto rule = std::make_unique<TVariationRule>();
        rule->Steps.resize(static_cast<std::size_t>(1 + i % 12));
        for (auto& step : rule->Steps)
            step = random();
        set->AddVariationRule(std::move(rule));
    }
    return set;
}

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

// Console output plus the median CPU time of every benchmark, for the ratios. CPU time,
// because the machine is shared: time spent descheduled says nothing about the code.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Median;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                Median[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
};

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
