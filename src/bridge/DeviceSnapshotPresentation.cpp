// Display values derived from a DeviceSnapshot.
#include "DeviceSnapshot.h"
#include "DeviceText.h"

#include <cmath>

ConnectionKind DeviceSnapshot::connection() const
{
    return detectConnectionKind(serial);
}

bool DeviceSnapshot::hasRoot() const
{
    return suPath && !suPath->isEmpty();
}

bool DeviceSnapshot::hasBattery() const
{
    return (batteryLevel && *batteryLevel >= 1) || (batteryStatusCode && *batteryStatusCode >= 2);
}

QString DeviceSnapshot::marketingName() const
{
    const QString vendor = DeviceText::trimmed(manufacturer ? *manufacturer : brand ? *brand : QString()).toString();
    const QString name = DeviceText::trimmed(model ? *model : QString()).toString();
    if (name.isEmpty())
        return serial;
    if (vendor.isEmpty())
        return name;
    if (name.toLower().startsWith(vendor.toLower()))
        return name;
    return capitalizedFirst(vendor) + QLatin1Char(' ') + name;
}

QString DeviceSnapshot::androidLine() const
{
    if (!androidRelease || androidRelease->isEmpty())
        return QStringLiteral("Android —");
    if (sdkLevel)
        return QStringLiteral("Android ") + *androidRelease + QStringLiteral(" · API ") + QString::number(*sdkLevel);
    return QStringLiteral("Android ") + *androidRelease;
}

std::optional<double> DeviceSnapshot::storageProgress() const
{
    if (!storageTotalBytes || *storageTotalBytes < 1 || !storageUsedBytes)
        return std::nullopt;
    return double(*storageUsedBytes) / double(*storageTotalBytes);
}

std::optional<double> DeviceSnapshot::ramProgress() const
{
    if (!ramTotalBytes || *ramTotalBytes < 1 || !ramAvailableBytes)
        return std::nullopt;
    qint64 used = 0;
    // Only absurd figures overflow; those count as not reported.
    if (__builtin_sub_overflow(*ramTotalBytes, *ramAvailableBytes, &used))
        return std::nullopt;
    return double(used) / double(*ramTotalBytes);
}

std::optional<QString> DeviceSnapshot::batteryStatusText() const
{
    if (!batteryStatusCode)
        return std::nullopt;
    switch (*batteryStatusCode) {
    case 2: return QStringLiteral("Заряжается");
    case 3: return QStringLiteral("Разряжается");
    case 4: return QStringLiteral("Не заряжается");
    case 5: return QStringLiteral("Заряжена");
    default: return QStringLiteral("Неизвестно");
    }
}

std::optional<QString> DeviceSnapshot::batteryHealthText() const
{
    if (!batteryHealthCode)
        return std::nullopt;
    switch (*batteryHealthCode) {
    case 2: return QStringLiteral("Хорошее");
    case 3: return QStringLiteral("Перегрев");
    case 4: return QStringLiteral("Изношена");
    case 5: return QStringLiteral("Повышенное напряжение");
    case 6: return QStringLiteral("Сбой");
    case 7: return QStringLiteral("Переохлаждение");
    default: return QStringLiteral("Неизвестно");
    }
}

std::optional<QString> DeviceSnapshot::uptimeText() const
{
    // NaN fails the first test; infinite and huge values would not fit a 64-bit count.
    if (!uptime || !(*uptime > 0) || !(*uptime < 9223372036854775808.0))
        return std::nullopt;
    const qint64 s = qint64(*uptime);
    const qint64 m = s / 60;
    const qint64 h = (m % 1440) / 60;
    const qint64 n = m % 60;
    if (s < 86400) {
        if (m < 60)
            return QString::number(m) + QStringLiteral(" мин");
        return QString::number(h) + QStringLiteral(" ч ") + QString::number(n) + QStringLiteral(" мин");
    }
    return QString::number(s / 86400) + QStringLiteral(" д ") + QString::number(h) + QStringLiteral(" ч");
}
