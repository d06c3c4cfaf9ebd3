#pragma once

#include <QString>
#include <QStringList>

// The texts (and the one symbol) that name the computer the application runs on, in one table:
// each entry holds the Mac's own words and the same sentence about this computer and this
// system, in the grammatical case the sentence needs. The macOS build shows the first, every
// other build the second. Every such text of the application is listed here.
namespace PlatformTexts {

enum class HostSystem { macOS, linuxDesktop };

// The system this build is for.
HostSystem host();
// The text to show on `system` for `macText`; a text missing from the table is shown as it is.
QString text(const QString &macText, HostSystem system);
// The same on this build's system.
QString text(const QString &macText);
// Every Mac text the table holds (for tests).
QStringList macTexts();

// The gate and Settings ask for these by name.
inline const QString connectCableStep =
    QStringLiteral("Подключите Android к Mac кабелем, который передаёт данные, а не только питание.");
inline const QString sameNetworkStep =
    QStringLiteral("Для сетевого подключения убедитесь, что Mac и Android в одной сети Wi-Fi.");
inline const QString installToolsStep = QStringLiteral("Установите Android Platform Tools: brew install android-platform-tools");
inline const QString systemAppearance =
    QStringLiteral("Тёмная тема — основной режим командного центра. «Системная» следует настройкам macOS.");
inline const QString adbPathPlaceholder = QStringLiteral("/opt/homebrew/bin/adb");
inline const QString systemRowTitle = QStringLiteral("Минимальная macOS");
inline const QString systemRowValue = QStringLiteral("14.0");
inline const QString diagramName = QStringLiteral("Схема подключения Mac и Android: ");
inline const QString filesExchange = QStringLiteral("Двусторонний обмен между Mac и ");
// The symbol on the link diagram's computer screen.
inline const QString computerSymbol = QStringLiteral("apple.logo");

} // namespace PlatformTexts
