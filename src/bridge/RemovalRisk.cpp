#include "RemovalRisk.h"

std::optional<RemovalRisk> removalRiskFromRawValue(int raw)
{
    if (raw < 0 || raw > 3)
        return std::nullopt;
    return RemovalRisk(raw);
}

QString title(RemovalRisk risk)
{
    switch (risk) {
    case RemovalRisk::safe: return QStringLiteral("Безопасно");
    case RemovalRisk::review: return QStringLiteral("Проверьте");
    case RemovalRisk::advanced: return QStringLiteral("Для опытных");
    case RemovalRisk::critical: return QStringLiteral("Критично");
    }
    return {};
}

QString shortTitle(RemovalRisk risk)
{
    switch (risk) {
    case RemovalRisk::safe: return QStringLiteral("Safe");
    case RemovalRisk::review: return QStringLiteral("Review");
    case RemovalRisk::advanced: return QStringLiteral("Advanced");
    case RemovalRisk::critical: return QStringLiteral("Critical");
    }
    return {};
}

QString icon(RemovalRisk risk)
{
    switch (risk) {
    case RemovalRisk::safe: return QStringLiteral("checkmark.shield.fill");
    case RemovalRisk::review: return QStringLiteral("questionmark.circle.fill");
    case RemovalRisk::advanced: return QStringLiteral("exclamationmark.triangle.fill");
    case RemovalRisk::critical: return QStringLiteral("hand.raised.fill");
    }
    return {};
}

Tone tone(RemovalRisk risk)
{
    switch (risk) {
    case RemovalRisk::safe: return Tone::success;
    case RemovalRisk::review: return Tone::accent;
    case RemovalRisk::advanced: return Tone::warning;
    case RemovalRisk::critical: return Tone::danger;
    }
    return Tone::neutral;
}

QString explanation(RemovalRisk risk)
{
    switch (risk) {
    case RemovalRisk::safe:
        return QStringLiteral("Приложение не участвует в работе системы. Отключение или удаление для пользователя не влияет на другие функции.");
    case RemovalRisk::review:
        return QStringLiteral("Назначение пакета не определено однозначно. Прочитайте описание и решите сами; начните с отключения, а не удаления.");
    case RemovalRisk::advanced:
        return QStringLiteral("Пакет связан с заметной функцией устройства. После отключения часть сценариев перестанет работать до восстановления.");
    case RemovalRisk::critical:
        return QStringLiteral("Компонент операционной системы. Отключение может привести к циклическим ошибкам, потере связи или невозможности загрузки.");
    }
    return {};
}

template <> QList<RemovalRisk> allCases<RemovalRisk>()
{
    return {RemovalRisk::safe, RemovalRisk::review, RemovalRisk::advanced, RemovalRisk::critical};
}
