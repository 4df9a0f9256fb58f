#include "recovery_writer.h"

#include "folder_sync.h"
#include "safe_replace.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace td {

// The thread starts at once, so that no change waits for it to start.
RecoveryWriter::RecoveryWriter() : m_thread([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void RecoveryWriter::write(RecoveryCopy copy) { post({std::move(copy)}); }

void RecoveryWriter::remove() { post({std::nullopt}); }

bool RecoveryWriter::claim(QString& error)
{
    std::lock_guard lock(m_nameMutex);
    return !m_copyPath.isEmpty() || m_folder.claim(m_copyPath, m_lock, error);
}

QString RecoveryWriter::copyPath() const
{
    std::lock_guard lock(m_nameMutex);
    return m_copyPath;
}

void RecoveryWriter::post(Request request)
{
    {
        std::lock_guard lock(m_mutex);
        m_next = std::move(request);
    }
    m_wake.notify_all();
}

void RecoveryWriter::waitIdle()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_next; });
}

void RecoveryWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_next || m_stopping; });
        if (!m_next)
            return;  // stopping, with nothing left to do
        const Request request = std::move(*m_next);
        m_next.reset();
        m_busy = true;
        lock.unlock();
        const Outcome outcome = carryOut(request);
        if (m_finished)
            m_finished(outcome);
        lock.lock();
        m_busy = false;
        m_idle.notify_all();
    }
}

RecoveryWriter::Outcome RecoveryWriter::carryOut(const Request& request)
{
    Outcome outcome;
    const QString path = copyPath();
    if (!request.copy) {
        outcome.removal = true;
        outcome.done = path.isEmpty() || QFile::remove(path) || !QFileInfo::exists(path);
        if (outcome.done && !path.isEmpty())
            syncFolder(QFileInfo(path).absolutePath());
        return outcome;
    }
    if (path.isEmpty() && !claim(outcome.error))
        return outcome;
    const QByteArray bytes = request.copy->bytes();
    outcome.done = replaceFileSafely(
        copyPath(),
        [&bytes](QIODevice& device, QString& reason) { return writeWhole(device, bytes, reason); },
        outcome.error);
    return outcome;
}

}  // namespace td
