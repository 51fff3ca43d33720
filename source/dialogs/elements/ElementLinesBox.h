// The common ground of the molecule list and the list of selected elements: one line per
// element entry, its name drawn in the element's colour after an 11 x 11 check picture
// (ticked while the line is selected), several lines selectable by clicking them one by one.
// A change of the line selection by the user goes to the host at once (collect, then refill).
#pragma once

#include <QColor>
#include <QListWidget>
#include <vector>

class ElementSelectionHost;

class ElementLinesBox : public QListWidget {
    Q_OBJECT
  public:
    struct Line {
        QString text;
        QColor color;
        int element = -1;  // index in the host's element list
        bool selected = false;
    };
    struct LineState {
        int element = -1;
        bool selected = false;
    };

    explicit ElementLinesBox(QWidget* parent = nullptr);
    ~ElementLinesBox() override;

    void setHost(ElementSelectionHost* host) { host_ = host; }
    // Shows `lines`. When they are the lines already shown, only the selection is updated, so
    // a refill from within the user's click keeps the items under the mouse.
    void fill(const std::vector<Line>& lines);
    std::vector<LineState> lineStates() const;
    // Selects or clears every line, then hands the change to the host like a click.
    void selectAllLines(bool state);

  private:
    void handOver();

    ElementSelectionHost* host_ = nullptr;
    bool filling_ = false;
};
