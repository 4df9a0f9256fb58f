#include "commands/csv_export.h"

#include "core/register.h"
#include "core/text_values.h"
#include "finance/amortisation.h"
#include "storage/save_guard.h"

#include <QIODevice>

namespace td::csv {

namespace {

constexpr qsizetype kChunkBytes = 1 << 20;

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

bool FileExporter::write(const QString& path, int rowCount, const std::function<QStringList(int)>& rowAt)
{
    const auto writeRows = [&](QIODevice& device, QString& reason) {
        QByteArray chunk;
        for (int r = 0; r < rowCount; ++r) {
            chunk += line(rowAt(r));
            if (chunk.size() >= kChunkBytes) {
                if (!writeWhole(device, chunk, reason))
                    return false;
                chunk.clear();
            }
        }
        return writeWhole(device, chunk, reason);
    };
    SaveGuard guard;
    const bool written =
        guard.save(path, *this, [&](const QString& target) { return replaceFile(target, writeRows); });
    m_oldFileChanged = guard.oldFileChanged();
    m_error = guard.errorString();
    return written;
}

// The header row, then every deposit row; the spare row is no deposit.
bool FileExporter::writeRegister(const QString& path, const Register& reg, Form form,
                                 const DateForm& dateForm)
{
    return write(path, reg.rows() - 1, [&](int r) { return registerRow(reg, r, form, dateForm); });
}

bool FileExporter::writeTable(const QString& path, const QList<QStringList>& rows)
{
    return write(path, static_cast<int>(rows.size()), [&](int r) { return rows.at(r); });
}

}  // namespace td::csv
