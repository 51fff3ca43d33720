// The element selection as its host dialogs embed it: the periodic table in the area "Atome:",
// the molecule list "Moleküle:" and the list "Ausgewählte Elemente:", all working on one
// element list through the panel's own host.
#pragma once

#include <QWidget>
#include <memory>

#include "lumdb/Records.h"

class ElementArrayHost;
class ElementListBox;
class MoleculesListBox;
class PeriodicTableDialog;

class ElementSelectionPanel : public QWidget {
    Q_OBJECT
  public:
    // `elements` must outlive the panel.
    explicit ElementSelectionPanel(TElementArray& elements, QWidget* parent = nullptr);
    ~ElementSelectionPanel() override;

    // The host over the element list: RefillLists after the list changed elsewhere, and its
    // selectionChanged hook.
    ElementArrayHost& host() const { return *host_; }
    PeriodicTableDialog* table() const { return table_; }
    MoleculesListBox* molecules() const { return molecules_; }
    ElementListBox* selected() const { return selected_; }

  private:
    PeriodicTableDialog* table_;
    MoleculesListBox* molecules_;
    ElementListBox* selected_;
    std::unique_ptr<ElementArrayHost> host_;  // goes before the controls
};
