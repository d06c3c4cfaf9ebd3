#pragma once

#include <QString>

// One device line of "adb devices -l".
struct AndroidDevice {
    QString id;        // the serial; also the identity
    QString state;     // adb's state word as listed
    QString model;     // the "model" key, or empty
    QString transport; // the "transport_id" key, or empty

    bool isReady() const { return state == QStringLiteral("device"); }
    QString displayName() const;

    bool operator==(const AndroidDevice &) const = default;
};

size_t qHash(const AndroidDevice &device, size_t seed = 0);
