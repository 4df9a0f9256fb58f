#pragma once

#include "core/date_form.h"
#include "platform/platform.h"

#include <QDate>
#include <QString>

namespace td {

class Register;

namespace maturities {

// The active deposits whose term date is no more than `days` days ahead,
// those matured but still active among them, and the one with the earliest
// term date (the first in the register among equals).
struct DueDeposits {
    QDate lastDay;  // today plus the days
    int count = 0;
    int firstRow = -1;  // its register row; -1 when none is due
    qint32 firstTermDay = 0;
};

// Reads only the Active and Term Date fields of each record, so a million
// deposits take a moment. A term date that does not read is never due.
DueDeposits dueWithin(const Register& reg, const DateForm& form, QDate today, int days);

// What the reminder says: how many are due, and the account number and term
// date of the first, as the register shows them; its action shows the maturities.
Notification reminderOf(const DueDeposits& due, const Register& reg, const DateForm& form);

}  // namespace maturities
}  // namespace td
