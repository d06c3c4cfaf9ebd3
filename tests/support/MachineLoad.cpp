#include "MachineLoad.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <unistd.h>

namespace {

QByteArray readProc(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ProcessTimes {
    pid_t parent = 0;
    qint64 ticks = 0; // its own and its reaped children's
};

std::optional<ProcessTimes> timesOf(const QString &pid)
{
    const QByteArray stat = readProc(QStringLiteral("/proc/%1/stat").arg(pid));
    // The name in parentheses may hold spaces: the fields follow its last ')'.
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    // state ppid pgrp session tty tpgid flags minflt cminflt majflt cmajflt utime stime cutime cstime
    if (fields.size() < 15)
        return std::nullopt;
    ProcessTimes t;
    t.parent = pid_t(fields[1].toLongLong());
    for (int i = 11; i <= 14; ++i)
        t.ticks += fields[i].toLongLong();
    return t;
}

} // namespace

MachineLoad::MachineLoad(std::function<QList<pid_t>()> alsoOurs) : m_alsoOurs(std::move(alsoOurs)) {}

void MachineLoad::start()
{
    m_start = sample();
    m_clock.start();
}

std::optional<MachineLoad::Sample> MachineLoad::sample() const
{
    // "cpu  user nice system idle iowait irq softirq steal ...": busy is all but idle and iowait.
    const QList<QByteArray> cpu = readProc(QStringLiteral("/proc/stat")).split('\n').value(0).simplified().split(' ');
    if (cpu.size() < 9 || cpu[0] != "cpu")
        return std::nullopt;
    Sample s;
    for (int i : {1, 2, 3, 6, 7, 8})
        s.busyTicks += cpu[i].toLongLong();

    QHash<pid_t, ProcessTimes> all;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const pid_t pid = pid_t(entry.toLongLong(&numeric));
        if (numeric)
            if (const auto times = timesOf(entry))
                all.insert(pid, *times);
    }
    QSet<pid_t> ours{getpid()};
    if (m_alsoOurs)
        for (pid_t pid : m_alsoOurs())
            ours.insert(pid);
    // Descendants of any of them, however deep.
    for (bool grew = true; grew;) {
        grew = false;
        for (auto it = all.cbegin(); it != all.cend(); ++it)
            if (!ours.contains(it.key()) && ours.contains(it->parent)) {
                ours.insert(it.key());
                grew = true;
            }
    }
    for (pid_t pid : ours)
        s.ourTicks += all.value(pid).ticks;
    return s;
}

std::optional<double> MachineLoad::othersSinceStart() const
{
    const std::optional<Sample> now = sample();
    const qint64 elapsedMs = m_clock.isValid() ? m_clock.elapsed() : 0;
    if (!m_start || !now || elapsedMs <= 0)
        return std::nullopt;
    const double others = double((now->busyTicks - m_start->busyTicks) - (now->ourTicks - m_start->ourTicks));
    return std::max(0.0, others / double(sysconf(_SC_CLK_TCK)) / (double(elapsedMs) / 1000));
}
