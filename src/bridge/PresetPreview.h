#pragma once

#include "AndroidPackage.h"
#include "PackagePreset.h"

#include <QUuid>

// One package of a preset compared with the device; `kind` is none when absent.
struct PresetPackageEntry {
    QString packageName;
    QString displayName;
    std::optional<PackageKind> kind;

    const QString &id() const { return packageName; }
    bool isInstalled() const { return kind.has_value(); }

    bool operator==(const PresetPackageEntry &) const = default;
};

// A loaded preset compared with the device. Each preview has an identity of its own.
struct PresetPreview {
    PresetPreview() = default;
    PresetPreview(PackagePreset preset, QList<PresetPackageEntry> entries)
        : id(QUuid::createUuid()), preset(std::move(preset)), entries(std::move(entries)) {}

    QUuid id;
    PackagePreset preset;
    QList<PresetPackageEntry> entries;
    // Entries of the file that are not package names: shown as not applicable,
    // never compared with the device and never acted on.
    QStringList inapplicableNames;

    QList<PresetPackageEntry> installedEntries() const;
    QList<PresetPackageEntry> missingEntries() const;
    int systemCount() const;
    int userCount() const;

    bool operator==(const PresetPreview &) const = default;
};
