#pragma once

#include <QString>

// An error that carries a message for the user: a domain ("KestrelPreset",
// "KestrelConsole"), a code and the Russian text shown as its description.
struct DomainError {
    QString domain;
    int code = 1;
    QString message;

    const QString &localizedDescription() const { return message; }

    bool operator==(const DomainError &) const = default;
};
