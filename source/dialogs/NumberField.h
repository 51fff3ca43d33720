// The number fields of the dialogs: entries that take the characters "0-9.dDeE+-", read
// "d"/"D" as the exponent letter (1d5 = 100000) and refuse any text that is not a whole
// number or lies beyond float range as they refuse an empty field. Values are shown as the
// shortest text that reads back as the same float. The checks a dialog runs on its fields
// go through one place, which beeps, tells "Eingabefehler" and puts the focus back.
#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <optional>

class MessageBox;
class QLineEdit;
class QWidget;

namespace numberfield {

// An entry taking only "0-9.dDeE+-".
QLineEdit* make(QWidget* parent);
// The float in `text`, or nothing for an empty text, one that is not a number in whole, or
// one beyond float range.
std::optional<float> read(const QString& text);
std::optional<float> read(const QLineEdit* field);
// The shortest text that reads back as `value`.
QString text(float value);

// One rule of a dialog's check: when `fails` says so, `message` is told and `field` gets the
// focus.
struct Rule {
    QLineEdit* field;
    std::function<bool()> fails;
    QString message;
};
// Runs the rules in order and stops at the first that fails: beep, the message with the
// caption "Eingabefehler", the focus into its field with its text selected. True when none
// fails.
bool check(MessageBox& messages, QWidget* owner, std::initializer_list<Rule> rules);

// The rules of a field that must hold a number, and of a number that must differ from
// another field's (compared as floats).
std::function<bool()> missing(const QLineEdit* field);
std::function<bool()> equal(const QLineEdit* a, const QLineEdit* b);

}  // namespace numberfield
