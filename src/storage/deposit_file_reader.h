#pragma once

#include "core/record_block.h"
#include "file_identity.h"

#include <QString>
#include <functional>

class QIODevice;

namespace td {

// Reports how much of a long task is done; false asks it to stop.
using ProgressStep = std::function<bool(qint64 done, qint64 total)>;

// Reads a deposit file into one block of records, straight from the device,
// and puts each record once into the form a save writes (fields left-aligned,
// byte 99 a carriage return), which reads as the same texts. Every byte is
// accepted, and a final partial record is ignored. A file larger than the
// memory the program can have is refused before anything is read.
class DepositFileReader {
public:
    bool read(QIODevice& device);
    // Fails, loading nothing, where the file changed while it was read.
    bool readFile(const QString& path);

    // Memory the records may take; by default what the system can give.
    void setMemoryLimit(qint64 bytes) { m_memoryLimit = bytes; }
    // Called as the bytes come in (total is -1 when the device cannot tell);
    // a false answer stops the read, which then fails as cancelled.
    void setProgressStep(ProgressStep step) { m_progress = std::move(step); }

    // The deposits of the last successful read, in file order.
    RecordBlock takeRecords() { return std::move(m_records); }
    // What the file of the last successful readFile() was, with a hash of its contents.
    FileIdentity fileIdentity() const { return m_identity; }
    // Why the last read failed, and whether it was stopped by its progress step.
    QString errorString() const { return m_error; }
    bool cancelled() const { return m_cancelled; }

private:
    bool readRecords(QIODevice& device, qint64 limit);
    bool fail(const QString& reason);

    RecordBlock m_records;
    quint64 m_contentHash = 0;  // of the bytes read
    FileIdentity m_identity;
    qint64 m_memoryLimit = -1;
    ProgressStep m_progress;
    QString m_error;
    bool m_cancelled = false;
};

}  // namespace td
