#pragma once

#include "CommandResult.h"
#include "RawValue.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// One entry of a folder on this computer; identified by `url` (a local path).
struct LocalFileItem {
    QString url;
    QString name;
    bool isDirectory = false;
    std::optional<qint64> size;
    std::optional<QDateTime> modifiedAt;

    const QString &id() const { return url; }
    bool isUsable() const { return true; }
    bool operator==(const LocalFileItem &) const = default;
};

// One entry of a device folder; identified by its absolute device `path`.
struct DeviceFileItem {
    QString path;
    QString name;
    bool isDirectory = false;
    std::optional<qint64> size;          // never set for a folder
    std::optional<QDateTime> modifiedAt; // UTC
    // The device's name is not UTF-8: `name` shows it with replacement characters, and no
    // command could name the entry again, so it is listed but takes no action. Its `path` is
    // an identity only (it holds a NUL, which no device path does).
    bool undecodableName = false;

    const QString &id() const { return path; }
    bool isUsable() const { return !undecodableName; }
    bool operator==(const DeviceFileItem &) const = default;
};

size_t qHash(const LocalFileItem &item, size_t seed = 0);
size_t qHash(const DeviceFileItem &item, size_t seed = 0);

// The pane of the file manager an action applies to.
enum class FileManagerSide { local, device };
QString rawValue(FileManagerSide side);
template <> QList<FileManagerSide> allCases<FileManagerSide>();
template <> std::optional<FileManagerSide> fromRawValue<FileManagerSide>(const QString &raw);

// The items of one device folder with the run that listed them.
struct DeviceDirectoryListing {
    QList<DeviceFileItem> items;
    CommandResult result;

    bool operator==(const DeviceDirectoryListing &) const = default;
};
