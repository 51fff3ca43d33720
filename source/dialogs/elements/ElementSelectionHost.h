// What the element selection controls (the periodic table, the molecule list and the list of
// selected elements) ask of the window that owns the selection. Each host works on its own
// element list and refreshes the controls itself, so the controls hold no selection of their
// own and every change lands in the host's list at once.
#pragma once

#include <string>

class ElementSelectionHost {
  public:
    virtual ~ElementSelectionHost() = default;

    // Selects or clears every atom whose element symbol (its name up to the first blank) is
    // `symbol`.
    virtual void SetElementSelected(const std::string& symbol, bool state) = 0;
    // Whether an atom of `symbol` is selected.
    virtual bool IsElementSelected(const std::string& symbol) const = 0;
    // 0 when no selected molecule's formula holds `symbol`, otherwise a positive value.
    virtual int MoleculeMark(const std::string& symbol) const = 0;
    virtual void SelectAllAtoms(bool state) = 0;
    virtual void SelectAllMolecules(bool state) = 0;
    // Refills both lists from the element list and refreshes the periodic table's buttons.
    virtual void RefillLists() = 0;
    // Takes the lines the user selected or cleared in the lists into the element list.
    virtual void CollectListSelection() = 0;
};
