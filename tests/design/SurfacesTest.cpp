#include "design/Accessibility.h"
#include "design/AuroraBackdrop.h"
#include "design/Ink.h"
#include "design/InstrumentGrid.h"
#include "design/InteractiveSurface.h"
#include "design/Panel.h"
#include "design/ShadowCache.h"
#include "design/SpecularEdge.h"
#include "design/Squircle.h"
#include "design/Theme.h"

#include "WidgetTestSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage blank(int w, int h, QColor fill = Qt::transparent)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

TEST(Squircle, StaysInsideItsRectAndBecomesACapsule)
{
    const QRectF r(10, 10, 120, 30);
    const QPainterPath p = Squircle::path(r, Radius::s);
    EXPECT_EQ(p.boundingRect(), r);
    EXPECT_FALSE(p.contains(QPointF(10.5, 10.5))); // the corner is cut
    EXPECT_TRUE(p.contains(QPointF(70, 10.5)));
    // A pill radius gives fully round ends.
    const QPainterPath pill = Squircle::path(r, Radius::pill);
    EXPECT_FALSE(pill.contains(QPointF(12, 12)));
    EXPECT_TRUE(pill.contains(QPointF(25, 25)));
    EXPECT_EQ(Squircle::strokePath(r, 8, 2).boundingRect(), r.adjusted(1, 1, -1, -1));
}

TEST(Panel, ShadowReachFollowsElevation)
{
    EXPECT_EQ(Panel::shadowMargins(PanelStyle{}), QMarginsF(12, 10, 12, 14)); // low: blur 8, 2 down
    EXPECT_EQ(Panel::shadowMargins({PanelKind::raised, 15, Elevation::flat(), true, true}), QMarginsF());
    EXPECT_EQ(Panel::shadowMargins({PanelKind::outline, 15, Elevation::high(), true, true}), QMarginsF());
    const PanelStyle defaults;
    EXPECT_EQ(defaults.kind, PanelKind::raised);
    EXPECT_EQ(defaults.radius, 15);
    EXPECT_EQ(defaults.elevation, Elevation::low());
    EXPECT_TRUE(defaults.stroked && defaults.specular);
}

TEST(Panel, CachedPaintMatchesTheRenderedImage)
{
    for (const PanelStyle &style : {PanelStyle{}, PanelStyle{PanelKind::glass, Radius::m, Elevation::medium(), true, true},
                                    PanelStyle{PanelKind::sunken, Radius::s, Elevation::flat(), false, false}}) {
        const QRectF shape(40, 40, 300, 200);
        QImage split = blank(400, 320, Ink::canvas());
        QImage whole = split;
        {
            QPainter p(&split);
            Panel::paint(p, shape, style);
        }
        {
            QPainter p(&whole);
            const QMarginsF m = Panel::shadowMargins(style);
            p.drawImage(shape.topLeft() - QPointF(m.left(), m.top()), Panel::image(shape.size(), style));
        }
        EXPECT_EQ(split, whole);
        // Warm: the same image object comes back.
        EXPECT_EQ(Panel::image(shape.size(), style).cacheKey(), Panel::image(shape.size(), style).cacheKey());
    }
    // An appearance change gives a new image.
    const qint64 dark = Panel::image(QSizeF(100, 80), PanelStyle{}).cacheKey();
    Theme::setScheme(ColorScheme::light);
    EXPECT_NE(Panel::image(QSizeF(100, 80), PanelStyle{}).cacheKey(), dark);
    Theme::setScheme(ColorScheme::dark);
}

TEST(Panel, OutlineWithoutStrokeOrEdgeDrawsNothing)
{
    QImage img = blank(200, 200);
    {
        QPainter p(&img);
        Panel::paint(p, QRectF(20, 20, 150, 150), {PanelKind::outline, Radius::l, Elevation::high(), false, false});
    }
    EXPECT_EQ(img, blank(200, 200));
}

TEST(SpecularEdge, IntensityZeroIsInvisibleAndTheLowerPartStaysDark)
{
    QImage img = blank(100, 100, Qt::black);
    {
        QPainter p(&img);
        SpecularEdge::paint(p, QRectF(0, 0, 100, 100), 15, 0);
    }
    EXPECT_EQ(img, blank(100, 100, Qt::black));
    {
        QPainter p(&img);
        SpecularEdge::paint(p, QRectF(0, 0, 100, 100), 15, 1);
    }
    EXPECT_GT(qRed(img.pixel(50, 0)), 20);   // lit top rim
    EXPECT_EQ(qRed(img.pixel(0, 80)), 0);     // nothing below 62 %
}

TEST(ShadowCache, BlurSpreadsAndKeepsTheTotal)
{
    QImage mask(41, 41, QImage::Format_Alpha8);
    mask.fill(0);
    mask.scanLine(20)[20] = 255;
    ShadowCache::blurAlpha(mask, 4);
    EXPECT_GT(mask.constScanLine(20)[22], 0);
    EXPECT_EQ(mask.constScanLine(0)[0], 0);
}

TEST(AuroraBackdrop, GlowGeometry)
{
    const auto first = AuroraBackdrop::firstGlow(QSizeF(1000, 600));
    EXPECT_EQ(first.ellipse.size(), QSizeF(1050, 750));
    EXPECT_EQ(first.ellipse.center(), QPointF(500 - 200, 300 - 108));
    EXPECT_EQ(first.gradientRadius, 520);
    const auto second = AuroraBackdrop::secondGlow(QSizeF(1000, 600));
    EXPECT_EQ(second.ellipse.size(), QSizeF(850, 570));
    EXPECT_EQ(second.ellipse.center(), QPointF(500 + 300, 300 + 144));
    EXPECT_EQ(second.gradientRadius, 450);

    QImage img = blank(200, 120);
    {
        QPainter p(&img);
        AuroraBackdrop::paint(p, QRectF(0, 0, 200, 120), Ink::accent(), Ink::accentCyan(), 0);
    }
    EXPECT_EQ(img, blank(200, 120));
}

TEST(InstrumentGrid, LinesAtMultiplesOfTheSpacing)
{
    const QPainterPath path = InstrumentGrid::gridPath(QSizeF(60, 60), 28);
    QList<QPointF> starts;
    for (int i = 0; i < path.elementCount(); ++i)
        if (path.elementAt(i).isMoveTo())
            starts.append(QPointF(path.elementAt(i).x, path.elementAt(i).y));
    EXPECT_EQ(starts, (QList<QPointF>{{0, 0}, {28, 0}, {56, 0}, {0, 0}, {0, 28}, {0, 56}}));
    EXPECT_TRUE(InstrumentGrid::gridPath(QSizeF(0, 0), 28).isEmpty());
}

TEST(InteractiveSurface, SelectedWinsOverHoverAndDisabledIgnoresHover)
{
    A11y::setReduceMotion(true);
    QWidget w;
    w.resize(200, 60);
    auto *row = new QWidget(&w);
    row->setGeometry(10, 10, 100, 30);
    InteractiveSurface s(row);
    w.show();
    // The pointer as the window system moves it, in and out of the row.
    s.setHoverEnabled(false);
    pointAt(row);
    EXPECT_FALSE(s.isHovering());
    pointAway(row);
    s.setHoverEnabled(true);
    pointAt(row);
    EXPECT_TRUE(s.isHovering());
    pointAway(row);
    EXPECT_FALSE(s.isHovering());
    pointAt(row);
    s.setSelected(true);
    QImage img = blank(100, 30);
    {
        QPainter p(&img);
        s.paint(p, QRectF(0, 0, 100, 30));
    }
    const QColor centre = img.pixelColor(50, 15);
    const QColor expected = Ink::accentSoft();
    EXPECT_NEAR(centre.alphaF(), expected.alphaF(), 0.01);
    A11y::resetForTesting();
}

} // namespace
