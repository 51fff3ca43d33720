#include "dialogs/elements/ElementSelectionPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/elements/ElementArrayHost.h"
#include "dialogs/elements/ElementListBox.h"
#include "dialogs/elements/MoleculesListBox.h"
#include "dialogs/elements/PeriodicTableDialog.h"

ElementSelectionPanel::ElementSelectionPanel(TElementArray& elements, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* atoms = new QGroupBox(QStringLiteral("Atome:"), this);
    auto* atomsLayout = new QVBoxLayout(atoms);
    table_ = new PeriodicTableDialog(atoms);
    atomsLayout->addWidget(table_);
    layout->addWidget(atoms);
    auto* lists = new QGridLayout;
    molecules_ = new MoleculesListBox(this);
    selected_ = new ElementListBox(this);
    lists->addWidget(new QLabel(QStringLiteral("Moleküle:"), this), 0, 0);
    lists->addWidget(molecules_, 1, 0);
    lists->addWidget(new QLabel(QStringLiteral("Ausgewählte Elemente:"), this), 0, 1);
    lists->addWidget(selected_, 1, 1);
    layout->addLayout(lists, 1);
    host_ = std::make_unique<ElementArrayHost>(elements, table_, molecules_, selected_);
}

ElementSelectionPanel::~ElementSelectionPanel() = default;
