#pragma once

#include "core/date_form.h"
#include "core/register.h"
#include "finance/amortisation.h"
#include "platform/platform.h"

#include <optional>
#include <vector>

namespace td {

// The Amortise command's checks on the register's current row, in order: a
// deposit is selected; its Months and Save Each Month texts are exactly "0"
// (the schedule knows whole years without monthly savings only); its
// interest, dates and balance can be read. The first check that fails is
// told in a message box and gives nothing; otherwise the row's schedule,
// computed once for the window to show. Reading Months and then Save Each
// Month moves the register's current column.
std::optional<std::vector<AmortisationRow>> amortisableSchedule(Register& reg, bool busy,
                                                                const DateForm& form, MessageBoxes& messages);

}  // namespace td
