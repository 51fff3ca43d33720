// The menu table's invariants (unique ids and accelerators, a hint for every item, menus
// built from it), the routing of every command to the table that answers it, and where each
// command goes: application, client, frame or the active child, disabled without that child.
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest>

#include "ShellHarness.h"
#include "app/Commands.h"
#include "app/MenuTable.h"
#include "app/ToolbarIcons.h"

namespace {

std::vector<MenuItemEntry> allItems() {
    std::vector<MenuItemEntry> out;
    for (const MenuEntry& menu : menuBarTable())
        for (const MenuItemEntry& item : menu.items)
            if (item.id != 0) out.push_back(item);
    for (const MenuItemEntry& item : extraCommandTable()) out.push_back(item);
    return out;
}

QSet<int> routedTo(CommandRoute route) {
    QSet<int> ids;
    for (const MenuItemEntry& item : allItems())
        if (item.route == route) ids.insert(item.id);
    return ids;
}

// The diagram's commands, printing included (the client passes it on to the active child).
QSet<int> diagramCommands() {
    return routedTo(CommandRoute::Diagram) + QSet<int>{cmd::FilePrint, cmd::FilePrintPreview};
}

}  // namespace

class MenuTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<ShellHarness> h;

  private slots:
    void init() {
        h = std::make_unique<ShellHarness>();
        h->windows.diagram = [](LumoraMDIClient&, const QString&) -> QWidget* {
            return new FakeDiagram(diagramCommands());
        };
        h->windows.searchWindow = [](LumoraMDIClient&) -> QWidget* {
            return new FakeDiagram({119, 24340});
        };
        QVERIFY(h->startWithDatabase());
    }
    void cleanup() { h.reset(); }

    void tableInvariantsAndMenusBuiltFromIt() {
        QSet<int> ids;
        QSet<QString> keys;
        for (const MenuItemEntry& item : allItems()) {
            const QString where = QStringLiteral("id %1").arg(item.id);
            QVERIFY2(!ids.contains(item.id), qPrintable(where));
            ids.insert(item.id);
            const QString key = QKeySequence(QString::fromLatin1(item.shortcut)).toString();
            QVERIFY2(key.isEmpty() || !keys.contains(key), qPrintable(where));
            keys.insert(key);
            // Every item explains itself in the status bar; the database lines have no hint.
            if (item.id != cmd::ShowDatabaseLines) QVERIFY2(*item.hint, qPrintable(where));
            QCOMPARE(h->hoverHint(item.id), QString::fromUtf8(item.hint));
        }
        // The menu bar shows the table in its order; "Beenden" only shows its key, which the
        // window system handles itself.
        const QList<QAction*> menus = h->frame().menuBar()->actions();
        QCOMPARE(menus.size(), qsizetype(menuBarTable().size()));
        for (qsizetype m = 0; m < menus.size(); ++m) {
            const MenuEntry& entry = menuBarTable()[static_cast<size_t>(m)];
            QCOMPARE(menus[m]->text(), QString::fromUtf8(entry.title));
            QList<int> shown;
            for (QAction* a : menus[m]->menu()->actions())
                if (!a->isSeparator() && a->data().isValid()) shown.append(a->data().toInt());
            QList<int> listed;
            for (const MenuItemEntry& item : entry.items)
                if (item.id != 0) listed.append(item.id);
            QCOMPARE(shown, listed);
        }
        QCOMPARE(h->frame().action(cmd::Exit)->text(), QString::fromUtf8("&Beenden\tAlt+F4"));
        QVERIFY(h->frame().action(cmd::Exit)->shortcut().isEmpty());
    }

    void everyCommandReachesItsTable() {
        // The application, client and frame declare exactly the commands routed to them.
        const auto declared = [](const CommandTable& t) {
            const std::vector<int> ids = t.ids();
            return QSet<int>(ids.begin(), ids.end());
        };
        QCOMPARE(declared(h->app().commands()), routedTo(CommandRoute::App));
        QCOMPARE(declared(h->app().client()->commands()), routedTo(CommandRoute::Client));
        QCOMPARE(declared(h->frame().commands()), routedTo(CommandRoute::Frame));
        // Every diagram command reaches the active diagram, and only there.
        auto* diagram = static_cast<FakeDiagram*>(h->openFakeDiagram());
        QVERIFY(diagram);
        const QList<int> expected = diagramCommands().values();
        for (int id : expected) QVERIFY2(h->trigger(id), qPrintable(QString::number(id)));
        QCOMPARE(diagram->executed, expected);
    }

    void childCommandsNeedTheirChild() {
        // No child: every diagram command, the search result and the window commands are off.
        const QList<int> off = {119, 24339, 118, 24361, 24362, 24363, 24364, 24365};
        for (int id : off + diagramCommands().values())
            QVERIFY2(!h->isEnabled(id), qPrintable(QString::number(id)));
        for (int id : {24332, 24338, 117, 2001, 2009, 171, 32040, 24310})
            QVERIFY2(h->isEnabled(id), qPrintable(QString::number(id)));

        auto* diagram = static_cast<FakeDiagram*>(h->openFakeDiagram());
        QVERIFY(diagram);
        QVERIFY(!h->isEnabled(119));
        QVERIFY(h->trigger(24338));  // printer set-up: a modal dialog through the runner
        QCOMPARE(h->dialogs.titles, QStringList({"Drucker einrichten"}));

        // Accelerators reach the active diagram while the frame is the active window.
        h->frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h->frame()));
        QTest::keyClick(&h->frame(), Qt::Key_L, Qt::ControlModifier);
        QTest::keyClick(&h->frame(), Qt::Key_F9, Qt::ShiftModifier);
        QCOMPARE(diagram->executed, QList<int>({130, 160}));
        diagram->executed.clear();

        // The child decides about its own commands.
        diagram->disabled.insert(121);
        diagram->checked.insert(172);
        QVERIFY(!h->isEnabled(121));
        QVERIFY(!h->trigger(121));
        QVERIFY(h->frame().action(172)->isChecked());
        QVERIFY(!h->frame().action(173)->isChecked());

        // The search window takes 119 and printing, but no diagram command.
        // Several may be open; 118 closes the active one, else the one last active.
        LumoraMDIClient& client = *h->app().client();
        QVERIFY(h->trigger(117));
        QMdiSubWindow* first = client.activeSubWindow();
        QVERIFY(h->trigger(117));
        QCOMPARE(client.childCount(), 3);
        QVERIFY(h->isEnabled(118));
        auto* search = static_cast<FakeDiagram*>(client.activeSubWindow()->widget());
        QVERIFY(search != diagram);
        QVERIFY(!h->isEnabled(130));
        QVERIFY(h->trigger(119));
        QCOMPARE(search->executed, QList<int>({119}));
        client.setActiveSubWindow(first);
        client.setActiveSubWindow(client.subWindowList().front());  // the diagram
        QVERIFY(h->trigger(118));
        QTRY_COMPARE(client.childCount(), 2);
        QVERIFY(client.subWindowList().contains(search->parentWidget()));
        QVERIFY(h->trigger(118));
        QTRY_VERIFY(client.searchWindow() == nullptr);
        QVERIFY(!h->isEnabled(118));

        // 24339 closes the active child.
        h->app().client()->setActiveSubWindow(h->app().client()->subWindowList().front());
        QVERIFY(h->trigger(24339));
        QTRY_COMPARE(h->app().client()->childCount(), 0);
        QVERIFY(!h->isEnabled(130));
    }

    void frameAndApplicationToggles() {
        const QList<std::pair<int, QWidget*>> toggles = {
            {cmd::ShowToolbar, h->frame().mainToolbar()},
            {cmd::ShowStatusBar, h->frame().statusBar()}};
        for (const auto& [id, bar] : toggles) {
            QVERIFY(h->frame().action(id)->isChecked());
            for (bool shown : {false, true}) {
                QVERIFY(h->trigger(id));
                QCOMPARE(bar->isHidden(), !shown);
                QCOMPARE(h->frame().action(id)->isChecked(), shown);
            }
        }
    }

    void everyToolbarButtonHasItsOwnIcon() {
        // Drawn at 24 px, every button shows something, and no two commands look alike.
        QSet<QByteArray> seen;
        for (QToolBar* bar : h->frame().toolbars())
            for (QAction* a : bar->actions()) {
                const int id = a->data().toInt();
                const QString where = QStringLiteral("id %1").arg(id);
                const QImage image =
                    a->icon().pixmap(24).toImage().convertToFormat(QImage::Format_ARGB32);
                QVERIFY2(image.width() >= 16, qPrintable(where));
                bool painted = false;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        painted = painted || qAlpha(image.pixel(x, y)) > 0;
                QVERIFY2(painted, qPrintable(where));
                const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()),
                                       image.sizeInBytes());
                QVERIFY2(!seen.contains(bytes), qPrintable(where + " looks like another"));
                seen.insert(bytes);
            }
        QCOMPARE(seen.size(), 35);
        QVERIFY(toolbarIcon(-1).isNull());
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
