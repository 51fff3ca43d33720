// A WPG picture carries the window's layers as the other exports do (the smoothed curve and
// the legend, after the diagram's own records and inside its frame on the page, where y grows
// upwards); "Konfiguration speichern" in the database settings writes the dialog's values
// into the chosen file while the window keeps its own until OK.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <cmath>

#include "DiagramSession.h"
#include "app/Commands.h"
#include "dialogs/analysis/SearchLinesDialog.h"
#include "dialogs/search/SearchEngineDialog.h"
#include "lumgl/WpgExport.h"

namespace {

const char kProbe[] = "400 1\n450 8\n500 5\n550 3\n600 2\n";

// The line records of a WPG file of ours, in file order.
std::vector<QLine> linesOf(const QByteArray& b) {
    const auto byte = [&](int i) { return int(quint8(b[i])); };
    const auto number = [&](int i) { return int(qint16(byte(i) | byte(i + 1) << 8)); };
    std::vector<QLine> lines;
    for (int i = lumgl::kWpgHeaderSize; i + 4 <= b.size();) {
        const int data = i + (byte(i + 2) == 0xFF ? 6 : 4);  // a group's extension has 16 bits
        if (byte(i) == 4 && byte(i + 1) == 21)
            lines.emplace_back(number(data + 6), number(data + 8), number(data + 10),
                               number(data + 12));
        i = data + byte(data - 1);
    }
    return lines;
}

}  // namespace

class WindowLayersSettingsTest : public QObject {
    Q_OBJECT
  private slots:
    void wpgCarriesTheLayers() {
        DiagramSession s;
        LumoraWindow* w = s.open(s.write("probe.txt", kProbe));
        QVERIFY(w);
        w->resize(420, 300);
        DiagramDocument& doc = w->document();
        for (int i = 0; i <= 200; ++i)
            doc.smoothed.push_back({400.0f + i, 3.0f + 2.0f * std::sin(i / 10.0f)});
        const auto exported = [&](const QString& name, bool legend, bool smoothed) {
            doc.legend = {legend, 2, true, false, false};
            doc.analysis.filterData = smoothed;
            QFile file(s.dir.filePath(name));
            return w->exportTo(file.fileName()) && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                                  : QByteArray();
        };
        const QByteArray bare = exported("bare.wpg", false, false);
        const QByteArray curve = exported("curve.wpg", false, true);
        const QByteArray both = exported("both.wpg", true, true);
        QRect frame;
        for (const QLine& l : linesOf(bare)) frame |= QRect(l.p1(), l.p2()).normalized();
        const auto addedInside = [&](const QByteArray& after, const QByteArray& before) {
            const std::vector<QLine> all = linesOf(after), first = linesOf(before);
            if (all.size() < first.size() || !std::equal(first.begin(), first.end(), all.begin()))
                return -1;
            for (auto l = all.begin() + long(first.size()); l != all.end(); ++l)
                if (!frame.contains(l->p1()) || !frame.contains(l->p2())) return -1;
            return int(all.size() - first.size());
        };
        QVERIFY(addedInside(curve, bare) > 100);
        QVERIFY(addedInside(both, curve) >= 5);  // the legend's box and curve sample
        QByteArray name;
        for (std::uint8_t c : lumgl::WpgCharacters("probe.txt:")) name.append(char(c)).append('\0');
        QVERIFY(!curve.contains(name) && both.contains(name));
    }

    void savedConfigurationThenCancel() {
        DiagramSession s;
        LumoraWindow* w = s.open(s.write("a.txt", kProbe));
        QVERIFY(w && s.shell.trigger(cmd::OpenIdentification));
        w->searchLinesDialog()->databaseButton()->click();
        w->document().database.UpperIntensity = 555;
        const QString lmc = s.dir.filePath("db.lmc");
        s.shell.files.results.push_back(ScriptedFileDialog::choose(lmc, 1));
        bool saved = false;
        s.shell.dialogs.scripts.push_back([&](QDialog& d) {
            auto& dialog = static_cast<SearchEngineDialog&>(d);
            dialog.field(SearchEngineDialog::UpperIntensity)->setText("777");
            saved = dialog.saveConfiguration();
        });
        w->searchLinesDialog()->settingsButton()->click();
        QVERIFY(saved);
        QCOMPARE(w->document().database.UpperIntensity, 555.0f);
        QCOMPARE(lumcore::IniFile::load(lmc.toStdString())
                     .getDouble("Element Selection", "UpperIntensity", "0"),
                 777.0);
    }
};

QTEST_MAIN(WindowLayersSettingsTest)
#include "window_layers_settings_test.moc"
