#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class QFileDevice;
class QIODevice;

namespace td {

class Register;

// Writes deposit rows as 100-byte records. A text longer than its field is cut
// to the field, a character that Windows-1252 cannot hold becomes "?", and
// writing stops at the first byte the device does not take.
class DepositFileWriter {
public:
    // Deposit rows 1 to rows() - 2 of the register.
    bool write(QIODevice& device, const Register& reg);
    bool write(QIODevice& device, const std::vector<QByteArray>& packedRows);

    // Writes to a temporary file beside path and puts it in place of path only
    // when every byte reached the disk; on failure the old file stays as it was.
    bool writeFile(const QString& path, const Register& reg);

    // Runs in writeFile when the new contents are complete in the temporary
    // file, just before it takes the old file's place; false (with a reason)
    // keeps the old file as it was.
    using BeforeReplace = std::function<bool(QFileDevice& newFile, QString& reason)>;
    void setBeforeReplace(BeforeReplace step) { m_beforeReplace = std::move(step); }

    QString errorString() const { return m_error; }

    // One packed row as a 100-byte record; up to 32 bytes after the record
    // may be overwritten.
    static void encodeRecord(const QByteArray& packedRow, char* record);

private:
    template <typename RowAt>
    bool writeRows(QIODevice& device, qsizetype count, RowAt rowAt);
    bool writeAll(QIODevice& device, const char* data, qsizetype size);
    bool fail(const QString& reason);

    QString m_error;
    BeforeReplace m_beforeReplace;
};

}  // namespace td
