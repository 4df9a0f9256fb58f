#include "core/packed_row.h"
#include "core/register.h"

#include <QSignalSpy>
#include <QTest>

using namespace td;

class TestRegister : public QObject {
    Q_OBJECT

    static DepositRecord deposit(const QString& account)
    {
        DepositRecord r;
        r.texts = {account, "0", "5.5", "2", "0", "31/01/2024", "31/01/2026", "$10,000.00", "$11,159.98", "Yes"};
        return r;
    }

private slots:
    void emptyRegisterHasHeaderAndSpareRow()
    {
        Register reg;
        QCOMPARE(reg.rows(), 2);
        QCOMPARE(reg.depositCount(), 0);
        QCOMPARE(reg.row(), 0);
        QCOMPARE(reg.col(), 0);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < ColumnCount; ++c)
                QVERIFY(reg.cell(r, c).isEmpty());
        QVERIFY(!reg.currentCellHoldsText());
    }

    void firstDepositFillsRowOneAndAddsSpare()
    {
        // As the commit does it: grow by one, then write the former spare row.
        Register reg;
        QVERIFY(reg.setRow(1));
        QVERIFY(reg.setRows(reg.rows() + 1));
        QCOMPARE(reg.row(), 1);
        const DepositRecord d = deposit("A1001");
        for (int c = 0; c < ColumnCount; ++c) {
            QVERIFY(reg.setCol(c));
            reg.setText(d[c]);
        }
        QCOMPARE(reg.rows(), 3);
        QCOMPARE(reg.record(1), d);
        QCOMPARE(reg.record(2), DepositRecord());
        QVERIFY(reg.currentCellHoldsText());
    }

    void removingTheOnlyDepositLeavesTheSpareRow()
    {
        Register reg;
        reg.appendDeposit(deposit("A1"));
        QVERIFY(reg.setCurrentCell(1, 3));
        QVERIFY(reg.removeRow(reg.row()));
        QCOMPARE(reg.rows(), 2);
        QCOMPARE(reg.row(), 1);
        QCOMPARE(reg.col(), 3);
        QVERIFY(!reg.currentCellHoldsText());
    }

    void removeMovesRowsUpAndKeepsIndex()
    {
        Register reg;
        for (const char* a : {"A", "B", "C"})
            reg.appendDeposit(deposit(a));
        QVERIFY(reg.setCurrentCell(2, 0));
        QVERIFY(reg.removeRow(2));
        QCOMPARE(reg.rows(), 4);
        QCOMPARE(reg.text(), QStringLiteral("C"));
        QCOMPARE(reg.cell(1, 0), QStringLiteral("A"));
        QVERIFY(reg.cell(3, 0).isEmpty());
    }

    void headerAndSpareRowsAreNeverRemoved()
    {
        Register reg;
        reg.appendDeposit(deposit("A"));
        QVERIFY(!reg.removeRow(0));
        QVERIFY(!reg.removeRow(2));
        QCOMPARE(reg.rows(), 3);
    }

    void outOfRangeIndexIsRefused_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("row -1") << -1 << 0;
        QTest::newRow("row = rows") << 2 << 0;
        QTest::newRow("col -1") << 0 << -1;
        QTest::newRow("col 10") << 1 << 10;
    }
    void outOfRangeIndexIsRefused()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        Register reg;
        QVERIFY(reg.setCurrentCell(1, 9));
        QVERIFY(!reg.setCurrentCell(row, col));
        QCOMPARE(reg.row(), 1);
        QCOMPARE(reg.col(), 9);
        QVERIFY(!reg.setRows(1));
        QCOMPARE(reg.rows(), 2);
    }

    void setRowsDropsAndAddsRowsKeepingTexts()
    {
        Register reg;
        for (const char* a : {"A", "B", "C"})
            reg.appendDeposit(deposit(a));
        QVERIFY(reg.setCurrentCell(4, 9));
        QVERIFY(reg.setRows(3));
        QCOMPARE(reg.rows(), 3);
        QCOMPARE(reg.row(), 2);  // the current cell follows into the table
        QCOMPARE(reg.cell(1, 0), QStringLiteral("A"));
        QCOMPARE(reg.cell(2, 0), QStringLiteral("B"));
        QVERIFY(reg.setRows(5));
        QCOMPARE(reg.cell(2, 0), QStringLiteral("B"));
        QVERIFY(reg.cell(4, 0).isEmpty());
    }

    void cellsHoldAnyText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("ascii") << QStringLiteral("A1001");
        QTest::newRow("latin") << QStringLiteral("Ä€ñ ÿ");
        QTest::newRow("control") << QStringLiteral("\x01\x7f\x81");
        QTest::newRow("cjk") << QStringLiteral("口座番号");
        QTest::newRow("long") << QString(5000, QLatin1Char('x'));
    }
    void cellsHoldAnyText()
    {
        QFETCH(QString, text);
        Register reg;
        reg.appendDeposit(deposit("A"));
        for (int c = 0; c < ColumnCount; ++c) {
            reg.setCell(1, c, text + QString::number(c));
            QCOMPARE(reg.cell(1, c), text + QString::number(c));
        }
        reg.setCell(1, 4, text);
        QCOMPARE(reg.cell(1, 4), text);
        QCOMPARE(reg.cell(1, 3), text + QStringLiteral("3"));
        QCOMPARE(reg.cell(1, 5), text + QStringLiteral("5"));
    }

    void accountNumbersAreNotUnique()
    {
        Register reg;
        reg.appendDeposit(deposit("A1001"));
        reg.appendDeposit(deposit("A1001"));
        reg.appendDeposit(deposit("a1001"));
        QCOMPARE(reg.depositCount(), 3);
    }

    void replaceDepositsKeepsHeaderAndResetsOnce()
    {
        Register reg;
        reg.setCell(0, 0, QStringLiteral("Account Number"));
        reg.appendDeposit(deposit("old"));
        QSignalSpy resets(&reg, &Register::resetDone);
        std::vector<QByteArray> rows;
        for (int i = 0; i < 1000; ++i)
            rows.push_back(packed_row::pack(deposit(QString::number(i)).texts));
        reg.replaceDeposits(std::move(rows));
        QCOMPARE(resets.count(), 1);
        QCOMPARE(reg.rows(), 1002);
        QCOMPARE(reg.cell(0, 0), QStringLiteral("Account Number"));
        QCOMPARE(reg.cell(1000, 0), QStringLiteral("999"));
        QCOMPARE(reg.record(1001), DepositRecord());
    }
};

QTEST_GUILESS_MAIN(TestRegister)
#include "test_register.moc"
