// The settings file: Windows profile semantics, the encoding on disk, the program directory
// and the fallback of the settings file, and the filter strings of the file dialogs.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "FileDialog.h"
#include "Profile.h"
#include "ProgramLocation.h"

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class ProfileTest : public QObject {
    Q_OBJECT
private slots:
    void missingFileGivesDefaults() {
        QTemporaryDir dir;
        Profile p(dir.filePath("Lumora.ini"));
        QCOMPARE(p.getString("InitApp", "Name", "dflt"), QString("dflt"));
        QCOMPARE(p.getInt("InitApp", "Size", 9), 9);
        QCOMPARE(p.getDouble("Search Engine", "UpperWavelength", "1000"), 1000.0);
        QVERIFY(!p.hasKey("InitApp", "Size"));
        QVERIFY(!QFile::exists(dir.filePath("Lumora.ini")));  // reading creates nothing
    }

    void readsLikeWindowsProfiles() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Lumora.ini");
        writeBytes(path,
                   "; comment\r\n[initapp]\r\n  SIZE = 3 \r\nLeft=-12\r\nTop=42px\r\nWidth=abc\r\n"
                   "Quoted=\"c:\\daten \"\r\nEmpty=\r\n[InitApp]\r\nHeight=1\r\n"
                   "[Search Engine]\r\nLowerWavelength=2.5e2\r\nUpperWavelength= +7.25 nm\r\n"
                   "Bad=x1\r\nDup=1\r\nDup=2\r\n");
        Profile p(path);
        QCOMPARE(p.getInt("InitApp", "Size", 9), 3);           // section and key ignore case
        QCOMPARE(p.getInt("InitApp", "Left", 0), -12);         // negative positions survive
        QCOMPARE(p.getInt("InitApp", "Top", 0), 42);           // leading number only
        QCOMPARE(p.getInt("InitApp", "Width", 800), 0);        // present but no number
        QCOMPARE(p.getString("InitApp", "Quoted"), QString("c:\\daten "));
        QCOMPARE(p.getString("InitApp", "Empty", "x"), QString());  // present, empty
        QCOMPARE(p.getInt("InitApp", "Height", 600), 600);     // the first section counts
        QCOMPARE(p.getDouble("Search Engine", "LowerWavelength", "100"), 250.0);
        QCOMPARE(p.getDouble("Search Engine", "UpperWavelength", "1000"), 7.25);
        QCOMPARE(p.getDouble("Search Engine", "Bad", "5"), 0.0);
        QCOMPARE(p.getInt("Search Engine", "Dup", 0), 1);
    }

    void writingKeepsEverythingElse() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Lumora.ini");
        const QByteArray before =
            "; Einstellungen\r\n[Directories and Files]\r\nlastdir=/alt\r\nExpDir=c:\\\r\n"
            "\r\n[Fremd]\r\nUnbekannt=bleibt\r\n\r\n[InitApp]\r\nSize=9\r\n";
        writeBytes(path, before);
        Profile p(path);
        QVERIFY(p.writeString("Directories and Files", "LastDir", "/neu"));
        QVERIFY(p.writeInt("Directories and Files", "LastFilterIndex", 4));
        QVERIFY(p.writeInt("InitApp", "Size", 3));
        QVERIFY(p.writeDouble("Search Engine", "LowerWavelength", 0.1));
        QVERIFY(p.writeDouble("Search Engine", "UpperWavelength", 1234567.0));
        QCOMPARE(readBytes(path),
                 QByteArray("; Einstellungen\r\n[Directories and Files]\r\nlastdir=/neu\r\n"
                            "ExpDir=c:\\\r\nLastFilterIndex=4\r\n\r\n[Fremd]\r\nUnbekannt=bleibt\r\n"
                            "\r\n[InitApp]\r\nSize=3\r\n\r\n[Search Engine]\r\n"
                            "LowerWavelength=0.1\r\nUpperWavelength=1.23457e+06\r\n"));
        QVERIFY(p.removeKey("Fremd", "Unbekannt"));
        QVERIFY(!p.hasKey("Fremd", "Unbekannt"));
        QCOMPARE(p.getString("InitApp", "Size"), QString("3"));
    }

    void newFileAndUnixLineEnds() {
        QTemporaryDir dir;
        const QString path = dir.filePath("sub/Lumora.ini");
        Profile p(path);
        QVERIFY(p.writeInt("InitApp", "Size", 9));
        QCOMPARE(readBytes(path), QByteArray("[InitApp]\r\nSize=9\r\n"));
        const QString unix = dir.filePath("unix.ini");
        writeBytes(unix, "[A]\nx=1\n");
        Profile u(unix);
        QVERIFY(u.writeInt("A", "y", 2));
        QCOMPARE(readBytes(unix), QByteArray("[A]\nx=1\ny=2\n"));
    }

    void windows1252OnDisk() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Lumora.ini");
        writeBytes(path, "[Directories and Files]\r\nLastDir=/daten/Me\xDF"
                         "ergebnisse \xE4\xF6\xFC\r\n");
        Profile p(path);
        QCOMPARE(p.getString("Directories and Files", "LastDir"),
                 QString::fromUtf8("/daten/Meßergebnisse äöü"));
        QVERIFY(p.writeString("Directories and Files", "LastConfigDir",
                              QString::fromUtf8("/Konfigurationen/Größe €")));
        QVERIFY(readBytes(path).endsWith("LastConfigDir=/Konfigurationen/Gr\xF6\xDF" "e \x80\r\n"));
        QVERIFY(readBytes(path).contains("Me\xDF" "ergebnisse \xE4\xF6\xFC"));
        // A path Windows-1252 cannot hold is refused, not stored as a different path.
        const QByteArray before = readBytes(path);
        QVERIFY(!p.writeString("Directories and Files", "LastDir",
                               QString::fromUtf8("/daten/光谱")));
        QCOMPARE(readBytes(path), before);
    }

    void failedWriteLeavesFileAlone() {
        QTemporaryDir dir;
        // The settings "file" is a directory: nothing can be written, and no success claimed.
        QVERIFY(QDir().mkpath(dir.filePath("Lumora.ini")));
        Profile p(dir.filePath("Lumora.ini"));
        QVERIFY(!p.writeInt("InitApp", "Size", 3));
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
        writeBytes(program + "/Lumora.ini", "[InitApp]\r\nSize=3\r\n");
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
        writeBytes(base + "/Datei", "x");
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
