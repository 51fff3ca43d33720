// The QPainter canvas: the per-column reduction of dense curves gives exactly the pixels
// of the full walk, the reticle restores exactly what it covered, and docs/diagram.png.
#include "Support.h"

#if __has_include("lumgl_qt/QtCanvas.h")
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <tuple>

#include "lumgl/Drawing.h"
#include "lumgl/Markers.h"
#include "lumgl/RecordingCanvas.h"
#include "lumgl_qt/QtCanvas.h"

// The ranges come from the data at drawing time.
SPlotInfo Diagram(int width, int height) {
    SPlotInfo info = spectra::LinearDiagram(width, height, 0.0f, 0.0f, 0.0f, 0.0f, "Spektrum");
    info.initFlags = kInitXRange | kInitYRange;
    return info;
}

// Draws the diagram into a white image, reduced (as on screen) or with every segment, and
// what more is asked for; without points, the frame alone.
QImage Render(const TPointList& points, SPlotInfo info, bool reduce,
              const std::function<void(const SPlotInfo&, lumgl::QtCanvas&)>& more = {}) {
    const int width = info.plotRect.right, height = info.plotRect.bottom;
    if (points.empty()) info.drawFlags &= static_cast<std::uint16_t>(~kDrawCurve);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        lumgl::QtCanvas canvas(painter, {0, 0, width, height}, &image, reduce);
        PlotDrawing(points, info, canvas);
        if (more) more(info, canvas);
    }
    painter.end();
    return image;
}

int DifferentPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    }
    return n;
}

// Number of lines that reach the canvas when the curve is drawn.
std::size_t CurveLines(const TPointList& points, SPlotInfo info, bool reduce) {
    info.drawFlags &= static_cast<std::uint16_t>(~kDrawFrame);
    lumgl::RecordingCanvas canvas(info.plotRect, reduce);
    PlotDrawing(points, info, canvas);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = canvas.trace().find("line ", at)) != std::string::npos; ++at)
        ++lines;
    return lines;
}

// Dense, sparse, clipped to a zoomed window (leaving the x band for good at 600; the noise
// floor and the line tops leave and re-enter the y band) and on logarithmic axes: the reduced
// curve covers exactly the pixels of the full walk, and the curve really is there.
TEST(ColumnReductionPixels, SameImageAsTheFullWalk) {
    for (const auto& [count, width, height, flags, range] :
         {std::tuple<int, int, int, int, const char*>{400000, 1920, 1080, 0, ""},
          {700, 900, 600, 0, ""},
          {200000, 1000, 700, 0, "400 600 1500 5000"},
          {300000, 1200, 800, kDrawFrame | kDrawCurve, "200 800 100 20000"}}) {
        SCOPED_TRACE(count);
        const TPointList points = spectra::Generate(count);
        SPlotInfo info = Diagram(width, height);
        GetMinMax(points, info);
        if (flags) info.drawFlags = static_cast<std::uint16_t>(flags);  // 0: the diagram's
        if (*range) {
            const std::vector<float> r = table::Floats(range);
            spectra::SetRange(info, r[0], r[1], r[2], r[3]);
        }
        const QImage full = Render(points, info, false);
        EXPECT_EQ(DifferentPixels(full, Render(points, info, true)), 0);
        EXPECT_GT(DifferentPixels(full, Render({}, info, false)), 0);
        if (count == 400000) {
            info.initFlags = 0;
            EXPECT_LT(CurveLines(points, info, true), 4u * 1920u);
            EXPECT_GT(CurveLines(points, info, false), 100000u);
        }
    }
}

TEST(QtReticle, RestoresExactlyTheCoveredPixelsAfterTwoMoves) {
    const TPointList points = spectra::Generate(5000);
    SPlotInfo info = Diagram(800, 500);
    GetMinMax(points, info);
    QImage image(800, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    lumgl::QtCanvas canvas(painter, {0, 0, 800, 500}, &image, true);
    PlotDrawing(points, info, canvas);
    canvas.flush();
    const QImage before = image.copy();
    ReticleBuffers buffers;
    MakeReticleStruct(buffers, true, 1920, 1080);
    auto reticle = [&](SDevicePoint at, bool draw) {
        DrawReticle(info, at, buffers, true, draw, draw, canvas);
        canvas.flush();
    };
    reticle({300, 200}, true);
    EXPECT_GT(DifferentPixels(before, image), 300);  // the cross is visible
    reticle({500, 320}, true);
    // The first cross is gone where the second does not cover it; the second is drawn.
    EXPECT_EQ(image.pixel(300, 250), before.pixel(300, 250));
    EXPECT_EQ(image.pixel(200, 200), before.pixel(200, 200));
    EXPECT_EQ(image.pixel(500, 250), qRgb(0, 0, 0));
    reticle({0, 0}, false);
    EXPECT_EQ(DifferentPixels(before, image), 0);
}

// A vertical line inside the one drawn before is skipped only while nothing else has drawn
// over that column: here a white polygon wipes it, and the shorter line must draw again.
TEST(QtDirectLines, RedrawAColumnAfterSomethingElseDrewOverIt) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    lumgl::QtCanvas canvas(painter, {0, 0, 40, 30}, &image, true);
    canvas.setPen(SPenDesc{MakeColor(255, 0, 0), 1, PenStyle::Solid});
    ASSERT_TRUE(canvas.drawsDirectly());
    canvas.moveTo({10, 0});
    canvas.lineTo({10, 25});
    canvas.setBrush(MakeColor(255, 255, 255));
    const SDevicePoint wipe[] = {{5, 0}, {15, 0}, {15, 29}, {5, 29}};
    canvas.fillPolygon(wipe, 4);
    canvas.moveTo({10, 20});
    canvas.lineTo({10, 5});
    canvas.flush();
    painter.end();
    EXPECT_EQ(image.pixel(10, 12), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(10, 22), qRgb(255, 255, 255));
}

TEST(QtVector, PdfGetsEverySegmentThroughThePainter) {
    const QString path = QDir::temp().filePath("lumgl_qtcanvas_test.pdf");
    {
        QPdfWriter pdf(path);
        pdf.setResolution(96);
        QPainter painter(&pdf);
        const QRect page = painter.viewport();
        lumgl::QtCanvas canvas(painter, {0, 0, page.width(), page.height()}, nullptr, false);
        // No image: every segment and line goes to the painter, nothing can be read back.
        EXPECT_FALSE(canvas.reducesDenseCurves() || canvas.drawsDirectly());
        const TPointList points = spectra::Generate(3000);
        SPlotInfo info = Diagram(page.width(), page.height());
        GetMinMax(points, info);
        PlotDrawing(points, info, canvas);
        EXPECT_EQ(canvas.pixel({10, 10}), MakeColor(255, 255, 255));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_GT(file.size(), 5000);
    file.remove();
}

// docs/diagram.png: a generated spectrum with its found and identified lines, drawn
// through the QPainter canvas. Written with LUMORA_UPDATE_GOLDEN=1, like the goldens.
TEST(DocsDiagram, RendersTheSampleDiagram) {
    const TPointList points = spectra::Generate(20000);
    SPlotInfo info = Diagram(960, 600);
    info.drawFlags |= kDrawXGrid | kDrawYGrid;
    GetMinMax(points, info);
    info.yMax *= 1.35f;  // room for the labels
    info.yTitle = "Intensität [counts]";
    info.title = "Hg-Ar-Lampe (erzeugtes Spektrum)";
    // The found lines at the highest point within 1 nm, identified.
    TLineArray lines;
    for (const auto& [x, label, color] :
         {std::tuple{253.65f, "Hg I 253.65;1", MakeColor(0, 0, 200)},
          std::tuple{435.83f, "Hg I 435.83;0.6", MakeColor(0, 0, 200)},
          std::tuple{546.07f, "Hg I 546.07;0.8", MakeColor(0, 0, 200)},
          std::tuple{696.54f, "Ar I 696.54;0.3", MakeColor(0, 140, 0)}}) {
        float y = 0.0f;
        for (const TPointF& p : points) y = std::fabs(p.x - x) < 1.0f ? std::max(y, p.y) : y;
        lines.add(spectra::Identified(x, y, {label}, {color}));
    }
    const QImage image =
        Render(points, info, true, [&](const SPlotInfo& drawn, lumgl::QtCanvas& canvas) {
            DrawSearchedLines(lines, drawn, canvas);
            DrawIdentifiedElements(lines, true, 0, drawn, canvas);
        });
    EXPECT_GT(DifferentPixels(image, Render({}, info, true)), 1000);
    if (golden::Updating()) {
        ASSERT_TRUE(image.save(QString(LUMORA_TEST_DATA) + "/../docs/diagram.png"));
    }
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
#else
// Built without the Qt canvas (LUMORA_BUILD_GUI=OFF): nothing to test here.
TEST(QtCanvas, NeedsTheQtTarget) {
    GTEST_SKIP() << "lumgl_qt is not built";
}
#endif
