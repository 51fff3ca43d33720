// The reticle's value label: a caption-less strip over the diagram that shows the reticle's
// x value (right-aligned, left half) beside its y value (right half).
#pragma once

#include <QWidget>

class QLabel;

class DisplayValueDialog : public QWidget {
    Q_OBJECT
  public:
    explicit DisplayValueDialog(QWidget* parent = nullptr);

    // Shows "x: …" followed by a blank and a blank followed by "y: …".
    void SetValues(const QString& x, const QString& y);
    QString xText() const;
    QString yText() const;

  private:
    QLabel* x_;
    QLabel* y_;
};
