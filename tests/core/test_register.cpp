#include "core/code_page_1252.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "support/data_rows.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <cstring>
#include <unistd.h>

using namespace td;
using namespace td::test;

namespace {

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

}  // namespace

class TestRegister : public QObject {
    Q_OBJECT

    static DepositRecord deposit(const QString& account)
    {
        DepositRecord r;
        r.texts = {account,      "0",          "5.5",        "2",          "0",
                   "31/01/2024", "31/01/2026", "$10,000.00", "$11,159.98", "Yes"};
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
        QCOMPARE(reg.text(), d[Active]);  // the current cell stays on the last one written
    }

    void removingTheOnlyDepositLeavesTheSpareRow()
    {
        Register reg;
        reg.appendDeposit(deposit("A1"));
        QVERIFY(reg.setCurrentCell(1, 3));
        QVERIFY(reg.removeDeposit(reg.row()));
        QCOMPARE(reg.rows(), 2);
        QCOMPARE(reg.row(), 1);
        QCOMPARE(reg.col(), 3);
        QVERIFY(reg.text().isEmpty());
    }

    void removeMovesRowsUpAndKeepsIndex()
    {
        Register reg;
        for (const char* a : {"A", "B", "C"})
            reg.appendDeposit(deposit(a));
        QVERIFY(reg.setCurrentCell(2, 0));
        QVERIFY(reg.removeDeposit(2));
        QCOMPARE(reg.rows(), 4);
        QCOMPARE(reg.text(), QStringLiteral("C"));
        QCOMPARE(reg.cell(1, 0), QStringLiteral("A"));
        QVERIFY(reg.cell(3, 0).isEmpty());
    }

    void headerAndSpareRowsAreNeverRemoved()
    {
        Register reg;
        reg.appendDeposit(deposit("A"));
        QVERIFY(!reg.removeDeposit(0));
        QVERIFY(!reg.removeDeposit(2));
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

    void findAccount_data()
    {
        QTest::addColumn<QStringList>("accounts");  // rows 1 on, under the header "Account Number"
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<bool>("upperCase");
        QTest::addColumn<int>("found");
        using A = QStringList;
        dataRow("first row", A{"A1", "B2"}, "A1", 1, false, 1);
        dataRow("absent", A{"A1", "B2"}, "C3", 1, false, -1);
        dataRow("the upper of two", A{"B2", "A1", "A1"}, "A1", 1, false, 2);
        dataRow("from below the first", A{"A1", "B2", "A1"}, "A1", 2, false, 3);
        dataRow("letter case counts", A{"a1", "A1"}, "A1", 1, false, 2);
        dataRow("in upper case", A{"a1", "A1"}, "A1", 1, true, 1);
        dataRow("header row", A{"A1"}, "ACCOUNT NUMBER", 0, true, 0);
        dataRow("header row lies above row 1", A{"A1"}, "Account Number", 1, false, -1);
        dataRow("ß in upper case is SS", A{"B2", "Straße"}, "strasse", 1, true, 2);
        dataRow("a prefix", A{"AB12"}, "AB1", 1, false, -1);
        dataRow("longer than the account", A{"AB1"}, "AB12", 1, false, -1);
        dataRow("blank at the key's end", A{"A1"}, "A1 ", 1, false, -1);
        dataRow("texts: longer than a field", A{"A1", "ABCDEFGHIJ0123456789XY"}, "ABCDEFGHIJ0123456789XY", 1,
                false, 2);
        dataRow("texts: Greek", A{"ΩA"}, "ωa", 1, true, 1);
        dataRow("texts: blanks around", A{" A1", "A1"}, "A1", 1, false, 2);
        dataRow("texts: their blank counts", A{"A1", " A1"}, " A1", 1, false, 2);
        dataRow("empty key: a blank account", A{"A1", "", "C3"}, "", 1, false, 2);
        dataRow("empty key: the spare row", A{"A1"}, "", 1, false, 2);
    }
    void findAccount()
    {
        QFETCH(QStringList, accounts);
        QFETCH(QString, key);
        QFETCH(int, fromRow);
        QFETCH(bool, upperCase);
        QFETCH(int, found);
        Register reg;
        reg.setCell(0, AccountNumber, QStringLiteral("Account Number"));
        for (const QString& account : accounts)
            reg.appendDeposit(deposit(account));
        QCOMPARE(reg.findAccount(key, fromRow, upperCase ? Qt::CaseInsensitive : Qt::CaseSensitive), found);
    }

    // Every character of the code page is found in a record as its cell reads.
    void findAccountReadsRecordsAsTheirCells()
    {
        Register reg;
        for (int byte = 0; byte < 256; ++byte) {
            const QChar c(cp1252::toUnicode(static_cast<std::uint8_t>(byte)));
            reg.appendDeposit(deposit(QStringLiteral("K") + c + QStringLiteral("k")));
            QVERIFY(reg.heldAsRecord(reg.rows() - 2));
        }
        for (int row = 1; row < reg.rows() - 1; ++row) {
            const QString account = reg.cell(row, AccountNumber);
            for (const QString& key : {account, account.toUpper(), account.toLower()}) {
                for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
                    int expected = -1;
                    for (int r = 1; r < reg.rows() && expected < 0; ++r) {
                        const QString text = reg.cell(r, AccountNumber);
                        if (cs == Qt::CaseSensitive ? text == key : text.toUpper() == key.toUpper())
                            expected = r;
                    }
                    QCOMPARE(reg.findAccount(key, 1, cs), expected);
                }
            }
        }
    }

    void replaceDepositsKeepsHeaderAndResetsOnce()
    {
        Register reg;
        QAbstractItemModelTester tester(&reg, QAbstractItemModelTester::FailureReportingMode::QtTest);
        reg.setCell(0, 0, QStringLiteral("Account Number"));
        reg.appendDeposit(deposit("old"));
        QSignalSpy resets(&reg, &QAbstractItemModel::modelReset);
        RecordBlock records;
        for (int i = 0; i < 1000; ++i) {
            char* record = records.appendRecord();
            deposit_file::blankRecord(record);
            QVERIFY(deposit_file::encodeField(QString::number(i), record, AccountNumber));
        }
        QVERIFY(reg.replaceDeposits(std::move(records)));
        QCOMPARE(resets.count(), 1);
        QCOMPARE(reg.rows(), 1002);
        QCOMPARE(reg.cell(0, 0), QStringLiteral("Account Number"));
        QCOMPARE(reg.cell(1000, 0), QStringLiteral("999"));
        QCOMPARE(reg.record(1001), DepositRecord());
    }

    // Removing most rows of a large register gives their memory back.
    void removedRowsGiveTheirMemoryBack()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer keeps freed memory in quarantine");
#endif
        constexpr int kDeposits = 500'000;
        Register reg;
        {
            RecordBlock records;
            char record[deposit_file::kRecordSize];
            deposit_file::blankRecord(record);
            QVERIFY(deposit_file::encodeField(QStringLiteral("AC1"), record, AccountNumber));
            records.reserveBytes(qsizetype(kDeposits) * deposit_file::kRecordSize);
            for (int n = 0; n < kDeposits; ++n)
                std::memcpy(records.appendRecord(), record, sizeof record);
            QVERIFY(reg.replaceDeposits(std::move(records)));
        }
        const qint64 full = residentBytes();
        while (reg.depositCount() > 1000)
            reg.removeDeposit(reg.rows() - 2);
        QCOMPARE(reg.cell(1000, AccountNumber), QStringLiteral("AC1"));
        const qint64 freed = full - residentBytes();
        QVERIFY2(freed > qint64(kDeposits) * deposit_file::kRecordSize / 2,
                 qPrintable(QStringLiteral("%1 bytes given back").arg(freed)));
    }

    // Views follow the register through its model signals alone: every change
    // keeps the model consistent, and a view's row r shows register row r + 1.
    void viewsSeeEveryChange()
    {
        Register reg;
        QAbstractItemModelTester tester(&reg, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy changed(&reg, &QAbstractItemModel::dataChanged);
        for (const char* a : {"A", "B", "C"})
            reg.appendDeposit(deposit(a));
        reg.setCell(2, Interest, QStringLiteral(" 7 "));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), reg.index(1, Interest));
        QCOMPARE(reg.index(1, Interest).data().toString(), QStringLiteral(" 7 "));
        QVERIFY(reg.removeDeposit(1));
        QCOMPARE(reg.index(0, AccountNumber).data().toString(), QStringLiteral("B"));
        QVERIFY(reg.setRows(2));
        QCOMPARE(reg.rowCount(), 1);
    }

    // Rows that a file record cannot hold as they stand keep their texts, and
    // go on keeping them through changes to other rows.
    void rowsKeepTheirTextsThroughRemovals()
    {
        Register reg;
        for (int n = 0; n < 30'000; ++n) {
            DepositRecord d = deposit(QString::number(n));
            if (n % 1000 == 0)
                d[AccountNumber] = QStringLiteral(" %1 longer than twenty characters ").arg(n);
            reg.appendDeposit(d);
        }
        for (int r = reg.rows() - 2; r > 1; r -= 2)
            reg.removeDeposit(r);
        QCOMPARE(reg.depositCount(), 15'000);
        for (int r = 1; r <= reg.depositCount(); ++r) {
            const int n = 2 * (r - 1);
            const QString expected = n % 1000 == 0
                                         ? QStringLiteral(" %1 longer than twenty characters ").arg(n)
                                         : QString::number(n);
            QCOMPARE(reg.cell(r, AccountNumber), expected);
            QCOMPARE(reg.cell(r, Active), QStringLiteral("Yes"));
            QCOMPARE(reg.heldAsRecord(r), n % 1000 != 0);
        }
    }

    // A row taken out as it is kept and put back, removed or overwritten in
    // between, is the row it was, held as it was; views see each change.
    void keptRowsComeBackAsTheyWere_data()
    {
        QTest::addColumn<QString>("account");
        dataRow("a record", "B");
        dataRow("texts a record cannot hold", " B longer than twenty characters ");
    }
    void keptRowsComeBackAsTheyWere()
    {
        QFETCH(QString, account);
        Register reg;
        QAbstractItemModelTester tester(&reg, QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const QString& a : {QStringLiteral("A"), account, QStringLiteral("C")})
            reg.appendDeposit(deposit(a));
        const Register::KeptRow kept = reg.keptRow(2);
        const bool asRecord = reg.heldAsRecord(2);

        QSignalSpy changed(&reg, &QAbstractItemModel::dataChanged);
        QVERIFY(reg.overwriteRow(2, Register::keptRowOf(deposit(QStringLiteral("Z")))));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(reg.cell(2, AccountNumber), QStringLiteral("Z"));
        QVERIFY(reg.overwriteRow(2, kept));
        QCOMPARE(reg.record(2), deposit(account));
        QCOMPARE(reg.heldAsRecord(2), asRecord);

        QVERIFY(reg.removeDeposit(2));
        QVERIFY(reg.insertKeptRow(2, kept));
        QCOMPARE(reg.record(2), deposit(account));
        QCOMPARE(reg.heldAsRecord(2), asRecord);
        QCOMPARE(reg.cell(3, AccountNumber), QStringLiteral("C"));

        // The header and the spare row are never overwritten; rows go in from 1 to the spare row.
        for (int row : {0, 4})
            QVERIFY(!reg.overwriteRow(row, kept));
        for (int row : {0, 5})
            QVERIFY(!reg.insertKeptRow(row, kept));
        QCOMPARE(reg.rows(), 5);
    }
};

QTEST_GUILESS_MAIN(TestRegister)
#include "test_register.moc"
