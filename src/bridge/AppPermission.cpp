#include "AppPermission.h"

#include <QHash>

namespace {

const QHash<QString, QString> &permissionLabels()
{
    static const QHash<QString, QString> labels = {
        {QStringLiteral("android.permission.CAMERA"), QStringLiteral("Камера")},
        {QStringLiteral("android.permission.RECORD_AUDIO"), QStringLiteral("Микрофон")},
        {QStringLiteral("android.permission.READ_CONTACTS"), QStringLiteral("Чтение контактов")},
        {QStringLiteral("android.permission.WRITE_CONTACTS"), QStringLiteral("Изменение контактов")},
        {QStringLiteral("android.permission.GET_ACCOUNTS"), QStringLiteral("Учётные записи")},
        {QStringLiteral("android.permission.ACCESS_FINE_LOCATION"), QStringLiteral("Точное местоположение")},
        {QStringLiteral("android.permission.ACCESS_COARSE_LOCATION"), QStringLiteral("Приблизительное местоположение")},
        {QStringLiteral("android.permission.ACCESS_BACKGROUND_LOCATION"), QStringLiteral("Местоположение в фоне")},
        {QStringLiteral("android.permission.POST_NOTIFICATIONS"), QStringLiteral("Уведомления")},
        {QStringLiteral("android.permission.CALL_PHONE"), QStringLiteral("Телефонные вызовы")},
        {QStringLiteral("android.permission.READ_PHONE_STATE"), QStringLiteral("Состояние телефона")},
        {QStringLiteral("android.permission.READ_PHONE_NUMBERS"), QStringLiteral("Номер телефона")},
        {QStringLiteral("android.permission.READ_CALL_LOG"), QStringLiteral("Чтение журнала вызовов")},
        {QStringLiteral("android.permission.WRITE_CALL_LOG"), QStringLiteral("Изменение журнала вызовов")},
        {QStringLiteral("android.permission.READ_CALENDAR"), QStringLiteral("Чтение календаря")},
        {QStringLiteral("android.permission.WRITE_CALENDAR"), QStringLiteral("Изменение календаря")},
        {QStringLiteral("android.permission.BLUETOOTH_SCAN"), QStringLiteral("Поиск Bluetooth-устройств")},
        {QStringLiteral("android.permission.BLUETOOTH_CONNECT"), QStringLiteral("Подключение Bluetooth-устройств")},
        {QStringLiteral("android.permission.NEARBY_WIFI_DEVICES"), QStringLiteral("Устройства поблизости по Wi-Fi")},
        {QStringLiteral("android.permission.READ_EXTERNAL_STORAGE"), QStringLiteral("Чтение файлов")},
        {QStringLiteral("android.permission.WRITE_EXTERNAL_STORAGE"), QStringLiteral("Изменение файлов")},
        {QStringLiteral("android.permission.READ_MEDIA_IMAGES"), QStringLiteral("Фото")},
        {QStringLiteral("android.permission.READ_MEDIA_VIDEO"), QStringLiteral("Видео")},
        {QStringLiteral("android.permission.READ_MEDIA_AUDIO"), QStringLiteral("Аудио")},
        {QStringLiteral("android.permission.BODY_SENSORS"), QStringLiteral("Датчики тела")},
        {QStringLiteral("android.permission.ACTIVITY_RECOGNITION"), QStringLiteral("Физическая активность")},
        {QStringLiteral("android.permission.SEND_SMS"), QStringLiteral("Отправка SMS")},
        {QStringLiteral("android.permission.RECEIVE_SMS"), QStringLiteral("Получение SMS")},
        {QStringLiteral("android.permission.READ_SMS"), QStringLiteral("Чтение SMS")},
    };
    return labels;
}

} // namespace

bool AppPermission::canChange() const
{
    for (const QString &flag : flags)
        if (flag == QLatin1String("SYSTEM_FIXED") || flag == QLatin1String("POLICY_FIXED"))
            return false;
    return true;
}

QString AppPermission::displayName() const
{
    const auto &labels = permissionLabels();
    if (const auto it = labels.constFind(name); it != labels.constEnd())
        return *it;
    const QStringList parts = name.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    return parts.isEmpty() ? name : parts.last();
}

size_t qHash(const AppPermission &permission, size_t seed)
{
    return qHashMulti(seed, permission.name, permission.isGranted, permission.flags);
}

QString rawValue(PermissionFilter filter)
{
    switch (filter) {
    case PermissionFilter::all: return QStringLiteral("Все");
    case PermissionFilter::granted: return QStringLiteral("Предоставлены");
    case PermissionFilter::denied: return QStringLiteral("Запрещены");
    }
    return {};
}
bool admits(PermissionFilter filter, const AppPermission &permission)
{
    switch (filter) {
    case PermissionFilter::all: return true;
    case PermissionFilter::granted: return permission.isGranted;
    case PermissionFilter::denied: return !permission.isGranted;
    }
    return true;
}
template <> QList<PermissionFilter> allCases<PermissionFilter>()
{
    return {PermissionFilter::all, PermissionFilter::granted, PermissionFilter::denied};
}
template <> std::optional<PermissionFilter> fromRawValue<PermissionFilter>(const QString &raw)
{
    return rawValueLookup<PermissionFilter>(raw);
}

QString rawValue(PermissionOperation operation)
{
    return operation == PermissionOperation::grant ? QStringLiteral("grant") : QStringLiteral("revoke");
}
QString title(PermissionOperation operation)
{
    return operation == PermissionOperation::grant ? QStringLiteral("Предоставить") : QStringLiteral("Отозвать");
}
template <> QList<PermissionOperation> allCases<PermissionOperation>()
{
    return {PermissionOperation::grant, PermissionOperation::revoke};
}
template <> std::optional<PermissionOperation> fromRawValue<PermissionOperation>(const QString &raw)
{
    return rawValueLookup<PermissionOperation>(raw);
}

bool isValidPermissionName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')
                        || c == u'_' || c == u'.';
        if (!ok)
            return false;
    }
    return true;
}

CommandResult invalidPermissionNameResult(const QString &name)
{
    return CommandResult{-1, QString(),
                         QStringLiteral("Недопустимое имя разрешения «%1»: команда не отправлена на устройство").arg(name)};
}
