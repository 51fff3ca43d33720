// Open and save dialogs with QFileDialog (German texts come from Qt's own translations).
#include "services/QtFileDialog.h"

#include <QFileDialog>

FileDialog::Result QtFileDialog::run(QWidget* owner, const Request& request) {
    QFileDialog dialog(owner, request.caption, request.directory);
    const QStringList filters = nameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    switch (request.mode) {
        case Request::Mode::Open:
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
            break;
        case Request::Mode::OpenMany:
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFiles);
            break;
        case Request::Mode::Save:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
            dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
            break;
    }
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);

    Result result;
    if (dialog.exec() != QDialog::Accepted) return result;
    result.accepted = true;
    result.files = dialog.selectedFiles();
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    result.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : request.filterIndex;
    return result;
}
