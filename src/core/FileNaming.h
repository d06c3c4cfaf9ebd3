#pragma once

#include "bridge/DomainError.h"

#include <QDateTime>
#include <QSet>
#include <QString>

#include <functional>

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

    // How names in one folder are told apart: exactly, or ignoring letter case (Android's shared
    // storage, where "Photo.JPG" and "photo.jpg" name one file). Either way the composed and the
    // decomposed form of the same letters ("é" as one character or as "e" and an accent) are one
    // name: a user cannot tell them apart, though a file system may.
    enum class NameMatch { exact, ignoringCase };
    // The text names are compared by under `match`: equal keys name the same entry.
    static QString nameKey(const QString &name, NameMatch match);

    // `name` when it is not taken, else stem-2.ext, stem-3.ext, ...; the returned
    // name is added to `usedNames`. Candidates never exceed `maxNameBytes`.
    static QString uniqueFileName(const QString &name, QSet<QString> &usedNames);
    // The same with names compared under `match`: `usedKeys` holds keys (nameKey), and the
    // returned name's key is added.
    static QString uniqueFileName(const QString &name, QSet<QString> &usedKeys, NameMatch match);
    // The first of `name`, stem-2.ext, stem-3.ext, ... for which `taken` is false (it asks and
    // reserves nothing). With `keepExtension` false the numbered candidates drop ".ext": a
    // folder "photos.2020" becomes "photos-2".
    static QString freeFileName(const QString &name, const std::function<bool(const QString &)> &taken,
                                bool keepExtension = true);

    // Cuts `name` at a character boundary to at most `maxBytes` UTF-8 bytes,
    // keeping ".ext" when the name has one.
    static QString fitFileName(const QString &name, qsizetype maxBytes = maxNameBytes);

    static DomainError presetError(const QString &message);

    // The local time stamp of default file names, "yyyyMMdd-HHmmss" ("20261210-031500").
    static QString timestamp(const QDateTime &when = QDateTime::currentDateTime());
};
