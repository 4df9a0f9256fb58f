// Replays the fuzzers' seed corpus through the reader and the writer, with
// the same checks the fuzzers make.
#include "reader_properties.h"
#include "writer_properties.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestFuzzCorpus : public QObject {
    Q_OBJECT

private slots:
    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(TD_FUZZ_CORPUS_DIR));
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!names.isEmpty(), TD_FUZZ_CORPUS_DIR);
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
    }
    void corpus()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString readFailure = td::fuzz::checkReaderProperties(bytes);
        QVERIFY2(readFailure.isEmpty(), qPrintable(readFailure));
        const QString writeFailure = td::fuzz::checkWriterProperties(bytes);
        QVERIFY2(writeFailure.isEmpty(), qPrintable(writeFailure));
    }
};

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "test_fuzz_corpus.moc"
