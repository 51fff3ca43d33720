// "Linieneinträge" with its entry list's click rules, and the status dialog of the reports.
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "dialogs/lines/EditLineEntries.h"
#include "dialogs/lines/LineEntriesBox.h"
#include "services/ShowStatusDialog.h"

namespace {

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

class EntriesTest : public QObject {
    Q_OBJECT
  private slots:
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

    // Each report's dialog has its own cancel flag: "Abbruch" on one and Escape on another.
    void statusDialogs() {
        ShowStatusDialog first(QStringLiteral("Datenbanksuche:"), QStringLiteral("Ausdruck"), 0, 9);
        first.Start();
        QVERIFY(first.isVisible() && !first.cancelled());
        QCOMPARE(first.processText(), QStringLiteral("Datenbanksuche:"));
        QCOMPARE(first.upper(), 9);
        first.SetProgress(4);
        QCOMPARE(first.position(), 4);
        bool captions = false;
        for (QLabel* l : first.findChildren<QLabel*>()) captions |= l->text() == "Prozeß:";
        QVERIFY(captions);
        for (QPushButton* b : first.findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Abbruch")) b->click();
        QVERIFY(first.cancelled());

        ShowStatusDialog second(QStringLiteral("Linieninformation:"), QStringLiteral("Ausdruck"), 0,
                                2);
        second.Start();
        QCOMPARE(ShowStatusDialog::running(), 2);
        QVERIFY(first.cancelled() && !second.cancelled());
        QTest::keyClick(&second, Qt::Key_Escape);
        QVERIFY(second.cancelled());
    }
};

QTEST_MAIN(EntriesTest)
#include "entries_test.moc"
