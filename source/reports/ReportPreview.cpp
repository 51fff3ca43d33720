#include "reports/ReportPreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppContext.h"
#include "reports/ReportPrinter.h"
#include "services/ModalRunner.h"
#include "services/WaitCursor.h"

ReportPreview::ReportPreview(QPrinter& printer, const QString& title,
                             std::function<void(QPrinter&)> paint, QWidget* parent)
    : QDialog(parent),
      printer_(printer),
      pages_(new QPrintPreviewWidget(&printer, this)),
      pageLabel_(new QLabel(this)) {
    setWindowTitle(title);
    resize(760, 820);
    connect(pages_, &QPrintPreviewWidget::paintRequested, this,
            [paint = std::move(paint)](QPrinter* p) { paint(*p); });
    connect(pages_, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::updatePageText);

    auto* bar = new QHBoxLayout;
    const auto button = [&](const QString& text, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    button(QStringLiteral("Drucken"), [this] { emit printRequested(); });
    button(QStringLiteral("<"), &ReportPreview::previousPage)
        ->setToolTip(QStringLiteral("Vorherige Seite"));
    button(QStringLiteral(">"), &ReportPreview::nextPage)
        ->setToolTip(QStringLiteral("Nächste Seite"));
    button(QStringLiteral("Eine Seite"), [this] { showTwoPages(false); });
    button(QStringLiteral("Zwei Seiten"), [this] { showTwoPages(true); });
    button(QStringLiteral("Schließen"), &QDialog::accept);
    bar->addStretch();
    bar->addWidget(pageLabel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(pages_, 1);
    pages_->setViewMode(QPrintPreviewWidget::SinglePageView);
    pages_->fitInView();
    pages_->updatePreview();
}

QString ReportPreview::pageText() const {
    const int page = pages_->currentPage();
    if (two_ && page < pages_->pageCount())
        return QStringLiteral("Seite %1 - %2").arg(page).arg(page + 1);
    return QStringLiteral("Seite %1").arg(page);
}

void ReportPreview::showTwoPages(bool two) {
    two_ = two;
    pages_->setViewMode(two ? QPrintPreviewWidget::FacingPagesView
                            : QPrintPreviewWidget::SinglePageView);
    pages_->fitInView();
    updatePageText();
}

void ReportPreview::nextPage() {
    pages_->setCurrentPage(std::min(pages_->pageCount(), pages_->currentPage() + (two_ ? 2 : 1)));
    updatePageText();
}

void ReportPreview::previousPage() {
    pages_->setCurrentPage(std::max(1, pages_->currentPage() - (two_ ? 2 : 1)));
    updatePageText();
}

void ReportPreview::updatePageText() {
    pageLabel_->setText(pageText());
}

namespace {

void printInRange(QPrinter& printer, const lumreport::Report& report, const QString& title) {
    const bool range = printer.printRange() == QPrinter::PageRange;
    reportprint::print(printer, report, title, range ? printer.fromPage() : 0,
                       range ? printer.toPage() : 0);
}

}  // namespace

void printReport(AppContext& context, QWidget* owner, const lumreport::Report& report,
                 const QString& title, bool preview, const QString& previewCaption) {
    QPrinter* printer = context.printer();
    if (!printer) return;
    const auto print = [&context, owner, printer, &report, title] {
        QPrintDialog dialog(printer, owner);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        if (context.dialogs().run(dialog) != QDialog::Accepted) return;
        const WaitCursor wait;
        printInRange(*printer, report, title);
    };
    if (!preview) return print();
    ReportPreview dialog(
        *printer, previewCaption,
        [&report, title](QPrinter& p) { reportprint::print(p, report, title); }, owner);
    QObject::connect(&dialog, &ReportPreview::printRequested, &dialog, print);
    context.dialogs().run(dialog);
}
