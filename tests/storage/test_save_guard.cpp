// The file under a save, on real files: what another program did to it is
// seen, what the old file was is kept, and nothing is written where no file is.
#include "core/register.h"
#include "storage/deposit_file_reader.h"
#include "storage/deposit_file_writer.h"
#include "storage/document_lock.h"
#include "storage/in_place_mark.h"
#include "storage/own_files.h"
#include "storage/save_guard.h"
#include "storage/save_leftovers.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"
#include "support/in_place_writer.h"

#include <QSysInfo>
#include <QTemporaryFile>
#include <QTest>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace td;
using namespace td::test;

namespace {

const QByteArray kOld = depositRecord({"OLD1"}) + depositRecord({"OLD2"});
const QByteArray kNew = depositRecord({"NEW1"});
const QByteArray kAppended = depositRecord({"OTHER"});

struct stat statOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

bool hardLink(const QString& existing, const QString& newName)
{
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(newName).constData()) == 0;
}

// Sets the file's times to a whole second, as a file system with coarse timestamps keeps them.
void setWholeSecond(const QString& path, time_t second)
{
    const timespec times[2] = {{second, 0}, {second, 0}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

// What reading the file leaves known of it.
FileIdentity identityOfRead(const QString& path)
{
    DepositFileReader reader;
    return reader.readFile(path) ? reader.fileIdentity() : FileIdentity();
}

// Saves a register holding the deposit NEW1 (as many times as asked).
bool saveNew(SaveGuard& guard, const QString& path, const std::function<void()>& duringSave = {},
             int copies = 1)
{
    Register reg;
    DepositRecord d;
    d[AccountNumber] = QStringLiteral("NEW1");
    for (int n = 0; n < copies; ++n)
        reg.appendDeposit(d);
    DepositFileWriter writer;
    return guard.save(path, writer, [&](const QString& target) {
        if (duringSave)
            duringSave();
        return writer.writeFile(target, reg);
    });
}

// Runs step in a child process as user 65534 (nobody) with kSharedGroup as its
// only group; returns the child's exit status (0 when step returned true).
constexpr gid_t kSharedGroup = 4242;
int asAnotherUser(const std::function<bool()>& step)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {kSharedGroup};
        const bool dropped = ::setgroups(1, groups) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(dropped && step() ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return status;
}

enum Change {
    Untouched,
    Appended,
    ReplacedBySameBytes,
    RewrittenSameSize,
    RewrittenTimesPutBack,  // as cp -p and rsync -t leave it
    PermissionsChanged,
    LinkAdded,
    Deleted
};
enum Known { Read, ReadWholeSeconds, Saved };

// Another program's change to the file at path, made to its current contents.
void changeFile(const QString& path, Change change)
{
    const QByteArray bytes = fileBytes(path);
    const QByteArray name = QFile::encodeName(path);
    const struct stat before = statOf(path);
    switch (change) {
    case Untouched:
        break;
    case Appended:
        QVERIFY(writeFileBytes(path, bytes + kAppended));
        break;
    case ReplacedBySameBytes:
        QVERIFY(writeFileBytes(path + QStringLiteral(".copy"), bytes));
        QVERIFY(::rename(QFile::encodeName(path + QStringLiteral(".copy")).constData(), name.constData()) ==
                0);
        break;
    case RewrittenSameSize:
    case RewrittenTimesPutBack:
        QVERIFY(writeFileBytes(path, QByteArray(bytes.size(), 'X')));
        if (change == RewrittenTimesPutBack) {
            const timespec times[2] = {before.st_atim, before.st_mtim};
            QVERIFY(::utimensat(AT_FDCWD, name.constData(), times, 0) == 0);
        }
        break;
    case PermissionsChanged:
        QVERIFY(::chmod(name.constData(), (before.st_mode & 0777) ^ 0060) == 0);
        break;
    case LinkAdded:
        QVERIFY(hardLink(path, path + QStringLiteral(".link")));
        break;
    case Deleted:
        QVERIFY(QFile::remove(path));
        break;
    }
}

}  // namespace

class TestSaveGuard : public QObject {
    Q_OBJECT

private slots:
    // Whether the file still holds what was read or saved here: a change of
    // its contents counts, whatever times it was given; new permissions or a
    // new name do not.
    void changeSinceReadOrSaveIsSeen_data()
    {
        QTest::addColumn<int>("known");
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("changed");
        const char* knownNames[] = {"read", "read, whole-second times", "saved"};
        const struct {
            Change change;
            const char* name;
            bool changed;
        } changes[] = {
            {Untouched, "untouched", false},
            {Appended, "a record appended", true},
            {ReplacedBySameBytes, "replaced by a copy", true},
            {RewrittenSameSize, "rewritten, same size", true},
            {RewrittenTimesPutBack, "rewritten, same size, times put back", true},
            {PermissionsChanged, "permissions changed", false},
            {LinkAdded, "a hard link added", false},
            {Deleted, "deleted", false},
        };
        for (const Known known : {Read, ReadWholeSeconds, Saved})
            for (const auto& c : changes)
                QTest::addRow("%s: %s", knownNames[known], c.name)
                    << int(known) << int(c.change) << c.changed;
    }
    void changeSinceReadOrSaveIsSeen()
    {
        QFETCH(int, known);
        QFETCH(int, change);
        QFETCH(bool, changed);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.tmd"));
        // Megabytes, so that reading, writing and comparing take them in pieces cut differently.
        const int copies = 15'000;
        QVERIFY(writeFileBytes(path, kOld.repeated(copies)));
        const time_t second = ::time(nullptr) - 10;
        SaveGuard guard;
        if (known == Saved) {
            QVERIFY(saveNew(guard, path, {}, copies));
        } else {
            if (known == ReadWholeSeconds)
                setWholeSecond(path, second);
            guard.remember(path, identityOfRead(path));
        }

        changeFile(path, Change(change));
        // A file system with coarse timestamps keeps the second of a change within it.
        if (known == ReadWholeSeconds && change != Deleted)
            setWholeSecond(path, second);
        QCOMPARE(guard.changedOnDisk(path), changed);
        // Nothing is known of another file.
        QVERIFY(!guard.changedOnDisk(dir.filePath(QStringLiteral("other.tmd"))));
    }

    void saveKeepsOwnerGroupPermissionsAndAttributes()
    {
        if (::geteuid() != 0)
            QSKIP("giving a file to another owner needs the superuser");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.tmd"));
        const QByteArray name = QFile::encodeName(path);
        QVERIFY(writeFileBytes(path, kOld));
        QVERIFY(::chown(name.constData(), 1234, 5678) == 0);
        QVERIFY(::chmod(name.constData(), 02640) == 0);
        const bool attributes = ::setxattr(name.constData(), "user.td.note", "kept", 4, 0) == 0;
        const ino_t oldInode = statOf(path).st_ino;

        SaveGuard guard;
        QVERIFY2(saveNew(guard, path), qPrintable(guard.errorString()));

        QCOMPARE(fileBytes(path), kNew);
        const struct stat st = statOf(path);
        QVERIFY(st.st_ino != oldInode);  // replaced whole, not overwritten
        QCOMPARE(st.st_uid, uid_t(1234));
        QCOMPARE(st.st_gid, gid_t(5678));
        QCOMPARE(st.st_mode & 07777, mode_t(02640));
        if (attributes) {
            char value[16] = {};
            QCOMPARE(::getxattr(name.constData(), "user.td.note", value, sizeof value), ssize_t(4));
            QCOMPARE(QByteArray(value), QByteArray("kept"));
        }
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("doc.tmd")});
    }

    // A file whose owner or group a new file could not be given keeps them,
    // written in place by a user who may write to it.
    void fileOfAnotherOwnerOrGroupIsWrittenInPlace_data()
    {
        QTest::addColumn<uid_t>("owner");
        QTest::addColumn<gid_t>("group");
        QTest::addColumn<mode_t>("mode");
        dataRow("another user's file in the shared group", uid_t(1234), kSharedGroup, mode_t(0664));
        dataRow("own file of a group not the saver's", uid_t(65534), gid_t(5678), mode_t(0640));
    }
    void fileOfAnotherOwnerOrGroupIsWrittenInPlace()
    {
        QFETCH(uid_t, owner);
        QFETCH(gid_t, group);
        QFETCH(mode_t, mode);
        if (::geteuid() != 0)
            QSKIP("a second user needs the superuser");
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path());
        QVERIFY(::chown(folder.constData(), 0, kSharedGroup) == 0 && ::chmod(folder.constData(), 02775) == 0);
        const QString path = dir.filePath(QStringLiteral("doc.tmd"));
        const QByteArray name = QFile::encodeName(path);
        QVERIFY(writeFileBytes(path, kOld));
        QVERIFY(::chown(name.constData(), owner, group) == 0 && ::chmod(name.constData(), mode) == 0);
        const struct stat before = statOf(path);

        QCOMPARE(asAnotherUser([&] {
                     SaveGuard guard;
                     return saveNew(guard, path);
                 }),
                 0);

        const struct stat after = statOf(path);
        QCOMPARE(fileBytes(path), kNew);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_uid, owner);
        QCOMPARE(after.st_gid, group);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("doc.tmd")});
    }

    void hardLinkedFileIsWrittenInPlace()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.tmd"));
        const QString other = dir.filePath(QStringLiteral("other name.tmd"));
        QVERIFY(writeFileBytes(path, kOld));
        QVERIFY(hardLink(path, other));
        const ino_t inode = statOf(path).st_ino;

        SaveGuard guard;
        QVERIFY2(saveNew(guard, path), qPrintable(guard.errorString()));

        QCOMPARE(fileBytes(path), kNew);
        QCOMPARE(fileBytes(other), kNew);
        QCOMPARE(statOf(path).st_ino, inode);
        QCOMPARE(statOf(path).st_nlink, nlink_t(2));
        QCOMPARE(filesIn(dir.path()), (QStringList{"doc.tmd", "other name.tmd"}));
        QVERIFY(!guard.changedOnDisk(path));
    }

    // Another program writes between the question and the end of the save,
    // while the new contents are written or at the last moment before the old
    // file goes: its bytes stay, and the save says why it failed.
    void changeDuringTheSaveKeepsTheOtherProgramsBytes_data()
    {
        QTest::addColumn<bool>("hardLinked");
        QTest::addColumn<bool>("atTheLastMoment");
        dataRow("one name, while writing", false, false);
        dataRow("one name, after the sync", false, true);
        dataRow("hard-linked, while writing", true, false);
        dataRow("hard-linked, after the sync", true, true);
    }
    void changeDuringTheSaveKeepsTheOtherProgramsBytes()
    {
        QFETCH(bool, hardLinked);
        QFETCH(bool, atTheLastMoment);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.tmd"));
        QVERIFY(writeFileBytes(path, kOld));
        if (hardLinked)
            QVERIFY(hardLink(path, dir.filePath(QStringLiteral("other name.tmd"))));
        const QStringList before = filesIn(dir.path());
        SaveGuard guard;
        guard.remember(path, identityOfRead(path));

        QFile appender(path);
        QVERIFY(appender.open(QIODevice::Append));
        const auto otherProgram = [&] {
            appender.write(kAppended);
            appender.flush();
        };
        if (atTheLastMoment)
            guard.setLastMomentStep(otherProgram);
        QVERIFY(!saveNew(guard, path, atTheLastMoment ? std::function<void()>() : otherProgram));

        QCOMPARE(guard.errorString(),
                 QStringLiteral("Another program changed the file while it was being saved."));
        QVERIFY(!guard.oldFileChanged());
        QCOMPARE(fileBytes(path), kOld + kAppended);
        QCOMPARE(filesIn(dir.path()), before);
    }

    // The complete copy that an interrupted in-place write kept stays until
    // a save of the file completes; a save while another process still
    // writes the file is refused.
    void saveAfterAnInterruptedWrite_data()
    {
        QTest::addColumn<bool>("writerRunning");
        QTest::addColumn<bool>("changedDuringSave");
        QTest::addColumn<QString>("error");  // empty: saved
        dataRow("writer still saving: refused", true, false, "is saving the file right now");
        dataRow("writer killed, the save fails: the copy stays", false, true,
                "Another program changed the file");
        dataRow("writer killed, saved: the copy goes", false, false, "");
    }
    void saveAfterAnInterruptedWrite()
    {
        QFETCH(bool, writerRunning);
        QFETCH(bool, changedDuringSave);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.tmd"));
        const QString copy = dir.filePath(QStringLiteral(".doc.tmd.tdsave-Ab12Cd"));
        QVERIFY(writeFileBytes(path, kNew.left(50) + kOld.mid(50)));  // torn
        QVERIFY(hardLink(path, dir.filePath(QStringLiteral("other name.tmd"))));
        QVERIFY(writeFileBytes(copy, kOld));
        SaveGuard guard;
        guard.remember(path, SaveGuard::identityNow(path));
        InPlaceWriter writer(path, copy);
        QVERIFY(writer.marked());
        if (!writerRunning)
            writer.kill();
        const QStringList before = filesIn(dir.path());

        const bool saved = saveNew(guard, path, [&] {
            if (changedDuringSave)
                QVERIFY(writeFileBytes(path, kOld + kAppended));
        });

        QCOMPARE(saved, error.isEmpty());
        QVERIFY2(guard.errorString().contains(error), qPrintable(guard.errorString()));
        QVERIFY(!guard.oldFileChanged());
        QCOMPARE(InPlaceMark::find(path).copyPath, saved ? QString() : copy);
        QCOMPARE(filesIn(dir.path()), saved ? QStringList({"doc.tmd", "other name.tmd"}) : before);
        if (saved)
            QCOMPARE(fileBytes(path), kNew);
    }

    // Only a temporary file this program made goes; a user's copies beside the
    // file stay, whatever their names.
    void leftoversOfInterruptedSavesAreRemoved()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.tmd"));
        QVERIFY(writeFileBytes(path, kOld));
        const time_t anHourAgo = ::time(nullptr) - 3600;
        const time_t inAnHour = ::time(nullptr) + 3600;
        // A save killed before its rename leaves its temporary file as this one.
        QTemporaryFile killed(ownTemporaryTemplate(path));
        killed.setAutoRemove(false);
        QVERIFY(killed.open() && killed.write(kOld) == kOld.size());
        killed.close();
        const QString ours = QFileInfo(killed.fileName()).fileName();
        struct Entry {
            QString name;
            time_t modified;
            bool removed;
            QByteArray bytes = kOld;
        };
        const Entry entries[] = {
            {ours, anHourAgo, true},
            {"..doc.tmd.tdsave-Cp12ab.tdsave-Nx34cd", anHourAgo, true},  // the complete copy's own
            {".doc.tmd.tdsave-Zz99zz", inAnHour, false},                 // stands for a save running now
            {".doc.tmd.tdsave-Hl5nKd", anHourAgo, false},  // hard-linked below: someone keeps it
            {".doc.tmd.tdsave-Half01", anHourAgo, false, kOld.left(150)},  // no whole records
            {".doc.tmd.tdsave-Ab12C-", anHourAgo, false},
            {".other.tmd.tdsave-Ab12Cd", anHourAgo, false},
            {"..other.tmd.tdsave-Cp12ab.tdsave-Nx34cd", anHourAgo, false},
            {"..doc.tmd.tdsave-Cp12a.tdsave-Nx34cd", anHourAgo, false},
            {"doc.tmd.MyCopy", anHourAgo, false},  // the user's own copies
            {"doc.tmd.backup", anHourAgo, false},
            {"doc.tmd.123456", anHourAgo, false},
            {"doc.tmd.Ab3dE1", anHourAgo, false},
            {"doc.tmd.bak", anHourAgo, false},
        };
        for (const Entry& e : entries) {
            QVERIFY(writeFileBytes(dir.filePath(e.name), e.bytes));
            setWholeSecond(dir.filePath(e.name), e.modified);
        }
        QVERIFY(
            QFile::link(path, dir.filePath(QStringLiteral(".doc.tmd.tdsave-Lnk123"))));  // no regular file
        QVERIFY(hardLink(dir.filePath(QStringLiteral(".doc.tmd.tdsave-Hl5nKd")),
                         dir.filePath(QStringLiteral("kept"))));
        // Another user's file of that name is none of ours (only the superuser can make one).
        const QString theirs = dir.filePath(QStringLiteral(".doc.tmd.tdsave-Theirs"));
        const bool otherOwner = ::geteuid() == 0;
        if (otherOwner) {
            QVERIFY(writeFileBytes(theirs, kOld));
            setWholeSecond(theirs, anHourAgo);
            QVERIFY(::chown(QFile::encodeName(theirs).constData(), 1234, 1234) == 0);
        }
        const QStringList before = filesIn(dir.path());

        SaveGuard guard;
        guard.removeLeftovers(path);  // before any save: nothing
        QCOMPARE(filesIn(dir.path()), before);
        QVERIFY(saveNew(guard, path));
        guard.removeLeftovers(path);

        for (const Entry& e : entries)
            QVERIFY2(QFile::exists(dir.filePath(e.name)) != e.removed, qPrintable(e.name));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral(".doc.tmd.tdsave-Lnk123"))).isSymLink());
        QCOMPARE(QFile::exists(theirs), otherOwner);
        QCOMPARE(fileBytes(path), kNew);
    }

    void lockIsOneForEveryNameOfTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.tmd"));
        QVERIFY(writeFileBytes(path, kOld));
        QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("link.tmd"))));

        DocumentLock first;
        QCOMPARE(first.lock(path), DocumentLock::Result::Locked);
        QVERIFY(first.holds(dir.filePath(QStringLiteral("link.tmd"))));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral(".doc.tmd.lock"))));
        DocumentLock second;
        QCOMPARE(second.lock(dir.filePath(QStringLiteral("link.tmd"))), DocumentLock::Result::HeldElsewhere);
        QCOMPARE(second.holder().processId, QCoreApplication::applicationPid());
        QCOMPARE(second.holder().hostName, QSysInfo::machineHostName());
        QVERIFY(!second.isLocked());

        first.release();
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral(".doc.tmd.lock"))));
        QCOMPARE(second.lock(path), DocumentLock::Result::Locked);
        QCOMPARE(DocumentLock().lock(dir.filePath(QStringLiteral("missing/doc.tmd"))),
                 DocumentLock::Result::Unavailable);
    }
};

QTEST_GUILESS_MAIN(TestSaveGuard)
#include "test_save_guard.moc"
