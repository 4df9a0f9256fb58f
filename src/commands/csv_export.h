#pragma once

#include "core/date_form.h"
#include "storage/safe_replace.h"

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

// Writes rowCount rows to path as CSV as a save writes a deposit file
// (SaveGuard): nothing is written under a name that is no regular file, a
// file with one name is replaced whole, a hard-linked one written in place.
// False, with the file's own reason in errorString, when it fails.
class FileExporter : public SafeFileWriter {
public:
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // Hears how many rows are written every few thousand rows; a false
    // answer stops the export, which fails as cancelled (cancelled()) and
    // leaves the file as it was, or none.
    void setProgressStep(Progress step) { m_progress = std::move(step); }

    bool write(const QString& path, int rowCount, const std::function<QStringList(int)>& rowAt);
    bool writeRegister(const QString& path, const Register& reg, Form form, const DateForm& dateForm);
    bool writeTable(const QString& path, const QList<QStringList>& rows);
    // After a failure: whether the old file was partly overwritten (see SaveGuard::oldFileChanged).
    bool oldFileChanged() const { return m_oldFileChanged; }

private:
    // Puts the rows on the device a chunk at a time; appendRow adds row r to the chunk.
    bool writeRows(const QString& path, int rowCount, const std::function<void(QByteArray&, int)>& appendRow);
    bool cancel();

    Progress m_progress;
    bool m_oldFileChanged = false;
};

}  // namespace csv
}  // namespace td
