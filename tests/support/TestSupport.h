#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

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

// A settings store in a private file, so tests never touch the user's preferences.
struct TempSettings {
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings{
        new QSettings(dir.path() + QStringLiteral("/settings.ini"), QSettings::IniFormat)};
};
