#pragma once

#include "app/windows/frm_term_deposit/frm_term_deposit.h"
#include "support/fake_platform.h"

#include <QList>
#include <QPoint>
#include <QStringList>
#include <QTemporaryDir>

namespace td::test {

// A deposit from its texts in column order; missing texts are empty.
DepositRecord depositOf(const QStringList& texts);

// A deposit of whole years without savings, as the details dialog writes it:
// $100.00 at 5 percent for one year from 01/01/2024.
DepositRecord plainDeposit(const QString& account, const QString& active = QStringLiteral("Yes"));
// Plain deposits with the accounts A1, A2, ...
QList<DepositRecord> plainDeposits(int count);

// A started main window in a fake world holding the given deposits. The
// start-up message and pointer changes are forgotten, so a test sees only
// what its own steps ask and set.
struct MainWindowWorld {
    FakePlatform fake;
    QTemporaryDir stateDir;  // the world's own recovery folder, never the user's
    frmTermDeposit w{fake.platform()};

    explicit MainWindowWorld(const QList<DepositRecord>& deposits = {});

    Register& reg() { return w.Grid(); }
    // The current cell as (column, row).
    QPoint cell() { return QPoint(reg().col(), reg().row()); }
    // Every row, the header row and the spare row included.
    QList<DepositRecord> records();
    // Shows the window and waits until it is active, so keys and clicks reach it.
    bool show();
};

}  // namespace td::test
