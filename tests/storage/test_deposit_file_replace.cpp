#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace td;

namespace {

void fill(Register& reg, int deposits, const QString& prefix)
{
    for (int n = 1; n <= deposits; ++n) {
        DepositRecord d;
        d[AccountNumber] = QStringLiteral("%1%2").arg(prefix).arg(n);
        d[Active] = QStringLiteral("Yes");
        reg.appendDeposit(d);
    }
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

}  // namespace

// Saving on real files: the new file replaces the old one whole, and a save
// that cannot finish leaves everything on disk as it was.
class TestDepositFileReplace : public QObject {
    Q_OBJECT

private slots:
    void shorterRegisterLeavesNoTraceOfTheLongerFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("deposits.tmd"));
        Register longer;
        fill(longer, 5, QStringLiteral("OLD"));
        DepositFileWriter writer;
        QVERIFY(writer.writeFile(path, longer));
        QCOMPARE(QFileInfo(path).size(), 500);

        Register shorter;
        fill(shorter, 2, QStringLiteral("NEW"));
        QVERIFY2(writer.writeFile(path, shorter), qPrintable(writer.errorString()));
        const QByteArray bytes = contents(path);
        QCOMPARE(bytes.size(), 200);
        QVERIFY(!bytes.contains("OLD"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("deposits.tmd")});

        DepositFileReader reader;
        QVERIFY(reader.readFile(path));
        QCOMPARE(reader.takeRows().size(), std::size_t(2));
    }

    void emptyRegisterReplacesAFileWithZeroBytes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("deposits.tmd"));
        writeBytes(path, QByteArray(300, 'x'));
        Register empty;
        DepositFileWriter writer;
        QVERIFY(writer.writeFile(path, empty));
        QCOMPARE(QFileInfo(path).size(), 0);
        DepositFileReader reader;
        QVERIFY(reader.readFile(path));
        QVERIFY(reader.takeRows().empty());
    }

    void unwritablePaths_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("folder that does not exist") << "missing/deposits.tmd";
        QTest::newRow("path that is a folder") << "folder.tmd";
        QTest::newRow("path under a regular file") << "old.tmd/deposits.tmd";
    }
    void unwritablePaths()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.tmd")));
        const QByteArray old(300, 'o');
        writeBytes(dir.filePath(QStringLiteral("old.tmd")), old);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        Register reg;
        fill(reg, 3, QStringLiteral("NEW"));
        DepositFileWriter writer;
        QVERIFY(!writer.writeFile(dir.filePath(relative), reg));
        QVERIFY(!writer.errorString().isEmpty());
        QCOMPARE(contents(dir.filePath(QStringLiteral("old.tmd"))), old);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder.tmd"))).isDir());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(QDir(dir.filePath(QStringLiteral("folder.tmd"))).isEmpty());
    }

    void unreadablePaths_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing file") << "missing.tmd";
        QTest::newRow("folder") << "folder.tmd";
    }
    void unreadablePaths()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.tmd")));
        DepositFileReader reader;
        QVERIFY(!reader.readFile(dir.filePath(relative)));
        QVERIFY(!reader.errorString().isEmpty());
        QVERIFY(reader.takeRows().empty());
    }
};

QTEST_GUILESS_MAIN(TestDepositFileReplace)
#include "test_deposit_file_replace.moc"
