#pragma once

#include "bridge/DeviceSnapshot.h"
#include "bridge/FastbootDevice.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// The rules and fixed tables of the Tools screen, as pure values: what a typed size or density
// reads as, when a press applies it, the time-out choices, the reboots and the keys.
namespace ToolsFacts {

// An optional sign and ASCII digits, the whole text, within 64 bits; nothing else (no trimming).
std::optional<qint64> readInteger(const QString &text);

// Whether "Применить" is enabled: both fields read as integers.
bool canApplySize(const QString &width, const QString &height);
// What a press applies: "<width>x<height>" in plain decimal when both exceed 200; else nothing.
std::optional<QString> sizeToApply(const QString &width, const QString &height);
bool canApplyDensity(const QString &density);
// The dpi a press applies: within 72…900; else nothing.
std::optional<int> densityToApply(const QString &density);

// The override when set, else the physical value; "—" without either.
QString shownSize(const std::optional<DeviceSnapshot> &snapshot);
QString shownDensity(const std::optional<DeviceSnapshot> &snapshot);

// 15000, 30000, 60000, 300000, 1800000 ms.
const QList<qint64> &timeoutChoices();
// "15 с", "1 мин", …
QString timeoutLabel(qint64 milliseconds);

struct RebootTarget {
    QString rawValue;              // "system", "recovery", "bootloader"
    std::optional<QString> mode;   // what reboot is given: none for the system
    QString buttonLabel;
    QString icon;
    QString dialogTitle;           // also the confirm button's text and the record's title
    bool destructive = false;
    QString message;
    bool operator==(const RebootTarget &) const = default;
};
const QList<RebootTarget> &rebootTargets();
std::optional<RebootTarget> rebootTarget(const QString &rawValue);

struct Key {
    QString title;
    QString icon;
    QString code;
};
const QList<Key> &keys();

// The variables' names in code point order ("Z" before "a"), each with its value.
QList<FastbootVariable> sortedVariables(const QMap<QString, QString> &variables);

} // namespace ToolsFacts
