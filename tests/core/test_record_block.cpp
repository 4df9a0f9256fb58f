#include "core/record_block.h"
#include "support/data_rows.h"

#include <QTest>
#include <algorithm>
#include <cstring>

using namespace td;
using td::test::dataRow;

namespace {

constexpr int kRecord = 100;

// Record n's bytes: its number, then a letter of its own to the end.
void stamp(char* record, int n)
{
    std::memset(record, 'a' + n % 26, kRecord);
    const QByteArray number = QByteArray::number(n);
    std::memcpy(record, number.constData(), size_t(number.size()));
}

}  // namespace

class TestRecordBlock : public QObject {
    Q_OBJECT

private slots:
    // Records come back whole at every size the block grows through: in its
    // first page, across a page edge, over several growths and past the size
    // at which it asks for huge pages; appended one by one, or read in as
    // bytes in pieces that split records, as a reader fills it.
    void recordsStayWholeAsTheBlockGrows_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("piece");    // bytes a fill, 0 to append record by record
        QTest::addColumn<int>("partial");  // bytes of a last, partial record
        dataRow("one record", 1, 0, 0);
        dataRow("across the first page edge", 41, 0, 0);
        dataRow("past the first growth", 65, 0, 0);
        dataRow("many growths, past 2 MiB", 30'000, 0, 0);
        dataRow("filled in pieces that split records", 30'000, 4093, 0);
        dataRow("filled, a partial record dropped", 30'000, 65'536, 37);
        dataRow("nothing but a partial record", 0, 4096, 99);
    }

    void recordsStayWholeAsTheBlockGrows()
    {
        QFETCH(int, records);
        QFETCH(int, piece);
        QFETCH(int, partial);
        RecordBlock block;
        if (piece == 0) {
            for (int n = 0; n < records; ++n)
                stamp(block.appendRecord(), n);
        } else {
            QByteArray bytes(qsizetype(records) * kRecord + partial, Qt::Uninitialized);
            for (int n = 0; n < records; ++n)
                stamp(bytes.data() + qsizetype(n) * kRecord, n);
            for (qsizetype done = 0; done < bytes.size();) {
                if (block.roomBytes() == 0)
                    block.reserveBytes(block.bytes() + block.bytes() / 2 + piece);
                const qsizetype n = std::min({block.roomBytes(), qsizetype(piece), bytes.size() - done});
                std::memcpy(block.room(), bytes.constData() + done, size_t(n));
                block.fill(n);
                done += n;
            }
            QCOMPARE(block.bytes(), bytes.size());
            block.trimToRecords();
        }
        QCOMPARE(block.size(), records);
        QCOMPARE(block.bytes(), qsizetype(records) * kRecord);
        char expected[kRecord];
        for (int n = 0; n < records; ++n) {
            stamp(expected, n);
            QVERIFY2(std::memcmp(block.record(n), expected, kRecord) == 0, qPrintable(QString::number(n)));
        }
    }
};

QTEST_MAIN(TestRecordBlock)
#include "test_record_block.moc"
