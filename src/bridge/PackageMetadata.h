#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One record printed by the on-device metadata program.
struct PackageMetadata {
    QString packageName;
    QString label;
    qint64 size = 0;
    std::optional<QByteArray> iconData;

    bool operator==(const PackageMetadata &) const = default;
};
