#include "commands/amortise_check.h"

#include "commands/selection.h"

#include <QCoreApplication>

namespace td {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("frmTermDeposit", text); }

void refuse(MessageBoxes& messages, const QString& text)
{
    messages.ask(tr("Amortise Term Deposit"), text, MessageIcon::Information, MessageButtons::Ok);
}

}  // namespace

std::optional<std::vector<AmortisationRow>> amortisableSchedule(Register& reg, bool busy,
                                                                const DateForm& form, MessageBoxes& messages)
{
    if (!requireSelectedDeposit(SelectingCommand::Amortise, reg, busy, messages))
        return std::nullopt;

    // "0" is the one text the details dialog writes for a box switched off.
    reg.setCol(Months);
    const QString months = reg.text();
    reg.setCol(SaveEachMonth);
    const QString saveEachMonth = reg.text();
    if (months != QLatin1String("0") || saveEachMonth != QLatin1String("0")) {
        refuse(messages, tr("To Amortise the months and save each month value must be zero."));
        return std::nullopt;
    }

    // A register file can hold texts that the details dialog would never let through.
    const int row = reg.row();
    auto schedule = ComputeAmortisation(reg.cell(row, Interest), reg.cell(row, StartDate),
                                        reg.cell(row, TermDate), reg.cell(row, AccountBalance), form);
    if (!schedule) {
        refuse(messages,
               tr("The interest, balance or dates of this Term Deposit cannot be read, so it cannot "
                  "be amortised."));
    }
    return schedule;
}

}  // namespace td
