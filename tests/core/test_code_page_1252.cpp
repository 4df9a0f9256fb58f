#include "core/code_page_1252.h"
#include "core/deposit_file_format.h"
#include "support/data_rows.h"

#include <QStringDecoder>
#include <QTest>

using namespace td;
using td::test::dataRow;

class TestCodePage1252 : public QObject {
    Q_OBJECT

private slots:
    // Known answers from the published code page: the marks of 0x80-0x9F and
    // the five undefined bytes, which stand for the control characters.
    void highBytes_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("codePoint");
        const int table[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                               0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
        for (int i = 0; i < 32; ++i)
            QTest::addRow("0x%02X", 0x80 + i) << 0x80 + i << table[i];
        dataRow("space", 0x20, 0x20);
        dataRow("0x00", 0x00, 0x00);
        dataRow("nbsp", 0xA0, 0xA0);
        dataRow("e acute", 0xE9, 0xE9);
        dataRow("y diaeresis", 0xFF, 0xFF);
    }
    void highBytes()
    {
        QFETCH(int, byte);
        QFETCH(int, codePoint);
        QCOMPARE(int(cp1252::toUnicode(std::uint8_t(byte))), codePoint);
        QCOMPARE(cp1252::fromUnicode(char32_t(codePoint)), byte);
    }

    // Every byte reads as a character that writes back as the same byte.
    void everyByteSurvivesBothWays()
    {
        for (int b = 0; b < 256; ++b)
            QCOMPARE(cp1252::fromUnicode(cp1252::toUnicode(std::uint8_t(b))), b);
    }

    // Where the system's converter knows the code page it must agree on the
    // 251 defined bytes.
    void agreesWithTheSystemConverter()
    {
        QStringDecoder decoder("windows-1252");
        if (!decoder.isValid())
            QSKIP("no Windows-1252 converter in this Qt build");
        for (int b = 0; b < 256; ++b) {
            if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
                continue;
            const char byte = char(b);
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            QCOMPARE(s.size(), 1);
            QCOMPARE(int(s.at(0).unicode()), int(cp1252::toUnicode(std::uint8_t(b))));
        }
    }

    // A field takes a character the code page cannot hold as one "?", and
    // says that it will not read back the same.
    void charactersOutsideTheCodePage_data()
    {
        QTest::addColumn<QString>("text");
        dataRow("C1 control 0x80", QString(QChar(0x80)));
        dataRow("C1 control 0x9F", QString(QChar(0x9F)));
        dataRow("Greek Omega", QString(QChar(0x03A9)));
        dataRow("emoji", QString::fromUcs4(U"\U0001F600"));
        dataRow("lone surrogate", QString(QChar(0xD800)));
    }
    void charactersOutsideTheCodePage()
    {
        QFETCH(QString, text);
        char record[deposit_file::kRecordSize];
        QVERIFY(!deposit_file::encodeField(text, record, Years));
        QCOMPARE(QByteArray(record + deposit_file::fieldOffset(Years), 2), QByteArray("? "));
    }
};

QTEST_GUILESS_MAIN(TestCodePage1252)
#include "test_code_page_1252.moc"
