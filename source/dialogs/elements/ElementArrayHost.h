// The element selection over one element list (a spectrum window's identification or display
// list, or the database-search window's list), for the host dialogs to embed: it answers the
// controls from the list, writes their changes into it at once and refills the controls.
#pragma once

#include <functional>

#include "dialogs/elements/ElementSelectionHost.h"
#include "lumdb/Records.h"

class PeriodicTableDialog;
class MoleculesListBox;
class ElementListBox;

class ElementArrayHost : public ElementSelectionHost {
  public:
    // The controls may be null; those given are connected to this host and filled. Destroy
    // the host before the list and the controls (a member of the dialog that owns them).
    ElementArrayHost(TElementArray& elements, PeriodicTableDialog* table,
                     MoleculesListBox* molecules, ElementListBox* selected);
    ~ElementArrayHost() override;

    void SetElementSelected(const std::string& symbol, bool state) override;
    bool IsElementSelected(const std::string& symbol) const override;
    int MoleculeMark(const std::string& symbol) const override;
    void SelectAllAtoms(bool state) override;
    void SelectAllMolecules(bool state) override;
    void RefillLists() override;
    void CollectListSelection() override;

    // Called after every change of a selected byte, e.g. for a window to redraw.
    std::function<void()> selectionChanged;

  private:
    void changed();

    TElementArray& elements_;
    PeriodicTableDialog* table_;
    MoleculesListBox* molecules_;
    ElementListBox* selected_;
};
