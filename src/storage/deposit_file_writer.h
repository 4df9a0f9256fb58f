#pragma once

#include "deposit_file_reader.h"

#include <QString>
#include <functional>

class QFileDevice;
class QIODevice;

namespace td {

class Register;

// Writes the deposit rows of a register as 100-byte records: rows kept as
// records go out as they are, in large writes; a row kept as texts is
// written as a save does it (a text longer than its field is cut, a character
// that Windows-1252 cannot hold becomes "?"). Writing stops at the first byte
// the device does not take.
class DepositFileWriter {
public:
    // Deposit rows 1 to rows() - 2 of the register.
    bool write(QIODevice& device, const Register& reg);

    // Writes to a temporary file beside path and puts it in place of path only
    // when every byte reached the disk; on failure or cancel the old file
    // stays as it was.
    bool writeFile(const QString& path, const Register& reg);

    // Runs in writeFile when the new contents are complete in the temporary
    // file, just before it takes the old file's place; false (with a reason)
    // keeps the old file as it was.
    using BeforeReplace = std::function<bool(QFileDevice& newFile, QString& reason)>;
    void setBeforeReplace(BeforeReplace step) { m_beforeReplace = std::move(step); }

    // Called after each large write; a false answer stops the save, which
    // then fails as cancelled.
    void setProgressStep(ProgressStep step) { m_progress = std::move(step); }

    QString errorString() const { return m_error; }
    bool cancelled() const { return m_cancelled; }
    // A hash of the bytes the last write() wrote (see ContentHasher).
    quint64 contentHash() const { return m_contentHash; }

private:
    bool writeAll(QIODevice& device, const char* data, qsizetype size);
    bool fail(const QString& reason);

    ProgressStep m_progress;
    QString m_error;
    BeforeReplace m_beforeReplace;
    bool m_cancelled = false;
    quint64 m_contentHash = 0;
};

}  // namespace td
