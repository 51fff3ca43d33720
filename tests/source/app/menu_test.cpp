// The menu bar item by item (ids, texts, accelerators, hints), and where each command goes:
// application, client, frame or the active child, disabled while no such child exists.
#include <QAction>
#include <QFile>
#include <QLibraryInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include "FakeDiagram.h"
#include "app/LumoraDecMDIFrame.h"
#include "app/LumoraMDIChild.h"
#include "app/LumoraMDIClient.h"
#include "ShellHarness.h"

namespace {

// The menu bar as described, written down independently of the program's table.
// Accelerators in portable key names; "Alt+F4" is shown only.
struct Expected {
    int id;
    const char* text;
    const char* key;
    const char* hint;
};

struct ExpectedMenu {
    const char* title;
    std::vector<Expected> items;
};

const std::vector<ExpectedMenu> kMenus = {
    {"&Datei",
     {{24332, "Ö&ffnen...", "", "Eine Datei öffnen"},
      {24339, "&Schließen", "", "Das aktive Fenster schließen"},
      {24334, "Speichern &unter ...", "", "Die aktuelle Datei als Binär- oder Textdatei speichern"},
      {111, "Datei &überlagern", "", "Eine Datei im aktiven Fenster überlagern"},
      {112, "Überla&gerte Datei schließen", "", "Die überlagerte Datei schließen"},
      {113, "&Alle überlagerten Dateine schließen", "", "Alle überlagerten Dateien schließen"},
      {114, "Datei&information", "", "Informationen zu den Dateien im aktiven Fenster anzeigen"},
      {24340, "&Drucken...", "", "Aktives Fenster drucken"},
      {24338, "Drucker &einrichten", "", "Druckereinstellungen festlegen"},
      {115, "E&xportieren ...", "", "Das aktive Fenster als Graphikformat exportieren"},
      {24310, "&Beenden", "Alt+F4", "Orvenit Lumora beenden"}}},
    {"&Bearbeiten",
     {{121, "&Rückgängig machen", "Ctrl+Z", "Den letzten Arbeitsvorgang rückgängig machen"},
      {122, "&Widerrufen", "Ctrl+Shift+Z", "Den letzten 'Rückgängig machen' Vorgang widerrufen"},
      {123, "Neu &zeichnen ...", "", "Das aktive Fenster neu zeichnen"},
      {124, "&Darstellung ", "Ctrl+D", "Die Achsenwerte des aktiven Fensters bearbeiten"},
      {125, "&Skalierung ", "Ctrl+S", "Verschiebung/Dispersion der aktuellen Datei bearbeiten"},
      {126, "Wellenlänge &justieren", "", "Die Wellenlänge an der Fadenkreuzposition ändern"},
      {134, "Spektren&arithmetik", "Ctrl+A", "Spektren kombinieren"},
      {132, "Wellenlängen&format", "Ctrl+F", "Das Wellenlängenformat der aktuellen Datei bearbeiten"},
      {133, "Daten&glättung", "Ctrl+G", "Die Daten der aktuellen Datei glätten und darstellen"},
      {135, "&Integral", "Ctrl+I", "Das Linienintegral in aktuellen Datei bestimmen"},
      {127, "&Bereich vergrößern", "", "Diagrammbereich vergrößern"},
      {130, "XY-Autosca&le", "Ctrl+L",
       "Minimale und maximale x- und y-Achsenwerte der aktuellen Datei übernehmen"},
      {129, "&X-Autoscale", "Ctrl+X",
       "Minimale und maximale x-Achsenwerte der aktuellen Datei übernehmen"},
      {131, "&Y-Autoscale", "Ctrl+Y",
       "Minimale und maximale y-Achsenwerte der aktuellen Datei übernehmen"},
      {128, "X-Achse in&vertieren", "", "Die Wellenlängenskala umdrehen"},
      {136, "In Zwischenablage &kopieren", "Ctrl+C",
       "Das aktive Fenster als Bitmap in die Zwischenablage kopieren"}}},
    {"&Identifizierung",
     {{151, "Linien&identifizierung öffnen...", "F9",
       "Die Liniensuche und Linienidentifizierung für die aktuelle Datei aktivieren bzw. "
       "deaktivieren"},
      {152, "&Spektrum identifizieren", "Ctrl+F9",
       "Die Liniensuche und Linienidentifizierung mit den angegebenen Einstellungen starten"},
      {160, "Linien&positionen aus Datenbank anzeigen", "Shift+F9", ""},
      {153, "Linie hin&zufügen", "", "Eine Linie hinzufügen"},
      {155, "&Linie löschen", "", "Die ausgewählte Linie löschen"},
      {156, "&Alle Linien löschen", "", "Alle Linien löschen"},
      {154, "&Wellenlänge der Linie", "", "Die Wellenlänge bei der ausgewählten Linie ändern"},
      {158, "In&formation zu allen Linien", "", "Informationen zu allen Linien anzeigen"},
      {157, "Inf&ormation zur ausgewählten Linie", "",
       "Informationen zu der ausgewählten Linie anzeigen"},
      {159, "Linieneinträge &bearbeiten", "", "Bearbeiten der Linieneinträge"}}},
    {"Da&tenbank",
     {{117, "Ö&ffnen ...", "", "Unabhängige Suchmaschine für Atomlinien und Molekülbanden öffnen"},
      {118, "&Schließen", "", "Liniensuchmaschine schließen"},
      {119, "&Ergebnis speicher unter ... ", "", "Liniensuchergbenis in Datei speichern"}}},
    {"&Anzeige",
     {{179, "&Diagrammfarbe", "", "Die Linienfarbe für das aktuelle Diagramm auswählen"},
      {180, "&Beschriftung...", "", "Die Einstellungen für die graphische Darstellung bearbeiten"},
      {172, "&Fadenkreuz", "", "Fadenkreuz anzeigen"},
      {173, "&Legende", "", "Die Legende anzeigen"},
      {174, "Schwarz/&Weiß Darstellung", "", "Das aktive Fenster ohne Farben darstellen"},
      {175, "&Horizontale Hilfslinien", "", "Horizontale Hilfslinien im aktiven Fenster anzeigen"},
      {176, "&Vertikale Hilfslinien", "", "Vertikale Hilfslinien im aktiven Fenster anzeigen"},
      {177, "&x-Achse logarithmisch", "", "x-Achse im aktiven Fenster logarithmisch darstellen"},
      {178, "&y-Achse logarithmisch", "", "y-Achse im aktiven Fenster logarithmisch darstellen"},
      {171, "&Symbolleiste", "", "Symbolleiste anzeigen"},
      {32040, "Status&zeile", "", "Statuszeile anzeigen"}}},
    {"&Fenster",
     {{24361, "&Überlappend", "", "Fenster überlappend anordnen"},
      {24362, "&Nebeneinander", "", "Fenster nebeneinander anordnen"},
      {24363, "Ü&bereinander", "", "Fenster übereinander anordnen"},
      {24364, "&Symbole anordnen", "", "Fenstersymbole am unteren Rand anordnen"},
      {24365, "&Alle schließen", "", "Alle Fenster schließen"}}},
    {"&Hilfe",
     {{2001, "Orvenit Lumora &Hilfe", "", "Index des Orvenit Lumora Benutzerhandbuches aufrufen"},
      {2009, "Inf&o", "", "Informationen zu Orvenit Lumora"}}},
};

// Commands of the diagram window.
const QSet<int> kDiagramCommands = {24334, 111, 112, 113, 114, 115, 121, 122, 123, 124,
                                    125,   126, 134, 132, 133, 135, 127, 130, 129, 131,
                                    128,   136, 151, 152, 160, 153, 155, 156, 154, 158,
                                    157,   159, 179, 180, 172, 173, 174, 175, 176, 177,
                                    178,   24340, 24337};

QList<QAction*> itemsOf(QMenu* menu) {
    QList<QAction*> out;
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && a->data().isValid()) out.append(a);
    return out;
}

}  // namespace

class MenuTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ShellHarness> h;

private slots:
    void init() {
        LumoraMDIClient::setDiagramOpener([](LumoraMDIClient&, const QString&) -> QWidget* {
            return new FakeDiagram(kDiagramCommands);
        });
        LumoraMDIClient::setSearchWindowFactory(
            [](LumoraMDIClient&) -> QWidget* { return new FakeDiagram({119, 24340}); });
        h = std::make_unique<ShellHarness>();
        QVERIFY(h->programDir.copyDatabase());
        QVERIFY(h->start());
    }
    void cleanup() {
        h.reset();
        LumoraMDIClient::setDiagramOpener({});
        LumoraMDIClient::setSearchWindowFactory({});
    }

    void menuBarItemByItem() {
        const QList<QAction*> menus = h->frame().menuBar()->actions();
        QCOMPARE(menus.size(), qsizetype(kMenus.size()));
        for (size_t m = 0; m < kMenus.size(); ++m) {
            QCOMPARE(menus[m]->text(), QString::fromUtf8(kMenus[m].title));
            const QList<QAction*> items = itemsOf(menus[m]->menu());
            QCOMPARE(items.size(), qsizetype(kMenus[m].items.size()));
            for (qsizetype i = 0; i < items.size(); ++i) {
                const Expected& e = kMenus[m].items[static_cast<size_t>(i)];
                const QString where = QStringLiteral("id %1").arg(e.id);
                QVERIFY2(items[i]->data().toInt() == e.id, qPrintable(where));
                QCOMPARE(h->frame().action(e.id), items[i]);
                if (e.id == 24310) {
                    // Shown, not bound: the window system closes on Alt+F4.
                    QCOMPARE(items[i]->text(), QString::fromUtf8("&Beenden\tAlt+F4"));
                    QVERIFY(items[i]->shortcut().isEmpty());
                } else {
                    QCOMPARE(items[i]->text(), QString::fromUtf8(e.text));
                    QCOMPARE(items[i]->shortcut(), QKeySequence(QString::fromLatin1(e.key)));
                }
                QCOMPARE(h->hoverHint(e.id), QString::fromUtf8(e.hint));
            }
        }
        // 2002 has its hint and handler but no menu item.
        QVERIFY(h->frame().action(2002) != nullptr);
        for (QAction* menu : menus)
            for (QAction* a : itemsOf(menu->menu())) QVERIFY(a->data().toInt() != 2002);
    }

    void childCommandsNeedTheirChild() {
        // No child: every diagram command, the search result and the window commands are off.
        for (int id : kDiagramCommands) QVERIFY2(!h->isEnabled(id), qPrintable(QString::number(id)));
        for (int id : {119, 24339, 118, 24361, 24362, 24363, 24364, 24365})
            QVERIFY2(!h->isEnabled(id), qPrintable(QString::number(id)));
        for (int id : {24332, 24338, 117, 2001, 2009, 171, 32040, 24310})
            QVERIFY2(h->isEnabled(id), qPrintable(QString::number(id)));

        auto* diagram = static_cast<FakeDiagram*>(h->openFakeDiagram());
        QVERIFY(diagram);
        for (int id : kDiagramCommands) QVERIFY(h->isEnabled(id));
        QVERIFY(!h->isEnabled(119));
        QVERIFY(h->trigger(130));
        QVERIFY(h->trigger(24340));  // printing goes through the client to the active child
        QCOMPARE(diagram->executed, QList<int>({130, 24340}));
        QVERIFY(h->trigger(24338));  // printer set-up: a modal dialog through the runner
        QCOMPARE(h->dialogs.titles, QStringList({"Drucker einrichten"}));

        // Accelerators reach the active diagram while the frame is the active window.
        h->frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h->frame()));
        QTest::keyClick(&h->frame(), Qt::Key_L, Qt::ControlModifier);
        QTest::keyClick(&h->frame(), Qt::Key_F9, Qt::ShiftModifier);
        QCOMPARE(diagram->executed, QList<int>({130, 24340, 130, 160}));
        diagram->executed.clear();

        // The child decides about its own commands.
        diagram->disabled.insert(121);
        diagram->checked.insert(172);
        QVERIFY(!h->isEnabled(121));
        QVERIFY(!h->trigger(121));
        QVERIFY(h->frame().action(172)->isChecked());
        QVERIFY(!h->frame().action(173)->isChecked());

        // The search window takes 119 and printing, but no diagram command.
        QVERIFY(h->trigger(117));
        QVERIFY(!h->isEnabled(117));  // only one search window
        QVERIFY(h->isEnabled(118));
        auto* search = static_cast<FakeDiagram*>(h->app().client()->activeSubWindow()->widget());
        QVERIFY(search != diagram);
        QVERIFY(!h->isEnabled(130));
        QVERIFY(h->trigger(119));
        QCOMPARE(search->executed, QList<int>({119}));
        QVERIFY(h->trigger(118));
        QTRY_VERIFY(h->app().client()->searchWindow() == nullptr);
        QVERIFY(h->isEnabled(117));

        // 24339 closes the active child.
        h->app().client()->setActiveSubWindow(h->app().client()->subWindowList().front());
        QVERIFY(h->trigger(24339));
        QTRY_COMPARE(h->app().client()->childCount(), 0);
        QVERIFY(!h->isEnabled(130));
    }

    void frameAndApplicationToggles() {
        QToolBar* main = h->frame().mainToolbar();
        QCOMPARE(h->frame().toolbars().size(), qsizetype(7));
        QVERIFY(h->frame().action(171)->isChecked());
        QVERIFY(h->trigger(171));
        QVERIFY(main->isHidden());
        QVERIFY(!h->frame().action(171)->isChecked());
        QVERIFY(h->trigger(171));
        QVERIFY(!main->isHidden());

        QVERIFY(h->frame().action(32040)->isChecked());
        QVERIFY(h->trigger(32040));
        QVERIFY(h->frame().statusBar()->isHidden());
        QVERIFY(!h->frame().action(32040)->isChecked());
        QVERIFY(h->trigger(32040));
        QVERIFY(!h->frame().statusBar()->isHidden());
    }

    void qtDialogsSpeakGerman() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
            QSKIP("qt6-translations-l10n is not installed");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Yes"));
        LumoraApp::installQtTranslations();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Ja"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
    }

    void windowArrangement() {
        h->frame().resize(900, 700);
        QVERIFY(h->openFakeDiagram());
        QVERIFY(h->openFakeDiagram());
        QVERIFY(h->trigger(24362));  // side by side: equal widths, full height
        const auto windows = h->app().client()->subWindowList();
        QCOMPARE(windows[0]->geometry().top(), 0);
        QCOMPARE(windows[1]->geometry().top(), 0);
        QVERIFY(qAbs(windows[0]->width() - windows[1]->width()) <= 1);
        QCOMPARE(windows[0]->geometry().right() + 1, windows[1]->geometry().left());
        QVERIFY(h->trigger(24363));  // stacked: equal heights, full width
        QCOMPARE(windows[0]->geometry().left(), 0);
        QCOMPARE(windows[0]->geometry().bottom() + 1, windows[1]->geometry().top());
        QVERIFY(h->trigger(24365));
        QTRY_COMPARE(h->app().client()->childCount(), 0);
    }
};

QTEST_MAIN(MenuTest)
#include "menu_test.moc"
