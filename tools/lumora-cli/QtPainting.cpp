// The module lumora-cli-qt: render's bitmaps, PDF and SVG, painted by the library's Qt canvas.
#include "QtPainting.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>
#ifdef LUMORA_CLI_SVG
#include <QSvgGenerator>
#endif

#include "lumgl_qt/QtCanvas.h"

namespace lumcli {
namespace {

// QFont needs a GUI application object; without a display the offscreen platform serves.
QGuiApplication& guiApplication() {
    static int argc = 1;
    static char name[] = "lumora-cli";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the session (no runtime directory and the like) are no business of
    // a batch run; only real failures reach stderr.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "lumora-cli: Qt: %s\n", qPrintable(text));
    });
    static QGuiApplication app(argc, argv);
    return app;
}

class Painting final : public QtPainting {
  public:
    explicit Painting(const SDeviceRect& rect)
        : rect_(rect),
          scratch_(8, 8, QImage::Format_RGB32),
          scratchPainter_(&scratch_),
          metrics_(scratchPainter_, rect, &scratch_, true) {}

    const lumgl::TextMetrics& metrics() const override { return metrics_; }

    bool paints(const std::string& ext) const override {
#ifdef LUMORA_CLI_SVG
        if (ext == "svg") return true;
#endif
        return ext == "png" || ext == "bmp" || ext == "pdf";
    }

    bool paint(lumgl::DiagramComposer& composer, const std::string& ext,
               std::string& bytes) override {
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        // The whole diagram on one painting device; `bitmap` is the image behind a raster
        // device. Every step is checked, so a failed write is never reported as written.
        const auto draw = [&](QPaintDevice& device, QImage* bitmap) {
            QPainter painter;
            if (!painter.begin(&device)) return false;
            lumgl::QtCanvas canvas(painter, rect_, bitmap, bitmap != nullptr);
            composer.draw(canvas);
            canvas.flush();
            return painter.end();
        };
        bool done = false;
        if (ext == "png" || ext == "bmp") {
            QImage image(rect_.width(), rect_.height(), QImage::Format_RGB32);
            image.fill(Qt::white);
            // Qt turns the quality 85 into zlib level 1: a diagram of flat colours packs
            // nearly as well as at the default level, in a fraction of the time.
            done = draw(image, &image) &&
                   image.save(&buffer, ext == "png" ? "PNG" : "BMP", ext == "png" ? 85 : -1);
        } else if (ext == "pdf") {
            QPdfWriter writer(&buffer);
            writer.setResolution(72);
            writer.setPageSize(QPageSize(QSizeF(rect_.width(), rect_.height()), QPageSize::Point));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            done = draw(writer, nullptr);
        }
#ifdef LUMORA_CLI_SVG
        else if (ext == "svg") {
            QSvgGenerator generator;
            generator.setOutputDevice(&buffer);
            generator.setSize(QSize(rect_.width(), rect_.height()));
            generator.setViewBox(QRect(0, 0, rect_.width(), rect_.height()));
            done = draw(generator, nullptr);
        }
#endif
        // The PDF and SVG writers finish their file when they go; only then is it complete.
        if (done) bytes.assign(out.constData(), static_cast<std::size_t>(out.size()));
        return done;
    }

  private:
    SDeviceRect rect_;
    QImage scratch_;
    QPainter scratchPainter_;
    lumgl::QtCanvas metrics_;
};

}  // namespace
}  // namespace lumcli

extern "C" Q_DECL_EXPORT lumcli::QtPainting* lumoraCliQtPainting(const SDeviceRect& rect) {
    lumcli::guiApplication();
    return new lumcli::Painting(rect);
}
