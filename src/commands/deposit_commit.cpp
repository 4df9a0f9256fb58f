#include "commands/deposit_commit.h"

#include <QCoreApplication>

namespace td {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("frmTermDepositDetails", text); }

// The columns that come from the boxes and the start date; the two derived
// displays may be empty.
constexpr Column kRequired[] = {AccountNumber, SaveEachMonth, Interest,      Years,
                                Months,        StartDate,     AccountBalance};

}  // namespace

CommitOutcome commitDeposit(const DepositRecord& shown, Register& reg, ModLease& flags,
                            MessageBoxes& messages)
{
    DepositRecord trimmed;
    for (int c = 0; c < ColumnCount; ++c)
        trimmed[c] = shown[c].trimmed();

    for (Column c : kRequired) {
        if (trimmed[c].isEmpty()) {
            messages.ask(tr("Quendarith Information Technology"), tr("All text box must have a value."),
                         MessageIcon::Information, MessageButtons::Ok);
            return CommitOutcome::ValueMissing;
        }
    }

    // The first row from the top with this account number, found in the
    // records; the current cell goes there once, not row by row. The spare
    // row is blank, so a number never matches it.
    const int match = reg.findAccount(trimmed[AccountNumber], 1, Qt::CaseSensitive);
    const bool found = match >= 0;
    if (found) {
        reg.setCurrentCell(match, AccountNumber);
        const MessageButton answer =
            messages.ask(tr("Over Write Term Deposit?"),
                         tr("This Account Number already exists. Modify this existing Term Deposit by "
                            "over writing?"),
                         MessageIcon::Question, MessageButtons::YesNo);
        if (answer != MessageButton::Yes)
            return CommitOutcome::OverwriteDeclined;
        flags.ModifiedFlag = true;
    } else {
        reg.setRows(reg.rows() + 1);  // the former spare row takes the deposit
    }

    const int row = found ? match : reg.rows() - 2;
    for (int c = 0; c < ColumnCount; ++c)
        reg.setCell(row, c, trimmed[c]);
    reg.setCurrentCell(row, Active);
    flags.ModifiedFlag = true;
    return found ? CommitOutcome::Overwritten : CommitOutcome::Added;
}

}  // namespace td
