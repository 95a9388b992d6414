// The two dialogs a user opens most while editing a game-sized set:
// - the property editor opened by Edit on a tile, a border, a variation rule and a tile rule,
//   timed from handing the request to RunPropertyForm until the window has had its first
//   paint (its layout, fields and element strip drawn);
// - the Targa import dialog listing a folder of 800 pictures, and previewing one chosen by a
//   click in the file list, timed until the preview has been painted.
// Target for each: under 100 ms, the point where a user sees a pause.

#include "GameSet.h"
#include "ImportTGAForm.h"
#include "PropertyForm.h"
#include "Prompts.h"
#include "RatioReporter.h"
#include "ScratchFolder.h"
#include "Targa.h"

#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace kestrund;
using namespace kestrund::bench;

namespace {

constexpr int PictureCount = 800;

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) * 1e-9;
}

// Only the forms' constructors need prompts; nothing in the timed work asks anything.
class TSilentPrompts final : public TPrompts {
public:
    std::optional<std::string> OpenFile(const TFileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const TFileDialogRequest&) override { return std::nullopt; }
    int Message(const std::string&, TMsgType, int) override { return mbCancel; }
    std::optional<TColor> ChooseColor(TColor) override { return std::nullopt; }
    void About(const std::string&, const std::string&) override {}
};

// Counts the paint events a widget receives, and runs a hook on each before it is painted.
class TPaintWatch final : public QObject {
public:
    int Count = 0;
    std::function<void()> OnPaint;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++Count;
            if (OnPaint)
                OnPaint();
        }
        return false;
    }
};

const std::string& Folder()
{
    return ScratchFolder("dialogs");
}

std::string PictureFolder()
{
    return Folder() + "/pictures";
}

std::string PictureName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "tile%04d.tga", i);
    return name;
}

// 800 tile-sized 16-bit pictures, each a different pattern, and an empty sibling folder to
// switch away to between listings.
void WritePictures()
{
    std::filesystem::create_directories(PictureFolder());
    std::filesystem::create_directories(Folder() + "/empty");
    std::mt19937 random(1);
    for (int i = 0; i < PictureCount; ++i) {
        TPictureBuffer picture(TileWidth, TileHeight, Transparent);
        const int top = static_cast<int>(random() % 40);
        for (int x = 0; x < TileWidth; ++x)
            for (int y = top; y < TileHeight; ++y)
                if (std::abs(x - TileWidth / 2) < (y - top) * 2)
                    picture(x, y) = static_cast<std::uint16_t>(random() & 0x7FFF);
        WriteTGA(picture, PictureFolder() + "/" + PictureName(i));
    }
}

struct TForms {
    TSilentPrompts Prompts;
    std::unique_ptr<TTileFile> Set = MakeGameSet(1);
    std::unique_ptr<TPropertyForm> Property;
    std::unique_ptr<TImportTGAForm> Import;
};

TForms& Forms()
{
    static TForms forms;
    if (!forms.Property) {
        forms.Property = std::make_unique<TPropertyForm>(forms.Prompts, Folder() + "/property.ini");
        forms.Import = std::make_unique<TImportTGAForm>(Folder() + "/import.ini");
    }
    return forms;
}

struct TOpenTiming {
    double Wall = 0, Cpu = 0;
    bool StripPainted = false;
};

// One Edit as the main window runs it: RunPropertyForm with the request, stopped by a queued
// Cancel that runs after the window's first paint has finished.
TOpenTiming OpenOnce(const TElementEditRequest& request)
{
    TForms& f = Forms();
    TPropertyForm& form = *f.Property;
    auto* strip = form.findChild<QAbstractScrollArea*>("dgTiles");
    TPaintWatch windowWatch, stripWatch;
    form.installEventFilter(&windowWatch);
    strip->viewport()->installEventFilter(&stripWatch);

    TOpenTiming timing;
    QElapsedTimer wall;
    double cpuStart = 0;
    bool stopped = false;
    windowWatch.OnPaint = [&] {
        if (windowWatch.Count != 1)
            return;
        QTimer::singleShot(0, &form, [&] {
            timing.Wall = Seconds(wall);
            timing.Cpu = ThreadCpuSeconds() - cpuStart;
            timing.StripPainted = stripWatch.Count > 0;
            stopped = true;
            form.reject();
        });
    };
    QTimer fallback; // a window that never paints must not hang the run
    fallback.setSingleShot(true);
    QObject::connect(&fallback, &QTimer::timeout, &form, [&form] { form.reject(); });
    fallback.start(5000);
    cpuStart = ThreadCpuSeconds();
    wall.start();
    const auto result = RunPropertyForm(form, request);
    fallback.stop();
    form.removeEventFilter(&windowWatch);
    strip->viewport()->removeEventFilter(&stripWatch);
    if (!stopped || result)
        throw std::runtime_error("the property editor was not painted");
    return timing;
}

std::map<std::string, std::vector<double>> CpuSamples, WallSamples;

void OpenProperty(benchmark::State& state, std::string name, TPropertyKind kind, int position)
{
    TForms& f = Forms();
    TElementEditRequest request;
    request.Kind = kind;
    request.Add = false;
    request.Set = f.Set.get();
    request.Position = position;
    request.ImageDirectory = PictureFolder();
    const bool hasStrip = kind != pkTileRule;
    for (auto _ : state) {
        const TOpenTiming t = OpenOnce(request);
        if (hasStrip && !t.StripPainted) {
            state.SkipWithError("the element strip was not painted");
            break;
        }
        state.SetIterationTime(t.Wall);
        CpuSamples[name].push_back(t.Cpu);
        WallSamples[name].push_back(t.Wall);
    }
}

QListWidget* FileList()
{
    return Forms().Import->findChild<QListWidget*>("FileListBox");
}

// Switching from the empty folder to the picture folder until its files are listed; with
// paint, until the shown window has been redrawn with them too.
void ListFolder(benchmark::State& state, std::string name, bool paint)
{
    TImportTGAForm& form = *Forms().Import;
    if (paint)
        form.show();
    for (auto _ : state) {
        state.PauseTiming();
        form.SetImportDirectory(Folder() + "/empty");
        if (paint)
            form.repaint();
        QApplication::processEvents();
        state.ResumeTiming();
        QElapsedTimer wall;
        const double cpuStart = ThreadCpuSeconds();
        wall.start();
        form.SetImportDirectory(PictureFolder());
        if (paint)
            form.repaint();
        state.SetIterationTime(Seconds(wall));
        CpuSamples[name].push_back(ThreadCpuSeconds() - cpuStart);
        WallSamples[name].push_back(Seconds(wall));
        if (FileList()->count() != PictureCount) {
            state.SkipWithError("the file list does not hold every picture");
            break;
        }
    }
    state.counters["rows"] = FileList()->count();
    form.hide();
}

void Click(QWidget* target, const QPoint& at)
{
    const QPointF local(at), global(target->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// A click on a file in the list until the preview has been painted with it; two neighbouring
// files in turn, so every click changes the choice.
void PreviewFile(benchmark::State& state, std::string name)
{
    TImportTGAForm& form = *Forms().Import;
    auto* preview = form.findChild<QWidget*>("pbPreView");
    auto* caption = form.findChild<QLabel*>("lPreViewCaption");
    TPaintWatch watch;
    preview->installEventFilter(&watch);
    form.show();
    form.SetImportDirectory(PictureFolder());
    QListWidget* list = FileList();
    const int first = PictureCount / 2;
    // The folder keeps its chosen file between runs: start from a third one, so the first
    // click changes the choice too.
    list->setCurrentRow(first - 1);
    list->scrollToItem(list->item(first));
    QApplication::processEvents();
    int row = first;
    for (auto _ : state) {
        row = row == first ? first + 1 : first;
        const QPoint at = list->visualItemRect(list->item(row)).center();
        const int painted = watch.Count;
        QElapsedTimer wall;
        const double cpuStart = ThreadCpuSeconds();
        wall.start();
        Click(list->viewport(), at);
        while (watch.Count == painted && wall.elapsed() < 5000)
            QApplication::processEvents();
        state.SetIterationTime(Seconds(wall));
        CpuSamples[name].push_back(ThreadCpuSeconds() - cpuStart);
        WallSamples[name].push_back(Seconds(wall));
        const std::string chosen = form.GetImportFileName();
        if (watch.Count == painted || chosen.size() < 12 || chosen.substr(chosen.size() - 12) != PictureName(row) ||
            !caption->text().isEmpty()) {
            state.SkipWithError("the preview does not show the clicked file");
            break;
        }
    }
    preview->removeEventFilter(&watch);
    form.hide();
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Max(const std::vector<double>& v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    WritePictures();

    // The first use of each dialog also makes its window and loads fonts; shown once, apart.
    TElementEditRequest first;
    first.Kind = pkTile;
    first.Add = false;
    first.Set = Forms().Set.get();
    first.Position = 200;
    const double firstOpen = OpenOnce(first).Wall;
    QElapsedTimer firstListing;
    firstListing.start();
    Forms().Import->SetImportDirectory(PictureFolder());
    const double firstList = Seconds(firstListing);

    struct TOpenCase {
        const char* Name;
        TPropertyKind Kind;
        int Position;
    };
    const TOpenCase opens[] = {{"OpenProperty/tile200", pkTile, 200},
                               {"OpenProperty/border110", pkBorder, 110},
                               {"OpenProperty/variationrule7", pkVariationRule, 7},
                               {"OpenProperty/tilerule150", pkTileRule, 150}};
    auto configure = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(7)->ReportAggregatesOnly(true)->MinTime(0.2);
    };
    for (const TOpenCase& c : opens)
        configure(benchmark::RegisterBenchmark(c.Name, OpenProperty, std::string(c.Name), c.Kind, c.Position));
    configure(benchmark::RegisterBenchmark("ImportList/800", ListFolder, std::string("ImportList/800"), false));
    configure(benchmark::RegisterBenchmark("ImportListPaint/800", ListFolder, std::string("ImportListPaint/800"), true));
    configure(benchmark::RegisterBenchmark("ImportPreview/click", PreviewFile, std::string("ImportPreview/click")));
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const TTileFile& set = *Forms().Set;
    std::printf("\nset: %zu rules, %zu borders, %zu tiles, %zu variation rules; folder of %d pictures %dx%d\n",
                set.TileRuleCount(), set.BorderCount(), set.TileCount(), set.VariationRuleCount(), PictureCount,
                TileWidth, TileHeight);
    std::printf("first use (window made):  property editor on tile 200 %.3f ms, listing 800 pictures %.3f ms\n",
                firstOpen * 1000, firstList * 1000);
    std::printf("median wall (manual time) per case; thread CPU median and slowest single run from every iteration\n");
    auto line = [&](const std::string& name, const char* what) {
        if (!reporter.MedianReal.count(name))
            return;
        std::printf("%-44s %8.3f ms wall  (CPU %.3f ms, slowest %.3f ms)   target < 100 ms\n", what,
                    reporter.MedianReal[name], Median(CpuSamples[name]) * 1000, Max(WallSamples[name]) * 1000);
    };
    line("OpenProperty/tile200", "open property editor, tile 200:");
    line("OpenProperty/border110", "open property editor, border 110:");
    line("OpenProperty/variationrule7", "open property editor, variation rule 7:");
    line("OpenProperty/tilerule150", "open property editor, tile rule 150:");
    line("ImportList/800", "import dialog, list 800 pictures:");
    line("ImportListPaint/800", "import dialog, list 800 pictures + repaint:");
    line("ImportPreview/click", "import dialog, click a file until previewed:");
    // The forms go before the application does.
    TForms& forms = Forms();
    forms.Property.reset();
    forms.Import.reset();
    return 0;
}
