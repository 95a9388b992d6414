// Redrawing the tile view: composing the 3x3 patch with tile, border, river and
// improvement shown, against filling the same picture with one colour; and painting the
// composed picture at zoom 8 as the view widget does (QPainter::drawImage, no smoothing),
// against filling the zoomed picture. Targets: composition under 2 ms, zoom-8 paint
// under 8 ms.

#include "RatioReporter.h"
#include "ViewCase.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <string>

using namespace kestrund;
using namespace kestrund::bench;

namespace {

constexpr int Zoom = 8;

struct TCase {
    TViewCase View;
    QImage Picture; // the composed view as the editor holds it
};

TCase& Case()
{
    static TCase c;
    if (!c.Picture.isNull())
        return c;
    c.View = MakeViewCase();
    const TViewGeometry& g = c.View.Geometry;
    TRgbSurface surface(g.Width, g.Height);
    ComposeView(*c.View.Set, c.View.View, c.View.Rule, surface);
    c.Picture = QImage(g.Width, g.Height, QImage::Format_RGB32);
    for (int y = 0; y < g.Height; ++y)
        for (int x = 0; x < g.Width; ++x) {
            const TColor p = surface.Pixel(x, y);
            c.Picture.setPixel(x, y, qRgb(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF));
        }
    return c;
}

void Compose(benchmark::State& state)
{
    const TViewCase& c = Case().View;
    TRgbSurface surface(c.Geometry.Width, c.Geometry.Height);
    for (auto _ : state) {
        ComposeView(*c.Set, c.View, c.Rule, surface);
        benchmark::DoNotOptimize(surface.Data().data());
        benchmark::ClobberMemory();
    }
}

void Fill(benchmark::State& state)
{
    const TViewCase& c = Case().View;
    TRgbSurface surface(c.Geometry.Width, c.Geometry.Height);
    for (auto _ : state) {
        surface.Fill(c.View.BgColor);
        benchmark::DoNotOptimize(surface.Data().data());
        benchmark::ClobberMemory();
    }
}

// The whole widget exposed: every source pixel becomes a Zoom x Zoom block.
void PaintZoomed(benchmark::State& state, QImage::Format format)
{
    const TCase& c = Case();
    QImage target(c.Picture.size() * Zoom, format);
    const QRect source = c.Picture.rect();
    const QRect zoomed(0, 0, source.width() * Zoom, source.height() * Zoom);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(zoomed, c.Picture, source);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
}

void FillZoomed(benchmark::State& state, QImage::Format format)
{
    const TCase& c = Case();
    QImage target(c.Picture.size() * Zoom, format);
    for (auto _ : state) {
        target.fill(QColor(0xC0, 0xC0, 0xC0));
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
}

} // namespace

int main(int argc, char** argv)
{
    auto configure = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true)->MinTime(0.2);
    };
    configure(benchmark::RegisterBenchmark("Fill", Fill));
    configure(benchmark::RegisterBenchmark("Compose", Compose));
    // RGB32: the editor's picture and the window surface of an opaque widget; the
    // premultiplied target is the other form a window surface takes.
    configure(benchmark::RegisterBenchmark("FillZoom8/rgb32", FillZoomed, QImage::Format_RGB32));
    configure(benchmark::RegisterBenchmark("PaintZoom8/rgb32", PaintZoomed, QImage::Format_RGB32));
    configure(benchmark::RegisterBenchmark("FillZoom8/argb32pm", FillZoomed, QImage::Format_ARGB32_Premultiplied));
    configure(benchmark::RegisterBenchmark("PaintZoom8/argb32pm", PaintZoomed, QImage::Format_ARGB32_Premultiplied));
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const TViewGeometry& g = Case().View.Geometry;
    auto& t = reporter.Median; // microseconds
    std::printf("\nview %dx%d, zoomed %dx%d\n", g.Width, g.Height, g.Width * Zoom, g.Height * Zoom);
    if (t.count("Compose") && t.count("Fill"))
        std::printf("full redraw (composition): %8.3f ms  = %6.2f x fill (%.3f ms)   target < 2 ms\n",
                    t["Compose"] / 1000, t["Compose"] / t["Fill"], t["Fill"] / 1000);
    for (const char* format : {"rgb32", "argb32pm"}) {
        const std::string paint = std::string("PaintZoom8/") + format, fill = std::string("FillZoom8/") + format;
        if (t.count(paint) && t.count(fill))
            std::printf("zoom-8 paint (%-8s):    %8.3f ms  = %6.2f x fill (%.3f ms)   target < 8 ms\n", format,
                        t[paint] / 1000, t[paint] / t[fill], t[fill] / 1000);
    }
    return 0;
}
