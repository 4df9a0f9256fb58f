#include "app/widgets/look.h"
#include "app/windows/frm_amortise.h"
#include "storage/deposit_file_writer.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"
#include "support/main_window_world.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTableWidget>
#include <QTest>
#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace td;
using namespace td::test;

namespace {

const QByteArray kHeader = "Account Number,Save Each Month,Interest,Years,Months,Start Date,Term Date,"
                           "Account Balance,Future Value,Active\r\n";

// The process's file size limit, lowered for a while: a write past it fails
// with "File too large" instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_handler)(int) = SIG_DFL;
};

struct World : FileWorld {
    World()
    {
        window.Grid().appendDeposit(depositOf({"A,1", "$100.00", "5.5", "2", "6", "31/01/2024", "31/07/2026",
                                               "$10,000.00", "$14,678.59", "Yes"}));
        window.flags().ModifiedFlag = false;
    }
};

}  // namespace

class TestExportCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { applyApplicationLook(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void registerExportsInEitherForm_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::addColumn<QByteArray>("row");
        dataRow("as shown", false,
                QByteArray("\"A,1\",$100.00,5.5,2,6,31/01/2024,31/07/2026,\"$10,000.00\","
                           "\"$14,678.59\",Yes\r\n"));
        dataRow("plain numbers", true,
                QByteArray("\"A,1\",100.00,5.5,2,6,2024-01-31,2026-07-31,10000.00,"
                           "14678.59,Yes\r\n"));
    }
    void registerExportsInEitherForm()
    {
        QFETCH(bool, plain);
        QFETCH(QByteArray, row);
        World w;
        const QString title = w.title();
        w.answerFile("register.csv");
        (plain ? w.window.actions().fileExportCsvNumbers : w.window.actions().fileExportCsv)->trigger();
        QCOMPARE(fileBytes(w.path("register.csv")), kHeader + row);
        QCOMPARE(w.fake.files.requests.size(), 1);
        QCOMPARE(w.fake.files.requests[0].settings.defaultSuffix, QStringLiteral("csv"));
        QVERIFY(w.fake.messages.asked.isEmpty());
        // A copy: the document is as it was.
        QCOMPARE(w.title(), title);
        QVERIFY(!w.window.flags().ModifiedFlag);
        QCOMPARE(w.fake.pointer.current, Pointer::Default);
    }

    // The two exports are told apart in their Save dialogs: each under its
    // command's name, each suggesting a name of its own.
    void eachExportAsksUnderItsOwnNameForAFileOfItsOwn_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::addColumn<bool>("saved");  // the register has a file
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("proposed");
        dataRow("as shown", false, true, "Export to CSV", "deposits.csv");
        dataRow("plain numbers", true, true, "Export to CSV with Plain Numbers", "deposits-plain.csv");
        dataRow("as shown, untitled", false, false, "Export to CSV", "Untitled.csv");
        dataRow("plain numbers, untitled", true, false, "Export to CSV with Plain Numbers",
                "Untitled-plain.csv");
    }
    void eachExportAsksUnderItsOwnNameForAFileOfItsOwn()
    {
        QFETCH(bool, plain);
        QFETCH(bool, saved);
        QFETCH(QString, title);
        QFETCH(QString, proposed);
        World w;
        if (saved) {
            QVERIFY(DepositFileWriter().writeFile(w.path("deposits.tmd"), w.window.Grid()));
            w.runWithFile(1, "deposits.tmd");
            QCOMPARE(w.window.fileName(), w.path("deposits.tmd"));
            proposed = w.path(proposed);
        }
        w.cancelFile();
        (plain ? w.window.actions().fileExportCsvNumbers : w.window.actions().fileExportCsv)->trigger();
        const FileDialogSettings& asked = w.fake.files.requests.last().settings;
        QCOMPARE(asked.title, title);
        QCOMPARE(asked.initialPath, proposed);
    }

    void anExistingFileIsReplacedOnlyOnYes_data()
    {
        QTest::addColumn<bool>("replace");
        dataRow("yes", true);
        dataRow("no", false);
    }
    void anExistingFileIsReplacedOnlyOnYes()
    {
        QFETCH(bool, replace);
        World w;
        QVERIFY(writeFileBytes(w.path("old.csv"), "keep me"));
        w.answerFile("old.csv");
        w.answer(replace ? MessageButton::Yes : MessageButton::No);
        w.window.actions().fileExportCsv->trigger();
        QCOMPARE(w.titlesAsked(), QStringList{"Export"});
        QCOMPARE(fileBytes(w.path("old.csv")).startsWith(kHeader), replace);
    }

    // A failure is told in the file error message, as a save tells it, and
    // what has the name stays as it was; no file is written where none may be.
    void aFailedExportIsToldAsASaveTellsIt_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("failure");
        const QString unchanged = "The CSV file could not be written. The file on disk has not been changed.";
        dataRow("folder that does not exist", "missing folder/register.csv", "", "No such file or directory",
                "The CSV file could not be written. No file has been created.");
        dataRow("over the file size limit", "old.csv", "size limit", "File too large", unchanged);
        dataRow("named pipe", "register.csv", "fifo", "named pipe (FIFO)", unchanged);
        dataRow("device", "register.csv", "device", "device, not to a file", unchanged);
        dataRow("folder", "register.csv", "folder", "directory, not to a file", unchanged);
    }
    void aFailedExportIsToldAsASaveTellsIt()
    {
        QFETCH(QString, target);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QFETCH(QString, failure);
        World w;
        w.addDeposits(200);  // some 20 KB of CSV
        const QString path = w.path(target);
        QVERIFY(writeFileBytes(w.path("old.csv"), "keep me"));
        if (kind == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
        else if (kind == "device")
            // A node of the test's own where it may make one: an export that
            // wrongly replaced the device then replaces only that.
            QVERIFY(::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0 ||
                    QFile::link("/dev/null", path));
        else if (kind == "folder")
            QVERIFY(QDir(w.dir.path()).mkdir(target));
        const QStringList before = filesIn(w.dir.path());
        w.answerFile(target);
        w.answer(MessageButton::Yes);  // replace old.csv
        {
            std::optional<FileSizeLimit> limit;
            if (kind == "size limit")
                limit.emplace(8192);
            w.window.actions().fileExportCsv->trigger();
        }
        const QStringList asked = w.titlesAsked();
        QCOMPARE(asked.last(), QStringLiteral("Term Deposit File Error"));
        QCOMPARE(asked.size(), target == "old.csv" ? 2 : 1);  // a refused name is not offered for replacing
        const RecordedMessage& m = w.fake.messages.asked.last();
        QVERIFY2(tellsFileError(m, path, reason) && m.text.startsWith(failure + "\n\nFile: "),
                 qPrintable(m.text));
        QCOMPARE(filesIn(w.dir.path()), before);
        QCOMPARE(fileBytes(w.path("old.csv")), QByteArray("keep me"));
        QCOMPARE(QFileInfo(path).isFile(), target == "old.csv");
        QCOMPARE(w.fake.pointer.current, Pointer::Default);
    }

    // Every name of a hard-linked CSV file shows the export, as for a deposit file.
    void anExportOntoAHardLinkedFileKeepsItsLinks()
    {
        World w;
        const QString path = w.path("old.csv");
        QVERIFY(writeFileBytes(path, "keep me"));
        QVERIFY(::link(QFile::encodeName(path).constData(),
                       QFile::encodeName(w.path("other.csv")).constData()) == 0);
        w.answerFile("old.csv");
        w.answer(MessageButton::Yes);
        w.window.actions().fileExportCsv->trigger();
        QCOMPARE(w.titlesAsked(), QStringList{"Export"});
        QVERIFY(fileBytes(path).startsWith(kHeader));
        QCOMPARE(fileBytes(w.path("other.csv")), fileBytes(path));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        QCOMPARE(st.st_nlink, nlink_t(2));
        QCOMPARE(filesIn(w.dir.path()), (QStringList{"old.csv", "other.csv"}));
    }

    // Cancel in the progress of a long export: nothing is told, the file
    // is as it was (one name or two), or there is none, and nothing is left beside it.
    void cancelledExportLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<bool>("plain");
        QTest::addColumn<QString>("earlier");  // "", "file" or "linked"
        dataRow("new file", false, "");
        dataRow("over an earlier file", false, "file");
        dataRow("over a hard-linked file, plain numbers", true, "linked");
    }
    void cancelledExportLeavesTheFileAsItWas()
    {
        QFETCH(bool, plain);
        QFETCH(QString, earlier);
        World w;
        w.addDeposits(9000);  // past the first report of progress
        const QString path = w.path("old.csv");
        if (!earlier.isEmpty())
            QVERIFY(writeFileBytes(path, "keep me"));
        if (earlier == "linked")
            QVERIFY(::link(QFile::encodeName(path).constData(),
                           QFile::encodeName(w.path("other.csv")).constData()) == 0);
        const QStringList before = filesIn(w.dir.path());
        w.answerFile("old.csv");
        w.answer(MessageButton::Yes);  // replace it
        w.fake.progress.cancelAt = 1;
        (plain ? w.window.actions().fileExportCsvNumbers : w.window.actions().fileExportCsv)->trigger();

        QCOMPARE(w.fake.progress.tasks, QStringList{"Exporting " + QDir::toNativeSeparators(path)});
        QCOMPARE(w.fake.progress.ended, 1);
        QCOMPARE(w.titlesAsked(), earlier.isEmpty() ? QStringList{} : QStringList{"Export"});
        QCOMPARE(filesIn(w.dir.path()), before);
        if (!earlier.isEmpty())
            QCOMPARE(fileBytes(path), QByteArray("keep me"));
        QCOMPARE(w.fake.pointer.current, Pointer::Default);
        QVERIFY(w.window.flags().ModifiedFlag);
    }

    void scheduleCopiesAndExports()
    {
        // The worked schedule: $10,000.00 at 5 percent from 2024 to 2027.
        MainWindowWorld world({depositOf(
            {"S/1", "0", "5", "3", "0", "01/01/2024", "01/01/2027", "$10,000.00", "$11,614.72", "Yes"})});
        QVERIFY(world.show());
        world.reg().setCurrentCell(1, AccountNumber);
        QTemporaryDir dir;
        const QString path = dir.filePath("schedule.csv");
        world.fake.files.answers.push_back(path);
        QStringList contextMenu;
        FileDialogSettings asked;
        world.fake.modal.handlers.push_back([&](QDialog& dialog) {
            auto& window = static_cast<frmAmortise&>(dialog);
            for (QAction* a : window.GridAmortisation()->actions())
                contextMenu << a->text();
            QTest::keyClick(window.GridAmortisation(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
            window.GridAmortisation()->actions().at(2)->trigger();
            asked = world.fake.files.requests.value(0).settings;
            dialog.close();
        });
        world.w.Amortise();
        QCOMPARE(contextMenu, (QStringList{"&Copy Schedule", "&Export to CSV...",
                                           "Export to CSV with Plain N&umbers..."}));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Year\tAnnually\tQuaterly\tMonthly\tWeekly\tDayly\n"
                                "2025\t$10,500.00\t$10,509.45\t$10,511.62\t$10,512.46\t$10,512.67\n"
                                "2026\t$11,025.00\t$11,044.86\t$11,049.41\t$11,051.18\t$11,051.63\n"
                                "2027\t$11,576.25\t$11,607.54\t$11,614.72\t$11,617.51\t$11,618.22\n"));
        QCOMPARE(asked.initialPath, QStringLiteral("Schedule S_1-plain.csv"));
        QCOMPARE(asked.title, QStringLiteral("Export to CSV with Plain Numbers"));
        QCOMPARE(fileBytes(path), QByteArray("Year,Annually,Quaterly,Monthly,Weekly,Dayly\r\n"
                                             "2025,10500.00,10509.45,10511.62,10512.46,10512.67\r\n"
                                             "2026,11025.00,11044.86,11049.41,11051.18,11051.63\r\n"
                                             "2027,11576.25,11607.54,11614.72,11617.51,11618.22\r\n"));
    }
};

QTEST_MAIN(TestExportCommands)
#include "test_export_commands.moc"
