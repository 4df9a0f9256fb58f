#include "in_place_mark.h"

#include "folder_sync.h"
#include "own_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace td {

namespace {

// The mark's lines: state, process id, host name, program, boot id, copy.
enum Line { State, ProcessId, HostName, Program, BootId, CopyName, LineCount };
const QByteArray kWriting("writing");
const QByteArray kStopped("stopped");

// The file that a name leads to, as the lock file names it.
QFileInfo fileBehind(const QString& filePath)
{
    const QFileInfo info(filePath);
    const QString canonical = info.canonicalFilePath();
    return QFileInfo(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

// The file name of the program that process pid runs; empty when it runs
// none (it has ended and waits to be reaped), nothing where the system does
// not say (another user's process).
std::optional<QByteArray> programOf(pid_t pid)
{
    char target[4096];
    const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
    const ssize_t size = ::readlink(link.constData(), target, sizeof target);
    if (size < 0)
        return errno == ENOENT ? std::optional<QByteArray>(QByteArray()) : std::nullopt;
    QByteArray path(target, size);
    // A program replaced on disk while it runs (an upgrade) is still itself.
    if (path.endsWith(" (deleted)"))
        path.chop(10);
    return path.mid(path.lastIndexOf('/') + 1);
}

// Changes at every start of the system, where process ids start afresh.
QByteArray bootId()
{
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().trimmed() : QByteArray();
}

InPlaceMark::Writer writerOf(const QList<QByteArray>& lines)
{
    if (lines[State] != kWriting)
        return InPlaceMark::Writer::Stopped;
    if (QString::fromUtf8(lines[HostName]) != QSysInfo::machineHostName())
        return InPlaceMark::Writer::Unknown;
    const qint64 id = lines[ProcessId].toLongLong();
    if (id <= 0 || id > std::numeric_limits<pid_t>::max() || id == ::getpid() || lines[BootId] != bootId())
        return InPlaceMark::Writer::Stopped;
    const pid_t pid = pid_t(id);
    if (::kill(pid, 0) != 0 && errno == ESRCH)
        return InPlaceMark::Writer::Stopped;
    // The process id may have passed to another program since.
    const std::optional<QByteArray> program = programOf(pid);
    return program && *program != lines[Program] ? InPlaceMark::Writer::Stopped
                                                 : InPlaceMark::Writer::Running;
}

QByteArray markText(const QByteArray& state, const QString& copyPath)
{
    QByteArrayList lines(LineCount);
    lines[State] = state;
    lines[ProcessId] = QByteArray::number(::getpid());
    lines[HostName] = QSysInfo::machineHostName().toUtf8();
    lines[Program] = programOf(::getpid()).value_or(QByteArray());
    lines[BootId] = bootId();
    // The copy's bare name: beside the file, whatever path leads to the folder
    // on another computer.
    lines[CopyName] = QFile::encodeName(QFileInfo(copyPath).fileName());
    return lines.join('\n') + '\n';
}

bool writeMark(const QString& filePath, const QByteArray& text, QString& error)
{
    const QString path = InPlaceMark::markPath(filePath);
    QSaveFile mark(path);
    if (!mark.open(QIODevice::WriteOnly) || mark.write(text) != text.size() || !mark.flush() ||
        ::fsync(mark.handle()) != 0 || !mark.commit()) {
        error = mark.errorString();
        return false;
    }
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

}  // namespace

QString InPlaceMark::markPath(const QString& filePath)
{
    const QFileInfo file = fileBehind(filePath);
    return file.dir().filePath(QLatin1Char('.') + file.fileName() + QLatin1String(".inplace"));
}

InPlaceMark InPlaceMark::find(const QString& filePath)
{
    InPlaceMark found;
    QFile file(markPath(filePath));
    if (!file.exists())
        return found;
    // A mark that cannot be read still says that the file may be torn.
    found.writer = Writer::Stopped;
    if (!file.open(QIODevice::ReadOnly))
        return found;
    found.m_text = file.read(8192);
    const QList<QByteArray> lines = found.m_text.split('\n');
    if (lines.size() < LineCount)
        return found;
    found.writer = writerOf(lines);
    found.processId = lines[ProcessId].toLongLong();
    found.hostName = QString::fromUtf8(lines[HostName]);
    // Only a file that this program makes for itself beside the file is taken
    // for the copy: a mark on a shared folder may be anyone's.
    const QFileInfo target = fileBehind(filePath);
    const QString copyName = QFile::decodeName(lines[CopyName]);
    if (isOwnTemporaryName(copyName, target.fileName())) {
        const QString copy = target.dir().filePath(copyName);
        struct stat st {};
        if (::lstat(QFile::encodeName(copy).constData(), &st) == 0 && S_ISREG(st.st_mode))
            found.copyPath = copy;
    }
    return found;
}

bool InPlaceMark::set(const QString& filePath, const QString& copyPath, QString& error)
{
    return writeMark(filePath, markText(kWriting, copyPath), error);
}

// Best effort: a mark that cannot be rewritten stays as it was, and still
// says that the file may be torn.
void InPlaceMark::setStopped(const QString& filePath, const QString& copyPath)
{
    QString ignored;
    writeMark(filePath, markText(kStopped, copyPath), ignored);
}

void InPlaceMark::restore(const QString& filePath, const InPlaceMark& earlier)
{
    QString ignored;
    if (earlier.exists())
        writeMark(filePath, earlier.m_text, ignored);
    else
        clear(filePath);
}

void InPlaceMark::clear(const QString& filePath)
{
    const QString path = markPath(filePath);
    if (QFile::remove(path))
        syncFolder(QFileInfo(path).absolutePath());
}

}  // namespace td
