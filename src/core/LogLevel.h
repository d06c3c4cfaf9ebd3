#pragma once

#include "bridge/RawValue.h"
#include "bridge/Tone.h"

#include <QString>

#include <array>
#include <optional>

// The priority of a logcat line, in logcat's order; the raw value is logcat's one letter.
// Comparison follows that order: verbose < debug < info < warning < error < fatal.
enum class LogLevel { verbose, debug, info, warning, error, fatal };

inline constexpr int kLogLevelCount = 6;

QString rawValue(LogLevel level);
QString title(LogLevel level);
Tone tone(LogLevel level);
QString icon(LogLevel level);
inline int order(LogLevel level) { return int(level); }
template <> QList<LogLevel> allCases<LogLevel>();
template <> std::optional<LogLevel> fromRawValue<LogLevel>(const QString &raw);

// The level of one letter ("V", "D", "I", "W", "E", "F", upper case only).
inline std::optional<LogLevel> logLevelFromLetter(char16_t letter)
{
    switch (letter) {
    case u'V': return LogLevel::verbose;
    case u'D': return LogLevel::debug;
    case u'I': return LogLevel::info;
    case u'W': return LogLevel::warning;
    case u'E': return LogLevel::error;
    case u'F': return LogLevel::fatal;
    default: return std::nullopt;
    }
}

// Lines taken in per level. A level never seen has no count (0).
struct LogLevelCounts {
    std::array<qint64, kLogLevelCount> values{};

    qint64 operator[](LogLevel level) const { return values[std::size_t(level)]; }
    qint64 &operator[](LogLevel level) { return values[std::size_t(level)]; }
    // The count a chip shows: none for a level never seen.
    std::optional<qint64> shown(LogLevel level) const
    {
        return values[std::size_t(level)] > 0 ? std::optional(values[std::size_t(level)]) : std::nullopt;
    }
    bool isEmpty() const { return values == std::array<qint64, kLogLevelCount>{}; }
    bool operator==(const LogLevelCounts &) const = default;
};
