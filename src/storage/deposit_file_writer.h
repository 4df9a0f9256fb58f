#pragma once

#include "deposit_file_reader.h"
#include "safe_replace.h"

#include <QString>

class QIODevice;

namespace td {

class Register;

// Writes the deposit rows of a register as 100-byte records: rows kept as
// records go out as they are, in large writes; a row kept as texts is
// written as a save does it (a text longer than its field is cut, a character
// that Windows-1252 cannot hold becomes "?"). Writing stops at the first byte
// the device does not take.
class DepositFileWriter : public SafeFileWriter {
public:
    // Deposit rows 1 to rows() - 2 of the register.
    bool write(QIODevice& device, const Register& reg);

    // The records through replaceFileSafely: path takes them only when every
    // byte reached the disk; on failure or cancel the old file stays as it was.
    bool writeFile(const QString& path, const Register& reg);

    // Called after each large write; a false answer stops the save, which
    // then fails as cancelled.
    void setProgressStep(ProgressStep step) { m_progress = std::move(step); }

private:
    ProgressStep m_progress;
};

}  // namespace td
