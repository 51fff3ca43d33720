// "Status" of the long report runs: "Prozeß:" with the process and its current action,
// "Fortschritt:" with a progress bar, and "Abbruch". Each dialog keeps its own texts, range
// and cancel flag, so a second report never clears the first one's cancel request; the
// running count lets report commands stay disabled while one runs.
#pragma once

#include "services/SearchStatusDialog.h"

class ShowStatusDialog : public SearchStatusDialog {
    Q_OBJECT
  public:
    // The texts and the range are set at once; the cancel flag starts cleared.
    ShowStatusDialog(const QString& process, const QString& action, int minimum, int maximum,
                     QWidget* parent = nullptr);
    ~ShowStatusDialog() override;

    // Shows the dialog, centred on the screen.
    void Start();
    void SetProgress(int position) { setPosition(position); }
    // "Abbruch" (or Escape) was chosen: the report stops before its next item.
    bool cancelled() const { return abortRequested(); }

    // How many status dialogs exist (reports running) in the program.
    static int running() { return running_; }

  private:
    static inline int running_ = 0;
};
