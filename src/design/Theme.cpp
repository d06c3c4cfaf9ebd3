#include "Theme.h"

#include "Ink.h"
#include "SlimScrollBars.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

namespace {
struct State {
    ColorScheme scheme = ColorScheme::dark;
    bool increaseContrast = false;
    bool applied = false;
    std::optional<QPalette> platformPalette;
};
State &state()
{
    static State s;
    return s;
}
} // namespace

ColorScheme Theme::scheme() { return state().scheme; }
void Theme::setScheme(ColorScheme scheme) { state().scheme = scheme; }
bool Theme::increaseContrast() { return state().increaseContrast; }
bool Theme::isApplied() { return state().applied; }

void Theme::resetForTesting()
{
    systemScheme();
    state().scheme = ColorScheme::dark;
    state().increaseContrast = false;
    state().applied = false;
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::setPalette(*state().platformPalette);
}
void Theme::setIncreaseContrast(bool on) { state().increaseContrast = on; }

QString Theme::key()
{
    QString k = state().scheme == ColorScheme::dark ? QStringLiteral("d") : QStringLiteral("l");
    if (state().increaseContrast)
        k += QStringLiteral("-hc");
    return k;
}

ColorScheme Theme::systemScheme()
{
    // Remember the platform palette before our own replaces it.
    if (!state().platformPalette)
        state().platformPalette = QGuiApplication::palette();
    return state().platformPalette->color(QPalette::Window).lightnessF() < 0.5 ? ColorScheme::dark
                                                                               : ColorScheme::light;
}

QPalette Theme::palette()
{
    QPalette p;
    p.setColor(QPalette::Window, Ink::canvas());
    p.setColor(QPalette::WindowText, Ink::text());
    p.setColor(QPalette::Base, Ink::surfaceSunken());
    p.setColor(QPalette::AlternateBase, Ink::surface());
    p.setColor(QPalette::Text, Ink::text());
    p.setColor(QPalette::PlaceholderText, Ink::textTertiary());
    p.setColor(QPalette::Button, Ink::surface());
    p.setColor(QPalette::ButtonText, Ink::text());
    p.setColor(QPalette::BrightText, Ink::text());
    p.setColor(QPalette::Highlight, Ink::accent());
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, Ink::surfaceRaised());
    p.setColor(QPalette::ToolTipText, Ink::text());
    p.setColor(QPalette::Link, Ink::accent());
    p.setColor(QPalette::Mid, Ink::strokeStrong());
    p.setColor(QPalette::Disabled, QPalette::Text, Ink::textTertiary());
    p.setColor(QPalette::Disabled, QPalette::WindowText, Ink::textTertiary());
    p.setColor(QPalette::Disabled, QPalette::ButtonText, Ink::textTertiary());
    return p;
}

void Theme::apply(ColorScheme scheme, bool increaseContrast)
{
    systemScheme(); // captures the platform palette once
    state().scheme = scheme;
    state().increaseContrast = increaseContrast;
    state().applied = true;
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QApplication::setPalette(palette());
        SlimScrollBars::applyEverywhere();
        Q_EMIT notifier()->changed();
        for (QWidget *w : QApplication::topLevelWidgets())
            w->update();
    } else {
        Q_EMIT notifier()->changed();
    }
}

ThemeNotifier *Theme::notifier()
{
    static ThemeNotifier *n = new ThemeNotifier;
    return n;
}

QColor adaptive(const QColor &light, const QColor &dark, std::optional<QColor> lightContrast,
                std::optional<QColor> darkContrast)
{
    const bool isDark = Theme::scheme() == ColorScheme::dark;
    if (Theme::increaseContrast()) {
        if (isDark)
            return darkContrast.value_or(dark);
        return lightContrast.value_or(light);
    }
    return isDark ? dark : light;
}

QColor colorHex(quint32 hex, double alpha)
{
    QColor c(int((hex >> 16) & 0xFF), int((hex >> 8) & 0xFF), int(hex & 0xFF));
    c.setAlphaF(float(alpha));
    return c;
}

QColor withOpacity(const QColor &color, double factor)
{
    QColor c = color;
    c.setAlphaF(float(std::clamp(color.alphaF() * factor, 0.0, 1.0)));
    return c;
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    if (t <= 0)
        return a;
    if (t >= 1)
        return b;
    // Interpolate premultiplied so a clear end does not drag the colour towards black.
    const qreal aa = a.alphaF(), ba = b.alphaF();
    const qreal alpha = aa + (ba - aa) * t;
    if (alpha <= 0)
        return QColor(0, 0, 0, 0);
    auto ch = [&](qreal x, qreal y) { return std::clamp((x * aa + (y * ba - x * aa) * t) / alpha, 0.0, 1.0); };
    QColor c;
    c.setRgbF(float(ch(a.redF(), b.redF())), float(ch(a.greenF(), b.greenF())), float(ch(a.blueF(), b.blueF())),
              float(alpha));
    return c;
}
