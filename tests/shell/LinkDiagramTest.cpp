#include "shell/LinkDiagram.h"

#include "design/Accessibility.h"
#include "design/Ink.h"
#include "design/ToneInk.h"

#include "TestSupport.h"

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
        EXPECT_EQ(d.accessibleName(), QStringLiteral("Схема подключения Mac и Android: ") + title(c.state));
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
        EXPECT_EQ(d.accessibleName(), QStringLiteral("Схема подключения Mac и Android: Подключено"));
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
