// "Linieneinträge": the entries of one line, of which the user deletes some. The caller
// fills the transfer record; OK leaves the remaining entries there, "Abbruch" leaves it as
// it was.
#pragma once

#include <QColor>
#include <QDialog>
#include <QList>
#include <QString>

class LineEntriesBox;
class QPushButton;

struct EditLineEntriesXfer {
    struct Entry {
        QString text;
        QColor color;
        int source = 0;  // the caller's index of the entry
    };
    QList<Entry> entries;
};

class EditLineEntries : public QDialog {
    Q_OBJECT
  public:
    explicit EditLineEntries(EditLineEntriesXfer& xfer, QWidget* parent = nullptr);

    LineEntriesBox* list() const { return list_; }
    QPushButton* deleteButton() const { return delete_; }

  signals:
    // "Hilfe": the help topic of the dialog.
    void helpRequested(const QString& topic);

  public slots:
    void accept() override;

  private:
    void deleteSelected();

    EditLineEntriesXfer& xfer_;
    LineEntriesBox* list_;
    QPushButton* delete_;
};
