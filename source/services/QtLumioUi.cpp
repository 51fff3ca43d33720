// lumio's user interface on the program's services.
#include "services/QtLumioUi.h"

#include <QDialog>

#include "services/MessageBox.h"
#include "services/ModalRunner.h"
#include "services/ReaderDialogs.h"

namespace {

lumio::Answer toAnswer(MessageBox::Answer answer, lumio::Buttons buttons) {
    switch (answer) {
        case MessageBox::Answer::Yes:
            return lumio::Answer::Yes;
        case MessageBox::Answer::No:
            return lumio::Answer::No;
        case MessageBox::Answer::Ok:
            return lumio::Answer::Ok;
        case MessageBox::Answer::Cancel:
            break;
    }
    // A box closed without a button: a question counts as answered no.
    return buttons == lumio::Buttons::YesNo ? lumio::Answer::No : lumio::Answer::Ok;
}

}  // namespace

QtLumioUi::QtLumioUi(QWidget* owner, MessageBox& messages, ModalRunner& runner,
                     std::function<void()> help)
    : owner_(owner), messages_(messages), runner_(runner), help_(std::move(help)) {}

lumio::Answer QtLumioUi::message(const std::string& text, const std::string& caption,
                                 lumio::Icon icon, lumio::Buttons buttons) {
    const auto answer = messages_.show(
        owner_, QString::fromStdString(text), QString::fromStdString(caption),
        MessageBox::iconOf(icon),
        buttons == lumio::Buttons::YesNo ? MessageBox::Buttons::YesNo : MessageBox::Buttons::Ok);
    return toAnswer(answer, buttons);
}

std::optional<int> QtLumioUi::chooseFormat(const std::string& path,
                                           const std::vector<std::string>& entries,
                                           int preselectIndex) {
    FileFormatDialog dialog(path, entries, preselectIndex, help_, owner_);
    if (runner_.run(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.formatCode();
}

std::optional<int> QtLumioUi::chooseTrack(const std::string& path, int count, int initial) {
    SelectTraceDialog dialog(path, count, initial, messages_, help_, owner_);
    if (runner_.run(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.track();
}

std::optional<lumio::Ui::FrameStrip> QtLumioUi::chooseFrameStrip(const std::string& path,
                                                                 int frames, int strips,
                                                                 FrameStrip initial) {
    SelectWinSpecTraceDialog dialog(path, frames, strips, initial, messages_, help_, owner_);
    if (runner_.run(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

std::optional<lumio::MapsChoice> QtLumioUi::chooseMaps(const std::string& path,
                                                       lumio::MapsChoice counts,
                                                       lumio::MapsChoice initial) {
    SelectMapsTraceDialog dialog(path, counts, initial, messages_, help_, owner_);
    if (runner_.run(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

std::optional<int> QtLumioUi::chooseColumn(const std::string& path,
                                           const std::vector<std::string>& names,
                                           int initialIndex) {
    SelectTraceComboDialog dialog(path, names, initialIndex, help_, owner_);
    if (runner_.run(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.column();
}
