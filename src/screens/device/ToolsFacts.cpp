#include "ToolsFacts.h"

#include "bridge/DeviceText.h"

#include <algorithm>

namespace ToolsFacts {

std::optional<qint64> readInteger(const QString &text) { return DeviceText::readInteger(text); }

bool canApplySize(const QString &width, const QString &height)
{
    return readInteger(width) && readInteger(height);
}

std::optional<QString> sizeToApply(const QString &width, const QString &height)
{
    const auto w = readInteger(width), h = readInteger(height);
    if (!w || !h || *w <= 200 || *h <= 200)
        return std::nullopt;
    return QString::number(*w) + QLatin1Char('x') + QString::number(*h);
}

bool canApplyDensity(const QString &density) { return readInteger(density).has_value(); }

std::optional<int> densityToApply(const QString &density)
{
    const auto dpi = readInteger(density);
    if (!dpi || *dpi < 72 || *dpi > 900)
        return std::nullopt;
    return int(*dpi);
}

QString shownSize(const std::optional<DeviceSnapshot> &snapshot)
{
    if (snapshot && snapshot->screenOverrideSize)
        return *snapshot->screenOverrideSize;
    if (snapshot && snapshot->screenSize)
        return *snapshot->screenSize;
    return QStringLiteral("—");
}

QString shownDensity(const std::optional<DeviceSnapshot> &snapshot)
{
    const std::optional<qint64> dpi =
        !snapshot ? std::nullopt : snapshot->screenOverrideDensity ? snapshot->screenOverrideDensity : snapshot->screenDensity;
    return dpi ? QString::number(*dpi) + QStringLiteral(" dpi") : QStringLiteral("—");
}

const QList<qint64> &timeoutChoices()
{
    static const QList<qint64> choices{15000, 30000, 60000, 300000, 1800000};
    return choices;
}

QString timeoutLabel(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000;
    if (milliseconds > 59999)
        return QString::number(seconds / 60) + QStringLiteral(" мин");
    return QString::number(seconds) + QStringLiteral(" с");
}

const QList<RebootTarget> &rebootTargets()
{
    static const QList<RebootTarget> targets{
        {QStringLiteral("system"), std::nullopt, QStringLiteral("Перезагрузить систему"),
         QStringLiteral("arrow.clockwise.circle"), QStringLiteral("Перезагрузить"), false,
         QStringLiteral("Устройство перезагрузится в обычном режиме. Несохранённые данные в приложениях будут "
                        "потеряны.")},
        {QStringLiteral("recovery"), QStringLiteral("recovery"), QStringLiteral("Recovery"),
         QStringLiteral("wrench.adjustable"), QStringLiteral("Загрузить Recovery"), true,
         QStringLiteral("Устройство перейдёт в режим восстановления. ADB-подключение будет ограничено до возврата в "
                        "систему.")},
        {QStringLiteral("bootloader"), QStringLiteral("bootloader"), QStringLiteral("Bootloader / Fastboot"),
         QStringLiteral("bolt"), QStringLiteral("Загрузить Bootloader"), true,
         QStringLiteral("Устройство перейдёт в режим загрузчика. Управление будет доступно только через fastboot.")},
    };
    return targets;
}

std::optional<RebootTarget> rebootTarget(const QString &rawValue)
{
    for (const RebootTarget &target : rebootTargets())
        if (target.rawValue == rawValue)
            return target;
    return std::nullopt;
}

const QList<Key> &keys()
{
    static const QList<Key> table{
        {QStringLiteral("Домой"), QStringLiteral("house"), QStringLiteral("KEYCODE_HOME")},
        {QStringLiteral("Назад"), QStringLiteral("chevron.backward"), QStringLiteral("KEYCODE_BACK")},
        // "Меню" shows the recent apps: it sends the task-switch key, not the menu key.
        {QStringLiteral("Меню"), QStringLiteral("square.on.square"), QStringLiteral("KEYCODE_APP_SWITCH")},
        {QStringLiteral("Питание"), QStringLiteral("power"), QStringLiteral("KEYCODE_POWER")},
        {QStringLiteral("Громче"), QStringLiteral("speaker.wave.2"), QStringLiteral("KEYCODE_VOLUME_UP")},
        {QStringLiteral("Тише"), QStringLiteral("speaker.wave.1"), QStringLiteral("KEYCODE_VOLUME_DOWN")},
        {QStringLiteral("Разбудить"), QStringLiteral("sun.max"), QStringLiteral("KEYCODE_WAKEUP")},
        {QStringLiteral("Погасить"), QStringLiteral("moon"), QStringLiteral("KEYCODE_SLEEP")},
        {QStringLiteral("Поиск"), QStringLiteral("magnifyingglass"), QStringLiteral("KEYCODE_SEARCH")},
    };
    return table;
}

QList<FastbootVariable> sortedVariables(const QMap<QString, QString> &variables)
{
    QList<FastbootVariable> rows;
    rows.reserve(variables.size());
    for (auto it = variables.begin(); it != variables.end(); ++it)
        rows.append({it.key(), it.value()});
    // By code point, not by UTF-16 unit: a character beyond the basic plane sorts after U+FFFF.
    std::sort(rows.begin(), rows.end(), [](const FastbootVariable &a, const FastbootVariable &b) {
        return a.key.toUcs4() < b.key.toUcs4();
    });
    return rows;
}

} // namespace ToolsFacts
