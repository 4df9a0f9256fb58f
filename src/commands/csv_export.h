#pragma once

#include "core/date_form.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace td {

class Register;

// Tables out to spreadsheets: comma-separated values as RFC 4180 writes them
// (a field with a comma, a quote or a line break is quoted, quotes doubled,
// lines end in CR LF), in UTF-8, a header row first.
namespace csv {

// The texts exactly as the program shows them, or with plain numbers that a
// spreadsheet computes with: amounts without "$" and "," and dates in ISO 8601.
enum class Form { AsShown, PlainNumbers };

// How a column's texts turn into plain numbers.
enum class Kind { Text, Money, Date };

QString field(const QString& text);
QByteArray line(const QStringList& fields);  // UTF-8, CR LF at the end

// Tab-separated text for the clipboard: a field that holds a tab, a line
// break or a quote is quoted as in CSV; lines end in LF.
QString tabSeparated(const QList<QStringList>& rows);

// The plain number of a shown text; a text that does not read stays as it is.
QString plainText(const QString& shown, Kind kind, const DateForm& form);
QString exportText(const QString& shown, Kind kind, Form form, const DateForm& dateForm);

// The register's column kinds and its rows (header row first) in a form.
Kind registerColumnKind(int column);
QStringList registerRow(const Register& reg, int row, Form form, const DateForm& dateForm);

// The amortisation schedule's column kinds: the year, then amounts.
Kind scheduleColumnKind(int column);
QList<QStringList> scheduleTable(const QList<QStringList>& shownRows, Form form, const DateForm& dateForm);

// Writes rowCount rows to path as CSV through a temporary file that takes the
// place of path only when every byte is on disk, as a save does. False, with
// the file's own reason in errorString, when it fails; the old file stays.
class FileExporter {
public:
    bool write(const QString& path, int rowCount, const std::function<QStringList(int)>& rowAt);
    bool writeRegister(const QString& path, const Register& reg, Form form, const DateForm& dateForm);
    bool writeTable(const QString& path, const QList<QStringList>& rows);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};

}  // namespace csv
}  // namespace td
