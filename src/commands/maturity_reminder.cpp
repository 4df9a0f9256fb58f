#include "commands/maturity_reminder.h"

#include "commands/row_texts.h"
#include "core/register.h"

#include <QCoreApplication>
#include <cstring>

namespace td::maturities {

namespace {

QString tr(const char* text) { return QCoreApplication::translate("MaturityReminder", text); }

}  // namespace

DueDeposits dueWithin(const Register& reg, const DateForm& form, QDate today, int days)
{
    DueDeposits due;
    if (days <= 0 || !today.isValid())
        return due;
    due.lastDay = today.addDays(days);
    const qint64 last = due.lastDay.toJulianDay();
    RowTexts texts(reg);
    const int deposits = reg.depositCount();
    for (int row = 1; row <= deposits; ++row) {
        texts.load(row);
        // A record's fields read straight from its bytes: "Yes" and a date are ASCII.
        std::optional<QDate> term;
        if (const char* record = texts.record()) {
            using namespace deposit_file;
            if (std::memcmp(record + fieldOffset(Active), "Yes", 3) != 0)
                continue;
            term = form.parse(QLatin1String(record + fieldOffset(TermDate), fieldWidth(TermDate)));
        } else {
            if (texts[Active] != QLatin1String("Yes"))
                continue;
            term = ParseDate(texts[TermDate], form);
        }
        if (!term || term->toJulianDay() > last)
            continue;
        const auto day = static_cast<qint32>(term->toJulianDay());
        if (due.count == 0 || day < due.firstTermDay) {
            due.firstRow = row;
            due.firstTermDay = day;
        }
        ++due.count;
    }
    return due;
}

Notification reminderOf(const DueDeposits& due, const Register& reg, const DateForm& form)
{
    Notification reminder;
    if (due.count <= 0)
        return reminder;
    const QString account = reg.cell(due.firstRow, AccountNumber);
    const QString termDate = reg.cell(due.firstRow, TermDate);
    const QString lastDay = FormatDate(due.lastDay, form);
    reminder.summary = tr("Term deposits due");
    reminder.body =
        due.count == 1
            ? tr("1 active deposit matures by %1 or has matured: %2, term date %3.")
                  .arg(lastDay, account, termDate)
            : tr("%1 active deposits mature by %2 or have matured. The earliest is %3, term date %4.")
                  .arg(due.count)
                  .arg(lastDay, account, termDate);
    reminder.actionLabel = tr("Show Maturities");
    return reminder;
}

}  // namespace td::maturities
