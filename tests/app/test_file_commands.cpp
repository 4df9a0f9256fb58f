#include "app/widgets/register_grid.h"
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace td;
using namespace td::test;

namespace {

const QString kUntitled = QStringLiteral("Quendarith Information Technology Term Deposit - Untitled");
const RecordedMessage kSaveFirst{"Save File?", "Save file before exiting?", MessageIcon::Question,
                                 MessageButtons::YesNo};

enum Command { New = 0, Open = 1, Save = 3, SaveAs = 4, Exit = 8 };

// The items File > Open Recent shows, a disabled one in brackets.
QStringList recentItems(const frmTermDeposit& window)
{
    QStringList shown;
    for (QAction* item : window.recentFilesMenu()->actions()) {
        if (item->isVisible())
            shown << (item->isEnabled() ? item->text() : "(" + item->text() + ")");
    }
    return shown;
}

QAction* recentItem(const frmTermDeposit& window, const QString& path)
{
    for (QAction* item : window.recentFilesMenu()->actions()) {
        if (item->isVisible() && item->data().toString() == path)
            return item;
    }
    return nullptr;
}

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
    dataRow("clean: no question", false, false, L{}, false, true, false);
    dataRow("No", true, true, L{MessageButton::No}, false, true, false);
    dataRow("Yes, named", true, true, L{MessageButton::Yes}, false, true, true);
    dataRow("Yes, untitled", true, false, L{MessageButton::Yes}, false, true, true);
    dataRow("Yes, dialog cancelled", true, false, L{MessageButton::Yes}, true, false, false);
    dataRow("Yes, shortening declined", true, true, L{MessageButton::Yes, MessageButton::No}, false, false,
            false);
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
        world.runWithFile(Save, "doc.tmd");
        QVERIFY(QFile::remove(world.path("doc.tmd")));
    }
    if (answers.size() > 1)  // a cell the file cannot hold, so the shortening question comes
        world.reg().setCell(1, Active, "Maybe");
    world.window.flags().ModifiedFlag = modified;
    for (MessageButton b : answers)
        world.answer(b);
    if (cancelDialog)
        world.cancelFile();
    else if (!named)
        world.answerFile("doc.tmd");
}

class TestFileCommands : public QObject {
    Q_OBJECT

private slots:
    void dialogSettingsStartOnTheCurrentFile()
    {
        FileWorld world;
        world.addDeposits(1);
        world.runWithFile(Save, "first.tmd");
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
        QCOMPARE(requests[1].settings.initialPath, world.path("first.tmd"));
        QCOMPARE(requests[2].settings.initialPath, world.path("first.tmd"));
    }

    void firstSaveAsksForANameAndWritesEveryDeposit()
    {
        FileWorld world;
        world.addDeposits(3);
        world.runWithFile(Save, "three.tmd");

        const QByteArray bytes = fileBytes(world.path("three.tmd"));
        QCOMPARE(bytes.size(), 300);
        QCOMPARE(bytes.at(99), '\r');
        QCOMPARE(bytes.at(199), '\r');
        QCOMPARE(bytes.at(299), '\r');
        QCOMPARE(bytes.mid(200, 20), QByteArray("AC3                 "));
        QCOMPARE(bytes.mid(296, 3), QByteArray("Yes"));
        QCOMPARE(bytes.mid(196, 3), QByteArray("No "));
        QCOMPARE(world.title(), FileWorld::titleOf(world.path("three.tmd")));
        QCOMPARE(world.window.fileName(), world.path("three.tmd"));
        QVERIFY(!world.window.flags().ModifiedFlag);
        QCOMPARE(QPoint(world.reg().col(), world.reg().row()), QPoint(9, 3));
        QVERIFY(world.fake.messages.asked.isEmpty());
        QCOMPARE(world.fake.pointer.history, (QList<Pointer>{Pointer::Hourglass, Pointer::Default}));
    }

    void laterSaveRewritesTheNamedFileWhole()
    {
        FileWorld world;
        world.addDeposits(5);
        world.runWithFile(Save, "named.tmd");
        world.reg().removeDeposit(1);
        world.reg().removeDeposit(1);
        world.window.flags().ModifiedFlag = true;
        world.window.mnuFileItem_Click(Save);

        QCOMPARE(world.fake.files.requests.size(), 1);
        const QByteArray bytes = fileBytes(world.path("named.tmd"));
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
        dataRow("Save", int(Save));
        dataRow("Save As", int(SaveAs));
        dataRow("Open", int(Open));
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
        QCOMPARE(world.reg().rows(), 4);
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.fake.messages.asked.size(), command == Open ? 1 : 0);
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    void openShowsTheFileRows_data()
    {
        QTest::addColumn<QString>("name");
        dataRow("lower case", "deposits.tmd");
        dataRow("capitals", "DEPOSITS.TMD");
        dataRow("no dot", "depositstmd");
        dataRow("capitals, no dot", "DepositsTmD");
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
        world.runWithFile(Open, name);

        Register& reg = world.reg();
        QCOMPARE(reg.rows(), 4);
        QCOMPARE(reg.cell(1, AccountNumber), QStringLiteral("AC1"));
        QCOMPARE(reg.cell(1, Active), QStringLiteral("No"));
        QCOMPARE(reg.cell(2, AccountNumber), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        for (int c = 0; c < ColumnCount; ++c)
            QCOMPARE(reg.cell(3, c), QString());
        QCOMPARE(reg.cell(0, AccountNumber), QStringLiteral("Account Number"));
        QCOMPARE(QPoint(reg.col(), reg.row()), QPoint(9, 3));
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
        QCOMPARE(world.reg().rows(), 2);
        world.runWithFile(Save, "empty.tmd");
        QCOMPARE(fileBytes(world.path("empty.tmd")), QByteArray());
        QCOMPARE(world.reg().row(), 0);

        world.addDeposits(4);
        world.window.flags().ModifiedFlag = false;
        world.runWithFile(Open, "empty.tmd");
        QCOMPARE(world.reg().rows(), 2);
        QCOMPARE(QPoint(world.reg().col(), world.reg().row()), QPoint(9, 1));
        QCOMPARE(world.reg().cell(1, AccountNumber), QString());
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
        world.reg().appendDeposit(d);
        world.window.flags().ModifiedFlag = true;
        world.answer(MessageButton::Yes);
        world.runWithFile(Save, "cut.tmd");
        QCOMPARE(world.titlesAsked(), QStringList{"Save File?"});

        world.window.mnuFileItem_Click(New);
        world.runWithFile(Open, "cut.tmd");
        const DepositRecord back = world.reg().record(1);
        QCOMPARE(back[AccountNumber], QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(back[Interest], QStringLiteral("5.5"));
        QCOMPARE(back[FutureValue], QStringLiteral("$1,000,000,000."));
        QCOMPARE(back[Active], QStringLiteral("No"));
    }

    void shorteningQuestionNamesTheDeposits_data()
    {
        QTest::addColumn<MessageButton>("answer");
        dataRow("No writes nothing", MessageButton::No);
        dataRow("Yes saves", MessageButton::Yes);
    }
    void shorteningQuestionNamesTheDeposits()
    {
        QFETCH(MessageButton, answer);
        FileWorld world;
        world.addDeposits(9);
        const QString omega(QChar(0x03A9));
        Register& reg = world.reg();
        reg.setCell(2, FutureValue, "$1,000,000,000.00");
        reg.setCell(2, Interest, " 5");
        reg.setCell(4, AccountNumber, omega + "-4");
        for (int r = 5; r <= 9; ++r)
            reg.setCell(r, Active, "Yes ");
        world.answer(answer);
        world.runWithFile(Save, "long.tmd");

        QCOMPARE(world.fake.messages.asked.size(), 1);
        const RecordedMessage& m = world.fake.messages.asked[0];
        // The text names the deposits the file would shorten; its parts are looked for below.
        QCOMPARE(m, (RecordedMessage{"Save File?", m.text, MessageIcon::Question, MessageButtons::YesNo}));
        for (const QString& part :
             QStringList{"shortened", "AC2: Interest, Future Value", omega + "-4: Account Number",
                         "AC7: Active", "and 2 more deposits"})
            QVERIFY2(m.text.contains(part), qPrintable(part));
        QVERIFY(!m.text.contains("AC8"));
        QVERIFY(!m.text.contains("AC1:"));

        const bool saved = answer == MessageButton::Yes;
        QCOMPARE(QFileInfo::exists(world.path("long.tmd")), saved);
        QCOMPARE(world.fake.files.requests.size(), saved ? 1 : 0);
        QCOMPARE(world.window.flags().ModifiedFlag, !saved);
        QCOMPARE(world.title(), saved ? FileWorld::titleOf(world.path("long.tmd")) : kUntitled);
    }

    void openRefusesWhatIsNotATermDepositFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<MessageButton>("answer");
        dataRow("other extension", "deposits.txt", MessageButton::Yes);
        dataRow("folder", "folder.tmd", MessageButton::Yes);
        dataRow("last three characters", "deposits.tm", MessageButton::No);
    }
    void openRefusesWhatIsNotATermDepositFile()
    {
        QFETCH(QString, name);
        QFETCH(MessageButton, answer);
        FileWorld world;
        QVERIFY(QDir(world.dir.path()).mkdir("folder.tmd"));
        QVERIFY(writeFileBytes(world.path("deposits.txt"), depositRecord({"TXT"})));
        QVERIFY(writeFileBytes(world.path("deposits.tm"), depositRecord({"TM"})));
        world.addDeposits(2);
        world.runWithFile(Save, "current.tmd");
        world.window.flags().ModifiedFlag = true;

        world.answer(MessageButton::No);  // SaveFirst
        world.answer(answer);
        world.runWithFile(Open, name);

        const RecordedMessage notTmd{"Term Deposit File Only",
                                     "This is not a Term Deposit file. Select a Term Deposit file.",
                                     MessageIcon::Question, MessageButtons::YesNo};
        QCOMPARE(world.fake.messages.asked, (QList<RecordedMessage>{kSaveFirst, notTmd}));
        QCOMPARE(world.reg().rows(), 4);
        QCOMPARE(world.title(), FileWorld::titleOf(world.path("current.tmd")));
        QVERIFY(world.window.flags().ModifiedFlag);

        // The refused name did not become the document's name.
        world.window.mnuFileItem_Click(Save);
        QCOMPARE(fileBytes(world.path("deposits.txt")), depositRecord({"TXT"}));
        QCOMPARE(fileBytes(world.path("current.tmd")).size(), 200);
        QVERIFY(!QFileInfo::exists(world.path("missing.tmd")));
    }

    // A name that passes the extension test but where nothing can be opened
    // is told for what it is, with its path; the register and title stay.
    void openTellsWhyNothingCanBeOpened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        dataRow("missing", "missing.tmd", "No file of this name exists.");
        dataRow("dangling link", "link.tmd", "is a link to");
        dataRow("a name too long", QString(300, 'n') + ".tmd", "longer than the file system allows");
        dataRow("a path too long", QString("d/").repeated(2100) + "x.tmd",
                "path is longer than the system allows");
        dataRow("a zero character", QString("bad") + QChar(u'\0') + ".tmd", "no file name can hold");
        dataRow("a file used as a folder", "plain.tmd/inner.tmd", "should be a folder is a file");
    }
    void openTellsWhyNothingCanBeOpened()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        FileWorld world;
        QVERIFY(QFile::link(world.path("gone.tmd"), world.path("link.tmd")));
        QVERIFY(writeFileBytes(world.path("plain.tmd"), depositRecord({"PLAIN"})));
        world.addDeposits(1);
        world.window.flags().ModifiedFlag = false;
        world.runWithFile(Open, name);

        QCOMPARE(world.fake.messages.asked.size(), 1);
        const RecordedMessage& m = world.fake.messages.asked[0];
        QVERIFY2(tellsFileError(m, world.path(name), reason), qPrintable(m.text));
        QVERIFY2(m.text.startsWith("The Term Deposit file could not be opened."), qPrintable(m.text));
        QCOMPARE(world.reg().rows(), 3);
        QCOMPARE(world.title(), kUntitled);
    }

    // The title shows the path as it stands, "[*]" and all, to the window
    // system and to assistive technology.
    void theTitleShowsThePathExactly_data()
    {
        QTest::addColumn<QString>("name");
        dataRow("marks", "q&a [*] 50% {x}.tmd");
        dataRow("two marks together", "[*][*].tmd");
        dataRow("a mark at the end", "x[*]tmd");
    }
    void theTitleShowsThePathExactly()
    {
        QFETCH(QString, name);
        FileWorld world;
        QVERIFY(writeFileBytes(world.path(name), depositRecord({"AC1"})));
        world.window.setWindowModified(true);
        world.window.winId();  // the window as the window system has it
        world.runWithFile(Open, name);
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
        using Titles = QStringList;
        dataRow("new file", "other.tmd", MessageButton::No, Titles(), true);
        dataRow("capitals", "OTHER.TMD", MessageButton::No, Titles(), true);
        dataRow("existing, Yes", "existing.tmd", MessageButton::Yes, Titles{"Modify?"}, true);
        dataRow("existing, No", "existing.tmd", MessageButton::No, Titles{"Modify?"}, false);
        dataRow("own name, Yes", "current.tmd", MessageButton::Yes, Titles{"Modify?"}, true);
        dataRow("not tmd", "other.txt", MessageButton::Yes, Titles{"Term Deposit File Only"}, false);
    }
    void saveAs()
    {
        QFETCH(QString, name);
        QFETCH(MessageButton, modifyAnswer);
        QFETCH(QStringList, questions);
        QFETCH(bool, written);
        FileWorld world;
        const QByteArray existing = depositRecord({"EXISTING"});
        QVERIFY(writeFileBytes(world.path("existing.tmd"), existing));
        world.addDeposits(1);
        world.runWithFile(Save, "current.tmd");
        world.addDeposits(2, "NEW");

        world.answer(modifyAnswer);
        world.runWithFile(SaveAs, name);

        QCOMPARE(world.titlesAsked(), questions);
        if (questions.value(0) == "Modify?") {
            QCOMPARE(world.fake.messages.asked[0],
                     (RecordedMessage{"Modify?",
                                      "This Term Deposit file already exists. "
                                      "Replace existing Term Deposit by "
                                      "over writing it?",
                                      MessageIcon::Question, MessageButtons::YesNo}));
        }
        const QString target = world.path(name);
        const QString shown = written ? target : world.path("current.tmd");
        QCOMPARE(world.title(), FileWorld::titleOf(shown));
        QCOMPARE(world.window.fileName(), shown);
        QCOMPARE(world.window.flags().ModifiedFlag, !written);
        if (written) {
            QCOMPARE(fileBytes(target).size(), 300);
            QCOMPARE(fileBytes(target).mid(200, 4), QByteArray("NEW2"));
        } else {
            QCOMPARE(fileBytes(world.path("existing.tmd")), existing);
            QVERIFY(!QFileInfo::exists(world.path("other.txt")));
            // A later Save writes the file the title shows, not the refused or
            // declined one.
            world.window.mnuFileItem_Click(Save);
            QCOMPARE(fileBytes(world.path("existing.tmd")), existing);
            QCOMPARE(fileBytes(world.path("current.tmd")).size(), 300);
        }
    }

    void newEmptiesTheRegister()
    {
        FileWorld world;
        world.addDeposits(3);
        world.runWithFile(Save, "some.tmd");
        world.reg().setCell(4, SaveEachMonth, "spare text");
        world.fake.pointer.history.clear();
        world.window.mnuFileItem_Click(New);

        QCOMPARE(world.title(), kUntitled);
        QCOMPARE(world.window.fileName(), QString());
        QCOMPARE(world.reg().rows(), 2);
        QCOMPARE(world.reg().cell(1, SaveEachMonth), QString());
        QCOMPARE(world.reg().cell(0, Active), QStringLiteral("Active"));
        QCOMPARE(QPoint(world.reg().col(), world.reg().row()), QPoint(9, 1));
        QVERIFY(!world.window.flags().ModifiedFlag);
        QVERIFY(world.fake.messages.asked.isEmpty());
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
        QVERIFY(world.fake.pointer.history.contains(Pointer::Hourglass));

        world.addDeposits(1);
        world.cancelFile();
        world.window.mnuFileItem_Click(Save);
        QCOMPARE(world.fake.files.requests.size(),
                 2);  // untitled again: the dialog is shown
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
        if (!answers.isEmpty())
            QCOMPARE(world.fake.messages.asked[0], kSaveFirst);
        QCOMPARE(QFileInfo::exists(world.path("doc.tmd")), written);
        QCOMPARE(world.window.flags().ModifiedFlag,
                 modified);  // SaveFirst leaves the flag alone
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    // A SaveFirst that did not save stops New and Open; the register stays.
    void stoppedSaveFirstStopsTheCommand_data()
    {
        QTest::addColumn<int>("command");
        dataRow("New", int(New));
        dataRow("Open", int(Open));
    }
    void stoppedSaveFirstStopsTheCommand()
    {
        QFETCH(int, command);
        FileWorld world;
        world.addDeposits(2);
        world.answer(MessageButton::Yes);
        world.cancelFile();
        world.window.mnuFileItem_Click(command);
        QCOMPARE(world.reg().rows(), 4);
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
        world.answerFile("saved.tmd");
        world.cancelFile();
        world.window.mnuFileItem_Click(Open);
        QCOMPARE(fileBytes(world.path("saved.tmd")).size(), 200);
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.reg().rows(), 4);
        world.window.mnuFileItem_Click(New);
        QCOMPARE(world.titlesAsked(), (QStringList{"Save File?", "Save File?"}));
    }

    // Closing asks as SaveFirst does; where SaveFirst would stop, the window
    // stays open.
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
            QCOMPARE(world.fake.messages.asked[0], kSaveFirst);
        QCOMPARE(QFileInfo::exists(world.path("doc.tmd")), written);
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    // File > Exit asks once and ends the program: the closing step does not ask
    // again.
    void exitAsksOnceAndEndsTheProgram_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("written");
        dataRow("clean", false, MessageButton::No, 0, false);
        dataRow("modified, No", true, MessageButton::No, 1, false);
        dataRow("modified, Yes", true, MessageButton::Yes, 1, true);
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
        world.answerFile("exit.tmd");

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
        QCOMPARE(QFileInfo::exists(world.path("exit.tmd")), written);
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

    // The last eight files opened or saved, most recent first, also at the next start.
    void openRecentListsTheLastFilesOpenedOrSaved()
    {
        FileWorld world;
        QCOMPARE(recentItems(world.window), QStringList{"(No Recent Files)"});
        world.addDeposits(1);
        for (int n = 1; n <= 9; ++n)
            world.runWithFile(SaveAs, QStringLiteral("f%1&.tmd").arg(n));
        world.runWithFile(Open, "f3&.tmd");
        QStringList expected;
        int place = 0;
        for (int n : {3, 9, 8, 7, 6, 5, 4, 2})
            expected << QStringLiteral("&%1 %2").arg(++place).arg(
                world.path(QStringLiteral("f%1&&.tmd").arg(n)));
        QCOMPARE(recentItems(world.window), expected);
        frmTermDeposit next(world.fake.platform());
        QCOMPARE(recentItems(next), expected);
    }

    // A recent file opens as Open would open it, the save question first; one
    // that is gone or is no deposit file any more gets Open's message and
    // leaves the list.
    void openRecentOpensAsOpenDoes_data()
    {
        QTest::addColumn<QString>("became");
        QTest::addColumn<QString>("message");
        dataRow("still there", "file", "");
        dataRow("missing", "missing", "No file of this name exists.");
        dataRow("a folder now", "folder", "This is not a Term Deposit file. Select a Term Deposit file.");
    }
    void openRecentOpensAsOpenDoes()
    {
        QFETCH(QString, became);
        QFETCH(QString, message);
        FileWorld world;
        world.addDeposits(3);
        world.runWithFile(Save, "listed.tmd");
        world.addDeposits(1, "MORE");
        world.runWithFile(SaveAs, "other.tmd");
        const QString listed = world.path("listed.tmd");
        const QString other = world.path("other.tmd");
        if (became != "file")
            QVERIFY(QFile::remove(listed));
        if (became == "folder")
            QVERIFY(QDir(world.dir.path()).mkdir("listed.tmd"));
        world.window.flags().ModifiedFlag = true;
        world.answer(MessageButton::No);   // the save question
        world.answer(MessageButton::Yes);  // Open's question about a folder
        recentItem(world.window, listed)->trigger();

        QCOMPARE(world.fake.messages.asked.value(0), kSaveFirst);
        if (became == "file") {
            QCOMPARE(world.fake.messages.asked.size(), 1);
            QCOMPARE(world.title(), FileWorld::titleOf(listed));
            QCOMPARE(world.reg().rows(), 5);
            QCOMPARE(recentItems(world.window).size(), 2);
            QCOMPARE(recentItem(world.window, listed)->text(), "&1 " + listed);
            return;
        }
        QCOMPARE(world.fake.messages.asked.size(), 2);
        const RecordedMessage& told = world.fake.messages.asked[1];
        QVERIFY2(told.text == message || tellsFileError(told, listed, message), qPrintable(told.text));
        QCOMPARE(world.title(), FileWorld::titleOf(other));
        QCOMPARE(world.reg().rows(), 6);
        QCOMPARE(recentItems(world.window), QStringList{"&1 " + other});
    }
};

QTEST_MAIN(TestFileCommands)
#include "test_file_commands.moc"
