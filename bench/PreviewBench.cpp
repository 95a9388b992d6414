// Cost of resolving a tile rule's 3x3 preview on a set of game size. The preview is
// resolved on every request rather than cached, so this has to stay cheap next to
// drawing the nine tiles it names (about 2304 surface writes each).

#include "TileFile.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace kestrund;

namespace {

constexpr int RuleCount = 300;
constexpr int TileCount = 400;

// Rules with terrain codes 0..299 as centres, neighbours naming other codes, Graphics
// and one alternative naming tiles; when unmatched is set, neighbour values name no
// rule's centre, so every lookup scans all rules and then all tiles.
void Build(TTileFile& set, bool unmatched)
{
    set.Clear();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> code(0, RuleCount - 1), tile(0, TileCount - 1);
    for (int i = 0; i < TileCount; ++i) {
        auto t = std::make_unique<TTile>();
        t->TileID = static_cast<std::uint16_t>(1000 + i);
        set.AddTile(std::move(t));
    }
    for (int r = 0; r < RuleCount; ++r) {
        auto rule = std::make_unique<TTileRule>();
        for (int k = 0; k < 9; ++k)
            rule->SetValue(k, static_cast<std::uint16_t>(unmatched ? 5000 + code(rng) : code(rng)));
        rule->SetValue(nbCentre, static_cast<std::uint16_t>(r));
        rule->SetValue(rvGraphics, static_cast<std::uint16_t>(1000 + tile(rng)));
        rule->SetValue(rvAlt1, static_cast<std::uint16_t>(1000 + tile(rng)));
        set.AddTileRule(std::move(rule));
    }
}

void PreviewWhole(benchmark::State& state)
{
    TTileFile set;
    Build(set, state.range(0) != 0);
    const TTileRule& rule = set.TileRule(RuleCount - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(rule.Preview());
}

// The nine entries asked for one by one, as a view drawing them would.
void PreviewEntryByEntry(benchmark::State& state)
{
    TTileFile set;
    Build(set, state.range(0) != 0);
    const TTileRule& rule = set.TileRule(RuleCount - 1);
    for (auto _ : state)
        for (int i = 0; i < 9; ++i)
            benchmark::DoNotOptimize(rule.PreviewTile(i));
}

// For scale: drawing the nine tiles the preview names.
void DrawNineTiles(benchmark::State& state)
{
    TTileFile set;
    Build(set, false);
    TRgbSurface surface(3 * 96, 3 * 72);
    for (auto _ : state) {
        for (int i = 0; i < 9; ++i)
            set.Tile(static_cast<std::size_t>(i)).Draw(96 * (i % 3), 48 * (i / 3), surface);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(PreviewWhole)->Arg(0)->Arg(1)->ArgName("unmatched");
BENCHMARK(PreviewEntryByEntry)->Arg(0)->Arg(1)->ArgName("unmatched");
BENCHMARK(DrawNineTiles);

BENCHMARK_MAIN();
