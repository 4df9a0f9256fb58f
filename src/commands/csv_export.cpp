#include "commands/csv_export.h"

#include "core/code_page_1252.h"
#include "core/deposit_file_format.h"
#include "core/register.h"
#include "core/text_values.h"
#include "finance/amortisation.h"
#include "storage/save_guard.h"

#include <QCoreApplication>
#include <QIODevice>
#include <array>
#include <cstring>
#include <utility>

namespace td::csv {

namespace {

constexpr qsizetype kChunkBytes = 1 << 20;
// Rows written between two reports of progress.
constexpr int kRowsPerReport = 8192;
// Records read from the register at a time.
constexpr int kRecordsPerRun = 1024;

bool needsQuotes(const QString& text, bool tabs)
{
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
            c == (tabs ? QLatin1Char('\t') : QLatin1Char(',')))
            return true;
    }
    return false;
}

QString quoted(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

}  // namespace

QString field(const QString& text) { return needsQuotes(text, false) ? quoted(text) : text; }

QByteArray line(const QStringList& fields)
{
    QString text;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += field(fields[i]);
    }
    text += QLatin1String("\r\n");
    return text.toUtf8();
}

QString tabSeparated(const QList<QStringList>& rows)
{
    QString text;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += QLatin1Char('\t');
            text += needsQuotes(row[i], true) ? quoted(row[i]) : row[i];
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QString plainText(const QString& shown, Kind kind, const DateForm& form)
{
    switch (kind) {
    case Kind::Money:
        // "0" (a switched-off saving) reads as an amount like any other.
        return ParseNumber(shown) ? FormatTwoDecimals(shown) : shown;
    case Kind::Date:
        if (const std::optional<QDate> date = ParseDate(shown, form))
            return date->toString(Qt::ISODate);
        return shown;
    case Kind::Text:
        break;
    }
    return shown;
}

QString exportText(const QString& shown, Kind kind, Form form, const DateForm& dateForm)
{
    return form == Form::PlainNumbers ? plainText(shown, kind, dateForm) : shown;
}

Kind registerColumnKind(int column)
{
    switch (column) {
    case SaveEachMonth:
    case AccountBalance:
    case FutureValue:
        return Kind::Money;
    case StartDate:
    case TermDate:
        return Kind::Date;
    default:
        return Kind::Text;
    }
}

QStringList registerRow(const Register& reg, int row, Form form, const DateForm& dateForm)
{
    QStringList fields;
    fields.reserve(ColumnCount);
    for (int c = 0; c < ColumnCount; ++c) {
        const QString text = reg.cell(row, c);
        fields << (row == 0 ? text : exportText(text, registerColumnKind(c), form, dateForm));
    }
    return fields;
}

Kind scheduleColumnKind(int column) { return column == ScheduleYear ? Kind::Text : Kind::Money; }

QList<QStringList> scheduleTable(const QList<QStringList>& shownRows, Form form, const DateForm& dateForm)
{
    QList<QStringList> rows;
    QStringList header;
    for (int c = 0; c < ScheduleColumnCount; ++c)
        header << amortisationHeaderText(c);
    rows << header;
    for (const QStringList& shown : shownRows) {
        QStringList fields;
        for (int c = 0; c < shown.size(); ++c)
            fields << exportText(shown[c], scheduleColumnKind(c), form, dateForm);
        rows << fields;
    }
    return rows;
}

namespace {

// What a record's byte asks of its field in CSV: quotes around it, a quote
// doubled, or more than one byte in UTF-8.
enum : quint8 { kNeedsQuotes = 1, kNeedsDoubling = 2, kNeedsUtf8 = 4 };
constexpr std::array<quint8, 256> kByteNeeds = [] {
    std::array<quint8, 256> needs{};
    for (int c = 0x80; c < 0x100; ++c)
        needs[c] = kNeedsUtf8;
    for (const char c : {'\n', '\r', ','})
        needs[static_cast<unsigned char>(c)] = kNeedsQuotes;
    needs['"'] = kNeedsQuotes | kNeedsDoubling;
    return needs;
}();

// The most a record's line takes: three bytes in UTF-8 for each byte of a
// field, two quotes a field, the commas and CR LF.
constexpr qsizetype kRecordLineBytes = 3 * deposit_file::kRecordEndOffset + 2 * ColumnCount + ColumnCount + 1;

char* putUtf8(char* out, char16_t c)
{
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | (c >> 6));
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xE0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

// A record's field as the grid shows it (its characters without the spaces
// at either end), written as field() and line() write that text. The line
// has room for the longest field, so a plain field is copied at its full
// width, the spaces after it written over by what follows.
template <int Column>
char* putField(char* out, const char* record)
{
    constexpr int kWidth = deposit_file::fieldWidth(Column);
    const char* const field = record + deposit_file::fieldOffset(Column);
    const char* end = field + kWidth;
    while (end > field && end[-1] == ' ')
        --end;
    const char* begin = field;
    while (begin < end && *begin == ' ')
        ++begin;
    quint8 needs = 0;
    for (const char* p = begin; p < end; ++p)
        needs |= kByteNeeds[static_cast<unsigned char>(*p)];
    if ((needs & ~kNeedsQuotes) == 0) {
        if (needs)
            *out++ = '"';
        std::memcpy(out, field, kWidth);
        if (begin != field)
            std::memmove(out, begin, std::size_t(end - begin));
        out += end - begin;
        if (needs)
            *out++ = '"';
        return out;
    }
    if (needs & kNeedsQuotes)
        *out++ = '"';
    for (const char* p = begin; p < end; ++p) {
        if (*p == '"')
            *out++ = '"';
        out = putUtf8(out, cp1252::toUnicode(static_cast<unsigned char>(*p)));
    }
    if (needs & kNeedsQuotes)
        *out++ = '"';
    return out;
}

template <int... Columns>
char* putFields(char* out, const char* record, std::integer_sequence<int, Columns...>)
{
    ((out = putField<Columns>(Columns > 0 ? (*out = ',', out + 1) : out, record)), ...);
    return out;
}

void appendRecordLine(QByteArray& chunk, const char* record)
{
    const qsizetype start = chunk.size();
    chunk.resize(start + kRecordLineBytes);
    char* const first = chunk.data() + start;
    char* out = putFields(first, record, std::make_integer_sequence<int, ColumnCount>());
    *out++ = '\r';
    *out++ = '\n';
    chunk.resize(start + (out - first));
}

}  // namespace

bool FileExporter::cancel()
{
    m_cancelled = true;
    return fail(QCoreApplication::translate("Export", "The export was cancelled."));
}

bool FileExporter::writeRows(const QString& path, int rowCount,
                             const std::function<void(QByteArray&, int)>& appendRow)
{
    const auto writeChunks = [&](QIODevice& device, QString& reason) {
        QByteArray chunk;
        chunk.reserve(kChunkBytes + kRecordLineBytes);
        for (int r = 0; r < rowCount; ++r) {
            if (r > 0 && r % kRowsPerReport == 0 && m_progress && !m_progress(r, rowCount)) {
                cancel();
                reason = m_error;
                return false;
            }
            appendRow(chunk, r);
            if (chunk.size() >= kChunkBytes) {
                if (!writeWhole(device, chunk, reason))
                    return false;
                chunk.resize(0);
            }
        }
        return writeWhole(device, chunk, reason);
    };
    SaveGuard guard;
    const bool written =
        guard.save(path, *this, [&](const QString& target) { return replaceFile(target, writeChunks); });
    m_oldFileChanged = guard.oldFileChanged();
    m_error = guard.errorString();
    return written;
}

bool FileExporter::write(const QString& path, int rowCount, const std::function<QStringList(int)>& rowAt)
{
    return writeRows(path, rowCount, [&](QByteArray& chunk, int r) { chunk += line(rowAt(r)); });
}

// The header row, then every deposit row; the spare row is no deposit. A row
// kept as a file record is written straight from its bytes as shown; the
// rest go through their texts.
bool FileExporter::writeRegister(const QString& path, const Register& reg, Form form,
                                 const DateForm& dateForm)
{
    const auto byTexts = [&](QByteArray& chunk, int r) {
        chunk += line(registerRow(reg, r, form, dateForm));
    };
    if (form != Form::AsShown)
        return writeRows(path, reg.rows() - 1, byTexts);
    QByteArray scratch(qsizetype(kRecordsPerRun) * deposit_file::kRecordSize, Qt::Uninitialized);
    QByteArrayView run;  // records of the rows from runStart on
    int runStart = 0;
    return writeRows(path, reg.rows() - 1, [&](QByteArray& chunk, int r) {
        if (r == 0 || !reg.heldAsRecord(r))
            return byTexts(chunk, r);
        if (r < runStart || r >= runStart + run.size() / deposit_file::kRecordSize) {
            run = reg.fileRecords(r, kRecordsPerRun, scratch.data());
            runStart = r;
        }
        appendRecordLine(chunk, run.data() + qsizetype(r - runStart) * deposit_file::kRecordSize);
    });
}

bool FileExporter::writeTable(const QString& path, const QList<QStringList>& rows)
{
    return write(path, static_cast<int>(rows.size()), [&](int r) { return rows.at(r); });
}

}  // namespace td::csv
