#include "core/PlatformTexts.h"

#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

using PlatformTexts::HostSystem;

const QRegularExpression &namesTheMac()
{
    static const QRegularExpression mac(QStringLiteral("\\bMac\\b|macOS|homebrew|brew install|apple|Finder"));
    return mac;
}

TEST(PlatformTexts, EveryMacTextHasACounterpartForThisSystem)
{
    const QStringList texts = PlatformTexts::macTexts();
    ASSERT_FALSE(texts.isEmpty());
    for (const QString &mac : texts) {
        // The macOS table keeps every text as written.
        EXPECT_EQ(PlatformTexts::text(mac, HostSystem::macOS), mac);
        const QString desktop = PlatformTexts::text(mac, HostSystem::linuxDesktop);
        EXPECT_NE(desktop, mac) << mac.toStdString();
        EXPECT_FALSE(desktop.isEmpty());
        EXPECT_FALSE(namesTheMac().match(desktop).hasMatch()) << desktop.toStdString();
#ifdef Q_OS_MACOS
        EXPECT_EQ(PlatformTexts::text(mac), mac);
#else
        EXPECT_EQ(PlatformTexts::text(mac), desktop);
#endif
    }
    EXPECT_EQ(PlatformTexts::text(QStringLiteral("Android")), QStringLiteral("Android"));
    EXPECT_EQ(PlatformTexts::text(QStringLiteral("Android"), HostSystem::linuxDesktop), QStringLiteral("Android"));
}

// The shell's texts, as the macOS build shows them and as a Linux desktop does.
TEST(PlatformTexts, ShellTextsOnEachSystem)
{
    struct Row {
        QString mac;
        QString macText;
        QString desktopText;
    };
    const Row rows[] = {
        {PlatformTexts::connectCableStep,
         QStringLiteral("Подключите Android к Mac кабелем, который передаёт данные, а не только питание."),
         QStringLiteral("Подключите Android к компьютеру кабелем, который передаёт данные, а не только питание.")},
        {PlatformTexts::sameNetworkStep,
         QStringLiteral("Для сетевого подключения убедитесь, что Mac и Android в одной сети Wi-Fi."),
         QStringLiteral("Для сетевого подключения убедитесь, что компьютер и Android в одной сети Wi-Fi.")},
        {PlatformTexts::installToolsStep, QStringLiteral("Установите Android Platform Tools: brew install android-platform-tools"),
         QStringLiteral("Установите Android Platform Tools: sudo apt install adb")},
        {PlatformTexts::systemAppearance,
         QStringLiteral("Тёмная тема — основной режим командного центра. «Системная» следует настройкам macOS."),
         QStringLiteral("Тёмная тема — основной режим командного центра. «Системная» следует настройкам системы.")},
        {PlatformTexts::adbPathPlaceholder, QStringLiteral("/opt/homebrew/bin/adb"), QStringLiteral("/usr/bin/adb")},
        {PlatformTexts::systemRowTitle, QStringLiteral("Минимальная macOS"), QStringLiteral("Версия Qt")},
        {PlatformTexts::systemRowValue, QStringLiteral("14.0"), QStringLiteral(QT_VERSION_STR)},
        {PlatformTexts::diagramName, QStringLiteral("Схема подключения Mac и Android: "),
         QStringLiteral("Схема подключения компьютера и Android: ")},
        {PlatformTexts::filesExchange, QStringLiteral("Двусторонний обмен между Mac и "),
         QStringLiteral("Двусторонний обмен между компьютером и ")},
        {QStringLiteral("Mac ⇄ "), QStringLiteral("Mac ⇄ "), QStringLiteral("Компьютер ⇄ ")},
        {QStringLiteral("Выбрать папку на Mac"), QStringLiteral("Выбрать папку на Mac"),
         QStringLiteral("Выбрать папку на компьютере")},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(PlatformTexts::text(row.mac, HostSystem::macOS), row.macText);
        EXPECT_EQ(PlatformTexts::text(row.mac, HostSystem::linuxDesktop), row.desktopText);
    }
    // A maker's logo only on the Mac; elsewhere a generic computer.
    EXPECT_EQ(PlatformTexts::text(PlatformTexts::computerSymbol, HostSystem::macOS), QStringLiteral("apple.logo"));
    EXPECT_FALSE(PlatformTexts::text(PlatformTexts::computerSymbol, HostSystem::linuxDesktop).contains(QStringLiteral("apple")));
#ifndef Q_OS_MACOS
    EXPECT_EQ(PlatformTexts::host(), HostSystem::linuxDesktop);
#endif
}

} // namespace
