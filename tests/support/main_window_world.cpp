#include "support/main_window_world.h"

#include <QTest>

namespace td::test {

DepositRecord depositOf(const QStringList& texts)
{
    DepositRecord d;
    for (int c = 0; c < ColumnCount; ++c)
        d[c] = texts.value(c);
    return d;
}

DepositRecord plainDeposit(const QString& account, const QString& active)
{
    return depositOf({account, "0", "5", "1", "0", "01/01/2024", "01/01/2025", "$100.00", "$105.12", active});
}

QList<DepositRecord> plainDeposits(int count)
{
    QList<DepositRecord> deposits;
    for (int n = 1; n <= count; ++n)
        deposits << plainDeposit(QStringLiteral("A%1").arg(n));
    return deposits;
}

MainWindowWorld::MainWindowWorld(const QList<DepositRecord>& deposits)
{
    w.setRecoveryFolder(stateDir.path());
    w.startUp();
    fake.messages.asked.clear();
    fake.pointer.history.clear();
    for (const DepositRecord& d : deposits)
        reg().appendDeposit(d);
}

QList<DepositRecord> MainWindowWorld::records()
{
    QList<DepositRecord> all;
    for (int r = 0; r < reg().rows(); ++r)
        all << reg().record(r);
    return all;
}

bool MainWindowWorld::show()
{
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

}  // namespace td::test
