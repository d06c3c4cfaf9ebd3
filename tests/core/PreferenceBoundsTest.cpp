#include "core/PreferenceBounds.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(PreferenceBounds, IntervalStaysWithinOneToTenSeconds)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct { double in, out; } cases[] = {
        {2.5, 2.5}, {1, 1}, {10, 10}, {0, 1}, {-3, 1}, {11, 10}, {1e300, 10},
        {std::numeric_limits<double>::quiet_NaN(), 2}, {inf, 2}, {-inf, 2},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PreferenceBounds::monitorInterval(c.in), c.out) << c.in;
}

TEST(PreferenceBounds, LogcatBufferStaysWithinItsRange)
{
    const struct { qint64 in, out; } cases[] = {
        {5000, 5000}, {500, 500}, {50000, 50000}, {0, 500}, {-1, 500}, {499, 500}, {50001, 50000},
        {std::numeric_limits<qint64>::max(), 50000}, {std::numeric_limits<qint64>::min(), 500},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PreferenceBounds::logcatBufferSize(c.in), c.out) << c.in;
}

} // namespace
