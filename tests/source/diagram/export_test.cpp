// The diagram leaving the program: a graphics file by its extension (case-blind; none or an
// unknown one refused with its message), the folder and filter remembered, a drawing error
// keeping an old file, readers nobody here wrote, the clipboard, and the print preview
// giving the modeless dialogs back when it closes. The integral: command 135 opens the
// modeless dialog, "Berechnen" over a triangle whose area is known, the markers of the
// snapped bounds, the checks of the bounds, x inversion swapping them, and "Schließen"
// switching the display off.
#include <QClipboard>
#include <QImageReader>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QtTest>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "app/Profile.h"
#include "dialogs/IntegralDialog.h"
#include "lumgl/lumgl.h"
#include "reports/ReportPreview.h"

namespace {

QByteArray head(const QString& path, int n) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

// Peaks at (500, 100) over 400 to 600: 10000 in all; from 450 on 3750 + 3750 + 1250.
constexpr const char* kTriangle = "400 0\n450 50\n500 100\n550 50\n600 0\n";

bool anyDark(const QImage& image) {
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            if (qGray(image.pixel(x, y)) < 100) return true;
    return false;
}

struct Session : DiagramSession {
    LumoraWindow* w = nullptr;
    QTemporaryDir out;
    IntegralDialog* dialog = nullptr;

    Session() {
        w = open(write("probe.txt", "400 1\n450 8\n500 5\n550 3\n600 2\n"));
        if (w) w->resize(420, 300);
    }
    // The triangle in a new diagram, with the integral dialog open.
    void openIntegral() {
        w = open(write("triangle.txt", kTriangle));
        QVERIFY(w);
        w->parentWidget()->resize(520, 400);
        SAxisText& units = w->document().overlays().currentRecord().axisText;
        units.xUnit = "nm";
        units.yUnit = "V";
        QVERIFY(shell.trigger(cmd::Integral));
        dialog = qobject_cast<IntegralDialog*>(w->modelessDialog(LumoraWindow::Modeless::Integral));
        QVERIFY(dialog && dialog->isVisible());
    }
    void compute(const QString& left, const QString& right) {
        dialog->leftField()->setText(left);
        dialog->rightField()->setText(right);
        dialog->computeButton()->click();
    }
    QStringList shown() const {
        return {dialog->leftField()->text(), dialog->rightField()->text(),
                dialog->valueField()->text()};
    }
    // Pixels off the background in the image column of a bound, between the x axis and the
    // point it snapped to.
    int markedPixels(TPointF bound) {
        w->grab();
        const QImage& image = w->diagramImage();
        const SDevicePoint at = DataToMousePoint(bound, w->laidOut());
        const QRgb background = image.pixel(at.x + 3, at.y + 3);
        int marked = 0;
        for (int y = at.y + 4; y < w->laidOut().origin.y - 2; ++y)
            marked += image.pixel(at.x, y) != background;
        return marked;
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
        // ".Bmp" is a bitmap of the window's size, and the user is told.
        const QString bmp = s.out.filePath("probe.Bmp");
        QVERIFY(s.w->exportTo(bmp));
        QCOMPARE(s.lastMessage(), QString("Bitmap-Export erfolgreich ausgeführt!"));
        QImageReader reader(bmp, "bmp");
        const QImage image = reader.read();
        QCOMPARE(image.size(), QSize(420, 300));
        QVERIFY(anyDark(image));

        const QList<std::pair<QString, QByteArray>> magic = {
            {"probe.wmf", QByteArray::fromHex("d7cdc69a")},
            {"probe.wpg", QByteArray::fromHex("ff575043")},
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
        QVERIFY(hiddenMeanwhile);
        QCOMPARE(pages, 1);
        QVERIFY(integral->isVisible());
    }

    void computesMarksSwapsAndCloses() {
        Session s;
        s.openIntegral();
        QCOMPARE(s.dialog->leftUnit() + '|' + s.dialog->valueUnit(), QStringLiteral("nm|V nm"));
        DiagramDocument& doc = s.w->document();
        const int unmarked = s.markedPixels({450, 50});

        // Bounds given right to left snap to the first points at or beyond them.
        s.compute("590", "4.1d2");
        QCOMPARE(s.shown(), QStringList({"450", "600", "8750"}));
        QVERIFY(doc.integralDisplay);
        QVERIFY(s.markedPixels({450, 50}) > unmarked + 20);
        s.compute("400", "600");
        QCOMPARE(s.dialog->valueField()->text(), QStringLiteral("10000"));

        // Inverting x swaps the bounds: the left one is the larger now, the value stays, and
        // computing again on the inverted axis gives the same.
        QVERIFY(s.shell.trigger(cmd::InvertX));
        QCOMPARE(s.shown(), QStringList({"600", "400", "10000"}));
        QCOMPARE(doc.integralBounds[0].x, 600.0f);
        s.compute("450", "600");
        QCOMPARE(s.shown(), QStringList({"600", "450", "8750"}));

        // Another current spectrum is integrated anew between the same bounds.
        QVERIFY(s.w->addSpectrumFile(s.write("flat.txt", "400 2\n450 2\n500 2\n550 2\n600 2\n")));
        QCOMPARE(s.shown(), QStringList({"600", "450", "300"}));
        QVERIFY(s.w->setCurrentSpectrum(0));
        QCOMPARE(s.shown(), QStringList({"600", "450", "8750"}));

        // "Schließen": the dialog goes, and the markers with it.
        s.dialog->closeButton()->click();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!doc.integralDisplay);
        QVERIFY(!s.w->modelessDialog(LumoraWindow::Modeless::Integral));
        QVERIFY(s.markedPixels({450, 50}) < unmarked + 10);  // the flat curve crosses it

        // Opened again it shows the last bounds; without a diagram "Berechnen" is disabled.
        QVERIFY(s.shell.trigger(cmd::Integral));
        auto* again =
            qobject_cast<IntegralDialog*>(s.w->modelessDialog(LumoraWindow::Modeless::Integral));
        QVERIFY(again && again->leftField()->text() == "600");
        QVERIFY(again->computeButton()->isEnabled());
        s.shell.app().client()->closeAllSubWindows();
        QCoreApplication::processEvents();
        QVERIFY(!again->computeButton()->isEnabled());
    }

    void refusesBoundsInOrder() {
        Session s;
        s.openIntegral();
        QFile file(LUMORA_TEST_DATA "/source/diagram/data/integral_checks.tsv");
        QVERIFY(file.open(QIODevice::ReadOnly));
        int rows = 0;
        for (const QString& line :
             QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)) {
            if (line.startsWith('#')) continue;
            const QStringList c = QString(line).replace("_", "").split('\t');
            s.shell.messages.shown.clear();
            s.compute(c[0], c[1]);
            QCOMPARE(s.shell.messages.shown.size(), 1);
            const auto& box = s.shell.messages.shown.back();
            QCOMPARE(box.text, c[2]);
            QVERIFY(box.caption == "Eingabefehler" && box.beep &&
                    box.icon == MessageBox::Icon::Exclamation);
            QCOMPARE(s.dialog->focusWidget(),
                     c[3] == "left" ? s.dialog->leftField() : s.dialog->rightField());
            QVERIFY(!s.w->document().integralDisplay);
            ++rows;
        }
        QCOMPARE(rows, 7);
        // Inside the data but outside the displayed range is refused too.
        s.w->applyDisplayRange({450, 550, 0, 110});
        s.compute("440", "500");
        QCOMPARE(s.lastMessage(),
                 QStringLiteral("Die linke Integralgrenze liegt nicht im Diagrammbereich!"));
        s.compute("450", "550");
        QCOMPARE(s.dialog->valueField()->text(), QStringLiteral("7500"));
    }
};

QTEST_MAIN(ExportTest)
#include "export_test.moc"
