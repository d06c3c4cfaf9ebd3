#include "ProcessSweep.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <csignal>
#include <unistd.h>

namespace {

QByteArray readProcFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

QList<MarkedProcess> processesMarkedWith(const QByteArray &marker)
{
    QList<MarkedProcess> found;
    const pid_t self = getpid();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        const pid_t pid = entry.toInt(&numeric);
        if (!numeric || pid == self)
            continue;
        const QString base = QStringLiteral("/proc/") + entry;
        const QByteArray commandLine = readProcFile(base + QStringLiteral("/cmdline"));
        if (commandLine.isEmpty())
            continue; // a kernel thread or a zombie: nothing holds a port or a file
        if (!commandLine.contains(marker) && !readProcFile(base + QStringLiteral("/environ")).contains(marker))
            continue;
        QByteArray shown = commandLine;
        shown.replace('\0', ' ');
        found << MarkedProcess{pid, QString::fromUtf8(shown.trimmed())};
    }
    return found;
}

QString describe(const QList<MarkedProcess> &processes)
{
    QStringList lines;
    for (const MarkedProcess &p : processes)
        lines << QString::number(p.pid) + QStringLiteral(": ") + p.commandLine;
    return lines.join(QLatin1Char('\n'));
}

bool awaitNoneMarkedWith(const QByteArray &marker, int timeoutMs, QList<MarkedProcess> *leftOver)
{
    QDeadlineTimer deadline(timeoutMs);
    QList<MarkedProcess> remaining = processesMarkedWith(marker);
    while (!remaining.isEmpty() && !deadline.hasExpired()) {
        QThread::msleep(20); // polling /proc: there is no signal for another process's end
        remaining = processesMarkedWith(marker);
    }
    if (leftOver)
        *leftOver = remaining;
    for (const MarkedProcess &p : remaining)
        ::kill(p.pid, SIGKILL); // the next run must find the machine clean even after a failure
    return remaining.isEmpty();
}
