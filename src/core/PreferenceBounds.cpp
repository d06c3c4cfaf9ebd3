#include "PreferenceBounds.h"

#include <algorithm>
#include <cmath>

namespace PreferenceBounds {

double monitorInterval(double seconds)
{
    if (!std::isfinite(seconds))
        return defaultMonitorInterval;
    return std::clamp(seconds, minimumMonitorInterval, maximumMonitorInterval);
}

qint64 logcatBufferSize(qint64 lines)
{
    return std::clamp(lines, minimumLogcatBuffer, maximumLogcatBuffer);
}

} // namespace PreferenceBounds
