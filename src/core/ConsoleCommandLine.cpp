#include "ConsoleCommandLine.h"

#include <QTextBoundaryFinder>

namespace {

// adb reads "-t<id>" and "-s<digits>" as selectors too, so those glued forms are
// refused under the name of their option.
std::optional<QString> deviceSelector(const QString &argument)
{
    static const QStringList exact = {QStringLiteral("-s"), QStringLiteral("-d"), QStringLiteral("-e"),
                                      QStringLiteral("-t"), QStringLiteral("--one-device")};
    if (exact.contains(argument))
        return argument;
    if (argument.startsWith(QLatin1String("-t")))
        return QStringLiteral("-t");
    if (argument.size() > 2 && argument.startsWith(QLatin1String("-s")) && argument.at(2).isDigit())
        return QStringLiteral("-s");
    return std::nullopt;
}

} // namespace

std::variant<QStringList, ConsoleCommandError> parseADBCommandLine(const QString &line)
{
    QStringList arguments;
    QString word;
    bool escaped = false;
    QChar openQuote; // null when no quote is open

    // User-perceived characters, so an escaped CR LF or accented letter stays whole.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, line);
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end != -1 && end > start; end = finder.toNextBoundary()) {
        const QStringView character = QStringView(line).sliced(start, end - start);
        start = end;
        const QChar first = character.front();
        const bool single = character.size() == 1;

        if (escaped) {
            word += character;
            escaped = false;
        } else if (single && first == QLatin1Char('\\')) {
            escaped = true;
        } else if (!openQuote.isNull()) {
            if (single && first == openQuote)
                openQuote = QChar();
            else
                word += character;
        } else if (single && (first == QLatin1Char('"') || first == QLatin1Char('\''))) {
            openQuote = first;
        } else if (first.isSpace()) {
            if (!word.isEmpty()) {
                arguments << word;
                word.clear();
            }
        } else {
            word += character;
        }
    }

    if (escaped)
        word += QLatin1Char('\\');
    if (!openQuote.isNull())
        return ConsoleCommandError::unmatchedQuote();
    if (!word.isEmpty())
        arguments << word;
    if (!arguments.isEmpty()
        && (arguments.first() == QLatin1String("adb") || arguments.first().endsWith(QLatin1String("/adb"))))
        arguments.removeFirst();
    if (arguments.isEmpty())
        return ConsoleCommandError::empty();
    for (const QString &argument : arguments)
        if (std::optional<QString> selector = deviceSelector(argument))
            return ConsoleCommandError::forbiddenDeviceSelector(*selector);
    return arguments;
}
