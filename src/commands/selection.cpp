#include "commands/selection.h"

#include <QCoreApplication>

namespace td {

namespace {

struct SelectionRule {
    bool refusedWhileBusy;
    bool refusesHeaderRow;
    const char* title;  // nullptr: the program's title
    const char* text;
    MessageIcon icon;
};

// The messages read as each command has always worded them.
const SelectionRule& ruleOf(SelectingCommand command)
{
    static const SelectionRule kDelete{
        true, true, nullptr,
        QT_TRANSLATE_NOOP("frmTermDeposit", "A Term Deposit must be selected from the grid to Delete."),
        MessageIcon::Information};
    static const SelectionRule kAmortise{
        true, false, QT_TRANSLATE_NOOP("frmTermDeposit", "Amortise Term Deposit"),
        QT_TRANSLATE_NOOP("frmTermDeposit", "A Term Deposit must be selected from the grid to amortise."),
        MessageIcon::Information};
    static const SelectionRule kPrint{
        false, true, QT_TRANSLATE_NOOP("frmTermDeposit", "Printing Term Deposit."),
        QT_TRANSLATE_NOOP("frmTermDeposit",
                          "A Term Deposit must be selected to print. Select a Term Deposit from the grid."),
        MessageIcon::Question};
    switch (command) {
    case SelectingCommand::Delete:
        return kDelete;
    case SelectingCommand::Amortise:
        return kAmortise;
    case SelectingCommand::Print:
        break;
    }
    return kPrint;
}

QString translated(const char* text)
{
    return text ? QCoreApplication::translate("frmTermDeposit", text) : QString();
}

}  // namespace

bool isDepositSelected(SelectingCommand command, const Register& reg, bool busy)
{
    const SelectionRule& rule = ruleOf(command);
    if (busy && rule.refusedWhileBusy)
        return false;
    if (rule.refusesHeaderRow && reg.row() == 0)
        return false;
    // The spare row is blank; a text there would still be no deposit.
    return reg.depositCount() > 0 && reg.row() < reg.rows() - 1 && !reg.text().trimmed().isEmpty();
}

bool requireSelectedDeposit(SelectingCommand command, const Register& reg, bool busy, MessageBoxes& messages)
{
    if (isDepositSelected(command, reg, busy))
        return true;
    const SelectionRule& rule = ruleOf(command);
    messages.ask(translated(rule.title), translated(rule.text), rule.icon, MessageButtons::Ok);
    return false;
}

}  // namespace td
