// The line information window of a diagram: what is known about found lines (wavelength,
// intensity and the database lines the identification assigned) or about database lines
// shown in the diagram, as a report. A top-level window with "Speichern unter ...",
// "Drucken...", "Druckvorschau" and "Schließen"; the diagram creates it on first use and it is
// deleted when the user closes it.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <span>

#include "lumdb/Records.h"
#include "lumreport/Report.h"

class AppContext;
class ReportView;

class LineInfoFrameWindow : public QMainWindow {
    Q_OBJECT
  public:
    // What the window shows: blocks of found lines or of database lines.
    enum class Kind { Empty, FoundLines, DatabaseLines };

    explicit LineInfoFrameWindow(AppContext& context, QWidget* parent = nullptr);
    ~LineInfoFrameWindow() override;

    // Each writes its blocks with the status dialog ("Linieninformation:", "Ausdruck") and
    // then brings the window to the front. `append` adds to the blocks shown when they are of
    // the same kind; otherwise the window starts afresh. False when the user cancelled in the
    // status dialog; the blocks written so far stay.
    bool writeLineReport(const CLine& line, int intensityOption, bool append);
    bool writeAllLinesReport(std::span<const CLine> lines, int intensityOption);
    bool writeDatabaseLineReport(const CSearchEngineLine& line, int intensityOption, bool append);
    bool writeAllDatabaseLinesReport(std::span<const CSearchEngineLine> lines, int intensityOption);

    // The caption, at most 255 characters.
    void setCaption(const QString& caption);
    Kind kind() const { return kind_; }
    ReportView* view() const { return view_; }
    const lumreport::Report& report() const { return *report_; }

    // "Speichern unter ...": RTF for ".rtf", else plain text.
    void save();
    bool saveTo(const QString& path);
    void print(bool preview);

  private:
    // Writes `count` items with `write(report, i)` under the status dialog.
    bool write(Kind kind, bool append, std::size_t count,
               const std::function<void(lumreport::Report&, std::size_t)>& write);

    AppContext& context_;
    ReportView* view_;
    std::shared_ptr<lumreport::Report> report_;
    Kind kind_ = Kind::Empty;
};
