// Helpers of the shell tests: the scripted services handed to the application, a temporary
// program directory with a copy of the built line database (LUMORA_HOME pointing at it), a
// started application on it, commands by id, and a fake diagram window.
#pragma once

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

#include "app/CommandTable.h"
#include "app/CommandTarget.h"
#include "app/LumoraApp.h"
#include "app/LumoraDecMDIFrame.h"
#include "app/LumoraMDIClient.h"
#include "services/FileDialog.h"
#include "services/MessageBox.h"
#include "services/ModalRunner.h"

// The front of a queue of scripted answers, taken off, or `otherwise` when it is empty.
template <class T>
T takeNext(std::deque<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

// Records every box and answers from a queue (Ok / Yes when empty), and counts the beeps,
// those given with a box included.
class ScriptedMessageBox : public MessageBox {
  public:
    struct Shown {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
        bool owned;
        bool beep;
    };
    QList<Shown> shown;
    std::deque<Answer> answers;
    int beeps = 0;

    void beep() override { ++beeps; }

    using MessageBox::show;
    Answer show(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                Buttons buttons, bool beep) override {
        shown.append({text, caption, icon, buttons, owner != nullptr, beep});
        if (beep) this->beep();
        const bool yes = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
        return takeNext(answers, yes ? Answer::Yes : Answer::Ok);
    }
};

// Records each request and returns the queued results (cancelled when the queue is empty).
class ScriptedFileDialog : public FileDialog {
  public:
    QList<Request> requests;
    std::deque<Result> results;

    Result run(QWidget*, const Request& request) override {
        requests.append(request);
        return takeNext(results, Result{});
    }
    static Result choose(const QString& file, int filterIndex) {
        return {true, {file}, filterIndex};
    }
};

// Records each dialog's title and hands the dialog to the next queued script instead of
// waiting. A script fills in fields and accepts the dialog (through its own accept(), so the
// dialog's checks apply) or rejects it; without a script the dialog is rejected.
class ScriptedModalRunner : public ModalRunner {
  public:
    QStringList titles;
    std::deque<std::function<void(QDialog&)>> scripts;

    int run(QDialog& dialog) override {
        titles.append(dialog.windowTitle());
        dialog.setResult(QDialog::Rejected);
        if (const auto script = takeNext(scripts, {})) script(dialog);
        return dialog.result();
    }
};

// Stands in for a diagram or search window: takes the given commands, records what it was
// asked to do and can refuse to close.
class FakeDiagram : public QWidget, public CommandTarget {
  public:
    explicit FakeDiagram(QSet<int> commands) {
        for (int id : commands)
            table_.add(
                id, [this, id] { executed.append(id); },
                [this, id] { return !disabled.contains(id); },
                [this, id] { return checked.contains(id); });
    }
    QList<int> executed;
    QSet<int> disabled, checked;
    QList<bool> modelessStates;
    bool refuseClose = false;

    const CommandTable& commands() const override { return table_; }
    void setModelessDialogsEnabled(bool enabled) override { modelessStates.append(enabled); }

  protected:
    void closeEvent(QCloseEvent* event) override { event->setAccepted(!refuseClose); }

  private:
    CommandTable table_;
};

class ShellHarness {
  public:
    ShellHarness() { qputenv("LUMORA_HOME", dir_.path().toLocal8Bit()); }
    ~ShellHarness() {
        destroy();
        qunsetenv("LUMORA_HOME");
    }
    ScriptedMessageBox messages;
    ScriptedFileDialog files;
    ScriptedModalRunner dialogs;
    AppContext::Windows windows;  // how the client makes its windows; none unless set

    // The temporary program directory and its settings file (Windows-1252 bytes on disk).
    QString path() const { return QDir::cleanPath(dir_.path()); }
    QString settingsPath() const { return path() + "/Lumora.ini"; }
    QByteArray settingsBytes() const {
        QFile f(settingsPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Copies <build>/bin/Data (the sample database the build lays out).
    bool copyDatabase() {
        const QString target = path() + "/Data";
        QDirIterator it(LUMORA_PROGRAM_DIR "/Data", QDir::Files);
        bool ok = QDir().mkpath(target);
        while (ok && it.hasNext()) {
            const QString file = it.next();
            ok = QFile::copy(file, target + "/" + it.fileName());
        }
        return ok && QFile::exists(target + "/Elements.lmt");
    }
    // An element table naming a database file that is not there.
    bool writeIncompleteDatabase() {
        if (!copyDatabase()) return false;
        QDir data(path() + "/Data");
        for (const QString& name : data.entryList(QDir::Files))
            if (name != "Elements.lmt") return data.remove(name);
        return false;
    }
    void makeExamples(bool withConfigurations = true) {
        QDir().mkpath(path() + (withConfigurations ? "/Beispiele/Konfigurationen" : "/Beispiele"));
    }

    // Builds the application (no splash) and runs its start-up.
    bool start() {
        app_ = std::make_unique<LumoraApp>(LumoraApp::Options{
            .splash = false, .services = {&messages, &files, &dialogs}, .windows = windows});
        return app_->startUp();
    }
    // The same on a copy of the database and, when given, this settings file.
    bool startWithDatabase(const QByteArray& settings = {}) {
        QFile f(settingsPath());
        if (!settings.isEmpty() && !(f.open(QIODevice::WriteOnly) && f.write(settings) > 0))
            return false;
        f.close();
        return copyDatabase() && start();
    }
    LumoraApp& app() { return *app_; }
    AppContext& context() { return app_->context(); }
    LumoraDecMDIFrame& frame() { return *app_->frame(); }
    // Ends the application object without the close query.
    void destroy() { app_.reset(); }

    // Triggers the command like a click on its menu item; false when it is disabled.
    bool trigger(int id) {
        if (!isEnabled(id)) return false;
        frame().action(id)->trigger();
        return true;
    }
    bool isEnabled(int id) {
        frame().updateCommandStates();
        return frame().action(id) && frame().action(id)->isEnabled();
    }
    // The status-bar text after the pointer rests on the command's menu item.
    QString hoverHint(int id) {
        frame().statusBar()->showMessage("<before>");
        if (QAction* a = frame().action(id)) a->showStatusText(&frame());
        return frame().statusBar()->currentMessage();
    }
    // Opens a fake diagram child (through the diagram opener the tests install).
    QWidget* openFakeDiagram(const QString& path = "/tmp/fake.lmx") {
        return app_->client()->openDocument(path) ? app_->client()->activeSubWindow()->widget()
                                                  : nullptr;
    }

  private:
    QTemporaryDir dir_;
    std::unique_ptr<LumoraApp> app_;
};
