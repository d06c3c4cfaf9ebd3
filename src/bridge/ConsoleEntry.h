#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

enum class ConsoleEntryKind { command, standardOutput, standardError, system };

// One transcript entry: an echoed command, one chunk of output (possibly several
// lines, possibly ending mid-line) or a message of the console itself.
struct ConsoleEntry {
    ConsoleEntry() = default;
    // Every entry gets an identifier of its own, so equal texts stay distinct entries.
    ConsoleEntry(QDateTime timestamp, ConsoleEntryKind kind, QString text)
        : id(QUuid::createUuid()), timestamp(std::move(timestamp)), kind(kind), text(std::move(text)) {}

    QUuid id;
    QDateTime timestamp;
    ConsoleEntryKind kind = ConsoleEntryKind::system;
    QString text;

    bool operator==(const ConsoleEntry &) const = default;
};
