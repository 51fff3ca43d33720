// The diagram window's own costs: adding a million-point ASCII spectrum to a document beside
// reading the same file alone (the document must not copy the points), painting twelve
// million-point spectra into a 1200 x 800 window, the window's reticle step, full redraw
// and expose from its cached image at 1920 x 1080, deleting 20,000 identified lines at
// once (command 156), its undo and its redo, and calibrating a million pixel numbers with
// 10,000 found lines (command 132), its undo and its redo; and identifying a million points
// against every species of the sample database (command 152) through the window beside the
// bare library calls on the same data, with the longest time the window dispatched no event.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "BenchRunHost.h"
#include "QtBenchMain.h"
#include "SilentUi.h"
#include "SyntheticSpectrum.h"
#include "app/AppContext.h"
#include "app/Commands.h"
#include "diagram/DiagramDocument.h"
#include "diagram/DiagramPainter.h"
#include "diagram/LumoraWindow.h"
#include "lumdb/Analysis.h"
#include "lumdb/Database.h"
#include "lumgl/lumgl.h"
#include "lumgl_qt/QtCanvas.h"
#include "lumio/Writers.h"
#include "lumio/lumio.h"

namespace {

constexpr std::size_t kPoints = 1'000'000;

TPointList spectrum(std::uint64_t seed) {
    lumbench::SpectrumRecipe recipe;
    recipe.points = kPoints;
    recipe.seed = static_cast<std::uint32_t>(seed);
    return lumbench::makeSpectrum(recipe).points;
}

const std::string& asciiFile() {
    static const std::string path = [] {
        const char* env = std::getenv("LUMIO_BENCH_DIR");
        const std::string dir = env ? env : "/tmp/lumio-bench";
        std::filesystem::create_directories(dir);
        SpectrumRecord r;
        r.points = spectrum(1);
        r.fileName = dir + "/diagram_1m.txt";
        lumbench::SilentUi ui;
        if (WriteFileData(ui, r, 3) != lumio::WriteResult::Done) std::abort();
        return r.fileName;
    }();
    return path;
}

void BM_ReadFileData(benchmark::State& state) {
    lumbench::SilentUi ui;
    for (auto _ : state) {
        SpectrumRecord r;
        r.fileName = asciiFile();
        benchmark::DoNotOptimize(ReadFileData(ui, r, 1));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPoints);
}

void BM_AddSpectrumRecord(benchmark::State& state) {
    lumbench::SilentUi ui;
    for (auto _ : state) {
        DiagramDocument document;
        benchmark::DoNotOptimize(document.addSpectrum(asciiFile(), ui, 1, {}));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kPoints);
}

void BM_DiagramPainter12x1M(benchmark::State& state) {
    DiagramDocument document;
    for (std::uint64_t k = 0; k < 12; ++k) {
        SpectrumRecord* r = document.overlays().prepareNext();
        r->points = spectrum(k + 1);
        GetMinMax(r->points, r->plotInfo);
        document.overlays().commitNext();
    }
    const SPlotInfo& first = document.overlays().record(0).plotInfo;
    document.plot().xMin = first.xMin;
    document.plot().xMax = first.xMax;
    document.plot().yMin = first.yMin;
    document.plot().yMax = first.yMax * 1.1f;
    document.plot().plotRect = SDeviceRect{0, 0, 1200, 800};
    QImage image(1200, 800, QImage::Format_RGB32);
    const DiagramPainter painter;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        lumgl::QtCanvas canvas(p, SDeviceRect{0, 0, 1200, 800}, &image, true);
        painter.paint(canvas, document);
        canvas.flush();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 12 * kPoints);
}

// A diagram whose spectrum shows 20,000 identified lines, each with six candidates of three
// species and their three species entries, texts as long as the database's.
void showIdentifiedLines(DiagramDocument& document) {
    SpectrumRecord* r = document.overlays().prepareNext();
    r->points = {{200, 1}, {800, 1}};
    document.overlays().commitNext();
    document.analysisDisplay = true;
    SpectrumRecord& cur = document.overlays().currentRecord();
    cur.foundLinesShown = 1;
    cur.spectrumLines.reserve(20'000);
    for (int k = 0; k < 20'000; ++k) {
        CLine line(200.0f + 0.03f * float(k), float(k % 977));
        for (const char* species : {"Fe I ", "Fe II ", "Ca I "}) {
            for (int c = 0; c < 2; ++c) {
                const std::string wl = std::to_string(line.x + 0.001f * float(c));
                line.candidateLabels.push_back(species + wl + ";0.25");
                line.candidateColors.push_back(MakeColor(128, 0, 0));
                line.candidateRecords.push_back("0.25;19350.891;45881.207;a5D;z5P;4;3;");
            }
            line.speciesLabels.push_back(line.candidateLabels.back() + "*");
            line.speciesColors.push_back(MakeColor(128, 0, 0));
            line.speciesRecords.push_back(line.candidateRecords.back());
        }
        cur.spectrumLines.add(std::move(line));
    }
}

// The steps of deleting all lines, undoing and redoing it.
enum class Step { Delete, Undo, Redo };

// Deletes the 20,000 lines, undoes that (and redoes and undoes it again when `timed` is
// Redo), and drops the history, over and over; only the step `timed` is on the clock.
void deleteAllLinesCycle(benchmark::State& state, Step timed) {
    DiagramDocument document;
    showIdentifiedLines(document);
    const auto step = [&](std::optional<Step> which, const auto& action) {
        if (which != timed) state.PauseTiming();
        action();
        if (which != timed) state.ResumeTiming();
    };
    for (auto _ : state) {
        step(Step::Delete, [&] { document.deleteAllLines(); });
        step(Step::Undo, [&] { document.undo(); });
        if (timed == Step::Redo) {
            step(Step::Redo, [&] { document.redo(); });
            step(std::nullopt, [&] { document.undo(); });
        }
        step(std::nullopt, [&] { document.flushHistory(); });
    }
}

void BM_DeleteAllLines20k(benchmark::State& state) {
    deleteAllLinesCycle(state, Step::Delete);
}
void BM_UndoDeleteAllLines20k(benchmark::State& state) {
    deleteAllLinesCycle(state, Step::Undo);
}
void BM_RedoDeleteAllLines20k(benchmark::State& state) {
    deleteAllLinesCycle(state, Step::Redo);
}

// A million pixel numbers with 10,000 found lines, calibrated (arg 0), the calibration undone
// (1) or redone (2), over and over; only that step is on the clock. The history entry keeps
// the replaced x values: its size per point is reported.
void BM_Calibration1M(benchmark::State& state) {
    DiagramDocument document;
    SpectrumRecord* r = document.overlays().prepareNext();
    r->points = spectrum(3);
    for (std::size_t i = 0; i < r->points.size(); ++i) r->points[i].x = float(i);
    r->xFormat.formatCode = 2;
    document.overlays().commitNext();
    SpectrumRecord& cur = document.overlays().currentRecord();
    cur.foundLinesShown = 1;
    for (int k = 0; k < 10'000; ++k) cur.spectrumLines.add(CLine(float(k) * 100.0f, 1.0f));
    const auto calibration = lumdb::PixelCalibration::fromTwoPoints(0, 200, 999'999, 800);
    const int timed = int(state.range(0));
    const auto step = [&](int which, const auto& action) {
        if (which != timed) state.PauseTiming();
        action();
        if (which != timed) state.ResumeTiming();
    };
    for (auto _ : state) {
        step(0, [&] { document.calibratePixels(0, calibration); });
        step(1, [&] { document.undo(); });
        step(2, [&] { document.redo(); });
        step(-1, [&] {
            document.undo();
            document.flushHistory();
        });
    }
}

// A 1920 x 1080 diagram window of twelve spectra of `points` points each, the current one
// with 1,000 identified lines shown, and the reticle on; made once per size.
std::unique_ptr<AppContext> context;
std::map<std::size_t, std::unique_ptr<LumoraWindow>> windows;

LumoraWindow& diagramWindow(std::size_t points) {
    if (!context) context = std::make_unique<AppContext>(AppContext::Services{});
    std::unique_ptr<LumoraWindow>& window = windows[points];
    if (window) return *window;
    window = std::make_unique<LumoraWindow>(*context);
    DiagramDocument& document = window->document();
    for (std::uint32_t k = 0; k < 12; ++k) {
        lumbench::SpectrumRecipe recipe;
        recipe.points = points;
        recipe.seed = k + 1;
        SpectrumRecord* r = document.overlays().prepareNext();
        r->points = lumbench::makeSpectrum(recipe).points;
        GetMinMax(r->points, r->plotInfo);
        document.overlays().commitNext();
    }
    SpectrumRecord& current = document.overlays().currentRecord();
    for (int i = 0; i < 1000; ++i) {
        const TPointF& p = current.points[current.points.size() * std::size_t(i) / 1000];
        CLine line(p.x, p.y);
        line.speciesLabels.push_back("Fe I " + std::to_string(p.x) + ";0.5");
        line.speciesColors.push_back(0xFF);
        line.speciesRecords.push_back("0;0;0;0;0;1;2");
        current.spectrumLines.add(line);
    }
    current.foundLinesShown = true;
    document.analysisDisplay = true;
    document.autoscale(true, true);
    window->resize(1920, 1080);
    window->show();
    window->setReticleShown(true);
    window->repaint();
    QCoreApplication::processEvents();
    return *window;
}

void BM_ReticleStep(benchmark::State& state) {
    LumoraWindow& window = diagramWindow(std::size_t(state.range(0)));
    int steps = 1;
    for (auto _ : state) {
        if (!window.stepReticle(steps)) state.SkipWithError("the reticle did not move");
        steps = -steps;
        QCoreApplication::processEvents();  // the two lines' pixels reach the screen
    }
}

void BM_DiagramRedraw(benchmark::State& state) {
    LumoraWindow& window = diagramWindow(std::size_t(state.range(0)));
    if (!window.isVisible()) state.SkipWithError("the window is not shown");
    for (auto _ : state) {
        window.redraw();
        window.repaint();
    }
}

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

void BM_DiagramExpose(benchmark::State& state) {
    LumoraWindow& window = diagramWindow(std::size_t(state.range(0)));
    PaintCounter counter;
    window.installEventFilter(&counter);
    for (auto _ : state) window.repaint();
    window.removeEventFilter(&counter);
    if (counter.paints < state.iterations()) state.SkipWithError("the window was not painted");
}

// Command 152 on a million points with every species of the sample database selected: once
// through a shown 1200 x 800 window (its guard, protocol and dialog, the run host with its
// status dialog), once as the bare LineSearch and LineIdentification on the same data and
// settings. The window's run reports the longest time between two dispatches of events from
// the command until it returns, and the time of the repaint that follows it (off the clock,
// one event: the diagram with every identified line's label).
const std::string kDataDir = LUMORA_PROGRAM_DIR "/Data/";

const TPointList& identifyPoints() {
    static const TPointList points = spectrum(7);
    return points;
}

TElementArray everySpecies() {
    TElementArray elements;
    GetElements(LUMORA_PROGRAM_DIR, elements);
    for (CElement& e : elements) e.selected = true;
    return elements;
}

SSelectElVal everyStage(SSelectElVal select) {
    select.Neutrals = select.FirstIons = select.HigherIons = true;
    return select;
}

std::unique_ptr<LumoraWindow> identifyWindow_;

LumoraWindow& identifyWindow() {
    if (identifyWindow_) return *identifyWindow_;
    if (!context) context = std::make_unique<AppContext>(AppContext::Services{});
    context->dataDir = QString::fromStdString(kDataDir);
    identifyWindow_ = std::make_unique<LumoraWindow>(*context);
    DiagramDocument& document = identifyWindow_->document();
    SpectrumRecord* r = document.overlays().prepareNext();
    r->points = identifyPoints();
    r->fileName = "synthetic_1m.txt";
    GetMinMax(r->points, r->plotInfo);
    document.overlays().commitNext();
    document.identificationElements = everySpecies();
    // The built-in settings, whatever a settings file beside the bench holds.
    document.analysis = lumdb::AnalysisSettings::defaults();
    document.analysis.select = everyStage(document.analysis.select);
    document.autoscale(true, true);
    identifyWindow_->resize(1200, 800);
    identifyWindow_->show();
    identifyWindow_->commands().run(cmd::OpenIdentification);
    QCoreApplication::processEvents();
    return *identifyWindow_;
}

// The longest gap between two event dispatches while it is on: a zero-interval timer fires at
// every dispatch.
class DispatchGaps {
  public:
    DispatchGaps() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start(0);
    }
    ~DispatchGaps() { timer_.stop(); }
    void tick() {
        const auto now = std::chrono::steady_clock::now();
        longest_ =
            std::max(longest_, std::chrono::duration<double, std::milli>(now - last_).count());
        last_ = now;
    }
    double longest() const { return longest_; }

  private:
    QTimer timer_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
    double longest_ = 0.0;
};

// Argument 0: the program's run host (QtRunHost with its status dialog); 1: the bench run
// host, which leaves the window's own share. The runs follow each other in one window, as a
// user repeats them; its protocol grows by their lines.
void BM_IdentifyWindow1M(benchmark::State& state) {
    std::size_t lines = 0;
    double longest = 0.0;
    double repaint = 0.0;
    double longestRepaint = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        LumoraWindow& window = identifyWindow();
        if (state.range(0) == 1)
            context->setRunHostFactory(
                [](QWidget*) { return std::make_unique<lumbench::BenchRunHost>(); });
        else
            context->setRunHostFactory({});
        state.ResumeTiming();
        DispatchGaps gaps;
        if (!window.commands().run(cmd::IdentifySpectrum)) state.SkipWithError("152 refused");
        gaps.tick();
        longest = std::max(longest, gaps.longest());
        // The repaint the run asked for, off the clock: the run's cost is compared.
        state.PauseTiming();
        const auto ran = std::chrono::steady_clock::now();
        QCoreApplication::processEvents();
        const double painted =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - ran)
                .count();
        repaint += painted;
        longestRepaint = std::max(longestRepaint, painted);
        lines = window.document().overlays().currentRecord().spectrumLines.size();
        state.ResumeTiming();
    }
    state.counters["lines"] = double(lines);
    state.counters["longest_gap_ms"] = longest;
    state.counters["repaint_max_ms"] = longestRepaint;
    state.counters["repaint_ms"] = repaint / double(state.iterations());
}

void BM_IdentifyLibrary1M(benchmark::State& state) {
    const TPointList& points = identifyPoints();
    TElementArray elements = everySpecies();
    // The window's settings, as it passes them.
    lumdb::AnalysisSettings settings = lumdb::AnalysisSettings::defaults();
    SLineSearchVal search = settings.search;
    search.zoomFrom = std::min(points.front().x, points.back().x);
    search.zoomTo = std::max(points.front().x, points.back().x);
    SSelectElVal select = everyStage(settings.select);
    select.decipherMode = 0;
    TLineArray lines;
    TPointList smoothed;
    lumbench::BenchRunHost host;
    for (auto _ : state) {
        lines.clear();
        smoothed.clear();
        if (LineSearch(host, points, smoothed, lines, &search) != 1 ||
            LineIdentification(host, kDataDir, lines, elements, select) != 1)
            state.SkipWithError("run failed");
    }
    state.counters["lines"] = double(lines.size());
}

}  // namespace

BENCHMARK(BM_ReticleStep)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiagramRedraw)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiagramExpose)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileData)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddSpectrumRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiagramPainter12x1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteAllLines20k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteAllLines20k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Calibration1M)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteAllLines20k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentifyLibrary1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdentifyWindow1M)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The window benchmarks need widgets, so the application is a QApplication; the windows
// and their context go before it does.
int main(int argc, char** argv) {
    return lumbench::runWithQt<QApplication>(argc, argv, [] {
        windows.clear();
        identifyWindow_.reset();
        context.reset();
    });
}
