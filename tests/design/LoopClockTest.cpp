#include "design/Labels.h"
#include "design/LoopClock.h"

#include "TestSupport.h"
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

qint64 quarters(qreal value) { return qint64(std::floor(value * 4)); }

TEST(LoopClock, WakesOnlyWhereThePictureChanges)
{
    const struct {
        const char *name;
        LoopClock::Step step;
        QList<int> frames;
    } cases[] = {
        {"quarters", quarters, {0, 300, 500, 800}},
        {"still picture", [](qreal) { return qint64(7); }, {}},
        {"every sample", nullptr, {0, 100, 200, 300, 400, 500, 600, 700, 800, 900}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        LoopClock clock(1000, QEasingCurve::Linear, 100, c.step);
        EXPECT_FALSE(clock.isRunning());
        EXPECT_EQ(clock.value(), 0);
        clock.start();
        EXPECT_TRUE(clock.isRunning());
        EXPECT_EQ(clock.frameTimes(), c.frames);
        clock.stop();
        EXPECT_FALSE(clock.isRunning());
    }
}

TEST(LoopClock, TicksShowPlannedFramesLoopAfterLoopAndStopWhenStopped)
{
    LoopClock clock(200, QEasingCurve::Linear, 10, quarters);
    QList<qreal> shown;
    QObject::connect(&clock, &LoopClock::tick, [&] { shown.append(clock.value()); });
    clock.start();
    ASSERT_EQ(clock.frameTimes(), (QList<int>{0, 50, 100, 150}));
    // Two loops and more: the values climb through a loop and jump back at its end.
    ASSERT_TRUE(waitUntil([&] { return shown.size() >= 8; }));
    int wraps = 0;
    for (int i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(shown[i] == 0 || shown[i] == 0.25 || shown[i] == 0.5 || shown[i] == 0.75) << shown[i];
        if (i > 0 && shown[i] < shown[i - 1])
            ++wraps;
    }
    EXPECT_GE(wraps, 1);

    clock.stop();
    EXPECT_EQ(clock.value(), 0);
    const qsizetype stoppedAt = shown.size();
    // Another clock of the same pace ticks twice: the stopped one would have ticked by then.
    LoopClock witness(200, QEasingCurve::Linear, 10, quarters);
    int witnessed = 0;
    QObject::connect(&witness, &LoopClock::tick, [&] { ++witnessed; });
    witness.start();
    ASSERT_TRUE(waitUntil([&] { return witnessed >= 2; }));
    EXPECT_EQ(shown.size(), stoppedAt);
}

// Two loops in common phase started apart tick in the same wake-ups with the same picture; one
// stopped or destroyed leaves the other going.
TEST(LoopClock, LoopsInCommonPhaseTickTogether)
{
    LoopClock first(200, QEasingCurve::Linear, 10, quarters);
    first.setCommonPhase(true);
    int firstTicks = 0;
    QObject::connect(&first, &LoopClock::tick, [&] { ++firstTicks; });
    first.start();
    ASSERT_TRUE(waitUntil([&] { return firstTicks >= 3; }));

    auto second = std::make_unique<LoopClock>(200, QEasingCurve::Linear, 10, quarters);
    second->setCommonPhase(true);
    QList<std::pair<qreal, qreal>> seen; // the second's value and the first's at each tick of the second
    QObject::connect(second.get(), &LoopClock::tick, [&] { seen.append({second->value(), first.value()}); });
    second->start();
    ASSERT_TRUE(waitUntil([&] { return seen.size() >= 8; }));
    for (const auto &[mine, theirs] : seen)
        EXPECT_EQ(mine, theirs);

    second.reset();
    const int before = firstTicks;
    ASSERT_TRUE(waitUntil([&] { return firstTicks >= before + 4; }));
    first.stop();
    EXPECT_FALSE(first.isRunning());
}

TEST(PulseDot, RingRepaintsAFewTimesALoopAtVisibleSteps)
{
    QWidget host;
    auto *dot = new PulseDot(Tone::success, true, &host);
    host.show();
    ASSERT_TRUE(dot->isPulsing());
    const QList<int> frames = dot->loop().frameTimes();
    // Whole pixels of radius and tenths of opacity: about six frames a second, not sixty.
    EXPECT_GE(frames.size(), 6);
    EXPECT_LE(frames.size(), 16);
    for (int i = 1; i < frames.size(); ++i) {
        EXPECT_LT(frames[i - 1], frames[i]);
        EXPECT_LT(frames[i], PulseDot::kPeriodMs);
    }
    // Each frame differs from the one before by what it draws.
    for (int i = 1; i < frames.size(); ++i) {
        const auto at = [](int ms) { return QEasingCurve(QEasingCurve::OutCubic).valueForProgress(qreal(ms) / PulseDot::kPeriodMs); };
        EXPECT_NE(PulseDot::ringStep(at(frames[i - 1]), 1), PulseDot::ringStep(at(frames[i]), 1));
    }
}

} // namespace
