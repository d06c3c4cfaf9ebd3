#pragma once

#include <QtGlobal>

// Stored preferences are kept exactly as written; these bound the two numeric ones before any
// use, so a hand-edited or corrupt store never reaches an integer conversion or a timer.
namespace PreferenceBounds {

inline constexpr double minimumMonitorInterval = 1;
inline constexpr double maximumMonitorInterval = 10;
inline constexpr double defaultMonitorInterval = 2;
inline constexpr qint64 minimumLogcatBuffer = 500;
inline constexpr qint64 maximumLogcatBuffer = 50'000;

// Seconds within 1–10; a value that is not finite gives the default 2.
double monitorInterval(double seconds);
// Lines within 500–50,000.
qint64 logcatBufferSize(qint64 lines);

} // namespace PreferenceBounds
