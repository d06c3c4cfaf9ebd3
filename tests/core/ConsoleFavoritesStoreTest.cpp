#include "core/ConsoleFavoritesStore.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

QList<QPair<ConsoleMode, QString>> contents(const QList<ConsoleFavorite> &list)
{
    QList<QPair<ConsoleMode, QString>> out;
    for (const ConsoleFavorite &f : list)
        out.append({f.mode, f.command});
    return out;
}

const QList<QPair<ConsoleMode, QString>> kBuiltIns = {
    {ConsoleMode::deviceShell, QStringLiteral("getprop ro.product.model")},
    {ConsoleMode::deviceShell, QStringLiteral("getprop ro.build.version.release")},
    {ConsoleMode::deviceShell, QStringLiteral("dumpsys battery")},
    {ConsoleMode::deviceShell, QStringLiteral("df -h /data")},
    {ConsoleMode::deviceShell, QStringLiteral("pm list packages -3")},
    {ConsoleMode::adb, QStringLiteral("devices -l")},
};

TEST(ConsoleFavoritesStore, FallsBackToTheBuiltInsOnlyWhenNothingIsReadable)
{
    struct Case {
        const char *name;
        std::optional<QVariant> stored;
        bool builtIns;
    };
    const Case cases[] = {
        {"nothing stored", std::nullopt, true},
        {"not JSON", QVariant(QByteArray("garbage")), true},
        {"not an array", QVariant(QByteArray("{}")), true},
        {"a text, not data", QVariant(QStringLiteral("[]")), true},
        {"every element broken", QVariant(QByteArray("[{\"id\":\"x\",\"mode\":\"ADB\",\"command\":\"a\"}]")), true},
        {"empty list", QVariant(QByteArray("[]")), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempSettings temp;
        if (c.stored)
            temp.settings->setValue(QLatin1String(kConsoleFavoritesKey), *c.stored);
        const QList<ConsoleFavorite> loaded = loadConsoleFavorites(*temp.settings);
        EXPECT_EQ(contents(loaded), c.builtIns ? kBuiltIns : (QList<QPair<ConsoleMode, QString>>{}));
        // Reading writes nothing back.
        EXPECT_EQ(temp.settings->contains(QLatin1String(kConsoleFavoritesKey)), c.stored.has_value());
    }
    const QList<ConsoleFavorite> a = builtInConsoleFavorites(), b = builtInConsoleFavorites();
    EXPECT_NE(a.first().id, b.first().id);
}

TEST(ConsoleFavoritesStore, OneBrokenElementDoesNotCostTheRestOnTheNextSave)
{
    TempSettings temp;
    const QByteArray stored =
        "[{\"id\":\"6f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b\",\"mode\":\"ADB\",\"command\":\"devices\"},"
        "{\"id\":\"6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4C\",\"mode\":\"ADB\"},"
        "{\"id\":\"6F1C2A3B-4D5E-4F60-8A7B-9C0D1E2F3A4D\",\"mode\":\"Shell устройства\",\"command\":\"ls \\/sdcard\"}]";
    temp.settings->setValue(QLatin1String(kConsoleFavoritesKey), stored);

    QList<ConsoleFavorite> loaded = loadConsoleFavorites(*temp.settings);
    EXPECT_EQ(contents(loaded), (QList<QPair<ConsoleMode, QString>>{{ConsoleMode::adb, QStringLiteral("devices")},
                                                                     {ConsoleMode::deviceShell, QStringLiteral("ls /sdcard")}}));
    saveConsoleFavorites(*temp.settings, loaded);
    temp.settings->sync();
    QSettings reread(temp.settings->fileName(), QSettings::IniFormat);
    EXPECT_EQ(loadConsoleFavorites(reread), loaded);
}

} // namespace
