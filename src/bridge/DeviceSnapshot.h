#pragma once

#include "CommandResult.h"
#include "ConnectionKind.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The facts of one probe run on a device. Every fact but the serial is optional: what
// the device did not report stays absent instead of taking a default.
struct DeviceSnapshot {
    QString serial;
    std::optional<QString> model;
    std::optional<QString> manufacturer;
    std::optional<QString> brand;
    std::optional<QString> codename;
    std::optional<QString> androidRelease;
    std::optional<qint64> sdkLevel;
    std::optional<QString> securityPatch;
    std::optional<QString> buildID;
    std::optional<QString> buildType;
    std::optional<QString> abi;
    std::optional<qint64> batteryLevel;       // percent, as reported
    std::optional<qint64> batteryStatusCode;
    std::optional<qint64> batteryHealthCode;
    std::optional<double> batteryTemperature; // °C
    std::optional<double> batteryVoltage;     // volts
    std::optional<bool> isCharging;           // true or absent, never false
    std::optional<qint64> storageTotalBytes;
    std::optional<qint64> storageUsedBytes;
    std::optional<qint64> storageFreeBytes;
    std::optional<qint64> ramTotalBytes;
    std::optional<qint64> ramAvailableBytes;
    std::optional<QString> screenSize;
    std::optional<QString> screenOverrideSize;
    std::optional<qint64> screenDensity;
    std::optional<qint64> screenOverrideDensity;
    std::optional<double> uptime;             // seconds since boot
    std::optional<QString> suPath;
    std::optional<QDateTime> capturedAt;      // when it was parsed

    bool operator==(const DeviceSnapshot &) const = default;

    // The shell script sent as one argument; it prints "prop key=value" lines and then
    // sections headed by "##name" markers.
    static const QString &probeScript();
    // Never fails: unreadable lines and values are skipped and stay absent.
    static DeviceSnapshot parse(QStringView output, const QString &serial);

    // Derived values for display; all pure.
    ConnectionKind connection() const;
    bool hasRoot() const;
    bool hasBattery() const;
    QString marketingName() const;
    QString androidLine() const;
    std::optional<double> storageProgress() const;
    std::optional<double> ramProgress() const;
    std::optional<QString> batteryStatusText() const;
    std::optional<QString> batteryHealthText() const;
    std::optional<QString> uptimeText() const;
};

// What ADBService::deviceSnapshot returns: the snapshot and the probe's own result.
struct DeviceSnapshotLoad {
    DeviceSnapshot snapshot;
    CommandResult result;

    bool operator==(const DeviceSnapshotLoad &) const = default;
};
