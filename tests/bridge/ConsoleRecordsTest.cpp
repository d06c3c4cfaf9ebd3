#include "bridge/ConsoleCommandError.h"
#include "bridge/ConsoleCommandRecord.h"
#include "bridge/ConsoleEntry.h"
#include "bridge/ConsoleFavorite.h"
#include "bridge/ConsoleMode.h"
#include "bridge/ConsoleTheme.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

TEST(ConsoleRecords, ModeAndThemeRawValuesMatchExactly)
{
    EXPECT_EQ(allCases<ConsoleMode>(), (QList<ConsoleMode>{ConsoleMode::deviceShell, ConsoleMode::adb}));
    EXPECT_EQ(prompt(ConsoleMode::deviceShell), QStringLiteral("shell $"));
    EXPECT_EQ(prompt(ConsoleMode::adb), QStringLiteral("adb >"));
    EXPECT_EQ(shortTitle(ConsoleMode::deviceShell), QStringLiteral("Shell"));
    EXPECT_EQ(fromRawValue<ConsoleMode>(QStringLiteral("ADB")), ConsoleMode::adb);
    EXPECT_EQ(fromRawValue<ConsoleMode>(QStringLiteral("Shell устройства")), ConsoleMode::deviceShell);
    for (const char *bad : {"adb", "deviceShell", "shell устройства", ""})
        EXPECT_FALSE(fromRawValue<ConsoleMode>(QString::fromUtf8(bad))) << bad;

    EXPECT_EQ(allCases<ConsoleTheme>(), (QList<ConsoleTheme>{ConsoleTheme::system, ConsoleTheme::dark, ConsoleTheme::light}));
    EXPECT_EQ(rawValue(ConsoleTheme::dark), QStringLiteral("Тёмная"));
    EXPECT_EQ(fromRawValue<ConsoleTheme>(QStringLiteral("Светлая")), ConsoleTheme::light);
    EXPECT_FALSE(fromRawValue<ConsoleTheme>(QStringLiteral("light")));
}

TEST(ConsoleRecords, EqualTextsStayDistinctValues)
{
    const QDateTime now = QDateTime::currentDateTime();
    const ConsoleEntry a(now, ConsoleEntryKind::system, QStringLiteral("x"));
    const ConsoleEntry b(now, ConsoleEntryKind::system, QStringLiteral("x"));
    EXPECT_NE(a, b);
    EXPECT_EQ(a, a);
    EXPECT_NE(ConsoleCommandRecord(ConsoleMode::adb, QStringLiteral("devices")),
              ConsoleCommandRecord(ConsoleMode::adb, QStringLiteral("devices")));
    EXPECT_NE(ConsoleFavorite(ConsoleMode::adb, QStringLiteral("devices")),
              ConsoleFavorite(ConsoleMode::adb, QStringLiteral("devices")));
}

TEST(ConsoleRecords, CommandErrorDescriptions)
{
    EXPECT_EQ(ConsoleCommandError::forbiddenDeviceSelector(QStringLiteral("--one-device")).errorDescription(),
              QStringLiteral("Параметр --one-device запрещён: устройство выбирается в основном окне"));
    EXPECT_EQ(ConsoleCommandError::empty().errorDescription(), QStringLiteral("Команда не задана"));
    EXPECT_EQ(ConsoleCommandError::unmatchedQuote().errorDescription(), QStringLiteral("В команде не закрыта кавычка"));
}

TEST(ConsoleFavoriteCodec, EncodesTheStoredFormAndReadsItBack)
{
    const QUuid id = QUuid::fromString(QStringLiteral("6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b"));
    const QList<ConsoleFavorite> list = {
        ConsoleFavorite(ConsoleMode::deviceShell, QStringLiteral("df -h /data"), id),
        ConsoleFavorite(ConsoleMode::adb, QStringLiteral("devices -l")),
    };
    const QByteArray json = encodeConsoleFavorites(list);
    EXPECT_TRUE(json.startsWith("[{"));
    EXPECT_FALSE(json.contains('\n'));
    EXPECT_TRUE(json.contains("\"id\":\"6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B\""));
    EXPECT_TRUE(json.contains("\"mode\":\"Shell устройства\""));
    EXPECT_TRUE(json.contains("df -h \\/data"));
    EXPECT_FALSE(json.contains("deviceShell"));

    const auto decoded = decodeConsoleFavorites(json);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->favorites, list);
    EXPECT_EQ(decoded->skipped, 0);
}

TEST(ConsoleFavoriteCodec, SkipsOnlyTheElementsItCannotRead)
{
    const auto element = [](const QJsonValue &id, const QJsonValue &mode, const QJsonValue &command) {
        QJsonObject o;
        if (!id.isUndefined()) o.insert(QStringLiteral("id"), id);
        if (!mode.isUndefined()) o.insert(QStringLiteral("mode"), mode);
        if (!command.isUndefined()) o.insert(QStringLiteral("command"), command);
        return o;
    };
    const QString upper = QStringLiteral("6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4B");
    const QString lower = QStringLiteral("0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d");
    QJsonObject extra = element(upper, QStringLiteral("ADB"), QStringLiteral("devices"));
    extra.insert(QStringLiteral("note"), 1);
    const QJsonArray array = {
        extra,                                                                         // extra key: kept
        element(lower, QStringLiteral("Shell устройства"), QStringLiteral("ls")),      // lower-case id: kept
        element(upper, QStringLiteral("ADB"), QJsonValue::Undefined),                  // no command
        element(upper, QStringLiteral("adb"), QStringLiteral("x")),                    // unknown mode
        element(QStringLiteral("not-a-uuid"), QStringLiteral("ADB"), QStringLiteral("x")),
        element(QStringLiteral("{") + upper + QStringLiteral("}"), QStringLiteral("ADB"), QStringLiteral("x")),
        element(upper, QStringLiteral("ADB"), 5),                                      // wrong type
        QJsonValue(QStringLiteral("string element")),
    };
    const auto decoded = decodeConsoleFavorites(QJsonDocument(array).toJson());
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->favorites.size(), 2);
    EXPECT_EQ(decoded->favorites[0].id, QUuid::fromString(upper));
    EXPECT_EQ(decoded->favorites[0].command, QStringLiteral("devices"));
    EXPECT_EQ(decoded->favorites[1].id, QUuid::fromString(lower));
    EXPECT_EQ(decoded->favorites[1].mode, ConsoleMode::deviceShell);
    EXPECT_EQ(decoded->skipped, 6);

    EXPECT_FALSE(decodeConsoleFavorites("{\"id\":1}"));
    EXPECT_FALSE(decodeConsoleFavorites("[{"));
    ASSERT_TRUE(decodeConsoleFavorites("[]"));
    EXPECT_TRUE(decodeConsoleFavorites("[]")->favorites.isEmpty());
}

} // namespace
