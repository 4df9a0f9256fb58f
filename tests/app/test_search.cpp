#include "app/widgets/image_button.h"
#include "app/widgets/look.h"
#include "app/widgets/register_grid.h"
#include "app/widgets/ruled_text_box.h"
#include "app/windows/frm_search.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "app/windows/frm_term_deposit_details.h"
#include "support/data_rows.h"
#include "support/main_window_world.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace td;
using namespace td::test;

namespace {

void fillRegister(Register& reg, const QStringList& accounts)
{
    for (int c = 0; c < ColumnCount; ++c)
        reg.setCell(0, c, headerText(c));
    for (const QString& account : accounts)
        reg.appendDeposit(plainDeposit(account));
}

QLineEdit* keyBox(QDialog& d) { return d.findChild<QLineEdit*>(QStringLiteral("txtLeaseNumber")); }
QPushButton* button(QDialog& d, const char* name) { return d.findChild<QPushButton*>(QLatin1String(name)); }

// The user types the key and clicks OK.
FakeModalDisplay::Handler typeAndSearch(const QString& typed)
{
    return [typed](QDialog& d) {
        typeText(keyBox(d), typed);
        QTest::mouseClick(button(d, "cmdOK"), Qt::LeftButton);
    };
}

// A search dialog over a bare register; the edit command only records the row it was asked to open.
struct Scan {
    FakePlatform fake;
    Register reg;
    QList<int> editedRows;
    QList<Pointer> pointerAtEdit;
    std::function<void()> editMoves;  // what the edit and its commit do to the current cell

    explicit Scan(const QStringList& accounts) { fillRegister(reg, accounts); }
    QPoint cell() const { return QPoint(reg.col(), reg.row()); }  // column, row

    void run(const FakeModalDisplay::Handler& handler)
    {
        frmSearch dialog(reg, fake.platform(), [this] {
            editedRows << reg.row();
            pointerAtEdit << fake.pointer.current;
            if (editMoves)
                editMoves();
        });
        fake.modal.handlers.push_back(handler);
        fake.modal.runModal(dialog);
    }
};

}  // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { applyApplicationLook(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void windowAndControls()
    {
        FakePlatform fake;
        Register reg;
        frmSearch d(reg, fake.platform(), [] {});
        QCOMPARE(d.objectName(), QStringLiteral("frmSearch"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Quendarith Information Technology Search"));
        QCOMPARE(d.size(), QSize(7410 / 15, 1485 / 15));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(d.pos(), QPoint((1280 - 494) / 2, (1024 - 99) / 2));

        auto* label = d.findChild<QLabel*>(QStringLiteral("lblLeaseNumber"));
        QLineEdit* box = keyBox(d);
        QPushButton* ok = button(d, "cmdOK");
        QPushButton* cancel = button(d, "cmdCancel");
        QVERIFY(label && box && ok && cancel);
        QCOMPARE(label->geometry(), QRect(8, 24, 105, 17));
        QCOMPARE(box->geometry(), QRect(132, 24, 245, 19));
        QCOMPARE(ok->geometry(), QRect(392, 16, 89, 25));
        QCOMPARE(cancel->geometry(), QRect(392, 56, 89, 25));
        QCOMPARE(label->text(), QStringLiteral("&Account Number"));
        QCOMPARE(label->buddy(), box);
        QCOMPARE(ok->text(), QStringLiteral("&OK"));
        QCOMPARE(cancel->text(), QStringLiteral("&Cancel"));
        QCOMPARE(box->maxLength(), 20);
        QCOMPARE(box->nextInFocusChain(), ok);
        QCOMPARE(ok->nextInFocusChain(), cancel);

        // Every caption fits its control in the program's font.
        const QFontMetrics fm(d.font());
        QVERIFY(fm.horizontalAdvance(QStringLiteral("Account Number")) <= label->width());
        QVERIFY(fm.height() <= label->height());
        for (QPushButton* b : {ok, cancel}) {
            QVERIFY(!b->isDefault());
            QVERIFY(!b->autoDefault());
            QVERIFY(fm.horizontalAdvance(b->text().remove('&')) + 8 <= b->width());
        }
    }

    void focusColoursAndKeysWithoutMeaning()
    {
        Scan s({"A1"});
        bool checked = false;
        s.run([&](QDialog& d) {
            QLineEdit* box = keyBox(d);
            QCOMPARE(d.focusWidget(), box);
            QCOMPARE(box->palette().color(QPalette::Base), QColor(192, 255, 255));
            QTest::keyClicks(box, "a1");
            // Enter and Esc neither search nor close, in the box or on a button.
            for (QWidget* target : {static_cast<QWidget*>(box), static_cast<QWidget*>(button(d, "cmdOK"))}) {
                target->setFocus();
                QTest::keyClick(target, Qt::Key_Return);
                QTest::keyClick(target, Qt::Key_Enter);
                QTest::keyClick(target, Qt::Key_Escape);
                QVERIFY(d.isVisible());
            }
            QVERIFY(s.fake.messages.asked.isEmpty());
            QVERIFY(s.editedRows.isEmpty());
            QCOMPARE(box->palette().color(QPalette::Base), QApplication::palette(box).color(QPalette::Base));
            // Coming back to the box selects the whole key again.
            box->deselect();
            QTest::keyClick(button(d, "cmdOK"), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(d.focusWidget(), box);
            QCOMPARE(box->selectedText(), QStringLiteral("a1"));
            QCOMPARE(box->palette().color(QPalette::Base), QColor(192, 255, 255));
            // The label's access key leads to the box from anywhere.
            button(d, "cmdCancel")->setFocus();
            QTest::keyClick(&d, Qt::Key_A, Qt::AltModifier);
            QCOMPARE(d.focusWidget(), box);
            checked = true;
            d.close();
        });
        QVERIFY(checked);
    }

    void keyMatching_data()
    {
        QTest::addColumn<QStringList>("accounts");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("matchRow");  // -1: nothing found

        dataRow("lower case, blank after", QStringList{"A1", "AB123", "C3"}, "ab123 ", 2);
        dataRow("blanks before", QStringList{"AB123"}, "  Ab123", 1);
        dataRow("stored lower case", QStringList{"ab123"}, "AB123", 1);
        dataRow("inner blank", QStringList{"AB123"}, "ab 123", -1);
        dataRow("prefix only", QStringList{"AB123"}, "ab12", -1);
        dataRow("upper of two equal", QStringList{"X1", "Z9", "X1"}, "x1", 1);
        dataRow("header text", QStringList{"A1"}, "account NUMBER", 0);
        dataRow("20 characters", QStringList{"SHORT", "ABCDEFGHIJ0123456789"}, "abcdefghij0123456789", 2);
        dataRow("typing past 20 keeps 20", QStringList{"ABCDEFGHIJ0123456789"}, "abcdefghij0123456789X", 1);
        dataRow("last deposit row", QStringList{"A1", "B2", "C3"}, "c3", 3);
        dataRow("first deposit row", QStringList{"A1", "B2", "C3"}, "A1", 1);
        dataRow("absent from many", QStringList{"A1", "B2", "C3", "D4"}, "E5", -1);
        dataRow("letters beyond ASCII", QStringList{"A1", "ÉTÉ-7"}, "été-7", 2);
        dataRow("upper case of ß is SS", QStringList{"STRASSE1"}, "straße1", 1);
        dataRow("held as texts: Greek", QStringList{"A1", "ΩMEGA"}, "ωmega", 2);
        dataRow("held as texts: blanks around", QStringList{" B2 "}, "b2", -1);
    }
    void keyMatching()
    {
        QFETCH(QStringList, accounts);
        QFETCH(QString, typed);
        QFETCH(int, matchRow);
        Scan s(accounts);
        s.run(typeAndSearch(typed));

        QVERIFY(s.fake.modal.leftOpen.isEmpty());  // the search always ends by closing
        QCOMPARE(s.fake.pointer.current, Pointer::Default);
        QVERIFY(s.fake.pointer.history.contains(Pointer::Hourglass));
        if (matchRow < 0) {
            QVERIFY(s.editedRows.isEmpty());
            QCOMPARE(s.fake.messages.asked.size(), 1);
            const RecordedMessage& m = s.fake.messages.asked.first();
            QCOMPARE(m.title, QStringLiteral("Lease Search."));
            QCOMPARE(m.text, QStringLiteral("No Lease Found"));
            QCOMPARE(m.icon, MessageIcon::Question);
            QCOMPARE(m.buttons, MessageButtons::Ok);
            QCOMPARE(s.reg.row(), s.reg.rows() - 1);  // on the spare row
        } else {
            QCOMPARE(s.editedRows, QList<int>{matchRow});
            QCOMPARE(s.pointerAtEdit, QList<Pointer>{Pointer::Default});
            QVERIFY(s.fake.messages.asked.isEmpty());
            QCOMPARE(s.reg.row(), matchRow + 1);
        }
        QCOMPARE(s.reg.col(), 0);
    }

    // The search goes on from wherever the edit and its commit left the current cell.
    void currentCellAfterEdit_data()
    {
        QTest::addColumn<int>("editLeavesRow");
        QTest::addColumn<bool>("editAddsRow");
        QTest::addColumn<int>("rowAfter");
        dataRow("same row", 1, false, 2);
        dataRow("further down", 3, false, 4);
        dataRow("commit added a row", 5, true, 6);
        dataRow("left on the spare row", 5, false, 5);
    }
    void currentCellAfterEdit()
    {
        QFETCH(int, editLeavesRow);
        QFETCH(bool, editAddsRow);
        QFETCH(int, rowAfter);
        Scan s({"K", "B", "C", "D"});  // rows 1..4, spare row 5
        s.editMoves = [&] {
            if (editAddsRow)
                s.reg.appendDeposit(plainDeposit("NEW"));
            s.reg.setCurrentCell(editLeavesRow, 9);
        };
        s.run(typeAndSearch("k"));
        QCOMPARE(s.editedRows, QList<int>{1});
        QCOMPARE(s.reg.row(), rowAfter);
        QCOMPARE(s.reg.col(), 9);
        QVERIFY(s.fake.messages.asked.isEmpty());
        QVERIFY(s.fake.modal.leftOpen.isEmpty());
    }

    void emptyKeyIsReportedThenSearched_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("accounts");
        QTest::addColumn<int>("matchRow");  // -1: nothing found
        dataRow("nothing", "", QStringList{"A1", "B2"}, -1);
        dataRow("blanks", "   ", QStringList{"A1", "B2"}, -1);
        dataRow("finds a deposit without account number", "", QStringList{"A1", "", "C3"}, 2);
    }
    void emptyKeyIsReportedThenSearched()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, accounts);
        QFETCH(int, matchRow);
        Scan s(accounts);
        QList<Pointer> pointerAtMessage;
        s.fake.messages.onAsk = [&](const RecordedMessage&) { pointerAtMessage << s.fake.pointer.current; };
        s.run(typeAndSearch(typed));
        QList<RecordedMessage> expected{
            {"Lease Search.", "All feilds must have a value.", MessageIcon::Question, MessageButtons::Ok}};
        if (matchRow < 0)
            expected.append({"Lease Search.", "No Lease Found", MessageIcon::Question, MessageButtons::Ok});
        QCOMPARE(s.fake.messages.asked, expected);
        QCOMPARE(pointerAtMessage.first(), Pointer::Default);  // asked before the scan starts
        QCOMPARE(s.editedRows, matchRow < 0 ? QList<int>() : QList<int>{matchRow});
        QVERIFY(s.fake.modal.leftOpen.isEmpty());
        QCOMPARE(s.cell(), matchRow < 0 ? QPoint(0, s.reg.rows() - 1) : QPoint(0, matchRow + 1));
    }

    void emptyRegisterKeepsDialogOpenUntilCancel_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("messages");
        dataRow("a key", "a1", 0);
        dataRow("empty key", "", 1);
    }
    void emptyRegisterKeepsDialogOpenUntilCancel()
    {
        QFETCH(QString, typed);
        QFETCH(int, messages);
        Scan s({});
        s.reg.setCurrentCell(1, 4);
        bool openAfterOK = false;
        s.run([&](QDialog& d) {
            typeAndSearch(typed)(d);
            openAfterOK = d.isVisible();
            QTest::mouseClick(button(d, "cmdCancel"), Qt::LeftButton);
        });
        QVERIFY(openAfterOK);
        QVERIFY(s.fake.modal.leftOpen.isEmpty());
        QCOMPARE(s.fake.messages.asked.size(), messages);
        QVERIFY(!s.fake.pointer.history.contains(Pointer::Hourglass));
        QCOMPARE(s.reg.row(), 0);
        QCOMPARE(s.reg.col(), 0);
    }

    void cancelChangesNothing()
    {
        Scan s({"A1", "B2"});
        s.reg.setCurrentCell(2, 5);
        int result = -1;
        s.run([&](QDialog& d) {
            QTest::keyClicks(keyBox(d), "a1");
            QTest::mouseClick(button(d, "cmdCancel"), Qt::LeftButton);
            result = d.result();
        });
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(s.fake.modal.leftOpen.isEmpty());
        QVERIFY(s.fake.messages.asked.isEmpty());
        QVERIFY(s.editedRows.isEmpty());
        QVERIFY(s.fake.pointer.history.isEmpty());
        QCOMPARE(s.reg.row(), 2);
        QCOMPARE(s.reg.col(), 5);
    }

    void reachedFromMenuAndPictureOnlyWhenNotBusy()
    {
        FakePlatform fake;
        frmTermDeposit w(fake.platform());
        w.startUp();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.actions().search->trigger();
        QTest::mouseClick(w.pictureButton(3), Qt::LeftButton);
        QCOMPARE(fake.modal.shown, QStringList({"frmSearch", "frmSearch"}));

        fake.pointer.current = Pointer::Hourglass;
        w.actions().search->trigger();
        QTest::mouseClick(w.pictureButton(3), Qt::LeftButton);
        QCOMPARE(fake.modal.shown.size(), 2);
    }

    // Through the main window: a match opens the details dialog filled from the matching row.
    void matchOpensDetails_data()
    {
        QTest::addColumn<QStringList>("accounts");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("matchRow");
        QTest::addColumn<QString>("shownAccount");
        QTest::addColumn<int>("colAfter");
        // Edit leaves the cell on the deposit's row, column 9; on the header row it moves nothing.
        dataRow("lower case, blank after", QStringList{"A1", "AB123"}, "ab123 ", 2, "AB123", 9);
        dataRow("upper of two equal", QStringList{"X1", "X1"}, "x1", 1, "X1", 9);
        dataRow("header text: empty dialog", QStringList{"A1"}, "Account Number", 0, "", 0);
    }
    void matchOpensDetails()
    {
        QFETCH(QStringList, accounts);
        QFETCH(QString, typed);
        QFETCH(int, matchRow);
        QFETCH(QString, shownAccount);
        QFETCH(int, colAfter);
        QList<DepositRecord> deposits;
        for (const QString& account : accounts)
            deposits << plainDeposit(account);
        MainWindowWorld world(deposits);
        FakePlatform& fake = world.fake;
        frmTermDeposit& w = world.w;

        QString account = QStringLiteral("(not read)");
        Pointer pointer = Pointer::Hourglass;
        fake.modal.handlers.push_back(typeAndSearch(typed));
        fake.modal.handlers.push_back([&](QDialog& details) {
            if (auto* box = details.findChild<QLineEdit*>(QStringLiteral("txtAccountNumber")))
                account = box->text();
            pointer = fake.pointer.current;
            details.reject();
        });
        w.Search();
        QCOMPARE(fake.modal.shown, QStringList({"frmSearch", "frmTermDepositDetails"}));
        QCOMPARE(account, shownAccount);
        QCOMPARE(pointer, Pointer::Default);
        QVERIFY(fake.messages.asked.isEmpty());
        QVERIFY(fake.modal.leftOpen.isEmpty());
        QCOMPARE(w.Grid().row(), matchRow + 1);
        QCOMPARE(w.Grid().col(), colAfter);
        QCOMPARE(fake.pointer.current, Pointer::Default);
    }

    // The search goes on one row below where the edit's commit left the current cell.
    void searchEditAndCommit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("changedAccount");  // empty: Add unchanged, Yes to overwriting
        QTest::addColumn<int>("rowsAfter");
        QTest::addColumn<QPoint>("cellAfter");  // column, row
        // Deposits A1, B2, C3 in rows 1 to 3, the spare row 4.
        dataRow("first row overwritten", "a1", "", 5, QPoint(9, 2));
        dataRow("last row overwritten: on the spare row", "c3", "", 5, QPoint(9, 4));
        dataRow("last row, added anew: on the new spare row", "c3", "D4", 6, QPoint(9, 5));
    }
    void searchEditAndCommit()
    {
        QFETCH(QString, typed);
        QFETCH(QString, changedAccount);
        QFETCH(int, rowsAfter);
        QFETCH(QPoint, cellAfter);
        MainWindowWorld world({plainDeposit("A1"), plainDeposit("B2"), plainDeposit("C3")});
        QVERIFY(world.show());
        world.fake.messages.answers.push_back(MessageButton::Yes);
        world.fake.modal.handlers.push_back(typeAndSearch(typed));
        world.fake.modal.handlers.push_back([&](QDialog& dialog) {
            auto& details = static_cast<frmTermDepositDetails&>(dialog);
            if (!changedAccount.isEmpty()) {
                details.txtAccountNumber()->selectAll();
                QTest::keyClicks(details.txtAccountNumber(), changedAccount);
            }
            QTest::mouseClick(details.cmdAdd(), Qt::LeftButton);
        });
        world.w.Search();
        QCOMPARE(world.fake.modal.shown, QStringList({"frmSearch", "frmTermDepositDetails"}));
        QVERIFY(world.fake.modal.leftOpen.isEmpty());
        QCOMPARE(world.fake.messages.asked.size(), changedAccount.isEmpty() ? 1 : 0);
        QCOMPARE(world.reg().rows(), rowsAfter);
        QCOMPARE(world.cell(), cellAfter);
        const QModelIndex shown = world.w.gridView()->currentIndex();
        QCOMPARE(QPoint(shown.column(), Register::registerRow(shown.row())), cellAfter);
    }
};

QTEST_MAIN(TestSearch)
#include "test_search.moc"
