#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class QIODevice;

namespace td {

// Reads a deposit file into packed register rows (see core/packed_row.h), one
// per whole record, without going through QString. Every byte is accepted:
// fields lose their outer spaces (only the space character), byte 99 is not
// looked at, and a final partial record is ignored. The rows are handed over
// only when the whole file was read.
class DepositFileReader {
public:
    bool read(QIODevice& device);
    bool readFile(const QString& path);

    // The deposits of the last successful read, in file order.
    std::vector<QByteArray> takeRows() { return std::move(m_rows); }
    // Bytes of a final partial record that were not loaded.
    qsizetype ignoredBytes() const { return m_ignoredBytes; }
    // Why the last read failed.
    QString errorString() const { return m_error; }

private:
    bool readRecords(QIODevice& device);
    bool fail(const QString& reason);

    std::vector<QByteArray> m_rows;
    qsizetype m_ignoredBytes = 0;
    QString m_error;
};

}  // namespace td
