#include "app/widgets/image_button.h"
#include "app/widgets/look.h"
#include "app/widgets/register_grid.h"
#include "app/windows/frm_amortise.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "support/main_window_world.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

using namespace td;
using namespace td::test;

namespace {

const QString kTitle = QStringLiteral("Amortise Term Deposit");
const QString kNotSelected = QStringLiteral("A Term Deposit must be selected from the grid to amortise.");
const QString kNotWholeYears =
    QStringLiteral("To Amortise the months and save each month value must be zero.");
const QString kUnreadable = QStringLiteral(
    "The interest, balance or dates of this Term Deposit cannot be read, so it cannot be amortised.");

// A deposit of whole years with no monthly saving, which the schedule takes:
// $10,000.00 at 5 percent for three years.
DepositRecord exampleDeposit(const QString& account = QStringLiteral("A1"))
{
    DepositRecord d;
    d.texts = {account, "0", "5", "3", "0", "15/03/2024", "15/03/2027", "$10,000.00", "$11,614.72", "Yes"};
    return d;
}

QStringList stripRow(frmAmortise& a, int row)
{
    QStringList texts;
    for (int c = 0; c < ColumnCount; ++c)
        texts << a.Grid().cell(row, c);
    return texts;
}

QStringList scheduleRow(QTableWidget* grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return texts;
}

QStringList scheduleHeaders(QTableWidget* grid)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << grid->model()->headerData(c, Qt::Horizontal).toString();
    return texts;
}

}  // namespace

class TestAmortise : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { applyApplicationLook(*qApp); }

    // One row for each message through the window; the exact texts that
    // count as zero and the unreadable rows are in tests/commands.
    void refusals_data()
    {
        QTest::addColumn<QList<DepositRecord>>("deposits");
        QTest::addColumn<QPoint>("cell");  // x = column, y = row
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("columnAfter");

        const DepositRecord ok = exampleDeposit();
        auto with = [&](int column, const QString& text) {
            DepositRecord d = ok;
            d[column] = text;
            return d;
        };
        using L = QList<DepositRecord>;
        QTest::newRow("empty register") << L{} << QPoint(9, 1) << false << kNotSelected << 9;
        QTest::newRow("spare row") << L{ok} << QPoint(3, 2) << false << kNotSelected << 3;
        QTest::newRow("blank cell") << L{with(FutureValue, "")} << QPoint(8, 1) << false << kNotSelected << 8;
        QTest::newRow("busy") << L{ok} << QPoint(0, 1) << true << kNotSelected << 0;
        QTest::newRow("months 6") << L{with(Months, "6")} << QPoint(0, 1) << false << kNotWholeYears << 1;
        QTest::newRow("savings $100.00")
            << L{with(SaveEachMonth, "$100.00")} << QPoint(9, 1) << false << kNotWholeYears << 1;
        QTest::newRow("interest not a number")
            << L{with(Interest, "5.2.5")} << QPoint(9, 1) << false << kUnreadable << 1;
    }

    void refusals()
    {
        QFETCH(QList<DepositRecord>, deposits);
        QFETCH(QPoint, cell);
        QFETCH(bool, busy);
        QFETCH(QString, message);
        QFETCH(int, columnAfter);
        MainWindowWorld world(deposits);
        QVERIFY(world.w.Grid().setCurrentCell(cell.y(), cell.x()));
        if (busy)
            world.fake.pointer.current = Pointer::Hourglass;

        world.w.Amortise();

        QCOMPARE(world.fake.modal.shown, QStringList());
        QCOMPARE(world.fake.messages.asked.size(), 1);
        const RecordedMessage& m = world.fake.messages.asked.first();
        QCOMPARE(m.title, kTitle);
        QCOMPARE(m.text, message);
        QCOMPARE(m.icon, MessageIcon::Information);
        QCOMPARE(m.buttons, MessageButtons::Ok);
        QCOMPARE(world.w.Grid().row(), cell.y());
        QCOMPARE(world.w.Grid().col(), columnAfter);
        QCOMPARE(world.fake.pointer.current, busy ? Pointer::Hourglass : Pointer::Default);
    }

    void showsTheWorkedExample()
    {
        DepositRecord d = exampleDeposit(QStringLiteral("  A1  "));
        d[Interest] = QStringLiteral(" 5");
        MainWindowWorld world({exampleDeposit(QStringLiteral("Z9")), d});
        QVERIFY(world.w.Grid().setCurrentCell(2, Years));
        bool checked = false;
        world.fake.modal.handlers.push_back([&](QDialog& dialog) {
            auto& a = static_cast<frmAmortise&>(dialog);
            QCOMPARE(a.windowTitle(), QStringLiteral("Lease Amortisation"));
            QCOMPARE(world.fake.pointer.current, Pointer::Default);

            QCOMPARE(a.Grid().rows(), 2);
            QCOMPARE(stripRow(a, 0),
                     QStringList({"Account Number", "Save Each Month", "Interest", "Years", "Months",
                                  "Start Date", "Term Date", "Account Balance", "Future Value", "Active"}));
            // Only the key and the savings lose their blanks.
            QCOMPARE(stripRow(a, 1), QStringList({"A1", "0", " 5", "3", "0", "15/03/2024", "15/03/2027",
                                                  "$10,000.00", "$11,614.72", "Yes"}));
            QCOMPARE(a.gridView()->model()->index(0, 0).data().toString(), QStringLiteral("A1"));

            QTableWidget* s = a.GridAmortisation();
            QCOMPARE(scheduleHeaders(s),
                     QStringList({"Year", "Annually", "Quaterly", "Monthly", "Weekly", "Dayly"}));
            QCOMPARE(s->rowCount(), 3);
            QCOMPARE(scheduleRow(s, 2), QStringList({"2027", "$11,576.25", "$11,607.54", "$11,614.72",
                                                     "$11,617.51", "$11,618.22"}));
            QVERIFY(s->item(2, 2)->toolTip().isEmpty());  // everything fits
            QCOMPARE(s->currentRow(), 2);
            QCOMPARE(s->currentColumn(), 5);
            QCOMPARE(a.Grid().row(), 1);
            QCOMPARE(a.Grid().col(), int(Interest));
            QCOMPARE(QApplication::focusWidget(), s);
            QTest::keyClick(s, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), a.gridView());
            QTest::keyClick(a.gridView(), Qt::Key_Escape);  // only the close box closes it
            QVERIFY(a.isVisible());
            checked = true;
            a.close();
        });

        world.w.Amortise();

        QVERIFY(checked);
        QCOMPARE(world.fake.modal.shown, QStringList({"frmAmortise"}));
        QCOMPARE(world.fake.modal.leftOpen, QStringList());
        QCOMPARE(world.fake.messages.asked.size(), 0);
        QCOMPARE(world.fake.pointer.history.mid(world.fake.pointer.history.size() - 2),
                 QList<Pointer>({Pointer::Hourglass, Pointer::Default}));
        QCOMPARE(world.w.Grid().row(), 2);
        QCOMPARE(world.w.Grid().col(), int(Active));
        QCOMPARE(world.w.Grid().record(2), d);  // the register is only read
    }

    // The window's positions and sizes, and that what it shows fits: every
    // header, every column of a 99-year schedule beside its scroll bar, and the
    // deposit row of the strip above its scroll bar.
    void layout()
    {
        DepositRecord d = exampleDeposit();
        d[Interest] = QStringLiteral("99.9999");
        d[Years] = QStringLiteral("99");
        d[StartDate] = QStringLiteral("01/07/2024");
        d[TermDate] = QStringLiteral("01/07/2123");
        d[AccountBalance] = QStringLiteral("$999,999,999.00");
        MainWindowWorld world({d});
        world.fake.screen.size = QSize(1600, 900);
        QVERIFY(world.w.Grid().setCurrentCell(1, 0));
        bool checked = false;
        world.fake.modal.handlers.push_back([&](QDialog& dialog) {
            auto& a = static_cast<frmAmortise&>(dialog);
            QCOMPARE(a.size(), QSize(605, 448));
            QCOMPARE(a.minimumSize(), a.maximumSize());
            const Qt::WindowFlags flags = a.windowFlags();
            QVERIFY(flags & Qt::WindowCloseButtonHint);
            QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QVERIFY(!a.windowIcon().isNull());
            const QSize outer = a.frameGeometry().size();
            QCOMPARE(a.frameGeometry().topLeft(),
                     QPoint((1600 - outer.width()) / 2, (900 - outer.height()) / 2));

            RegisterGrid* strip = a.gridView();
            QTableWidget* s = a.GridAmortisation();
            QCOMPARE(strip->objectName(), QStringLiteral("Grid"));
            QCOMPARE(s->objectName(), QStringLiteral("GridAmortisation"));
            QCOMPARE(strip->geometry(), QRect(8, 8, 593, 63));
            QCOMPARE(s->geometry(), QRect(8, 80, 593, 361));
            const QList<int> stripWidths = {2500, 2000, 1200, 800, 800, 1500, 1500, 2000, 2000, 800};
            for (int c = 0; c < ColumnCount; ++c)
                QCOMPARE(strip->columnWidth(c), stripWidths[c] / 15);
            for (int c = 1; c < 6; ++c)
                QCOMPARE(s->columnWidth(c), 1600 / 15);

            QCOMPARE(s->rowCount(), 99);
            QCOMPARE(s->item(0, 0)->text(), QStringLiteral("2025"));
            QCOMPARE(s->item(98, 0)->text(), QStringLiteral("2123"));
            QVERIFY(s->verticalScrollBar()->isVisible());
            QVERIFY(!s->horizontalScrollBar()->isVisible());
            int total = 0;
            for (int c = 0; c < 6; ++c)
                total += s->columnWidth(c);
            QVERIFY2(total <= s->viewport()->width(), qPrintable(QString::number(total)));

            auto headerFits = [](QHeaderView* header, int section, const QString& text) {
                const int needed = header->fontMetrics().horizontalAdvance(text) + 8;
                return needed <= header->sectionSize(section);
            };
            for (int c = 0; c < 6; ++c)
                QVERIFY2(headerFits(s->horizontalHeader(), c, scheduleHeaders(s)[c]),
                         qPrintable(QString::number(c)));
            for (int c = 0; c < ColumnCount; ++c)
                QVERIFY2(headerFits(strip->horizontalHeader(), c, headerText(c)), qPrintable(headerText(c)));
            QVERIFY(s->fontMetrics().horizontalAdvance(s->item(0, 0)->text()) + 6 <= s->columnWidth(0));
            // Amounts wider than their column carry the whole text as a tip.
            QVERIFY(s->item(0, 1)->toolTip().isEmpty());  // $1,999,998,998.00
            const QString last = s->item(98, 5)->text();
            QVERIFY(last.startsWith(QStringLiteral("$8,636,160,683,997,29")));
            QCOMPARE(s->item(98, 5)->toolTip(), last);

            QVERIFY(strip->horizontalScrollBar()->isVisible());
            QVERIFY(strip->visualRect(strip->model()->index(0, 0)).bottom() < strip->viewport()->height());
            checked = true;
            a.close();
        });

        world.w.Amortise();
        QVERIFY(checked);
    }

    // The second window starts from nothing: no rows of the first schedule remain.
    void twoSchedulesInARow()
    {
        DepositRecord oneYear = exampleDeposit(QStringLiteral("B2"));
        oneYear[Years] = QStringLiteral("1");
        oneYear[StartDate] = QStringLiteral("01/01/2030");
        oneYear[TermDate] = QStringLiteral("01/01/2031");
        oneYear[AccountBalance] = QStringLiteral("$1.00");
        MainWindowWorld world({exampleDeposit(), oneYear});
        QVERIFY(world.show());

        QList<QStringList> seen;
        auto look = [&](QDialog& dialog) {
            auto& a = static_cast<frmAmortise&>(dialog);
            for (int r = 0; r < a.GridAmortisation()->rowCount(); ++r)
                seen << scheduleRow(a.GridAmortisation(), r);
            seen << stripRow(a, 1).mid(0, 1);
            a.close();
        };
        world.fake.modal.handlers.push_back(look);
        world.fake.modal.handlers.push_back(look);

        world.w.gridView()->setFocus();
        QVERIFY(world.w.Grid().setCurrentCell(1, 0));
        QTest::keyClick(world.w.gridView(), Qt::Key_M, Qt::ControlModifier);
        QVERIFY(world.w.Grid().setCurrentCell(2, 0));
        QTest::mouseClick(world.w.pictureButton(4), Qt::LeftButton);

        QCOMPARE(world.fake.modal.shown, QStringList({"frmAmortise", "frmAmortise"}));
        QCOMPARE(seen.size(), 6);
        QCOMPARE(seen[2].first(), QStringLiteral("2027"));
        QCOMPARE(seen[3], QStringList({"A1"}));
        QCOMPARE(seen[4], QStringList({"2031", "$1.05", "$1.05", "$1.05", "$1.05", "$1.05"}));
        QCOMPARE(seen[5], QStringList({"B2"}));
        QCOMPARE(world.w.Grid().row(), 2);
        QCOMPARE(world.w.Grid().col(), int(Active));
        QCOMPARE(world.w.gridView()->currentIndex().column(), int(Active));
    }
};

QTEST_MAIN(TestAmortise)
#include "test_amortise.moc"
