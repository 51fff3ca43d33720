// The one way the program shows a message box or beeps. Windows reach it through their
// application context: the program's is the Qt implementation, tests hand in a scripted one,
// so no test ever waits on a modal box.
#pragma once

#include <QString>

class QWidget;

class MessageBox {
  public:
    enum class Icon { None, Stop, Exclamation, Information, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~MessageBox() = default;

    // Shows `text` with `caption`; `owner` may be null. With `beep` the default sound is
    // given first, as the dialogs do for input errors.
    virtual Answer show(QWidget* owner, const QString& text, const QString& caption, Icon icon,
                        Buttons buttons, bool beep = false) = 0;
    // Caption by string number (700 to 708).
    Answer show(QWidget* owner, const QString& text, int captionId, Icon icon, Buttons buttons,
                bool beep = false);
    // The default sound, for input errors and a run's warnings.
    virtual void beep() = 0;

    // The icon for a library's message: lumio and lumdb name theirs alike (Stop,
    // Exclamation, Information, Question).
    template <class LibraryIcon>
    static Icon iconOf(LibraryIcon icon) {
        switch (icon) {
            case LibraryIcon::Stop:
                return Icon::Stop;
            case LibraryIcon::Exclamation:
                return Icon::Exclamation;
            case LibraryIcon::Information:
                return Icon::Information;
            case LibraryIcon::Question:
                return Icon::Question;
        }
        return Icon::None;
    }
};
