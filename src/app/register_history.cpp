#include "app/register_history.h"

#include <QCoreApplication>
#include <algorithm>
#include <utility>

namespace td {

namespace {

// A change of one row. Its undo and redo leave the current cell on the row
// they changed, in the column it is in then; the first redo, which is the
// change itself, leaves it in the column the command asked for.
class RowCommand : public QUndoCommand {
protected:
    RowCommand(Register& reg, const QString& caption, int firstCol) : m_register(reg), m_firstCol(firstCol)
    {
        setText(caption);
    }

    void moveTo(int row)
    {
        const int col = m_firstCol >= 0 ? std::exchange(m_firstCol, -1) : m_register.col();
        m_register.setCurrentCell(std::clamp(row, 0, m_register.rows() - 1), col);
    }
    // A change that could not be made is dropped from the stack.
    void done(bool changed, int row)
    {
        if (changed)
            moveTo(row);
        else
            setObsolete(true);
    }

    Register& m_register;

private:
    int m_firstCol;
};

class AddDeposit : public RowCommand {
public:
    AddDeposit(Register& reg, const QString& caption, const DepositRecord& deposit, int col)
        : RowCommand(reg, caption, col), m_kept(Register::keptRowOf(deposit)), m_row(reg.rows() - 1),
          m_rowBefore(reg.row())
    {
    }
    void redo() override { done(m_register.insertKeptRow(m_row, m_kept), m_row); }
    void undo() override { done(m_register.removeDeposit(m_row), m_rowBefore); }

private:
    Register::KeptRow m_kept;
    int m_row;        // the spare row it was written into
    int m_rowBefore;  // current before the Add, and again after its undo
};

class OverwriteDeposit : public RowCommand {
public:
    OverwriteDeposit(Register& reg, const QString& caption, int row, const DepositRecord& deposit, int col)
        : RowCommand(reg, caption, col), m_before(reg.keptRow(row)), m_after(Register::keptRowOf(deposit)),
          m_row(row)
    {
    }
    void redo() override { done(m_register.overwriteRow(m_row, m_after), m_row); }
    void undo() override { done(m_register.overwriteRow(m_row, m_before), m_row); }

private:
    Register::KeptRow m_before;
    Register::KeptRow m_after;
    int m_row;
};

class DeleteDeposit : public RowCommand {
public:
    DeleteDeposit(Register& reg, const QString& caption, int row)
        : RowCommand(reg, caption, reg.col()), m_kept(reg.keptRow(row)), m_row(row)
    {
    }
    void redo() override { done(m_register.removeDeposit(m_row), m_row); }
    void undo() override { done(m_register.insertKeptRow(m_row, m_kept), m_row); }

private:
    Register::KeptRow m_kept;
    int m_row;
};

}  // namespace

RegisterHistory::RegisterHistory(Register& reg, ModLease& flags, QObject* parent)
    : QObject(parent), m_register(reg), m_flags(flags)
{
    connect(&m_stack, &QUndoStack::cleanChanged, this, &RegisterHistory::followCleanState);
}

QString RegisterHistory::caption(Change change, const QString& account)
{
    const char* verb = nullptr;
    switch (change) {
    case Change::Add:
        verb = QT_TR_NOOP("Add %1");
        break;
    case Change::Overwrite:
        verb = QT_TR_NOOP("Overwrite %1");
        break;
    case Change::Delete:
        verb = QT_TR_NOOP("Delete %1");
        break;
    case Change::RollOver:
        verb = QT_TR_NOOP("Roll Over %1");
        break;
    }
    return tr(verb).arg(account.trimmed()).trimmed();
}

void RegisterHistory::addDeposit(const DepositRecord& deposit, int col, Change change)
{
    push(new AddDeposit(m_register, caption(change, deposit[AccountNumber]), deposit, col));
}

void RegisterHistory::overwriteDeposit(int row, const DepositRecord& deposit, int col, Change change)
{
    push(new OverwriteDeposit(m_register, caption(change, deposit[AccountNumber]), row, deposit, col));
}

void RegisterHistory::deleteDeposit(int row)
{
    push(new DeleteDeposit(m_register, caption(Change::Delete, m_register.cell(row, AccountNumber)), row));
}

void RegisterHistory::saved()
{
    m_stack.setClean();
    followCleanState();
}

void RegisterHistory::savedButModified()
{
    m_stack.resetClean();
    followCleanState();
}

void RegisterHistory::replaced(bool modified)
{
    m_stack.clear();
    // clear() keeps a clean state that resetClean() took away: set it again.
    if (modified)
        m_stack.resetClean();
    else
        m_stack.setClean();
    followCleanState();
}

void RegisterHistory::push(QUndoCommand* command)
{
    m_stack.push(command);
    followCleanState();
}

void RegisterHistory::followCleanState() { m_flags.ModifiedFlag = !m_stack.isClean(); }

}  // namespace td
