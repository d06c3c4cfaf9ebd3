#pragma once

#include "bridge/DomainError.h"

#include <QDateTime>
#include <QSet>
#include <QString>

// Names of the files and folders the application creates itself, and the
// error value of preset reading and writing.
class FileNaming {
public:
    // The longest file name the file systems we write to accept, in UTF-8 bytes.
    static constexpr qsizetype maxNameBytes = 255;

    // Letters, marks and digits of any script plus ".", "_" and "-" stay; every other
    // scalar becomes "_"; dots at both ends go; an empty result gives `fallback`.
    // A result too long for the file system is shortened, keeping its extension.
    static QString safeFileName(const QString &name, const QString &fallback);

    // `name` when it is not taken, else stem-2.ext, stem-3.ext, ...; the returned
    // name is added to `usedNames`. Candidates never exceed `maxNameBytes`.
    static QString uniqueFileName(const QString &name, QSet<QString> &usedNames);

    // Cuts `name` at a character boundary to at most `maxBytes` UTF-8 bytes,
    // keeping ".ext" when the name has one.
    static QString fitFileName(const QString &name, qsizetype maxBytes = maxNameBytes);

    static DomainError presetError(const QString &message);

    // The local time stamp of default file names, "yyyyMMdd-HHmmss" ("20261210-031500").
    static QString timestamp(const QDateTime &when = QDateTime::currentDateTime());
};
