// lumio's questions answered by the program: its messages through the MessageBox service and
// its choices through the reader dialogs, run by the ModalRunner service.
#pragma once

#include <QPointer>
#include <functional>

#include "lumio/Ui.h"

class MessageBox;
class ModalRunner;
class QWidget;

class QtLumioUi : public lumio::Ui {
  public:
    // `owner` is the reading window (may be null); `help` runs on every dialog's "Hilfe".
    QtLumioUi(QWidget* owner, MessageBox& messages, ModalRunner& runner,
              std::function<void()> help);

    lumio::Answer message(const std::string& text, const std::string& caption, lumio::Icon icon,
                          lumio::Buttons buttons) override;
    std::optional<int> chooseFormat(const std::string& path,
                                    const std::vector<std::string>& entries,
                                    int preselectIndex) override;
    std::optional<int> chooseTrack(const std::string& path, int count, int initial) override;
    std::optional<FrameStrip> chooseFrameStrip(const std::string& path, int frames, int strips,
                                               FrameStrip initial) override;
    std::optional<lumio::MapsChoice> chooseMaps(const std::string& path, lumio::MapsChoice counts,
                                                lumio::MapsChoice initial) override;
    std::optional<int> chooseColumn(const std::string& path, const std::vector<std::string>& names,
                                    int initialIndex) override;

  private:
    QPointer<QWidget> owner_;
    MessageBox& messages_;
    ModalRunner& runner_;
    std::function<void()> help_;
};
