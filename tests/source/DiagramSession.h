// A started application with real diagram windows, for the tests of the diagram and its
// dialogs: spectrum files written into a temporary folder, opened as diagrams, and the
// active diagram.
#pragma once

#include <QCoreApplication>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "ShellHarness.h"
#include "diagram/LumoraWindow.h"

struct DiagramSession {
    ShellHarness shell;
    QTemporaryDir dir;
    bool started = false;

    // `settings`: the settings file the application starts with (none when empty).
    explicit DiagramSession(const QByteArray& settings = {}) {
        shell.windows.diagram = &LumoraWindow::open;
        started = shell.startWithDatabase(settings);
    }
    // Writes `text` to `name` in the session's folder; returns its path.
    QString write(const QString& name, const std::string& text) {
        const QString path = dir.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << text;
        return path;
    }
    // The active diagram, or null.
    LumoraWindow* window() {
        QMdiSubWindow* sub = shell.app().client()->currentSubWindow();
        return sub ? qobject_cast<LumoraWindow*>(sub->widget()) : nullptr;
    }
    // Opens `path` in a new diagram, lets it take its first range, and returns it (null
    // when it could not be opened).
    LumoraWindow* open(const QString& path) {
        if (!shell.app().client()->openDocument(path)) return nullptr;
        QCoreApplication::processEvents();
        return window();
    }
    QString lastMessage() {
        return shell.messages.shown.isEmpty() ? QString() : shell.messages.shown.back().text;
    }
};
