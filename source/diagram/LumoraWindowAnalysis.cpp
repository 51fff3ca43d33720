// The diagram window's analysis: the identification view (command 151) with its modeless
// dialog and protocol, line search and identification of the current spectrum (152), the
// database's line positions (160), smoothing into a new overlay (133), and the guard every
// library run holds while it pumps events.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <algorithm>
#include <optional>
#include <utility>

#include "app/AppContext.h"
#include "app/Commands.h"
#include "app/RunGuard.h"
#include "diagram/LumoraWindow.h"
#include "dialogs/analysis/CombineSpectraDialog.h"
#include "dialogs/analysis/SearchLinesDialog.h"
#include "dialogs/analysis/SearchOptionsPropSheet.h"
#include "dialogs/analysis/SmoothDataDialog.h"
#include "dialogs/elements/ElementArrayHost.h"
#include "dialogs/elements/ElementSelectionPanel.h"
#include "dialogs/search/SearchEngineDialog.h"
#include "lumcore/Printf.h"
#include "lumdb/Analysis.h"
#include "lumdb/Combine.h"
#include "lumdb/Database.h"
#include "lumgl/lumgl.h"
#include "lumio/lumio.h"
#include "services/MessageBox.h"
#include "services/ModalRunner.h"
#include "services/StringTable.h"

namespace {

// The file name of a path: the text after its last separator.
std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void clearCandidates(TLineArray& lines) {
    for (CLine& line : lines) line.clearCandidates();
}

std::size_t identifiedCount(const TLineArray& lines) {
    return std::size_t(std::count_if(lines.begin(), lines.end(), [](const CLine& line) {
        return !line.candidateLabels.empty();
    }));
}

// "- Spezies: " names neutrals and first ions only; higher ions alone leave it empty.
std::string speciesLine(const SSelectElVal& values) {
    std::string line = "- Spezies: ";
    if (!values.Neutrals && !values.FirstIons && !values.HigherIons)
        line += "keine ausgewählt!";
    else if (values.Neutrals)
        line += values.FirstIons ? "Neutrale und Ionen" : "Neutrale";
    else if (values.FirstIons)
        line += "Ionen";
    return line;
}

// The displayed x range, the lower bound first.
std::pair<float, float> displayedRange(const DiagramDocument& document) {
    const float a = document.plot().xMin;
    const float b = document.plot().xMax;
    return {std::min(a, b), std::max(a, b)};
}

// The window's filter settings with the current spectrum's point counts: all of them, and
// those within the displayed range.
SmoothDataDialogXfer smoothingXfer(const DiagramDocument& document) {
    const auto [lower, upper] = displayedRange(document);
    SmoothDataDialogXfer x = smoothingXferOf(document.analysis.search);
    const OverlayTable& table = document.overlays();
    const TPointList* points = table.empty() ? nullptr : &table.currentRecord().points;
    x.points = QString::number(points ? points->size() : 0);
    x.displayedPoints = QString::number(
        points ? std::count_if(points->begin(), points->end(),
                               [&](const TPointF& p) { return p.x >= lower && p.x <= upper; })
               : 0);
    return x;
}

}  // namespace

// A library run of this window: the program's run guard, and the window's own running state,
// which its commands and dialogs follow. The window keeps its current spectrum meanwhile.
class LumoraWindow::AnalysisRun {
  public:
    explicit AnalysisRun(LumoraWindow& window) : window_(window) {
        window_.running_ = true;
        guard_.emplace(window_.context_, &window_);
        emit window_.commandStatesChanged();
    }
    ~AnalysisRun() {
        guard_.reset();
        window_.running_ = false;
        emit window_.commandStatesChanged();
        window_.redraw();
    }
    AnalysisRun(const AnalysisRun&) = delete;
    AnalysisRun& operator=(const AnalysisRun&) = delete;

  private:
    LumoraWindow& window_;
    std::optional<RunGuard> guard_;
};

void LumoraWindow::declareAnalysisCommands() {
    const auto enabled = [this](int id) {
        return [this, id] { return !minimised() && !running_ && document_.isEnabled(id); };
    };
    commands_.add(
        cmd::OpenIdentification, [this] { toggleAnalysisDisplay(); },
        enabled(cmd::OpenIdentification),
        [this] { return document_.isChecked(cmd::OpenIdentification); });
    commands_.add(
        cmd::IdentifySpectrum, [this] { identifySpectrum(); }, enabled(cmd::IdentifySpectrum));
    commands_.add(
        cmd::ShowDatabaseLines, [this] { showDatabaseLines(); }, enabled(cmd::ShowDatabaseLines));
    commands_.add(
        cmd::Smoothing, [this] { smoothSpectrum(); }, enabled(cmd::Smoothing));
    commands_.add(
        cmd::SpectrumArithmetic, [this] { combineSpectra(); }, enabled(cmd::SpectrumArithmetic));
    painter_.setLayer(DiagramPainter::Layer::FilterCurve,
                      [this](lumgl::Canvas& canvas, const SPlotInfo& laidOut) {
                          drawSmoothedCurve(canvas, laidOut);
                      });
}

// The smoothed data of the last line search over the current spectrum, mapped as the curves
// are, in grey: no spectrum of the diagram is drawn in it, in colour or in black and white.
void LumoraWindow::drawSmoothedCurve(lumgl::Canvas& canvas, const SPlotInfo& laidOut) const {
    if (!document_.analysis.filterData || document_.smoothed.empty()) return;
    SPlotInfo info = laidOut;
    info.curvePen = info.framePen = SPenDesc{MakeColor(128, 128, 128), 1, PenStyle::Solid};
    lumgl::DrawDiagramCurve(canvas, document_.smoothed, info);
}

SearchLinesDialog* LumoraWindow::searchLinesDialog() const {
    return qobject_cast<SearchLinesDialog*>(modelessDialog(Modeless::LineSearch));
}

void LumoraWindow::appendProtocol(const std::string& line) {
    const QString text = QString::fromStdString(line);
    protocol_ << text;
    if (SearchLinesDialog* dialog = searchLinesDialog()) dialog->appendProtocol(text);
}

// On: the dialog opens and the history is emptied. Off: the history, the line information
// and the dialog go.
void LumoraWindow::toggleAnalysisDisplay() {
    const bool on = !document_.analysisDisplay;
    document_.analysisDisplay = on;
    if (!document_.overlays().empty()) document_.flushHistory();
    if (on) {
        openSearchLines();
    } else {
        document_.addLineMode = false;
        if (QWidget* info = modelessDialog(Modeless::LineInformation)) info->close();
        if (SearchLinesDialog* dialog = searchLinesDialog()) {
            setModelessDialog(Modeless::LineSearch, nullptr);
            dialog->closeFromOwner();
        }
    }
    if (document_.reticle.shown) document_.reticle.reposition = true;
    refreshSearchLines();
    changed();
}

void LumoraWindow::openSearchLines() {
    showModeless(Modeless::LineSearch, 4, [this] {
        auto* dialog = new SearchLinesDialog(window());
        dialog->setProtocol(protocol_);
        connect(dialog, &SearchLinesDialog::stateChanged, this,
                [this](const SearchLinesDialog::State& s) {
                    document_.identifyMode = s.identify;
                    document_.runLineSearch = s.searchLines;
                    document_.runIdentification = s.identifyLines;
                });
        connect(dialog, &SearchLinesDialog::startRequested, this,
                [this](const SearchLinesDialog::State& s) {
                    if (running_) return;
                    document_.runLineSearch = s.searchLines;
                    document_.runIdentification = s.identifyLines;
                    if (s.identify)
                        identifySpectrum();
                    else
                        showDatabaseLines();
                });
        connect(dialog, &SearchLinesDialog::settingsRequested, this,
                [this](const SearchLinesDialog::State& s) {
                    if (running_) return;
                    if (s.identify)
                        editIdentificationSettings();
                    else
                        editDatabaseSettings();
                });
        connect(dialog, &SearchLinesDialog::closeRequested, this, [this] {
            if (document_.analysisDisplay && !running_) toggleAnalysisDisplay();
        });
        // It belongs to its diagram: it goes when the diagram closes, and comes forward with it.
        connect(this, &QObject::destroyed, dialog, &QObject::deleteLater);
        if (const auto* frame = qobject_cast<const QMdiSubWindow*>(parentWidget()))
            if (QMdiArea* area = frame->mdiArea())
                connect(area, &QMdiArea::subWindowActivated, dialog,
                        [this, dialog](QMdiSubWindow* active) {
                            if (active && active->widget() == this && dialog->isVisible())
                                dialog->raise();
                        });
        return dialog;
    });
}

void LumoraWindow::refreshSearchLines() {
    if (SearchLinesDialog* dialog = searchLinesDialog())
        dialog->setState(
            {document_.identifyMode, document_.runLineSearch, document_.runIdentification});
}

// "Einstellungen" for the database's line positions: the element selection and the bounds of
// the display; OK takes them over and, with "Als Standard speichern", keeps them in the
// settings file.
void LumoraWindow::editDatabaseSettings() {
    SearchEngineDialogXfer xfer = xferOf(document_.database);
    SearchEngineDialog dialog(context_, SearchEngineDialog::Use::DatabaseLines,
                              document_.databaseElements, xfer, this);
    dialog.configurationLoader = [this](SearchEngineDialogXfer& x) {
        if (!loadConfiguration(SettingsPart::Database)) return false;
        const bool keep = x.saveAsDefault;
        x = xferOf(document_.database);
        x.saveAsDefault = keep;
        return true;
    };
    dialog.configurationSaver = [this](const SearchEngineDialogXfer& x) {
        return saveConfigurationAs(SettingsPart::Database,
                                   [&x](DiagramDocument& d) { takeXfer(x, d.database); });
    };
    if (context_.dialogs().run(dialog) != QDialog::Accepted) return;
    takeXfer(xfer, document_.database);
    if (xfer.saveAsDefault) saveSettings(SettingsPart::Database, true);
    changed();
}

// "Einstellungen" for identifying the spectrum: the line search's and the identification's
// settings and the identification's element selection. OK takes them over and saves them
// into the window's configuration file, or into the settings file while there is none; with
// "Als Standard speichern" the settings file gets them as well.
void LumoraWindow::editIdentificationSettings() {
    const SmoothDataDialogXfer counts = smoothingXfer(document_);
    const auto fill = [&](SearchOptionsPropSheetXfer& x) {
        x = xferOf(document_.analysis);
        x.search.smoothing.points = counts.points;
        x.search.smoothing.displayedPoints = counts.displayedPoints;
        x.search.saveAsDefault = x.select.saveAsDefault = saveIdentificationDefaults_;
    };
    SearchOptionsPropSheetXfer xfer;
    fill(xfer);
    SearchOptionsPropSheet sheet(context_, document_.identificationElements, xfer, this);
    sheet.selectPage()->elements()->host().selectionChanged = [this] { redraw(); };
    sheet.configurationLoader = [&](SearchOptionsPropSheetXfer& x) {
        if (!loadConfiguration(SettingsPart::Identification)) return false;
        const bool keep = x.search.saveAsDefault;
        fill(x);
        x.search.saveAsDefault = x.select.saveAsDefault = keep;
        return true;
    };
    sheet.configurationSaver = [this](const SearchOptionsPropSheetXfer& x) {
        return saveConfigurationAs(SettingsPart::Identification,
                                   [&x](DiagramDocument& d) { takeXfer(x, d.analysis); });
    };
    if (context_.dialogs().run(sheet) != QDialog::Accepted) return;
    takeXfer(xfer, document_.analysis);
    saveIdentificationDefaults_ = xfer.search.saveAsDefault;
    saveSettings(SettingsPart::Identification);
    if (saveIdentificationDefaults_ && !document_.configurationPath.empty())
        saveSettings(SettingsPart::Identification, true);
    changed();
}

// Line search and identification of the current spectrum. A spectrum whose x values are not
// monotonic is refused before anything changes, its history included.
void LumoraWindow::identifySpectrum() {
    OverlayTable& table = document_.overlays();
    if (running_ || table.empty()) return;
    SpectrumRecord& record = table.currentRecord();
    if (CheckXData(record) == 1) {
        context_.messages().show(
            this,
            QString::fromStdString(record.fileName) +
                QStringLiteral("\n\nDie x-Werte der Datei sind nicht streng monoton steigend "
                               "oder fallend. Eine Liniensuche oder Linienidentifizierung kann "
                               "nicht ausgeführt werden!"),
            strings::DataFormat, MessageBox::Icon::Stop, MessageBox::Buttons::Ok);
        return;
    }
    record.foundLineSelected = 0;
    document_.selectLine(-1);
    document_.flushHistory();
    bool cancelled = false;
    record.newFile = 0;
    record.foundLinesShown = 1;
    record.databaseLinesShown = 0;
    document_.identifyMode = true;
    bool search = document_.runLineSearch;
    bool identify = document_.runIdentification;
    refreshSearchLines();

    SLineSearchVal& values = document_.analysis.search;
    float lower = values.ZoomData ? document_.plot().xMin : record.plotInfo.xMin;
    float upper = values.ZoomData ? document_.plot().xMax : record.plotInfo.xMax;
    if (lower > upper) std::swap(lower, upper);
    values.zoomFrom = lower;
    values.zoomTo = upper;
    const std::string name = fileNameOf(record.fileName);

    const AnalysisRun run(*this);
    const std::unique_ptr<lumdb::RunHost> host = context_.makeRunHost(this);
    if (search) {
        appendProtocol(lumcore::strprintf("Liniensuche (%s):", name.c_str()));
        appendProtocol(
            lumcore::strprintf("- Suchintervall: %g - %g nm", double(lower), double(upper)));
        if (values.FTFilter || values.SGFilter) {
            std::string filters = "- Datenglättung:";
            if (values.FTFilter) filters += " Wiener-Fourierfilter";
            if (values.FTFilter && values.SGFilter) filters += ",";
            if (values.SGFilter) filters += " Polynomfilter";
            appendProtocol(filters);
            appendProtocol(std::string("- Geglättete Daten:") +
                           (document_.analysis.filterData ? " anzeigen" : " nicht anzeigen"));
        }
        appendProtocol(std::string("- Rauschen:") +
                       (values.Noise ? " gesetzter Wert" : " automatische Erkennung"));
        record.spectrumLines.clear();
        document_.smoothed.clear();
        cancelled = LineSearch(*host, record.points, document_.smoothed, record.spectrumLines,
                               &values) == 0;
        if (cancelled) {
            record.spectrumLines.clear();
            document_.smoothed.clear();
        } else if (record.spectrumLines.empty()) {
            appendProtocol("- Keine Linien gefunden");
        } else {
            appendProtocol(lumcore::strprintf("- Erfolg: %u Linien gefunden",
                                              unsigned(record.spectrumLines.size())));
        }
    }
    if (identify && record.spectrumLines.empty() && !cancelled) {
        context_.messages().show(this,
                                 QStringLiteral("Es wurden keine markierten Linien zur "
                                                "Identifizierung gefunden.\nÜberprüfen Sie die "
                                                "Einstellungen."),
                                 strings::LineIdentification, MessageBox::Icon::Exclamation,
                                 MessageBox::Buttons::Ok);
        identify = false;
    }
    if (identify && !cancelled) {
        SSelectElVal& select = document_.analysis.select;
        appendProtocol(lumcore::strprintf("Linienidentifizierung (%s):", name.c_str()));
        appendProtocol(speciesLine(select));
        appendProtocol(
            lumcore::strprintf("- Trefferintervall: +/- %g nm", double(select.SearchRange)));
        appendProtocol(select.IntensityRange ? lumcore::strprintf("- Intensitäten von %g bis %g",
                                                                  double(select.LowerIntensity),
                                                                  double(select.UpperIntensity))
                                             : std::string("- alle Intensitäten"));
        clearCandidates(record.spectrumLines);
        select.decipherMode = 0;
        const bool done =
            LineIdentification(*host, context_.dataDir.toStdString(), record.spectrumLines,
                               document_.identificationElements, select) != 0;
        record.newFile = done ? 1 : 0;
        cancelled = !done;
        if (cancelled) {
            clearCandidates(record.spectrumLines);
        } else if (const std::size_t n = identifiedCount(record.spectrumLines); n == 0) {
            appendProtocol("- Keine Linien identifiziert");
        } else {
            appendProtocol(lumcore::strprintf("- Erfolg: %u von %u Linien identifiziert",
                                              unsigned(n), unsigned(record.spectrumLines.size())));
        }
    }
    if (cancelled) appendProtocol("Abbruch durch Anwender!");
}

// The database lines of the chosen elements within the display's bounds, shown with the
// current spectrum.
void LumoraWindow::showDatabaseLines() {
    OverlayTable& table = document_.overlays();
    if (running_ || table.empty()) return;
    SpectrumRecord& record = table.currentRecord();
    record.databaseLineSelected = 0;
    document_.selectLine(-1);
    document_.flushHistory();
    record.foundLinesShown = 0;
    record.databaseLinesShown = 1;
    document_.identifyMode = false;
    refreshSearchLines();
    const SSearchEngineVal& values = document_.database;
    appendProtocol("Datenbanksuche:");
    appendProtocol(lumcore::strprintf("- Suchintervall: %g - %g nm", double(values.LowerWavelength),
                                      double(values.UpperWavelength)));
    appendProtocol(lumcore::strprintf("- Intensitätsintervall: %g - %g",
                                      double(values.LowerIntensity),
                                      double(values.UpperIntensity)));

    const AnalysisRun run(*this);
    const std::unique_ptr<lumdb::RunHost> host = context_.makeRunHost(this);
    record.databaseLines.clear();
    const bool done = LineSearchEngine(*host, context_.dataDir.toStdString(), record.databaseLines,
                                       document_.databaseElements, values) != 0;
    if (!done) {
        record.databaseLines.clear();
        appendProtocol("Abbruch durch Anwender!");
    } else if (record.databaseLines.empty()) {
        appendProtocol("- Keine Linien gefunden");
    } else {
        appendProtocol(
            lumcore::strprintf("- %u Linien gefunden", unsigned(record.databaseLines.size())));
    }
}

// The current spectrum smoothed into a new overlay, which becomes current.
QList<LumoraWindow*> LumoraWindow::allDiagrams() {
    QList<LumoraWindow*> diagrams{this};
    const auto* frame = qobject_cast<const QMdiSubWindow*>(parentWidget());
    if (QMdiArea* area = frame ? frame->mdiArea() : nullptr)
        for (QMdiSubWindow* sub : area->subWindowList())
            if (auto* other = qobject_cast<LumoraWindow*>(sub->widget()); other && other != this)
                diagrams << other;
    return diagrams;
}

void LumoraWindow::smoothSpectrum() {
    OverlayTable& table = document_.overlays();
    if (running_ || table.empty()) return;
    MessageBox& messages = context_.messages();
    SpectrumRecord& source = table.currentRecord();
    if (CheckXData(source) == 1) {
        messages.show(this,
                      QString::fromStdString(source.fileName) +
                          QStringLiteral("\n\nDie x-Werte der Datei sind nicht streng monoton "
                                         "steigend oder fallend. Eine Datenglättung kann nicht "
                                         "ausgeführt werden!"),
                      strings::DataFormat, MessageBox::Icon::Stop, MessageBox::Buttons::Ok);
        return;
    }
    if (table.full()) {
        messages.show(this,
                      QStringLiteral("Es können keine Dateien mehr überlagert werden.\nBitte "
                                     "schließen Sie vor der Datenglättung eine Datei."),
                      strings::ProductName, MessageBox::Icon::Exclamation, MessageBox::Buttons::Ok,
                      true);
        return;
    }

    // The displayed range, ordered; the dialog checks the widths against the points in it
    // when only the displayed data are to be smoothed.
    const auto [lower, upper] = displayedRange(document_);
    SLineSearchVal& values = document_.analysis.search;
    SmoothDataDialogXfer x = smoothingXfer(document_);
    SmoothDataDialog dialog(x, messages, context_.showHelp, this);
    if (runAnalysisDialog(dialog) != QDialog::Accepted) return;
    takeSmoothing(x, values);
    lumcore::IniFile ini = context_.profile().read();
    lumdb::saveFilterValues(ini, values);
    ini.setInt(lumdb::kSectionSearchValues, "ZoomData", values.ZoomData ? 1 : 0);
    context_.profile().write(ini);
    if (values.ZoomData) {
        values.zoomFrom = lower;
        values.zoomTo = upper;
    } else {
        values.zoomFrom = std::min(source.plotInfo.xMin, source.plotInfo.xMax);
        values.zoomTo = std::max(source.plotInfo.xMin, source.plotInfo.xMax);
    }

    SpectrumRecord* made = table.prepareNext();
    made->fileName = source.fileName + " geglätted";
    bool done = false;
    {
        const AnalysisRun run(*this);
        const std::unique_ptr<lumdb::RunHost> host = context_.makeRunHost(this);
        done = SmoothData(*host, source.points, made->points, &values) != 0;
    }
    commitOverlay(*made, source, done);
}

int LumoraWindow::runAnalysisDialog(QDialog& dialog) {
    QList<QPointer<QWidget>> disabled;
    for (LumoraWindow* diagram : allDiagrams())
        for (const QPointer<QWidget>& modeless : diagram->modeless_)
            if (modeless && modeless->isEnabled()) {
                modeless->setEnabled(false);
                disabled << modeless;
            }
    const int result = context_.dialogs().run(dialog);
    for (const QPointer<QWidget>& modeless : disabled)
        if (modeless) modeless->setEnabled(true);
    return result;
}

// The prepared record `made`, filled by a run that reported `done`, becomes the current
// overlay: its points stay in the order the library gave them (every later step takes rising
// or falling x), it takes the axis texts and x format of `source`, and its data range. A
// failed run releases it again.
bool LumoraWindow::commitOverlay(SpectrumRecord& made, const SpectrumRecord& source, bool done) {
    OverlayTable& table = document_.overlays();
    made.axisText.xUnit = source.axisText.xUnit;
    made.axisText.yUnit = source.axisText.yUnit;
    made.axisText.xUnitStatus = source.axisText.xUnitStatus;
    made.axisText.yUnitStatus = source.axisText.yUnitStatus;
    made.xTransform = {0.0f, 1.0f, 0.0f, 1.0f};
    made.xFormat = source.xFormat;
    made.foundLinesShown = source.foundLinesShown;
    made.databaseLinesShown = source.databaseLinesShown;
    made.plotInfo.initFlags = kInitXRange | kInitYRange;
    if (!done || made.points.empty()) {
        table.abandonNext();
        return false;
    }
    GetMinMax(made.points, made.plotInfo);
    document_.commitNext();
    document_.selectLine(-1);
    changed();
    return true;
}

// Two spectra of the diagram joined point by point into a new overlay, which becomes current.
void LumoraWindow::combineSpectra() {
    OverlayTable& table = document_.overlays();
    if (running_ || table.count() < 2) return;
    MessageBox& messages = context_.messages();
    if (table.full()) {
        messages.show(this,
                      QStringLiteral("Es können keine Dateien mehr überlagert werden.\nBitte "
                                     "schließen Sie vor dem Kombiniern von Spektren eine Datei."),
                      strings::ProductName, MessageBox::Icon::Exclamation, MessageBox::Buttons::Ok,
                      true);
        return;
    }
    CombineSpectraDialogXfer x;
    for (std::size_t p = 0; p < table.count(); ++p)
        x.names << QString::fromStdString(fileNameOf(table.record(p).fileName));
    CombineSpectraDialog dialog(x, context_.showHelp, this);
    if (runAnalysisDialog(dialog) != QDialog::Accepted) return;
    if (x.first < 0 || x.second < 0 || std::size_t(x.first) >= table.count() ||
        std::size_t(x.second) >= table.count())
        return;
    const SpectrumRecord& a = table.record(std::size_t(x.first));
    const SpectrumRecord& b = table.record(std::size_t(x.second));
    static const char* const kJoins[] = {")-(", ")+(", ")*(", ")/("};
    const char* join = x.operation >= 0 && x.operation < 4 ? kJoins[x.operation] : ")?(";
    SpectrumRecord* made = table.prepareNext();
    made->fileName =
        "(" + x.names[x.first].toStdString() + join + x.names[x.second].toStdString() + ")";
    bool done = false;
    {
        const AnalysisRun run(*this);
        const std::unique_ptr<lumdb::RunHost> host = context_.makeRunHost(this);
        done = CombineSpectra(*host, a.points, b.points, made->points, x.operation) != 0;
    }
    // Two spectra may share a range in which the coarser one has no point: nothing to show.
    if (done && made->points.empty())
        messages.show(this,
                      QStringLiteral("Die Spektren haben keine gemeinsamen Wellenlängenbereich!"),
                      QStringLiteral("Spektren kombinieren"), MessageBox::Icon::Stop,
                      MessageBox::Buttons::Ok);
    commitOverlay(*made, a, done);
}
