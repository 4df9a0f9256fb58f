#pragma once

#include "storage/in_place_mark.h"

#include <QString>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace td::test {

// Another process that has marked a file as being written in place, with its
// complete copy beside it, as a save does just before the copy over the file
// starts. It runs until it is killed, which leaves the mark as a kill in the
// middle of the copy does.
class InPlaceWriter {
public:
    InPlaceWriter(const QString& path, const QString& copy)
    {
        int pipe[2];
        if (::pipe(pipe) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            QString error;
            const char marked = InPlaceMark::set(path, copy, error) ? '1' : '0';
            (void)!::write(pipe[1], &marked, 1);
            for (;;)
                ::pause();
        }
        ::close(pipe[1]);
        char marked = '0';
        m_marked = m_pid > 0 && ::read(pipe[0], &marked, 1) == 1 && marked == '1';
        ::close(pipe[0]);
    }
    ~InPlaceWriter() { kill(); }
    InPlaceWriter(const InPlaceWriter&) = delete;
    InPlaceWriter& operator=(const InPlaceWriter&) = delete;

    bool marked() const { return m_marked; }
    qint64 processId() const { return m_pid; }
    void kill()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    bool m_marked = false;
};

}  // namespace td::test
