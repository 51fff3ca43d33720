// A MessageBox for tests: records every box and answers from a queue (Ok / Yes when empty),
// and counts the beeps, those given with a box included.
#pragma once

#include <QList>
#include <QString>
#include <deque>

#include "services/MessageBox.h"

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
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes
                                                                            : Answer::Ok;
    }
};
