#pragma once

#include "ConsoleMode.h"

#include <QString>
#include <QUuid>

// One entry of the console's command history.
struct ConsoleCommandRecord {
    ConsoleCommandRecord() = default;
    ConsoleCommandRecord(ConsoleMode mode, QString command)
        : id(QUuid::createUuid()), mode(mode), command(std::move(command)) {}

    QUuid id;
    ConsoleMode mode = ConsoleMode::deviceShell;
    QString command; // trimmed, as typed

    bool operator==(const ConsoleCommandRecord &) const = default;
};
