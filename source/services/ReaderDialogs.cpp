// The readers' choice dialogs on Qt widgets.
#include "services/ReaderDialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>

#include "lumio/lumio.h"
#include "services/DialogButtons.h"
#include "services/MessageBox.h"
#include "services/StringTable.h"

namespace {

QString fromUtf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QComboBox* addList(QGridLayout* rows, const QString& label, const std::vector<std::string>& items,
                   int selected, QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (const std::string& item : items) list->addItem(fromUtf8(item));
    list->setCurrentIndex(selected >= 0 && selected < list->count() ? selected : -1);
    rows->addWidget(new QLabel(label, parent), 0, 0);
    rows->addWidget(list, 0, 1);
    list->setFocus();
    return list;
}

}  // namespace

ReaderDialog::ReaderDialog(const QString& title, const std::string& path,
                           std::function<void()> help, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    path_ = new QLabel(fromUtf8(lumio::shortenedPath(path)), this);
    rows_ = new QGridLayout;
    layout->addWidget(path_);
    layout->addLayout(rows_);
    addDialogButtons(this, layout, std::move(help));
}

QString ReaderDialog::shownPath() const {
    return path_->text();
}

NumberChoiceDialog::NumberChoiceDialog(const QString& title, const std::string& path,
                                       const std::vector<Field>& fields, MessageBox& messages,
                                       std::function<void()> help, QWidget* parent,
                                       std::vector<int> checkOrder)
    : ReaderDialog(title, path, std::move(help), parent),
      messages_(messages),
      fields_(fields),
      checkOrder_(std::move(checkOrder)) {
    // Digits only: signs, blanks and letters cannot be typed, so only empty, zero and too
    // large numbers remain to be refused.
    const QRegularExpression digits(QStringLiteral("[0-9]*"));
    for (const Field& field : fields_) {
        const int row = static_cast<int>(entries_.size());
        auto* entry = new QLineEdit(QString::number(field.initial), this);
        entry->setValidator(new QRegularExpressionValidator(digits, entry));
        rows()->addWidget(new QLabel(field.countLabel, this), row, 0);
        rows()->addWidget(new QLabel(QString::number(field.count), this), row, 1);
        rows()->addWidget(new QLabel(field.entryLabel, this), row, 2);
        rows()->addWidget(entry, row, 3);
        entries_.append(entry);
    }
    if (checkOrder_.empty())
        for (int i = 0; i < static_cast<int>(fields_.size()); ++i) checkOrder_.push_back(i);
    if (!entries_.isEmpty()) {
        entries_.front()->setFocus();
        entries_.front()->selectAll();
    }
}

int NumberChoiceDialog::value(int i) const {
    return entries_.at(i)->text().toInt();
}

void NumberChoiceDialog::accept() {
    for (const int i : checkOrder_) {
        const Field& field = fields_[static_cast<std::size_t>(i)];
        QLineEdit* entry = entries_.at(i);
        const QString text = entry->text();
        bool ok = false;
        // toInt fails beyond int's range: such a number is as invalid as one above count.
        const int number = text.toInt(&ok);
        const QString* refusal = nullptr;
        if (text.isEmpty())
            refusal = &field.emptyText;
        else if (!ok || number < 1 || number > field.count)
            refusal = &field.invalidText;
        if (refusal) {
            messages_.show(this, *refusal, strings::InputError, MessageBox::Icon::Exclamation,
                           MessageBox::Buttons::Ok, true);
            entry->setFocus();
            entry->selectAll();
            return;
        }
    }
    QDialog::accept();
}

FileFormatDialog::FileFormatDialog(const std::string& path, const std::vector<std::string>& entries,
                                   int preselect, std::function<void()> help, QWidget* parent)
    : ReaderDialog(QStringLiteral("Unbekanntes Dateiformat"), path, std::move(help), parent) {
    list_ = addList(rows(), QStringLiteral("Dateiformat:"), entries, preselect, this);
}

int FileFormatDialog::formatCode() const {
    return list_->currentIndex() + 1;
}

void FileFormatDialog::showEvent(QShowEvent* event) {
    // Centred on the desktop rather than on the window that asks.
    ReaderDialog::showEvent(event);
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

SelectTraceDialog::SelectTraceDialog(const std::string& path, int count, int initial,
                                     MessageBox& messages, std::function<void()> help,
                                     QWidget* parent)
    : NumberChoiceDialog(QStringLiteral("Datenspur"), path,
                         {{QStringLiteral("Spuranzahl:"), QStringLiteral("Spurauswahl:"), count,
                           initial, QStringLiteral("Geben eine Datenspur an!"),
                           QStringLiteral("Geben Sie eine gültige Datenspur an!")}},
                         messages, std::move(help), parent) {}

SelectWinSpecTraceDialog::SelectWinSpecTraceDialog(const std::string& path, int frames, int strips,
                                                   lumio::Ui::FrameStrip initial,
                                                   MessageBox& messages, std::function<void()> help,
                                                   QWidget* parent)
    : NumberChoiceDialog(QStringLiteral("Datenspur"), path,
                         {{QStringLiteral("Anzahl der Strips:"), QStringLiteral("Auswahl:"), strips,
                           initial.strip, QStringLiteral("Geben einen Stripe an!"),
                           QStringLiteral("Geben Sie einen gültigen Stripe an!")},
                          {QStringLiteral("Anzahl der Frames:"), QStringLiteral("Auswahl:"), frames,
                           initial.frame, QStringLiteral("Geben einen Frame an!"),
                           QStringLiteral("Geben Sie einen gültigen Frame an!")}},
                         messages, std::move(help), parent, {1, 0}) {}

SelectMapsTraceDialog::SelectMapsTraceDialog(const std::string& path, lumio::MapsChoice counts,
                                             lumio::MapsChoice initial, MessageBox& messages,
                                             std::function<void()> help, QWidget* parent)
    : NumberChoiceDialog(
          QStringLiteral("Datenspur"), path,
          {{QStringLiteral("Anzahl der Positionen:"), QStringLiteral("Auswahl:"), counts.position,
            initial.position, QStringLiteral("Geben eine Position an!"),
            QStringLiteral("Geben Sie eine gültige Position an!")},
           {QStringLiteral("Anzahl der Sequenzen:"), QStringLiteral("Auswahl:"), counts.sequence,
            initial.sequence, QStringLiteral("Geben eine Sequenz an!"),
            QStringLiteral("Geben Sie eine gültige Sequenz an!")},
           {QStringLiteral("Anzahl der Exposures:"), QStringLiteral("Auswahl:"), counts.exposure,
            initial.exposure, QStringLiteral("Geben eine Belichtungsspur an!"),
            QStringLiteral("Geben Sie eine gültige Belichtungsspur an!")},
           {QStringLiteral("Anzahl der Tracks:"), QStringLiteral("Auswahl:"), counts.track,
            initial.track, QStringLiteral("Geben eine Datenspur an!"),
            QStringLiteral("Geben Sie eine gültige Datenspur an!")}},
          messages, std::move(help), parent) {}

SelectTraceComboDialog::SelectTraceComboDialog(const std::string& path,
                                               const std::vector<std::string>& names, int initial,
                                               std::function<void()> help, QWidget* parent)
    : ReaderDialog(QStringLiteral("Datenspur"), path, std::move(help), parent) {
    list_ = addList(rows(), QStringLiteral("Datenspur:"), names, initial, this);
}

int SelectTraceComboDialog::column() const {
    return list_->currentIndex();
}
