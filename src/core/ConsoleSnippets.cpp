#include "ConsoleSnippets.h"

#include <QHashFunctions>

size_t qHash(const ConsoleSnippet &snippet, size_t seed)
{
    return qHashMulti(seed, snippet.id, snippet.group, snippet.title, snippet.command, int(snippet.mode));
}

namespace ConsoleSnippets {

const QList<ConsoleSnippet> &all()
{
    // A function-local static: built on first use, thread-safe, kept to the end.
    static const QList<ConsoleSnippet> catalogue = [] {
        const ConsoleMode shell = ConsoleMode::deviceShell;
        const QString device = QStringLiteral("Устройство");
        const QString apps = QStringLiteral("Приложения");
        const QString screen = QStringLiteral("Экран и ввод");
        const QString network = QStringLiteral("Сеть");
        const QString logs = QStringLiteral("Логи");
        const QString adb = QStringLiteral("ADB");
        return QList<ConsoleSnippet>{
            {device, QStringLiteral("Модель"), QStringLiteral("getprop ro.product.model"), shell},
            {device, QStringLiteral("Версия Android"), QStringLiteral("getprop ro.build.version.release"), shell},
            {device, QStringLiteral("Патч безопасности"), QStringLiteral("getprop ro.build.version.security_patch"), shell},
            {device, QStringLiteral("Батарея"), QStringLiteral("dumpsys battery"), shell},
            {device, QStringLiteral("Свободное место"), QStringLiteral("df -h /data"), shell},
            {device, QStringLiteral("Время работы"), QStringLiteral("uptime"), shell},
            {apps, QStringLiteral("Пользовательские пакеты"), QStringLiteral("pm list packages -3"), shell},
            {apps, QStringLiteral("Отключённые пакеты"), QStringLiteral("pm list packages -d"), shell},
            // These two end with a space: the package name is typed straight after them.
            {apps, QStringLiteral("Путь к APK"), QStringLiteral("pm path "), shell},
            {apps, QStringLiteral("Подробности пакета"), QStringLiteral("dumpsys package "), shell},
            {apps, QStringLiteral("Текущая активность"), QStringLiteral("dumpsys activity activities | grep mResumedActivity"), shell},
            {screen, QStringLiteral("Разрешение"), QStringLiteral("wm size"), shell},
            {screen, QStringLiteral("Плотность"), QStringLiteral("wm density"), shell},
            {screen, QStringLiteral("Кнопка «Домой»"), QStringLiteral("input keyevent KEYCODE_HOME"), shell},
            {network, QStringLiteral("IP-адрес Wi-Fi"), QStringLiteral("ip addr show wlan0"), shell},
            {network, QStringLiteral("Режим полёта"), QStringLiteral("settings get global airplane_mode_on"), shell},
            {logs, QStringLiteral("Последние 100 строк"), QStringLiteral("logcat -d -t 100"), shell},
            {logs, QStringLiteral("Буфер сбоев"), QStringLiteral("logcat -b crash -d"), shell},
            {adb, QStringLiteral("Список устройств"), QStringLiteral("devices -l"), ConsoleMode::adb},
            {adb, QStringLiteral("Версия ADB"), QStringLiteral("version"), ConsoleMode::adb},
            {adb, QStringLiteral("Состояние"), QStringLiteral("get-state"), ConsoleMode::adb},
            {adb, QStringLiteral("Переподключить"), QStringLiteral("reconnect"), ConsoleMode::adb},
        };
    }();
    return catalogue;
}

QStringList groups()
{
    QStringList names;
    for (const ConsoleSnippet &snippet : all())
        if (!names.contains(snippet.group))
            names.append(snippet.group);
    return names;
}

} // namespace ConsoleSnippets
