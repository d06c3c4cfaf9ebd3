#include "PlatformWords.h"

#include <QtGlobal>

namespace {

const PlatformWords &macWords()
{
    static const PlatformWords words{
        .connectCableStep = QStringLiteral("Подключите Android к Mac кабелем, который передаёт данные, а не только питание."),
        .sameNetworkStep = QStringLiteral("Для сетевого подключения убедитесь, что Mac и Android в одной сети Wi-Fi."),
        .installToolsStep = QStringLiteral("Установите Android Platform Tools: brew install android-platform-tools"),
        .systemAppearance = QStringLiteral("Тёмная тема — основной режим командного центра. «Системная» следует настройкам macOS."),
        .adbPathPlaceholder = QStringLiteral("/opt/homebrew/bin/adb"),
        .systemRowTitle = QStringLiteral("Минимальная macOS"),
        .systemRowValue = QStringLiteral("14.0"),
        .diagramName = QStringLiteral("Схема подключения Mac и Android: "),
        .filesExchange = QStringLiteral("Двусторонний обмен между Mac и "),
        .computerSymbol = QStringLiteral("apple.logo"),
    };
    return words;
}

const PlatformWords &linuxWords()
{
    static const PlatformWords words{
        .connectCableStep =
            QStringLiteral("Подключите Android к компьютеру кабелем, который передаёт данные, а не только питание."),
        .sameNetworkStep = QStringLiteral("Для сетевого подключения убедитесь, что компьютер и Android в одной сети Wi-Fi."),
        .installToolsStep = QStringLiteral("Установите Android Platform Tools: sudo apt install adb"),
        .systemAppearance =
            QStringLiteral("Тёмная тема — основной режим командного центра. «Системная» следует настройкам системы."),
        .adbPathPlaceholder = QStringLiteral("/usr/bin/adb"),
        .systemRowTitle = QStringLiteral("Версия Qt"),
        .systemRowValue = QStringLiteral(QT_VERSION_STR),
        .diagramName = QStringLiteral("Схема подключения компьютера и Android: "),
        .filesExchange = QStringLiteral("Двусторонний обмен между компьютером и "),
        .computerSymbol = QStringLiteral("terminal"),
    };
    return words;
}

} // namespace

const PlatformWords &platformWords(HostSystem system)
{
    return system == HostSystem::macOS ? macWords() : linuxWords();
}

HostSystem hostSystem()
{
#ifdef Q_OS_MACOS
    return HostSystem::macOS;
#else
    return HostSystem::linuxDesktop;
#endif
}

const PlatformWords &platformWords() { return platformWords(hostSystem()); }
