#include "deposit_file_writer.h"

#include "content_hash.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "io_reason.h"

#include <QCoreApplication>

namespace td {

using namespace deposit_file;

namespace {

// Records per write: about a megabyte, a whole number of 4 KiB pages. Writes
// of 2 MiB and more were several times slower on a virtual machine: the page
// cache takes 2 MiB blocks for them, which there cost most on first use.
constexpr int kPieceRecords = 10'240;

}  // namespace

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
        if (QString reason; !writeWhole(device, records, reason))
            return fail(reason);
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
    return replaceFile(path, [&](QIODevice& device, QString& reason) {
        const bool written = write(device, reg);
        reason = m_error;
        return written;
    });
}

}  // namespace td
