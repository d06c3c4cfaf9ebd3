#include "bridge/Bytes.h"
#include "bridge/DeviceSnapshot.h"
#include "bridge/DeviceText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(SnapshotPresentation, EmptySnapshot)
{
    const DeviceSnapshot s;
    EXPECT_EQ(s.marketingName(), QString());
    EXPECT_EQ(s.androidLine(), QStringLiteral("Android —"));
    EXPECT_FALSE(s.storageProgress() || s.ramProgress() || s.batteryStatusText() || s.batteryHealthText()
                 || s.uptimeText());
    EXPECT_FALSE(s.hasRoot());
    EXPECT_FALSE(s.hasBattery());
}

TEST(SnapshotPresentation, MarketingName)
{
    struct Case { std::optional<QString> manufacturer, brand, model; QString expected; };
    const Case cases[] = {
        {QStringLiteral("xiaomi"), std::nullopt, QStringLiteral("Redmi Note 12"), QStringLiteral("Xiaomi Redmi Note 12")},
        {QStringLiteral("Samsung"), std::nullopt, QStringLiteral("SAMSUNG Galaxy"), QStringLiteral("SAMSUNG Galaxy")},
        {QString(), QStringLiteral("google"), QStringLiteral("Pixel 7"), QStringLiteral("Pixel 7")},
        {std::nullopt, QStringLiteral("oneplus"), QStringLiteral("CPH2449"), QStringLiteral("Oneplus CPH2449")},
        {QStringLiteral("Google"), std::nullopt, std::nullopt, QStringLiteral("SER")},
        {QStringLiteral("Google"), std::nullopt, QStringLiteral(" \t"), QStringLiteral("SER")},
        {QStringLiteral("  ßony "), std::nullopt, QStringLiteral(" Xperia "), QStringLiteral("SSony Xperia")},
        {std::nullopt, std::nullopt, QStringLiteral("Model"), QStringLiteral("Model")},
    };
    for (const Case &c : cases) {
        DeviceSnapshot s;
        s.serial = QStringLiteral("SER");
        s.manufacturer = c.manufacturer;
        s.brand = c.brand;
        s.model = c.model;
        EXPECT_EQ(s.marketingName(), c.expected) << c.expected.toStdString();
    }
    EXPECT_EQ(capitalizedFirst(QString()), QString());
    EXPECT_EQ(capitalizedFirst(QStringLiteral("élan")), QStringLiteral("Élan"));
}

TEST(SnapshotPresentation, AndroidLineAndProgress)
{
    DeviceSnapshot s;
    s.androidRelease = QStringLiteral("14");
    EXPECT_EQ(s.androidLine(), QStringLiteral("Android 14"));
    s.sdkLevel = 34;
    EXPECT_EQ(s.androidLine(), QStringLiteral("Android 14 · API 34"));
    s.androidRelease = QString();
    EXPECT_EQ(s.androidLine(), QStringLiteral("Android —"));

    s.storageTotalBytes = 0;
    s.storageUsedBytes = 10;
    EXPECT_FALSE(s.storageProgress());
    s.storageTotalBytes = 8;
    EXPECT_DOUBLE_EQ(*s.storageProgress(), 1.25); // not clamped
    s.storageUsedBytes.reset();
    EXPECT_FALSE(s.storageProgress());

    s.ramTotalBytes = 1000;
    s.ramAvailableBytes = 250;
    EXPECT_DOUBLE_EQ(*s.ramProgress(), 0.75);
    s.ramAvailableBytes = std::numeric_limits<qint64>::min(); // the difference would overflow
    EXPECT_FALSE(s.ramProgress());
}

TEST(SnapshotPresentation, BatteryTextsAndFlags)
{
    DeviceSnapshot s;
    const std::pair<qint64, const char *> statuses[] = {{1, "Неизвестно"}, {2, "Заряжается"}, {3, "Разряжается"},
                                                        {4, "Не заряжается"}, {5, "Заряжена"}, {-3, "Неизвестно"}};
    for (auto [code, text] : statuses) {
        s.batteryStatusCode = code;
        EXPECT_EQ(s.batteryStatusText(), QString::fromUtf8(text));
    }
    const std::pair<qint64, const char *> healths[] = {{1, "Неизвестно"}, {2, "Хорошее"}, {3, "Перегрев"},
                                                       {4, "Изношена"}, {5, "Повышенное напряжение"}, {6, "Сбой"},
                                                       {7, "Переохлаждение"}, {0, "Неизвестно"}};
    for (auto [code, text] : healths) {
        s.batteryHealthCode = code;
        EXPECT_EQ(s.batteryHealthText(), QString::fromUtf8(text));
    }

    DeviceSnapshot b;
    b.batteryLevel = 0;
    b.batteryStatusCode = 1;
    EXPECT_FALSE(b.hasBattery());
    b.batteryStatusCode = 2;
    EXPECT_TRUE(b.hasBattery());
    b.batteryStatusCode.reset();
    b.batteryLevel = 1;
    EXPECT_TRUE(b.hasBattery());

    b.suPath = QString();
    EXPECT_FALSE(b.hasRoot());
    b.suPath = QStringLiteral("/system/bin/su");
    EXPECT_TRUE(b.hasRoot());
    b.serial = QStringLiteral("192.168.1.25:5555");
    EXPECT_EQ(b.connection(), ConnectionKind::wireless);
}

TEST(SnapshotPresentation, UptimeText)
{
    struct Case { double seconds; std::optional<QString> text; };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {42.9, QStringLiteral("0 мин")},        {3599, QStringLiteral("59 мин")},
        {3600, QStringLiteral("1 ч 0 мин")},    {3725, QStringLiteral("1 ч 2 мин")},
        {86400, QStringLiteral("1 д 0 ч")},     {90061, QStringLiteral("1 д 1 ч")},
        {0, std::nullopt},                      {-5, std::nullopt},
        {std::nan(""), std::nullopt},           {inf, std::nullopt},
        {1e19, std::nullopt},                   {9.2e18, QStringLiteral("106481481481481 д 11 ч")},
    };
    for (const Case &c : cases) {
        DeviceSnapshot s;
        s.uptime = c.seconds;
        EXPECT_EQ(s.uptimeText(), c.text) << c.seconds;
    }
}

TEST(BytesFormatting, ShortAndSplit)
{
    struct Case { std::optional<qint64> bytes; QString text; QString value; QString unit; };
    const Case cases[] = {
        {std::nullopt, QStringLiteral("—"), QStringLiteral("—"), QString()},
        {0, QStringLiteral("—"), QStringLiteral("—"), QString()},
        {-42, QStringLiteral("—"), QStringLiteral("—"), QString()},
        {1, QStringLiteral("1 КБ"), QStringLiteral("1"), QStringLiteral("КБ")},
        {12'345, QStringLiteral("12 КБ"), QStringLiteral("12"), QStringLiteral("КБ")},
        {999'999, QStringLiteral("1 МБ"), QStringLiteral("1"), QStringLiteral("МБ")},
        {1'500'000, QStringLiteral("1,5 МБ"), QStringLiteral("1,5"), QStringLiteral("МБ")},
        {45'000'000, QStringLiteral("45 МБ"), QStringLiteral("45"), QStringLiteral("МБ")},
        {3'256'000'000, QStringLiteral("3,26 ГБ"), QStringLiteral("3,26"), QStringLiteral("ГБ")},
        {128'000'000'000, QStringLiteral("128 ГБ"), QStringLiteral("128"), QStringLiteral("ГБ")},
        {2'000'000'000'000, QStringLiteral("2\u00a0000 ГБ"), QStringLiteral("2\u00a0000"), QStringLiteral("ГБ")},
        {std::numeric_limits<qint64>::max(), QStringLiteral("9\u00a0223\u00a0372\u00a0036,85 ГБ"),
         QStringLiteral("9\u00a0223\u00a0372\u00a0036,85"), QStringLiteral("ГБ")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Bytes::shortText(c.bytes), c.text) << c.text.toStdString();
        EXPECT_EQ(Bytes::split(c.bytes), (Bytes::Split{c.value, c.unit})) << c.text.toStdString();
    }
}

TEST(BytesFormatting, MonthsTakeTheRussianPlural)
{
    const std::pair<qint64, const char *> cases[] = {
        {0, "0 месяцев"},     {1, "1 месяц"},       {3, "3 месяца"},   {11, "11 месяцев"}, {12, "12 месяцев"},
        {14, "14 месяцев"},   {21, "21 месяц"},     {22, "22 месяца"}, {24, "24 месяца"},  {25, "25 месяцев"},
        {101, "101 месяц"},   {111, "111 месяцев"}, {121, "121 месяц"}, {-1, "-1 месяцев"}, {-3, "-3 месяцев"},
    };
    for (auto [count, text] : cases)
        EXPECT_EQ(Bytes::months(count), QString::fromUtf8(text)) << count;
}

} // namespace
