#pragma once

#include "bridge/ProcessExecution.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>

#include <algorithm>

#include <QCoro/QCoroTask>

#include <functional>
#include <memory>

// An argument vector from UTF-8 literals.
inline QStringList S(std::initializer_list<const char *> words)
{
    QStringList list;
    for (const char *w : words)
        list << QString::fromUtf8(w);
    return list;
}

// Runs a coroutine to its end on this thread's event loop.
template <typename T>
T runSync(QCoro::Task<T> task)
{
    if constexpr (std::is_void_v<T>)
        QCoro::waitFor(std::move(task));
    else
        return QCoro::waitFor(std::move(task));
}

// Spins the event loop until `done` holds or the time runs out (generous: a loaded
// machine runs the fake tool slowly, and only a failing test waits the whole time).
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs = 20000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// Waits until every command (and every other job of the process pool) started so far
// has ended and what it handed back has been delivered on this thread, including the
// commands those deliveries start in turn. A test that checks that nothing happens
// calls this first, so a late answer has arrived before it looks.
inline bool settleCommands(int timeoutMs = 20000)
{
    QDeadlineTimer deadline(timeoutMs);
    int quietRounds = 0;
    while (quietRounds < 2) {
        if (!processThreadPool()->waitForDone(int(std::max<qint64>(deadline.remainingTime(), 0))))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
        quietRounds = processThreadPool()->activeThreadCount() == 0 ? quietRounds + 1 : 0;
        if (deadline.hasExpired())
            return false;
    }
    return true;
}

// A settings store in a private file, so tests never touch the user's preferences.
struct TempSettings {
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings{
        new QSettings(dir.path() + QStringLiteral("/settings.ini"), QSettings::IniFormat)};
};

// An environment variable set for one scope and put back as it was (unset when it was unset),
// also when a check fails on the way.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const QByteArray &value)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_previous(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (m_wasSet)
            qputenv(m_name, m_previous);
        else
            qunsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
    const char *m_name;
    bool m_wasSet;
    QByteArray m_previous;
};

// QStandardPaths' test mode (locations under ~/.qttest) for one scope.
struct StandardPathsTestMode {
    StandardPathsTestMode() { QStandardPaths::setTestModeEnabled(true); }
    ~StandardPathsTestMode() { QStandardPaths::setTestModeEnabled(false); }
    StandardPathsTestMode(const StandardPathsTestMode &) = delete;
    StandardPathsTestMode &operator=(const StandardPathsTestMode &) = delete;
};
