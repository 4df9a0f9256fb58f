#pragma once

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <ctime>

namespace td::bench {

// Seconds on the given clock.
inline double clockSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The offscreen platform, unless QT_QPA_PLATFORM names another (xcb under
// Xvfb, to see what a window system adds): both sides take the same.
inline void platformUnlessChosen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The end of a start-up, the same on both sides of the start-up benchmark:
// the window is shown and the event loop runs until the window system has
// exposed it, which Qt answers with the window's first paint. Prints the
// processor time of the whole process since it began (every thread, the
// dynamic loader included) and the time of the system's monotonic clock,
// both in seconds, for the driver that started the process.
inline int reportFirstShow(QWidget& window)
{
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double cpu = clockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double now = clockSeconds(CLOCK_MONOTONIC);
    std::printf("%.9f %.9f\n", cpu, now);
    std::fflush(stdout);
    return 0;
}

}  // namespace td::bench
