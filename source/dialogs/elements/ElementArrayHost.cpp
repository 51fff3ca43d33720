#include "dialogs/elements/ElementArrayHost.h"

#include <algorithm>
#include <set>

#include "dialogs/elements/ElementListBox.h"
#include "dialogs/elements/ElementNames.h"
#include "dialogs/elements/MoleculesListBox.h"
#include "dialogs/elements/PeriodicTableDialog.h"
#include "lumgl_qt/QtCanvas.h"

ElementArrayHost::ElementArrayHost(TElementArray& elements, PeriodicTableDialog* table,
                                   MoleculesListBox* molecules, ElementListBox* selected)
    : elements_(elements), table_(table), molecules_(molecules), selected_(selected) {
    if (molecules_) molecules_->setHost(this);
    if (selected_) selected_->setHost(this);
    RefillLists();
    if (table_) table_->setHost(this);
}

ElementArrayHost::~ElementArrayHost() {
    if (table_) table_->setHost(nullptr);
    if (molecules_) molecules_->setHost(nullptr);
    if (selected_) selected_->setHost(nullptr);
}

void ElementArrayHost::SetElementSelected(const std::string& symbol, bool state) {
    bool any = false;
    for (CElement& e : elements_)
        if (isAtom(e) && elementSymbol(e.name) == symbol) {
            any |= e.selected != state;
            e.selected = state;
        }
    if (any) changed();
}

bool ElementArrayHost::IsElementSelected(const std::string& symbol) const {
    return std::any_of(elements_.begin(), elements_.end(), [&](const CElement& e) {
        return e.selected && isAtom(e) && elementSymbol(e.name) == symbol;
    });
}

int ElementArrayHost::MoleculeMark(const std::string& symbol) const {
    const std::string wanted = elementSymbol(symbol);
    int mark = 0;
    for (const CElement& e : elements_) {
        if (!e.selected || !isMolecule(e)) continue;
        const std::vector<std::string> symbols = formulaSymbols(e.name);
        if (std::find(symbols.begin(), symbols.end(), wanted) != symbols.end()) ++mark;
    }
    return mark;
}

void ElementArrayHost::SelectAllAtoms(bool state) {
    bool any = false;
    for (CElement& e : elements_)
        if (isAtom(e)) {
            any |= e.selected != state;
            e.selected = state;
        }
    if (any) changed();
}

void ElementArrayHost::SelectAllMolecules(bool state) {
    bool any = false;
    for (CElement& e : elements_)
        if (isMolecule(e)) {
            any |= e.selected != state;
            e.selected = state;
        }
    if (any) changed();
}

void ElementArrayHost::RefillLists() {
    std::vector<ElementLinesBox::Line> molecules, selected;
    for (std::size_t i = 0; i < elements_.size(); ++i) {
        const CElement& e = elements_[i];
        const ElementLinesBox::Line line{QString::fromStdString(e.name),
                                         lumgl::QtCanvas::toQColor(e.color), int(i), e.selected};
        if (isMolecule(e)) molecules.push_back(line);
        if (e.selected) selected.push_back(line);
    }
    if (molecules_) molecules_->fill(molecules);
    if (selected_) selected_->fill(selected);
    if (table_) table_->refresh();
}

void ElementArrayHost::CollectListSelection() {
    // Only one list changes per user action: an entry cleared in the selected-elements list
    // stays cleared even though the molecule list still shows it selected.
    std::set<int> dropped;
    if (selected_)
        for (const ElementLinesBox::LineState& line : selected_->lineStates())
            if (!line.selected) dropped.insert(line.element);
    bool any = false;
    const auto set = [&](int index, bool state) {
        if (index < 0 || index >= int(elements_.size())) return;
        CElement& e = elements_[std::size_t(index)];
        any |= e.selected != state;
        e.selected = state;
    };
    for (int index : dropped) set(index, false);
    if (molecules_)
        for (const ElementLinesBox::LineState& line : molecules_->lineStates())
            set(line.element, line.selected && !dropped.count(line.element));
    if (any) changed();
}

void ElementArrayHost::changed() {
    if (selectionChanged) selectionChanged();
}
