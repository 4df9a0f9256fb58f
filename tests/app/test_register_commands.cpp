#include "app/widgets/image_button.h"
#include "app/widgets/look.h"
#include "app/widgets/register_grid.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "app/windows/frm_term_deposit_details.h"
#include "support/data_rows.h"
#include "support/main_window_world.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace td;
using namespace td::test;

namespace {

// Stored displays that differ from what the boxes would compute
// (15/03/2023 + 3 years 7 months is 15/10/2026), so a test sees which wins.
const QStringList kStored = {"B2002",      "$250.00",    "4.25",      "3",          "7",
                             "15/03/2023", "20/10/2026", "$7,777.77", "$12,345.67", "No"};

frmTermDepositDetails& details(QDialog& dialog) { return static_cast<frmTermDepositDetails&>(dialog); }

// Looks at the details dialog the next command opens, then cancels it.
void lookAtTheDialog(MainWindowWorld& m, const std::function<void(frmTermDepositDetails&)>& look)
{
    m.fake.modal.handlers.push_back([look](QDialog& dialog) {
        look(details(dialog));
        dialog.reject();
    });
}

}  // namespace

class TestRegisterCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { applyApplicationLook(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void newOpensTheDialogWithItsDefaultsUnlessBusy_data()
    {
        QTest::addColumn<bool>("busy");
        dataRow("not busy", false);
        dataRow("busy: nothing, no message", true);
    }
    void newOpensTheDialogWithItsDefaultsUnlessBusy()
    {
        QFETCH(bool, busy);
        MainWindowWorld m({plainDeposit("A1")});
        QVERIFY(m.show());
        m.reg().setCurrentCell(1, 4);
        if (busy)
            m.fake.pointer.current = Pointer::Hourglass;
        QStringList shown;
        lookAtTheDialog(m, [&](frmTermDepositDetails& d) {
            shown << d.txtAccountNumber()->text() << d.txtTermYears()->text() << d.lblTermDate()->text()
                  << d.lblFutureValue()->text();
        });
        QTest::keyClick(m.w.gridView(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(m.fake.messages.asked.isEmpty());
        if (busy) {
            QVERIFY(m.fake.modal.shown.isEmpty());
            return;
        }
        QCOMPARE(m.fake.modal.shown, QStringList({"frmTermDepositDetails"}));
        QCOMPARE(shown, QStringList({"", "", "31/01/2024", "$0.00"}));
        QCOMPARE(m.cell(), QPoint(4, 1));
    }

    void aTypedDepositAppearsInTheGrid()
    {
        MainWindowWorld m;
        QVERIFY(m.show());
        m.fake.modal.handlers.push_back([&](QDialog& dialog) {
            frmTermDepositDetails& d = details(dialog);
            QTest::keyClicks(d.txtAccountNumber(), QStringLiteral("A1001"));
            QTest::keyClick(d.txtAccountNumber(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), d.txtInterest());  // past the switched-off box
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5.5"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2"));
            QTest::mouseClick(d.txtAccountBalance(), Qt::LeftButton);
            QTest::keyClicks(d.txtAccountBalance(), QStringLiteral("10000"));
            QTest::keyClick(d.txtAccountBalance(), Qt::Key_Enter);
        });
        QTest::keyClick(m.w.gridView(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(m.reg().rows(), 3);
        QCOMPARE(m.reg().record(1), depositOf({"A1001", "0", "5.5", "2", "0", "31/01/2024", "31/01/2026",
                                               "$10,000.00", "$11,159.98", "Yes"}));
        QCOMPARE(m.cell(), QPoint(9, 1));
        QVERIFY(m.w.flags().ModifiedFlag);
        QAbstractItemModel* model = m.w.gridView()->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(0, 8).data().toString(), QStringLiteral("$11,159.98"));
    }

    void editFillsTheDialogAndEndsOnTheStoredDisplays()
    {
        MainWindowWorld m({plainDeposit("A1"), depositOf(kStored), plainDeposit("C3")});
        QVERIFY(m.show());
        m.reg().setCurrentCell(2, 4);
        QStringList seen;
        bool switchesOff = false;
        bool noSelected = false;
        QDate startDate;
        lookAtTheDialog(m, [&](frmTermDepositDetails& d) {
            seen << d.txtAccountNumber()->text() << d.txtSaveEachMonth()->text() << d.txtInterest()->text()
                 << d.txtTermYears()->text() << d.txtTermMonths()->text()
                 << d.DTPicStartDate()->date().toString(QStringLiteral("dd/MM/yyyy"))
                 << d.lblTermDate()->text() << d.txtAccountBalance()->text() << d.lblFutureValue()->text()
                 << (d.OptYes()->isChecked() ? "Yes" : "No");
            switchesOff = !d.ckSaveMonthOnOff()->isChecked() && !d.ckMonthsOnOff()->isChecked() &&
                          !d.txtSaveEachMonth()->isEnabled() && !d.txtTermMonths()->isEnabled() &&
                          d.ckMonthsOnOff()->text() == QLatin1String("&Off");
            noSelected = d.OptNo()->isChecked();
            startDate = d.DTPicStartDate()->date();
        });
        QTest::keyClick(m.w.gridView(), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(seen, kStored);
        QVERIFY(switchesOff);
        QVERIFY(noSelected);
        QCOMPARE(startDate, QDate(2023, 3, 15));
        QCOMPARE(m.cell(), QPoint(9, 2));
        QVERIFY(m.fake.messages.asked.isEmpty());
        QVERIFY(!m.w.flags().ModifiedFlag);
    }

    void editSelectsTheActiveOption_data()
    {
        QTest::addColumn<QString>("active");
        QTest::addColumn<bool>("yes");
        dataRow("Yes", "Yes", true);
        dataRow("No", "No", false);
        dataRow("no in small letters", "no", true);
        dataRow("anything else", "Maybe", true);
    }
    void editSelectsTheActiveOption()
    {
        QFETCH(QString, active);
        QFETCH(bool, yes);
        QStringList texts = kStored;
        texts[Active] = active;
        MainWindowWorld m({depositOf(texts)});
        QVERIFY(m.show());
        m.reg().setCurrentCell(1, 0);
        bool yesSelected = !yes;
        lookAtTheDialog(m, [&](frmTermDepositDetails& d) {
            yesSelected = d.OptYes()->isChecked();
            QCOMPARE(d.OptNo()->isChecked(), !yesSelected);
        });
        m.w.EditTermDeposit();
        QCOMPARE(yesSelected, yes);
    }

    void editWithNothingSelectedOpensTheDefaults_data()
    {
        QTest::addColumn<int>("deposits");
        QTest::addColumn<QPoint>("cell");  // column, row
        dataRow("empty register after start-up", 0, QPoint(9, 0));
        dataRow("spare row", 2, QPoint(3, 3));
        dataRow("header row", 2, QPoint(0, 0));
    }
    void editWithNothingSelectedOpensTheDefaults()
    {
        QFETCH(int, deposits);
        QFETCH(QPoint, cell);
        MainWindowWorld m(QList<DepositRecord>(deposits, depositOf(kStored)));
        QVERIFY(m.show());
        m.reg().setCurrentCell(cell.y(), cell.x());
        QString account = QStringLiteral("not shown");
        QString futureValue;
        lookAtTheDialog(m, [&](frmTermDepositDetails& d) {
            account = d.txtAccountNumber()->text();
            futureValue = d.lblFutureValue()->text();
        });
        QTest::mouseClick(m.w.pictureButton(1), Qt::LeftButton);
        QCOMPARE(account, QString());
        QCOMPARE(futureValue, QStringLiteral("$0.00"));
        QCOMPARE(m.cell(), cell);
    }

    void editCommittedUnchangedOverwritesInPlace()
    {
        const QList<DepositRecord> deposits = {plainDeposit("A1"), depositOf(kStored), plainDeposit("C3")};
        MainWindowWorld m(deposits);
        QVERIFY(m.show());
        const QList<DepositRecord> before = m.records();
        m.reg().setCurrentCell(2, 6);
        m.fake.messages.answers.push_back(MessageButton::Yes);
        m.fake.modal.handlers.push_back(
            [&](QDialog& dialog) { QTest::mouseClick(details(dialog).cmdAdd(), Qt::LeftButton); });
        m.w.EditTermDeposit();
        QCOMPARE(m.fake.messages.asked.size(), 1);
        QCOMPARE(m.fake.messages.asked.first().title, QStringLiteral("Over Write Term Deposit?"));
        QCOMPARE(m.records(), before);
        QCOMPARE(m.cell(), QPoint(9, 2));
        QVERIFY(m.w.flags().ModifiedFlag);
    }

    void editWithAChangedAccountNumberAddsADeposit()
    {
        MainWindowWorld m({depositOf(kStored)});
        QVERIFY(m.show());
        m.reg().setCurrentCell(1, 0);
        m.fake.modal.handlers.push_back([&](QDialog& dialog) {
            frmTermDepositDetails& d = details(dialog);
            QCOMPARE(QApplication::focusWidget(), d.txtAccountNumber());
            QTest::keyClicks(d.txtAccountNumber(), QStringLiteral("B2003"));  // over the whole selection
            QTest::mouseClick(d.cmdAdd(), Qt::LeftButton);
        });
        m.w.EditTermDeposit();
        QVERIFY(m.fake.messages.asked.isEmpty());
        QCOMPARE(m.reg().rows(), 4);
        QCOMPARE(m.reg().record(1), depositOf(kStored));
        QStringList added = kStored;
        added[AccountNumber] = QStringLiteral("B2003");
        QCOMPARE(m.reg().record(2), depositOf(added));
        QCOMPARE(m.cell(), QPoint(9, 2));
    }

    // A start date written under another date form is not replaced unnoticed.
    void unreadableStartDateIsReportedBeforeTheDialogOpens_data()
    {
        QTest::addColumn<QString>("startDate");
        dataRow("another date form", "2023-03-15");
        dataRow("no such day", "31/02/2023");
        dataRow("empty", "");
        dataRow("before the picker's calendar", "15/03/0050");
    }
    void unreadableStartDateIsReportedBeforeTheDialogOpens()
    {
        QFETCH(QString, startDate);
        QStringList texts = kStored;
        texts[StartDate] = startDate;
        MainWindowWorld m({depositOf(texts)});
        QVERIFY(m.show());
        m.reg().setCurrentCell(1, 0);
        int dialogsShownAtMessage = -1;
        m.fake.messages.onAsk = [&](const RecordedMessage&) {
            dialogsShownAtMessage = m.fake.modal.shown.size();
        };
        QDate shownDate;
        QString shownTermDate;
        lookAtTheDialog(m, [&](frmTermDepositDetails& d) {
            shownDate = d.DTPicStartDate()->date();
            shownTermDate = d.lblTermDate()->text();
        });
        m.w.EditTermDeposit();
        QCOMPARE(m.fake.messages.asked.size(), 1);
        const RecordedMessage& msg = m.fake.messages.asked.first();
        // The text quotes the date it could not read.
        QCOMPARE(msg, (RecordedMessage{"Quendarith Information Technology Term Deposit Details", msg.text,
                                       MessageIcon::Information, MessageButtons::Ok}));
        QVERIFY(msg.text.contains('"' + startDate + '"'));
        QVERIFY(msg.text.contains("today's date is shown"));
        QCOMPARE(dialogsShownAtMessage, 0);
        QCOMPARE(m.fake.modal.shown, QStringList({"frmTermDepositDetails"}));
        QCOMPARE(shownDate, QDate(2024, 1, 31));
        QCOMPARE(shownTermDate, kStored[TermDate]);
        QCOMPARE(m.cell(), QPoint(9, 1));
    }

    void deleteAsksAndRemovesTheRow_data()
    {
        QTest::addColumn<int>("deposits");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("yes");
        dataRow("the only deposit", 1, 1, true);
        dataRow("a middle row moves the others up", 3, 2, true);
        dataRow("the first of several", 3, 1, true);
        dataRow("the last of several: the spare row moves up", 3, 3, true);
        dataRow("answered No", 3, 2, false);
    }
    void deleteAsksAndRemovesTheRow()
    {
        QFETCH(int, deposits);
        QFETCH(int, row);
        QFETCH(bool, yes);
        MainWindowWorld m(plainDeposits(deposits));
        QVERIFY(m.show());
        const QList<DepositRecord> before = m.records();
        m.reg().setCurrentCell(row, 5);
        m.fake.messages.answers.push_back(yes ? MessageButton::Yes : MessageButton::No);
        QTest::keyClick(m.w.gridView(), Qt::Key_D, Qt::ControlModifier);

        QCOMPARE(m.fake.messages.asked,
                 QList<RecordedMessage>({{"Delete", "Delete the existing Term Deposit?",
                                          MessageIcon::Question, MessageButtons::YesNo}}));
        QCOMPARE(m.cell(), QPoint(5, row));
        if (!yes) {
            QCOMPARE(m.records(), before);
            QVERIFY(!m.w.flags().ModifiedFlag);
            return;
        }
        QList<DepositRecord> expected = before;
        expected.removeAt(row);
        QCOMPARE(m.records(), expected);
        QCOMPARE(m.reg().rows(), deposits + 1);
        QVERIFY(m.w.flags().ModifiedFlag);
    }

    void deleteWithoutASelectedDepositIsRefused_data()
    {
        QTest::addColumn<int>("deposits");
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<bool>("busy");
        dataRow("empty register", 0, QPoint(9, 0), false);
        dataRow("spare row", 2, QPoint(0, 3), false);
        dataRow("header row", 2, QPoint(0, 0), false);
        dataRow("an empty cell of a deposit", 2, QPoint(8, 1), false);
        dataRow("busy", 2, QPoint(0, 1), true);
    }
    void deleteWithoutASelectedDepositIsRefused()
    {
        QFETCH(int, deposits);
        QFETCH(QPoint, cell);
        QFETCH(bool, busy);
        MainWindowWorld m(plainDeposits(deposits));
        if (deposits > 0)
            m.reg().setCell(1, FutureValue, QString());
        const QList<DepositRecord> before = m.records();
        m.reg().setCurrentCell(cell.y(), cell.x());
        if (busy)
            m.fake.pointer.current = Pointer::Hourglass;
        m.w.DeleteTermDeposit();
        QCOMPARE(m.fake.messages.asked,
                 QList<RecordedMessage>({{"", "A Term Deposit must be selected from the grid to Delete.",
                                          MessageIcon::Information, MessageButtons::Ok}}));
        QCOMPARE(m.records(), before);
        QVERIFY(!m.w.flags().ModifiedFlag);
    }

    void pictureButtonsRunTheirCommandOnRelease_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("offTheButton");
        dataRow("New, right button", 0, Qt::RightButton, false);
        dataRow("New, released elsewhere", 0, Qt::LeftButton, true);
        dataRow("Edit, right button released elsewhere", 1, Qt::RightButton, true);
        dataRow("Delete, released elsewhere", 2, Qt::LeftButton, true);
        dataRow("Delete, middle button", 2, Qt::MiddleButton, false);
    }
    void pictureButtonsRunTheirCommandOnRelease()
    {
        QFETCH(int, index);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, offTheButton);
        MainWindowWorld m({depositOf(kStored)});
        QVERIFY(m.show());
        m.reg().setCurrentCell(1, 0);
        ImageButton* picture = m.w.pictureButton(index);
        bool upShownWhenCommandRan = false;
        QString account;
        lookAtTheDialog(m, [&](frmTermDepositDetails& d) {
            upShownWhenCommandRan = picture->upPicture()->isVisible();
            account = d.txtAccountNumber()->text();
        });
        m.fake.messages.onAsk = [&](const RecordedMessage&) {
            upShownWhenCommandRan = picture->upPicture()->isVisible();
        };
        QTest::mousePress(picture, button, {}, QPoint(20, 20));
        QVERIFY(!picture->upPicture()->isVisible());
        QTest::mouseRelease(picture, button, {}, offTheButton ? QPoint(-200, 300) : QPoint(30, 30));
        QVERIFY(upShownWhenCommandRan);
        QVERIFY(picture->upPicture()->isVisible());
        switch (index) {
        case 0:
            QCOMPARE(m.fake.modal.shown, QStringList({"frmTermDepositDetails"}));
            QCOMPARE(account, QString());
            break;
        case 1:
            QCOMPARE(account, kStored[AccountNumber]);
            break;
        default:
            QCOMPARE(m.fake.messages.asked.size(), 1);
            QCOMPARE(m.fake.messages.asked.first().text, QStringLiteral("Delete the existing Term Deposit?"));
            break;
        }
    }

    void doubleClickOnTheGridEditsThatRow()
    {
        MainWindowWorld m({plainDeposit("A1"), depositOf(kStored), plainDeposit("C3")});
        QVERIFY(m.show());
        RegisterGrid* grid = m.w.gridView();
        QStringList accounts;
        for (int i = 0; i < 2; ++i)
            lookAtTheDialog(m, [&](frmTermDepositDetails& d) { accounts << d.txtAccountNumber()->text(); });
        const QPoint cell = grid->visualRect(grid->model()->index(1, 3)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
        const QPoint keyCell = grid->visualRect(grid->model()->index(2, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, keyCell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, keyCell);
        QCOMPARE(accounts, QStringList({"B2002", "C3"}));
    }
};

QTEST_MAIN(TestRegisterCommands)
#include "test_register_commands.moc"
