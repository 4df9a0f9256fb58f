#include "app/widgets/look.h"
#include "app/windows/frm_amortise.h"
#include "storage/deposit_file_writer.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"
#include "support/main_window_world.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTableWidget>
#include <QTest>

using namespace td;
using namespace td::test;

namespace {

const QByteArray kHeader = "Account Number,Save Each Month,Interest,Years,Months,Start Date,Term Date,"
                           "Account Balance,Future Value,Active\r\n";

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

    void aFailedExportSaysWhyAndWritesNothing()
    {
        World w;
        w.answerFile("missing folder/register.csv");
        w.window.actions().fileExportCsv->trigger();
        QCOMPARE(w.fake.messages.asked.size(), 1);
        const RecordedMessage& m = w.fake.messages.asked[0];
        QCOMPARE(m.title, QStringLiteral("Export"));
        QVERIFY2(m.text.startsWith("The CSV file could not be written.") &&
                     m.text.contains("missing folder") && m.text.contains("No such file or directory"),
                 qPrintable(m.text));
        QVERIFY(!QFileInfo::exists(w.path("missing folder")));
        QCOMPARE(w.fake.pointer.current, Pointer::Default);
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
