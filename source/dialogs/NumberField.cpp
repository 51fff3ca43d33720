#include "dialogs/NumberField.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <charconv>
#include <cmath>
#include <string>

#include "lumcore/Printf.h"
#include "services/MessageBox.h"
#include "services/StringTable.h"

namespace numberfield {

QLineEdit* make(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    static const QRegularExpression allowed(QStringLiteral("[0-9.dDeE+\\-]*"));
    field->setValidator(new QRegularExpressionValidator(allowed, field));
    field->setMaxLength(255);
    return field;
}

std::optional<float> read(const QString& text) {
    std::string s = text.trimmed().toStdString();
    for (char& c : s)
        if (c == 'd' || c == 'D') c = 'e';
    const char* begin = s.data();
    const char* end = begin + s.size();
    // from_chars takes no '+'; one sign at most.
    if (begin != end && *begin == '+' && ++begin != end && *begin == '-') return std::nullopt;
    double value = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    // Beyond float range the conversion gives infinity (values that round to FLT_MAX, as
    // its own shortest text does, stay).
    const auto single = static_cast<float>(value);
    if (error != std::errc{} || stop != end || !std::isfinite(single)) return std::nullopt;
    return single;
}

std::optional<float> read(const QLineEdit* field) {
    return read(field->text());
}

QString text(float value) {
    return QString::fromStdString(lumcore::shortestFloat(value));
}

bool check(MessageBox& messages, QWidget* owner, std::initializer_list<Rule> rules) {
    for (const Rule& rule : rules) {
        if (!rule.fails()) continue;
        messages.show(owner, rule.message, strings::InputError, MessageBox::Icon::Exclamation,
                      MessageBox::Buttons::Ok, true);
        rule.field->setFocus();
        rule.field->selectAll();
        return false;
    }
    return true;
}

std::function<bool()> missing(const QLineEdit* field) {
    return [field] { return !read(field); };
}

std::function<bool()> equal(const QLineEdit* a, const QLineEdit* b) {
    return [a, b] { return read(a) == read(b); };
}

}  // namespace numberfield
