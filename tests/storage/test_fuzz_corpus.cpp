// Replays the fuzzer's seed corpus (and anything it found worth keeping)
// through the reader, with the same checks the fuzzer makes.
#include "reader_properties.h"

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
        const QString failure = td::fuzz::checkReaderProperties(file.readAll());
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }
};

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "test_fuzz_corpus.moc"
