// The modeless progress dialog of long database and analysis runs: caption "Status", the
// process and phase texts, a progress bar and the "Abbruch" button.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

class SearchStatusDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SearchStatusDialog(QWidget* parent = nullptr);

    void refresh(const QString& process, const QString& phase, int lower, int upper);
    void setPosition(int position);
    bool abortRequested() const { return abortRequested_; }

    QString processText() const;
    QString phaseText() const;
    int lower() const;
    int upper() const;
    int position() const;

  signals:
    void aborted();

  protected:
    // Escape and the window's close button ask for the abort as "Abbruch" does; the run
    // closes the dialog itself.
    void reject() override;

  private:
    QLabel* process_;
    QLabel* phase_;
    QProgressBar* bar_;
    bool abortRequested_ = false;
};
