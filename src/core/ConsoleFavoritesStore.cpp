#include "ConsoleFavoritesStore.h"

#include <QSettings>

QList<ConsoleFavorite> builtInConsoleFavorites()
{
    return {
        ConsoleFavorite(ConsoleMode::deviceShell, QStringLiteral("getprop ro.product.model")),
        ConsoleFavorite(ConsoleMode::deviceShell, QStringLiteral("getprop ro.build.version.release")),
        ConsoleFavorite(ConsoleMode::deviceShell, QStringLiteral("dumpsys battery")),
        ConsoleFavorite(ConsoleMode::deviceShell, QStringLiteral("df -h /data")),
        ConsoleFavorite(ConsoleMode::deviceShell, QStringLiteral("pm list packages -3")),
        ConsoleFavorite(ConsoleMode::adb, QStringLiteral("devices -l")),
    };
}

QList<ConsoleFavorite> loadConsoleFavorites(QSettings &settings)
{
    const QVariant stored = settings.value(QLatin1String(kConsoleFavoritesKey));
    if (!stored.isValid() || stored.typeId() != QMetaType::QByteArray)
        return builtInConsoleFavorites();
    const std::optional<DecodedConsoleFavorites> decoded = decodeConsoleFavorites(stored.toByteArray());
    if (!decoded || (decoded->favorites.isEmpty() && decoded->skipped > 0))
        return builtInConsoleFavorites();
    return decoded->favorites;
}

void saveConsoleFavorites(QSettings &settings, const QList<ConsoleFavorite> &favorites)
{
    settings.setValue(QLatin1String(kConsoleFavoritesKey), encodeConsoleFavorites(favorites));
}
