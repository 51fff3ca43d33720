#include "reports/LineInfoFrameWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMenuBar>
#include <climits>

#include "app/AppContext.h"
#include "lumreport/LineInfoReport.h"
#include "lumreport/ReportWriters.h"
#include "lumreport/SearchReport.h"
#include "reports/ReportPreview.h"
#include "reports/ReportView.h"
#include "services/ShowStatusDialog.h"
#include "services/WaitCursor.h"

namespace {

constexpr qsizetype kMaxCaption = 255;
constexpr qint64 kPumpIntervalMs = 20;

}  // namespace

LineInfoFrameWindow::LineInfoFrameWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      context_(context),
      view_(new ReportView(this)),
      report_(std::make_shared<lumreport::Report>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setBackgroundRole(QPalette::Window);
    setCentralWidget(view_);
    resize(720, 480);
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->addAction(QStringLiteral("Speichern &unter ..."), this, &LineInfoFrameWindow::save);
    file->addAction(QStringLiteral("&Drucken..."), this, [this] { print(false); });
    file->addAction(QStringLiteral("Druck&vorschau"), this, [this] { print(true); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Schließen"), this, &QWidget::close);
    view_->setReport(report_);
}

LineInfoFrameWindow::~LineInfoFrameWindow() = default;

void LineInfoFrameWindow::setCaption(const QString& caption) {
    setWindowTitle(caption.left(kMaxCaption));
}

bool LineInfoFrameWindow::write(Kind kind, bool append, std::size_t count,
                                const std::function<void(lumreport::Report&, std::size_t)>& write) {
    // The view keeps showing the old report until the new one is complete.
    auto report = std::make_shared<lumreport::Report>();
    if (append && kind == kind_) report->append(*report_);
    const int last = int(std::min<std::size_t>(count, INT_MAX)) - 1;
    ShowStatusDialog status(QString::fromUtf8(lumreport::kLineInfoProcess),
                            QString::fromUtf8(lumreport::kReportPhase), 0, std::max(0, last),
                            parentWidget());
    status.Start();
    QElapsedTimer sincePump;
    for (std::size_t i = 0; i < count && !status.cancelled(); ++i) {
        if (!sincePump.isValid() || sincePump.elapsed() >= kPumpIntervalMs) {
            status.SetProgress(int(std::min<std::size_t>(i, INT_MAX)));
            QCoreApplication::processEvents();
            sincePump.start();
        }
        write(*report, i);  // a cancel stops after the item under way
    }
    const bool completed = !status.cancelled();
    status.close();
    kind_ = kind;
    report_ = std::move(report);
    view_->setReport(report_);
    show();
    raise();
    activateWindow();
    return completed;
}

bool LineInfoFrameWindow::writeLineReport(const CLine& line, int intensityOption, bool append) {
    return write(Kind::FoundLines, append, 1, [&](lumreport::Report& r, std::size_t) {
        lumreport::appendFoundLineBlock(r, line, intensityOption);
    });
}

bool LineInfoFrameWindow::writeAllLinesReport(std::span<const CLine> lines, int intensityOption) {
    return write(Kind::FoundLines, false, lines.size(), [&](lumreport::Report& r, std::size_t i) {
        lumreport::appendFoundLineBlock(r, lines[i], intensityOption);
    });
}

bool LineInfoFrameWindow::writeDatabaseLineReport(const CSearchEngineLine& line,
                                                  int intensityOption, bool append) {
    return write(Kind::DatabaseLines, append, 1, [&](lumreport::Report& r, std::size_t) {
        lumreport::appendDatabaseLinesBlock(r, std::span(&line, 1), intensityOption);
    });
}

bool LineInfoFrameWindow::writeAllDatabaseLinesReport(std::span<const CSearchEngineLine> lines,
                                                      int intensityOption) {
    // One block with one header: the lines are its rows.
    return write(Kind::DatabaseLines, false, 1, [&](lumreport::Report& r, std::size_t) {
        lumreport::appendDatabaseLinesBlock(r, lines, intensityOption);
    });
}

void LineInfoFrameWindow::save() {
    const QString path = context_.chooseReportFile(this, QStringLiteral("Speichern unter"));
    if (!path.isEmpty()) saveTo(path);
}

bool LineInfoFrameWindow::saveTo(const QString& path) {
    bool written;
    {
        const WaitCursor wait;
        const std::string target = path.toStdString();
        written = QFileInfo(path).suffix().compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0
                      ? lumreport::saveReportRtf(target, *report_)
                      : lumreport::saveReportPlainText(target, *report_);
    }
    if (!written) context_.reportUnwritable(this, path);
    return written;
}

void LineInfoFrameWindow::print(bool preview) {
    const QString title =
        QString::fromStdString(lumreport::lineInfoTitle(windowTitle().toStdString()));
    printReport(context_, this, *report_, title, preview,
                windowTitle() + QStringLiteral(" - Linieninformation (Druckvorschau)"));
}
