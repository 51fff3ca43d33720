// The diagram leaving the program: a graphics file by its extension (case-blind; none or an
// unknown one refused with its message), the folder and filter remembered, a drawing error
// keeping an old file, readers nobody here wrote, the clipboard, and the print preview
// giving the modeless dialogs back when it closes.
#include <QClipboard>
#include <QImageReader>
#include <QPrintPreviewWidget>
#include <QtTest>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "app/Profile.h"
#include "reports/ReportPreview.h"

namespace {

QByteArray head(const QString& path, int n) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

bool anyDark(const QImage& image) {
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            if (qGray(image.pixel(x, y)) < 100) return true;
    return false;
}

struct Session : DiagramSession {
    LumoraWindow* w = nullptr;
    QTemporaryDir out;
    Session() {
        w = open(write("probe.txt", "400 1\n450 8\n500 5\n550 3\n600 2\n"));
        if (w) w->resize(420, 300);
    }
    QString lastCaption() {
        return shell.messages.shown.isEmpty() ? QString() : shell.messages.shown.back().caption;
    }
};

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT
  private slots:
    void formatsByExtension() {
        Session s;
        QVERIFY(s.w);
        // ".Bmp" is a bitmap of the window's size, told with caption 700.
        const QString bmp = s.out.filePath("probe.Bmp");
        QVERIFY(s.w->exportTo(bmp));
        QCOMPARE(s.lastMessage(), QString("Bitmap-Export erfolgreich ausgeführt!"));
        QCOMPARE(s.lastCaption(), QString("Orvenit Lumora"));
        QImageReader reader(bmp, "bmp");
        const QImage image = reader.read();
        QCOMPARE(image.size(), QSize(420, 300));
        QVERIFY(anyDark(image));

        const QList<std::pair<QString, QByteArray>> magic = {
            {"probe.wmf", QByteArray::fromHex("d7cdc69a")},
            {"probe.wpg", QByteArray("\xff"
                                     "WPC",
                                     4)},
            {"probe.pdf", "%PDF"},
            {"probe.png", QByteArray("\x89PNG", 4)}};
        for (const auto& [name, bytes] : magic) {
            QVERIFY2(s.w->exportTo(s.out.filePath(name)), qPrintable(name));
            QCOMPARE(head(s.out.filePath(name), bytes.size()), bytes);
        }
        QVERIFY(s.w->exportTo(s.out.filePath("probe.svg")));
        QVERIFY(head(s.out.filePath("probe.svg"), 400).contains("<svg"));
        // A reader nobody here wrote takes the WPG (when installed).
        if (std::system("command -v wpg2svg > /dev/null") == 0) {
            const QString svg = s.out.filePath("wpg.svg");
            QCOMPARE(std::system(qPrintable("wpg2svg '" + s.out.filePath("probe.wpg") + "' > '" +
                                            svg + "'")),
                     0);
            QVERIFY(head(svg, 1 << 20).contains("<svg"));
        }

        // No extension, or one without a writer: the message, and no file.
        const int before = int(s.shell.messages.shown.size());
        for (const char* name : {"ohne", "probe.gif"}) {
            QVERIFY(!s.w->exportTo(s.out.filePath(name)));
            QVERIFY(!QFile::exists(s.out.filePath(name)));
            QCOMPARE(s.lastMessage(),
                     QString("Für dieses Dateiformat steht keine Exportfunktion zur Verfügung."));
        }
        QCOMPARE(int(s.shell.messages.shown.size()), before + 2);
    }

    void dialogRemembersAndErrorsKeepOldFiles() {
        Session s;
        QVERIFY(s.w);
        const QString first = s.out.filePath("a.wmf");
        s.shell.files.results = {ScriptedFileDialog::choose(first, 2),
                                 ScriptedFileDialog::choose(s.out.filePath("b.bmp"), 1)};
        QVERIFY(s.w->commands().run(cmd::FileExport));
        QVERIFY(s.w->commands().run(cmd::FileExport));
        const auto& requests = s.shell.files.requests;
        QCOMPARE(requests[0].caption, QString("Graphikdatei exportieren"));
        QCOMPARE(requests[1].directory, QDir::cleanPath(s.out.path()));
        QCOMPARE(requests[1].filterIndex, 2);
        QCOMPARE(
            Profile(s.shell.settingsPath()).getInt("Directories and Files", "ExportFilterIndex", 0),
            1);
        QVERIFY(QFile::exists(s.out.filePath("b.bmp")));

        // A logarithmic y axis over limits below 0 cannot be drawn: the user is told,
        // and the file written before stays as it was.
        const QByteArray old = head(first, 1 << 20);
        s.w->document().plot().drawFlags &= ~kDrawYLinear;
        s.w->document().changeRange({400, 600, -5, -1});
        QVERIFY(!s.w->exportTo(first));
        QVERIFY(s.lastMessage().startsWith("Logarithmische Darstellung der y-Achse:"));
        QCOMPARE(s.lastCaption(), QString("Exportfehler"));
        QCOMPARE(head(first, 1 << 20), old);
    }

    void clipboardAndPreview() {
        Session s;
        QVERIFY(s.w);
        QVERIFY(s.w->commands().run(cmd::CopyToClipboard));
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(420, 300));
        QVERIFY(anyDark(copied));

        // The integral dialog makes way for the preview and comes back.
        QVERIFY(s.w->commands().run(cmd::Integral));
        QWidget* integral = s.w->modelessDialog(LumoraWindow::Modeless::Integral);
        QVERIFY(integral && integral->isVisible());
        bool hiddenMeanwhile = false;
        int pages = 0;
        s.shell.dialogs.scripts.push_back([&](QDialog& d) {
            auto& preview = dynamic_cast<ReportPreview&>(d);
            hiddenMeanwhile = !integral->isVisible();
            preview.show();
            QTRY_VERIFY(preview.pages()->pageCount() > 0);
            pages = preview.pages()->pageCount();
        });
        QVERIFY(s.w->commands().run(cmd::FilePrintPreview));
        QCOMPARE(s.shell.dialogs.titles.back(), QString("Druckvorschau"));
        QVERIFY(hiddenMeanwhile);
        QCOMPARE(pages, 1);
        QVERIFY(integral->isVisible());
    }
};

QTEST_MAIN(ExportTest)
#include "export_test.moc"
