#include "core/deposit_file_format.h"
#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"
#include "storage/exact_save_check.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QTranslator>
#include <algorithm>

using namespace td;

namespace {

const int kWidths[ColumnCount] = {20, 15, 7, 2, 2, 10, 10, 15, 15, 3};
const int kOffsets[ColumnCount] = {0, 20, 35, 42, 44, 46, 56, 66, 81, 96};

DepositRecord deposit(const QStringList& texts)
{
    DepositRecord d;
    for (int c = 0; c < ColumnCount; ++c)
        d[c] = texts.value(c);
    return d;
}

// One record written out by hand: each field space-filled to its width.
QByteArray record(const QList<QByteArray>& fields, char last = '\r')
{
    QByteArray r;
    for (int c = 0; c < ColumnCount; ++c)
        r += fields.value(c).leftJustified(kWidths[c], ' ', true);
    return r + last;
}

QByteArray save(const std::vector<DepositRecord>& deposits)
{
    Register reg;
    for (const DepositRecord& d : deposits)
        reg.appendDeposit(d);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    DepositFileWriter writer;
    if (!writer.write(buffer, reg))
        qWarning() << writer.errorString();
    return bytes;
}

std::vector<DepositRecord> load(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    DepositFileReader reader;
    if (!reader.read(buffer))
        qWarning() << reader.errorString();
    const RecordBlock records = reader.takeRecords();
    std::vector<DepositRecord> deposits;
    for (qsizetype n = 0; n < records.size(); ++n) {
        DepositRecord d;
        for (int c = 0; c < ColumnCount; ++c)
            d[c] = deposit_file::fieldText(records.record(n), c);
        deposits.push_back(d);
    }
    return deposits;
}

// Hands out whole records forever, as a device that keeps growing would.
class EndlessDevice : public QIODevice {
public:
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        const QByteArray r = record({"AC1", "0", "5"});
        for (qint64 i = 0; i < max; ++i)
            data[i] = r[(m_at + i) % r.size()];
        m_at += max;
        return max;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 m_at = 0;
};

// Fails every read or write once `limit` bytes have passed.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(QByteArray data, qint64 limit) : m_data(std::move(data)), m_limit(limit) {}
    QByteArray written;

protected:
    qint64 readData(char* data, qint64 max) override
    {
        if (m_done >= m_limit) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 n = std::min({max, m_limit - m_done, qint64(m_data.size()) - m_done});
        memcpy(data, m_data.constData() + m_done, n);
        m_done += n;
        return n;
    }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (m_done >= m_limit) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = qMin(size, m_limit - m_done);  // a short write first, then the failure
        written.append(data, n);
        m_done += n;
        return n;
    }

private:
    QByteArray m_data;
    qint64 m_limit;
    qint64 m_done = 0;
};

}  // namespace

class TestDepositFile : public QObject {
    Q_OBJECT

private slots:
    void threeDepositsMakeThreeHundredBytes()
    {
        const QByteArray bytes = save({
            deposit(
                {"AC1", "0", "5.5", "1", "0", "01/01/2024", "01/01/2025", "$14,678.59", "$15,485.91", "No"}),
            deposit(
                {"AC2", "$50.00", "4", "2", "6", "15/03/2023", "15/09/2025", "$100.00", "$110.00", "Yes"}),
            deposit({}),
        });
        QCOMPARE(bytes.size(), 300);
        QCOMPARE(bytes.at(99), '\r');
        QCOMPARE(bytes.at(199), '\r');
        QCOMPARE(bytes.at(299), '\r');
        const QByteArray first = "AC1                 "
                                 "0              "
                                 "5.5    "
                                 "1 "
                                 "0 "
                                 "01/01/2024"
                                 "01/01/2025"
                                 "$14,678.59     "
                                 "$15,485.91     "
                                 "No \r";
        QCOMPARE(bytes.left(100), first);
        QCOMPARE(bytes.mid(200), QByteArray(99, ' ') + '\r');
    }

    void fieldsAreCutAndFilled_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("25-character account number")
            << int(AccountNumber) << "ABCDEFGHIJKLMNOPQRSTUVWXY" << QByteArray("ABCDEFGHIJKLMNOPQRST");
        QTest::newRow("No and a space") << int(Active) << "No" << QByteArray("No ");
        QTest::newRow("Yes fills its field") << int(Active) << "Yes" << QByteArray("Yes");
        QTest::newRow("leading spaces kept") << int(Interest) << "  5.5" << QByteArray("  5.5  ");
        QTest::newRow("17-character future value")
            << int(FutureValue) << "$1,234,567,890.12" << QByteArray("$1,234,567,890.");
        QTest::newRow("euro sign") << int(Years) << QString::fromUtf8("€5")
                                   << QByteArray("\x80"
                                                 "5");
        QTest::newRow("accented letters") << int(AccountNumber) << QString::fromUtf8("Müller-Ñoño")
                                          << QByteArray("M\xFCller-\xD1o\xF1o         ");
        QTest::newRow("undefined byte 0x9D") << int(Months) << QString(QChar(0x9D)) << QByteArray("\x9D ");
        QTest::newRow("Greek becomes ?") << int(Months) << QString(QChar(0x03A9)) << QByteArray("? ");
        QTest::newRow("emoji is one ?")
            << int(Active) << QString::fromUcs4(U"\U0001F600x") << QByteArray("?x ");
        QTest::newRow("empty cell") << int(StartDate) << "" << QByteArray(10, ' ');
        QTest::newRow("very long cell") << int(Interest) << QString(300, 'x') << QByteArray(7, 'x');
    }
    void fieldsAreCutAndFilled()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(QByteArray, field);
        DepositRecord d;
        d[AccountNumber] = QStringLiteral("X");
        d[column] = text;
        const QByteArray bytes = save({d});
        QCOMPARE(bytes.size(), 100);
        QCOMPARE(bytes.mid(kOffsets[column], kWidths[column]), field);
    }

    void readingTrimsSpacesOnly_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("outer spaces") << QByteArray("  AB C  ") << "AB C";
        QTest::newRow("tabs stay") << QByteArray("\tAB\t") << "\tAB\t";
        QTest::newRow("only spaces") << QByteArray("     ") << "";
        QTest::newRow("zero bytes stay") << QByteArray("\0A\0", 3) << QString::fromLatin1("\0A\0", 3);
        QTest::newRow("carriage return stays") << QByteArray("A\r") << "A\r";
        QTest::newRow("code page marks") << QByteArray("\x80\x99\x9F") << QString::fromUtf8("€™Ÿ");
        QTest::newRow("undefined bytes")
            << QByteArray("\x81\x8D\x8F\x90\x9D") << QString::fromUcs4(U"\x81\x8D\x8F\x90\x9D");
        QTest::newRow("0xFF") << QByteArray("\xFF\xFF") << QString::fromUtf8("ÿÿ");
    }
    void readingTrimsSpacesOnly()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, text);
        int tried = 0;
        for (int c = 0; c < ColumnCount; ++c) {
            if (field.size() > kWidths[c])
                continue;
            ++tried;
            QList<QByteArray> fields;
            for (int other = 0; other < ColumnCount; ++other)
                fields.append(other == c ? field : QByteArray("x"));
            const auto deposits = load(record(fields));
            QCOMPARE(deposits.size(), std::size_t(1));
            QCOMPARE(deposits[0][c], text);
            QCOMPARE(deposits[0][(c + 1) % ColumnCount], QStringLiteral("x"));
        }
        QVERIFY(tried >= 3);
    }

    void lastByteIsNotLookedAt()
    {
        const QList<QByteArray> fields = {"A", "B"};
        for (const char last : {'\r', '\n', '\0', 'Z', '\xFF'}) {
            const auto deposits = load(record(fields, last) + record(fields, last));
            QCOMPARE(deposits.size(), std::size_t(2));
            QCOMPARE(deposits[1][AccountNumber], QStringLiteral("A"));
            QCOMPARE(deposits[1][SaveEachMonth], QStringLiteral("B"));
            QCOMPARE(deposits[1][Active], QString());
        }
    }

    void wholeRecordsOnly_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {0, 1, 99, 100, 101, 199, 200, 250, 300, 399})
            QTest::addRow("%d bytes", size) << size;
    }
    void wholeRecordsOnly()
    {
        QFETCH(int, size);
        QByteArray bytes;
        for (int n = 0; bytes.size() < size; ++n)
            bytes += record({QByteArray::number(n)});
        bytes.truncate(size);
        const auto deposits = load(bytes);
        QCOMPARE(int(deposits.size()), size / 100);
        for (int n = 0; n < size / 100; ++n)
            QCOMPARE(deposits[n][AccountNumber], QString::number(n));
    }

    void emptyRegisterIsAnEmptyFile()
    {
        QCOMPARE(save({}), QByteArray());
        QVERIFY(load(QByteArray()).empty());
    }

    // Files whose fields have no outer spaces read and write back byte for
    // byte, whatever bytes they hold, and a register of such texts survives a
    // save and a reopen.
    void randomFilesSurviveReadAndWrite()
    {
        QRandomGenerator random(20240131);
        QByteArray file;
        QSet<int> seen;
        for (int n = 0; n < 400; ++n) {
            for (int c = 0; c < ColumnCount; ++c) {
                const int length = int(random.bounded(kWidths[c] + 1));
                QByteArray field;
                for (int i = 0; i < length; ++i) {
                    char b = char(random.bounded(256));
                    if ((i == 0 || i == length - 1) && b == ' ')
                        b = '_';
                    seen.insert(uchar(b));
                    field += b;
                }
                file += field.leftJustified(kWidths[c], ' ');
            }
            file += '\r';
        }
        QCOMPARE(seen.size(), 256);

        const auto deposits = load(file);
        QCOMPARE(deposits.size(), std::size_t(400));
        QCOMPARE(save(deposits), file);

        Register reg;
        for (const DepositRecord& d : deposits)
            reg.appendDeposit(d);
        QVERIFY(findInexactDeposits(reg, 5).none());
    }

    // Registers of plain texts of every length up to past the field: each
    // field holds the text's first characters, then spaces.
    void randomAsciiRegistersAreWrittenFieldByField()
    {
        QRandomGenerator random(7);
        std::vector<DepositRecord> deposits;
        QByteArray expected;
        for (int n = 0; n < 300; ++n) {
            DepositRecord d;
            for (int c = 0; c < ColumnCount; ++c) {
                const int length = int(random.bounded(kWidths[c] + 6));
                QByteArray text;
                for (int i = 0; i < length; ++i)
                    text += char(32 + random.bounded(95));
                d[c] = QString::fromLatin1(text);
                expected += text.left(kWidths[c]).leftJustified(kWidths[c], ' ');
            }
            expected += '\r';
            deposits.push_back(d);
        }
        QCOMPARE(save(deposits), expected);
    }

    void inexactCells_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("exact");
        QTest::newRow("fills its field") << int(AccountNumber) << QString(20, 'A') << true;
        QTest::newRow("one too long") << int(AccountNumber) << QString(21, 'A') << false;
        QTest::newRow("future value of a thousand million")
            << int(FutureValue) << "$1,000,000,000.00" << false;
        QTest::newRow("leading space") << int(Interest) << " 5" << false;
        QTest::newRow("trailing space") << int(Active) << "No " << false;
        QTest::newRow("space inside") << int(AccountNumber) << "AB 12" << true;
        QTest::newRow("euro fits") << int(Years) << QString::fromUtf8("€€") << true;
        QTest::newRow("accents fill the field") << int(Active) << QString::fromUtf8("äöü") << true;
        QTest::newRow("accents one too many") << int(Active) << QString::fromUtf8("äöüß") << false;
        QTest::newRow("Greek") << int(AccountNumber) << QString(QChar(0x03A9)) << false;
        QTest::newRow("C1 control 0x80") << int(AccountNumber) << QString(QChar(0x80)) << false;
        QTest::newRow("undefined-byte control 0x81") << int(AccountNumber) << QString(QChar(0x81)) << true;
    }
    void inexactCells()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(bool, exact);
        Register reg;
        DepositRecord d;
        d[AccountNumber] = QStringLiteral("AC1");
        reg.appendDeposit(d);
        d[column] = text;
        reg.appendDeposit(d);
        const InexactDeposits found = findInexactDeposits(reg, 5);
        QCOMPARE(found.none(), exact);
        if (!exact) {
            QCOMPARE(found.depositCount, 1);
            QCOMPARE(found.cells.size(), std::size_t(1));
            QCOMPARE(found.cells[0].row, 2);
            QCOMPARE(found.cells[0].column, column);
        }
        // What the check promises: an exact register reads back unchanged.
        const auto back = load(save({reg.record(1), reg.record(2)}));
        QCOMPARE(back[1] == reg.record(2), exact);
    }

    void inexactCellsOfTheFirstFewDeposits()
    {
        Register reg;
        for (int n = 1; n <= 9; ++n) {
            DepositRecord d;
            d[AccountNumber] = QStringLiteral("AC%1").arg(n);
            if (n % 2 == 1) {
                d[Interest] = QStringLiteral(" 5");
                d[FutureValue] = QStringLiteral("$1,000,000,000.00");
            }
            reg.appendDeposit(d);
        }
        const InexactDeposits found = findInexactDeposits(reg, 3);
        QCOMPARE(found.depositCount, 5);
        QCOMPARE(found.cells.size(), std::size_t(6));
        QCOMPARE(found.cells[0].row, 1);
        QCOMPARE(found.cells[1].column, int(FutureValue));
        QCOMPARE(found.cells[5].row, 5);
    }

    // Loaded rows live in one block of records; they must behave as rows of
    // their own when changed, removed or outlive the reader.
    void loadedRowsBehaveAsTheirOwn()
    {
        QByteArray file;
        for (int n = 0; n < 5000; ++n)
            file += record({"AC" + QByteArray::number(n), "$" + QByteArray::number(n) + ".00", "5"});
        Register reg;
        {
            QBuffer buffer(&file);
            buffer.open(QIODevice::ReadOnly);
            DepositFileReader reader;
            QVERIFY(reader.read(buffer));
            QVERIFY(reg.replaceDeposits(reader.takeRecords()));
        }
        file.fill('#');  // nothing points into the bytes read
        QCOMPARE(reg.rows(), 5002);
        reg.setCell(10, SaveEachMonth, QStringLiteral("a longer text than before"));
        QCOMPARE(reg.cell(10, SaveEachMonth), QStringLiteral("a longer text than before"));
        QCOMPARE(reg.cell(11, SaveEachMonth), QStringLiteral("$10.00"));
        QCOMPARE(reg.cell(9, AccountNumber), QStringLiteral("AC8"));
        for (int r = 4000; r >= 1; --r)
            reg.removeDeposit(r);
        QCOMPARE(reg.cell(1, AccountNumber), QStringLiteral("AC4000"));
        QCOMPARE(reg.cell(1000, Interest), QStringLiteral("5"));
        QCOMPARE(reg.cell(1001, AccountNumber), QString());  // the spare row
    }

    void readFailureHandsOverNothing()
    {
        QByteArray file;
        for (int n = 0; n < 30000; ++n)
            file += record({"AC" + QByteArray::number(n)});
        FailingDevice device(file, 1'500'050);
        device.open(QIODevice::ReadOnly);
        DepositFileReader reader;
        QVERIFY(!reader.read(device));
        QCOMPARE(reader.errorString(), QStringLiteral("Input/output error"));
        QCOMPARE(reader.takeRecords().size(), 0);
    }

    void writeFailureIsReported()
    {
        Register reg;
        for (int n = 0; n < 20000; ++n)
            reg.appendDeposit(deposit({"AC" + QString::number(n)}));
        FailingDevice device({}, 1'000'050);
        device.open(QIODevice::WriteOnly);
        DepositFileWriter writer;
        QVERIFY(!writer.write(device, reg));
        QCOMPARE(writer.errorString(), QStringLiteral("No space left on device"));
        QCOMPARE(device.written.size(), 1'000'050);
    }

    // A device larger than the memory the program can have is refused before
    // anything is read, with its size in the reason.
    void tooLargeForMemoryIsRefusedAtOnce()
    {
        class Huge : public QIODevice {
        public:
            qint64 size() const override { return qint64(1) << 62; }

        protected:
            qint64 readData(char*, qint64) override
            {
                setErrorString(QStringLiteral("read"));
                return -1;
            }
            qint64 writeData(const char*, qint64) override { return -1; }
        } device;
        device.open(QIODevice::ReadOnly);
        DepositFileReader reader;
        QVERIFY(!reader.read(device));
        QVERIFY2(reader.errorString().startsWith(QStringLiteral("The file is 4.00 EiB long")),
                 qPrintable(reader.errorString()));
    }

    // A device that keeps growing fails the read once the records would pass
    // the memory there is; nothing is handed over.
    void growthPastTheMemoryFailsTheRead()
    {
        EndlessDevice device;
        device.open(QIODevice::ReadOnly);
        DepositFileReader reader;
        reader.setMemoryLimit(3 << 20);
        QVERIFY(!reader.read(device));
        QCOMPARE(reader.errorString(), QStringLiteral("There is not enough memory to read the file."));
        QCOMPARE(reader.takeRecords().size(), 0);
    }

    // The records come in as a save would write them: fields left-aligned,
    // a carriage return last.
    void loadedRecordsAreWrittenAsASaveWrites()
    {
        const QByteArray file = record({"  AC1", "  $5.00", " 5  ", " 1", "", "  1/1/2024"}, '\n') +
                                record({"AC2", "", "", "", " 3"}, 'x');
        QByteArray bytes = file;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        DepositFileReader reader;
        QVERIFY(reader.read(buffer));
        Register reg;
        QVERIFY(reg.replaceDeposits(reader.takeRecords()));
        QCOMPARE(reg.cell(1, AccountNumber), QStringLiteral("AC1"));
        QCOMPARE(reg.cell(1, StartDate), QStringLiteral("1/1/2024"));
        QByteArray written;
        QBuffer out(&written);
        out.open(QIODevice::WriteOnly);
        DepositFileWriter writer;
        QVERIFY(writer.write(out, reg));
        QCOMPARE(written,
                 record({"AC1", "$5.00", "5", "1", "", "1/1/2024"}) + record({"AC2", "", "", "", "3"}));
    }

    void closedDevicesAreRefused()
    {
        QBuffer buffer;
        DepositFileReader reader;
        QVERIFY(!reader.read(buffer));
        QVERIFY(!reader.errorString().isEmpty());
        DepositFileWriter writer;
        QVERIFY(!writer.write(buffer, Register()));
        QVERIFY(!writer.errorString().isEmpty());
    }

    // A file that failed without a reason of its own is told so by its error
    // code, whatever language Qt speaks.
    void aFileWithoutAReasonIsToldSoInAnyLanguage()
    {
        class German : public QTranslator {
        public:
            bool isEmpty() const override { return false; }
            QString translate(const char* context, const char* text, const char*, int) const override
            {
                return qstrcmp(context, "QIODevice") == 0 && qstrcmp(text, "Unknown error") == 0
                           ? QStringLiteral("Unbekannter Fehler")
                           : QString();
            }
        } german;
        QCoreApplication::installTranslator(&german);
        QFile closed;
        DepositFileWriter writer;
        QVERIFY(!writer.write(closed, Register()));
        const QString qtText = closed.errorString();
        QCoreApplication::removeTranslator(&german);
        QCOMPARE(qtText, QStringLiteral("Unbekannter Fehler"));
        QCOMPARE(writer.errorString(), QStringLiteral("The device reported an error without a reason."));
    }
};

QTEST_GUILESS_MAIN(TestDepositFile)
#include "test_deposit_file.moc"
