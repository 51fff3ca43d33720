// "Atome:": the periodic table as a child dialog of the host dialog, one TPTButton per element
// from H to Mt (identifiers 801 to 909), laid out in dialog units with the lanthanides and
// actinides in two rows below, joined to their gaps by bracket lines. A click toggles an
// element in the host's element list; the context menu selects or clears all atoms or all
// molecules.
#pragma once

#include <QWidget>
#include <array>

class ElementSelectionHost;
class QAction;
class TPTButton;

class PeriodicTableDialog : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kElements = 109;
    // Elements from this atomic number on are shown but left alone by the atom commands.
    static constexpr int kFirstUntouched = 100;

    explicit PeriodicTableDialog(QWidget* parent = nullptr);

    // Connects the table to its host and takes the host's states.
    void setHost(ElementSelectionHost* host);
    // Moves the table onto `placeholder` (a sibling widget, usually an empty group box).
    void placeOver(const QWidget& placeholder);
    // Takes every button's state and molecule mark from the host; changed buttons redraw.
    void refresh();

    TPTButton* button(int atomicNumber) const { return buttons_.at(atomicNumber - 1); }
    static QString symbol(int atomicNumber);

    // The context menu's commands, in menu order (the separator is an action too).
    void selectAllAtoms(bool state);
    void selectAllMolecules(bool state);
    QAction* markAtomsAction() const { return markAtoms_; }
    QAction* clearAtomsAction() const { return clearAtoms_; }
    QAction* markMoleculesAction() const { return markMolecules_; }
    QAction* clearMoleculesAction() const { return clearMolecules_; }

    // Dialog units in pixels, for a base of 6 x 13 pixels (the dialog font's average
    // character width and height).
    static QRect dialogRect(int x, int y, int width, int height);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void toggle(TPTButton* button);

    std::array<TPTButton*, kElements> buttons_{};
    ElementSelectionHost* host_ = nullptr;
    QAction* markAtoms_;
    QAction* clearAtoms_;
    QAction* markMolecules_;
    QAction* clearMolecules_;
};
