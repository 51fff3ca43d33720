// The database search window: the question, the search, the report and its output.
#include "reports/SearchEngineEdit.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "app/Commands.h"
#include "app/LumoraMDIClient.h"
#include "app/RunGuard.h"
#include "dialogs/search/SearchEngineDialog.h"
#include "dialogs/search/SearchSettings.h"
#include "lumcore/Printf.h"
#include "lumdb/Database.h"
#include "lumdb/RunHost.h"
#include "lumreport/ReportWriters.h"
#include "lumreport/SearchReport.h"
#include "lumreport/SearchResultText.h"
#include "reports/ReportPreview.h"
#include "reports/ReportView.h"
#include "services/FileDialog.h"
#include "services/MessageBox.h"
#include "services/ModalRunner.h"
#include "services/ShowStatusDialog.h"
#include "services/StringTable.h"
#include "services/WaitCursor.h"

namespace {

// The report pumps events at most this often while it is written.
constexpr qint64 kPumpIntervalMs = 20;

// The application's defaults and a window's values are the same settings in two shapes.
SSearchEngineVal valuesOf(const AppContext::SearchEngineSettings& s) {
    SSearchEngineVal v;
    v.Neutrals = s.neutrals;
    v.FirstIons = s.firstIons;
    v.HigherIons = s.higherIons;
    v.LowerWavelength = float(s.lowerWavelength);
    v.UpperWavelength = float(s.upperWavelength);
    v.LowerIntensity = float(s.lowerIntensity);
    v.UpperIntensity = float(s.upperIntensity);
    v.IntensityOption = s.intensityOption;
    v.SortOption = s.sortOption;
    return v;
}

AppContext::SearchEngineSettings settingsOf(const SSearchEngineVal& v) {
    return {v.Neutrals != 0,   v.FirstIons != 0,  v.HigherIons != 0,
            v.LowerWavelength, v.UpperWavelength, v.LowerIntensity,
            v.UpperIntensity,  v.IntensityOption, v.SortOption};
}

// Copies the selection of `from` into `to` by element name (both lists come from the same
// table, but a name is what a stored selection means).
void copySelection(const TElementArray& from, TElementArray& to) {
    for (CElement& e : to) {
        e.selected = 0;
        for (const CElement& f : from)
            if (f.name == e.name) {
                e.selected = f.selected;
                break;
            }
    }
}

}  // namespace

SearchEngineEdit::SearchEngineEdit(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context), view_(new ReportView(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setBackgroundRole(QPalette::Window);
    setWindowTitle(QStringLiteral("Datenbank"));

    const auto finished = [this] { return shown_ && !running_; };
    commands_
        .add(
            cmd::SearchEngineSaveAs, [this] { saveResult(); }, finished)
        .add(
            cmd::FilePrint, [this] { print(false); }, finished)
        .add(
            cmd::FilePrintPreview, [this] { print(true); }, finished);

    // The question comes once the window is on screen.
    start_.setSingleShot(true);
    connect(&start_, &QTimer::timeout, this, &SearchEngineEdit::runSearch);
    setCaption(QStringLiteral("Eingabe"));
    start_.start(100);
}

SearchEngineEdit::~SearchEngineEdit() = default;

QWidget* SearchEngineEdit::open(LumoraMDIClient& client) {
    const WaitCursor wait;
    return new SearchEngineEdit(client.context());
}

void SearchEngineEdit::setCaption(const QString& caption) {
    setWindowTitle(caption);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->setWindowTitle(caption);
}

void SearchEngineEdit::closeWindow() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void SearchEngineEdit::closeEvent(QCloseEvent* event) {
    if (running_)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void SearchEngineEdit::loadSearchSettings() {
    GetElements(context_.programDir.toStdString(), elements_);
    copySelection(context_.searchElements, elements_);
    values_ = valuesOf(context_.searchSettings);
}

bool SearchEngineEdit::saveSearchSettings() {
    lumcore::IniFile ini = context_.profile().read();
    searchsettings::save(ini, searchsettings::kDefaultsSection, elements_, values_);
    const bool written = context_.profile().write(ini);
    if (!written) context_.reportUnwritable(this, context_.profile().path());
    return written;
}

void SearchEngineEdit::runSearch() {
    SearchEngineDialogXfer xfer;
    {
        const WaitCursor wait;
        loadSearchSettings();
        xfer = xferOf(values_);
    }
    SearchEngineDialog dialog(context_, SearchEngineDialog::Use::DatabaseSearch, elements_, xfer,
                              this);
    if (context_.dialogs().run(dialog) != QDialog::Accepted) {
        closeWindow();
        return;
    }
    {
        const WaitCursor wait;
        takeXfer(xfer, values_);
        // The next search window starts where this one was set.
        copySelection(elements_, context_.searchElements);
        context_.searchSettings = settingsOf(values_);
        if (xfer.saveAsDefault) saveSearchSettings();
    }
    setCaption(QString::fromStdString(lumcore::strprintf(
        "%g nm bis %g nm", double(values_.LowerWavelength), double(values_.UpperWavelength))));

    values_.decipherMode = 0;
    result_.clear();
    bool found;
    {
        running_ = true;
        const RunGuard guard(context_, this);
        const std::unique_ptr<lumdb::RunHost> host = context_.makeRunHost(this);
        found = LineSearchEngine(*host, context_.dataDir.toStdString(), result_, elements_,
                                 values_) != 0;
        running_ = false;
    }
    if (!found) {
        closeWindow();
        return;
    }
    buildReport();
}

bool SearchEngineEdit::buildReport() {
    const int rows = int(std::min<std::size_t>(result_.size(), INT_MAX));
    ShowStatusDialog status(QString::fromUtf8(lumreport::kSearchReportProcess),
                            QString::fromUtf8(lumreport::kReportPhase), 0, std::max(0, rows - 1),
                            window());
    status.Start();
    auto report = std::make_shared<lumreport::Report>();
    QElapsedTimer sincePump;
    bool completed;
    {
        running_ = true;
        const RunGuard guard(context_, this);
        completed =
            lumreport::buildSearchReport(*report, result_.items(), values_, [&](std::size_t row) {
                if (!sincePump.isValid() || sincePump.elapsed() >= kPumpIntervalMs) {
                    status.SetProgress(int(std::min<std::size_t>(row, INT_MAX)));
                    QCoreApplication::processEvents();
                    sincePump.start();
                }
                return !status.cancelled();
            });
        running_ = false;
    }
    status.close();
    if (QWidget* main = window()) main->activateWindow();
    if (!completed) {
        closeWindow();
        return false;
    }
    report_ = std::move(report);
    view_->setReport(report_);
    shown_ = true;
    return true;
}

void SearchEngineEdit::saveResult() {
    const QString path =
        context_.chooseReportFile(this, QStringLiteral("Ergebnis speichern unter"));
    if (!path.isEmpty()) saveResultTo(path);
}

bool SearchEngineEdit::saveResultTo(const QString& path) {
    bool written;
    {
        const WaitCursor wait;
        const std::string target = path.toStdString();
        if (QFileInfo(path).suffix().compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0)
            written = report_ && lumreport::saveReportRtf(target, *report_);
        else
            written = lumreport::saveSearchResultText(target, result_.items(), values_);
    }
    if (!written) context_.reportUnwritable(this, path);
    return written;
}

void SearchEngineEdit::print(bool preview) {
    if (!report_) return;
    const QString title = QString::fromUtf8(lumreport::kDatabaseReportTitle);
    printReport(context_, window(), *report_, title, preview,
                title + QStringLiteral(" (Druckvorschau)"));
}
