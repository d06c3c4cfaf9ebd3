#include "ConsoleSuggestions.h"

#include "core/ConsoleSnippets.h"
#include "core/ConsoleTranscript.h"

#include <QSet>
#include <QTextBoundaryFinder>

namespace {

// Characters as the user sees them (a letter with its marks, an emoji with its modifiers).
int perceivedLength(const QString &text, int atMost)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (count < atMost && finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

} // namespace

QStringList consoleSuggestions(const QString &input, ConsoleMode mode, const QList<ConsoleFavorite> &favorites,
                               const QList<ConsoleCommandRecord> &history)
{
    const QString query = trimmedConsoleText(input);
    if (perceivedLength(query, 2) < 2)
        return {};
    QStringList result;
    QSet<QString> taken;
    const auto consider = [&](const QString &command) {
        if (command == query || !command.contains(query, Qt::CaseInsensitive))
            return;
        if (!taken.contains(command)) {
            taken.insert(command);
            result.append(command);
        }
    };
    for (const ConsoleSnippet &snippet : ConsoleSnippets::all())
        if (snippet.mode == mode)
            consider(snippet.command);
    for (const ConsoleFavorite &favorite : favorites)
        if (favorite.mode == mode)
            consider(favorite.command);
    for (const ConsoleCommandRecord &record : history)
        if (record.mode == mode)
            consider(record.command);
    return result;
}
