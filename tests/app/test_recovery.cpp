// Recovery after a crash: a copy of the register is kept while it holds
// unsaved changes and goes when they are saved or given up; a copy of the
// program killed with changes (a real process, killed with SIGKILL) leaves
// its copy, which the next start offers and brings back; a copy whose owner
// still runs is never offered, and one that cannot be read is set aside.
#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "storage/deposit_file_writer.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"

#include <QApplication>
#include <QBuffer>
#include <QProcess>
#include <QTest>
#include <csignal>

using namespace td;
using namespace td::test;

namespace {

enum Command { New = 0, Open = 1, Save = 3, Exit = 8 };
enum class Leave { Save, NewAnsweredNo, ExitAnsweredNo, CloseAnsweredNo, OpenAnotherAnsweredNo };
enum class Damage { Garbage, CutShort, ByteChanged, FileChanged, FileGone };

const QByteArray kFile = depositRecord({"F1", "0", "4", "1"}) + depositRecord({"F2", "0", "4", "2"}) +
                         depositRecord({"F3", "0", "4", "3"});

// The unsaved work of the tests: a deposit rewritten, one deleted, two
// added, one of them with an account number no file record can hold.
void makeChanges(FileWorld& world)
{
    Register& reg = world.reg();
    if (reg.depositCount() >= 2) {
        reg.setCell(1, AccountBalance, QStringLiteral("$7,777.00"));
        reg.removeDeposit(2);
    }
    world.addDeposits(2, QStringLiteral("NEW"));
    reg.setCell(reg.rows() - 2, AccountNumber, QStringLiteral("Ünïcødé ✓ longer than its field"));
}

QStringList copiesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tdrecovery")}, QDir::Files | QDir::Hidden);
}

QString writeCopy(FileWorld& world)
{
    world.window.recovery().update();
    world.window.recovery().waitForDisk();
    return world.window.recovery().copyPath();
}

// What a copy of the program that ends now leaves in folder: its copy, with no one holding its lock.
QString leaveCopyIn(FileWorld& world, const QString& folder)
{
    const QString copy = writeCopy(world);
    const QString left = QDir(folder).filePath(QFileInfo(copy).fileName());
    return QFile::copy(copy, left) ? left : QString();
}

// The child's part: a copy of the program that opens `file` (none: untitled),
// makes the changes, has its recovery copy written, and waits to be killed.
int changeInChild(const QString& folder, const QString& file)
{
    FileWorld world;
    world.window.setRecoveryFolder(folder);
    if (!file.isEmpty())
        world.runWithFile(Open, file);
    makeChanges(world);
    writeCopy(world);
    QTextStream(stdout) << "written" << Qt::endl;
    QFile in;
    in.open(stdin, QIODevice::ReadOnly);
    in.readAll();
    return 0;
}

struct Child {
    QProcess process;

    bool start(const QString& folder, const QString& file)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TD_RECOVERY_CHILD"), folder + QLatin1Char('\n') + file);
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationFilePath(), {});
        return process.waitForReadyRead(30000) && process.readLine().trimmed() == "written";
    }
    bool kill()
    {
        ::kill(pid_t(process.processId()), SIGKILL);
        return process.waitForFinished();
    }
};

}  // namespace

class TestRecovery : public QObject {
    Q_OBJECT

private slots:
    // Written within a second of a change; a save, or changes given up,
    // remove it.
    void copyFollowsUnsavedChanges_data()
    {
        QTest::addColumn<Leave>("leave");
        dataRow("Save", Leave::Save);
        dataRow("New, not saved", Leave::NewAnsweredNo);
        dataRow("Exit, not saved", Leave::ExitAnsweredNo);
        dataRow("closing, not saved", Leave::CloseAnsweredNo);
        dataRow("Open of another file, not saved", Leave::OpenAnotherAnsweredNo);
    }
    void copyFollowsUnsavedChanges()
    {
        QFETCH(Leave, leave);
        FileWorld world;
        world.addDeposits(2);
        RecoveryKeeper& keeper = world.window.recovery();
        QTRY_VERIFY(!keeper.copyPath().isEmpty() && QFileInfo::exists(keeper.copyPath()));
        QCOMPARE(copiesIn(world.stateDir.path()).size(), 1);

        switch (leave) {
        case Leave::Save:
            world.runWithFile(Save, "saved.tmd");
            break;
        case Leave::NewAnsweredNo:
            world.answer(MessageButton::No);
            world.window.mnuFileItem_Click(New);
            break;
        case Leave::ExitAnsweredNo:
            world.answer(MessageButton::No);
            world.window.mnuFileItem_Click(Exit);
            break;
        case Leave::CloseAnsweredNo:
            world.answer(MessageButton::No);
            QVERIFY(world.window.close());
            break;
        case Leave::OpenAnotherAnsweredNo:
            QVERIFY(writeFileBytes(world.path("other.tmd"), kFile));
            world.answer(MessageButton::No);
            world.runWithFile(Open, "other.tmd");
            break;
        }
        QTRY_COMPARE(copiesIn(world.stateDir.path()), QStringList());
        // Changed again after the save: a copy again.
        if (leave == Leave::Save) {
            makeChanges(world);
            writeCopy(world);
            QCOMPARE(copiesIn(world.stateDir.path()).size(), 1);
        }
    }

    // A copy of the program killed with unsaved changes: while it ran its
    // copy was not offered; once killed, Yes brings back its rows, title and
    // unsaved state, the file stays as it was, and a save writes the rows.
    void recoveredAfterKill_data()
    {
        QTest::addColumn<bool>("named");
        dataRow("untitled", false);
        dataRow("a file", true);
    }
    void recoveredAfterKill()
    {
        QFETCH(bool, named);
        FileWorld world;
        const QString file = named ? world.path("deposits.tmd") : QString();
        if (named)
            QVERIFY(writeFileBytes(file, kFile));
        Child child;
        QVERIFY(child.start(world.stateDir.path(), file));
        QVERIFY(!world.window.offerRecovery());
        QVERIFY(world.fake.messages.asked.isEmpty());
        QVERIFY(child.kill());
        FileWorld expected;  // the same work, done here
        if (named)
            expected.runWithFile(Open, file);
        makeChanges(expected);

        world.answer(MessageButton::Yes);
        const std::optional<QString> recovered = world.window.offerRecovery();
        QCOMPARE(recovered, std::optional<QString>(file));
        QCOMPARE(world.titlesAsked(), QStringList{"Recover Changes?"});
        const QString text = world.fake.messages.asked[0].text;
        QVERIFY2(text.contains(named ? QDir::toNativeSeparators(file) : QStringLiteral("Untitled")) &&
                     text.contains(DateForm().format(QDate::currentDate())),
                 qPrintable(text));
        QCOMPARE(world.records(), expected.records());
        QCOMPARE(world.title(), expected.title());
        QVERIFY(world.window.flags().ModifiedFlag);
        if (named)
            QCOMPARE(fileBytes(file), kFile);
        // The killed copy's file is now this copy's own.
        world.window.recovery().waitForDisk();
        QCOMPARE(copiesIn(world.stateDir.path()),
                 QStringList{QFileInfo(world.window.recovery().copyPath()).fileName()});

        // Saved as any register is: the question before shortening a text, then the rows.
        world.fake.messages.asked.clear();
        world.answer(MessageButton::Yes);
        world.answerFile("deposits.tmd");
        world.window.mnuFileItem_Click(Save);
        QCOMPARE(world.titlesAsked(), QStringList{"Save File?"});
        QBuffer written;
        written.open(QIODevice::WriteOnly);
        QVERIFY(DepositFileWriter().write(written, expected.reg()));
        QCOMPARE(fileBytes(world.path("deposits.tmd")), written.data());
        QVERIFY(!world.window.flags().ModifiedFlag);
        QTRY_COMPARE(copiesIn(world.stateDir.path()), QStringList());
    }

    void noDeletesTheCopy()
    {
        FileWorld world;
        Child child;
        QVERIFY(child.start(world.stateDir.path(), {}));
        QVERIFY(child.kill());
        QVERIFY(!copiesIn(world.stateDir.path()).isEmpty());

        world.answer(MessageButton::No);
        QVERIFY(!world.window.offerRecovery());
        QCOMPARE(world.titlesAsked(), QStringList{"Recover Changes?"});
        QCOMPARE(world.reg().rows(), 2);
        QVERIFY(!world.window.flags().ModifiedFlag);
        QCOMPARE(copiesIn(world.stateDir.path()), QStringList());
    }

    // A copy that cannot be read, or whose file no longer holds what it
    // held, is told about and kept under a new name, never deleted.
    void unreadableCopyIsSetAside_data()
    {
        QTest::addColumn<Damage>("damage");
        dataRow("not a recovery copy", Damage::Garbage);
        dataRow("cut short", Damage::CutShort);
        dataRow("a byte changed", Damage::ByteChanged);
        dataRow("its file changed since", Damage::FileChanged);
        dataRow("its file gone", Damage::FileGone);
    }
    void unreadableCopyIsSetAside()
    {
        QFETCH(Damage, damage);
        FileWorld crashed;
        QVERIFY(writeFileBytes(crashed.path("deposits.tmd"), kFile));
        crashed.runWithFile(Open, "deposits.tmd");
        makeChanges(crashed);
        FileWorld world;
        const QString left = leaveCopyIn(crashed, world.stateDir.path());
        QVERIFY(!left.isEmpty());
        QByteArray bytes = fileBytes(left);
        const QString file = crashed.path("deposits.tmd");
        switch (damage) {
        case Damage::Garbage:
            bytes = "not a recovery copy";
            break;
        case Damage::CutShort:
            bytes.chop(1);
            break;
        case Damage::ByteChanged:
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 1);
            break;
        case Damage::FileChanged:
            QVERIFY(writeFileBytes(file, QByteArray(kFile).replace("F1", "G1")));
            break;
        case Damage::FileGone:
            QVERIFY(QFile::remove(file));
            break;
        }
        QVERIFY(writeFileBytes(left, bytes));

        world.answer(MessageButton::Yes);
        QVERIFY(!world.window.offerRecovery());
        const QString keptAs = left + QStringLiteral(".damaged");
        const bool readable = damage == Damage::FileChanged || damage == Damage::FileGone;
        const QStringList expectedTitles = readable
                                               ? QStringList{"Recover Changes?", "Recovery Copy Unreadable"}
                                               : QStringList{"Recovery Copy Unreadable"};
        QCOMPARE(world.titlesAsked(), expectedTitles);
        QVERIFY2(world.fake.messages.asked.last().text.contains(QDir::toNativeSeparators(keptAs)),
                 qPrintable(world.fake.messages.asked.last().text));
        QCOMPARE(fileBytes(keptAs), bytes);
        QVERIFY(!QFileInfo::exists(left));
        QCOMPARE(world.reg().rows(), 2);
        QVERIFY(!world.window.flags().ModifiedFlag);
        // Set aside, it is not offered again.
        world.fake.messages.asked.clear();
        QVERIFY(!world.window.offerRecovery());
        QVERIFY(world.fake.messages.asked.isEmpty());
    }

    // A file named at start opens after the offer, as Open would with the
    // recovered changes unsaved; the recovered file itself is not opened again.
    void fileNamedAtStartOpensAfterTheOffer_data()
    {
        QTest::addColumn<bool>("sameFile");
        QTest::addColumn<QStringList>("titles");
        dataRow("the recovered file", true, QStringList{"Recover Changes?"});
        dataRow("another file", false, QStringList{"Recover Changes?", "Save File?"});
    }
    void fileNamedAtStartOpensAfterTheOffer()
    {
        QFETCH(bool, sameFile);
        QFETCH(QStringList, titles);
        FileWorld crashed;
        QVERIFY(writeFileBytes(crashed.path("deposits.tmd"), kFile));
        QVERIFY(writeFileBytes(crashed.path("other.tmd"), depositRecord({"OTHER"})));
        crashed.runWithFile(Open, "deposits.tmd");
        makeChanges(crashed);
        FileWorld world;
        QVERIFY(!leaveCopyIn(crashed, world.stateDir.path()).isEmpty());

        world.answer(MessageButton::Yes);
        world.answer(MessageButton::No);
        world.window.finishStartUp(crashed.path(sameFile ? "deposits.tmd" : "other.tmd"));
        QCOMPARE(world.titlesAsked(), titles);
        QCOMPARE(world.title(), FileWorld::titleOf(crashed.path(sameFile ? "deposits.tmd" : "other.tmd")));
        QCOMPARE(world.window.flags().ModifiedFlag, sameFile);
    }

    // A folder where no copy can be written is told once, not at every change.
    void copyThatCannotBeWrittenIsToldOnce()
    {
        FileWorld world;
        QVERIFY(writeFileBytes(world.path("not a folder"), "x"));
        world.window.setRecoveryFolder(world.path("not a folder/recovery"));
        for (int n = 0; n < 2; ++n) {
            world.addDeposits(1);
            world.window.recovery().update();
            world.window.recovery().waitForDisk();
            QCoreApplication::processEvents();
        }
        QCOMPARE(world.titlesAsked(), QStringList{"Recovery Copy"});
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("TD_RECOVERY_CHILD")) {
        const QStringList parts = qEnvironmentVariable("TD_RECOVERY_CHILD").split(QLatin1Char('\n'));
        return changeInChild(parts.value(0), parts.value(1));
    }
    TestRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_recovery.moc"
