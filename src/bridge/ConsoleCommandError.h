#pragma once

#include <QString>

// Why an adb-mode console line was refused; the description is what the user reads.
struct ConsoleCommandError {
    enum class Kind { forbiddenDeviceSelector, empty, unmatchedQuote };

    Kind kind = Kind::empty;
    QString argument; // the refused selector, for forbiddenDeviceSelector only

    static ConsoleCommandError forbiddenDeviceSelector(QString argument)
    {
        return {Kind::forbiddenDeviceSelector, std::move(argument)};
    }
    static ConsoleCommandError empty() { return {Kind::empty, {}}; }
    static ConsoleCommandError unmatchedQuote() { return {Kind::unmatchedQuote, {}}; }

    QString errorDescription() const;

    bool operator==(const ConsoleCommandError &) const = default;
};
