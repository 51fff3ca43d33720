// The print preview of a report: its pages as they will print, with "Drucken", the previous
// and next page, one or two pages side by side, "Schließen", and "Seite n" (or "Seite n -
// m" with two pages) for what is shown.
#pragma once

#include <QDialog>
#include <functional>

#include "lumreport/Report.h"

class AppContext;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;

class ReportPreview : public QDialog {
    Q_OBJECT
  public:
    // `paint` draws the report on the printer it is given (the preview's or, after
    // "Drucken", the real one).
    ReportPreview(QPrinter& printer, const QString& title, std::function<void(QPrinter&)> paint,
                  QWidget* parent = nullptr);

    QPrintPreviewWidget* pages() const { return pages_; }
    // "Seite n" or "Seite n - m".
    QString pageText() const;
    void showTwoPages(bool two);
    void nextPage();
    void previousPage();

  signals:
    void printRequested();

  private:
    void updatePageText();

    QPrinter& printer_;
    QPrintPreviewWidget* pages_;
    QLabel* pageLabel_;
    bool two_ = false;
};

// Prints `report` under `title` on the context's printer after the print dialog (which
// gives the page range), or with `preview` shows it in a ReportPreview captioned
// `previewCaption`, whose "Drucken" prints it the same way. Dialogs run through the
// context's modal runner.
void printReport(AppContext& context, QWidget* owner, const lumreport::Report& report,
                 const QString& title, bool preview, const QString& previewCaption);
