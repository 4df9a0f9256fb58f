#include "recovery_copy.h"

#include "content_hash.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "io_reason.h"
#include "memory_limit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <new>

namespace td {

using namespace deposit_file;

namespace {

const QByteArray kMagic = QByteArrayLiteral("Term Deposit recovery copy 1\n");
const QByteArray kEnd = QByteArrayLiteral("\nend ");
constexpr qsizetype kHashDigits = 16;
constexpr qsizetype kTrailer = 5 + kHashDigits + 1;  // kEnd, the hash in hex, a line end
constexpr char kBaseRun = 'B';
constexpr char kOwnRun = 'O';
constexpr char kRecordRow = 'R';
constexpr char kTextsRow = 'T';

// Records read from the base at a time.
constexpr qint64 kReadRecords = 10'240;

QString tr(const char* text) { return QCoreApplication::translate("RecoveryCopy", text); }

QString notEnoughMemory() { return tr("There is not enough memory to read it."); }

void putNumber(QByteArray& out, qint64 n)
{
    const qint64 le = qToLittleEndian(n);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

QByteArray hashText(quint64 hash) { return QByteArray::number(hash, 16).rightJustified(kHashDigits, '0'); }

// Reads the body of a copy front to back; every read is checked against its end.
class BodyReader {
public:
    BodyReader(const char* data, qsizetype size) : m_at(data), m_end(data + size) {}
    bool atEnd() const { return m_at == m_end; }
    bool byte(char& c)
    {
        if (m_at == m_end)
            return false;
        c = *m_at++;
        return true;
    }
    bool number(qint64& n)
    {
        if (m_end - m_at < qsizetype(sizeof n))
            return false;
        std::memcpy(&n, m_at, sizeof n);
        n = qFromLittleEndian(n);
        m_at += sizeof n;
        return true;
    }
    const char* take(qint64 size)
    {
        if (size < 0 || m_end - m_at < size)
            return nullptr;
        const char* at = m_at;
        m_at += size;
        return at;
    }

private:
    const char* m_at;
    const char* m_end;
};

// One row of the register's own, as the copy holds it.
void putOwnRow(QByteArray& out, const Register& reg, int row, char* scratch)
{
    if (reg.heldAsRecord(row)) {
        out.append(kRecordRow);
        out.append(reg.fileRecords(row, 1, scratch).first(kRecordSize));
        return;
    }
    out.append(kTextsRow);
    for (int c = 0; c < ColumnCount; ++c) {
        const QByteArray text = reg.cell(row, c).toUtf8();
        putNumber(out, text.size());
        out.append(text);
    }
}

// Steps over one own row; its texts, when it has them.
bool readOwnRow(BodyReader& body, const char*& record, std::optional<DepositRecord>& texts)
{
    char kind = 0;
    if (!body.byte(kind))
        return false;
    if (kind == kRecordRow) {
        record = body.take(kRecordSize);
        texts.reset();
        return record != nullptr;
    }
    if (kind != kTextsRow)
        return false;
    DepositRecord d;
    for (int c = 0; c < ColumnCount; ++c) {
        qint64 size = 0;
        const char* text = body.number(size) ? body.take(size) : nullptr;
        if (!text)
            return false;
        d[c] = QString::fromUtf8(text, qsizetype(size));
    }
    record = nullptr;
    texts = std::move(d);
    return true;
}

}  // namespace

qint64 RecoveryBase::records() const { return size / kRecordSize; }

RecoveryCopy RecoveryCopy::of(const Register& reg, const RowPieces& pieces, const RecoveryBase& base,
                              const QString& document, const QDateTime& written)
{
    RecoveryCopy copy;
    copy.document = document;
    copy.written = written;
    copy.base = base;
    copy.deposits = reg.depositCount();
    char scratch[kRecordSize];
    qint64 at = 0;  // deposit index of the piece's first row
    for (const RowPieces::Piece& p : pieces.pieces()) {
        const qint64 length = qMin(p.length, copy.deposits - at);
        if (length <= 0)
            break;
        copy.pieces.push_back({p.baseStart, length});
        if (p.baseStart == RowPieces::kOwn) {
            copy.body.append(kOwnRun);
            putNumber(copy.body, length);
            for (qint64 n = 0; n < length; ++n)
                putOwnRow(copy.body, reg, int(at + n + 1), scratch);
        } else {
            copy.body.append(kBaseRun);
            putNumber(copy.body, p.baseStart);
            putNumber(copy.body, length);
        }
        at += length;
    }
    return copy;
}

QByteArray RecoveryCopy::bytes() const
{
    QByteArray out = kMagic;
    const auto line = [&out](const char* key, const QByteArray& value) {
        out.append(key).append('=').append(value).append('\n');
    };
    line("document", document.toUtf8().toPercentEncoding());
    line("written", written.toUTC().toString(Qt::ISODateWithMs).toLatin1());
    line("deposits", QByteArray::number(deposits));
    if (base.exists()) {
        line("base", base.path.toUtf8().toPercentEncoding());
        line("base-size", QByteArray::number(base.size));
        line("base-hash", hashText(base.hash));
    }
    out.append('\n');
    out.reserve(out.size() + body.size() + kTrailer);
    out.append(body);
    ContentHasher hasher;
    hasher.add(out.constData(), out.size());
    out.append(kEnd).append(hashText(hasher.result())).append('\n');
    return out;
}

std::optional<RecoveryCopy> RecoveryCopy::read(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = ioReason(file);
        return std::nullopt;
    }
    QByteArray bytes;
    try {
        bytes = file.readAll();
    } catch (const std::bad_alloc&) {
        error = notEnoughMemory();
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        error = ioReason(file);
        return std::nullopt;
    }
    const auto broken = [&error] {
        error = tr("It is incomplete or damaged.");
        return std::nullopt;
    };
    const qsizetype sealed = bytes.size() - kTrailer;
    if (!bytes.startsWith(kMagic) || sealed < kMagic.size() ||
        QByteArrayView(bytes).sliced(sealed, kEnd.size()) != kEnd || bytes.back() != '\n')
        return broken();
    ContentHasher hasher;
    hasher.add(bytes.constData(), sealed);
    if (QByteArrayView(bytes).sliced(sealed + kEnd.size(), kHashDigits) != hashText(hasher.result()))
        return broken();

    RecoveryCopy copy;
    qsizetype at = kMagic.size();
    bool depositsSeen = false;
    for (;;) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0 || end >= sealed)
            return broken();
        const QByteArray line = bytes.mid(at, end - at);
        at = end + 1;
        if (line.isEmpty())
            break;
        const qsizetype eq = line.indexOf('=');
        const QByteArray key = line.left(eq), value = line.mid(eq + 1);
        bool ok = eq > 0;
        if (key == "document") {
            copy.document = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
        } else if (key == "written") {
            copy.written = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
        } else if (key == "deposits") {
            copy.deposits = value.toLongLong(&ok);
            depositsSeen = ok;
        } else if (key == "base") {
            copy.base.path = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
        } else if (key == "base-size") {
            copy.base.size = value.toLongLong(&ok);
        } else if (key == "base-hash") {
            copy.base.hash = value.toULongLong(&ok, 16);
        }
        if (!ok)
            return broken();
    }
    if (!depositsSeen || copy.deposits < 0 || !copy.written.isValid() || copy.base.size < 0)
        return broken();

    copy.body = bytes.sliced(at, sealed - at);
    BodyReader body(copy.body.constData(), copy.body.size());
    qint64 rows = 0, baseEnd = 0;
    while (!body.atEnd()) {
        char kind = 0;
        qint64 first = RowPieces::kOwn, length = 0;
        body.byte(kind);
        if (kind == kBaseRun) {
            // Runs of the base come in its order and stay inside it.
            if (!body.number(first) || !body.number(length) || length <= 0 || first < baseEnd ||
                !copy.base.exists() || first > copy.base.records() - length)
                return broken();
            baseEnd = first + length;
        } else if (kind == kOwnRun) {
            if (!body.number(length) || length <= 0 || length > copy.deposits)
                return broken();
            const char* record = nullptr;
            std::optional<DepositRecord> texts;
            for (qint64 n = 0; n < length; ++n) {
                if (!readOwnRow(body, record, texts))
                    return broken();
            }
        } else {
            return broken();
        }
        copy.pieces.push_back({first, length});
        rows += length;
        if (rows > copy.deposits)
            return broken();
    }
    if (rows != copy.deposits)
        return broken();
    return copy;
}

Rebuilt rebuildRecoveredRows(const RecoveryCopy& copy, const QString& basePath, RecoveredRows& out,
                             QString& error, const ProgressStep& progress)
{
    out = {};
    const qint64 bytes = copy.deposits * kRecordSize;
    const QString baseChanged = tr("The file it was made from, %1, has changed since or is gone.")
                                    .arg(QDir::toNativeSeparators(basePath));
    const auto fail = [&](const QString& reason) {
        error = reason;
        out = {};
        return Rebuilt::Failed;
    };
    if (bytes + copy.deposits * 4 > memoryAvailableForData())
        return fail(notEnoughMemory());
    // The base is read where rows come from it; its whole contents are compared.
    const bool fromBase = std::any_of(copy.pieces.begin(), copy.pieces.end(), [](const RowPieces::Piece& p) {
        return p.baseStart != RowPieces::kOwn;
    });
    QFile base(basePath);
    if (fromBase) {
        if (!base.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || base.size() != copy.base.size)
            return fail(baseChanged);
        out.baseIdentity = settledTimes(base.handle());
    }
    try {
        out.records.reserveBytes(qMax<qint64>(bytes, kRecordSize));
    } catch (const std::bad_alloc&) {
        return fail(notEnoughMemory());
    }
    ContentHasher hasher;
    qint64 baseAt = 0;  // records of the base read or passed so far
    QByteArray passed(qsizetype(kReadRecords) * kRecordSize, Qt::Uninitialized);
    bool cancelled = false;
    // Reads the base up to record `until`, into the rows when `keep`, hashing every byte.
    const auto readBase = [&](qint64 until, bool keep) {
        while (baseAt < until) {
            const qint64 count = qMin<qint64>(until - baseAt, kReadRecords);
            char* into = keep ? out.records.room() : passed.data();
            if (base.read(into, count * kRecordSize) != count * kRecordSize)
                return false;
            hasher.add(into, count * kRecordSize);
            if (keep) {
                for (qint64 n = 0; n < count; ++n)
                    normaliseRecord(into + n * kRecordSize);
                out.records.fill(count * kRecordSize);
            }
            baseAt += count;
            if (progress && !progress(out.records.bytes(), bytes)) {
                cancelled = true;
                return false;
            }
        }
        return true;
    };
    BodyReader body(copy.body.constData(), copy.body.size());
    for (const RowPieces::Piece& p : copy.pieces) {
        char kind = 0;
        qint64 skip = 0;
        body.byte(kind);
        body.number(skip);
        if (p.baseStart != RowPieces::kOwn) {
            body.number(skip);
            if (!readBase(p.baseStart, false) || !readBase(p.baseStart + p.length, true)) {
                if (cancelled) {
                    out = {};
                    return Rebuilt::Cancelled;
                }
                return fail(baseChanged);
            }
            continue;
        }
        for (qint64 n = 0; n < p.length; ++n) {
            const char* record = nullptr;
            std::optional<DepositRecord> texts;
            readOwnRow(body, record, texts);
            char* row = out.records.room();
            if (record) {
                std::memcpy(row, record, kRecordSize);
            } else {
                // The nearest record; the texts then go into the row as they stand.
                for (int c = 0; c < ColumnCount; ++c)
                    encodeField((*texts)[c], row, c);
                row[kRecordEndOffset] = kRecordEnd;
                out.texts.emplace_back(out.records.size(), std::move(*texts));
            }
            out.records.fill(kRecordSize);
        }
    }
    if (fromBase) {
        // The rest of the base, so that its whole contents are compared.
        for (qint64 got; (got = base.read(passed.data(), passed.size())) > 0;)
            hasher.add(passed.data(), got);
        if (hasher.result() != copy.base.hash)
            return fail(baseChanged);
        out.baseIdentity.contentHash = copy.base.hash;
    }
    return Rebuilt::Done;
}

bool fileHolds(const QString& path, const RecoveryBase& base, FileIdentity& identity)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || file.size() != base.size)
        return false;
    FileIdentity settled = settledTimes(file.handle());
    ContentHasher hasher;
    QByteArray piece(qsizetype(kReadRecords) * kRecordSize, Qt::Uninitialized);
    for (qint64 got; (got = file.read(piece.data(), piece.size())) > 0;)
        hasher.add(piece.data(), got);
    if (file.error() != QFileDevice::NoError || hasher.result() != base.hash)
        return false;
    settled.contentHash = base.hash;
    identity = settled;
    return true;
}

}  // namespace td
