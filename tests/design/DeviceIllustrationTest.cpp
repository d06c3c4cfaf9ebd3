#include "design/Accessibility.h"
#include "design/DeviceGlyph.h"
#include "design/DeviceObject.h"
#include "design/HandsetShape.h"
#include "design/Ink.h"
#include "design/Theme.h"
#include "design/ToneInk.h"

#include "bridge/Bytes.h"

#include "TestSupport.h"

#include <QPainter>
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

DeviceSnapshot sampleSnapshot()
{
    DeviceSnapshot s;
    s.serial = QStringLiteral("192.168.1.20:5555");
    s.manufacturer = QStringLiteral("Google");
    s.model = QStringLiteral("Pixel 8");
    s.androidRelease = QStringLiteral("14");
    s.batteryLevel = 76;
    s.storageTotalBytes = 128'000'000'000;
    s.storageUsedBytes = 96'000'000'000;
    s.storageFreeBytes = 32'000'000'000;
    return s;
}

QImage paint(DeviceObject &object, const QRegion &region = {}, const QImage *start = nullptr, qreal dpr = 1)
{
    QImage img = start ? *start : QImage(object.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    if (!start) {
        img.setDevicePixelRatio(dpr);
        img.fill(Ink::canvas());
    }
    QPainter p(&img);
    object.paintFrame(p, region);
    return img;
}

int maxChannelDifference(const QImage &a, const QImage &b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = a.pixel(x, y), pb = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(pa) - qRed(pb)), std::abs(qGreen(pa) - qGreen(pb)),
                              std::abs(qBlue(pa) - qBlue(pb))});
        }
    return worst;
}

TEST(DeviceObject, BatterySymbolByLevelAndCharging)
{
    EXPECT_EQ(DeviceObject::batteryIcon(std::nullopt), QStringLiteral("battery.0percent"));
    DeviceSnapshot s = sampleSnapshot();
    s.batteryLevel.reset();
    EXPECT_EQ(DeviceObject::batteryIcon(s), QStringLiteral("battery.0percent"));
    const struct { qint64 level; const char *icon; } cases[] = {
        {0, "battery.0percent"},   {14, "battery.0percent"},  {15, "battery.25percent"},  {39, "battery.25percent"},
        {40, "battery.50percent"}, {69, "battery.50percent"}, {70, "battery.75percent"},  {89, "battery.75percent"},
        {90, "battery.100percent"}, {100, "battery.100percent"}};
    for (const auto &c : cases) {
        s.batteryLevel = c.level;
        s.isCharging.reset();
        EXPECT_EQ(DeviceObject::batteryIcon(s), QLatin1String(c.icon)) << c.level;
        s.isCharging = true;
        EXPECT_EQ(DeviceObject::batteryIcon(s), QStringLiteral("battery.100percent.bolt")) << c.level;
    }
}

TEST(DeviceObject, AccessibilityDescription)
{
    EXPECT_EQ(DeviceObject::accessibilityDescription(LinkState::Case::noDevice, std::nullopt),
              QStringLiteral("Устройство не подключено"));
    const DeviceSnapshot full = sampleSnapshot();
    EXPECT_EQ(DeviceObject::accessibilityDescription(LinkState::Case::connected, full),
              QStringLiteral("Подключено, ") + full.marketingName() + QStringLiteral(", заряд 76 процентов, свободно ") +
                  Bytes::shortText(full.storageFreeBytes));

    // Level 0 without a status: no battery on screen, yet the description still says it.
    DeviceSnapshot zero;
    zero.serial = QStringLiteral("R58M");
    zero.batteryLevel = 0;
    EXPECT_FALSE(zero.hasBattery());
    EXPECT_EQ(DeviceObject::accessibilityDescription(LinkState::Case::connected, zero),
              QStringLiteral("Подключено, R58M, заряд 0 процентов"));
    // A status without a level says nothing of the battery.
    DeviceSnapshot status;
    status.serial = QStringLiteral("R58M");
    status.batteryStatusCode = 2;
    EXPECT_EQ(DeviceObject::accessibilityDescription(LinkState::Case::connected, status),
              QStringLiteral("Подключено, R58M"));
}

TEST(DeviceObject, WhatEachStateGivesThePicture)
{
    for (LinkState::Case c : allLinkStateCases()) {
        const LinkState s = c == LinkState::Case::working  ? LinkState::working(QStringLiteral("Экспорт"))
                            : c == LinkState::Case::failed ? LinkState::failed(QStringLiteral("Сбой"))
                                                           : LinkState(c);
        const bool idle = c == LinkState::Case::adbMissing || c == LinkState::Case::noDevice;
        EXPECT_EQ(DeviceObject::isIdle(s), idle) << int(c);
        EXPECT_DOUBLE_EQ(DeviceObject::glowOpacity(s), idle ? 0.1 : c == LinkState::Case::working ? 0.42 : 0.3)
            << int(c);
    }
    EXPECT_EQ(DeviceObject::storageTone(LinkState::Case::connected, 0.88), Tone::accent);
    EXPECT_EQ(DeviceObject::storageTone(LinkState::Case::connected, 0.8801), Tone::warning);
    EXPECT_EQ(DeviceObject::storageTone(LinkState::Case::fastboot, 0.5), Tone::violet);
}

TEST(DeviceObject, EveryMeasureIsAMultipleOfTheWidth)
{
    DeviceObject object(LinkState::Case::connected);
    EXPECT_EQ(object.size(), QSize(int(std::ceil(168 * 1.9)), int(std::ceil(168 * 2.02 * 1.16))));
    EXPECT_NEAR(object.bodyRect().width(), 168, 1e-9);
    EXPECT_NEAR(object.bodyRect().height(), 339.36, 1e-9);
    EXPECT_NEAR(object.screenRect().width(), 168 - 2 * 168 * 0.045, 1e-9);
    EXPECT_NEAR(object.ringRect().width(), 168 * 1.62, 1e-9);
    EXPECT_NEAR(object.bodyRect().center().x(), object.width() / 2.0, 1e-9);
    DeviceObject small(LinkState::Case::connected, std::nullopt, 100);
    EXPECT_NEAR(small.bodyRect().height(), 202, 1e-9);
}

TEST(DeviceObject, SweepOnShowAndOnEveryUnequalStateOrbitOnlyWhileBusyNothingWhenHidden)
{
    DeviceObject object(LinkState::Case::connected);
    object.show();
    EXPECT_TRUE(object.isSweeping());
    EXPECT_FALSE(object.isOrbiting());
    EXPECT_TRUE(waitUntil([&] { return !object.isSweeping(); }));
    EXPECT_DOUBLE_EQ(object.sweepPosition(), 1); // rests past the right edge

    object.setState(LinkState::Case::connected); // equal: nothing
    EXPECT_FALSE(object.isSweeping());
    object.setState(LinkState::working(QStringLiteral("Отключение")));
    EXPECT_TRUE(object.isSweeping());
    EXPECT_TRUE(object.isOrbiting());
    EXPECT_TRUE(waitUntil([&] { return object.orbitAngle() > 30; }));
    object.setState(LinkState::working(QStringLiteral("Удаление"))); // another text restarts both
    EXPECT_LT(object.orbitAngle(), 30);
    EXPECT_DOUBLE_EQ(object.sweepPosition(), 0);

    object.hide();
    EXPECT_FALSE(object.isSweeping());
    EXPECT_FALSE(object.isOrbiting());
    object.show();
    EXPECT_TRUE(object.isOrbiting());
    object.setState(LinkState::Case::connected);
    EXPECT_FALSE(object.isOrbiting());
}

TEST(DeviceObject, ReduceMotionStartsNothingAndGlowJumps)
{
    ReducedMotion rm;
    DeviceObject object(LinkState::Case::noDevice);
    object.show();
    EXPECT_FALSE(object.isSweeping());
    EXPECT_DOUBLE_EQ(object.shownGlowOpacity(), 0.1);
    object.setState(LinkState::working(QStringLiteral("Обновление")));
    EXPECT_FALSE(object.isSweeping());
    EXPECT_FALSE(object.isOrbiting());
    EXPECT_DOUBLE_EQ(object.shownGlowOpacity(), 0.42);
}

TEST(DeviceObject, FramesRepaintedFromTheLayersMatchAWholePaint)
{
    // Ticks as the widget repaints them (only the region of each tick, over the parent's
    // background), small steps and large jumps, must add up to what a whole paint shows.
    const QList<qreal> sweep{0.0, 0.2, 0.35, 0.36, 0.37, 0.39, 0.42, 0.46, 0.5, 0.55, 0.6, 0.61, 0.75, 1.0};
    const auto run = [&](ColorScheme scheme, qreal dpr) {
        Theme::setScheme(scheme);
        DeviceObject object(LinkState::working(QStringLiteral("Экспорт")), sampleSnapshot());
        object.setAnimationPhase(sweep.first(), 40);
        QImage frame = paint(object, {}, nullptr, dpr);
        qreal orbit = 40;
        for (qsizetype i = 1; i < sweep.size(); ++i) {
            const QImage before = frame;
            const qreal next = orbit + 360.0 / DeviceObject::kOrbitSteps;
            object.setAnimationPhase(sweep[i], next);
            const QRegion dirty = object.sweepRegion(sweep[i - 1]) + object.orbitRegion(orbit);
            orbit = next;
            {
                QPainter bg(&frame);
                bg.setClipRegion(dirty);
                bg.fillRect(QRect(QPoint(0, 0), object.size()), Ink::canvas());
            }
            frame = paint(object, dirty, &frame);
            const QImage whole = paint(object, {}, nullptr, dpr);
            ASSERT_LE(maxChannelDifference(whole, frame), 1) << int(scheme) << " at " << sweep[i] << " x" << dpr;
            if (sweep[i] > 0.2 && sweep[i] < 0.8)
                EXPECT_GT(maxChannelDifference(before, whole), 0) << sweep[i]; // the tick changed something
        }
    };
    for (const qreal dpr : {1.0, 2.0}) {
        run(ColorScheme::dark, dpr);
        run(ColorScheme::light, dpr);
    }
    Theme::setScheme(ColorScheme::dark);
}

TEST(DeviceObject, TheBackgroundShowsThroughBesideTheBodysCorners)
{
    // The screen's box reaches past the body's rounder corners: those pixels are glow over
    // whatever lies behind, never an opaque copy of the screen.
    DeviceObject object(LinkState::working(QStringLiteral("Экспорт")), sampleSnapshot());
    object.setAnimationPhase(0.5, 0);
    QImage onBlack(object.size(), QImage::Format_ARGB32_Premultiplied);
    onBlack.fill(Qt::black);
    QImage onWhite(object.size(), QImage::Format_ARGB32_Premultiplied);
    onWhite.fill(Qt::white);
    onBlack = paint(object, {}, &onBlack);
    onWhite = paint(object, {}, &onWhite);
    const QRect box = object.screenRect().toAlignedRect();
    for (const QPoint &corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        EXPECT_NE(onBlack.pixel(corner), onWhite.pixel(corner)) << corner.x() << "," << corner.y();
    // The glass itself is opaque.
    EXPECT_EQ(onBlack.pixel(box.center()), onWhite.pixel(box.center()));
}

TEST(DeviceObject, BandStaysInsideTheScreen)
{
    Theme::setScheme(ColorScheme::light); // the brightest band
    DeviceObject object(LinkState::Case::connected, sampleSnapshot());
    object.setAnimationPhase(0, 0); // band off to the left
    const QImage without = paint(object);
    object.setAnimationPhase(0.5, 0);
    const QImage with = paint(object);
    const QRect screen = object.screenRect().toAlignedRect();
    int changedInside = 0;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x) {
            const bool differs = with.pixel(x, y) != without.pixel(x, y);
            if (!screen.contains(x, y))
                ASSERT_FALSE(differs) << x << "," << y;
            else if (differs)
                ++changedInside;
        }
    EXPECT_GT(changedInside, 1000);
    // The screen's rounded corner itself is never lit.
    EXPECT_EQ(with.pixel(screen.topLeft()), without.pixel(screen.topLeft()));
    Theme::setScheme(ColorScheme::dark);
}

TEST(DeviceObject, GlowAndShadowFadeOutBeforeTheEdges)
{
    // The shadow falls below the body and the glow spreads past the frame: at the top and
    // bottom rows they must have thinned out to nothing, not end in a line.
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        Theme::setScheme(scheme);
        for (const LinkState &state : {LinkState(LinkState::Case::connected), LinkState(LinkState::Case::noDevice),
                                       LinkState::working(QStringLiteral("x"))}) {
            DeviceObject object(state, sampleSnapshot());
            QImage img(object.size(), QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            {
                QPainter p(&img);
                object.paintFrame(p);
            }
            const auto rowAlpha = [&](int y) {
                int worst = 0;
                for (int x = 0; x < img.width(); ++x)
                    worst = std::max(worst, qAlpha(img.pixel(x, y)));
                return worst;
            };
            EXPECT_LE(rowAlpha(0), 1) << int(scheme) << " " << int(state.kind);
            EXPECT_LE(rowAlpha(img.height() - 1), 1) << int(scheme) << " " << int(state.kind);
            // Still a shadow just under the body.
            EXPECT_GT(rowAlpha(int(object.bodyRect().bottom()) + 4), 8) << int(scheme) << " " << int(state.kind);
        }
    }
    Theme::setScheme(ColorScheme::dark);
}

TEST(DeviceObject, ArcTurnsClockwise)
{
    DeviceObject object(LinkState::working(QStringLiteral("x")));
    const QRect atZero = object.arcBounds(0);      // from three o'clock down towards six
    const QRect atQuarter = object.arcBounds(90);  // from six o'clock towards nine
    const QPointF c = object.ringRect().center();
    EXPECT_GT(atZero.center().x(), c.x());
    EXPECT_GT(atZero.center().y(), c.y());
    EXPECT_LT(atQuarter.center().x(), c.x());
    EXPECT_GT(atQuarter.center().y(), c.y());
}

TEST(HandsetShape, CornerRadiusFollowsTheWidthWithAFloor)
{
    const HandsetShape shape;
    EXPECT_DOUBLE_EQ(shape.cornerRadius(QRectF(0, 0, 10, 18)), 2);
    EXPECT_NEAR(shape.cornerRadius(QRectF(0, 0, 22, 40)), 4.18, 1e-9);
    EXPECT_NEAR(shape.cornerRadius(QRectF(0, 0, 22, 400)), 4.18, 1e-9);
    EXPECT_NEAR(shape.inset(1).cornerRadius(QRectF(0, 0, 22, 40)), 20 * 0.19, 1e-9);
    EXPECT_EQ(shape.inset(2).inset(1), HandsetShape{3});
    const QRectF stroked = shape.strokeBorderPath(QRectF(0, 0, 22, 40), 2).boundingRect();
    EXPECT_NEAR(stroked.left(), 1, 0.01);
    EXPECT_NEAR(stroked.width(), 20, 0.01);
}

TEST(DeviceGlyph, DefaultSizeAndToneColour)
{
    DeviceGlyph glyph(LinkState::Case::connected);
    EXPECT_EQ(glyph.size(), QSize(22, 22));
    EXPECT_NEAR(glyph.handsetRect().width(), 13.64, 1e-9);
    EXPECT_NEAR(glyph.handsetRect().height(), 22, 1e-9);
    EXPECT_NEAR(glyph.dotRect().width(), 3.74, 1e-9);
    EXPECT_EQ(glyph.dotRect().center(), QPointF(11, 11));
    EXPECT_EQ(glyph.toneColor(), Ink::success()); // the glyph takes the tone, not the ambient tone
    glyph.setState(LinkState::Case::unauthorized);
    EXPECT_EQ(glyph.toneColor(), Ink::warning());
}

} // namespace
