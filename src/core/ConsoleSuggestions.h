#pragma once

#include "bridge/ConsoleCommandRecord.h"
#include "bridge/ConsoleFavorite.h"
#include "bridge/ConsoleMode.h"

#include <QList>
#include <QStringList>

// Completions for the console's command line: the snippets, then the favourites, then the
// history (oldest first) of `mode` whose command contains the typed text (trimmed of spaces
// and tabs, at least two characters), ignoring letter case; never the typed text itself, each
// command once at its first place. No length limit: the bar shows the first few.
QStringList consoleSuggestions(const QString &input, ConsoleMode mode, const QList<ConsoleFavorite> &favorites,
                               const QList<ConsoleCommandRecord> &history);
