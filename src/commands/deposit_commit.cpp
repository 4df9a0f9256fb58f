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

DepositCommit decideCommit(const DepositRecord& shown, Register& reg, MessageBoxes& messages)
{
    DepositCommit commit{CommitOutcome::Add, {}, -1};
    for (int c = 0; c < ColumnCount; ++c)
        commit.deposit[c] = shown[c].trimmed();

    for (Column c : kRequired) {
        if (commit.deposit[c].isEmpty()) {
            messages.ask(tr("Quendarith Information Technology"), tr("All text box must have a value."),
                         MessageIcon::Information, MessageButtons::Ok);
            commit.outcome = CommitOutcome::ValueMissing;
            return commit;
        }
    }

    // The first row from the top with this account number, found in the
    // records; the current cell goes there once, not row by row. The spare
    // row is blank, so a number never matches it.
    const int match = reg.findAccount(commit.deposit[AccountNumber], 1, Qt::CaseSensitive);
    if (match < 0)
        return commit;
    reg.setCurrentCell(match, AccountNumber);
    const MessageButton answer =
        messages.ask(tr("Over Write Term Deposit?"),
                     tr("This Account Number already exists. Modify this existing Term Deposit by "
                        "over writing?"),
                     MessageIcon::Question, MessageButtons::YesNo);
    commit.outcome =
        answer == MessageButton::Yes ? CommitOutcome::Overwrite : CommitOutcome::OverwriteDeclined;
    commit.row = match;
    return commit;
}

}  // namespace td
