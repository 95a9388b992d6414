// The element browser on a game-sized set (400 tiles), in the editor's main window:
// - opening the set's file until the tile browser has painted what it shows: target under 150 ms;
// - scrolling the browser from top to bottom, painting each page: every thumbnail is drawn
//   once (the count of thumbnails drawn is printed against the number of tiles).

#include "ElementBrowser.h"
#include "GameSet.h"
#include "MainForm.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>
#include <QScrollBar>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

using namespace kestrund;
using namespace kestrund::bench;
namespace fs = std::filesystem;

namespace {

struct TCase {
    fs::path Folder = fs::temp_directory_path() / ("kestrund-browserbench-" + std::to_string(::getpid()));
    std::string SetFile = (Folder / "game555.til").string();
    TQtPrompts Prompts{nullptr};
    std::unique_ptr<TMainForm> Form;
    TCase()
    {
        fs::create_directories(Folder);
        MakeGameSet(1)->SaveToFile(SetFile, cmRGB555);
        Form = std::make_unique<TMainForm>(Prompts, (Folder / "bench.ini").string());
        Form->show();
        QApplication::processEvents();
    }
    ~TCase() { fs::remove_all(Folder); }
    QListView* List() const { return Form->Browser->findChild<QListView*>("lvElements"); }
};

TCase& Case()
{
    static TCase c;
    return c;
}

std::size_t TilesDrawnInScroll = 0;
std::size_t TileCount = 0;

void OpenShowsTheBrowser(benchmark::State& state)
{
    TCase& c = Case();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        c.Form->LoadTileFile(c.SetFile, false);
        c.List()->viewport()->repaint();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    if (c.Form->Browser->Model().rowCount() != 400)
        state.SkipWithError("the browser does not show the set's tiles");
}

void ScrollTopToBottom(benchmark::State& state)
{
    TCase& c = Case();
    for (auto _ : state) {
        c.Form->LoadTileFile(c.SetFile, false);
        QListView* list = c.List();
        QScrollBar* bar = list->verticalScrollBar();
        const std::size_t before = c.Form->Browser->Model().DrawnCount();
        const auto start = std::chrono::steady_clock::now();
        for (int at = 0;; at += bar->pageStep()) {
            bar->setValue(at);
            list->viewport()->repaint();
            if (at >= bar->maximum())
                break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        TilesDrawnInScroll = c.Form->Browser->Model().DrawnCount() - before;
        TileCount = static_cast<std::size_t>(c.Form->Browser->Model().rowCount());
    }
}

} // namespace

BENCHMARK(OpenShowsTheBrowser)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(ScrollTopToBottom)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const QSize list = Case().List()->viewport()->size();
    std::printf("\nbrowser list %dx%d pixels, thumbnails %dx%d\n", list.width(), list.height(),
                Case().Form->Browser->Model().PictureSize().width(), Case().Form->Browser->Model().PictureSize().height());
    std::printf("open of a 400-tile set until the tile browser is painted: %.2f ms wall (target < 150 ms), ratio %.3f\n",
                reporter.MedianReal["OpenShowsTheBrowser"], reporter.MedianReal["OpenShowsTheBrowser"] / 150.0);
    std::printf("scroll from top to bottom: %.2f ms wall, %zu thumbnails drawn for %zu tiles (each once: %s)\n",
                reporter.MedianReal["ScrollTopToBottom"], TilesDrawnInScroll, TileCount,
                TilesDrawnInScroll == TileCount ? "yes" : "no");
    Case().Form.reset();
    benchmark::Shutdown();
}
