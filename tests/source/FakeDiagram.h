// Stands in for a diagram or search window in the shell tests: takes the commands of its
// route, records what it was asked to do and can refuse to close.
#pragma once

#include <QCloseEvent>
#include <QList>
#include <QSet>
#include <QWidget>

#include "app/CommandTable.h"
#include "app/CommandTarget.h"

class FakeDiagram : public QWidget, public CommandTarget {
  public:
    explicit FakeDiagram(QSet<int> commands, QWidget* parent = nullptr) : QWidget(parent) {
        for (int id : commands)
            table_.add(
                id, [this, id] { executed.append(id); },
                [this, id] { return !disabled.contains(id); },
                [this, id] { return checked.contains(id); });
    }

    QList<int> executed;
    QSet<int> disabled;
    QSet<int> checked;
    QList<bool> modelessStates;
    bool refuseClose = false;

    const CommandTable& commands() const override { return table_; }
    void setModelessDialogsEnabled(bool enabled) override { modelessStates.append(enabled); }

  protected:
    void closeEvent(QCloseEvent* event) override {
        if (refuseClose)
            event->ignore();
        else
            event->accept();
    }

  private:
    CommandTable table_;
};
