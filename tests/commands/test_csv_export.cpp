#include "commands/csv_export.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "support/data_rows.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/stat.h>

using namespace td;
using td::test::dataRow;

namespace {

DepositRecord record(const QStringList& texts)
{
    DepositRecord d;
    for (int c = 0; c < ColumnCount; ++c)
        d[c] = texts.value(c);
    return d;
}

// A register with its header row, as the main window keeps it.
void addHeader(Register& reg)
{
    for (int c = 0; c < ColumnCount; ++c)
        reg.setCell(0, c, headerText(c));
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

}  // namespace

class TestCsvExport : public QObject {
    Q_OBJECT

private slots:
    void fieldsAreQuotedOnlyWhenTheyMustBe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        dataRow("plain", "A1001", "A1001");
        dataRow("empty", "", "");
        dataRow("comma", "A1,001", "\"A1,001\"");
        dataRow("money with separators", "$1,234.50", "\"$1,234.50\"");
        dataRow("quote doubled", "say \"hi\"", "\"say \"\"hi\"\"\"");
        dataRow("line feed", "two\nlines", "\"two\nlines\"");
        dataRow("carriage return", "a\rb", "\"a\rb\"");
        dataRow("blanks kept as they are", " A1 ", " A1 ");
        dataRow("tab needs no quotes in CSV", "a\tb", "a\tb");
    }
    void fieldsAreQuotedOnlyWhenTheyMustBe()
    {
        QFETCH(QString, text);
        QFETCH(QString, field);
        QCOMPARE(csv::field(text), field);
    }

    void linesAreUtf8AndEndInCrLf()
    {
        QCOMPARE(csv::line({"Zoë", "a,b", ""}), QByteArray("Zo\xc3\xab,\"a,b\",\r\n"));
        QCOMPARE(csv::tabSeparated({{"Year", "Annually"}, {"2025", "a\tb"}}),
                 QStringLiteral("Year\tAnnually\n2025\t\"a\tb\"\n"));
    }

    void plainNumbersForEveryRegisterColumn_data()
    {
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("plain");
        dataRow("worked example",
                QStringList{"A1,001", "$100.00", "5.5", "2", "6", "31/01/2024", "31/07/2026", "$10,000.00",
                            "$14,678.59", "Yes"},
                QStringList{"A1,001", "100.00", "5.5", "2", "6", "2024-01-31", "2026-07-31", "10000.00",
                            "14678.59", "Yes"});
        dataRow("switched-off saving, a million",
                QStringList{"B2", "0", "4.25", "99", "0", "29/02/2024", "28/02/2123", "$1,000,000.00",
                            "-$1.50", "No"},
                QStringList{"B2", "0.00", "4.25", "99", "0", "2024-02-29", "2123-02-28", "1000000.00",
                            "-1.50", "No"});
        dataRow("texts that do not read stay as they are",
                QStringList{"C3", "lots", "5%", "x", "", "2024-01-31", "31/13/2024", "", "12abc", "maybe"},
                QStringList{"C3", "lots", "5%", "x", "", "2024-01-31", "31/13/2024", "", "12abc", "maybe"});
    }
    void plainNumbersForEveryRegisterColumn()
    {
        QFETCH(QStringList, shown);
        QFETCH(QStringList, plain);
        Register reg;
        addHeader(reg);
        reg.appendDeposit(record(shown));
        QCOMPARE(csv::registerRow(reg, 1, csv::Form::AsShown, DateForm()), shown);
        QCOMPARE(csv::registerRow(reg, 1, csv::Form::PlainNumbers, DateForm()), plain);
        QCOMPARE(csv::registerRow(reg, 0, csv::Form::PlainNumbers, DateForm()).first(),
                 QStringLiteral("Account Number"));
    }

    void scheduleInBothForms()
    {
        const QList<QStringList> shown{
            {"2025", "$10,500.00", "$10,509.45", "$10,511.62", "$10,512.46", "$10,512.67"}};
        const QList<QStringList> plain = csv::scheduleTable(shown, csv::Form::PlainNumbers, DateForm());
        QCOMPARE(plain.size(), 2);
        QCOMPARE(plain[0], (QStringList{"Year", "Annually", "Quaterly", "Monthly", "Weekly", "Dayly"}));
        QCOMPARE(plain[1], (QStringList{"2025", "10500.00", "10509.45", "10511.62", "10512.46", "10512.67"}));
        QCOMPARE(csv::scheduleTable(shown, csv::Form::AsShown, DateForm())[1], shown[0]);
    }

    void registerFileHoldsHeaderAndDepositsButNoSpareRow()
    {
        QTemporaryDir dir;
        Register reg;
        addHeader(reg);
        reg.appendDeposit(record(
            {"A\"1\"\n2", "0", "5", "1", "0", "01/01/2024", "01/01/2025", "$100.00", "$105.12", "Yes"}));
        const QString path = dir.filePath("register.csv");
        csv::FileExporter exporter;
        const mode_t umask = ::umask(027);
        QVERIFY(exporter.writeRegister(path, reg, csv::Form::AsShown, DateForm()));
        ::umask(umask);
        // A new file has the permissions any new file has here, not a temporary file's.
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0640));
        QCOMPARE(readAll(path),
                 QByteArray("Account Number,Save Each Month,Interest,Years,Months,Start Date,Term Date,"
                            "Account Balance,Future Value,Active\r\n"
                            "\"A\"\"1\"\"\n2\",0,5,1,0,01/01/2024,01/01/2025,$100.00,$105.12,Yes\r\n"));
        // An export over an existing file replaces it whole.
        reg.removeDeposit(1);
        QVERIFY(exporter.writeRegister(path, reg, csv::Form::PlainNumbers, DateForm()));
        QCOMPARE(readAll(path).count("\r\n"), 1);
    }

    // A row kept as a file record is written from its bytes: as its texts
    // would be, in UTF-8, beside a row kept as texts.
    void recordRowsWrittenAsTheirTexts_data()
    {
        QTest::addColumn<QByteArray>("account");  // the field's bytes in Windows-1252
        QTest::addColumn<QByteArray>("expected");
        dataRow("plain", QByteArray("A1001"), QByteArray("A1001"));
        dataRow("spaces at either end", QByteArray("  A1 "), QByteArray("A1"));
        dataRow("blank", QByteArray(""), QByteArray(""));
        dataRow("comma", QByteArray("A,1"), QByteArray("\"A,1\""));
        dataRow("quote and line break", QByteArray("A\"1\r\n"), QByteArray("\"A\"\"1\r\n\""));
        dataRow("accent and euro", QByteArray("Zo\xeb \x80"), QByteArray("Zo\xc3\xab \xe2\x82\xac"));
        dataRow("undefined byte, quoted", QByteArray("\x81,\xff"), QByteArray("\"\xc2\x81,\xc3\xbf\""));
    }
    void recordRowsWrittenAsTheirTexts()
    {
        QFETCH(QByteArray, account);
        QFETCH(QByteArray, expected);
        RecordBlock records;
        char* bytes = records.appendRecord();
        deposit_file::blankRecord(bytes);
        std::memcpy(bytes, account.constData(), std::size_t(account.size()));
        std::memcpy(bytes + deposit_file::fieldOffset(AccountBalance), "$1,234.50", 9);
        std::memcpy(bytes + deposit_file::fieldOffset(Active), "Yes", 3);
        Register reg;
        addHeader(reg);
        QVERIFY(reg.replaceDeposits(std::move(records)));
        reg.appendDeposit(record({" T1", "", "", "", "", "", "", "", "", "No"}));
        QVERIFY(reg.heldAsRecord(1));
        QVERIFY(!reg.heldAsRecord(2));

        QTemporaryDir dir;
        csv::FileExporter exporter;
        QVERIFY(exporter.writeRegister(dir.filePath("r.csv"), reg, csv::Form::AsShown, DateForm()));
        const QByteArray header = csv::line(csv::registerRow(reg, 0, csv::Form::AsShown, DateForm()));
        QCOMPARE(readAll(dir.filePath("r.csv")),
                 header + expected + ",,,,,,,\"$1,234.50\",,Yes\r\n" + " T1,,,,,,,,,No\r\n");
    }

    void aMissingFolderFailsWithTheFileReason()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("no such folder/register.csv");
        csv::FileExporter exporter;
        QVERIFY(!exporter.writeTable(path, {{"a"}}));
        QVERIFY(!exporter.errorString().isEmpty());
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "test_csv_export.moc"
