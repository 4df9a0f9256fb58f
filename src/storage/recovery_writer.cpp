#include "recovery_writer.h"

#include "folder_sync.h"
#include "safe_replace.h"

#include <QFile>
#include <QFileInfo>

namespace td {

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

void RecoveryWriter::write(const QString& path, RecoveryCopy copy) { post({path, std::move(copy)}); }

void RecoveryWriter::remove(const QString& path) { post({path, std::nullopt}); }

void RecoveryWriter::post(Request request)
{
    {
        std::lock_guard lock(m_mutex);
        m_next = std::move(request);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
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
    if (!request.copy) {
        outcome.removal = true;
        outcome.done = QFile::remove(request.path) || !QFileInfo::exists(request.path);
        if (outcome.done)
            syncFolder(QFileInfo(request.path).absolutePath());
        return outcome;
    }
    const QByteArray bytes = request.copy->bytes();
    outcome.done = replaceFileSafely(
        request.path,
        [&bytes](QIODevice& device, QString& reason) { return writeWhole(device, bytes, reason); },
        outcome.error);
    return outcome;
}

}  // namespace td
