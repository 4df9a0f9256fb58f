#include "deposit_file_writer.h"

#include "content_hash.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "folder_sync.h"
#include "io_reason.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

namespace td {

using namespace deposit_file;

namespace {

// Records per write: about a megabyte, a whole number of 4 KiB pages. Writes
// of 2 MiB and more were several times slower on a virtual machine: the page
// cache takes 2 MiB blocks for them, which there cost most on first use.
constexpr int kPieceRecords = 10'240;

}  // namespace

bool DepositFileWriter::fail(const QString& reason)
{
    m_error = reason;
    return false;
}

bool DepositFileWriter::writeAll(QIODevice& device, const char* data, qsizetype size)
{
    // A device may take part of a block; asking again for the rest makes it
    // report why it stopped (a full disk, a size limit).
    while (size > 0) {
        const qint64 written = device.write(data, size);
        if (written <= 0)
            return fail(ioReason(device));
        data += written;
        size -= written;
    }
    return true;
}

bool DepositFileWriter::write(QIODevice& device, const Register& reg)
{
    m_error.clear();
    m_cancelled = false;
    if (!device.isWritable())
        return fail(ioReason(device));
    const int last = reg.depositCount();
    const qint64 total = qint64(last) * kRecordSize;
    QByteArray scratch(qsizetype(qMin(last, kPieceRecords)) * kRecordSize, Qt::Uninitialized);
    qint64 done = 0;
    ContentHasher hasher;
    for (int row = 1; row <= last;) {
        const QByteArrayView records =
            reg.fileRecords(row, qMin(kPieceRecords, last - row + 1), scratch.data());
        if (!writeAll(device, records.data(), records.size()))
            return false;
        hasher.add(records.data(), records.size());
        row += int(records.size() / kRecordSize);
        done += records.size();
        if (m_progress && !m_progress(done, total)) {
            m_cancelled = true;
            return fail(QCoreApplication::translate("DepositFile", "The saving was cancelled."));
        }
    }
    m_contentHash = hasher.result();
    return true;
}

bool DepositFileWriter::writeFile(const QString& path, const Register& reg)
{
    m_error.clear();
    m_cancelled = false;
    QSaveFile file(path);
    // Unbuffered: a write that the disk takes only in part comes back short,
    // and the next one reports why (a buffered flush loses the reason).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(ioReason(file));
    // QSaveFile::commit() can report success when its last buffered bytes did
    // not fit on the disk (QTBUG-75077), so every byte is written, flushed and
    // checked before the old file is replaced.
    if (!write(file, reg)) {
        file.cancelWriting();
        return false;
    }
    if (!file.flush()) {
        fail(ioReason(file));
        file.cancelWriting();
        return false;
    }
    if (QString reason; m_beforeReplace && !m_beforeReplace(file, reason)) {
        fail(reason);
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail(ioReason(file));
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

}  // namespace td
