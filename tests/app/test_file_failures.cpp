// Saves and opens that fail on real files: the old file stays byte for byte,
// the failure is shown with the file's path and the system's reason, and the
// register keeps its unsaved mark.
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "storage/document_lock.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace td;
using namespace td::test;

namespace {

enum Command { Open = 1, Save = 3, SaveAs = 4 };

const QByteArray kOldFile = depositRecord({"OLD1", "0", "4", "1"}) + depositRecord({"OLD2", "0", "4", "2"}) +
                            depositRecord({"OLD3", "0", "4", "3"});

// Opens the old file through the window, then adds unsaved deposits.
void openOldFileAndChangeIt(FileWorld& world, const QString& oldPath, int newDeposits)
{
    world.runWithFile(Open, oldPath);
    QCOMPARE(world.reg().rows(), 5);
    world.addDeposits(newDeposits, "NEW");
    world.fake.messages.asked.clear();
}

// The one message is the file error naming the target, with the system's reason in any letter case.
bool failureShown(const FileWorld& world, const QString& target, const QString& reason)
{
    return world.fake.messages.asked.size() == 1 &&
           tellsFileError(world.fake.messages.asked[0], target, reason, Qt::CaseInsensitive);
}

QString messageTexts(const FileWorld& world)
{
    QStringList texts;
    for (const RecordedMessage& m : world.fake.messages.asked)
        texts << m.text;
    return texts.join(" | ");
}

// A small tmpfs of its own, or an ext4 file system in an image on a loop
// device, where the system lets the test mount one.
class SmallDisk {
public:
    explicit SmallDisk(const QString& size, const QString& type = QStringLiteral("tmpfs"))
    {
        const QByteArray dir = QFile::encodeName(m_dir.path());
        if (type == QLatin1String("tmpfs")) {
            m_mounted = ::mount("tmpfs", dir.constData(), "tmpfs", 0,
                                QByteArray("size=" + size.toLatin1()).constData()) == 0;
            return;
        }
        // No blocks kept for the superuser, so that the test sees what a user would.
        const QString image = m_image.filePath(QStringLiteral("disk.img"));
        m_mounted = run("mkfs." + type, {"-q", "-F", "-m", "0", image, size}) &&
                    run("mount", {"-o", "loop", image, m_dir.path()});
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString dir() const { return m_dir.path(); }
    qint64 freeBytes() const
    {
        struct statvfs s {};
        ::statvfs(QFile::encodeName(m_dir.path()).constData(), &s);
        return qint64(s.f_bavail) * qint64(s.f_frsize);
    }

private:
    static bool run(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    QTemporaryDir m_image;
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// The child's part of the file size limit test: open the old file, add
// deposits, save over it, and tell the parent what the user saw.
int saveInChild()
{
    const QString oldPath = qEnvironmentVariable("TD_SAVE_CHILD_FILE");
    const int deposits = qEnvironmentVariableIntValue("TD_SAVE_CHILD_DEPOSITS");
    FileWorld world;
    world.runWithFile(Open, oldPath);
    world.addDeposits(deposits, "NEW");
    world.fake.messages.asked.clear();
    world.window.mnuFileItem_Click(Save);
    QTextStream out(stdout);
    out << "modified=" << world.window.flags().ModifiedFlag << '\n';
    for (const RecordedMessage& m : world.fake.messages.asked)
        out << "title=" << m.title << '\n' << "text=" << QString(m.text).replace('\n', ' ') << '\n';
    return 0;
}

}  // namespace

class TestFileFailures : public QObject {
    Q_OBJECT

private slots:
    void unwritablePath_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("named");  // the document takes the name before the write fails
        dataRow("folder that does not exist", "missing/new.tmd", "No such file or directory", true);
        dataRow("path that is a folder", "folder.tmd", "directory", false);
        dataRow("path under a regular file", "old.tmd/new.tmd", "Not a directory", true);
    }
    void unwritablePath()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        QFETCH(bool, named);
        FileWorld world;
        QVERIFY(QDir(world.dir.path()).mkdir("folder.tmd"));
        QVERIFY(writeFileBytes(world.path("old.tmd"), kOldFile));
        openOldFileAndChangeIt(world, world.path("old.tmd"), 2);
        const QStringList before = filesIn(world.dir.path());

        world.runWithFile(SaveAs, target);

        QVERIFY2(failureShown(world, world.path(target), reason), qPrintable(messageTexts(world)));
        QCOMPARE(fileBytes(world.path("old.tmd")), kOldFile);
        QStringList after = before;
        if (named)  // its lock went with it
            after.removeOne(".old.tmd.lock");
        QCOMPARE(filesIn(world.dir.path()), after);
        QCOMPARE(world.title(), FileWorld::titleOf(world.path(named ? target : "old.tmd")));
        QVERIFY(filesIn(world.path("folder.tmd")).isEmpty());
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.reg().rows(), 7);
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    // The save at the closing question fails: the window stays open after the message.
    void failedSaveAtClosingKeepsTheWindowOpen()
    {
        FileWorld world;
        world.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&world.window));
        world.addDeposits(2);
        world.answer(MessageButton::Yes);
        world.answerFile("missing/new.tmd");
        QVERIFY(!world.window.close());
        QVERIFY(world.window.isVisible());
        QCOMPARE(world.titlesAsked(), (QStringList{"Save File?", "Term Deposit File Error"}));
        QVERIFY(world.window.flags().ModifiedFlag);
        // Answering No closes without saving.
        world.answer(MessageButton::No);
        QVERIFY(world.window.close());
    }

    void failedReadChangesNothing()
    {
        FileWorld world;
        world.addDeposits(3);
        world.runWithFile(Save, "current.tmd");
        world.window.flags().ModifiedFlag = true;
        const QString title = world.title();
        // A name that passes the checks but whose bytes cannot be read.
        QVERIFY(QFile::link("/proc/self/mem", world.path("unreadable.tmd")));

        world.answer(MessageButton::No);  // SaveFirst
        world.runWithFile(Open, "unreadable.tmd");

        QCOMPARE(world.titlesAsked(), (QStringList{"Save File?", "Term Deposit File Error"}));
        QVERIFY(world.fake.messages.asked[1].text.contains(world.path("unreadable.tmd")));
        QCOMPARE(world.reg().rows(), 5);
        QCOMPARE(world.reg().cell(3, AccountNumber), QStringLiteral("AC3"));
        QCOMPARE(world.title(), title);
        QCOMPARE(world.window.fileName(), world.path("current.tmd"));
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    // A file cut short or grown while it is read loads nothing: the user is
    // told, and the register stays as it was.
    void fileChangedWhileItIsRead_data()
    {
        QTest::addColumn<qint64>("sizeThen");
        dataRow("cut short", qint64(150));
        dataRow("grown", qint64(400));
    }
    void fileChangedWhileItIsRead()
    {
        QFETCH(qint64, sizeThen);
        FileWorld world;
        world.addDeposits(2);
        const QString oldPath = world.path("old.tmd");
        QVERIFY(writeFileBytes(oldPath, kOldFile));
        world.fake.progress.onAdvance = [&](qint64) {
            world.fake.progress.onAdvance = nullptr;
            QVERIFY(QFile::resize(oldPath, sizeThen));
        };

        world.answer(MessageButton::No);  // SaveFirst
        world.runWithFile(Open, "old.tmd");

        QCOMPARE(world.titlesAsked(), (QStringList{"Save File?", "Term Deposit File Error"}));
        QCOMPARE(world.fake.messages.asked[1],
                 (RecordedMessage{"Term Deposit File Error",
                                  "The Term Deposit file could not be opened. The register has not been "
                                  "changed.\n\nFile: " +
                                      oldPath + "\nReason: The file changed while it was being read.",
                                  MessageIcon::Information, MessageButtons::Ok}));
        QCOMPARE(world.reg().rows(), 4);
        QCOMPARE(world.reg().cell(2, AccountNumber), QStringLiteral("AC2"));
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.title(), FileWorld::titleOf(QStringLiteral("Untitled")));
        QCOMPARE(filesIn(world.dir.path()), QStringList{"old.tmd"});
    }

    // A Save As whose write fails leaves the document named after the new
    // file: the lock and the change check go with the name, and the old file
    // is no longer the document's.
    void failedSaveAsMovesTheDocumentToTheNewName_data()
    {
        QTest::addColumn<bool>("fullDevice");
        dataRow("into a folder not made yet", false);
        dataRow("onto a full device", true);
    }
    void failedSaveAsMovesTheDocumentToTheNewName()
    {
        QFETCH(bool, fullDevice);
        std::optional<SmallDisk> disk;
        if (fullDevice && !disk.emplace("64k").mounted())
            QSKIP("this system does not let the test mount a tmpfs");
        FileWorld world;
        const QString oldPath = world.path("old.tmd");
        const QString newPath = fullDevice ? disk->path("new.tmd") : world.path("later/new.tmd");
        QVERIFY(writeFileBytes(oldPath, kOldFile));
        openOldFileAndChangeIt(world, oldPath, fullDevice ? 20000 : 2);

        world.fake.files.answers.push_back(newPath);
        world.window.mnuFileItem_Click(SaveAs);

        QCOMPARE(world.titlesAsked(), QStringList{"Term Deposit File Error"});
        QCOMPARE(world.title(), FileWorld::titleOf(newPath));
        QVERIFY(!QFile::exists(DocumentLock::lockFilePath(oldPath)));
        QCOMPARE(DocumentLock().lock(oldPath), DocumentLock::Result::Locked);
        QCOMPARE(DocumentLock().lock(newPath),
                 fullDevice ? DocumentLock::Result::HeldElsewhere : DocumentLock::Result::Unavailable);

        // Another program's change to the old file is none of the next save's business.
        QVERIFY(writeFileBytes(oldPath, kOldFile + kOldFile));
        QVERIFY(QDir(world.dir.path()).mkpath("later"));
        world.fake.messages.asked.clear();
        world.window.mnuFileItem_Click(Save);

        QCOMPARE(world.titlesAsked(), fullDevice ? QStringList{"Term Deposit File Error"} : QStringList{});
        QCOMPARE(fileBytes(oldPath), kOldFile + kOldFile);
        QCOMPARE(QFile::exists(newPath), !fullDevice);
    }

    // A file larger than the memory the program can have is refused before
    // it is read, with its size named; the register stays as it was.
    void fileTooLargeForMemoryIsRefused()
    {
        FileWorld world;
        world.addDeposits(2);
        const QString huge = world.path("huge.tmd");
        QFile file(huge);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64(1) << 40))
            QSKIP("this file system cannot hold a sparse file of 1 TiB");
        file.close();

        world.answer(MessageButton::No);  // SaveFirst
        world.runWithFile(Open, "huge.tmd");

        QCOMPARE(world.titlesAsked(), (QStringList{"Save File?", "Term Deposit File Error"}));
        QVERIFY2(tellsFileError(world.fake.messages.asked.last(), huge, "The file is 1.00 TiB long"),
                 qPrintable(messageTexts(world)));
        QCOMPARE(world.reg().rows(), 4);
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.title(), FileWorld::titleOf(QStringLiteral("Untitled")));
    }

    // Cancelling the progress of an open changes nothing and tells nothing;
    // cancelling a save leaves the old file as it was and the register unsaved.
    void cancelledProgress_data()
    {
        QTest::addColumn<int>("command");
        dataRow("open", int(Open));
        dataRow("save", int(Save));
    }
    void cancelledProgress()
    {
        QFETCH(int, command);
        FileWorld world;
        const QString oldPath = world.path("old.tmd");
        QVERIFY(writeFileBytes(oldPath, kOldFile));
        openOldFileAndChangeIt(world, oldPath, 2);
        const QStringList before = filesIn(world.dir.path());

        world.fake.progress.cancelAt = 1;
        world.fake.progress.tasks.clear();
        world.fake.progress.ended = 0;
        world.answer(MessageButton::No);  // SaveFirst, before an open
        world.runWithFile(command, "old.tmd");

        const QString task = command == Open ? "Opening " : "Saving ";
        QCOMPARE(world.fake.progress.tasks, QStringList{task + QDir::toNativeSeparators(oldPath)});
        QCOMPARE(world.fake.progress.ended, 1);
        QCOMPARE(world.titlesAsked(), command == Open ? QStringList{"Save File?"} : QStringList{});
        QCOMPARE(world.reg().rows(), 7);
        QCOMPARE(world.reg().cell(5, AccountNumber), QStringLiteral("NEW2"));
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(fileBytes(oldPath), kOldFile);
        QCOMPARE(filesIn(world.dir.path()), before);
        QCOMPARE(world.fake.pointer.current, Pointer::Default);
    }

    // A full disk: far more than the free space, a save under 16 KiB that
    // a buffered file would keep until it is closed, and a
    // hard-linked file with room for the new contents beside it but not for
    // writing them in place (ext4 grows a file as it reserves room, even when
    // the reservation then fails).
    void fullDisk_data()
    {
        QTest::addColumn<QString>("fileSystem");
        QTest::addColumn<int>("deposits");
        QTest::addColumn<qint64>("leaveFree");
        QTest::addColumn<bool>("hardLinked");
        dataRow("far larger than the free space", "tmpfs", 20000, qint64(-1), false);
        dataRow("under 16 KiB", "tmpfs", 120, qint64(8192), false);
        dataRow("hard-linked, no room to write it in place", "ext4", 1000, qint64(150'000), true);
    }
    void fullDisk()
    {
        QFETCH(QString, fileSystem);
        QFETCH(int, deposits);
        QFETCH(qint64, leaveFree);
        QFETCH(bool, hardLinked);
        SmallDisk disk(fileSystem == "tmpfs" ? "64k" : "1m", fileSystem);
        if (!disk.mounted())
            QSKIP(qPrintable("this system does not let the test mount " + fileSystem));
        const QString oldPath = disk.path("old.tmd");
        QVERIFY(writeFileBytes(oldPath, kOldFile));
        if (hardLinked)
            QVERIFY(::link(QFile::encodeName(oldPath).constData(),
                           QFile::encodeName(disk.path("other.tmd")).constData()) == 0);
        if (leaveFree >= 0) {
            const qint64 filler = disk.freeBytes() - leaveFree;
            QVERIFY(filler > 0);
            QVERIFY(writeFileBytes(disk.path("filler"), QByteArray(filler, 'f')));
            if (fileSystem == "tmpfs")
                QCOMPARE(disk.freeBytes(), leaveFree);
            // The new contents do not fit; hard-linked, they fit once beside the old file but not twice.
            const qint64 needed = qint64(deposits) * 100;
            QVERIFY(hardLinked ? needed < disk.freeBytes() && 2 * needed > disk.freeBytes()
                               : needed > disk.freeBytes());
        }

        FileWorld world;
        openOldFileAndChangeIt(world, oldPath, deposits);
        const QStringList before = filesIn(disk.dir());
        world.window.mnuFileItem_Click(Save);

        QVERIFY2(failureShown(world, oldPath, "No space left on device") &&
                     world.fake.messages.asked[0].text.startsWith(
                         "The Term Deposit file could not be saved. The file on disk has not been changed."),
                 qPrintable(messageTexts(world)));
        QCOMPARE(fileBytes(oldPath), kOldFile);
        QCOMPARE(QFileInfo(oldPath).size(), kOldFile.size());
        if (hardLinked)
            QCOMPARE(fileBytes(disk.path("other.tmd")), kOldFile);
        QCOMPARE(filesIn(disk.dir()), before);
        QVERIFY(world.window.flags().ModifiedFlag);
        QCOMPARE(world.title(), FileWorld::titleOf(oldPath));
    }

    // The same with the process's own file size limit, which every system has.
    void fileSizeLimit_data()
    {
        QTest::addColumn<int>("deposits");
        dataRow("far larger than the limit", 20000);
        dataRow("under 16 KiB", 120);
    }
    void fileSizeLimit()
    {
        QFETCH(int, deposits);
        QTemporaryDir dir;
        const QString oldPath = dir.filePath(QStringLiteral("old.tmd"));
        QVERIFY(writeFileBytes(oldPath, kOldFile));

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TD_SAVE_CHILD_FILE"), oldPath);
        env.insert(QStringLiteral("TD_SAVE_CHILD_DEPOSITS"), QString::number(deposits));
        child.setProcessEnvironment(env);
        child.setChildProcessModifier([] {
            const rlimit limit{8192, 8192};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            // The program ignores the signal from its start (main.cpp); the child does the same.
            std::signal(SIGXFSZ, SIG_IGN);
        });
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromUtf8(child.readAllStandardOutput());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);

        QVERIFY2(output.contains(QStringLiteral("modified=1")), qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("title=Term Deposit File Error")), qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("File too large")), qPrintable(output));
        QVERIFY(output.contains(oldPath));
        QCOMPARE(fileBytes(oldPath), kOldFile);
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("old.tmd")});
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("TD_SAVE_CHILD_FILE"))
        return saveInChild();
    TestFileFailures test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_file_failures.moc"
