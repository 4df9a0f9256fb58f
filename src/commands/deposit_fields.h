#pragma once

#include "core/columns.h"

#include <QString>
#include <array>

namespace td {

// How a control of the details dialog holds its column's text.
enum class FieldKind {
    TextBox,       // the text as it stands
    StartDate,     // a date, read and written as its date text
    Display,       // a caption the dialog computes, or the stored text after Edit
    ActiveOption,  // the option pair OptYes and OptNo
};

struct DepositField {
    Column column;
    const char* control;  // the control's object name
    FieldKind kind;
};

// The one column-to-control table of the details dialog, in column order:
// Edit fills the controls from a register row in this order, so each display
// is written after the boxes whose changes recompute it, and Add reads the
// deposit back through the same table.
inline constexpr std::array<DepositField, ColumnCount> kDepositFields{{
    {AccountNumber, "txtAccountNumber", FieldKind::TextBox},
    {SaveEachMonth, "txtSaveEachMonth", FieldKind::TextBox},
    {Interest, "txtInterest", FieldKind::TextBox},
    {Years, "txtTermYears", FieldKind::TextBox},
    {Months, "txtTermMonths", FieldKind::TextBox},
    {StartDate, "DTPicStartDate", FieldKind::StartDate},
    {TermDate, "lblTermDate", FieldKind::Display},
    {AccountBalance, "txtAccountBalance", FieldKind::TextBox},
    {FutureValue, "lblFutureValue", FieldKind::Display},
    {Active, "OptYes", FieldKind::ActiveOption},
}};

// The Active text of the selected option: "Yes" for OptYes, else "No".
inline QString activeText(bool optYesSelected)
{
    return optYesSelected ? QStringLiteral("Yes") : QStringLiteral("No");
}

// Any Active text but exactly "No" selects OptYes.
inline bool selectsOptYes(const QString& activeText) { return activeText != QLatin1String("No"); }

}  // namespace td
