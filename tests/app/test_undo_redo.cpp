#include "app/widgets/register_grid.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "app/windows/frm_term_deposit_details.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

using namespace td;
using namespace td::test;

namespace {

enum FileCommand { New = 0, Open = 1, Save = 3 };

// A deposit whose Active text no record holds, so the register keeps it as texts.
const DepositRecord kB2002 = depositOf(
    {"B2002", "$250.00", "4.25", "3", "7", "15/03/2023", "15/10/2026", "$7,777.77", "$10,000.00", "Maybe"});

// Makes a change through the window as a user does: "add" a new deposit,
// "overwrite" or "roll over" the current one, "delete" it.
void change(MainWindowWorld& m, const QString& command)
{
    if (command != QLatin1String("add"))
        m.fake.messages.answers.push_back(MessageButton::Yes);  // Delete's or the overwrite question
    if (command == QLatin1String("delete")) {
        m.w.actions().deleteTermDeposit->trigger();
        return;
    }
    m.fake.modal.handlers.push_back([command](QDialog& dialog) {
        auto& d = static_cast<frmTermDepositDetails&>(dialog);
        if (command == QLatin1String("add")) {
            d.txtAccountNumber()->setText(QStringLiteral("A1001"));
            d.txtTermYears()->setText(QStringLiteral("1"));
            d.txtAccountBalance()->setText(QStringLiteral("$1.00"));
        }
        d.txtInterest()->setText(QStringLiteral("6"));
        d.cmdAdd()->click();
    });
    if (command == QLatin1String("add"))
        m.w.actions().newTermDeposit->trigger();
    else if (command == QLatin1String("overwrite"))
        m.w.actions().editTermDeposit->trigger();
    else
        m.w.RollOverTermDeposit();
}

QStringList accounts(MainWindowWorld& m)
{
    QStringList list;
    for (int r = 1; r < m.reg().rows() - 1; ++r)
        list << m.reg().cell(r, AccountNumber);
    return list;
}

}  // namespace

class TestUndoRedo : public QObject {
    Q_OBJECT

private slots:
    // Each change undone and redone, by the keys and the menu: the rows as
    // they were, the current cell on the changed row in the column it was in,
    // the captions naming the change, and nothing to save once undone.
    void eachChangeIsUndoneAndRedone_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("undoneRow");  // the current row after the undo
        QTest::addColumn<int>("redoneRow");
        dataRow("add: back to the row current before", "add", "Add A1001", 2, 4);
        dataRow("overwrite", "overwrite", "Overwrite B2002", 2, 2);
        dataRow("delete", "delete", "Delete B2002", 2, 2);
        dataRow("roll over", "roll over", "Roll Over B2002", 2, 2);
    }
    void eachChangeIsUndoneAndRedone()
    {
        QFETCH(QString, command);
        QFETCH(QString, caption);
        QFETCH(int, undoneRow);
        QFETCH(int, redoneRow);
        MainWindowWorld m({plainDeposit("A1"), kB2002, plainDeposit("C3")});
        QVERIFY(m.show());
        QAction* undo = m.w.actions().undo;
        QAction* redo = m.w.actions().redo;
        QVERIFY(!undo->isEnabled());
        m.reg().setCurrentCell(2, 4);
        const QList<DepositRecord> before = m.records();
        change(m, command);
        QVERIFY(m.fake.modal.leftOpen.isEmpty());
        const QList<DepositRecord> after = m.records();
        QVERIFY(after != before);
        QCOMPARE(undo->text(), "&Undo " + caption);
        QVERIFY(undo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("&Redo"));
        QVERIFY(!redo->isEnabled());

        m.reg().setCol(3);
        QVERIFY(m.show());  // active again after the dialog
        m.w.gridView()->setFocus();
        QTest::keyClick(m.w.gridView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m.records(), before);
        QCOMPARE(m.w.gridView()->model()->rowCount(), before.size() - 1);
        QCOMPARE(m.cell(), QPoint(3, undoneRow));
        QVERIFY(!m.w.flags().ModifiedFlag);
        QCOMPARE(undo->text(), QStringLiteral("&Undo"));
        QVERIFY(!undo->isEnabled());
        QCOMPARE(redo->text(), "&Redo " + caption);

        for (const QKeyCombination redoKey : {Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z}) {
            QTest::keyClick(m.w.gridView(), redoKey.key(), redoKey.keyboardModifiers());
            QCOMPARE(m.records(), after);
            QCOMPARE(m.cell(), QPoint(3, redoneRow));
            QVERIFY(m.w.flags().ModifiedFlag);
            QVERIFY(!redo->isEnabled());
            undo->trigger();
            QCOMPARE(m.records(), before);
        }
    }

    // The file's state is the clean state: undo back to it leaves nothing to
    // save, undo past it or after a save leaves something to save. New and
    // Open leave nothing to undo.
    void modifiedFollowsTheFilesState()
    {
        FileWorld world;
        world.addDeposits(3);
        world.runWithFile(Save, "doc.tmd");
        auto deleteFirst = [&world] {
            world.reg().setCurrentCell(1, 0);
            world.answer(MessageButton::Yes);
            world.window.DeleteTermDeposit();
        };
        auto modified = [&world] { return world.window.flags().ModifiedFlag; };
        QAction* undo = world.window.actions().undo;
        QAction* redo = world.window.actions().redo;

        deleteFirst();
        world.window.mnuFileItem_Click(Save);  // the file: AC2, AC3
        QVERIFY(!modified());
        undo->trigger();
        QVERIFY(modified());
        redo->trigger();
        QVERIFY(!modified());
        deleteFirst();
        QVERIFY(modified());
        undo->trigger();
        QVERIFY(!modified());
        undo->trigger();
        QVERIFY(modified());
        QCOMPARE(accounts(world), (QStringList{"AC1", "AC2", "AC3"}));
        redo->trigger();
        QVERIFY(!modified());

        world.fake.messages.asked.clear();
        world.runWithFile(Open, "doc.tmd");
        QVERIFY(world.fake.messages.asked.isEmpty());
        QCOMPARE(accounts(world), (QStringList{"AC2", "AC3"}));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());

        deleteFirst();
        undo->trigger();
        world.fake.messages.asked.clear();
        world.window.mnuFileItem_Click(New);
        QVERIFY(world.fake.messages.asked.isEmpty());
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());
    }

    // Saved at the question of Open, whose dialog is then cancelled: the
    // register stays marked modified, and no undo makes it look saved.
    void savedAtTheQuestionStaysModified()
    {
        FileWorld world;
        world.addDeposits(2);
        world.runWithFile(Save, "doc.tmd");
        world.reg().setCurrentCell(1, 0);
        world.answer(MessageButton::Yes);
        world.window.DeleteTermDeposit();
        world.answer(MessageButton::Yes);
        world.cancelFile();
        world.window.mnuFileItem_Click(Open);
        QCOMPARE(fileBytes(world.path("doc.tmd")).size(), 100);
        world.window.actions().undo->trigger();
        QVERIFY(world.window.flags().ModifiedFlag);
        world.window.actions().redo->trigger();
        QVERIFY(world.window.flags().ModifiedFlag);
    }
};

QTEST_MAIN(TestUndoRedo)
#include "test_undo_redo.moc"
