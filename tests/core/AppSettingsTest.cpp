#include "core/AppSettings.h"
#include "core/JsonSettingsFormat.h"

#include "TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(AppearanceMode, RawValuesAndTexts)
{
    EXPECT_EQ(allCases<AppearanceMode>(),
              (QList<AppearanceMode>{AppearanceMode::system, AppearanceMode::light, AppearanceMode::dark}));
    EXPECT_EQ(fromRawValue<AppearanceMode>(QStringLiteral("Dark")), std::nullopt);
    EXPECT_EQ(fromRawValue<AppearanceMode>(QStringLiteral("light")), AppearanceMode::light);
    EXPECT_EQ(title(AppearanceMode::system), QStringLiteral("Системная"));
    EXPECT_EQ(title(AppearanceMode::dark), QStringLiteral("Тёмная"));
    EXPECT_EQ(icon(AppearanceMode::light), QStringLiteral("sun.max.fill"));
    EXPECT_EQ(colorScheme(AppearanceMode::system), std::nullopt);
    EXPECT_EQ(colorScheme(AppearanceMode::dark), AppColorScheme::dark);
}

TEST(AppSettings, EmptyStoreGivesDefaultsAndWritesNothing)
{
    TempSettings temp;
    const AppSettings s(temp.settings.get());
    EXPECT_EQ(s.appearance(), AppearanceMode::dark);
    EXPECT_EQ(s.density(), ListDensity::regular);
    EXPECT_TRUE(s.confirmDestructive());
    EXPECT_DOUBLE_EQ(s.monitorInterval(), 2.0);
    EXPECT_EQ(s.customADBPath(), QString());
    EXPECT_EQ(s.logcatBufferSize(), 5000);
    EXPECT_TRUE(s.showRiskColumn());
    EXPECT_EQ(s.lastRoute(), AppRoute::overview);
    EXPECT_TRUE(s.savedFilters().isEmpty());
    EXPECT_TRUE(temp.settings->allKeys().isEmpty());
}

TEST(AppSettings, ReadingRulesPerKey)
{
    struct Case { const char *key; QVariant stored; std::function<bool(const AppSettings &)> check; };
    const Case cases[] = {
        {"deck.appearance", QStringLiteral("Dark"), [](auto &s) { return s.appearance() == AppearanceMode::dark; }},
        {"deck.appearance", QStringLiteral("auto"), [](auto &s) { return s.appearance() == AppearanceMode::dark; }},
        {"deck.appearance", QStringLiteral("light"), [](auto &s) { return s.appearance() == AppearanceMode::light; }},
        {"deck.appearance", QStringLiteral("system"), [](auto &s) { return s.appearance() == AppearanceMode::system; }},
        {"deck.listDensity", QStringLiteral("compact"), [](auto &s) { return s.density() == ListDensity::compact; }},
        {"deck.listDensity", QStringLiteral("Compact"), [](auto &s) { return s.density() == ListDensity::regular; }},
        {"deck.confirmDestructive", false, [](auto &s) { return !s.confirmDestructive(); }},
        {"deck.confirmDestructive", QStringLiteral("false"), [](auto &s) { return s.confirmDestructive(); }},
        {"deck.confirmDestructive", 0, [](auto &s) { return s.confirmDestructive(); }},
        {"deck.monitorInterval", 5, [](auto &s) { return s.monitorInterval() == 5.0; }},
        {"deck.monitorInterval", 3.5, [](auto &s) { return s.monitorInterval() == 3.5; }},
        {"deck.monitorInterval", QStringLiteral("3.5"), [](auto &s) { return s.monitorInterval() == 2.0; }},
        {"deck.monitorInterval", true, [](auto &s) { return s.monitorInterval() == 2.0; }},
        {"deck.customADBPath", QStringLiteral("  /opt/adb "), [](auto &s) { return s.customADBPath() == QStringLiteral("  /opt/adb "); }},
        {"deck.customADBPath", 7, [](auto &s) { return s.customADBPath().isEmpty(); }},
        {"deck.logcatBuffer", QStringLiteral("10000"), [](auto &s) { return s.logcatBufferSize() == 5000; }},
        {"deck.logcatBuffer", 10000, [](auto &s) { return s.logcatBufferSize() == 10000; }},
        {"deck.logcatBuffer", 20000.0, [](auto &s) { return s.logcatBufferSize() == 20000; }},
        {"deck.logcatBuffer", 2.5, [](auto &s) { return s.logcatBufferSize() == 5000; }},
        {"deck.logcatBuffer", 1e300, [](auto &s) { return s.logcatBufferSize() == 5000; }},
        {"deck.showRiskColumn", false, [](auto &s) { return !s.showRiskColumn(); }},
        {"deck.showRiskColumn", 1, [](auto &s) { return s.showRiskColumn(); }},
        {"deck.lastRoute", QStringLiteral("home"), [](auto &s) { return s.lastRoute() == AppRoute::overview; }},
        {"deck.lastRoute", QStringLiteral("Logs"), [](auto &s) { return s.lastRoute() == AppRoute::overview; }},
        {"deck.lastRoute", QStringLiteral("logs"), [](auto &s) { return s.lastRoute() == AppRoute::logs; }},
        {"deck.savedFilters", QByteArray("[]"), [](auto &s) { return s.savedFilters().isEmpty(); }},
        {"deck.savedFilters", QByteArray("{"), [](auto &s) { return s.savedFilters().isEmpty(); }},
        {"deck.savedFilters", QStringLiteral("[]"), [](auto &s) { return s.savedFilters().isEmpty(); }},
    };
    for (const Case &c : cases) {
        TempSettings temp;
        temp.settings->setValue(QLatin1String(c.key), c.stored);
        const AppSettings s(temp.settings.get());
        EXPECT_TRUE(c.check(s)) << c.key << " = " << c.stored.toString().toStdString();
        EXPECT_EQ(temp.settings->allKeys(), QStringList{QLatin1String(c.key)}) << "reading rewrote the store";
    }
}

TEST(AppSettings, EverySetWritesItsKeyWithItsType)
{
    TempSettings temp;
    AppSettings s(temp.settings.get());
    int notified = 0;
    s.observe(s.customADBPath, &s, [&] { ++notified; });

    s.appearance.set(AppearanceMode::system);
    s.density.set(ListDensity::comfortable);
    s.confirmDestructive.set(false);
    s.monitorInterval.set(4.5);
    s.customADBPath.set(QStringLiteral(" /x/adb "));
    s.logcatBufferSize.set(20000);
    s.showRiskColumn.set(false);

    const QSettings &store = *temp.settings;
    EXPECT_EQ(store.value(QStringLiteral("deck.appearance")), QVariant(QStringLiteral("system")));
    EXPECT_EQ(store.value(QStringLiteral("deck.listDensity")), QVariant(QStringLiteral("comfortable")));
    EXPECT_EQ(store.value(QStringLiteral("deck.confirmDestructive")).metaType().id(), QMetaType::Bool);
    EXPECT_EQ(store.value(QStringLiteral("deck.monitorInterval")), QVariant(4.5));
    EXPECT_EQ(store.value(QStringLiteral("deck.customADBPath")), QVariant(QStringLiteral(" /x/adb ")));
    EXPECT_EQ(AppSettings::readWholeNumber(store, QStringLiteral("deck.logcatBuffer")), 20000);
    EXPECT_EQ(store.value(QStringLiteral("deck.showRiskColumn")), QVariant(false));
    EXPECT_EQ(notified, 1);

    // An unchanged value is still written, but observers hear nothing new.
    temp.settings->remove(QStringLiteral("deck.customADBPath"));
    s.customADBPath.set(QStringLiteral(" /x/adb "));
    EXPECT_EQ(store.value(QStringLiteral("deck.customADBPath")), QVariant(QStringLiteral(" /x/adb ")));
    EXPECT_EQ(notified, 1);
}

TEST(AppSettings, ResetWritesTheSevenDefaultsAndKeepsTheRest)
{
    TempSettings temp;
    temp.settings->setValue(QStringLiteral("deck.lastRoute"), QStringLiteral("logs"));
    temp.settings->setValue(QStringLiteral("deck.savedFilters"), QByteArray("[]"));
    AppSettings s(temp.settings.get());
    s.appearance.set(AppearanceMode::light);
    s.logcatBufferSize.set(1000);
    s.resetToDefaults();

    const QSettings &store = *temp.settings;
    EXPECT_EQ(store.value(QStringLiteral("deck.appearance")), QVariant(QStringLiteral("dark")));
    EXPECT_EQ(store.value(QStringLiteral("deck.listDensity")), QVariant(QStringLiteral("regular")));
    EXPECT_EQ(store.value(QStringLiteral("deck.confirmDestructive")), QVariant(true));
    EXPECT_EQ(store.value(QStringLiteral("deck.monitorInterval")), QVariant(2.0));
    EXPECT_EQ(store.value(QStringLiteral("deck.customADBPath")), QVariant(QString()));
    EXPECT_EQ(AppSettings::readWholeNumber(store, QStringLiteral("deck.logcatBuffer")), 5000);
    EXPECT_EQ(store.value(QStringLiteral("deck.showRiskColumn")), QVariant(true));
    EXPECT_EQ(store.value(QStringLiteral("deck.lastRoute")), QVariant(QStringLiteral("logs")));
    EXPECT_EQ(store.value(QStringLiteral("deck.savedFilters")), QVariant(QByteArray("[]")));
    EXPECT_EQ(s.appearance(), AppearanceMode::dark);
    EXPECT_EQ(s.logcatBufferSize(), 5000);
}

SavedFilter filter(const QString &name)
{
    SavedFilter f;
    f.name = name;
    f.query = QStringLiteral("camera");
    f.kind = QStringLiteral("Системное");
    f.states = {QStringLiteral("disabled")};
    f.risks = {0, 2};
    return f;
}

TEST(AppSettings, SavedFiltersAndRouteAreStoredAndOneBadFilterLosesNothing)
{
    TempSettings temp;
    const SavedFilter good = filter(QStringLiteral("Камеры"));
    QJsonObject broken = filter(QStringLiteral("Сломанный")).toJson();
    broken.remove(QStringLiteral("risks"));
    const QByteArray stored =
        QJsonDocument(QJsonArray{good.toJson(), broken}).toJson(QJsonDocument::Compact);
    temp.settings->setValue(QStringLiteral("deck.savedFilters"), stored);

    AppSettings s(temp.settings.get());
    EXPECT_EQ(s.savedFilters(), QList<SavedFilter>{good});
    // Handing back the same list (the screen re-applying it) keeps the broken element.
    s.savedFilters.set({good});
    EXPECT_EQ(temp.settings->value(QStringLiteral("deck.savedFilters")).toByteArray(), stored);

    const SavedFilter second = filter(QStringLiteral("Второй"));
    s.savedFilters.set({good, second});
    EXPECT_EQ(temp.settings->value(QStringLiteral("deck.savedFilters")).toByteArray(),
              SavedFilter::encodeList({good, second}));

    s.lastRoute.set(AppRoute::console);
    EXPECT_EQ(temp.settings->value(QStringLiteral("deck.lastRoute")), QVariant(QStringLiteral("console")));
    const AppSettings again(temp.settings.get());
    EXPECT_EQ(again.savedFilters(), (QList<SavedFilter>{good, second}));
    EXPECT_EQ(again.lastRoute(), AppRoute::console);
}

TEST(AppSettings, ApplyAppearanceHandsTheModeToTheShell)
{
    TempSettings temp;
    AppSettings s(temp.settings.get());
    s.applyAppearance(); // no applier installed: nothing happens
    std::optional<AppearanceMode> applied;
    s.appearanceApplier = [&](AppearanceMode m) { applied = m; };
    s.appearance.set(AppearanceMode::light);
    EXPECT_FALSE(applied.has_value()); // setting alone does not apply
    s.applyAppearance();
    EXPECT_EQ(applied, AppearanceMode::light);
}

// The preferences must come back with their types in a new process; a copy of the
// file under a new name has no cache entry, so it is read from its bytes.
TEST(JsonSettings, PreferencesSurviveARealReload)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/prefs.json");
    {
        QSettings store(path, jsonSettingsFormat());
        AppSettings s(&store);
        s.appearance.set(AppearanceMode::light);
        s.density.set(ListDensity::compact);
        s.confirmDestructive.set(false);
        s.monitorInterval.set(3.0);
        s.customADBPath.set(QStringLiteral(" /opt/adb "));
        s.logcatBufferSize.set(20000);
        s.showRiskColumn.set(false);
        s.lastRoute.set(AppRoute::tools);
        s.savedFilters.set({filter(QStringLiteral("Ф"))});
        store.setValue(QStringLiteral("deck.huge"), qint64(1) << 62);
    }
    const QString copy = dir.path() + QStringLiteral("/reloaded.json");
    ASSERT_TRUE(QFile::copy(path, copy));

    QSettings store(copy, jsonSettingsFormat());
    ASSERT_EQ(store.status(), QSettings::NoError);
    const AppSettings s(&store);
    EXPECT_EQ(s.appearance(), AppearanceMode::light);
    EXPECT_EQ(s.density(), ListDensity::compact);
    EXPECT_FALSE(s.confirmDestructive());
    EXPECT_DOUBLE_EQ(s.monitorInterval(), 3.0);
    EXPECT_EQ(s.customADBPath(), QStringLiteral(" /opt/adb "));
    EXPECT_EQ(s.logcatBufferSize(), 20000);
    EXPECT_FALSE(s.showRiskColumn());
    EXPECT_EQ(s.lastRoute(), AppRoute::tools);
    ASSERT_EQ(s.savedFilters().size(), 1);
    EXPECT_EQ(s.savedFilters().first().name, QStringLiteral("Ф"));
    EXPECT_EQ(s.savedFilters().first().risks, (QList<int>{0, 2}));
    EXPECT_EQ(AppSettings::readWholeNumber(store, QStringLiteral("deck.huge")), qint64(1) << 62);

    // The file itself holds typed JSON, not texts.
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_TRUE(json.value(QStringLiteral("deck.confirmDestructive")).isBool());
    EXPECT_TRUE(json.value(QStringLiteral("deck.logcatBuffer")).isDouble());
    EXPECT_TRUE(json.value(QStringLiteral("deck.appearance")).isString());
}

TEST(JsonSettings, ValueTypesRoundTripThroughTheFormat)
{
    QSettings::SettingsMap in{
        {QStringLiteral("b"), true},
        {QStringLiteral("i"), 42},
        {QStringLiteral("d"), 2.5},
        {QStringLiteral("s"), QStringLiteral("{\"type\":\"data\"}")},
        {QStringLiteral("data"), QByteArray("\x00\xff", 2)},
        {QStringLiteral("list"), QStringList{QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("uuid"), QUuid::fromString(QStringLiteral("{12345678-1234-1234-1234-123456789abc}"))},
        {QStringLiteral("null"), QVariant()},
    };
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    ASSERT_TRUE(writeJsonSettings(buffer, in));
    buffer.seek(0);
    QSettings::SettingsMap out;
    ASSERT_TRUE(readJsonSettings(buffer, out));
    EXPECT_EQ(out.value(QStringLiteral("b")).metaType().id(), QMetaType::Bool);
    EXPECT_EQ(out.value(QStringLiteral("i")).toLongLong(), 42);
    EXPECT_EQ(out.value(QStringLiteral("i")).metaType().id(), QMetaType::LongLong);
    EXPECT_EQ(out.value(QStringLiteral("d")), QVariant(2.5));
    EXPECT_EQ(out.value(QStringLiteral("s")), QVariant(QStringLiteral("{\"type\":\"data\"}")));
    EXPECT_EQ(out.value(QStringLiteral("data")), QVariant(QByteArray("\x00\xff", 2)));
    EXPECT_EQ(out.value(QStringLiteral("list")).toStringList(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(out.value(QStringLiteral("uuid")).toUuid(), in.value(QStringLiteral("uuid")).toUuid());
    EXPECT_FALSE(out.value(QStringLiteral("null")).isValid());
}

TEST(JsonSettings, AnUnreadableFileGivesTheDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/broken.json");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"deck.appearance\": \"light\", oops");
    file.close();
    QSettings store(path, jsonSettingsFormat());
    EXPECT_EQ(store.status(), QSettings::FormatError);
    const AppSettings s(&store);
    EXPECT_EQ(s.appearance(), AppearanceMode::dark);
}

} // namespace

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// One product name on disk: the store lives under the data folder's name, and an earlier
// version's file is read from once, while the new one does not exist yet.
TEST(JsonSettings, TheStoreMovesUnderTheProductNameAndReadsTheOldPlaceOnce)
{
    QTemporaryDir config;
    const QString old = config.path() + QStringLiteral("/Kestrel/Kestrel.json");
    const QString current = config.path() + QStringLiteral("/Larkspur/Larkspur.json");
    const QByteArray earlier = R"({"deck.appearance": "light", "deck.monitorInterval": 3, "deck.customADBPath": "/opt/adb"})";
    writeFile(old, earlier);
    {
        std::unique_ptr<QSettings> store(openJsonSettings(config.path()));
        EXPECT_EQ(store->fileName(), current);
        const AppSettings s(store.get());
        EXPECT_EQ(s.appearance(), AppearanceMode::light);
        EXPECT_DOUBLE_EQ(s.monitorInterval(), 3.0);
        EXPECT_EQ(s.customADBPath(), QStringLiteral("/opt/adb"));
    }
    // Written to the new place at once, with its types; the old file is left as it was.
    const QJsonObject moved = QJsonDocument::fromJson(readFile(current)).object();
    EXPECT_EQ(moved.value(QStringLiteral("deck.appearance")).toString(), QStringLiteral("light"));
    EXPECT_TRUE(moved.value(QStringLiteral("deck.monitorInterval")).isDouble());
    EXPECT_EQ(readFile(old), earlier);

    // Later changes of the old file are never read again; new values go to the new file only.
    writeFile(old, R"({"deck.appearance": "dark"})");
    {
        std::unique_ptr<QSettings> store(openJsonSettings(config.path()));
        AppSettings s(store.get());
        EXPECT_EQ(s.appearance(), AppearanceMode::light);
        s.density.set(ListDensity::compact);
    }
    EXPECT_EQ(QJsonDocument::fromJson(readFile(current)).object().value(QStringLiteral("deck.appearance")).toString(),
              QStringLiteral("light"));
    EXPECT_EQ(readFile(old), QByteArray(R"({"deck.appearance": "dark"})"));
}

TEST(JsonSettings, WithoutAnEarlierFileTheStoreStartsEmpty)
{
    QTemporaryDir config;
    std::unique_ptr<QSettings> store(openJsonSettings(config.path()));
    EXPECT_TRUE(store->allKeys().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(config.path() + QStringLiteral("/Kestrel")));
    const AppSettings s(store.get());
    EXPECT_EQ(s.appearance(), AppearanceMode::dark);
}
