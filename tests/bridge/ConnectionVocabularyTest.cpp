#include "bridge/ConnectionKind.h"
#include "bridge/LinkState.h"

#include <gtest/gtest.h>

namespace {

TEST(ConnectionKind, DetectsFromTheSerial)
{
    const std::pair<const char *, ConnectionKind> cases[] = {
        {"192.168.1.25:5555", ConnectionKind::wireless},
        {"192.168.1.25", ConnectionKind::usb},
        {"192.168.1.25:", ConnectionKind::usb},
        {"adb-R5CT10ABCDE-aBcDeF._adb-tls-connect._tcp", ConnectionKind::wireless},
        {"adb-anything", ConnectionKind::wireless},
        {"phone._adb-tls-pairing", ConnectionKind::wireless},
        {"ADB-R5CT10", ConnectionKind::usb},
        {"10.0.0.2::5555", ConnectionKind::wireless},
        {"10.0.0.2:+5555", ConnectionKind::wireless},
        {"10.0.0.2:55a5", ConnectionKind::usb},
        {"10.0.0.2: 5555", ConnectionKind::usb},
        {"10.0.0.2:12345678901234567890", ConnectionKind::usb},
        {"localhost:5555", ConnectionKind::usb},
        {"emulator-5554", ConnectionKind::usb},
        {"fe80::1:5555", ConnectionKind::usb},
        {"R5CT10ABCDE", ConnectionKind::usb},
        {"", ConnectionKind::usb},
    };
    for (auto [serial, kind] : cases)
        EXPECT_EQ(detectConnectionKind(QString::fromUtf8(serial)), kind) << serial;
}

TEST(ConnectionKind, RawValuesTitlesIcons)
{
    EXPECT_EQ(fromRawValue<ConnectionKind>(QStringLiteral("Wireless")), std::nullopt);
    EXPECT_EQ(fromRawValue<ConnectionKind>(QStringLiteral("unknown")), ConnectionKind::unknown);
    for (ConnectionKind k : allCases<ConnectionKind>())
        EXPECT_EQ(fromRawValue<ConnectionKind>(rawValue(k)), k);
    EXPECT_EQ(title(ConnectionKind::unknown), QStringLiteral("—"));
    EXPECT_EQ(icon(ConnectionKind::unknown), QStringLiteral("questionmark"));
    EXPECT_EQ(title(ConnectionKind::wireless), QStringLiteral("Wi-Fi"));
    EXPECT_EQ(icon(ConnectionKind::usb), QStringLiteral("cable.connector"));
}

TEST(LinkState, TheElevenStates)
{
    using C = LinkState::Case;
    struct Row { LinkState state; const char *title, *shortTitle, *subtitle; Tone tone, ambient; const char *icon;
                 bool live, busy; };
    const Row rows[] = {
        {LinkState::working(QStringLiteral("Отключение")), "Отключение", "Выполняется…", "Отключение", Tone::accent,
         Tone::accent, "arrow.triangle.2.circlepath", true, true},
        {LinkState::failed(QStringLiteral("Сбой связи")), "Ошибка", "Ошибка", "Сбой связи", Tone::danger, Tone::danger,
         "xmark.octagon.fill", false, false},
        {C::adbMissing, "ADB не установлен", "Нет ADB", "Установите Android Platform Tools, чтобы начать работу",
         Tone::danger, Tone::danger, "exclamationmark.triangle.fill", false, false},
        {C::searching, "Поиск устройства", "Поиск…", "Опрашиваем ADB-сервер", Tone::accent, Tone::accent,
         "dot.radiowaves.left.and.right", false, false},
        {C::noDevice, "Устройство не подключено", "Не подключено",
         "Подключите Android по USB или добавьте устройство по сети", Tone::neutral, Tone::neutral,
         "cable.connector.slash", false, false},
        {C::unauthorized, "Требуется разрешить отладку", "Нет доступа",
         "Подтвердите запрос «Разрешить отладку по USB» на экране устройства", Tone::warning, Tone::warning,
         "lock.trianglebadge.exclamationmark.fill", false, false},
        {C::offline, "Устройство offline", "Offline", "ADB видит устройство, но не может с ним обмениваться данными",
         Tone::warning, Tone::warning, "bolt.horizontal.circle.fill", false, false},
        {C::recovery, "Режим Recovery", "Recovery", "Доступен ограниченный набор команд", Tone::warning, Tone::warning,
         "arrow.triangle.2.circlepath", false, false},
        {C::sideload, "Режим Sideload", "Sideload", "Устройство ждёт установку пакета обновления", Tone::warning,
         Tone::warning, "shippingbox.fill", false, false},
        {C::fastboot, "Режим Fastboot", "Fastboot", "Доступны только команды fastboot", Tone::violet, Tone::violet,
         "bolt.fill", false, false},
        {C::connected, "Подключено", "Подключено", "Канал ADB установлен", Tone::success, Tone::accent,
         "checkmark.circle.fill", true, false},
    };
    ASSERT_EQ(std::size(rows), size_t(allLinkStateCases().size()));
    for (const Row &r : rows) {
        const std::string name = r.title;
        EXPECT_EQ(title(r.state), QString::fromUtf8(r.title)) << name;
        EXPECT_EQ(shortTitle(r.state), QString::fromUtf8(r.shortTitle)) << name;
        EXPECT_EQ(subtitle(r.state), QString::fromUtf8(r.subtitle)) << name;
        EXPECT_EQ(tone(r.state), r.tone) << name;
        EXPECT_EQ(ambientTone(r.state), r.ambient) << name;
        EXPECT_EQ(icon(r.state), QString::fromUtf8(r.icon)) << name;
        EXPECT_EQ(isLive(r.state), r.live) << name;
        EXPECT_EQ(isBusy(r.state), r.busy) << name;
    }
}

TEST(LinkState, EqualityComparesTheCarriedText)
{
    EXPECT_EQ(LinkState::working(QStringLiteral("a")), LinkState::working(QStringLiteral("a")));
    EXPECT_NE(LinkState::working(QStringLiteral("a")), LinkState::working(QStringLiteral("b")));
    EXPECT_NE(LinkState::working(QStringLiteral("a")), LinkState::failed(QStringLiteral("a")));
    EXPECT_EQ(LinkState(LinkState::Case::offline), LinkState(LinkState::Case::offline));
    EXPECT_NE(LinkState(LinkState::Case::offline), LinkState(LinkState::Case::noDevice));
}

} // namespace
