#include "core/ConsoleSnippets.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(ConsoleSnippets, CatalogueInItsOrder)
{
    struct Row {
        const char *group, *title, *command;
        ConsoleMode mode;
    };
    const ConsoleMode shell = ConsoleMode::deviceShell;
    const Row expected[] = {
        {"Устройство", "Модель", "getprop ro.product.model", shell},
        {"Устройство", "Версия Android", "getprop ro.build.version.release", shell},
        {"Устройство", "Патч безопасности", "getprop ro.build.version.security_patch", shell},
        {"Устройство", "Батарея", "dumpsys battery", shell},
        {"Устройство", "Свободное место", "df -h /data", shell},
        {"Устройство", "Время работы", "uptime", shell},
        {"Приложения", "Пользовательские пакеты", "pm list packages -3", shell},
        {"Приложения", "Отключённые пакеты", "pm list packages -d", shell},
        {"Приложения", "Путь к APK", "pm path ", shell},
        {"Приложения", "Подробности пакета", "dumpsys package ", shell},
        {"Приложения", "Текущая активность", "dumpsys activity activities | grep mResumedActivity", shell},
        {"Экран и ввод", "Разрешение", "wm size", shell},
        {"Экран и ввод", "Плотность", "wm density", shell},
        {"Экран и ввод", "Кнопка «Домой»", "input keyevent KEYCODE_HOME", shell},
        {"Сеть", "IP-адрес Wi-Fi", "ip addr show wlan0", shell},
        {"Сеть", "Режим полёта", "settings get global airplane_mode_on", shell},
        {"Логи", "Последние 100 строк", "logcat -d -t 100", shell},
        {"Логи", "Буфер сбоев", "logcat -b crash -d", shell},
        {"ADB", "Список устройств", "devices -l", ConsoleMode::adb},
        {"ADB", "Версия ADB", "version", ConsoleMode::adb},
        {"ADB", "Состояние", "get-state", ConsoleMode::adb},
        {"ADB", "Переподключить", "reconnect", ConsoleMode::adb},
    };
    const QList<ConsoleSnippet> &all = ConsoleSnippets::all();
    ASSERT_EQ(all.size(), qsizetype(std::size(expected)));
    for (qsizetype i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(all[i].group, QString::fromUtf8(expected[i].group));
        EXPECT_EQ(all[i].title, QString::fromUtf8(expected[i].title));
        EXPECT_EQ(all[i].command, QString::fromUtf8(expected[i].command));
        EXPECT_EQ(all[i].mode, expected[i].mode);
    }
    // The package name is typed straight after these two.
    EXPECT_EQ(all[8].command.size(), 8);
    EXPECT_EQ(all[9].command.size(), 16);
    EXPECT_EQ(ConsoleSnippets::groups(), (QStringList{QStringLiteral("Устройство"), QStringLiteral("Приложения"),
                                                      QStringLiteral("Экран и ввод"), QStringLiteral("Сеть"),
                                                      QStringLiteral("Логи"), QStringLiteral("ADB")}));
}

TEST(ConsoleSnippets, BuiltOnceWithIdentitiesOfTheirOwn)
{
    const QList<ConsoleSnippet> first = ConsoleSnippets::all();
    EXPECT_EQ(&ConsoleSnippets::all(), &ConsoleSnippets::all());
    EXPECT_EQ(first, ConsoleSnippets::all());
    QSet<QUuid> ids;
    for (const ConsoleSnippet &snippet : first)
        ids.insert(snippet.id);
    EXPECT_EQ(ids.size(), first.size());

    // Equal texts, different identities: different snippets.
    const ConsoleSnippet a(QStringLiteral("ADB"), QStringLiteral("Версия ADB"), QStringLiteral("version"), ConsoleMode::adb);
    const ConsoleSnippet b(QStringLiteral("ADB"), QStringLiteral("Версия ADB"), QStringLiteral("version"), ConsoleMode::adb);
    EXPECT_NE(a, b);
    EXPECT_EQ(a, a);
    EXPECT_EQ(QSet<ConsoleSnippet>({a, b, a}).size(), 2);
}

} // namespace
