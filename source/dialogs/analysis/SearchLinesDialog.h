// "Linienidentifizierung": the modeless dialog of a diagram's analysis. Its list shows the
// protocol the diagram writes while its runs go on; the radio buttons choose between
// identifying the spectrum (with or without a new line search and identification) and
// showing the database's line positions. Every change of a choice is handed to the diagram
// at once; "Starten" asks it to run, "Einstellungen" for the settings of the chosen kind, and
// "Schließen" (also the window's close button and Escape) asks it to switch its analysis
// display off, which closes the dialog.
#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QListWidget;
class QPushButton;
class QRadioButton;

class SearchLinesDialog : public QDialog {
    Q_OBJECT
  public:
    struct State {
        bool identify = true;  // "Spektrum identifizieren:"; else the database's positions
        bool searchLines = true;
        bool identifyLines = true;
        bool operator==(const State&) const = default;
    };

    explicit SearchLinesDialog(QWidget* parent = nullptr);

    // Shows the choices without handing them back.
    void setState(const State& state);
    State state() const;
    void setProtocol(const QStringList& lines);
    void appendProtocol(const QString& line);
    QStringList protocol() const;
    // The selected protocol lines, one per line, onto the clipboard (Ctrl+C in the list).
    void copySelection() const;
    // Closes the dialog for good; any other close asks the diagram instead.
    void closeFromOwner();

    QListWidget* protocolList() const { return protocol_; }
    QRadioButton* identifyButton() const { return identify_; }
    QRadioButton* databaseButton() const { return database_; }
    QCheckBox* searchLinesBox() const { return searchLines_; }
    QCheckBox* identifyLinesBox() const { return identifyLines_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* settingsButton() const { return settings_; }
    QPushButton* closeButton() const { return close_; }

  signals:
    void stateChanged(const SearchLinesDialog::State& state);
    void startRequested(const SearchLinesDialog::State& state);
    void settingsRequested(const SearchLinesDialog::State& state);
    void closeRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    // Ctrl+C in the protocol list copies its selected lines.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void followChoice();
    void choiceClicked();

    QListWidget* protocol_;
    QRadioButton* identify_;
    QCheckBox* searchLines_;
    QCheckBox* identifyLines_;
    QRadioButton* database_;
    QPushButton* start_;
    QPushButton* settings_;
    QPushButton* close_;
    bool loading_ = false;
    bool closing_ = false;
};
