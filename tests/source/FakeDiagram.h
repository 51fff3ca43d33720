// Stands in for a diagram or search window in the shell tests: takes the commands of its
// route, records what it was asked to do and can refuse to close.
#pragma once

#include <QCloseEvent>
#include <QList>
#include <QSet>
#include <QWidget>

#include "app/CommandTarget.h"

class FakeDiagram : public QWidget, public CommandTarget {
public:
    explicit FakeDiagram(QSet<int> commands, QWidget* parent = nullptr)
        : QWidget(parent), commands_(std::move(commands)) {}

    QList<int> executed;
    QSet<int> disabled;
    QSet<int> checked;
    QList<bool> modelessStates;
    bool refuseClose = false;

    bool handlesCommand(int id) const override { return commands_.contains(id); }
    bool isCommandEnabled(int id) const override { return !disabled.contains(id); }
    bool isCommandChecked(int id) const override { return checked.contains(id); }
    void executeCommand(int id) override { executed.append(id); }
    void setModelessDialogsEnabled(bool enabled) override { modelessStates.append(enabled); }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (refuseClose)
            event->ignore();
        else
            event->accept();
    }

private:
    QSet<int> commands_;
};
