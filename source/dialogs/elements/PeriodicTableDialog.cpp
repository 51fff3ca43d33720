#include "dialogs/elements/PeriodicTableDialog.h"

#include <QAction>
#include <QPainter>

#include "dialogs/elements/ElementSelectionHost.h"
#include "dialogs/elements/TPTButton.h"

namespace {

constexpr const char* kSymbols[PeriodicTableDialog::kElements] = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",  "S",
    "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge",
    "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd",
    "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd",
    "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg",
    "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th", "Pa", "U",  "Np", "Pu", "Am", "Cm",
    "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db", "Sg", "Bh", "Hs", "Mt"};

constexpr int kButtonWidth = 14, kButtonHeight = 18;
constexpr int kLanthanideRow = 130, kActinideRow = 148, kSeriesLeft = 38;

// The button's top left corner in dialog units.
QPoint cellOf(int z) {
    static constexpr int kPeriodStarts[] = {1, 3, 11, 19, 37, 55, 87, 119};
    int period = 1;
    while (z >= kPeriodStarts[period]) ++period;
    const int i = z - kPeriodStarts[period - 1];  // place within the period
    int group;
    if (period == 1) {
        group = i == 0 ? 1 : 18;
    } else if (period <= 3) {
        group = i < 2 ? i + 1 : i + 11;
    } else if (period <= 5) {
        group = i + 1;
    } else if (i < 2) {
        group = i + 1;
    } else if (i < 17) {  // La to Lu, Ac to Lr
        return {kSeriesLeft + kButtonWidth * (i - 2), period == 6 ? kLanthanideRow : kActinideRow};
    } else {
        group = i - 13;
    }
    return {kButtonWidth * (group - 1), kButtonHeight * (period - 1)};
}

}  // namespace

QString PeriodicTableDialog::symbol(int atomicNumber) {
    return QString::fromLatin1(kSymbols[atomicNumber - 1]);
}

QRect PeriodicTableDialog::dialogRect(int x, int y, int width, int height) {
    const auto px = [](int units) { return (units * 6 + 2) / 4; };
    const auto py = [](int units) { return (units * 13 + 4) / 8; };
    return QRect(QPoint(px(x), py(y)), QPoint(px(x + width) - 1, py(y + height) - 1));
}

PeriodicTableDialog::PeriodicTableDialog(QWidget* parent) : QWidget(parent) {
    setFixedSize(dialogRect(0, 0, 252, 168).size());
    for (int z = 1; z <= kElements; ++z) {
        auto* b = new TPTButton(800 + z, symbol(z), this);
        const QPoint cell = cellOf(z);
        b->setGeometry(dialogRect(cell.x(), cell.y(), kButtonWidth, kButtonHeight));
        connect(b, &QAbstractButton::clicked, this, [this, b] { toggle(b); });
        buttons_[z - 1] = b;
    }
    markAtoms_ = new QAction(QStringLiteral("Alle Atome markieren"), this);
    clearAtoms_ = new QAction(QStringLiteral("Alle Atome löschen"), this);
    markMolecules_ = new QAction(QStringLiteral("Alle Moleküle markieren"), this);
    clearMolecules_ = new QAction(QStringLiteral("Alle Moleküle löschen"), this);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    connect(markAtoms_, &QAction::triggered, this, [this] { selectAllAtoms(true); });
    connect(clearAtoms_, &QAction::triggered, this, [this] { selectAllAtoms(false); });
    connect(markMolecules_, &QAction::triggered, this, [this] { selectAllMolecules(true); });
    connect(clearMolecules_, &QAction::triggered, this, [this] { selectAllMolecules(false); });
    addActions({markAtoms_, clearAtoms_, separator, markMolecules_, clearMolecules_});
    // The buttons leave the right click to the table.
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void PeriodicTableDialog::setHost(ElementSelectionHost* host) {
    host_ = host;
    refresh();
}

void PeriodicTableDialog::placeOver(const QWidget& placeholder) {
    move(placeholder.geometry().topLeft());
    raise();
}

void PeriodicTableDialog::refresh() {
    if (!host_) return;
    for (TPTButton* b : buttons_) {
        const std::string s = b->symbol().toStdString();
        b->setState(host_->IsElementSelected(s) ? 1 : 0);
        b->setMoleculeMark(host_->MoleculeMark(s));
    }
}

void PeriodicTableDialog::toggle(TPTButton* button) {
    const int state = button->state() == 1 ? 0 : 1;
    button->setState(state);
    if (!host_) return;
    host_->SetElementSelected(button->symbol().toStdString(), state == 1);
    // The refill sets the button back when its element is missing from the host's list.
    host_->RefillLists();
}

void PeriodicTableDialog::selectAllAtoms(bool state) {
    if (!host_) return;
    // Fm to Mt keep their selection: the heaviest elements are chosen one by one.
    std::array<bool, kElements - kFirstUntouched + 1> kept{};
    for (int z = kFirstUntouched; z <= kElements; ++z)
        kept[z - kFirstUntouched] = host_->IsElementSelected(kSymbols[z - 1]);
    host_->SelectAllAtoms(state);
    for (int z = kFirstUntouched; z <= kElements; ++z)
        host_->SetElementSelected(kSymbols[z - 1], kept[z - kFirstUntouched]);
    host_->RefillLists();
}

void PeriodicTableDialog::selectAllMolecules(bool state) {
    if (!host_) return;
    host_->SelectAllMolecules(state);
    host_->RefillLists();
}

void PeriodicTableDialog::paintEvent(QPaintEvent*) {
    // The bracket from the gaps after Ba and Ra to the lanthanide and actinide rows.
    QPainter p(this);
    p.setPen(QPen(palette().windowText().color(), 1));
    const auto at = [](int x, int y) { return dialogRect(x, y, 0, 0).topLeft(); };
    p.drawLine(at(27, 99), at(32, 99));
    p.drawLine(at(27, 117), at(32, 117));
    p.drawLine(at(32, 99), at(32, 158));
    p.drawLine(at(32, 139), at(38, 139));
    p.drawLine(at(32, 158), at(38, 158));
}
