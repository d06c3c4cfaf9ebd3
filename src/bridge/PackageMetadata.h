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

class QJsonObject;

// Decodes one object printed by the metadata program: "package" and "label" strings
// and an integral "size" are required; an "icon" that is missing, null, empty or not
// strict base64 gives no icon, while an "icon" of another JSON type fails the object.
std::optional<PackageMetadata> decodePackageMetadata(const QJsonObject &object);
