// Helpers of the shell tests: the scripted services handed to the application, a started
// application on a temporary program directory, and commands by id.
#pragma once

#include <QString>
#include <memory>

#include "ScriptedFileDialog.h"
#include "ScriptedMessageBox.h"
#include "ScriptedModalRunner.h"
#include "TestProgramDir.h"
#include "app/LumoraApp.h"

class LumoraDecMDIFrame;
class QWidget;

class ShellHarness {
  public:
    ShellHarness();
    ~ShellHarness();

    ScriptedMessageBox messages;
    ScriptedFileDialog files;
    ScriptedModalRunner dialogs;
    TestProgramDir programDir;

    // Builds the application (no splash) and runs its start-up.
    bool start();
    LumoraApp& app() { return *app_; }
    AppContext& context() { return app_->context(); }
    LumoraDecMDIFrame& frame();
    // Ends the application object without the close query.
    void destroy();

    // Triggers the command like a click on its menu item; false when it is disabled.
    bool trigger(int id);
    bool isEnabled(int id);
    // The status-bar text after the pointer rests on the command's menu item.
    QString hoverHint(int id);
    QString statusText();

    // Opens a fake diagram child (through the diagram opener the tests install).
    QWidget* openFakeDiagram(const QString& path = QStringLiteral("/tmp/fake.lmx"));

  private:
    std::unique_ptr<LumoraApp> app_;
};
