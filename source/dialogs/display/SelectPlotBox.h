// "Dateiliste": the spectra of the active diagram, one line each in its curve colour (black
// in black/white display), the current one highlighted. Choosing a line asks for that
// spectrum to become current; a Delete key press is handed on to the diagram as its own.
#pragma once

#include <QColor>
#include <QDialog>
#include <QListWidget>
#include <vector>

class PlotListBox : public QListWidget {
    Q_OBJECT
  public:
    using QListWidget::QListWidget;

  signals:
    void deletePressed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class SelectPlotBox : public QDialog {
    Q_OBJECT
  public:
    struct Entry {
        QString fileName;
        QColor color;
    };

    explicit SelectPlotBox(QWidget* parent = nullptr);

    // The diagram's spectra in position order and the current position.
    void setEntries(const std::vector<Entry>& entries, int current, bool blackWhite);
    PlotListBox* list() const { return list_; }

  signals:
    void spectrumChosen(int position);
    void deletePressed();

  private:
    PlotListBox* list_;
};
