// A database search window: asks for the search ("Datenbanksuche"), runs it and shows the
// lines found as a report, which it saves as text or RTF (119) and prints (24337, 24340).
// Each window holds its own element list, settings and result, so several searches stand
// side by side. The window closes itself when the user cancels the question, the search
// fails or the report is cancelled.
#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/CommandTable.h"
#include "app/CommandTarget.h"
#include "lumdb/Records.h"
#include "lumreport/Report.h"

class AppContext;
class LumoraMDIClient;
class ReportView;
class QCloseEvent;
class SearchEngineDialog;

class SearchEngineEdit : public QWidget, public CommandTarget {
    Q_OBJECT
  public:
    // The window starts with the caption "Datenbank" and asks for the search shortly after.
    explicit SearchEngineEdit(AppContext& context, QWidget* parent = nullptr);
    ~SearchEngineEdit() override;

    // The factory the MDI client opens search windows with.
    static QWidget* open(LumoraMDIClient& client);

    const CommandTable& commands() const override { return commands_; }
    // Room for the report's columns when the window opens.
    QSize sizeHint() const override { return {860, 520}; }

    // The window's element list and values from the application's search defaults; and
    // back into "Search Engine" of the settings file (false, after telling the user, when it
    // cannot be written). Configuration files are the dialog's business.
    void loadSearchSettings();
    bool saveSearchSettings();

    // Asks for the search, runs it and shows the report; closes the window when the user
    // cancels or the search fails.
    void runSearch();
    // Writes the report of the result; false (and the window closing) when the user cancelled
    // it in the status dialog.
    bool buildReport();

    // 119: asks for a file and writes the result: RTF for ".rtf", else the ";" text.
    void saveResult();
    bool saveResultTo(const QString& path);

    ReportView* view() const { return view_; }
    const TSearchEngineLineArray& result() const { return result_; }
    const SSearchEngineVal& values() const { return values_; }
    const TElementArray& elements() const { return elements_; }
    bool running() const { return running_; }

  protected:
    // A window that is searching or writing its report refuses to close.
    void closeEvent(QCloseEvent* event) override;

  private:
    void setCaption(const QString& caption);
    void closeWindow();
    void print(bool preview);

    AppContext& context_;
    CommandTable commands_;
    ReportView* view_;
    QTimer start_;
    TElementArray elements_;
    TSearchEngineLineArray result_;
    SSearchEngineVal values_;
    std::shared_ptr<lumreport::Report> report_;
    bool running_ = false;
    bool shown_ = false;  // a finished report is on screen
};
