#pragma once

#include <QString>

// The outcome of one tool run. `stdOut`/`stdErr` stand for the record's standard
// output and standard error texts (the C library owns the names stdout and stderr).
struct CommandResult {
    qint32 exitCode = 0;
    QString stdOut;
    QString stdErr;

    bool succeeded() const { return exitCode == 0; }
    // The non-blank texts of stdOut and stdErr, untrimmed, joined by one line break.
    QString combinedOutput() const;

    bool operator==(const CommandResult &) const = default;
};
