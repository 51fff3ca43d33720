// The line information window of a diagram: 157 for the selected line, which it adds to
// the lines shown when they are of the same kind, 158 for every line of the list shown
// (found lines before database lines).
#include "app/AppContext.h"
#include "app/Commands.h"
#include "diagram/LumoraWindow.h"
#include "lumcore/Printf.h"
#include "reports/LineInfoFrameWindow.h"

void LumoraWindow::declareLineInfoCommands() {
    for (const int id : {cmd::SelectedLineInfo, cmd::AllLinesInfo})
        commands_.add(
            id, [this, id] { showLineInfo(id == cmd::AllLinesInfo); },
            [this, id] { return !minimised() && document_.isEnabled(id); });
}

void LumoraWindow::closeLineInfo() {
    if (lineInfo_) lineInfo_->close();
}

void LumoraWindow::showLineInfo(bool all) {
    const OverlayTable& table = document_.overlays();
    if (table.empty()) return;
    const SpectrumRecord& r = table.currentRecord();
    const bool found =
        all ? (r.foundLinesShown && !r.spectrumLines.empty()) || r.databaseLines.empty()
            : r.foundLineSelected != 0;
    const int selected = document_.selectedLine();
    if (!all && (selected < 0 || std::size_t(selected) >=
                                     (found ? r.spectrumLines.size() : r.databaseLines.size())))
        return;
    using Kind = LineInfoFrameWindow::Kind;
    const Kind kind = found ? Kind::FoundLines : Kind::DatabaseLines;
    const bool fresh = !lineInfo_;
    if (fresh) {
        lineInfo_ = new LineInfoFrameWindow(context_, this);
        // One of the window's modeless companions: disabled during runs, closed with the
        // identification view.
        setModelessDialog(Modeless::LineInformation, lineInfo_);
    }
    // A single line joins the lines the window shows when they are of its kind.
    const bool append = !all && !fresh && lineInfo_->kind() == kind;

    std::string caption = append ? lineInfo_->windowTitle().toStdString() : currentBaseName();
    // The window cuts its caption at 255 characters; thousands of lines need not be written.
    auto addWavelength = [&caption, first = !append](double x) mutable {
        if (caption.size() <= 255) caption += lumcore::strprintf(first ? ": %g nm" : ", %g nm", x);
        first = false;
    };
    // The lines written: all of the list, or the selected one.
    const std::size_t first = all ? 0 : std::size_t(selected);
    const std::size_t count = all ? (found ? r.spectrumLines.size() : r.databaseLines.size()) : 1;
    for (std::size_t i = first; i < first + count; ++i)
        addWavelength(found ? r.spectrumLines[i].x : r.databaseLines[i].wavelength);
    lineInfo_->setCaption(QString::fromStdString(caption));
    if (found) {
        const int option = document_.analysis.select.IntensityOption;
        const auto lines = std::span(r.spectrumLines.items()).subspan(first, count);
        if (all)
            lineInfo_->writeAllLinesReport(lines, option);
        else
            lineInfo_->writeLineReport(lines[0], option, append);
    } else {
        const int option = document_.database.IntensityOption;
        const auto lines = std::span(r.databaseLines.items()).subspan(first, count);
        if (all)
            lineInfo_->writeAllDatabaseLinesReport(lines, option);
        else
            lineInfo_->writeDatabaseLineReport(lines[0], option, append);
    }
}
