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

    const QString& account = trimmed[AccountNumber];
    bool found = false;
    reg.setRow(0);
    while (!found && reg.row() != reg.rows() - 1) {
        reg.setRow(reg.row() + 1);
        reg.setCol(AccountNumber);
        if (reg.text() != account)
            continue;
        const MessageButton answer =
            messages.ask(tr("Over Write Term Deposit?"),
                         tr("This Account Number already exists. Modify this existing Term Deposit by "
                            "over writing?"),
                         MessageIcon::Question, MessageButtons::YesNo);
        if (answer != MessageButton::Yes)
            return CommitOutcome::OverwriteDeclined;
        flags.ModifiedFlag = true;
        found = true;
    }

    if (!found)
        reg.setRows(reg.rows() + 1);  // the former spare row takes the deposit

    for (int c = 0; c < ColumnCount; ++c) {
        reg.setCol(c);
        reg.setText(trimmed[c]);
    }
    flags.ModifiedFlag = true;
    return found ? CommitOutcome::Overwritten : CommitOutcome::Added;
}

}  // namespace td
