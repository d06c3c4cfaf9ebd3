#include "ModelHarness.h"

#include "core/Advice.h"

#include <gtest/gtest.h>

namespace {

QDateTime at(int y, int m, int d, int h = 12)
{
    return QDateTime(QDate(y, m, d), QTime(h, 0), Qt::LocalTime);
}

DeviceSnapshot healthySnapshot()
{
    DeviceSnapshot s;
    s.serial = QStringLiteral("R5CT1");
    s.batteryHealthCode = 2;
    s.securityPatch = QStringLiteral("2025-01-05");
    s.storageTotalBytes = 1000;
    s.storageUsedBytes = 500;
    return s;
}

QStringList ids(const QList<DeckAdvice> &cards)
{
    QStringList out;
    for (const DeckAdvice &c : cards)
        out << c.id;
    return out;
}

TEST(Advice, AllEightRulesInOrderWithTheirFixedTexts)
{
    AdviceInputs in;
    in.snapshot = healthySnapshot();
    in.snapshot->serial = QStringLiteral("192.168.1.25:5555");
    in.snapshot->storageUsedBytes = 885;
    in.snapshot->batteryHealthCode = 3;
    in.snapshot->securityPatch = QStringLiteral("2023-03-05");
    in.snapshot->suPath = QStringLiteral("/system/xbin/su");
    in.reclaimableCount = 4;
    in.reclaimableBytes = 1'500'000;
    in.removedPackageCount = 2;
    in.devices = {AndroidDevice{QStringLiteral("X"), QStringLiteral("unauthorized"), {}, {}}};
    in.now = at(2025, 3, 5);

    const QList<DeckAdvice> cards = buildAdvice(in);
    ASSERT_EQ(ids(cards), (QStringList{QStringLiteral("storage"), QStringLiteral("reclaim"), QStringLiteral("battery"),
                                       QStringLiteral("patch"), QStringLiteral("root"), QStringLiteral("wireless"),
                                       QStringLiteral("unauthorized"), QStringLiteral("removed")}));
    const QList<DeckAdvice> expected = {
        {QStringLiteral("storage"), QStringLiteral("internaldrive.fill"), QStringLiteral("Хранилище почти заполнено"),
         QStringLiteral("Занято 88% раздела /data. Освободите место, иначе обновления и установка приложений начнут "
                        "завершаться ошибкой."),
         Tone::warning, AppRoute::debloat, QStringLiteral("Перейти к очистке")},
        {QStringLiteral("reclaim"), QStringLiteral("sparkles"), QStringLiteral("Можно освободить 1,5 МБ"),
         QStringLiteral("4 предустановленных приложений отмечены как безопасные для отключения. Действие обратимо."),
         Tone::accent, AppRoute::debloat, QStringLiteral("Показать список")},
        {QStringLiteral("battery"), QStringLiteral("battery.25"), QStringLiteral("Состояние батареи: Перегрев"),
         QStringLiteral("Android сообщает о неоптимальном состоянии аккумулятора. Длительные операции лучше "
                        "выполнять с подключённым питанием."),
         Tone::warning, std::nullopt, std::nullopt},
        {QStringLiteral("patch"), QStringLiteral("shield.lefthalf.filled.slash"), QStringLiteral("Патч безопасности устарел"),
         QStringLiteral("Последнее обновление безопасности от 2023-03-05 — это 24 месяца назад."), Tone::warning,
         std::nullopt, std::nullopt},
        {QStringLiteral("root"), QStringLiteral("key.fill"), QStringLiteral("Обнаружен root-доступ"),
         QStringLiteral("На устройстве найден бинарник su. Команды выполняются с расширенными правами — будьте "
                        "внимательны с системными пакетами."),
         Tone::violet, std::nullopt, std::nullopt},
        {QStringLiteral("wireless"), QStringLiteral("wifi"), QStringLiteral("Соединение по Wi-Fi"),
         QStringLiteral("Массовые операции и выгрузка APK по сети идут медленнее и чувствительны к обрывам. Для больших "
                        "задач подключите кабель."),
         Tone::accent, std::nullopt, std::nullopt},
        {QStringLiteral("unauthorized"), QStringLiteral("lock.trianglebadge.exclamationmark.fill"),
         QStringLiteral("Устройство ждёт подтверждения"),
         QStringLiteral("Разблокируйте экран Android и подтвердите запрос «Разрешить отладку по USB»."), Tone::danger,
         std::nullopt, std::nullopt},
        {QStringLiteral("removed"), QStringLiteral("arrow.uturn.backward.circle"),
         QStringLiteral("Удалено для пользователя: 2"),
         QStringLiteral("Эти пакеты остались в прошивке и могут быть восстановлены одной командой без сброса "
                        "устройства."),
         Tone::neutral, AppRoute::applications, QStringLiteral("Показать")},
    };
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(cards[i], expected[i]) << expected[i].id.toStdString() << ": " << cards[i].message.toStdString();
}

TEST(Advice, WithoutSnapshotOnlyPackageAndDeviceCards)
{
    AdviceInputs in;
    in.reclaimableCount = 1;
    in.reclaimableBytes = 0;
    in.removedPackageCount = 1;
    in.devices = {AndroidDevice{QStringLiteral("A"), QStringLiteral("device"), {}, {}},
                  AndroidDevice{QStringLiteral("B"), QStringLiteral("unauthorized"), {}, {}},
                  AndroidDevice{QStringLiteral("C"), QStringLiteral("unauthorized"), {}, {}}};
    in.now = at(2025, 1, 1);
    const QList<DeckAdvice> cards = buildAdvice(in);
    EXPECT_EQ(ids(cards), (QStringList{QStringLiteral("reclaim"), QStringLiteral("unauthorized"), QStringLiteral("removed")}));
    EXPECT_EQ(cards[0].title, QStringLiteral("Можно освободить —"));

    in.devices = {AndroidDevice{QStringLiteral("B"), QStringLiteral("Unauthorized"), {}, {}}};
    in.reclaimableCount = 0;
    in.removedPackageCount = 0;
    EXPECT_TRUE(buildAdvice(in).isEmpty());
}

TEST(Advice, StorageAndBatteryThresholds)
{
    struct Case { qint64 used; std::optional<qint64> health; QStringList ids; QString percentOrTitle; };
    const Case cases[] = {
        {880, 2, {}, {}},
        {885, 1, {QStringLiteral("storage")}, QStringLiteral("Занято 88%")},
        {889, std::nullopt, {QStringLiteral("storage")}, QStringLiteral("Занято 88%")},
        {2000, 2, {QStringLiteral("storage")}, QStringLiteral("Занято 200%")},
        {10, 0, {QStringLiteral("battery")}, QStringLiteral("Состояние батареи: Неизвестно")},
        {10, 7, {QStringLiteral("battery")}, QStringLiteral("Состояние батареи: Переохлаждение")},
        {10, 9, {QStringLiteral("battery")}, QStringLiteral("Состояние батареи: Неизвестно")},
        {10, -4, {QStringLiteral("battery")}, QStringLiteral("Состояние батареи: Неизвестно")},
    };
    for (const Case &c : cases) {
        AdviceInputs in;
        in.snapshot = healthySnapshot();
        in.snapshot->storageUsedBytes = c.used;
        in.snapshot->batteryHealthCode = c.health;
        in.now = at(2025, 3, 1);
        const QList<DeckAdvice> cards = buildAdvice(in);
        EXPECT_EQ(ids(cards), c.ids) << c.used;
        if (!cards.isEmpty())
            EXPECT_TRUE(cards[0].message.startsWith(c.percentOrTitle) || cards[0].title == c.percentOrTitle)
                << cards[0].title.toStdString();
    }
}

TEST(Advice, SecurityPatchAgeInCalendarMonths)
{
    struct Case { const char *patch; QDateTime now; std::optional<QString> months; };
    const Case cases[] = {
        {"2024-03-05", at(2025, 3, 4, 23), std::nullopt},              // 11 months
        {"2024-03-05", at(2025, 3, 5, 0), QStringLiteral("12 месяцев")},
        {"2023-02-05", at(2025, 1, 5), QStringLiteral("23 месяца")},
        {"2023-03-05", at(2025, 3, 5), QStringLiteral("24 месяца")},
        {"2023-06-05", at(2025, 3, 5), QStringLiteral("21 месяц")},
        {"2024-01-31", at(2025, 1, 30), std::nullopt},                 // clamped months: 11
        {"2030-01-01", at(2025, 1, 1), std::nullopt},                  // in the future
        {"", at(2025, 1, 1), std::nullopt},
        {"March 2020", at(2025, 1, 1), std::nullopt},
        {"2020-13-01", at(2025, 1, 1), std::nullopt},
        {"2020-02-30", at(2025, 1, 1), std::nullopt},
        {"2020-1-5", at(2025, 1, 1), std::nullopt},
        {"0000-00-00", at(2025, 1, 1), std::nullopt},
    };
    for (const Case &c : cases) {
        AdviceInputs in;
        in.snapshot = healthySnapshot();
        in.snapshot->securityPatch = QString::fromUtf8(c.patch);
        in.now = c.now;
        const QList<DeckAdvice> cards = buildAdvice(in);
        if (!c.months) {
            EXPECT_TRUE(cards.isEmpty()) << c.patch;
            continue;
        }
        ASSERT_EQ(cards.size(), 1) << c.patch;
        EXPECT_EQ(cards[0].message, QStringLiteral("Последнее обновление безопасности от ") + QString::fromUtf8(c.patch)
                                        + QStringLiteral(" — это ") + *c.months + QStringLiteral(" назад."));
    }
    EXPECT_EQ(AppModel::securityPatchDate(QStringLiteral("2024-03-05")),
              QDateTime(QDate(2024, 3, 5), QTime(0, 0), Qt::LocalTime));
    EXPECT_EQ(AppModel::securityPatchDate(QStringLiteral("2024-03-05 ")), std::nullopt);
}

TEST(Advice, ModelReadsItsStateAndClock)
{
    ModelHarness h;
    AppModel &m = *h;
    DeviceSnapshot s = healthySnapshot();
    s.securityPatch = QStringLiteral("2024-03-05");
    m.snapshot.set(s);
    AndroidPackage removed(QStringLiteral("com.example.gone"), std::nullopt, PackageKind::system);
    removed.state = PackageState::removedForUser;
    AndroidPackage user(QStringLiteral("com.example.mine"), std::nullopt, PackageKind::user);
    m.packages.set({removed, user});

    m.adviceClock = [] { return at(2025, 3, 4); };
    EXPECT_EQ(ids(m.advice()), QStringList{QStringLiteral("removed")});
    m.adviceClock = [] { return at(2025, 3, 5); };
    EXPECT_EQ(ids(m.advice()), (QStringList{QStringLiteral("patch"), QStringLiteral("removed")}));
    m.snapshot.set(std::nullopt);
    EXPECT_EQ(ids(m.advice()), QStringList{QStringLiteral("removed")});
}

} // namespace
