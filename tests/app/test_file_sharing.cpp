// One deposit file and other programs: another program's changes are not
// replaced without a question, a copy of the program that holds the file is
// named before the file opens a second time, and Save As asks before it
// replaces anything that has the name.
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "storage/document_lock.h"
#include "storage/in_place_mark.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"
#include "support/in_place_writer.h"

#include <QApplication>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>

using namespace td;
using namespace td::test;

namespace {

enum Command { New = 0, Open = 1, Save = 3, SaveAs = 4, Exit = 8 };

const QByteArray kOldFile = depositRecord({"OLD1", "0", "4", "1"}) + depositRecord({"OLD2", "0", "4", "2"});
const QByteArray kOtherRecord = depositRecord({"FROM ANOTHER PROGRAM"});

// Another process adds a record at the end of the file, as a program sharing the folder would.
void appendInAnotherProcess(const QString& path, const QByteArray& record)
{
    QProcess sh;
    sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf '%s' \"$1\" >> \"$2\""),
                                         QStringLiteral("sh"), QString::fromLatin1(record), path});
    QVERIFY(sh.waitForFinished());
    QCOMPARE(sh.exitCode(), 0);
}

QStringList accountsShown(FileWorld& world)
{
    QStringList accounts;
    for (int row = 1; row <= world.reg().depositCount(); ++row)
        accounts.append(world.reg().cell(row, AccountNumber).trimmed());
    return accounts;
}

QString otherCopyHolder(const QString& path)
{
    DocumentLock probe;
    if (probe.lock(path) != DocumentLock::Result::HeldElsewhere)
        return QStringLiteral("nobody");
    return QString::number(probe.holder().processId);
}

// The child's part of the two-process test: a copy of the program with the
// file open, until its standard input closes or it is killed.
int holdFileInChild(const QString& path)
{
    FileWorld world;
    world.runWithFile(Open, path);
    QTextStream(stdout) << "opened " << world.reg().depositCount() << Qt::endl;
    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    in.readAll();
    return 0;
}

}  // namespace

class TestFileSharing : public QObject {
    Q_OBJECT

private slots:
    void changeByAnotherProgramIsNotReplacedSilently_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<bool>("closing");
        QTest::addColumn<MessageButton>("answer");
        dataRow("Save, Yes replaces", false, false, MessageButton::Yes);
        dataRow("Save, No keeps the other program's record", false, false, MessageButton::No);
        dataRow("closing, No keeps the window open", false, true, MessageButton::No);
        dataRow("deleted since: simply written", true, false, MessageButton::No);
    }
    void changeByAnotherProgramIsNotReplacedSilently()
    {
        QFETCH(bool, deleted);
        QFETCH(bool, closing);
        QFETCH(MessageButton, answer);
        FileWorld world;
        const QString path = world.path("shared.tmd");
        QVERIFY(writeFileBytes(path, kOldFile));
        world.runWithFile(Open, path);
        world.addDeposits(1, "MINE");
        if (deleted)
            QVERIFY(QFile::remove(path));
        else
            appendInAnotherProcess(path, kOtherRecord);
        world.fake.messages.asked.clear();

        if (closing) {
            world.window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&world.window));
            world.answer(MessageButton::Yes);  // Save file before exiting?
            world.answer(answer);
            QVERIFY(!world.window.close());
            QVERIFY(world.window.isVisible());
        } else {
            world.answer(answer);
            world.window.mnuFileItem_Click(Save);
        }

        const bool replaced = deleted || answer == MessageButton::Yes;
        if (deleted) {
            QVERIFY(world.fake.messages.asked.isEmpty());
        } else {
            const RecordedMessage& asked = world.fake.messages.asked.constLast();
            QCOMPARE(world.fake.messages.asked.size(), closing ? 2 : 1);
            // The text names the file and the other program.
            QCOMPARE(asked, (RecordedMessage{"Save File?", asked.text, MessageIcon::Question,
                                             MessageButtons::YesNo}));
            QVERIFY2(asked.text.contains(QDir::toNativeSeparators(path)), qPrintable(asked.text));
            QVERIFY2(asked.text.contains("another program", Qt::CaseInsensitive), qPrintable(asked.text));
        }
        const QByteArray bytes = fileBytes(path);
        QCOMPARE(bytes, replaced ? bytes.left(300) : kOldFile + kOtherRecord);
        QCOMPARE(bytes.contains("FROM ANOTHER PROGRAM"), !replaced);
        QCOMPARE(bytes.contains("MINE1"), replaced);
        QCOMPARE(world.window.flags().ModifiedFlag, !replaced);
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
        if (replaced) {  // the save's own bytes are known again: no question at the next one
            world.window.mnuFileItem_Click(Save);
            QCOMPARE(world.fake.messages.asked.size(), deleted ? 0 : 1);
        }
    }

    // Yes replaces the change that the question named; the other program
    // writing again while it is open fails the save, and the user is told.
    void changeWhileTheQuestionIsOpenIsNotReplaced()
    {
        FileWorld world;
        const QString path = world.path("shared.tmd");
        QVERIFY(writeFileBytes(path, kOldFile));
        world.runWithFile(Open, path);
        world.addDeposits(1, "MINE");
        appendInAnotherProcess(path, kOtherRecord);
        world.fake.messages.onAsk = [&](const RecordedMessage&) {
            world.fake.messages.onAsk = nullptr;
            appendInAnotherProcess(path, kOtherRecord);
        };
        world.answer(MessageButton::Yes);
        world.window.mnuFileItem_Click(Save);

        QCOMPARE(world.titlesAsked(), (QStringList{"Save File?", "Term Deposit File Error"}));
        QVERIFY(tellsFileError(world.fake.messages.asked[1], path,
                               "Another program changed the file while it was being saved."));
        QCOMPARE(fileBytes(path), kOldFile + kOtherRecord + kOtherRecord);
        QVERIFY(world.window.flags().ModifiedFlag);
    }

    // Where nothing can be saved any more, that is said at once, before any question.
    void saveOntoWhatReplacedTheFileFailsAtOnce_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        dataRow("folder", "folder", "The name belongs to a directory, not to a file.");
        dataRow("named pipe", "fifo", "The name belongs to a named pipe (FIFO), not to a file.");
    }
    void saveOntoWhatReplacedTheFileFailsAtOnce()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        FileWorld world;
        const QString path = world.path("shared.tmd");
        QVERIFY(writeFileBytes(path, kOldFile));
        world.runWithFile(Open, path);
        world.addDeposits(1, "MINE");
        QVERIFY(QFile::remove(path));
        if (kind == "folder")
            QVERIFY(QDir(world.dir.path()).mkdir("shared.tmd"));
        else
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
        world.fake.messages.asked.clear();

        world.window.mnuFileItem_Click(Save);

        QCOMPARE(world.titlesAsked(), QStringList{"Term Deposit File Error"});
        QVERIFY(tellsFileError(world.fake.messages.asked[0], path, reason));
        QVERIFY(world.window.flags().ModifiedFlag);
        QVERIFY(!QFileInfo(path).isFile());
    }

    void secondWindowOnOneFileIsAsked_data()
    {
        QTest::addColumn<MessageButton>("answer");
        dataRow("No", MessageButton::No);
        dataRow("Yes", MessageButton::Yes);
    }
    void secondWindowOnOneFileIsAsked()
    {
        QFETCH(MessageButton, answer);
        FileWorld first;
        FileWorld second;
        const QString path = first.path("shared.tmd");
        QVERIFY(writeFileBytes(path, kOldFile));
        first.runWithFile(Open, path);
        QVERIFY(first.fake.messages.asked.isEmpty());

        second.answer(answer);
        second.runWithFile(Open, path);

        QCOMPARE(second.fake.messages.asked.size(), 1);
        const RecordedMessage& asked = second.fake.messages.asked[0];
        // The text names the file and the copy of the program that holds it.
        QCOMPARE(asked, (RecordedMessage{"Term Deposit File In Use", asked.text, MessageIcon::Question,
                                         MessageButtons::YesNo}));
        QVERIFY(asked.text.contains(QDir::toNativeSeparators(path)));
        QVERIFY(asked.text.contains(QString::number(QCoreApplication::applicationPid())));
        QVERIFY(asked.text.contains(QSysInfo::machineHostName()));
        const bool opened = answer == MessageButton::Yes;
        QCOMPARE(second.reg().depositCount(), opened ? 2 : 0);
        QCOMPARE(second.title(),
                 opened ? FileWorld::titleOf(path)
                        : QStringLiteral("Quendarith Information Technology Term Deposit - Untitled"));
        // The first window keeps the lock until New releases it; the second never took it.
        second.window.mnuFileItem_Click(New);
        QVERIFY(otherCopyHolder(path) != QLatin1String("nobody"));
        first.window.mnuFileItem_Click(New);
        QCOMPARE(otherCopyHolder(path), QStringLiteral("nobody"));
    }

    // Another running copy of the program holds the file; once it is killed,
    // its lock is stale and the file opens without a question.
    void copyInAnotherProcessThenKilled()
    {
        FileWorld world;
        const QString path = world.path("shared.tmd");
        QVERIFY(writeFileBytes(path, kOldFile));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TD_HOLD_FILE"), path);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("opened 2"));

        world.runWithFile(Open, path);
        QCOMPARE(world.titlesAsked(), QStringList{"Term Deposit File In Use"});
        QVERIFY2(
            world.fake.messages.asked[0].text.contains(
                QStringLiteral("process %1 on %2").arg(child.processId()).arg(QSysInfo::machineHostName())),
            qPrintable(world.fake.messages.asked[0].text));
        QCOMPARE(world.reg().depositCount(), 0);

        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished());
        QVERIFY(QFile::exists(DocumentLock::lockFilePath(path)));  // left behind
        world.fake.messages.asked.clear();
        world.runWithFile(Open, path);

        QVERIFY(world.fake.messages.asked.isEmpty());
        QCOMPARE(world.reg().depositCount(), 2);
        QCOMPARE(otherCopyHolder(path), QString::number(QCoreApplication::applicationPid()));
    }

    // A save writing the file in place was killed (or still writes): the file
    // may be torn, the complete copy waits beside it under the mark.
    void openAfterAnInterruptedSave_data()
    {
        QTest::addColumn<bool>("writerRunning");
        QTest::addColumn<bool>("copyKept");
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("opened");  // the accounts shown, "" when nothing opened
        dataRow("writer killed, Yes: the complete copy", false, true, MessageButton::Yes,
                "Interrupted Save|may be damaged|Open that complete copy instead?", "NEW1 NEW2 NEW3");
        dataRow("writer killed, No: the file as it is", false, true, MessageButton::No,
                "Interrupted Save|may be damaged|Open that complete copy instead?", "NEW1 NEW2 PHANTOM");
        dataRow("writer killed, copy gone: the file as it is", false, false, MessageButton::Yes,
                "Interrupted Save|is missing|Open the file as it is?", "NEW1 NEW2 PHANTOM");
        dataRow("writer still saving: not read", true, true, MessageButton::Ok,
                "Term Deposit File In Use|is being saved right now|has not been opened", "");
    }
    void openAfterAnInterruptedSave()
    {
        QFETCH(bool, writerRunning);
        QFETCH(bool, copyKept);
        QFETCH(MessageButton, answer);
        QFETCH(QString, asked);
        QFETCH(QString, opened);
        FileWorld world;
        const QString path = world.path("doc.tmd");
        const QString copy = world.path(".doc.tmd.tdsave-Ab12Cd");
        const QByteArray complete =
            depositRecord({"NEW1"}) + depositRecord({"NEW2"}) + depositRecord({"NEW3"});
        QVERIFY(writeFileBytes(path, complete.left(200) + depositRecord({"PHANTOM"})));
        QVERIFY(writeFileBytes(copy, complete));
        InPlaceWriter writer(path, copy);
        QVERIFY(writer.marked());
        const QString who =
            QStringLiteral("process %1 on %2").arg(writer.processId()).arg(QSysInfo::machineHostName());
        if (!writerRunning)
            writer.kill();
        if (!copyKept)
            QVERIFY(QFile::remove(copy));

        world.answer(answer);
        world.runWithFile(Open, path);

        QCOMPARE(world.titlesAsked(), QStringList{asked.section('|', 0, 0)});
        const QString text = world.fake.messages.asked[0].text;
        const QStringList parts = asked.split('|').mid(1) << who;
        for (const QString& part : parts)
            QVERIFY2(text.contains(part), qPrintable(text));
        QCOMPARE(accountsShown(world).join(' '), opened);
        if (opened.isEmpty()) {
            QCOMPARE(world.title(),
                     QStringLiteral("Quendarith Information Technology Term Deposit - Untitled"));
            QVERIFY(QFile::exists(InPlaceMark::markPath(path)));
            return;
        }
        // Opened from the copy, the register is the file's and waits to be saved over it.
        const bool fromCopy = opened.endsWith("NEW3");
        QCOMPARE(world.title(), FileWorld::titleOf(path));
        QCOMPARE(world.window.flags().ModifiedFlag, fromCopy);
        // The copy stays until a save of the file is complete; then it goes with the mark.
        QCOMPARE(QFile::exists(copy), copyKept);
        world.window.mnuFileItem_Click(Save);
        QCOMPARE(world.titlesAsked().size(), 1);
        QCOMPARE(fileBytes(path), fromCopy ? complete : complete.left(200) + depositRecord({"PHANTOM"}));
        QCOMPARE(filesIn(world.dir.path()), (QStringList{".doc.tmd.lock", "doc.tmd"}));
    }

    void lockFollowsTheDocument()
    {
        FileWorld world;
        QVERIFY(writeFileBytes(world.path("a.tmd"), kOldFile));
        world.runWithFile(Open, "a.tmd");
        QCOMPARE(filesIn(world.dir.path()), (QStringList{".a.tmd.lock", "a.tmd"}));
        world.runWithFile(SaveAs, "b.tmd");
        QCOMPARE(filesIn(world.dir.path()), (QStringList{".b.tmd.lock", "a.tmd", "b.tmd"}));
        world.window.mnuFileItem_Click(New);
        QCOMPARE(filesIn(world.dir.path()), (QStringList{"a.tmd", "b.tmd"}));
        world.addDeposits(1);
        world.answer(MessageButton::No);  // Save file before exiting?
        world.runWithFile(Open, "a.tmd");
        QCOMPARE(filesIn(world.dir.path()), (QStringList{".a.tmd.lock", "a.tmd", "b.tmd"}));
        world.window.mnuFileItem_Click(Exit);
        QCOMPARE(filesIn(world.dir.path()), (QStringList{"a.tmd", "b.tmd"}));
        QVERIFY(world.fake.messages.asked.size() == 1);
    }

    // Save As onto a name that something has: the overwrite question for all
    // but a folder, and no save where no regular file would be replaced.
    void saveAsOntoWhatHasTheName_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("refusal");  // empty: saved
        dataRow("named pipe", "fifo", true, "named pipe (FIFO)");
        dataRow("link to a device", "device", true, "device");
        dataRow("link to a file", "link", true, "");
        dataRow("link that leads nowhere", "dangling", true, "");
        dataRow("folder", "folder", false, "directory");
    }
    void saveAsOntoWhatHasTheName()
    {
        QFETCH(QString, kind);
        QFETCH(bool, asked);
        QFETCH(QString, refusal);
        FileWorld world;
        const QString path = world.path("target.tmd");
        const QString linked = world.path("linked.tmd");
        if (kind == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
        else if (kind == "folder")
            QVERIFY(QDir(world.dir.path()).mkdir("target.tmd"));
        else
            QVERIFY(QFile::link(kind == "device" ? "/dev/null" : linked, path));
        if (kind == "link")
            QVERIFY(writeFileBytes(linked, kOldFile));
        world.addDeposits(1);
        world.answer(MessageButton::Yes);
        const QString title = world.title();
        world.runWithFile(SaveAs, "target.tmd");

        QStringList titles;
        if (asked)
            titles << "Modify?";
        if (!refusal.isEmpty())
            titles << "Term Deposit File Error";
        QCOMPARE(world.titlesAsked(), titles);
        if (!refusal.isEmpty()) {
            QVERIFY2(world.fake.messages.asked.constLast().text.contains(refusal),
                     qPrintable(world.fake.messages.asked.constLast().text));
            QVERIFY(!QFileInfo(path).isFile());
            QCOMPARE(world.title(), title);
            QVERIFY(world.window.flags().ModifiedFlag);
        } else {
            QVERIFY(QFileInfo(path).isSymLink());
            QCOMPARE(fileBytes(linked).left(3), QByteArray("AC1"));
            QVERIFY(!world.window.flags().ModifiedFlag);
        }
    }

    // A temporary file that a killed save left beside the file goes at the
    // next save, unless another copy of the program holds the file.
    void leftoverIsRemovedAtTheNextSave_data()
    {
        QTest::addColumn<bool>("heldElsewhere");
        dataRow("file held here", false);
        dataRow("file held by another copy", true);
    }
    void leftoverIsRemovedAtTheNextSave()
    {
        QFETCH(bool, heldElsewhere);
        FileWorld world;
        const QString path = world.path("doc.tmd");
        const QString leftover = world.path(".doc.tmd.tdsave-q7Rt2Z");
        QVERIFY(writeFileBytes(path, kOldFile));
        QVERIFY(writeFileBytes(leftover, kOldFile + kOldFile));
        const timespec anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(leftover).constData(), anHourAgo, 0) == 0);
        DocumentLock otherCopy;
        if (heldElsewhere) {
            QCOMPARE(otherCopy.lock(path), DocumentLock::Result::Locked);
            world.answer(MessageButton::Yes);  // open it here as well
        }
        world.runWithFile(Open, path);
        world.addDeposits(1);
        world.window.mnuFileItem_Click(Save);

        QCOMPARE(fileBytes(path).size(), 300);
        QCOMPARE(QFile::exists(leftover), heldElsewhere);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("TD_HOLD_FILE"))
        return holdFileInChild(qEnvironmentVariable("TD_HOLD_FILE"));
    TestFileSharing test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_file_sharing.moc"
