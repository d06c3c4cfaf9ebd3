#include "LinkState.h"

using C = LinkState::Case;

bool LinkState::operator==(const LinkState &other) const
{
    if (kind != other.kind)
        return false;
    return (kind != C::working && kind != C::failed) || text == other.text;
}

QList<LinkState::Case> allLinkStateCases()
{
    return {C::working, C::failed, C::adbMissing, C::searching, C::noDevice, C::unauthorized,
            C::offline, C::recovery, C::sideload, C::fastboot, C::connected};
}

QString title(const LinkState &state)
{
    switch (state.kind) {
    case C::working: return state.text;
    case C::failed: return QStringLiteral("Ошибка");
    case C::adbMissing: return QStringLiteral("ADB не установлен");
    case C::searching: return QStringLiteral("Поиск устройства");
    case C::noDevice: return QStringLiteral("Устройство не подключено");
    case C::unauthorized: return QStringLiteral("Требуется разрешить отладку");
    case C::offline: return QStringLiteral("Устройство offline");
    case C::recovery: return QStringLiteral("Режим Recovery");
    case C::sideload: return QStringLiteral("Режим Sideload");
    case C::fastboot: return QStringLiteral("Режим Fastboot");
    case C::connected: return QStringLiteral("Подключено");
    }
    return {};
}

QString shortTitle(const LinkState &state)
{
    switch (state.kind) {
    case C::working: return QStringLiteral("Выполняется…");
    case C::failed: return QStringLiteral("Ошибка");
    case C::adbMissing: return QStringLiteral("Нет ADB");
    case C::searching: return QStringLiteral("Поиск…");
    case C::noDevice: return QStringLiteral("Не подключено");
    case C::unauthorized: return QStringLiteral("Нет доступа");
    case C::offline: return QStringLiteral("Offline");
    case C::recovery: return QStringLiteral("Recovery");
    case C::sideload: return QStringLiteral("Sideload");
    case C::fastboot: return QStringLiteral("Fastboot");
    case C::connected: return QStringLiteral("Подключено");
    }
    return {};
}

QString subtitle(const LinkState &state)
{
    switch (state.kind) {
    case C::working:
    case C::failed: return state.text;
    case C::adbMissing: return QStringLiteral("Установите Android Platform Tools, чтобы начать работу");
    case C::searching: return QStringLiteral("Опрашиваем ADB-сервер");
    case C::noDevice: return QStringLiteral("Подключите Android по USB или добавьте устройство по сети");
    case C::unauthorized:
        return QStringLiteral("Подтвердите запрос «Разрешить отладку по USB» на экране устройства");
    case C::offline: return QStringLiteral("ADB видит устройство, но не может с ним обмениваться данными");
    case C::recovery: return QStringLiteral("Доступен ограниченный набор команд");
    case C::sideload: return QStringLiteral("Устройство ждёт установку пакета обновления");
    case C::fastboot: return QStringLiteral("Доступны только команды fastboot");
    case C::connected: return QStringLiteral("Канал ADB установлен");
    }
    return {};
}

Tone tone(const LinkState &state)
{
    switch (state.kind) {
    case C::working:
    case C::searching: return Tone::accent;
    case C::failed:
    case C::adbMissing: return Tone::danger;
    case C::noDevice: return Tone::neutral;
    case C::unauthorized:
    case C::offline:
    case C::recovery:
    case C::sideload: return Tone::warning;
    case C::fastboot: return Tone::violet;
    case C::connected: return Tone::success;
    }
    return Tone::neutral;
}

Tone ambientTone(const LinkState &state)
{
    return state.kind == C::connected ? Tone::accent : tone(state);
}

QString icon(const LinkState &state)
{
    switch (state.kind) {
    case C::working:
    case C::recovery: return QStringLiteral("arrow.triangle.2.circlepath");
    case C::failed: return QStringLiteral("xmark.octagon.fill");
    case C::adbMissing: return QStringLiteral("exclamationmark.triangle.fill");
    case C::searching: return QStringLiteral("dot.radiowaves.left.and.right");
    case C::noDevice: return QStringLiteral("cable.connector.slash");
    case C::unauthorized: return QStringLiteral("lock.trianglebadge.exclamationmark.fill");
    case C::offline: return QStringLiteral("bolt.horizontal.circle.fill");
    case C::sideload: return QStringLiteral("shippingbox.fill");
    case C::fastboot: return QStringLiteral("bolt.fill");
    case C::connected: return QStringLiteral("checkmark.circle.fill");
    }
    return {};
}

bool isLive(const LinkState &state)
{
    return state.kind == C::working || state.kind == C::connected;
}

bool isBusy(const LinkState &state)
{
    return state.kind == C::working;
}
