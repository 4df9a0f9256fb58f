#include "recovery_keeper.h"

#include "core/register.h"

#include <QFileInfo>

namespace td {

RecoveryKeeper::RecoveryKeeper(const Register& reg, std::function<QString()> document,
                               std::function<bool()> modified, QObject* parent)
    : QObject(parent), m_register(reg), m_document(std::move(document)), m_modified(std::move(modified))
{
    m_pieces.resetOwn(reg.rowCount());
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::update);
    connect(&reg, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        m_pieces.insert(first, last - first + 1);
        rowsChanged();
    });
    connect(&reg, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int first, int last) {
        m_pieces.remove(first, last - first + 1);
        rowsChanged();
    });
    connect(&reg, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                m_pieces.change(topLeft.row(), bottomRight.row() - topLeft.row() + 1);
                rowsChanged();
            });
    // Anything else that reorders or replaces the rows leaves no row known.
    const auto unknown = [this] {
        m_pieces.resetOwn(m_register.rowCount());
        rowsChanged();
    };
    connect(&reg, &QAbstractItemModel::modelReset, this, unknown);
    connect(&reg, &QAbstractItemModel::layoutChanged, this, unknown);
    connect(&reg, &QAbstractItemModel::rowsMoved, this, unknown);
    // Told on the writing thread; handled on this one.
    m_writer.setFinished([this](const RecoveryWriter::Outcome& outcome) {
        QMetaObject::invokeMethod(
            this, [this, outcome] { finished(outcome); }, Qt::QueuedConnection);
    });
}

RecoveryKeeper::~RecoveryKeeper() { discard(); }

// The first change starts the timer and later ones ride along: a steady run
// of changes is still written every kDelayMs, never put off for good.
void RecoveryKeeper::rowsChanged()
{
    if (!m_timer.isActive())
        m_timer.start(kDelayMs);
}

void RecoveryKeeper::follow(const RecoveryBase& base)
{
    const qint64 deposits = m_register.depositCount();
    const qint64 rows = m_register.rowCount();
    m_base = base.exists() && base.records() == deposits ? base : RecoveryBase();
    if (m_base.exists())
        m_base.path = QFileInfo(m_base.path).absoluteFilePath();
    if (!m_base.exists()) {
        m_pieces.resetOwn(rows);
    } else if (m_register.everyRowHeldAsRecord()) {
        m_pieces.resetBase(deposits, rows - deposits);
    } else {
        // Rows kept as texts were written to the file shortened: they stay the register's own.
        std::vector<RowPieces::Piece> pieces;
        for (qint64 n = 0; n < deposits; ++n)
            pieces.push_back({m_register.heldAsRecord(int(n + 1)) ? n : RowPieces::kOwn, 1});
        pieces.push_back({RowPieces::kOwn, rows - deposits});
        m_pieces.assign(pieces);
    }
    // Once the command that read or wrote the file has finished and set the
    // modified state, the copy follows it: a save or an Open removes it.
    m_timer.start(0);
}

bool RecoveryKeeper::adopt(const RecoveryCopy& copy, RecoveryFolder::LeftCopy& left, QString& error)
{
    std::vector<RowPieces::Piece> pieces = copy.pieces;
    pieces.push_back({RowPieces::kOwn, m_register.rowCount() - copy.deposits});
    m_pieces.assign(pieces);
    m_base = copy.base;
    if (!m_writer.claim(error))
        return false;
    m_writer.waitIdle();
    if (RecoveryFolder::takeOver(left, m_writer.copyPath(), error)) {
        m_copyOnDisk = true;
        rowsChanged();
        return true;
    }
    // The left copy goes only once this copy's own is on the disk.
    update();
    m_writer.waitIdle();
    if (QFileInfo::exists(m_writer.copyPath()))
        RecoveryFolder::remove(left);
    return false;
}

void RecoveryKeeper::discard()
{
    m_timer.stop();
    if (m_copyOnDisk) {
        m_writer.remove();
        m_copyOnDisk = false;
    }
    m_writer.waitIdle();
}

void RecoveryKeeper::update()
{
    m_timer.stop();
    if (!m_modified()) {
        if (m_copyOnDisk)
            m_writer.remove();
        m_copyOnDisk = false;
        return;
    }
    // Should a change have come unseen, no row is taken from the base.
    if (m_pieces.rows() != m_register.rowCount())
        m_pieces.resetOwn(m_register.rowCount());
    QString document = m_document();
    if (!document.trimmed().isEmpty())
        document = QFileInfo(document).absoluteFilePath();
    m_writer.write(RecoveryCopy::of(m_register, m_pieces, m_base, document, QDateTime::currentDateTimeUtc()));
    m_copyOnDisk = true;
}

void RecoveryKeeper::finished(const RecoveryWriter::Outcome& outcome)
{
    if (outcome.removal)
        return;
    if (outcome.done)
        emit copyWritten();
    else
        emit copyFailed(outcome.error);
}

}  // namespace td
