#pragma once

#include "CommandResult.h"

#include <QList>
#include <QString>

// One device as "fastboot devices" lists it; identified by `id`.
struct FastbootDevice {
    QString id;   // the serial
    QString mode; // "fastboot", "fastbootd" or "bootloader"

    bool operator==(const FastbootDevice &) const = default;
};

size_t qHash(const FastbootDevice &device, size_t seed = 0);

// One bootloader variable; per-partition names keep their partition ("partition-size:boot_a").
struct FastbootVariable {
    QString key;
    QString value;

    bool operator==(const FastbootVariable &) const = default;
};

struct FastbootDeviceList {
    QList<FastbootDevice> devices;
    CommandResult result;
};

struct FastbootVariableList {
    QList<FastbootVariable> pairs;
    CommandResult result;
};
