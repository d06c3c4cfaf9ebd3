#include "design/Transition.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QGraphicsOpacityEffect>
#include <QPointer>

#include <memory>

namespace {

const Animation kSlow{Animation::Kind::easeOut, 5.0}; // never ends by itself within a test

struct Host {
    QWidget window;
    QWidget *bar = new QWidget(&window);
    Host()
    {
        window.resize(400, 300);
        bar->setGeometry(0, 200, 100, 40);
        window.show();
    }
};

// The overlay's road: a bar slides in, and leaves again before it has arrived. The slide-in
// settles (resting place, fully opaque, its `done` once), and the slide-out owns the effect.
TEST(Transition, AStartedTransitionSettlesTheOneRunning)
{
    Host h;
    int arrived = 0;
    Transition::run(h.bar, kSlow, {.opacity = std::pair(0.0, 1.0), .position = std::pair(QPoint(0, 300), QPoint(0, 200))},
                    {.done = [&] { ++arrived; }});
    ASSERT_TRUE(Transition::isRunning(h.bar));
    Transition::animation(h.bar)->setCurrentTime(100);
    EXPECT_GT(h.bar->y(), 200);
    EXPECT_LT(Transition::opacity(h.bar), 1.0);
    QPointer<QGraphicsEffect> firstEffect = h.bar->graphicsEffect();

    QPointer<QWidget> leaving = h.bar;
    Transition::run(h.bar, kSlow, {.opacity = std::pair(1.0, 0.0), .position = std::pair(QPoint(0, 200), QPoint(0, 300))},
                    {.done = [leaving] { leaving->deleteLater(); }});
    EXPECT_EQ(arrived, 1);
    ASSERT_TRUE(Transition::isRunning(h.bar));
    EXPECT_EQ(h.bar->graphicsEffect(), firstEffect.data()) << "one effect, reused";
    // Frames of the slide-out drive the effect the widget has now.
    Transition::animation(h.bar)->setCurrentTime(2500);
    EXPECT_LT(Transition::opacity(h.bar), 1.0);
    EXPECT_GT(h.bar->y(), 200);
    Transition::settle(h.bar);
    EXPECT_EQ(arrived, 1);
    EXPECT_DOUBLE_EQ(Transition::opacity(h.bar), 0.0);
    EXPECT_EQ(h.bar->y(), 300);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(leaving.isNull());
}

// Without an animation (reduce motion) the end state and `done` apply at once; a fade that
// ends opaque leaves no effect behind, and `done` may delete the widget itself.
TEST(Transition, WithoutAnimationTheEndAppliesAtOnce)
{
    Host h;
    QList<qreal> steps;
    bool done = false;
    Transition::run(h.bar, std::nullopt, {.opacity = std::pair(0.0, 1.0), .position = std::pair(QPoint(5, 0), QPoint(9, 9))},
                    {.step = [&](qreal t) { steps << t; }, .done = [&] { done = true; }});
    EXPECT_TRUE(done);
    EXPECT_FALSE(Transition::isRunning(h.bar));
    EXPECT_EQ(h.bar->graphicsEffect(), nullptr);
    EXPECT_EQ(h.bar->pos(), QPoint(9, 9));
    EXPECT_EQ(steps.last(), 1.0);

    QPointer<QWidget> bar = h.bar;
    Transition::run(h.bar, std::nullopt, {.opacity = std::pair(1.0, 0.0)}, {.done = [&] { delete bar.data(); }});
    EXPECT_TRUE(bar.isNull());
}

// A widget deleted mid-way ends its transition: no frame and no `done` reach it afterwards.
TEST(Transition, DeletingTheWidgetEndsItsTransition)
{
    Host h;
    int frames = 0;
    bool done = false;
    Transition::run(h.bar, Motion::snap(), {.opacity = std::pair(0.0, 1.0)},
                    {.step = [&](qreal) { ++frames; }, .done = [&] { done = true; }});
    delete h.bar;
    const int before = frames;
    // Another transition of the same length on a widget that stays tells when the first would have ended.
    auto *other = new QWidget(&h.window);
    bool otherDone = false;
    Transition::run(other, Motion::snap(), {.opacity = std::pair(0.0, 1.0)}, {.done = [&] { otherDone = true; }});
    ASSERT_TRUE(waitUntil([&] { return otherDone; }));
    EXPECT_EQ(frames, before);
    EXPECT_FALSE(done);
}

} // namespace
