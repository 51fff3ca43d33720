// The list of a line's entries: each in its own colour, several selectable. A plain click
// selects one entry and makes it the anchor, Ctrl+click toggles one and makes it the anchor,
// Shift+click selects from the anchor to the clicked entry; before any click the first
// entry is the anchor, current but not selected.
#pragma once

#include <QListWidget>

class LineEntriesBox : public QListWidget {
    Q_OBJECT
  public:
    explicit LineEntriesBox(QWidget* parent = nullptr);

    // An entry that remembers `source`, the caller's index for it.
    void addEntry(const QString& text, const QColor& color, int source);
    int source(int row) const;
    // The first entry becomes the anchor again, nothing selected.
    void resetAnchor();
};
