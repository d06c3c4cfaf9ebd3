#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <ctime>

// Ticks every few milliseconds on the main thread and keeps the longest gap, in wall time and in
// the main thread's own CPU time (what our code spent there, whatever the shared machine did).
struct DriftProbe {
    QTimer timer;
    QElapsedTimer wall;
    qint64 lastWall = 0;
    qint64 lastCpu = 0;
    qint64 worstWallMs = 0;
    qint64 worstCpuMs = 0;
    qint64 ticks = 0;

    static qint64 threadCpuNanoseconds()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    }

    DriftProbe()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
    }
    void start()
    {
        wall.start();
        lastWall = 0;
        lastCpu = threadCpuNanoseconds();
        timer.start();
    }
    void tick()
    {
        const qint64 nowWall = wall.elapsed();
        const qint64 nowCpu = threadCpuNanoseconds();
        worstWallMs = std::max(worstWallMs, nowWall - lastWall);
        worstCpuMs = std::max(worstCpuMs, (nowCpu - lastCpu) / 1'000'000);
        lastWall = nowWall;
        lastCpu = nowCpu;
        ++ticks;
    }
};
