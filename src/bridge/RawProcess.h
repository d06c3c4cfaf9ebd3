#pragma once

#include "ProcessExecution.h"

#include <QByteArray>
#include <QStringList>

// The undecoded outcome of one child process: for binary output (images) and for
// output that must be checked for valid text field by field.
struct RawCommandResult {
    qint32 exitCode = 0;
    QByteArray stdOut;
    QByteArray stdErr;
    QString startError; // set when the child could not start (exit code -1)
};

// Runs a child to its end with standard input from /dev/null (blocking).
RawCommandResult runProcessRaw(const QString &executable, const QStringList &arguments,
                               RunTimeout timeout = std::nullopt);

// Strict UTF-8: an empty optional when the bytes are not valid UTF-8.
std::optional<QString> decodeUtf8Strict(const QByteArray &bytes);
