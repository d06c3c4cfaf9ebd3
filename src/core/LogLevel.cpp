#include "LogLevel.h"

namespace {

struct LevelFacts {
    const char16_t *letter;
    const char *title;
    Tone tone;
    const char *icon;
};

constexpr LevelFacts kFacts[kLogLevelCount] = {
    {u"V", "Verbose", Tone::neutral, "circle"},
    {u"D", "Debug", Tone::neutral, "ladybug"},
    {u"I", "Info", Tone::accent, "info.circle"},
    {u"W", "Warning", Tone::warning, "exclamationmark.triangle"},
    {u"E", "Error", Tone::danger, "xmark.octagon"},
    {u"F", "Fatal", Tone::danger, "flame"},
};

} // namespace

QString rawValue(LogLevel level) { return QString::fromUtf16(kFacts[int(level)].letter); }
QString title(LogLevel level) { return QString::fromLatin1(kFacts[int(level)].title); }
Tone tone(LogLevel level) { return kFacts[int(level)].tone; }
QString icon(LogLevel level) { return QString::fromLatin1(kFacts[int(level)].icon); }

template <> QList<LogLevel> allCases<LogLevel>()
{
    return {LogLevel::verbose, LogLevel::debug, LogLevel::info, LogLevel::warning, LogLevel::error, LogLevel::fatal};
}

template <> std::optional<LogLevel> fromRawValue<LogLevel>(const QString &raw)
{
    return raw.size() == 1 ? logLevelFromLetter(raw.front().unicode()) : std::nullopt;
}
