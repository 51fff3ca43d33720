#include "dialogs/analysis/SearchLinesDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

SearchLinesDialog::SearchLinesDialog(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setWindowTitle(QStringLiteral("Linienidentifizierung"));
    auto* layout = new QVBoxLayout(this);
    protocol_ = new QListWidget(this);
    protocol_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // One line of text each: the list need not measure every line again when one is added.
    protocol_->setUniformItemSizes(true);
    protocol_->setMinimumSize(300, 160);
    layout->addWidget(protocol_);
    protocol_->installEventFilter(this);

    identify_ = new QRadioButton(QStringLiteral("Spektrum identifizieren:"), this);
    searchLines_ = new QCheckBox(QStringLiteral("Linien suchen"), this);
    identifyLines_ = new QCheckBox(QStringLiteral("Linien identifizieren"), this);
    database_ = new QRadioButton(QStringLiteral("Linienpositionen aus Datenbank anzeigen"), this);
    layout->addWidget(identify_);
    for (QCheckBox* box : {searchLines_, identifyLines_}) {
        auto* row = new QHBoxLayout;
        row->addSpacing(20);
        row->addWidget(box);
        layout->addLayout(row);
    }
    layout->addWidget(database_);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{identify_, searchLines_,
                                                                      identifyLines_, database_})
        connect(b, &QAbstractButton::toggled, this, &SearchLinesDialog::choiceClicked);

    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton(QStringLiteral("Starten"), this);
    start_->setDefault(true);
    settings_ = new QPushButton(QStringLiteral("Einstellungen"), this);
    close_ = new QPushButton(QStringLiteral("Schließen"), this);
    buttons->addWidget(start_);
    buttons->addWidget(settings_);
    buttons->addWidget(close_);
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, [this] { emit startRequested(state()); });
    connect(settings_, &QPushButton::clicked, this, [this] { emit settingsRequested(state()); });
    connect(close_, &QPushButton::clicked, this, &SearchLinesDialog::closeRequested);
    setState({});
}

void SearchLinesDialog::setState(const State& state) {
    loading_ = true;
    identify_->setChecked(state.identify);
    database_->setChecked(!state.identify);
    searchLines_->setChecked(state.searchLines);
    identifyLines_->setChecked(state.identifyLines);
    loading_ = false;
    followChoice();
}

SearchLinesDialog::State SearchLinesDialog::state() const {
    return {identify_->isChecked(), searchLines_->isChecked(), identifyLines_->isChecked()};
}

// The check boxes belong to "Spektrum identifizieren:".
void SearchLinesDialog::followChoice() {
    const bool identify = identify_->isChecked();
    searchLines_->setEnabled(identify);
    identifyLines_->setEnabled(identify);
}

void SearchLinesDialog::choiceClicked() {
    followChoice();
    // A radio button's switch toggles both; the diagram hears of it once, from the one
    // switched on.
    if (loading_ || (sender() == identify_ && !identify_->isChecked()) ||
        (sender() == database_ && !database_->isChecked()))
        return;
    emit stateChanged(state());
}

void SearchLinesDialog::setProtocol(const QStringList& lines) {
    protocol_->clear();
    protocol_->addItems(lines);
    protocol_->scrollToBottom();
}

void SearchLinesDialog::appendProtocol(const QString& line) {
    protocol_->addItem(line);
    protocol_->scrollToBottom();
}

QStringList SearchLinesDialog::protocol() const {
    QStringList lines;
    for (int i = 0; i < protocol_->count(); ++i) lines << protocol_->item(i)->text();
    return lines;
}

void SearchLinesDialog::copySelection() const {
    QStringList lines;
    for (int i = 0; i < protocol_->count(); ++i)
        if (protocol_->item(i)->isSelected()) lines << protocol_->item(i)->text();
    if (!lines.isEmpty()) QGuiApplication::clipboard()->setText(lines.join('\n'));
}

bool SearchLinesDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool copyKey =
        watched == protocol_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy);
    // Ctrl+C belongs to the list while it has the focus, not to the diagram's "In
    // Zwischenablage kopieren", whose shortcut reaches this tool window too.
    if (copyKey && event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (copyKey) {
        copySelection();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SearchLinesDialog::closeFromOwner() {
    closing_ = true;
    close();
}

void SearchLinesDialog::closeEvent(QCloseEvent* event) {
    if (closing_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    emit closeRequested();
}

void SearchLinesDialog::reject() {
    emit closeRequested();
}
