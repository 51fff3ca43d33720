// The settings file: Windows profile semantics, the encoding on disk, the program directory
// and the fallback of the settings file, and the filter strings of the file dialogs.
#include "app/Profile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/ProgramLocation.h"
#include "services/FileDialog.h"

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class ProfileTest : public QObject {
    Q_OBJECT
  private slots:
    void readsAndWritesThroughTheIniFile() {
        // The profile rules themselves are pinned by lumcore's tests; here the Qt side: text
        // in and out, defaults before the file exists, a new file in a new folder, and a
        // refusal that leaves the file alone.
        QTemporaryDir dir;
        const QString path = dir.filePath("sub/Lumora.ini");
        Profile p(path);
        QCOMPARE(p.getString("InitApp", "Name", "dflt"), QString("dflt"));
        QCOMPARE(p.getInt("InitApp", "Size", 9), 9);
        QCOMPARE(p.getDouble("Search Engine", "UpperWavelength", "1000"), 1000.0);
        QVERIFY(!QFile::exists(path));  // reading creates nothing
        QVERIFY(p.writeString("Directories and Files", "LastDir",
                              QString::fromUtf8("/daten/Meßergebnisse €")));
        QVERIFY(p.writeDouble("Search Engine", "UpperWavelength", 1234567.0));
        QVERIFY(p.writeInt("InitApp", "Size", 3));
        const QByteArray written =
            "[Directories and Files]\r\nLastDir=/daten/Me\xDF"
            "ergebnisse \x80\r\n\r\n"
            "[Search Engine]\r\nUpperWavelength=1.23457e+06\r\n\r\n[InitApp]\r\nSize=3\r\n";
        QCOMPARE(readBytes(path), written);
        QCOMPARE(p.getString("directories and files", "lastdir"),
                 QString::fromUtf8("/daten/Meßergebnisse €"));
        QCOMPARE(p.getDouble("Search Engine", "UpperWavelength", "1000"), 1234570.0);
        // A path Windows-1252 cannot hold is refused, not stored as a different path.
        QVERIFY(
            !p.writeString("Directories and Files", "LastDir", QString::fromUtf8("/daten/光谱")));
        QCOMPARE(readBytes(path), written);
        // The settings "file" is a directory: nothing can be written, and no success claimed.
        QVERIFY(QDir().mkpath(dir.filePath("Lumora.ini")));
        QVERIFY(!Profile(dir.filePath("Lumora.ini")).writeInt("InitApp", "Size", 3));
    }

    void programDirectoryAndFallback() {
        QTemporaryDir dir;
        qputenv("LUMORA_HOME", dir.path().toLocal8Bit());
        QCOMPARE(ProgramLocation::programDirectory(), QDir::cleanPath(dir.path()));
        qputenv("LUMORA_HOME", dir.filePath("missing").toLocal8Bit());
        QCOMPARE(ProgramLocation::programDirectory(), QString());  // the fatal case
        qunsetenv("LUMORA_HOME");
        QCOMPARE(ProgramLocation::programDirectory(),
                 QDir::cleanPath(QCoreApplication::applicationDirPath()));

        const QString program = dir.filePath("prog");
        const QString user = dir.filePath("user");
        QVERIFY(QDir().mkpath(program));
        QCOMPARE(ProgramLocation::settingsFile(program, user), program + "/Lumora.ini");
        // Not writable and no file yet: the per-user file, nothing copied.
        QCOMPARE(ProgramLocation::settingsFileFor(program, user, false), user + "/Lumora.ini");
        QVERIFY(!QFile::exists(user + "/Lumora.ini"));
        // Not writable with installed settings: the per-user file starts as their copy and is
        // not overwritten later.
        QFile installed(program + "/Lumora.ini");
        QVERIFY(installed.open(QIODevice::WriteOnly) && installed.write("[InitApp]\r\nSize=3\r\n"));
        installed.close();
        QCOMPARE(ProgramLocation::settingsFileFor(program, user, false), user + "/Lumora.ini");
        QCOMPARE(readBytes(user + "/Lumora.ini"), QByteArray("[InitApp]\r\nSize=3\r\n"));
        Profile(user + "/Lumora.ini").writeInt("InitApp", "Size", 9);
        ProgramLocation::settingsFileFor(program, user, false);
        QCOMPARE(Profile(user + "/Lumora.ini").getInt("InitApp", "Size", 0), 9);
    }

    void examplesFolderRule() {
        QTemporaryDir dir;
        const QString base = QDir::cleanPath(dir.path());
        QCOMPARE(ProgramLocation::subdirectoryOr(base, "Beispiele"), base);
        QVERIFY(QDir().mkpath(base + "/Beispiele"));
        QCOMPARE(ProgramLocation::subdirectoryOr(base, "Beispiele"), base + "/Beispiele");
        QCOMPARE(ProgramLocation::subdirectoryOr(base, "Beispiele/Konfigurationen"), base);
        // A file of that name or a link is not the examples folder.
        QVERIFY(QFile(base + "/Datei").open(QIODevice::WriteOnly));
        QCOMPARE(ProgramLocation::subdirectoryOr(base, "Datei"), base);
        QVERIFY(QFile::link(base + "/Beispiele", base + "/Link"));
        QCOMPARE(ProgramLocation::subdirectoryOr(base, "Link"), base);
    }

    void dialogFilters() {
        const QStringList filters = FileDialog::nameFilters(
            QString::fromUtf8("Alle Dateien  (*.*)|*.*|ASCII-Dateien  (*.asc,*.txt)|*.asc;*.txt"
                              "|OOIBase-Dateien  (*.sample, *.scope)|*.sample; *.scope"
                              "|Binärdateien  (*.bin)|*.bin"));
        QCOMPARE(filters, QStringList({"Alle Dateien (*)", "ASCII-Dateien (*.asc *.txt)",
                                       "OOIBase-Dateien (*.sample *.scope)",
                                       QString::fromUtf8("Binärdateien (*.bin)")}));
    }
};

QTEST_MAIN(ProfileTest)
#include "profile_test.moc"
