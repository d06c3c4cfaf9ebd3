#include "design/Accessibility.h"
#include "design/Elevation.h"
#include "design/Ink.h"
#include "design/Motion.h"
#include "design/Theme.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct ThemeGuard {
    ThemeGuard(ColorScheme s, bool hc)
    {
        Theme::setScheme(s);
        Theme::setIncreaseContrast(hc);
    }
    ~ThemeGuard()
    {
        Theme::setScheme(ColorScheme::dark);
        Theme::setIncreaseContrast(false);
    }
};

// Compares as 0xRRGGBB and opacity.
void expectColor(const QColor &c, quint32 hex, double alpha, const char *what)
{
    EXPECT_EQ(c.rgb() & 0xFFFFFF, hex) << what;
    EXPECT_NEAR(c.alphaF(), alpha, 0.002) << what;
}

TEST(Theme, StartsDarkAndBuildsTheFourKeys)
{
    EXPECT_EQ(Theme::scheme(), ColorScheme::dark);
    EXPECT_FALSE(Theme::increaseContrast());
    EXPECT_EQ(Theme::key(), "d");
    expectColor(Ink::canvas(), 0x0A0C11, 1, "canvas before the shell writes the theme");
    const struct { ColorScheme s; bool hc; const char *key; } cases[] = {
        {ColorScheme::light, false, "l"}, {ColorScheme::dark, false, "d"},
        {ColorScheme::light, true, "l-hc"}, {ColorScheme::dark, true, "d-hc"}};
    for (const auto &c : cases) {
        ThemeGuard g(c.s, c.hc);
        EXPECT_EQ(Theme::key(), c.key);
    }
}

TEST(Ink, RolesResolvePerThemeKey)
{
    using Role = std::function<QColor()>;
    struct Row { const char *name; Role role; quint32 l, d, lhc, dhc; double la, da, lhca, dhca; };
    const Row rows[] = {
        {"canvas", Ink::canvas, 0xF2F4F8, 0x0A0C11, 0xFFFFFF, 0x000000, 1, 1, 1, 1},
        {"canvasDeep", Ink::canvasDeep, 0xE9ECF2, 0x06080C, 0xE9ECF2, 0x06080C, 1, 1, 1, 1},
        {"surface", Ink::surface, 0xFFFFFF, 0x13161E, 0xFFFFFF, 0x181C26, 1, 1, 1, 1},
        {"surfaceRaised", Ink::surfaceRaised, 0xFFFFFF, 0x191D27, 0xFFFFFF, 0x191D27, 1, 1, 1, 1},
        {"surfaceSunken", Ink::surfaceSunken, 0xEDF0F6, 0x0D0F16, 0xEDF0F6, 0x0D0F16, 1, 1, 1, 1},
        {"surfaceHover", Ink::surfaceHover, 0x0E1420, 0xFFFFFF, 0x0E1420, 0xFFFFFF, 0.05, 0.05, 0.05, 0.05},
        {"surfacePressed", Ink::surfacePressed, 0x0E1420, 0xFFFFFF, 0x0E1420, 0xFFFFFF, 0.09, 0.09, 0.09, 0.09},
        {"stroke", Ink::stroke, 0x0E1420, 0xFFFFFF, 0x0E1420, 0xFFFFFF, 0.10, 0.08, 0.32, 0.30},
        {"strokeStrong", Ink::strokeStrong, 0x0E1420, 0xFFFFFF, 0x0E1420, 0xFFFFFF, 0.18, 0.15, 0.45, 0.42},
        {"text", Ink::text, 0x0C121C, 0xEDF1F8, 0x000000, 0xFFFFFF, 1, 1, 1, 1},
        {"textSecondary", Ink::textSecondary, 0x4E5A6E, 0x9AA5B8, 0x27303F, 0xC5CEDD, 1, 1, 1, 1},
        {"textTertiary", Ink::textTertiary, 0x77839A, 0x6C778A, 0x465062, 0x9AA5B8, 1, 1, 1, 1},
        {"accent", Ink::accent, 0x2C6FE8, 0x4C8DFF, 0x0F4FC0, 0x7DAEFF, 1, 1, 1, 1},
        {"accentSoft", Ink::accentSoft, 0x2C6FE8, 0x4C8DFF, 0x2C6FE8, 0x4C8DFF, 0.12, 0.16, 0.12, 0.16},
        {"accentCyan", Ink::accentCyan, 0x0F9FB4, 0x35D6E8, 0x0F9FB4, 0x35D6E8, 1, 1, 1, 1},
        {"success", Ink::success, 0x11875A, 0x36D399, 0x11875A, 0x36D399, 1, 1, 1, 1},
        {"successSoft", Ink::successSoft, 0x11875A, 0x36D399, 0x11875A, 0x36D399, 0.12, 0.15, 0.12, 0.15},
        {"warning", Ink::warning, 0xB1710B, 0xFBBF4A, 0xB1710B, 0xFBBF4A, 1, 1, 1, 1},
        {"warningSoft", Ink::warningSoft, 0xB1710B, 0xFBBF4A, 0xB1710B, 0xFBBF4A, 0.13, 0.15, 0.13, 0.15},
        {"danger", Ink::danger, 0xC4302F, 0xFF6166, 0xC4302F, 0xFF6166, 1, 1, 1, 1},
        {"dangerSoft", Ink::dangerSoft, 0xC4302F, 0xFF6166, 0xC4302F, 0xFF6166, 0.12, 0.15, 0.12, 0.15},
        {"violet", Ink::violet, 0x6A55E0, 0x9585FF, 0x6A55E0, 0x9585FF, 1, 1, 1, 1},
        {"violetSoft", Ink::violetSoft, 0x6A55E0, 0x9585FF, 0x6A55E0, 0x9585FF, 0.12, 0.16, 0.12, 0.16},
        {"neutralSoft", Ink::neutralSoft, 0x0E1420, 0xFFFFFF, 0x0E1420, 0xFFFFFF, 0.07, 0.07, 0.07, 0.07},
        {"specular", Ink::specular, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0.85, 0.16, 0.85, 0.16},
        {"shadow", Ink::shadow, 0x0B1220, 0x000000, 0x0B1220, 0x000000, 0.14, 0.55, 0.14, 0.55},
    };
    for (const Row &r : rows) {
        { ThemeGuard g(ColorScheme::light, false); expectColor(r.role(), r.l, r.la, r.name); }
        { ThemeGuard g(ColorScheme::dark, false); expectColor(r.role(), r.d, r.da, r.name); }
        { ThemeGuard g(ColorScheme::light, true); expectColor(r.role(), r.lhc, r.lhca, r.name); }
        { ThemeGuard g(ColorScheme::dark, true); expectColor(r.role(), r.dhc, r.dhca, r.name); }
    }
}

TEST(Ink, AdaptiveFallsBackToTheOrdinaryVariant)
{
    const QColor light = colorHex(0x111111), dark = colorHex(0x222222), lc = colorHex(0x333333);
    { ThemeGuard g(ColorScheme::light, true); EXPECT_EQ(adaptive(light, dark), light); EXPECT_EQ(adaptive(light, dark, lc), lc); }
    { ThemeGuard g(ColorScheme::dark, true); EXPECT_EQ(adaptive(light, dark, lc), dark); }
    { ThemeGuard g(ColorScheme::dark, false); EXPECT_EQ(adaptive(light, dark, lc, lc), dark); }
    EXPECT_EQ(colorHex(0xFF2C6FE8), colorHex(0x2C6FE8));
    EXPECT_DOUBLE_EQ(colorHex(0x2C6FE8).alphaF(), 1.0);
}

TEST(ToneInk, MapsEveryToneUnderEveryAppearance)
{
    for (auto [s, hc] : {std::pair{ColorScheme::light, false}, {ColorScheme::dark, false},
                         {ColorScheme::light, true}, {ColorScheme::dark, true}}) {
        ThemeGuard g(s, hc);
        EXPECT_EQ(foreground(Tone::neutral), Ink::textSecondary());
        EXPECT_EQ(fill(Tone::neutral), Ink::neutralSoft());
        EXPECT_EQ(foreground(Tone::violet), Ink::violet());
        EXPECT_EQ(fill(Tone::warning), Ink::warningSoft());
        EXPECT_EQ(fill(Tone::accent), Ink::accentSoft());
    }
    EXPECT_EQ(fromRawValue<Tone>(QStringLiteral("violet")), Tone::violet);
    EXPECT_FALSE(fromRawValue<Tone>(QStringLiteral("Neutral")));
    EXPECT_FALSE(fromRawValue<Tone>(QString()));
}

TEST(Theme, ApplyRepaintsAndSetsThePalette)
{
    int notified = 0;
    QObject::connect(Theme::notifier(), &ThemeNotifier::changed, [&] { ++notified; });
    Theme::apply(ColorScheme::light, true);
    EXPECT_EQ(Theme::key(), "l-hc");
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), colorHex(0xFFFFFF));
    EXPECT_EQ(notified, 1);
    Theme::apply(ColorScheme::dark, false);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), colorHex(0x0A0C11));
    // The system scheme comes from the platform palette captured before ours replaced it.
    const ColorScheme system = Theme::systemScheme();
    Theme::apply(ColorScheme::light, false);
    EXPECT_EQ(Theme::systemScheme(), system);
    Theme::apply(ColorScheme::dark, false);
}

TEST(Tokens, MeasuresMatchTheScale)
{
    EXPECT_EQ(Space::xl, 22);
    EXPECT_EQ(Space::xxl, 30);
    EXPECT_EQ(Space::xxxl, 44);
    EXPECT_EQ(Space::gutter, 24);
    EXPECT_EQ(Radius::s, 8);
    EXPECT_EQ(Radius::l, 15);
    EXPECT_EQ(Stroke::focus, 2);
    EXPECT_EQ(Elevation::flat(), (Elevation{0, 0, 0}));
    EXPECT_EQ(Elevation::high(), (Elevation{40, 18, 1.0}));
    EXPECT_EQ(Elevation::low(), (Elevation{8, 2, 0.5}));
}

TEST(Typo, SizesWeightsAndTabularDigits)
{
    const struct { const char *name; QFont font; qreal px; int weight; } cases[] = {
        {"hero", Typo::hero(), 40, QFont::DemiBold},         {"screenTitle", Typo::screenTitle(), 21, QFont::DemiBold},
        {"body", Typo::body(), 13, QFont::Normal},           {"bodyMedium", Typo::bodyMedium(), 13, QFont::Medium},
        {"label", Typo::label(), 11, QFont::Medium},         {"caption", Typo::caption(), 11, QFont::Normal},
        {"metric", Typo::metric(), 26, QFont::DemiBold},     {"mono", Typo::mono(), 12, QFont::Normal},
        {"monoBody", Typo::monoBody(), 12.5, QFont::Normal}, {"eyebrow", Typo::eyebrow(), 10, QFont::DemiBold},
    };
    for (const auto &c : cases) {
        EXPECT_NEAR(Typo::pixelSize(c.font), c.px, 0.01) << c.name;
        EXPECT_EQ(c.font.weight(), c.weight) << c.name;
    }
    // Each call makes the font anew: a caller's change to one stays its own.
    QFont changed = Typo::eyebrow();
    changed.setWeight(QFont::Light);
    EXPECT_EQ(Typo::eyebrow(), Typo::system(10, QFont::DemiBold));
    EXPECT_NE(Typo::eyebrow(), changed);
    // Monospaced as a person sees it: a narrow letter, a wide one, a digit and a Cyrillic letter
    // take the same room, whatever the font database says of the family.
    for (const QFont &f : {Typo::mono(), Typo::monoSmall(), Typo::monoBody()}) {
        const QFontMetricsF fm(f);
        const qreal cell = fm.horizontalAdvance(QLatin1Char('0'));
        for (QChar c : QStringLiteral("iW.Жш"))
            EXPECT_DOUBLE_EQ(fm.horizontalAdvance(c), cell) << QFontInfo(f).family().toStdString() << " " << QString(c).toStdString();
    }
    // Figures that change in place keep their width.
    for (const QFont &f : {Typo::metric(), Typo::metricSmall()}) {
        const QFontMetricsF fm(f);
        for (QChar d : QStringLiteral("023456789"))
            EXPECT_DOUBLE_EQ(fm.horizontalAdvance(d), fm.horizontalAdvance(QLatin1Char('1'))) << QFontInfo(f).family().toStdString();
    }
}

TEST(Motion, ResolveDropsAnimationUnderReduceMotion)
{
    EXPECT_FALSE(Motion::resolve(Motion::snap(), true));
    EXPECT_EQ(Motion::resolve(Motion::snap(), false), Motion::snap());
    EXPECT_EQ(Motion::quick().durationMs(), 140);
    EXPECT_EQ(Motion::metric().durationMs(), 500);
    EXPECT_EQ(Motion::snap().kind, Animation::Kind::spring);
    EXPECT_DOUBLE_EQ(Motion::snap().damping, 0.82);
}

TEST(Accessibility, FlagsStartFalseAndCanBeOverridden)
{
    A11y::resetForTesting();
    EXPECT_FALSE(A11y::reduceMotion());
    EXPECT_FALSE(A11y::increaseContrast());
    EXPECT_FALSE(A11y::differentiateWithoutColor());
    A11y::setReduceMotion(true);
    EXPECT_TRUE(A11y::reduceMotion());
    A11y::resetForTesting();
    EXPECT_FALSE(A11y::reduceMotion());
}

} // namespace
