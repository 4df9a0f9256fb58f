#pragma once

#include "core/deposit_record.h"
#include "core/record_block.h"
#include "deposit_file_reader.h"
#include "file_identity.h"
#include "recovery_pieces.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace td {

class Register;

// The file whose records a register's unchanged rows are: the deposit file
// as it was last read or written here, known by its size and contents hash.
struct RecoveryBase {
    QString path;  // empty: there is none
    qint64 size = 0;
    quint64 hash = 0;

    bool exists() const { return !path.isEmpty(); }
    qint64 records() const;
    bool operator==(const RecoveryBase&) const = default;
};

// A recovery copy: what the register held at one moment, as the runs of the
// base that are unchanged and the bytes of every other row. A few lines of
// text say what it belongs to, then the runs and rows, then a hash of all
// that, so that a copy cut short or changed is told apart from a whole one.
struct RecoveryCopy {
    QString document;  // the file the register belongs to; empty while untitled
    QDateTime written;
    RecoveryBase base;
    qint64 deposits = 0;
    std::vector<RowPieces::Piece> pieces;  // of the deposit rows, in order
    // The runs as the file holds them: 'B' with the first record and the
    // length of a run of the base; 'O' with a length and that many rows of
    // the register's own, each 'R' and a record, or 'T' and its ten texts
    // where no record holds them as they stand.
    QByteArray body;

    // The copy of the register's deposit rows (not its spare row) as the
    // pieces describe them; the pieces must cover the register's rows.
    static RecoveryCopy of(const Register& reg, const RowPieces& pieces, const RecoveryBase& base,
                           const QString& document, const QDateTime& written);
    // The bytes of the copy, its closing hash included. Cheap but for the
    // hash; the writing thread may take it.
    QByteArray bytes() const;
    // The copy in a file; nothing, with the reason, where it is not a whole copy.
    static std::optional<RecoveryCopy> read(const QString& path, QString& error);
};

// The register a copy held: every deposit row as a record (a row kept as
// texts holds the nearest record) and the rows kept as texts.
struct RecoveredRows {
    RecordBlock records;
    std::vector<std::pair<qint64, DepositRecord>> texts;  // by deposit index, from 0
    FileIdentity baseIdentity;                            // the base as it was read
};

enum class Rebuilt { Done, Cancelled, Failed };

// Puts the copy's rows together, reading the unchanged runs from the base at
// basePath; fails where that file no longer holds what the base held.
Rebuilt rebuildRecoveredRows(const RecoveryCopy& copy, const QString& basePath, RecoveredRows& out,
                             QString& error, const ProgressStep& progress = {});

// Whether the file at path holds exactly what base held; its identity then, with its hash.
bool fileHolds(const QString& path, const RecoveryBase& base, FileIdentity& identity);

}  // namespace td
