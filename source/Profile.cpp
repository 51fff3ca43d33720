// Reading and writing the INI settings file line by line, keeping everything not touched.
#include "Profile.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QSaveFile>
#include <QStringList>
#include <charconv>
#include <climits>
#include <optional>

#include "lumcore/Cp1252.h"
#include "lumcore/Printf.h"

namespace {

struct FileLines {
    QStringList lines;
    QString eol = QStringLiteral("\r\n");
    bool finalEol = true;
};

FileLines readLines(const QString& path) {
    FileLines out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return out;
    const QByteArray bytes = f.readAll();
    const std::string utf8 = lumcore::cp1252ToUtf8(std::string_view(bytes.constData(),
                                                                    static_cast<size_t>(bytes.size())));
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (!text.contains(QLatin1String("\r\n")) && text.contains(QLatin1Char('\n')))
        out.eol = QStringLiteral("\n");
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.isEmpty()) return out;
    out.finalEol = text.endsWith(QLatin1Char('\n'));
    if (out.finalEol) text.chop(1);
    out.lines = text.split(QLatin1Char('\n'));
    return out;
}

// The section name of a "[name]" line, or nothing.
std::optional<QString> sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    const QString name = close < 0 ? t.mid(1) : t.mid(1, close - 1);
    return name.trimmed();
}

// The key of a "key=value" line, or nothing (comments and other lines).
std::optional<QString> keyOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';'))) return std::nullopt;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq < 0) return std::nullopt;
    return t.left(eq).trimmed();
}

bool isRepresentable(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view view(utf8.constData(), static_cast<size_t>(utf8.size()));
    return lumcore::cp1252ToUtf8(lumcore::utf8ToCp1252(view)) == view;
}

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

struct Location {
    qsizetype sectionLine = -1;  // the "[section]" line
    qsizetype lastKeyLine = -1;  // last key line of that section (or the header)
    qsizetype keyLine = -1;      // the first line with the key
};

Location locate(const QStringList& lines, const QString& section, const QString& key) {
    Location loc;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (auto s = sectionOf(lines[i])) {
            if (inSection) break;  // the first section of that name holds the keys
            if (same(*s, section)) {
                inSection = true;
                loc.sectionLine = i;
                loc.lastKeyLine = i;
            }
            continue;
        }
        if (!inSection) continue;
        if (auto k = keyOf(lines[i])) {
            loc.lastKeyLine = i;
            if (loc.keyLine < 0 && same(*k, key)) loc.keyLine = i;
        } else if (!lines[i].trimmed().isEmpty()) {
            loc.lastKeyLine = i;  // comments stay with the keys around them
        }
    }
    return loc;
}

std::optional<QString> rawValue(const QString& path, const QString& section, const QString& key) {
    const FileLines f = readLines(path);
    const Location loc = locate(f.lines, section, key);
    if (loc.keyLine < 0) return std::nullopt;
    const QString line = f.lines[loc.keyLine];
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

bool writeLines(const QString& path, const FileLines& f) {
    QString text = f.lines.join(f.eol);
    if (f.finalEol && !f.lines.isEmpty()) text += f.eol;
    const QByteArray utf8 = text.toUtf8();
    const std::string bytes =
        lumcore::utf8ToCp1252(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace

Profile::Profile(QString path) : path_(std::move(path)) {}

QString Profile::getString(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    return rawValue(path_, section, key).value_or(defaultValue);
}

int Profile::getInt(const QString& section, const QString& key, int defaultValue) const {
    const auto v = rawValue(path_, section, key);
    return v ? toInt(*v) : defaultValue;
}

double Profile::getDouble(const QString& section, const QString& key,
                          const QString& defaultText) const {
    return toDouble(getString(section, key, defaultText));
}

bool Profile::hasKey(const QString& section, const QString& key) const {
    return rawValue(path_, section, key).has_value();
}

bool Profile::writeString(const QString& section, const QString& key, const QString& value) {
    // A text that Windows-1252 cannot hold would come back altered (a path with '?' in it
    // names another file); the old value is kept instead.
    if (!isRepresentable(section) || !isRepresentable(key) || !isRepresentable(value))
        return false;
    FileLines f = readLines(path_);
    const Location loc = locate(f.lines, section, key);
    if (loc.keyLine >= 0) {
        // Keep the key as it is spelled in the file.
        const QString line = f.lines[loc.keyLine];
        const QString existingKey = line.left(line.indexOf(QLatin1Char('='))).trimmed();
        f.lines[loc.keyLine] = existingKey + QLatin1Char('=') + value;
    } else if (loc.sectionLine >= 0) {
        f.lines.insert(loc.lastKeyLine + 1, key + QLatin1Char('=') + value);
    } else {
        if (!f.lines.isEmpty() && !f.lines.back().trimmed().isEmpty()) f.lines.append(QString());
        f.lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        f.lines.append(key + QLatin1Char('=') + value);
        f.finalEol = true;
    }
    return writeLines(path_, f);
}

bool Profile::writeInt(const QString& section, const QString& key, int value) {
    return writeString(section, key, QString::number(value));
}

bool Profile::writeDouble(const QString& section, const QString& key, double value) {
    return writeString(section, key, QString::fromStdString(lumcore::strprintf("%g", value)));
}

bool Profile::removeKey(const QString& section, const QString& key) {
    FileLines f = readLines(path_);
    const Location loc = locate(f.lines, section, key);
    if (loc.keyLine < 0) return true;
    f.lines.removeAt(loc.keyLine);
    return writeLines(path_, f);
}

double Profile::toDouble(const QString& text) {
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+') ++begin;
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument) return 0.0;
    return value;  // out of range leaves 0 like a failed conversion would show nothing better
}

int Profile::toInt(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i) {
        value = value * 10 + (t[i].unicode() - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;  // saturate
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
