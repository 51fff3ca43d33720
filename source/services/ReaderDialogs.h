// The choice dialogs the file readers ask through: the format list of an unknown file and the
// track, frame/strip, Maps and column choices of files holding several spectra. Each shows the
// file's path (shortened) and "OK", "Abbruch", "Hilfe"; the number dialogs check their entries
// on OK and stay open on a refused one.
#pragma once

#include <QDialog>
#include <QList>
#include <functional>
#include <string>
#include <vector>

#include "lumio/Ui.h"

class MessageBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

// What all reader dialogs share: caption, path line, the rows in between and the buttons.
class ReaderDialog : public QDialog {
    Q_OBJECT
  public:
    QString shownPath() const;

  protected:
    // `help` runs on "Hilfe" (may be empty).
    ReaderDialog(const QString& title, const std::string& path, std::function<void()> help,
                 QWidget* parent);
    QGridLayout* rows() const { return rows_; }

  private:
    QLabel* path_;
    QGridLayout* rows_;
};

// Numbers typed into entries, each with its count beside it; checked on OK.
class NumberChoiceDialog : public ReaderDialog {
    Q_OBJECT
  public:
    struct Field {
        QString countLabel;
        QString entryLabel;
        int count;
        int initial;
        QString emptyText;    // refusal of an empty entry
        QString invalidText;  // refusal of a number outside 1..count
    };

    QLineEdit* entry(int i) const { return entries_.at(i); }
    // The number in entry `i`; valid after an accepted OK.
    int value(int i) const;

    // Refuses the first entry (in check order) that is empty or outside 1..count: beep,
    // "Eingabefehler", focus back into the entry; the dialog stays open.
    void accept() override;

  protected:
    // The entries are laid out in the order of `fields` and checked in `checkOrder` (all
    // fields in their order when empty); `messages` shows the refusals.
    NumberChoiceDialog(const QString& title, const std::string& path,
                       const std::vector<Field>& fields, MessageBox& messages,
                       std::function<void()> help, QWidget* parent,
                       std::vector<int> checkOrder = {});

  private:
    MessageBox& messages_;
    std::vector<Field> fields_;
    std::vector<int> checkOrder_;
    QList<QLineEdit*> entries_;
};

// "Unbekanntes Dateiformat": the format list.
class FileFormatDialog : public ReaderDialog {
    Q_OBJECT
  public:
    // `preselect` is the 0-based entry selected at first; out of range selects nothing.
    FileFormatDialog(const std::string& path, const std::vector<std::string>& entries,
                     int preselect, std::function<void()> help, QWidget* parent = nullptr);
    QComboBox* list() const { return list_; }
    // The selected 1-based position; 0 when nothing is selected.
    int formatCode() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QComboBox* list_;
};

// One track (a column, a subfile, a curve) in 1..count.
class SelectTraceDialog : public NumberChoiceDialog {
    Q_OBJECT
  public:
    SelectTraceDialog(const std::string& path, int count, int initial, MessageBox& messages,
                      std::function<void()> help, QWidget* parent = nullptr);
    int track() const { return value(0); }
};

// Frame and strip of a multi-frame file; the frame is checked first.
class SelectWinSpecTraceDialog : public NumberChoiceDialog {
    Q_OBJECT
  public:
    // The strip entry is laid out first, the frame entry second.
    SelectWinSpecTraceDialog(const std::string& path, int frames, int strips,
                             lumio::Ui::FrameStrip initial, MessageBox& messages,
                             std::function<void()> help, QWidget* parent = nullptr);
    lumio::Ui::FrameStrip choice() const { return {value(1), value(0)}; }
};

// Position, sequence, exposure and track of a Maps file, checked in that order.
class SelectMapsTraceDialog : public NumberChoiceDialog {
    Q_OBJECT
  public:
    SelectMapsTraceDialog(const std::string& path, lumio::MapsChoice counts,
                          lumio::MapsChoice initial, MessageBox& messages,
                          std::function<void()> help, QWidget* parent = nullptr);
    lumio::MapsChoice choice() const { return {value(0), value(1), value(2), value(3)}; }
};

// One value column of a list of names.
class SelectTraceComboDialog : public ReaderDialog {
    Q_OBJECT
  public:
    SelectTraceComboDialog(const std::string& path, const std::vector<std::string>& names,
                           int initial, std::function<void()> help, QWidget* parent = nullptr);
    QComboBox* list() const { return list_; }
    // The 0-based entry chosen; -1 when nothing is selected.
    int column() const;

  private:
    QComboBox* list_;
};
