// The database search's run holds the same guard as a diagram's: while it pumps events, a
// diagram beside it and that diagram's identification dialog are disabled, its commands and
// every close are refused, and all comes back when the search ends.
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>
#include <fstream>
#include <utility>

#include "ShellHarness.h"
#include "app/Commands.h"
#include "diagram/LumoraWindow.h"
#include "dialogs/analysis/SearchLinesDialog.h"
#include "dialogs/search/SearchEngineDialog.h"
#include "reports/ReportView.h"
#include "reports/SearchEngineEdit.h"
#include "services/QtRunHost.h"

namespace {

// The Qt run host, calling `hook` once, at the first pump of the run.
class HookedRunHost : public QtRunHost {
  public:
    HookedRunHost(QWidget* owner, MessageBox& messages, std::function<void()> hook)
        : QtRunHost(owner, messages), hook_(std::move(hook)) {}

  protected:
    bool pump() override {
        if (const std::function<void()> hook = std::exchange(hook_, {})) hook();
        return QtRunHost::pump();
    }

  private:
    std::function<void()> hook_;
};

}  // namespace

class SearchWindowGuardTest : public QObject {
    Q_OBJECT
  private slots:
    void searchRunHoldsTheDiagrams() {
        ShellHarness h;
        h.windows.diagram = &LumoraWindow::open;
        h.windows.searchWindow = &SearchEngineEdit::open;
        QVERIFY(h.startWithDatabase());
        for (CElement& e : h.context().searchElements) e.selected = true;
        h.context().searchSettings.neutrals = true;

        QTemporaryDir dir;
        const QString path = dir.filePath("peak.txt");
        {
            std::ofstream out(path.toStdString());
            for (int i = 0; i < 400; ++i)
                out << 370 + i * 0.05 << ' ' << (i == 200 ? 900 : 50) << '\n';
        }
        QVERIFY(h.app().client()->openDocument(path));
        QCoreApplication::processEvents();
        auto* diagram = qobject_cast<LumoraWindow*>(h.app().client()->currentSubWindow()->widget());
        QVERIFY(diagram);
        QVERIFY(h.trigger(cmd::OpenIdentification));
        SearchLinesDialog* lines = diagram->searchLinesDialog();
        QVERIFY(lines && lines->isEnabled());

        bool checked = false;
        SearchEngineEdit* edit = nullptr;
        h.context().setRunHostFactory([&](QWidget* owner) {
            return std::make_unique<HookedRunHost>(owner, h.messages, [&, owner] {
                edit = qobject_cast<SearchEngineEdit*>(owner);
                QVERIFY(edit && edit->running());
                // The identification's "Starten", the diagram's commands, the closes.
                lines->startButton()->click();
                QVERIFY(diagram->protocol().isEmpty());
                QVERIFY(!diagram->isEnabled() && !lines->isEnabled());
                h.app().client()->setActiveSubWindow(
                    qobject_cast<QMdiSubWindow*>(diagram->parentWidget()));
                QVERIFY(!h.isEnabled(cmd::IdentifySpectrum));
                h.frame().dispatch(cmd::IdentifySpectrum);
                QVERIFY(diagram->protocol().isEmpty());
                QVERIFY(!diagram->parentWidget()->close() && !edit->parentWidget()->close());
                QVERIFY(!h.frame().close());
                checked = true;
            });
        });
        h.dialogs.scripts.push_back([](QDialog& d) {
            auto& dialog = dynamic_cast<SearchEngineDialog&>(d);
            dialog.field(SearchEngineDialog::LowerWavelength)->setText("370");
            dialog.field(SearchEngineDialog::UpperWavelength)->setText("390");
            dialog.accept();
        });
        QVERIFY(h.trigger(cmd::SearchEngineOpen));
        QTRY_VERIFY(checked);
        QTRY_VERIFY(edit->view()->report());
        QVERIFY(!edit->result().empty());
        QCOMPARE(h.app().client()->childCount(), 2);
        QVERIFY(diagram->isEnabled() && lines->isEnabled() && diagram->protocol().isEmpty());
        h.app().client()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(diagram->parentWidget()));
        QVERIFY(h.isEnabled(cmd::IdentifySpectrum));
    }
};

QTEST_MAIN(SearchWindowGuardTest)
#include "searchwindow_guard_test.moc"
