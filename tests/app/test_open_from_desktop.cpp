#include "app/widgets/register_grid.h"
#include "commands/recent_files.h"
#include "support/data_rows.h"
#include "support/deposit_file_world.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace td;
using namespace td::test;

namespace {

const QByteArray kTwoDeposits =
    depositRecord(
        {"AC100", "0", "5.5", "1", "0", "01/01/2024", "01/01/2025", "$1,000.00", "$1,056.41", "Yes"}) +
    depositRecord({"AC200", "0", "4", "2", "0", "01/01/2024", "01/01/2026", "$2,000.00", "$2,166.29", "No"});

// A drag that the file manager starts: these files, copy or move offered.
struct Drag {
    QMimeData data;
    Qt::DropActions actions;
    Drag(const QList<QUrl>& urls, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction)
        : actions(offered)
    {
        data.setUrls(urls);
    }
};

// Drags onto the middle of the grid, as a user does, and drops there when
// asked: the events go to the widget under the pointer and travel up to the
// window. True when the drag (and the drop) were taken as a copy.
bool dragOnto(frmTermDeposit& window, Drag& drag, bool drop)
{
    QWidget* target = window.gridView()->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, drag.actions, &drag.data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    const bool taken = enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    if (!taken || !drop)
        return taken;
    QDropEvent dropped(QPointF(at), drag.actions, &drag.data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted() && dropped.dropAction() == Qt::CopyAction;
}

QStringList accountNumbers(frmTermDeposit& window)
{
    QStringList numbers;
    for (int row = 1; row < window.Grid().rows() - 1; ++row)
        numbers.append(window.Grid().cell(row, AccountNumber).trimmed());
    return numbers;
}

}  // namespace

class TestOpenFromDesktop : public QObject {
    Q_OBJECT

private slots:
    // A file given from outside goes through Open's checks and messages; a
    // failure leaves the register untitled and empty.
    void openFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");  // empty: no file of that name
        QTest::addColumn<QString>("linkTo");    // or a link to this
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("accounts");
        dataRow("deposit file", "r.tmd", kTwoDeposits, QString(), QStringList{},
                QStringList{"AC100", "AC200"});
        dataRow("capitals, no dot", "rTMD", kTwoDeposits, QString(), QStringList{},
                QStringList{"AC100", "AC200"});
        dataRow("missing", "gone.tmd", QByteArray(), QString(), QStringList{"Term Deposit File Error"},
                QStringList{});
        dataRow("other extension", "r.txt", kTwoDeposits, QString(), QStringList{"Term Deposit File Only"},
                QStringList{});
        // A name that passes the checks but whose bytes cannot be read.
        dataRow("unreadable", "bad.tmd", QByteArray(), "/proc/self/mem",
                QStringList{"Term Deposit File Error"}, QStringList{});
    }

    void openFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, linkTo);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, accounts);
        FileWorld world;
        if (!bytes.isEmpty())
            QVERIFY(writeFileBytes(world.path(name), bytes));
        if (!linkTo.isEmpty())
            QVERIFY(QFile::link(linkTo, world.path(name)));
        world.window.openFile(world.path(name));
        QCOMPARE(world.titlesAsked(), messages);
        QCOMPARE(accountNumbers(world.window), accounts);
        QCOMPARE(world.title(),
                 FileWorld::titleOf(accounts.isEmpty() ? QStringLiteral("Untitled") : world.path(name)));
        QVERIFY(world.fake.files.requests.isEmpty());
        QVERIFY(!world.window.flags().ModifiedFlag);
        QCOMPARE(RecentFiles().files(), accounts.isEmpty() ? QStringList() : QStringList{world.path(name)});
    }

    void dropOpensDepositFile_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QStringList>("messages");
        dataRow("clean register", false, QStringList{});
        dataRow("unsaved changes: the save prompt first", true, QStringList{"Save File?"});
    }

    void dropOpensDepositFile()
    {
        QFETCH(bool, modified);
        QFETCH(QStringList, messages);
        FileWorld world;
        world.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&world.window));
        if (modified)
            world.addDeposits(1, QStringLiteral("UNSAVED"));
        world.answer(MessageButton::No);
        QVERIFY(writeFileBytes(world.path(QStringLiteral("r.tmd")), kTwoDeposits));

        Drag drag({QUrl::fromLocalFile(world.path(QStringLiteral("r.tmd")))});
        QVERIFY(dragOnto(world.window, drag, true));
        QTRY_COMPARE(accountNumbers(world.window), (QStringList{"AC100", "AC200"}));
        QCOMPARE(world.titlesAsked(), messages);
        QCOMPARE(world.title(), FileWorld::titleOf(world.path(QStringLiteral("r.tmd"))));
        QCOMPARE(RecentFiles().files(), QStringList{world.path(QStringLiteral("r.tmd"))});
    }

    // Only one local file whose name passes the extension test is taken, and
    // only as a copy.
    void dragTaken_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<Qt::DropActions>("actions");
        QTest::addColumn<bool>("taken");
        const QUrl file = QUrl::fromLocalFile(QStringLiteral("/tmp/r.tmd"));
        const Qt::DropActions copy = Qt::CopyAction;
        dataRow("a deposit file", QList<QUrl>{file}, copy, true);
        dataRow("capitals, copy or link", QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/R.TMD"))},
                (Qt::CopyAction | Qt::LinkAction), true);
        dataRow("two files", QList<QUrl>{file, QUrl::fromLocalFile(QStringLiteral("/tmp/s.tmd"))}, copy,
                false);
        dataRow("not a deposit file name", QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/r.txt"))},
                copy, false);
        dataRow("not a local file", QList<QUrl>{QUrl(QStringLiteral("https://example.org/r.tmd"))}, copy,
                false);
        dataRow("move only", QList<QUrl>{file}, Qt::DropActions(Qt::MoveAction), false);
        dataRow("no files", QList<QUrl>{}, copy, false);
    }

    void dragTaken()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(Qt::DropActions, actions);
        QFETCH(bool, taken);
        FileWorld world;
        world.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&world.window));
        Drag drag(urls, actions);
        QCOMPARE(dragOnto(world.window, drag, false), taken);
    }
};

QTEST_MAIN(TestOpenFromDesktop)
#include "test_open_from_desktop.moc"
