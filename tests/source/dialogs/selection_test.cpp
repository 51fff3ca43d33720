// The selections: the elements' name and formula rules, the periodic table's clicks, colours
// and menu, and the two lists, all writing into one element list; "Linieneinträge" with its
// entry list's click rules.
#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "dialogs/elements/ElementArrayHost.h"
#include "dialogs/elements/ElementListBox.h"
#include "dialogs/elements/ElementNames.h"
#include "dialogs/elements/MoleculesListBox.h"
#include "dialogs/elements/PeriodicTableDialog.h"
#include "dialogs/elements/TPTButton.h"
#include "dialogs/lines/EditLineEntries.h"
#include "dialogs/lines/LineEntriesBox.h"

namespace {

CElement entry(const char* name, bool molecule = false, bool selected = false) {
    return {name, molecule ? "*M" : "*A", MakeColor(0, 0, 200), {}, selected};
}

// "F I" shares its first letter with iron, "Mt I" stands beyond the atom commands' reach.
TElementArray sampleTable(bool molecules = true) {
    TElementArray t = {
        entry("H I"),  entry("F I"), entry("Fe I"), entry("Fe II"), entry("Fe"),
        entry("Al I"), entry("O I"), entry("Ca I"), entry("Fm I"),  entry("Mt I", false, true)};
    if (molecules) t.insert(t.end(), {entry("AlO", true), entry("CaOH", true), entry("CO", true)});
    return t;
}

struct Selection {
    QWidget root;
    TElementArray elements;
    PeriodicTableDialog* table = new PeriodicTableDialog(&root);
    MoleculesListBox* molecules = new MoleculesListBox(&root);
    ElementListBox* selected = new ElementListBox(&root);
    std::unique_ptr<ElementArrayHost> host;
    int changes = 0;

    explicit Selection(TElementArray table_) : elements(std::move(table_)) {
        molecules->setGeometry(0, 290, 180, 120);
        selected->setGeometry(200, 290, 180, 120);
        host = std::make_unique<ElementArrayHost>(elements, table, molecules, selected);
        host->selectionChanged = [this] { ++changes; };
        root.show();
    }
    QString chosen() const {
        QStringList names;
        for (const CElement& e : elements)
            if (e.selected) names << QString::fromStdString(e.name);
        return names.join(',');
    }
    static QString lines(const QListWidget* list, bool onlySelected = false) {
        QStringList texts;
        for (int r = 0; r < list->count(); ++r)
            if (!onlySelected || list->item(r)->isSelected()) texts << list->item(r)->text();
        return texts.join(',');
    }
    void clickLine(QListWidget* list, const QString& text) {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        QVERIFY(found.size() == 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(found[0]).center());
    }
    void clickElement(int z) { QTest::mouseClick(table->button(z), Qt::LeftButton); }
    int mark(int z) const { return table->button(z)->moleculeMark(); }
};

int darkestGrey(QWidget* w) {
    const QImage image = w->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

QColor pixel(QWidget* w, int x, int y) {
    return w->grab().toImage().pixelColor(x, y);
}

EditLineEntriesXfer fiveEntries() {
    EditLineEntriesXfer xfer;
    for (int i = 0; i < 5; ++i)
        xfer.entries.append({QStringLiteral("Fe I 40%1;0.1").arg(i), QColor(10 * i, 0, 0), i});
    return xfer;
}

QList<int> selectedRows(const LineEntriesBox& list) {
    QList<int> rows;
    for (int r = 0; r < list.count(); ++r)
        if (list.item(r)->isSelected()) rows << r;
    return rows;
}

}  // namespace

class SelectionTest : public QObject {
    Q_OBJECT
  private slots:
    void namesAndFormulas() {
        QCOMPARE(elementSymbol("Fe II"), std::string("Fe"));
        QCOMPARE(elementSymbol("Fe"), std::string("Fe"));
        QCOMPARE(elementSymbol("Fe\t"), std::string("Fe"));
        QCOMPARE(elementSymbol(" Fe"), std::string(""));
        const std::pair<const char*, std::vector<std::string>> formulas[] = {
            {"CaOH", {"Ca", "O", "H"}}, {"N2+", {"N"}},     {"C2", {"C"}},
            {"12C16O", {"C", "O"}},     {"CO", {"C", "O"}}, {"Co", {"Co"}},
            {"Ti O-", {"Ti", "O"}},     {"xyzÄ", {}},       {"HCl", {"H", "Cl"}}};
        for (const auto& [formula, symbols] : formulas)
            QVERIFY2(formulaSymbols(formula) == symbols, formula);
    }

    // Marks count the selected molecules holding a symbol, compared case-sensitively.
    void moleculeMarks() {
        TElementArray t = sampleTable();
        t[10].selected = t[11].selected = true;  // AlO, CaOH
        ElementArrayHost host(t, nullptr, nullptr, nullptr);
        QCOMPARE(host.MoleculeMark("O"), 2);
        QCOMPARE(host.MoleculeMark("O  "), 2);
        QCOMPARE(host.MoleculeMark("Al"), 1);
        QCOMPARE(host.MoleculeMark("C"), 0);  // CO is not selected, Ca is not C
        QCOMPARE(host.MoleculeMark("o"), 0);
        QVERIFY(host.IsElementSelected("Mt") && !host.IsElementSelected("Fe"));
    }

    // He closes the first row at the right edge, Hf follows the gap after Ba, the two series
    // rows start at 38; no two buttons overlap.
    void layout() {
        PeriodicTableDialog t;
        const auto at = [](int x, int y) { return PeriodicTableDialog::dialogRect(x, y, 14, 18); };
        QCOMPARE(t.button(2)->geometry().right(), t.width() - 1);
        QCOMPARE(t.button(72)->geometry(), at(42, 90));
        QCOMPARE(t.button(57)->geometry(), at(38, 130));
        QCOMPARE(t.button(103)->geometry(), at(234, 148));
        QCOMPARE(t.button(109)->geometry(), at(112, 108));
        for (int a = 1; a <= PeriodicTableDialog::kElements; ++a)
            for (int b = a + 1; b <= PeriodicTableDialog::kElements; ++b)
                QVERIFY(!t.button(a)->geometry().intersects(t.button(b)->geometry()));
    }

    void atomCommandsLeaveHeavyElements() {
        Selection s(sampleTable());
        s.table->markAtomsAction()->trigger();
        QCOMPARE(s.chosen(), QStringLiteral("H I,F I,Fe I,Fe II,Fe,Al I,O I,Ca I,Mt I"));
        QCOMPARE(s.table->button(100)->state(), 0);
        QCOMPARE(s.table->button(109)->state(), 1);
        QCOMPARE(s.table->button(79)->state(), 0);  // gold is not in the list
        QCOMPARE(s.table->button(26)->state(), 1);
        QCOMPARE(Selection::lines(s.selected), s.chosen());
        s.table->clearAtomsAction()->trigger();
        QCOMPARE(s.chosen(), QStringLiteral("Mt I"));
        QVERIFY(darkestGrey(s.table->button(99)) < 60);     // Es in black
        QVERIFY(darkestGrey(s.table->button(100)) >= 120);  // Fm in grey
        QCOMPARE(pixel(s.table->button(109), 4, 4), TPTButton::selectedColor());
        QCOMPARE(pixel(s.table->button(100), 4, 4), TPTButton::normalColor());
    }

    void ironByClick() {
        Selection s(sampleTable());
        s.clickElement(26);
        QCOMPARE(s.chosen(), QStringLiteral("Fe I,Fe II,Fe,Mt I"));
        QCOMPARE(Selection::lines(s.selected), s.chosen());
        QCOMPARE(s.selected->item(0)->foreground().color(), QColor(0, 0, 200));
        // A line of the selected list clears that entry only; the button stays marked.
        s.clickLine(s.selected, "Fe II");
        QCOMPARE(s.chosen(), QStringLiteral("Fe I,Fe,Mt I"));
        QCOMPARE(Selection::lines(s.selected), s.chosen());
        QCOMPARE(s.table->button(26)->state(), 1);
        // An element missing from the list cannot be marked.
        s.clickElement(79);
        QCOMPARE(s.table->button(79)->state(), 0);
        s.clickElement(26);
        QCOMPARE(s.chosen(), QStringLiteral("Mt I"));
        QCOMPARE(s.table->button(26)->state(), 0);
        QCOMPARE(s.changes, 3);
    }

    void noMolecules() {
        Selection s(sampleTable(false));
        QCOMPARE(s.molecules->count(), 0);
        s.molecules->markAllAction()->trigger();
        s.table->markMoleculesAction()->trigger();
        s.molecules->clearAllAction()->trigger();
        s.table->clearMoleculesAction()->trigger();
        QCOMPARE(s.chosen(), QStringLiteral("Mt I"));
        QCOMPARE(s.changes, 0);
    }

    void moleculeFrames() {
        Selection s(sampleTable());
        QCOMPARE(Selection::lines(s.molecules), QStringLiteral("AlO,CaOH,CO"));
        s.clickLine(s.molecules, "AlO");
        QCOMPARE(s.chosen(), QStringLiteral("Mt I,AlO"));
        QVERIFY(s.mark(13) > 0 && s.mark(8) > 0 && s.mark(20) == 0 && s.mark(6) == 0);
        QCOMPARE(pixel(s.table->button(13), 1, 1), TPTButton::frameColor());
        QCOMPARE(pixel(s.table->button(20), 1, 1), TPTButton::normalColor());
        s.clickLine(s.molecules, "CaOH");
        s.clickLine(s.molecules, "AlO");
        QCOMPARE(s.chosen(), QStringLiteral("Mt I,CaOH"));
        QVERIFY(s.mark(13) == 0 && s.mark(8) > 0 && s.mark(20) > 0 && s.mark(1) > 0);
        // Cleared from the selected list while the molecule list still shows it selected.
        s.clickLine(s.selected, "CaOH");
        QCOMPARE(s.chosen(), QStringLiteral("Mt I"));
        QCOMPARE(Selection::lines(s.molecules, true), QStringLiteral(""));
        QCOMPARE(s.mark(8), 0);
        s.molecules->markAllAction()->trigger();
        QCOMPARE(Selection::lines(s.selected), QStringLiteral("Mt I,AlO,CaOH,CO"));
        s.table->clearMoleculesAction()->trigger();
        QCOMPARE(Selection::lines(s.molecules, true), QStringLiteral(""));
        QCOMPARE(s.mark(8), 0);
    }

    // "Löschen" only with a selection, from the highest row; OK returns the rest, "Abbruch"
    // nothing; "Hilfe" names the dialog's topic.
    void deleteAndReturn() {
        EditLineEntriesXfer xfer = fiveEntries();
        EditLineEntries dialog(xfer);
        QVERIFY(!dialog.deleteButton()->isEnabled());
        QCOMPARE(dialog.list()->item(2)->foreground().color(), QColor(20, 0, 0));
        dialog.list()->item(1)->setSelected(true);
        dialog.list()->item(3)->setSelected(true);
        QVERIFY(dialog.deleteButton()->isEnabled());
        dialog.deleteButton()->click();
        QVERIFY(!dialog.deleteButton()->isEnabled());
        QCOMPARE(dialog.list()->count(), 3);
        dialog.reject();
        QCOMPARE(xfer.entries.size(), 5);
        dialog.accept();
        QCOMPARE(xfer.entries.size(), 3);
        QCOMPARE(xfer.entries[1].source, 2);
        QCOMPARE(xfer.entries[2].text, QStringLiteral("Fe I 404;0.1"));

        QString topic;
        connect(&dialog, &EditLineEntries::helpRequested, [&](const QString& t) { topic = t; });
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Hilfe")) b->click();
        QCOMPARE(topic, QStringLiteral("IDD_EDITLINEENTRIES"));
    }

    // Shift before any click selects from the first entry; a plain click selects one, Ctrl
    // adds one and moves the anchor, Shift then reaches back from it.
    void clickRules() {
        EditLineEntriesXfer xfer = fiveEntries();
        EditLineEntries dialog(xfer);
        dialog.show();
        LineEntriesBox& list = *dialog.list();
        const auto click = [&](int row, Qt::KeyboardModifiers keys) {
            QTest::mouseClick(list.viewport(), Qt::LeftButton, keys,
                              list.visualItemRect(list.item(row)).center());
        };
        QVERIFY(selectedRows(list).isEmpty());
        click(3, Qt::ShiftModifier);
        QCOMPARE(selectedRows(list), (QList<int>{0, 1, 2, 3}));
        click(2, Qt::NoModifier);
        QCOMPARE(selectedRows(list), (QList<int>{2}));
        click(4, Qt::ControlModifier);
        QCOMPARE(selectedRows(list), (QList<int>{2, 4}));
        click(1, Qt::ShiftModifier);
        QCOMPARE(selectedRows(list), (QList<int>{1, 2, 3, 4}));
    }
};

QTEST_MAIN(SelectionTest)
#include "selection_test.moc"
