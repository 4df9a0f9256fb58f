#pragma once

#include "support/main_window_world.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace td::test {

// The folder outlives the window, which releases its lock file there when it goes.
struct FileFolder {
    QTemporaryDir dir;
};

// A started main window in a fake world, with a folder of its own for files.
struct FileWorld : FileFolder, MainWindowWorld {
    frmTermDeposit& window = w;

    // A name in the world's folder; a whole path stays as it is.
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }

    // Deposits as the details dialog leaves them: appended, the register marked modified.
    void addDeposits(int count, const QString& prefix = QStringLiteral("AC"))
    {
        for (int n = 1; n <= count; ++n) {
            DepositRecord d;
            d.texts = {QStringLiteral("%1%2").arg(prefix).arg(n),
                       QStringLiteral("0"),
                       QStringLiteral("5.5"),
                       QStringLiteral("1"),
                       QStringLiteral("0"),
                       QStringLiteral("01/01/2024"),
                       QStringLiteral("01/01/2025"),
                       QStringLiteral("$1,000.00"),
                       QStringLiteral("$1,056.41"),
                       n % 2 ? QStringLiteral("Yes") : QStringLiteral("No")};
            window.Grid().appendDeposit(d);
        }
        window.flags().ModifiedFlag = true;
    }

    void answerFile(const QString& name) { fake.files.answers.push_back(path(name)); }
    void cancelFile() { fake.files.answers.push_back(std::nullopt); }
    // Runs a File menu command (by its place in the menu) whose file dialog is answered with name.
    void runWithFile(int command, const QString& name)
    {
        answerFile(name);
        window.mnuFileItem_Click(command);
    }
    void answer(MessageButton button) { fake.messages.answers.push_back(button); }

    QStringList titlesAsked() const
    {
        QStringList titles;
        for (const RecordedMessage& m : fake.messages.asked)
            titles.append(m.title);
        return titles;
    }

    QString title() const { return window.windowTitle(); }
    static QString titleOf(const QString& file)
    {
        return QStringLiteral("Quendarith Information Technology Term Deposit - ") + file;
    }
};

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A record of the deposit file with the given texts, space-filled.
inline QByteArray depositRecord(const QList<QByteArray>& fields)
{
    static const int widths[] = {20, 15, 7, 2, 2, 10, 10, 15, 15, 3};
    QByteArray r;
    for (int c = 0; c < 10; ++c)
        r += fields.value(c).leftJustified(widths[c], ' ', true);
    return r + '\r';
}

// Whether the message is the file error box that names the path and tells the reason.
inline bool tellsFileError(const RecordedMessage& m, const QString& path, const QString& reason,
                           Qt::CaseSensitivity reasonCase = Qt::CaseSensitive)
{
    return m == RecordedMessage{"Term Deposit File Error", m.text, MessageIcon::Information,
                                MessageButtons::Ok} &&
           m.text.contains(QDir::toNativeSeparators(path)) && m.text.contains(reason, reasonCase);
}

inline QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                               QDir::Name);
}

}  // namespace td::test
