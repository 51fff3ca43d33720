// The smoothed data of a line search drawn over the current spectrum: in a pen of its own and
// mapped as the spectrum is, only while the filter-data byte is set, following a shift of the
// spectrum and its undo, gone when another spectrum becomes current (also a new smoothed
// overlay, which takes its own scaling values) or it closes.
#include <QtTest>
#include <cmath>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "lumgl/RecordingCanvas.h"

namespace {

std::string peaks(double centre) {
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        const double x = 400.0 + i * 0.01;
        const double y = 100 + 900 * std::exp(-std::pow((x - centre) / 0.05, 2)) + (i % 7);
        text += std::to_string(x) + ' ' + std::to_string(y) + '\n';
    }
    return text;
}

// The moves and lines drawn after the first choice of `pen`, up to the next pen.
std::string pathAfter(const std::string& trace, const std::string& pen) {
    const std::size_t at = trace.find("pen " + pen + "\n");
    if (at == std::string::npos) return {};
    const std::size_t from = trace.find('\n', at) + 1;
    const std::size_t to = trace.find("pen ", from);
    return trace.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

std::string traceOf(LumoraWindow& w) {
    lumgl::RecordingCanvas canvas(SDeviceRect{0, 0, 720, 460});
    w.painter().paint(canvas, w.document(), DiagramPainter::Target::Output);
    return canvas.trace();
}

}  // namespace

class SmoothedCurveTest : public QObject {
    Q_OBJECT
  private slots:
    void drawnOverTheCurrentSpectrum() {
        DiagramSession s;
        QVERIFY(s.started);
        LumoraWindow* w = s.open(s.write("a.txt", peaks(405)));
        QVERIFY(w);
        DiagramDocument& doc = w->document();
        doc.analysis.search.SGFilter = true;
        doc.analysis.search.PolynomOrder = 2;
        doc.analysis.search.FilterWidth = 5;
        doc.analysis.filterData = true;
        doc.runIdentification = false;
        QVERIFY(s.shell.trigger(cmd::OpenIdentification));
        QVERIFY(s.shell.trigger(cmd::IdentifySpectrum));
        QCOMPARE(doc.smoothed.size(), doc.overlays().currentRecord().points.size());

        const std::string smoothed = pathAfter(traceOf(*w), "#808080 1 solid");
        QVERIFY(std::count(smoothed.begin(), smoothed.end(), '\n') > 100);
        QVERIFY(smoothed.rfind("move ", 0) == 0);
        doc.analysis.filterData = false;
        QVERIFY(traceOf(*w).find("#808080") == std::string::npos);

        // Drawn as the spectrum itself would be with the smoothed values.
        SpectrumRecord& r = doc.overlays().currentRecord();
        const TPointList measured = r.points;
        r.points = doc.smoothed;
        QCOMPARE(pathAfter(traceOf(*w), "#ff0000 1 solid"), smoothed);
        r.points = measured;

        // A shift moves it with the spectrum, and so does its undo.
        const float x0 = doc.smoothed.front().x;
        QVERIFY(w->applyScaling({1.0f, 1.0f, 0.0f, 1.0f}));
        QVERIFY(std::abs(doc.smoothed.front().x - (x0 + 1.0f)) < 1e-3f);
        QVERIFY(doc.undo());
        QVERIFY(std::abs(doc.smoothed.front().x - x0) < 1e-3f);

        // Smoothing into a new overlay: that one is current, with its own scaling values.
        QVERIFY(w->applyScaling({0.5f, 1.0f, 0.0f, 1.0f}));
        s.shell.dialogs.scripts.push_back([](QDialog& d) { d.accept(); });
        QVERIFY(s.shell.trigger(cmd::Smoothing));
        QCOMPARE(doc.overlays().count(), 2u);
        QVERIFY(doc.smoothed.empty());
        QCOMPARE(doc.scaling, (std::array<float, 4>{0.0f, 1.0f, 0.0f, 1.0f}));
        doc.closeCurrent();

        // Another spectrum becomes current: the curve is not its own. Closing it goes too.
        QVERIFY(w->addSpectrumFile(s.write("b.txt", peaks(410))));
        QVERIFY(doc.smoothed.empty());
        QVERIFY(s.shell.trigger(cmd::IdentifySpectrum));
        QVERIFY(!doc.smoothed.empty());
        doc.closeCurrent();
        QVERIFY(doc.smoothed.empty());
    }
};

QTEST_MAIN(SmoothedCurveTest)
#include "smoothed_curve_test.moc"
