#include "commands/command_line.h"
#include "support/data_rows.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

using namespace td;
using td::test::dataRow;

Q_DECLARE_METATYPE(StartRequest::Kind)

// The command line: a file to open, --help and --version answered in the
// terminal, anything else refused in one line that says where help is.
class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("termdeposit"));
        QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<StartRequest::Kind>("kind");
        QTest::addColumn<QString>("expected");  // Start: the file; otherwise the start of the text
        using K = StartRequest::Kind;
        const QString here = QDir::currentPath();
        dataRow("nothing", QStringList{}, K::Start, QString());
        dataRow("absolute file", QStringList{"/data/a b.tmd"}, K::Start, "/data/a b.tmd");
        dataRow("relative file", QStringList{"sub/x.TMD"}, K::Start, here + "/sub/x.TMD");
        dataRow("after --, a dash", QStringList{"--", "-x.tmd"}, K::Start, here + "/-x.tmd");
        dataRow("--help", QStringList{"--help"}, K::Answer, "Usage: ");
        dataRow("-h with a file", QStringList{"a.tmd", "-h"}, K::Answer, "Usage: ");
        dataRow("--version", QStringList{"--version"}, K::Answer, "termdeposit 1.0\n");
        dataRow("-v", QStringList{"-v"}, K::Answer, "termdeposit 1.0\n");
        dataRow("unknown option", QStringList{"--print", "a.tmd"}, K::Refuse,
                "termdeposit: Unknown option 'print'.");
        dataRow("option value", QStringList{"--version=2"}, K::Refuse, "termdeposit: ");
        dataRow("two files", QStringList{"a.tmd", "b.tmd"}, K::Refuse,
                "termdeposit: Only one file can be opened at a time.");
        dataRow("empty name", QStringList{""}, K::Refuse, "termdeposit: The file name is empty.");
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(StartRequest::Kind, kind);
        QFETCH(QString, expected);
        const StartRequest request = readCommandLine(QStringList{QStringLiteral("termdeposit")} + arguments);
        QCOMPARE(request.kind, kind);
        QCOMPARE(request.exitStatus(), kind == StartRequest::Kind::Refuse ? 2 : 0);
        if (kind == StartRequest::Kind::Start) {
            QCOMPARE(request.file, expected);
            return;
        }
        QVERIFY2(request.text.startsWith(expected), qPrintable(request.text));
        if (kind == StartRequest::Kind::Refuse) {  // one line, which says where help is
            QCOMPARE(request.text.count(QLatin1Char('\n')), 1);
            QVERIFY(request.text.endsWith(QStringLiteral("Try 'termdeposit --help'.\n")));
        }
        if (arguments.contains(QStringLiteral("--help")))
            QVERIFY(request.text.contains(QStringLiteral("--version")) &&
                    request.text.contains(QStringLiteral("[file]")));
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
