#pragma once

#include "CommandResult.h"

#include <QStringList>

#include <sys/types.h>

#include <chrono>
#include <optional>

class QThreadPool;

using RunTimeout = std::optional<std::chrono::milliseconds>;

// Runs one child process to its end and collects both output streams (blocking).
// Standard input is /dev/null. A child still running when `timeout` expires is
// terminated (and killed one second later); the result then has exit code -1.
// Output that is not valid UTF-8 reads as empty text.
CommandResult runProcess(const QString &executable, const QStringList &arguments,
                         RunTimeout timeout = std::nullopt);

// Starts `executable` with standard input from /dev/null, standard output on `outFd`
// and standard error on `errFd`, default signal handling and an empty signal mask
// (optionally in a process group of its own). Returns 0 and the pid, or the errno.
int spawnChild(const QString &executable, const QStringList &arguments, int outFd, int errFd, bool ownGroup,
               pid_t *pid);

// The Russian text of a start failure.
QString startFailureText(const QString &executable, int error);

// The pool that blocking child-process work runs on, off the main thread.
QThreadPool *processThreadPool();

// For the application's end: no new child of `runProcess` starts; the work on the process pool
// gets `grace` to finish by itself, then the children still running are terminated with their
// groups (and killed a second later). So no adb run outlives the application, nor starts an adb
// server after it. Returns once the pool is idle (or after the last second of waiting); runs may
// start again once it is.
void endChildProcesses(std::chrono::milliseconds grace);
