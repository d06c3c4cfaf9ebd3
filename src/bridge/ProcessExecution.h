#pragma once

#include "CommandResult.h"

#include <QStringList>

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

// The pool that blocking child-process work runs on, off the main thread.
QThreadPool *processThreadPool();
