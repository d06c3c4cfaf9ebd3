#pragma once

#include "bridge/DeviceFileItem.h"

#include <QList>
#include <QString>

#include <optional>

// The file-system steps of the computer's pane, none of which ever replaces what is there.
namespace LocalFiles {

// Whether anything has `path`: a file, a folder, or a symbolic link, even one whose target is
// gone (writing through such a link would create or overwrite its target).
bool isTaken(const QString &path);

// Whether `name` is taken in `folder`: by an entry of that very name (isTaken), or by one whose
// name is the same letters composed otherwise, which this file system may tell apart but the
// user cannot. Reads the folder (blocking).
bool isNameTaken(const QString &folder, const QString &name);
// The first of `name`, stem-2.ext, stem-3.ext, ... not taken in `folder` in that sense; with
// `keepExtension` false the numbered names drop ".ext". Reads the folder once (blocking).
QString freeName(const QString &folder, const QString &name, bool keepExtension);

// Moves `from` to `to` only while nothing has `to`; the check and the move are one step where
// the file system offers it. Empty on success, else the system's description.
QString renameWithoutReplacing(const QString &from, const QString &to);

// Creates one folder (no parents, nothing replaced). Empty on success, else the description.
QString createFolder(const QString &path);

struct Listing {
    QList<LocalFileItem> items;   // folders first, then names in NameCollation order
    std::optional<QString> error; // set when the folder could not be read
};
// Reads one folder level (blocking: run it off the main thread for big folders). Hidden entries
// only with `includeHidden`; links whose target is gone are listed as files.
Listing list(const QString &folder, bool includeHidden);

// Whether handing `path` to the desktop could start a program instead of showing a document:
// executable files and desktop launchers (".desktop").
bool couldLaunchProgram(const QString &path);

// The system's description of an errno value.
QString describe(int error);

} // namespace LocalFiles
