// The settings file through lumcore::IniFile, QString at the edges.
#include "app/Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

}  // namespace

Profile::Profile(QString path) : path_(std::move(path)) {}

lumcore::IniFile Profile::read() const {
    return path_.isEmpty() ? lumcore::IniFile{}
                           : lumcore::IniFile::load(QFile::encodeName(path_).toStdString());
}

bool Profile::write(const lumcore::IniFile& ini) const {
    if (path_.isEmpty()) return false;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    return ini.save(QFile::encodeName(path_).toStdString());
}

QString Profile::getString(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    const lumcore::IniFile ini = read();
    if (!ini.hasKey(utf8(section), utf8(key))) return defaultValue;
    return QString::fromStdString(ini.getString(utf8(section), utf8(key)));
}

int Profile::getInt(const QString& section, const QString& key, int defaultValue) const {
    return read().getInt(utf8(section), utf8(key), defaultValue);
}

double Profile::getDouble(const QString& section, const QString& key,
                          const QString& defaultText) const {
    return read().getDouble(utf8(section), utf8(key), utf8(defaultText));
}

bool Profile::writeString(const QString& section, const QString& key, const QString& value) {
    lumcore::IniFile ini = read();
    return ini.setString(utf8(section), utf8(key), utf8(value)) && write(ini);
}

bool Profile::writeInt(const QString& section, const QString& key, int value) {
    lumcore::IniFile ini = read();
    ini.setInt(utf8(section), utf8(key), value);
    return write(ini);
}

bool Profile::writeDouble(const QString& section, const QString& key, double value) {
    lumcore::IniFile ini = read();
    ini.setDouble(utf8(section), utf8(key), value);
    return write(ini);
}

int Profile::toInt(const QString& text) {
    return lumcore::IniFile::toInt(utf8(text));
}

double Profile::toDouble(const QString& text) {
    return lumcore::IniFile::toDouble(utf8(text));
}
