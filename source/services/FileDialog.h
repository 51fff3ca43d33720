// The one way the program asks for file names (open, overlay, save, export, reports).
// Windows reach it through their application context; tests hand in a scripted one.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

class FileDialog {
  public:
    struct Request {
        enum class Mode { Open, OpenMany, Save };
        Mode mode = Mode::Open;
        QString caption;
        QString directory;
        QString fileName;       // preset name (save dialogs)
        QString filter;         // "label|patterns|label|patterns..." as the filter strings give it
        int filterIndex = 1;    // 1-based entry selected at first
        QString defaultSuffix;  // appended to a saved name without extension
        bool confirmOverwrite = true;  // false: the caller asks once the name is final
    };
    struct Result {
        bool accepted = false;
        QStringList files;
        int filterIndex = 1;  // 1-based entry chosen
    };

    virtual ~FileDialog() = default;
    virtual Result run(QWidget* owner, const Request& request) = 0;

    // The Qt name filters for a "label|patterns|..." filter string: every label with its
    // pattern list (";" separated) as Qt expects it, "*.*" meaning every file.
    static QStringList nameFilters(const QString& filter);
};
