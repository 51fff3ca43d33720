// Program directory and settings-file location.
#include "app/ProgramLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramLocation::programDirectory() {
    const QByteArray home = qgetenv("LUMORA_HOME");
    if (!home.isEmpty()) {
        const QFileInfo info(QString::fromLocal8Bit(home));
        if (!info.isDir()) return {};
        return QDir::cleanPath(info.absoluteFilePath());
    }
    const QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) return {};
    return QDir::cleanPath(dir);
}

QString ProgramLocation::userConfigDirectory() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Lumora");
}

QString ProgramLocation::settingsFile(const QString& programDir, const QString& userConfigDir) {
    const QString inProgramDir = programDir + QLatin1Char('/') + QString::fromLatin1(kSettingsName);
    const QFileInfo dirInfo(programDir);
    const QFileInfo fileInfo(inProgramDir);
    const bool writable =
        dirInfo.isDir() && dirInfo.isWritable() && (!fileInfo.exists() || fileInfo.isWritable());
    return settingsFileFor(programDir, userConfigDir, writable);
}

QString ProgramLocation::settingsFileFor(const QString& programDir, const QString& userConfigDir,
                                         bool programDirWritable) {
    const QString name = QString::fromLatin1(kSettingsName);
    const QString inProgramDir = programDir + QLatin1Char('/') + name;
    if (programDirWritable) return inProgramDir;
    const QFileInfo fileInfo(inProgramDir);

    const QString userDir = userConfigDir.isEmpty() ? userConfigDirectory() : userConfigDir;
    const QString inUserDir = userDir + QLatin1Char('/') + name;
    if (!QFileInfo::exists(inUserDir) && fileInfo.isFile()) {
        QDir().mkpath(userDir);
        QFile::copy(inProgramDir, inUserDir);
        QFile(inUserDir).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::ReadOther);
    }
    return inUserDir;
}

QString ProgramLocation::subdirectoryOr(const QString& parent, const QString& relative) {
    const QString candidate = parent + QLatin1Char('/') + relative;
    const QFileInfo info(candidate);
    // Only a plain directory counts: a link or a hidden folder is not taken as the
    // examples folder.
    if (info.isDir() && !info.isSymLink() && !info.isHidden()) return candidate;
    return parent;
}
