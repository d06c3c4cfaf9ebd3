#pragma once

#include "PresetAction.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

class QJsonObject;

// A named list of packages with one action, as stored in a preset file.
struct PackagePreset {
    static constexpr qint64 supportedVersion = 1;

    qint64 version = supportedVersion;
    QString name;
    QString description;
    PresetAction action = PresetAction::disable;
    QStringList packages;
    QString createdAt;

    // All six keys are required with their JSON types; extra keys are ignored.
    // Nothing beyond the types is checked here.
    static std::optional<PackagePreset> fromJson(const QJsonObject &object);
    static std::optional<PackagePreset> decode(const QByteArray &json);
    QJsonObject toJson() const;
    // The file form: indented, keys sorted, "version" always the supported one.
    QByteArray encode() const;
    // UTC, whole seconds: "2026-01-31T12:00:00Z".
    static QString timestamp(const QDateTime &moment);

    bool operator==(const PackagePreset &) const = default;
};
