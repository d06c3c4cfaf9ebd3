#pragma once

#include "bridge/ConsoleFavorite.h"

#include <QList>

class QSettings;

// Where the console's favourites are kept in the settings store.
inline constexpr char kConsoleFavoritesKey[] = "KestrelConsoleFavorites";

// The six quick commands a new user starts with, each with a new identifier.
QList<ConsoleFavorite> builtInConsoleFavorites();

// The stored favourites in their stored order (an empty stored list stays empty).
// Unreadable elements are skipped; the built-ins come back only when nothing is
// stored, the value is no JSON array, or not one of its elements could be read.
// Writes nothing.
QList<ConsoleFavorite> loadConsoleFavorites(QSettings &settings);

// Stores the list in its JSON form under the favourites key.
void saveConsoleFavorites(QSettings &settings, const QList<ConsoleFavorite> &favorites);
