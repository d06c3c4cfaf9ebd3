#pragma once

#include "ConsoleMode.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// One saved quick command of the console.
struct ConsoleFavorite {
    ConsoleFavorite() = default;
    ConsoleFavorite(ConsoleMode mode, QString command, QUuid id = QUuid::createUuid())
        : id(id), mode(mode), command(std::move(command)) {}

    QUuid id;
    ConsoleMode mode = ConsoleMode::deviceShell;
    QString command;

    bool operator==(const ConsoleFavorite &) const = default;
};

// The stored form: a compact JSON array of {"id", "mode", "command"} objects, the id
// upper-case and hyphenated, the mode as its raw value.
QByteArray encodeConsoleFavorites(const QList<ConsoleFavorite> &favorites);

// Reads the stored form element by element: an element with a missing or mistyped
// key, a malformed id or an unknown mode is skipped, so one bad element never costs
// the user the rest of the list. Ids are accepted in either letter case.
// None when the data is not a JSON array at all.
struct DecodedConsoleFavorites {
    QList<ConsoleFavorite> favorites;
    int skipped = 0; // elements that could not be read
};
std::optional<DecodedConsoleFavorites> decodeConsoleFavorites(const QByteArray &data);
