// The report view with the 100,000 rows of a database search: the first page shown (a new
// view given the finished report, shown and painted), a jump to the end (the End key and
// the paint after it), and the memory a search window of that size takes (result, report
// and view, as the process's resident size grows). The report itself is built once,
// untimed; database_bench times that.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <fstream>
#include <memory>
#include <vector>

#include "QtBenchMain.h"
#include "lumreport/SearchReport.h"
#include "reports/ReportView.h"

namespace {

constexpr std::size_t kRows = 100'000;

// Rows as a search sorted by element gives them: two species in alternating stretches.
std::shared_ptr<const lumreport::Report> searchReport() {
    static const auto report = [] {
        std::vector<CSearchEngineLine> lines(kRows);
        for (std::size_t i = 0; i < kRows; ++i) {
            CSearchEngineLine& l = lines[i];
            const bool iron = (i / 700) % 2 == 0;
            l.wavelength = 190.0f + 0.00275f * static_cast<float>(i);
            l.label = iron ? "Fe I ;0.0411" : "Ti II ;0.25";
            l.color = iron ? 0x0000A0 : 0x00A000;
            l.record = iron ? "0.0411;0.125;3.3351;3d6.4s2 a 5D;z 5F*;4;5;Kommentar"
                            : "0.25;1.08;4.41;3d2.4s a 4F;z 4G*;5;6;";
        }
        SSearchEngineVal values;
        values.LowerWavelength = 190;
        values.UpperWavelength = 465;
        auto built = std::make_shared<lumreport::Report>();
        lumreport::buildSearchReport(*built, lines, values);
        return std::shared_ptr<const lumreport::Report>(built);
    }();
    return report;
}

void paint(ReportView& view) {
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    view.viewport()->render(&image);
}

// The view of a search window on screen with `report`, its first page painted.
void showFirstPage(ReportView& view, std::shared_ptr<const lumreport::Report> report) {
    view.resize(1200, 800);
    view.setReport(std::move(report));
    view.show();
    QCoreApplication::processEvents();
    paint(view);
}

void BM_ReportViewFirstPage(benchmark::State& state) {
    const auto report = searchReport();
    std::size_t painted = 0;
    for (auto _ : state) {
        ReportView view;
        showFirstPage(view, report);
        painted = view.paintedLines().second - view.paintedLines().first;
    }
    state.counters["rows"] = static_cast<double>(report->size());
    state.counters["painted"] = static_cast<double>(painted);
}
BENCHMARK(BM_ReportViewFirstPage)->Unit(benchmark::kMillisecond);

void BM_ReportViewJumpToEnd(benchmark::State& state) {
    ReportView view;
    view.resize(1200, 800);
    view.setReport(searchReport());
    view.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &end);
        paint(view);
        state.PauseTiming();
        if (view.paintedLines().second != view.report()->size()) state.SkipWithError("not at end");
        view.scrollToLine(0);
        view.clearSelection();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReportViewJumpToEnd)->Unit(benchmark::kMillisecond);

// The process's resident size in MB (Linux).
double residentMb() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_SearchWindowMemory(benchmark::State& state) {
    for (auto _ : state) {
        const double before = residentMb();
        std::vector<CSearchEngineLine> lines(kRows);
        for (std::size_t i = 0; i < kRows; ++i) {
            lines[i].wavelength = 190.0f + 0.00275f * static_cast<float>(i);
            lines[i].label = i % 2 ? "Fe I ;0.0411" : "Ti II ;0.25";
            lines[i].record = "0.0411;0.125;3.3351;3d6.4s2 a 5D;z 5F*;4;5;Kommentar";
        }
        SSearchEngineVal values;
        auto report = std::make_shared<lumreport::Report>();
        lumreport::buildSearchReport(*report, lines, values);
        ReportView view;
        showFirstPage(view, report);
        state.counters["MB"] = residentMb() - before;
    }
}
BENCHMARK(BM_SearchWindowMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return lumbench::runWithQt<QApplication>(argc, argv);
}
