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
