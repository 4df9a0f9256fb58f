#pragma once

#include "core/deposit_record.h"
#include "core/mod_lease.h"
#include "core/register.h"

#include <QObject>
#include <QUndoStack>

namespace td {

// Every change of the register's deposits, as a command on an undo stack:
// an Add, an Overwrite, a Delete or a Roll Over. A command keeps only the
// rows it changed, as the register holds them, so undoing puts them back
// exactly. Undo and redo leave the current cell on the row they changed, in
// the column it was in.
//
// ModifiedFlag is the stack's clean state and is set here alone: clean is
// what the file holds, so undoing back to it leaves nothing to save.
class RegisterHistory : public QObject {
    Q_OBJECT

public:
    enum class Change { Add, Overwrite, Delete, RollOver };

    RegisterHistory(Register& reg, ModLease& flags, QObject* parent = nullptr);

    Register& reg() { return m_register; }
    ModLease& flags() { return m_flags; }
    QUndoStack& stack() { return m_stack; }

    // A new deposit in front of the spare row, then the current cell on it in column `col`.
    void addDeposit(const DepositRecord& deposit, int col, Change change = Change::Add);
    // The deposit written over row `row`, then the current cell on it in column `col`.
    void overwriteDeposit(int row, const DepositRecord& deposit, int col, Change change = Change::Overwrite);
    // Row `row` removed; the current cell stays on that index, now the row that moved up.
    void deleteDeposit(int row);

    // The register was written to its file: this is the clean state now.
    void saved();
    // The file was written, but the register stays marked modified until the
    // command that saved it says otherwise; no undo makes it clean again.
    void savedButModified();
    // The register was replaced whole (New, Open): nothing to undo, and
    // clean unless `modified`.
    void replaced(bool modified = false);

    // The caption of a change of the account, as the Undo and Redo items name it.
    static QString caption(Change change, const QString& account);

private:
    void push(QUndoCommand* command);
    void followCleanState();

    Register& m_register;
    ModLease& m_flags;
    QUndoStack m_stack;
};

}  // namespace td
