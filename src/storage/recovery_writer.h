#pragma once

#include "recovery_copy.h"
#include "recovery_folder.h"

#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace td {

// Writes this process's recovery copy on a thread of its own, so that the
// window never waits for the disk: the copy's name and lock are claimed
// there on the first write, and each copy goes through the safe replacement
// of a save (a temporary file, synced, renamed over the copy, the folder
// synced). Only the newest request waits its turn: a copy not yet begun is
// dropped for a newer one, or for the copy's removal, so the last request
// always wins.
class RecoveryWriter {
public:
    struct Outcome {
        bool removal = false;  // the copy was removed rather than written
        bool done = false;
        QString error;
    };

    RecoveryWriter();
    ~RecoveryWriter();  // finishes what was asked, then ends the thread
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // The folder of the copy, before the first request.
    void setFolder(const QString& folder) { m_folder = RecoveryFolder(folder); }
    QString folder() const { return m_folder.path(); }

    void write(RecoveryCopy copy);
    void remove();
    // Returns when every request has been carried out.
    void waitIdle();

    // The copy's name and lock, taken now where they are not yet; false with the reason.
    bool claim(QString& error);
    // Empty until claimed.
    QString copyPath() const;

    // Told on the writer's thread after each request.
    void setFinished(std::function<void(const Outcome&)> finished) { m_finished = std::move(finished); }

private:
    struct Request {
        std::optional<RecoveryCopy> copy;  // none: remove the copy
    };
    void post(Request request);
    void run();
    Outcome carryOut(const Request& request);

    RecoveryFolder m_folder{RecoveryFolder::defaultPath()};
    mutable std::mutex m_nameMutex;  // guards the name and lock
    QString m_copyPath;
    std::unique_ptr<QLockFile> m_lock;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Request> m_next;
    bool m_busy = false;
    bool m_stopping = false;
    std::function<void(const Outcome&)> m_finished;
    std::thread m_thread;  // last: it starts once the rest is made
};

}  // namespace td
