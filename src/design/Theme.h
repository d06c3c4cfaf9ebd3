#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QString>

#include <optional>

enum class ColorScheme { light, dark };

// Emits `changed` after Theme::apply so widgets holding derived state (palettes, cached
// pixmaps) can refresh; plain painted widgets need nothing, they read Ink at paint time.
class ThemeNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
Q_SIGNALS:
    void changed();
};

// The current appearance. Every Ink role reads these two values on each access, so a
// repaint after a change shows the new colours; nothing caches a resolved colour.
class Theme {
public:
    // Starts dark without increased contrast until the shell writes it.
    static ColorScheme scheme();
    static void setScheme(ColorScheme scheme);
    static bool increaseContrast();
    static void setIncreaseContrast(bool on);
    // "l", "d", "l-hc" or "d-hc".
    static QString key();

    // Writes both values, sets the application palette from the Ink roles, gives every scroll
    // bar the slim style, tells the notifier and repaints every top-level window at once.
    static void apply(ColorScheme scheme, bool increaseContrast);
    // Whether `apply` ran at least once: until then the widgets Qt draws itself (menus, the
    // menu bar, scroll bars) still wear the platform's palette, even when the values match.
    static bool isApplied();
    // Back to the start of a process: dark, never applied, the platform's palette.
    static void resetForTesting();
    // The desktop's own appearance ("follow the system"): dark when the platform's
    // default window colour is dark. Qt 6.4 has no colour-scheme query.
    static ColorScheme systemScheme();
    // A palette built from the Ink roles of the current appearance.
    static QPalette palette();
    static ThemeNotifier *notifier();
};

// The colour for the current appearance: the contrast variant when increased contrast is
// on and one is given, else the ordinary variant of the scheme.
QColor adaptive(const QColor &light, const QColor &dark, std::optional<QColor> lightContrast = std::nullopt,
                std::optional<QColor> darkContrast = std::nullopt);
// An sRGB colour from 0xRRGGBB (bits above the lowest 24 ignored) and an opacity.
QColor colorHex(quint32 hex, double alpha = 1.0);
// The colour with its opacity multiplied by `factor` (the "×a" of the design tables).
QColor withOpacity(const QColor &color, double factor);
// The colour `t` of the way from `a` to `b` (0 gives a, 1 gives b), used while a state eases.
QColor mix(const QColor &a, const QColor &b, qreal t);
