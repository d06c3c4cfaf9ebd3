#pragma once

#include "CommandResult.h"

#include <QString>
#include <QStringList>

#include <optional>

// The most an archive may unpack to; a larger one is refused before anything is written.
inline constexpr qint64 kMaxUnpackedBytes = qint64(4) * 1024 * 1024 * 1024;

// Reads a zip archive's central directory and says why it must not be unpacked:
// an entry with "..", an absolute name, a link or other special file, encryption, or a
// declared total above `maxTotalBytes`. None when every entry is a plain file or folder
// inside the target. Blocking; reads only the directory, never the contents.
std::optional<QString> inspectZipArchive(const QString &archivePath, qint64 maxTotalBytes = kMaxUnpackedBytes);

// Unpacks a zip archive into `folder` (which must exist) after inspecting it. Uses ditto
// where the system has it, else Info-ZIP unzip. A refusal is exit code -1 with the Russian
// reason in stdErr; a failing unpacker returns its own result. Blocking.
CommandResult unpackArchive(const QString &archivePath, const QString &folder,
                            qint64 maxTotalBytes = kMaxUnpackedBytes);

// Every regular file named *.apk (any case) below `folder`, hidden names and links
// skipped, ordered by file name in code-point order (stable). Blocking.
QStringList collectApkFiles(const QString &folder);
