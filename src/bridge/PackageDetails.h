#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The facts of one package as "dumpsys package" prints them. Every value stays the
// device's own text: no number or date parsing.
struct PackageDetails {
    QString packageName;
    std::optional<QString> versionName;
    std::optional<QString> versionCode;
    std::optional<QString> targetSDK;
    std::optional<QString> minSDK;
    std::optional<QString> installer;
    std::optional<QString> firstInstallTime;
    std::optional<QString> lastUpdateTime;
    std::optional<QString> dataDirectory;
    std::optional<QString> primaryCPUABI;
    QStringList declaredPermissions;
    qint64 runtimePermissionsGranted = 0;
    qint64 runtimePermissionsTotal = 0;
    QStringList services;
    QStringList receivers;
    QStringList activities;
    QStringList apkPaths;

    bool operator==(const PackageDetails &) const = default;
};
