// Temporary program directory with a copy of the built database.
#include "TestProgramDir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#ifndef LUMORA_PROGRAM_DIR
#error "LUMORA_PROGRAM_DIR names the build's program directory"
#endif

TestProgramDir::TestProgramDir()
    : oldHome_(qgetenv("LUMORA_HOME")), hadHome_(qEnvironmentVariableIsSet("LUMORA_HOME")) {
    qputenv("LUMORA_HOME", dir_.path().toLocal8Bit());
}

TestProgramDir::~TestProgramDir() {
    if (hadHome_)
        qputenv("LUMORA_HOME", oldHome_);
    else
        qunsetenv("LUMORA_HOME");
}

QString TestProgramDir::path() const {
    return QDir::cleanPath(dir_.path());
}
QString TestProgramDir::settingsPath() const {
    return path() + QStringLiteral("/Lumora.ini");
}

bool TestProgramDir::copyDatabase() {
    const QString source = QStringLiteral(LUMORA_PROGRAM_DIR "/Data");
    const QString target = path() + QStringLiteral("/Data");
    if (!QDir().mkpath(target)) return false;
    QDirIterator it(source, QDir::Files);
    int copied = 0;
    while (it.hasNext()) {
        it.next();
        if (!QFile::copy(it.filePath(), target + QLatin1Char('/') + it.fileName())) return false;
        ++copied;
    }
    return copied > 0 && QFile::exists(target + QStringLiteral("/Elements.lmt"));
}

bool TestProgramDir::writeIncompleteDatabase() {
    if (!copyDatabase()) return false;
    // Remove one database file named in the table: the check must then fail.
    QDir data(path() + QStringLiteral("/Data"));
    for (const QString& name : data.entryList(QDir::Files)) {
        if (name != QLatin1String("Elements.lmt")) return data.remove(name);
    }
    return false;
}

void TestProgramDir::makeExamples(bool withConfigurations) {
    QDir().mkpath(path() + QStringLiteral("/Beispiele"));
    if (withConfigurations) QDir().mkpath(path() + QStringLiteral("/Beispiele/Konfigurationen"));
}

void TestProgramDir::writeSettings(const QByteArray& bytes) {
    QFile f(settingsPath());
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray TestProgramDir::settingsBytes() const {
    QFile f(settingsPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
