#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Writes preset files without ever losing one that is already there.
namespace PresetFileWriter {

struct Outcome {
    QString path;  // the file written
    QString error; // empty on success: "Не удалось записать файл «name»: reason"
};

// Writes `data` as a new file in `folder`: under `firstName` when nothing has that name, else
// under the first free one of `numberedBase` with "-2", "-3", ... before its extension. The
// bytes go to a hidden temporary file that is then linked under the chosen name; the link (or,
// where the file system has none, an exclusive create) fails on any existing entry, so a file
// that appears after the name was chosen is never replaced: the next name is tried.
// `beforeCreate` (tests) runs with each candidate's path just before it is created.
Outcome writeNew(const QString &folder, const QString &firstName, const QString &numberedBase, const QByteArray &data,
                 const std::function<void(const QString &)> &beforeCreate = {});

// Replaces the file at `path` with `data` in one step: the bytes go to a temporary file in the
// same folder, which is renamed over the old file only once complete, so any failure leaves the
// old file as it was. A folder at `path` is refused. Empty on success, else the reason.
QString replace(const QString &path, const QByteArray &data);

// Whether `a` and `b` name one existing file (links and different spellings included).
bool isSameFile(const QString &a, const QString &b);

} // namespace PresetFileWriter
