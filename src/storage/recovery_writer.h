#pragma once

#include "recovery_copy.h"

#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace td {

// Writes recovery copies on a thread of its own, so that the window never
// waits for the disk: each copy goes through the safe replacement of a save
// (a temporary file, synced, renamed over the copy, the folder synced). Only
// the newest request waits its turn: a copy not yet begun is dropped for a
// newer one, or for the copy's removal, so the last request always wins.
class RecoveryWriter {
public:
    struct Outcome {
        bool removal = false;  // the copy was removed rather than written
        bool done = false;
        QString error;
    };

    RecoveryWriter() = default;
    ~RecoveryWriter();  // finishes what was asked, then ends the thread
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void write(const QString& path, RecoveryCopy copy);
    void remove(const QString& path);
    // Returns when every request has been carried out.
    void waitIdle();

    // Told on the writer's thread after each request.
    void setFinished(std::function<void(const Outcome&)> finished) { m_finished = std::move(finished); }

private:
    struct Request {
        QString path;
        std::optional<RecoveryCopy> copy;  // none: remove the copy
    };
    void post(Request request);
    void run();
    static Outcome carryOut(const Request& request);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Request> m_next;
    bool m_busy = false;
    bool m_stopping = false;
    std::function<void(const Outcome&)> m_finished;
    std::thread m_thread;  // started by the first request
};

}  // namespace td
