#include "app/widgets/register_grid.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "support/deposit_file_world.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace td;
using namespace td::test;

namespace {

const QString kUntitled = QStringLiteral("Quendarith Information Technology Term Deposit - Untitled");

enum Command { New = 0, Open = 1, Save = 3, SaveAs = 4, Exit = 8 };

}  // namespace

// The situations in which SaveFirst and the closing step ask to save.
static void savePromptSituations()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QList<MessageButton>>("answers");
    QTest::addColumn<bool>("cancelDialog");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("written");
    using L = QList<MessageButton>;
    QTest::newRow("clean: no question") << false << false << L{} << false << true << false;
    QTest::newRow("No") << true << true << L{MessageButton::No} << false << true << false;
    QTest::newRow("Yes, named") << true << true << L{MessageButton::Yes} << false << true << true;
    QTest::newRow("Yes, untitled") << true << false << L{MessageButton::Yes} << false << true << true;
    QTest::newRow("Yes, dialog cancelled")
        << true << false << L{MessageButton::Yes} << true << false << false;
    QTest::newRow("Yes, shortening declined")
        << true << true << L{MessageButton::Yes, MessageButton::No} << false << false << false;
}

// Sets up the world of the current row of savePromptSituations.
static void arrangeSavePrompt(FileWorld& world)
{
    QFETCH(bool, modified);
    QFETCH(bool, named);
    QFETCH(QList<MessageButton>, answers);
    QFETCH(bool, cancelDialog);
    world.addDeposits(2);
    if (named) {
        world.answerFile(QStringLiteral("doc.tmd"));
        world.window.mnuFileItem_Click(Save);
        QVERIFY(QFile::remove(world.path(QStringLiteral("doc.tmd"))));
    }
    if (answers.size() > 1)  // a cell the file cannot hold, so the shortening question comes
        world.window.Grid().setCell(1, Active, QStringLiteral("Maybe"));
    world.window.flags().ModifiedFlag = modified;
    for (MessageButton b : answers)
        world.answer(b);
    if (cancelDialog)
        world.cancelFile();
    else if (!named)
        world.answerFile(QStringLiteral("doc.tmd"));
}

class TestFileCommands : public QObject {
    Q_OBJECT

private slots:
    void dialogSettingsStartOnTheCurrentFile()
    {
        FileWorld world;
        world.addDeposits(1);
        world.answerFile(QStringLiteral("first.tmd"));
        world.window.mnuFileItem_Click(Save);
        world.cancelFile();
        world.window.mnuFileItem_Click(SaveAs);
        world.cancelFile();
        world.window.mnuFileItem_Click(Open);

        const QList<RecordedFileDialog>& requests = world.fake.files.requests;
        QCOMPARE(requests.size(), 3);
        QCOMPARE(requests[0].save, true);
        QCOMPARE(requests[1].save, true);
        QCOMPARE(requests[2].save, false);
        QCOMPARE(requests[0].settings.initialPath, QString());
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(requests[i].settings.defaultSuffix, QStringLiteral("tmd"));
            QCOMPARE(requests[i].settings.filter, QStringLiteral("Term Deposit Files (*.tmd)"));
        }
        QCOMPARE(requests[1].settings.initialPath, world.path(QStringLiteral("first.tmd")));
        QCOMPARE(requests[2].settings.initialPath, world.path(QStringLiteral("first.tmd")));
    }

    void firstSaveAsksForANameAndWritesEveryDeposit()
    {
        FileWorld world;
        world.addDeposits(3);
        world.answerFile(QStringLiteral("three.tmd"));
        world.window.mnuFileItem_Click(Save);

        const QByteArray bytes = fileBytes(world.path(QStringLiteral("three.tmd")));
        QCOMPARE(bytes.size(), 300);
        QCOMPARE(bytes.at(99), '\r');
        QCOMPARE(bytes.at(199), '\r');
        QCOMPARE(bytes.at(299), '\r');
        QCOMPARE(bytes.mid(200, 20), QByteArray("AC3                 "));
        QCOMPARE(bytes.mid(296, 3), QByteArray("Yes"));
        QCOMPARE(bytes.mid(196, 3), QByteArray("No "));
        QCOMPARE(world.title(), FileWorld::titleOf(world.path(QStringLiteral("three.tmd"))));
        QCOMPARE(world.window.fileName(), world.path(QStringLiteral("three.tmd")));
        QVERIFY(!world.window.flags().ModifiedFlag);
        QCOMPARE(world.window.Grid().row(), 3);
        QCOMPARE(world.window.Grid().col(), 9);
        QVERIFY(world.fake.messages.asked.isEmpty());
        QCOMPARE(world.fake.pointer.history, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
    }

    void laterSaveRewritesTheNamedFileWhole()
    {
        FileWorld world;
        world.addDeposits(5);
        world.answerFile(QStringLiteral("named.tmd"));
        world.window.mnuFileItem_Click(Save);
        world.window.Grid().removeRow(1);
        world.window.Grid().removeRow(1);
        world.window.flags().ModifiedFlag = true;
        world.window.mnuFileItem_Click(Save);

        QCOMPARE(world.fake.files.requests.size(), 1);
        const QByteArray bytes = fileBytes(world.path(QStringLiteral("named.tmd")));
        QCOMPARE(bytes.size(), 300);
        QVERIFY(!bytes.contains("AC1 "));
        QCOMPARE(bytes.left(3), QByteArray("AC3"));
        QVERIFY(!world.window.flags().ModifiedFlag);
        // No temporary file is left; the lock stays while the file is open.
        QCOMPARE(filesIn(world.dir.path()), (QStringList{".named.tmd.lock", "named.tmd"}));
    }

    // A cancelled dialog ends the command silently and changes nothing.
    void cancelledDialogsChangeNothing_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("Save") << int(Save);
        QTest::newRow("Save As") << int(SaveAs);
        QTest::newRow("Open") << int(Open);
    }
    void cancelledDialogsChangeNothing()
    {
        QFETCH(int, command);
        FileWorld world;
        world.addDeposits(2);
        world.cancelFile();
        world.window.mnuFileItem_Click(command);  // Open: SaveFirst answered No
        QVERIFY(filesIn(world.dir.path()).isEmpty());
        QCOMPARE(world.title(), kUntitled);
        QCOMPARE(world.window.Grid().rows(), 4);
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.fake.messages.asked.size(), command == Open ? 1 : 0);
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    void openShowsTheFileRows_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("lower case") << "deposits.tmd";
        QTest::newRow("capitals") << "DEPOSITS.TMD";
        QTest::newRow("no dot") << "depositstmd";
        QTest::newRow("capitals, no dot") << "DepositsTmD";
    }
    void openShowsTheFileRows()
    {
        QFETCH(QString, name);
        FileWorld world;
        const QByteArray file =
            depositRecord(
                {"  AC1", "$10.00", "5", "1", "0", "01/01/2024", "01/01/2025", "$100.00", "$105.12", "No"}) +
            depositRecord({"ABCDEFGHIJKLMNOPQRST", "", "", "", "", "", "", "", "", "Yes"}) +
            QByteArray(50, 'x');
        QVERIFY(writeFileBytes(world.path(name), file));
        world.answerFile(name);
        world.window.mnuFileItem_Click(Open);

        Register& reg = world.window.Grid();
        QCOMPARE(reg.rows(), 4);
        QCOMPARE(reg.cell(1, AccountNumber), QStringLiteral("AC1"));
        QCOMPARE(reg.cell(1, Active), QStringLiteral("No"));
        QCOMPARE(reg.cell(2, AccountNumber), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        for (int c = 0; c < ColumnCount; ++c)
            QCOMPARE(reg.cell(3, c), QString());
        QCOMPARE(reg.cell(0, AccountNumber), QStringLiteral("Account Number"));
        QCOMPARE(reg.row(), 3);
        QCOMPARE(reg.col(), 9);
        QCOMPARE(world.title(), FileWorld::titleOf(world.path(name)));
        QVERIFY(!world.window.flags().ModifiedFlag);
        QVERIFY(world.fake.messages.asked.isEmpty());
        QCOMPARE(world.window.gridView()->model()->rowCount(), 3);
        QCOMPARE(world.window.gridView()->model()->index(0, 0).data().toString(), QStringLiteral("AC1"));
        QCOMPARE(world.fake.pointer.history, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
    }

    void emptyRegisterIsAZeroByteFileAndBack()
    {
        FileWorld world;
        world.addDeposits(2);
        world.window.mnuFileItem_Click(New);  // SaveFirst answered No
        QCOMPARE(world.window.Grid().rows(), 2);
        world.answerFile(QStringLiteral("empty.tmd"));
        world.window.mnuFileItem_Click(Save);
        QCOMPARE(fileBytes(world.path(QStringLiteral("empty.tmd"))), QByteArray());
        QCOMPARE(world.window.Grid().row(), 0);

        world.addDeposits(4);
        world.window.flags().ModifiedFlag = false;
        world.answerFile(QStringLiteral("empty.tmd"));
        world.window.mnuFileItem_Click(Open);
        QCOMPARE(world.window.Grid().rows(), 2);
        QCOMPARE(world.window.Grid().row(), 1);
        QCOMPARE(world.window.Grid().col(), 9);
        QCOMPARE(world.window.Grid().cell(1, AccountNumber), QString());
    }

    // Cut and trimmed cells come back as the file holds them; the user was
    // asked before the save shortened them.
    void saveAndReopenShowsWhatTheFileHolds()
    {
        FileWorld world;
        DepositRecord d;
        d.texts = {
            "ABCDEFGHIJKLMNOPQRSTUVWXY", "0", "   5.5", "1", "0", "01/01/2024", "01/01/2025", "$1,000.00",
            "$1,000,000,000.00",         "No"};
        world.window.Grid().appendDeposit(d);
        world.window.flags().ModifiedFlag = true;
        world.answer(MessageButton::Yes);
        world.answerFile(QStringLiteral("cut.tmd"));
        world.window.mnuFileItem_Click(Save);
        QCOMPARE(world.titlesAsked(), QStringList{QStringLiteral("Save File?")});

        world.window.mnuFileItem_Click(New);
        world.answerFile(QStringLiteral("cut.tmd"));
        world.window.mnuFileItem_Click(Open);
        const DepositRecord back = world.window.Grid().record(1);
        QCOMPARE(back[AccountNumber], QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(back[Interest], QStringLiteral("5.5"));
        QCOMPARE(back[FutureValue], QStringLiteral("$1,000,000,000."));
        QCOMPARE(back[Active], QStringLiteral("No"));
    }

    void shorteningQuestionNamesTheDeposits_data()
    {
        QTest::addColumn<MessageButton>("answer");
        QTest::newRow("No writes nothing") << MessageButton::No;
        QTest::newRow("Yes saves") << MessageButton::Yes;
    }
    void shorteningQuestionNamesTheDeposits()
    {
        QFETCH(MessageButton, answer);
        FileWorld world;
        world.addDeposits(9);
        Register& reg = world.window.Grid();
        reg.setCell(2, FutureValue, QStringLiteral("$1,000,000,000.00"));
        reg.setCell(2, Interest, QStringLiteral(" 5"));
        reg.setCell(4, AccountNumber, QString(QChar(0x03A9)) + QStringLiteral("-4"));
        for (int r = 5; r <= 9; ++r)
            reg.setCell(r, Active, QStringLiteral("Yes "));
        world.answer(answer);
        world.answerFile(QStringLiteral("long.tmd"));
        world.window.mnuFileItem_Click(Save);

        QCOMPARE(world.fake.messages.asked.size(), 1);
        const RecordedMessage& m = world.fake.messages.asked[0];
        QCOMPARE(m.title, QStringLiteral("Save File?"));
        QCOMPARE(m.icon, MessageIcon::Question);
        QCOMPARE(m.buttons, MessageButtons::YesNo);
        QVERIFY(m.text.contains(QStringLiteral("shortened")));
        QVERIFY(m.text.contains(QStringLiteral("AC2: Interest, Future Value")));
        QVERIFY(m.text.contains(QString(QChar(0x03A9)) + QStringLiteral("-4: Account Number")));
        QVERIFY(m.text.contains(QStringLiteral("AC7: Active")));
        QVERIFY(!m.text.contains(QStringLiteral("AC8")));
        QVERIFY(m.text.contains(QStringLiteral("and 2 more deposits")));
        QVERIFY(!m.text.contains(QStringLiteral("AC1:")));

        const bool saved = answer == MessageButton::Yes;
        QCOMPARE(QFileInfo::exists(world.path(QStringLiteral("long.tmd"))), saved);
        QCOMPARE(world.fake.files.requests.size(), saved ? 1 : 0);
        QCOMPARE(world.window.flags().ModifiedFlag, !saved);
        QCOMPARE(world.title(),
                 saved ? FileWorld::titleOf(world.path(QStringLiteral("long.tmd"))) : kUntitled);
    }

    void openRefusesWhatIsNotATermDepositFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<MessageButton>("answer");
        QTest::newRow("other extension") << "deposits.txt" << MessageButton::Yes;
        QTest::newRow("folder") << "folder.tmd" << MessageButton::Yes;
        QTest::newRow("last three characters") << "deposits.tm" << MessageButton::No;
    }
    void openRefusesWhatIsNotATermDepositFile()
    {
        QFETCH(QString, name);
        QFETCH(MessageButton, answer);
        FileWorld world;
        QVERIFY(QDir(world.dir.path()).mkdir(QStringLiteral("folder.tmd")));
        QVERIFY(writeFileBytes(world.path(QStringLiteral("deposits.txt")), depositRecord({"TXT"})));
        QVERIFY(writeFileBytes(world.path(QStringLiteral("deposits.tm")), depositRecord({"TM"})));
        world.addDeposits(2);
        world.answerFile(QStringLiteral("current.tmd"));
        world.window.mnuFileItem_Click(Save);
        world.window.flags().ModifiedFlag = true;

        world.answer(MessageButton::No);  // SaveFirst
        world.answerFile(name);
        world.answer(answer);
        world.window.mnuFileItem_Click(Open);

        QCOMPARE(world.fake.messages.asked.size(), 2);
        const RecordedMessage& m = world.fake.messages.asked[1];
        QCOMPARE(m.title, QStringLiteral("Term Deposit File Only"));
        QCOMPARE(m.text, QStringLiteral("This is not a Term Deposit file. Select a Term Deposit file."));
        QCOMPARE(m.icon, MessageIcon::Question);
        QCOMPARE(m.buttons, MessageButtons::YesNo);
        QCOMPARE(world.window.Grid().rows(), 4);
        QCOMPARE(world.title(), FileWorld::titleOf(world.path(QStringLiteral("current.tmd"))));
        QVERIFY(world.window.flags().ModifiedFlag);

        // The refused name did not become the document's name.
        world.window.mnuFileItem_Click(Save);
        QCOMPARE(fileBytes(world.path(QStringLiteral("deposits.txt"))), depositRecord({"TXT"}));
        QCOMPARE(fileBytes(world.path(QStringLiteral("current.tmd"))).size(), 200);
        QVERIFY(!QFileInfo::exists(world.path(QStringLiteral("missing.tmd"))));
    }

    // A name that passes the extension test but where nothing can be opened
    // is told for what it is, with its path; the register and title stay.
    void openTellsWhyNothingCanBeOpened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing.tmd"
                                 << "No file of this name exists.";
        QTest::newRow("dangling link") << "link.tmd"
                                       << "is a link to";
        QTest::newRow("a name too long") << QString(300, QLatin1Char('n')) + ".tmd"
                                         << "longer than the file system allows";
        QTest::newRow("a path too long") << QStringLiteral("d/").repeated(2100) + "x.tmd"
                                         << "path is longer than the system allows";
        QTest::newRow("a zero character") << QStringLiteral("bad") + QChar(u'\0') + ".tmd"
                                          << "no file name can hold";
        QTest::newRow("a file used as a folder") << "plain.tmd/inner.tmd"
                                                 << "should be a folder is a file";
    }
    void openTellsWhyNothingCanBeOpened()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        FileWorld world;
        QVERIFY(QFile::link(world.path(QStringLiteral("gone.tmd")), world.path(QStringLiteral("link.tmd"))));
        QVERIFY(writeFileBytes(world.path(QStringLiteral("plain.tmd")), depositRecord({"PLAIN"})));
        world.addDeposits(1);
        world.window.flags().ModifiedFlag = false;
        world.answerFile(name);
        world.window.mnuFileItem_Click(Open);

        QCOMPARE(world.fake.messages.asked.size(), 1);
        const RecordedMessage& m = world.fake.messages.asked[0];
        QCOMPARE(m.title, QStringLiteral("Term Deposit File Error"));
        QCOMPARE(m.icon, MessageIcon::Information);
        QCOMPARE(m.buttons, MessageButtons::Ok);
        QVERIFY2(m.text.startsWith(QLatin1String("The Term Deposit file could not be opened.")),
                 qPrintable(m.text));
        QVERIFY2(m.text.contains(QDir::toNativeSeparators(world.path(name))), qPrintable(m.text));
        QVERIFY2(m.text.contains(reason), qPrintable(m.text));
        QCOMPARE(world.window.Grid().rows(), 3);
        QCOMPARE(world.title(), kUntitled);
    }

    // The title shows the path as it stands, "[*]" and all, to the window
    // system and to assistive technology.
    void theTitleShowsThePathExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("marks") << "q&a [*] 50% {x}.tmd";
        QTest::newRow("two marks together") << "[*][*].tmd";
        QTest::newRow("a mark at the end") << "x[*]tmd";
    }
    void theTitleShowsThePathExactly()
    {
        QFETCH(QString, name);
        FileWorld world;
        QVERIFY(writeFileBytes(world.path(name), depositRecord({"AC1"})));
        world.window.setWindowModified(true);
        world.window.winId();  // the window as the window system has it
        world.answerFile(name);
        world.window.mnuFileItem_Click(Open);
        QVERIFY(world.fake.messages.asked.isEmpty());
        const QString expected = FileWorld::titleOf(world.path(name));
        QCOMPARE(world.window.windowHandle()->title(), expected);
        QCOMPARE(QAccessible::queryAccessibleInterface(&world.window)->text(QAccessible::Name), expected);
    }

    void saveAs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<MessageButton>("modifyAnswer");
        QTest::addColumn<QStringList>("questions");
        QTest::addColumn<bool>("written");
        QTest::newRow("new file") << "other.tmd" << MessageButton::No << QStringList() << true;
        QTest::newRow("capitals") << "OTHER.TMD" << MessageButton::No << QStringList() << true;
        QTest::newRow("existing, Yes")
            << "existing.tmd" << MessageButton::Yes << QStringList{"Modify?"} << true;
        QTest::newRow("existing, No")
            << "existing.tmd" << MessageButton::No << QStringList{"Modify?"} << false;
        QTest::newRow("own name, Yes")
            << "current.tmd" << MessageButton::Yes << QStringList{"Modify?"} << true;
        QTest::newRow("not tmd") << "other.txt" << MessageButton::Yes << QStringList{"Term Deposit File Only"}
                                 << false;
    }
    void saveAs()
    {
        QFETCH(QString, name);
        QFETCH(MessageButton, modifyAnswer);
        QFETCH(QStringList, questions);
        QFETCH(bool, written);
        FileWorld world;
        const QByteArray existing = depositRecord({"EXISTING"});
        QVERIFY(writeFileBytes(world.path(QStringLiteral("existing.tmd")), existing));
        world.addDeposits(1);
        world.answerFile(QStringLiteral("current.tmd"));
        world.window.mnuFileItem_Click(Save);
        world.addDeposits(2, QStringLiteral("NEW"));

        world.answerFile(name);
        world.answer(modifyAnswer);
        world.window.mnuFileItem_Click(SaveAs);

        QCOMPARE(world.titlesAsked(), questions);
        if (questions.value(0) == QLatin1String("Modify?")) {
            const RecordedMessage& m = world.fake.messages.asked[0];
            QCOMPARE(m.text, QStringLiteral("This Term Deposit file already exists. Replace existing Term "
                                            "Deposit by over writing it?"));
            QCOMPARE(m.icon, MessageIcon::Question);
            QCOMPARE(m.buttons, MessageButtons::YesNo);
        }
        const QString target = world.path(name);
        const QString shown = written ? target : world.path(QStringLiteral("current.tmd"));
        QCOMPARE(world.title(), FileWorld::titleOf(shown));
        QCOMPARE(world.window.fileName(), shown);
        QCOMPARE(world.window.flags().ModifiedFlag, !written);
        if (written) {
            QCOMPARE(fileBytes(target).size(), 300);
            QCOMPARE(fileBytes(target).mid(200, 4), QByteArray("NEW2"));
        } else {
            QCOMPARE(fileBytes(world.path(QStringLiteral("existing.tmd"))), existing);
            QVERIFY(!QFileInfo::exists(world.path(QStringLiteral("other.txt"))));
            // A later Save writes the file the title shows, not the refused or declined one.
            world.window.mnuFileItem_Click(Save);
            QCOMPARE(fileBytes(world.path(QStringLiteral("existing.tmd"))), existing);
            QCOMPARE(fileBytes(world.path(QStringLiteral("current.tmd"))).size(), 300);
        }
    }

    void newEmptiesTheRegister()
    {
        FileWorld world;
        world.addDeposits(3);
        world.answerFile(QStringLiteral("some.tmd"));
        world.window.mnuFileItem_Click(Save);
        world.window.Grid().setCell(4, SaveEachMonth, QStringLiteral("spare text"));
        world.fake.pointer.history.clear();
        world.window.mnuFileItem_Click(New);

        QCOMPARE(world.title(), kUntitled);
        QCOMPARE(world.window.fileName(), QString());
        QCOMPARE(world.window.Grid().rows(), 2);
        QCOMPARE(world.window.Grid().cell(1, SaveEachMonth), QString());
        QCOMPARE(world.window.Grid().cell(0, Active), QStringLiteral("Active"));
        QCOMPARE(world.window.Grid().row(), 1);
        QCOMPARE(world.window.Grid().col(), 9);
        QVERIFY(!world.window.flags().ModifiedFlag);
        QVERIFY(world.fake.messages.asked.isEmpty());
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
        QVERIFY(world.fake.pointer.history.contains(Pointer::Hourglass));

        world.addDeposits(1);
        world.cancelFile();
        world.window.mnuFileItem_Click(Save);
        QCOMPARE(world.fake.files.requests.size(), 2);  // untitled again: the dialog is shown
    }

    // SaveFirst as New, Open and Exit meet it.
    void saveFirst_data() { savePromptSituations(); }
    void saveFirst()
    {
        QFETCH(bool, modified);
        QFETCH(QList<MessageButton>, answers);
        QFETCH(bool, goesOn);
        QFETCH(bool, written);
        FileWorld world;
        arrangeSavePrompt(world);
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(world.window.SaveFirst(), goesOn);
        QCOMPARE(world.fake.messages.asked.size(), answers.size());
        if (!answers.isEmpty()) {
            const RecordedMessage& m = world.fake.messages.asked[0];
            QCOMPARE(m.title, QStringLiteral("Save File?"));
            QCOMPARE(m.text, QStringLiteral("Save file before exiting?"));
            QCOMPARE(m.icon, MessageIcon::Question);
            QCOMPARE(m.buttons, MessageButtons::YesNo);
        }
        QCOMPARE(QFileInfo::exists(world.path(QStringLiteral("doc.tmd"))), written);
        QCOMPARE(world.window.flags().ModifiedFlag, modified);  // SaveFirst leaves the flag alone
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    // A SaveFirst that did not save stops New and Open; the register stays.
    void stoppedSaveFirstStopsTheCommand_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("New") << int(New);
        QTest::newRow("Open") << int(Open);
    }
    void stoppedSaveFirstStopsTheCommand()
    {
        QFETCH(int, command);
        FileWorld world;
        world.addDeposits(2);
        world.answer(MessageButton::Yes);
        world.cancelFile();
        world.window.mnuFileItem_Click(command);
        QCOMPARE(world.window.Grid().rows(), 4);
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.fake.files.requests.size(), 1);  // the Save dialog only
    }

    // Saved at the question of Open, then the Open dialog cancelled: the
    // register stays marked modified and the next command asks again.
    void savedAtTheQuestionButOpenCancelled()
    {
        FileWorld world;
        world.addDeposits(2);
        world.answer(MessageButton::Yes);
        world.answerFile(QStringLiteral("saved.tmd"));
        world.cancelFile();
        world.window.mnuFileItem_Click(Open);
        QCOMPARE(fileBytes(world.path(QStringLiteral("saved.tmd"))).size(), 200);
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.window.Grid().rows(), 4);
        world.window.mnuFileItem_Click(New);
        QCOMPARE(world.titlesAsked(), (QStringList{"Save File?", "Save File?"}));
    }

    // Closing asks as SaveFirst does; where SaveFirst would stop, the window stays open.
    void closing_data() { savePromptSituations(); }
    void closing()
    {
        QFETCH(QList<MessageButton>, answers);
        QFETCH(bool, goesOn);
        QFETCH(bool, written);
        FileWorld world;
        world.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&world.window));
        arrangeSavePrompt(world);
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(world.window.close(), goesOn);
        QCOMPARE(world.window.isVisible(), !goesOn);
        QCOMPARE(world.fake.messages.asked.size(), answers.size());
        if (!answers.isEmpty())
            QCOMPARE(world.fake.messages.asked[0].text, QStringLiteral("Save file before exiting?"));
        QCOMPARE(QFileInfo::exists(world.path(QStringLiteral("doc.tmd"))), written);
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    // File > Exit asks once and ends the program: the closing step does not ask again.
    void exitAsksOnceAndEndsTheProgram_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("written");
        QTest::newRow("clean") << false << MessageButton::No << 0 << false;
        QTest::newRow("modified, No") << true << MessageButton::No << 1 << false;
        QTest::newRow("modified, Yes") << true << MessageButton::Yes << 1 << true;
    }
    void exitAsksOnceAndEndsTheProgram()
    {
        QFETCH(bool, modified);
        QFETCH(MessageButton, answer);
        QFETCH(int, questions);
        QFETCH(bool, written);
        FileWorld world;
        world.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&world.window));
        world.addDeposits(1);
        world.window.flags().ModifiedFlag = modified;
        world.answer(answer);
        world.answerFile(QStringLiteral("exit.tmd"));

        bool timedOut = false;
        QTimer::singleShot(0, &world.window, [&] { world.window.fileItem(Exit)->trigger(); });
        QTimer::singleShot(5000, qApp, [&] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!timedOut);
        QVERIFY(!world.window.isVisible());
        QCOMPARE(int(world.fake.messages.asked.size()), questions);
        QCOMPARE(QFileInfo::exists(world.path(QStringLiteral("exit.tmd"))), written);
    }

    void exitStopsWhenTheSaveIsCancelled()
    {
        FileWorld world;
        world.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&world.window));
        world.addDeposits(1);
        world.answer(MessageButton::Yes);
        world.cancelFile();
        world.window.mnuFileItem_Click(Exit);
        QVERIFY(world.window.isVisible());
        // Still marked modified: closing the window later asks again.
        world.answer(MessageButton::No);
        QVERIFY(world.window.close());
        QCOMPARE(world.titlesAsked(), (QStringList{"Save File?", "Save File?"}));
    }
};

QTEST_MAIN(TestFileCommands)
#include "test_file_commands.moc"
