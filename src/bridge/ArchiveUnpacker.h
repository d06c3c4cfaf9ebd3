#pragma once

#include "CommandResult.h"

#include <QString>
#include <QStringList>

#include <optional>

// The most an archive may unpack to; a larger one is refused.
inline constexpr qint64 kMaxUnpackedBytes = qint64(4) * 1024 * 1024 * 1024;

// Reads a zip archive's entries through libarchive (the central directory, never the
// contents) and says why it must not be unpacked: an entry with "..", an absolute name,
// a link or other special file, encryption, or a declared total above `maxTotalBytes`.
// None when every entry is a plain file or folder inside the target. Blocking.
std::optional<QString> inspectArchive(const QString &archivePath, qint64 maxTotalBytes = kMaxUnpackedBytes);

// Unpacks a zip archive into `folder` (which must exist) in one pass through libarchive:
// each entry is checked as `inspectArchive` checks it before its data is written, and the
// bytes actually written count against `maxTotalBytes` as well. On a refusal or an error
// everything this call created in `folder` is removed again; the result then has exit
// code -1 and the Russian reason in stdErr. Blocking: callers run it off the main thread.
CommandResult unpackArchive(const QString &archivePath, const QString &folder,
                            qint64 maxTotalBytes = kMaxUnpackedBytes);

// Every regular file named *.apk (any case) below `folder`, hidden names and links
// skipped, ordered by file name in code-point order (stable). Blocking.
QStringList collectApkFiles(const QString &folder);
