#pragma once

#include <QElapsedTimer>
#include <QList>

#include <functional>
#include <optional>

#include <sys/types.h>

// How busy the rest of the machine kept its CPUs over a stretch of a test: the CPU time of every
// process but this one, its descendants and those `alsoOurs` names (a daemon the test started,
// such as an adb server), read from /proc. A bound on CPU time is judged only on a machine that
// was otherwise idle: contention for cores and caches inflates a thread's own CPU time too.
class MachineLoad {
public:
    explicit MachineLoad(std::function<QList<pid_t>()> alsoOurs = {});

    void start();
    // The CPUs the rest of the machine kept busy on average since start(); none where the
    // system does not say.
    std::optional<double> othersSinceStart() const;

    // Below this the machine counts as otherwise idle.
    static constexpr double kIdleCpus = 1.0;

private:
    struct Sample {
        qint64 busyTicks = 0; // every CPU's, all processes
        qint64 ourTicks = 0;
    };
    std::optional<Sample> sample() const;

    std::function<QList<pid_t>()> m_alsoOurs;
    std::optional<Sample> m_start;
    QElapsedTimer m_clock;
};
