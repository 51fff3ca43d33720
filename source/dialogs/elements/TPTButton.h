// One element of the periodic table: an owner-drawn button with the element symbol, light grey
// while the element is not selected and green while it is, framed in dark red while a selected
// molecule contains the element. Symbols from atomic number 100 on are grey.
#pragma once

#include <QAbstractButton>
#include <QColor>

class TPTButton : public QAbstractButton {
    Q_OBJECT
  public:
    // `id` is 800 + atomic number.
    TPTButton(int id, const QString& symbol, QWidget* parent = nullptr);

    int id() const { return id_; }
    int atomicNumber() const { return id_ - 800; }
    QString symbol() const { return text(); }

    int state() const { return state_; }
    // Both redraw the button when the value changes.
    void setState(int state);
    int moleculeMark() const { return moleculeMark_; }
    void setMoleculeMark(int mark);

    static constexpr QColor normalColor() { return {224, 224, 224}; }
    static constexpr QColor selectedColor() { return {0, 224, 0}; }
    static constexpr QColor frameColor() { return {192, 0, 0}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int id_;
    int state_ = 0;
    int moleculeMark_ = 0;
};
