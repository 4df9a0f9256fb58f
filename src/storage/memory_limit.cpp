#include "memory_limit.h"

#include <QFile>
#include <limits>
#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace td {

namespace {

#ifdef __linux__
// A "Name:   1234 kB" line of /proc/meminfo, in bytes, or -1.
qint64 meminfoBytes(const QByteArray& meminfo, QByteArrayView name)
{
    for (const QByteArray& line : meminfo.split('\n')) {
        if (line.startsWith(name) && line.size() > name.size() && line[name.size()] == ':') {
            bool ok = false;
            const qint64 kb = line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong(&ok);
            return ok ? kb * 1024 : -1;
        }
    }
    return -1;
}

// Room under a resource limit, given what the process already uses of it.
qint64 roomUnder(int resource, qint64 used)
{
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::numeric_limits<qint64>::max();
    return qMax<qint64>(0, qint64(limit.rlim_cur) - used);
}
#endif

}  // namespace

qint64 memoryAvailableForData()
{
    qint64 available = std::numeric_limits<qint64>::max();
#ifdef __linux__
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly)) {
        const QByteArray text = meminfo.readAll();
        const qint64 memory = meminfoBytes(text, "MemAvailable");
        if (memory >= 0)
            available = memory + qMax<qint64>(0, meminfoBytes(text, "SwapFree"));
    }
    // /proc/self/statm: the pages of the whole address space and of data, its first and sixth numbers.
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> pages = statm.readAll().trimmed().split(' ');
        const qint64 page = sysconf(_SC_PAGESIZE);
        if (pages.size() >= 6) {
            available = qMin(available, roomUnder(RLIMIT_AS, pages[0].toLongLong() * page));
            available = qMin(available, roomUnder(RLIMIT_DATA, pages[5].toLongLong() * page));
        }
    }
#endif
    return available;
}

}  // namespace td
