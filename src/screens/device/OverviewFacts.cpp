#include "OverviewFacts.h"

#include "bridge/Bytes.h"

#include <QLocale>

#include <cmath>

namespace OverviewFacts {

QString dash() { return QStringLiteral("—"); }

namespace {

QString orDash(const std::optional<QString> &text) { return text && !text->isEmpty() ? *text : dash(); }

QString percentOf(double share)
{
    // Truncated, not rounded: 0.999 is 99 %.
    const double percent = std::trunc(share * 100.0);
    return std::isfinite(percent) && std::abs(percent) < 1e15 ? QString::number(qint64(percent)) : dash();
}

} // namespace

QString deviceTitle(const std::optional<DeviceSnapshot> &snapshot, const std::optional<AndroidDevice> &device)
{
    if (snapshot)
        return snapshot->marketingName();
    if (device)
        return device->displayName();
    return QStringLiteral("Устройство");
}

QString androidLine(const std::optional<DeviceSnapshot> &snapshot)
{
    return snapshot ? snapshot->androidLine() : QStringLiteral("Android —");
}

QList<Badge> factBadges(const std::optional<DeviceSnapshot> &snapshot)
{
    if (!snapshot)
        return {{QStringLiteral("cable.connector"), dash()}};
    const DeviceSnapshot &s = *snapshot;
    QList<Badge> badges{{icon(s.connection()), title(s.connection())}};
    if (s.securityPatch)
        badges << Badge{QStringLiteral("shield.lefthalf.filled"), *s.securityPatch};
    if (s.abi)
        badges << Badge{QStringLiteral("cpu"), *s.abi};
    if (s.hasRoot())
        badges << Badge{QStringLiteral("key.fill"), QStringLiteral("root"), Tone::violet, BadgeStyle::soft};
    if (const auto uptime = s.uptimeText())
        badges << Badge{QStringLiteral("clock"), *uptime};
    if (s.buildType && *s.buildType != QStringLiteral("user"))
        badges << Badge{QStringLiteral("hammer"), *s.buildType, Tone::warning, BadgeStyle::soft};
    return badges;
}

Tile batteryTile(const std::optional<DeviceSnapshot> &snapshot)
{
    Tile tile{QStringLiteral("bolt.fill"), QStringLiteral("Батарея"), dash()};
    if (!snapshot)
        return tile;
    const DeviceSnapshot &s = *snapshot;
    if (!s.hasBattery()) {
        tile.footnote = QStringLiteral("Аккумулятор не обнаружен");
        return tile;
    }
    tile.unit = QStringLiteral("%");
    if (s.batteryLevel) {
        const qint64 level = *s.batteryLevel;
        tile.value = QString::number(level);
        tile.tone = level < 15 ? Tone::danger : level < 35 ? Tone::warning : Tone::success;
        tile.progress = double(level) / 100.0;
    }
    QStringList parts;
    if (const auto status = s.batteryStatusText(); status && *status != QStringLiteral("Неизвестно"))
        parts << *status;
    if (s.batteryTemperature && *s.batteryTemperature > 0)
        parts << QString::asprintf("%.1f °C", *s.batteryTemperature);
    if (const auto health = s.batteryHealthText();
        health && *health != QStringLiteral("Хорошее") && *health != QStringLiteral("Неизвестно"))
        parts << *health;
    if (!parts.isEmpty())
        tile.footnote = parts.join(QStringLiteral(" · "));
    if (s.isCharging == true)
        tile.accessory = Tile::Accessory::charging;
    return tile;
}

Tile storageTile(const std::optional<DeviceSnapshot> &snapshot)
{
    const std::optional<qint64> free = snapshot ? snapshot->storageFreeBytes : std::nullopt;
    const Bytes::Split split = Bytes::split(free);
    Tile tile{QStringLiteral("internaldrive.fill"), QStringLiteral("Свободно в /data"), split.value};
    if (!split.unit.isEmpty())
        tile.unit = split.unit;
    tile.tone = Tone::accent;
    if (!snapshot)
        return tile;
    const std::optional<double> progress = snapshot->storageProgress();
    tile.progress = progress;
    if (progress && *progress > 0.88)
        tile.tone = Tone::warning;
    if (snapshot->storageTotalBytes && progress)
        tile.footnote = QStringLiteral("Занято ") + percentOf(*progress) + QStringLiteral("% из ")
                      + Bytes::shortText(snapshot->storageTotalBytes);
    return tile;
}

Tile memoryTile(const std::optional<DeviceSnapshot> &snapshot)
{
    const Bytes::Split split = Bytes::split(snapshot ? snapshot->ramAvailableBytes : std::nullopt);
    Tile tile{QStringLiteral("memorychip"), QStringLiteral("Свободная память"), split.value};
    if (!split.unit.isEmpty())
        tile.unit = split.unit;
    tile.tone = Tone::violet;
    if (!snapshot)
        return tile;
    tile.progress = snapshot->ramProgress();
    if (snapshot->ramTotalBytes)
        tile.footnote = QStringLiteral("Всего ") + Bytes::shortText(snapshot->ramTotalBytes);
    return tile;
}

Tile applicationsTile(qsizetype packageCount, const PackageCounts &counts, bool busy)
{
    Tile tile{QStringLiteral("square.stack.3d.up.fill"), QStringLiteral("Приложения"),
              packageCount > 0 ? QString::number(packageCount) : dash()};
    if (packageCount == 0) {
        tile.footnote = QStringLiteral("Список ещё не загружен");
        if (busy)
            tile.accessory = Tile::Accessory::loading;
        return tile;
    }
    QStringList parts{QString::number(counts.userPackageCount) + QStringLiteral(" пользовательских")};
    if (counts.disabledPackageCount >= 1)
        parts << QString::number(counts.disabledPackageCount) + QStringLiteral(" отключено");
    if (counts.removedPackageCount >= 1)
        parts << QString::number(counts.removedPackageCount) + QStringLiteral(" удалено");
    tile.footnote = parts.join(QStringLiteral(" · "));
    return tile;
}

QString screenText(const std::optional<DeviceSnapshot> &snapshot)
{
    if (!snapshot || !snapshot->screenSize)
        return dash();
    if (!snapshot->screenOverrideSize)
        return *snapshot->screenSize;
    return *snapshot->screenSize + QStringLiteral(" → ") + *snapshot->screenOverrideSize;
}

QString densityText(const std::optional<DeviceSnapshot> &snapshot)
{
    if (!snapshot || !snapshot->screenDensity)
        return dash();
    if (!snapshot->screenOverrideDensity)
        return QString::number(*snapshot->screenDensity) + QStringLiteral(" dpi");
    return QString::number(*snapshot->screenDensity) + QStringLiteral(" → ")
         + QString::number(*snapshot->screenOverrideDensity) + QStringLiteral(" dpi");
}

QList<InfoLine> technicalRows(const std::optional<DeviceSnapshot> &snapshot, const std::optional<QString> &serial,
                              const std::optional<QString> &adbVersion)
{
    const auto field = [&](std::optional<QString> DeviceSnapshot::*member) {
        return snapshot ? orDash((*snapshot).*member) : dash();
    };
    const std::optional<qint64> sdk = snapshot ? snapshot->sdkLevel : std::nullopt;
    const bool hasBuildID = snapshot && snapshot->buildID;
    // Without a snapshot nothing was measured: root is as unknown as every other fact.
    const QString root = !snapshot ? dash()
                       : snapshot->hasRoot() ? *snapshot->suPath
                                             : QStringLiteral("не обнаружен");
    return {
        {QStringLiteral("Производитель"), field(&DeviceSnapshot::manufacturer)},
        {QStringLiteral("Модель"), field(&DeviceSnapshot::model)},
        {QStringLiteral("Кодовое имя"), field(&DeviceSnapshot::codename), true},
        {QStringLiteral("Бренд"), field(&DeviceSnapshot::brand)},
        {QStringLiteral("Android"), field(&DeviceSnapshot::androidRelease)},
        {QStringLiteral("Уровень API"), sdk ? QString::number(*sdk) : dash()},
        {QStringLiteral("Сборка"), field(&DeviceSnapshot::buildID), true, hasBuildID},
        {QStringLiteral("Тип сборки"), field(&DeviceSnapshot::buildType), true},
        {QStringLiteral("Патч безопасности"), field(&DeviceSnapshot::securityPatch), true},
        {QStringLiteral("Архитектура"), field(&DeviceSnapshot::abi), true},
        {QStringLiteral("Экран"), screenText(snapshot), true},
        {QStringLiteral("Плотность"), densityText(snapshot), true},
        {QStringLiteral("Время работы"), snapshot ? orDash(snapshot->uptimeText()) : dash()},
        {QStringLiteral("Root"), root, true},
        {QStringLiteral("Серийный номер"), orDash(serial), true, true},
        {QStringLiteral("Версия ADB"), orDash(adbVersion), true},
    };
}

QString historyTime(const QDateTime &date)
{
    return QLocale(QLocale::Russian, QLocale::Russia).toString(date.time(), QLocale::ShortFormat);
}

} // namespace OverviewFacts
