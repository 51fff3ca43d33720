// Scripted services and command helpers for the shell tests.
#include "ShellHarness.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QStatusBar>

#include "app/LumoraDecMDIFrame.h"
#include "app/LumoraMDIClient.h"

ShellHarness::ShellHarness() = default;

ShellHarness::~ShellHarness() {
    destroy();
}

bool ShellHarness::start() {
    LumoraApp::Options options;
    options.splash = false;
    options.services = {&messages, &files, &dialogs};
    app_ = std::make_unique<LumoraApp>(options);
    return app_->startUp();
}

LumoraDecMDIFrame& ShellHarness::frame() {
    return *app_->frame();
}

void ShellHarness::destroy() {
    app_.reset();
}

bool ShellHarness::trigger(int id) {
    frame().updateCommandStates();
    QAction* a = frame().action(id);
    if (!a || !a->isEnabled()) return false;
    a->trigger();
    return true;
}

bool ShellHarness::isEnabled(int id) {
    frame().updateCommandStates();
    QAction* a = frame().action(id);
    return a && a->isEnabled();
}

QString ShellHarness::hoverHint(int id) {
    QAction* a = frame().action(id);
    if (!a) return QStringLiteral("<no action>");
    frame().statusBar()->showMessage(QStringLiteral("<before>"));
    a->showStatusText(&frame());
    return statusText();
}

QString ShellHarness::statusText() {
    return frame().statusBar()->currentMessage();
}

QWidget* ShellHarness::openFakeDiagram(const QString& path) {
    return app_->client()->openDocument(path) ? app_->client()->activeSubWindow()->widget()
                                              : nullptr;
}
