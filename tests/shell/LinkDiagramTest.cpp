#include "shell/LinkDiagram.h"
#include "core/PlatformTexts.h"

#include "design/Accessibility.h"
#include "design/Ink.h"
#include "design/ToneInk.h"

#include "TestSupport.h"

#include <QPaintEvent>
#include <gtest/gtest.h>

namespace {

using C = LinkState::Case;

TEST(LinkDiagram, ActiveStatesLightTheLineAndHandset)
{
    const struct { LinkState state; bool active; bool dot; Tone tone; } cases[] = {
        {LinkState::working(QStringLiteral("Отключение")), true, true, Tone::accent},
        {C::recovery, true, true, Tone::warning},
        {C::sideload, true, true, Tone::warning},
        {C::fastboot, true, true, Tone::violet},
        {C::connected, true, true, Tone::success},
        {C::searching, false, true, Tone::accent},
        {LinkState::failed(QStringLiteral("нет")), false, false, Tone::danger},
        {C::adbMissing, false, false, Tone::danger},
        {C::noDevice, false, false, Tone::neutral},
        {C::unauthorized, false, false, Tone::warning},
        {C::offline, false, false, Tone::warning},
    };
    for (const auto &c : cases) {
        LinkDiagram d(c.state);
        SCOPED_TRACE(title(c.state).toStdString());
        EXPECT_EQ(LinkDiagram::isActive(c.state), c.active);
        EXPECT_EQ(d.showsDot(), c.dot);
        EXPECT_EQ(d.tint(), foreground(c.tone));
        EXPECT_EQ(d.handsetStroke(), c.active ? foreground(c.tone) : Ink::strokeStrong());
        EXPECT_EQ(d.iconColor(), c.active ? foreground(c.tone) : Ink::textTertiary());
        EXPECT_EQ(d.height(), 96);
        EXPECT_EQ(d.accessibleName(), PlatformTexts::text(PlatformTexts::diagramName) + title(c.state));
    }
}

TEST(LinkDiagram, DotTravelsOnceShownAndNotWithReducedMotion)
{
    {
        LinkDiagram d(C::searching);
        d.show();
        EXPECT_TRUE(d.isTravelling());
        // A new state redraws without restarting the dot.
        d.setState(C::connected);
        EXPECT_TRUE(d.isTravelling());
        EXPECT_EQ(d.accessibleName(), PlatformTexts::text(PlatformTexts::diagramName) + QStringLiteral("Подключено"));
        d.grab(); // paints every layer
    }
    A11y::setReduceMotion(true);
    {
        LinkDiagram d(C::connected);
        d.show();
        EXPECT_FALSE(d.isTravelling());
        EXPECT_FALSE(d.showsDot());
        EXPECT_EQ(d.handsetStroke(), foreground(Tone::success)); // still lit
        d.grab();
    }
    A11y::resetForTesting();
}

} // namespace

namespace {

// Records the rectangles of the paint events a widget receives.
struct PaintLog : QObject {
    QList<QRect> rects;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            rects.append(static_cast<QPaintEvent *>(event)->rect());
        return false;
    }
};

TEST(LinkDiagram, DotRunsOnlyWhileDrawnAndOnScreen)
{
    A11y::resetForTesting();
    QWidget window;
    auto *d = new LinkDiagram(C::noDevice, &window);
    window.show();
    EXPECT_FALSE(d->isTravelling()); // no dot in this state: nothing runs
    d->setState(C::searching);
    EXPECT_TRUE(d->isTravelling());
    d->setState(C::connected); // still a dot: it keeps its pace
    EXPECT_TRUE(d->isTravelling());
    window.hide();
    EXPECT_FALSE(d->isTravelling());
    window.show();
    EXPECT_TRUE(d->isTravelling());
    window.showMinimized();
    EXPECT_TRUE(waitUntil([&] { return !d->isTravelling(); }));
    window.showNormal();
    EXPECT_TRUE(waitUntil([&] { return d->isTravelling(); }));
    d->setState(LinkState::failed(QStringLiteral("нет")));
    EXPECT_FALSE(d->isTravelling());
}

TEST(LinkDiagram, ATickRepaintsOnlyTheDot)
{
    A11y::resetForTesting();
    QWidget window;
    auto *d = new LinkDiagram(C::searching, &window);
    PaintLog log;
    d->installEventFilter(&log);
    window.show();
    ASSERT_TRUE(d->isTravelling());
    // The first showing paints it whole.
    ASSERT_TRUE(waitUntil([&] { return log.rects.contains(d->rect()); }));
    log.rects.clear();
    // About thirty frames a second at most, not one per display refresh.
    const QList<int> frames = d->travel().frameTimes();
    EXPECT_GE(frames.size(), 20);
    EXPECT_LE(frames.size(), 1600 / 33 + 1);

    ASSERT_TRUE(waitUntil([&] { return log.rects.size() >= 6; }));
    const QRect band(LinkDiagram::kGlowRoom + 100 - 10, 0, 96 + 20, LinkDiagram::kHeight);
    for (const QRect &r : log.rects) {
        EXPECT_TRUE(band.contains(r)) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        EXPECT_LE(r.width() * r.height(), 3 * d->dotRect().width() * d->dotRect().height());
    }
}

} // namespace
