#include "LinkDiagram.h"

#include "core/PlatformTexts.h"

#include "design/Accessibility.h"
#include "design/Ink.h"
#include "design/ShadowCache.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/ToneInk.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
constexpr qreal kComputerWidth = 100;      // the stand is the widest part
constexpr QSizeF kScreen{84, 54};
constexpr QSizeF kStand{100, 5};
constexpr qreal kComputerSpacing = 3;
constexpr qreal kConnectorWidth = 96;
constexpr qreal kConnectorLift = 8;   // puts the line level with the middle of the screen
constexpr QSizeF kHandset{42, 76};
constexpr qreal kHandsetRadius = 9;
constexpr qreal kDot = 5;
constexpr qreal kDotGlow = 4;
constexpr int kTravelMs = 1600;
constexpr int kTravelFrameMs = 33;

void paintGlow(QPainter &p, const QRectF &shape, qreal radius, qreal blur, const QColor &color)
{
    if (color.alpha() == 0)
        return;
    const QImage glow = ShadowCache::shadow(shape.size(), radius, blur, color, p.device()->devicePixelRatioF());
    const qreal reach = ShadowCache::reach(blur);
    p.drawImage(QPointF(shape.left() - reach, shape.top() - reach), glow);
}
} // namespace

LinkDiagram::LinkDiagram(const LinkState &state, QWidget *parent)
    : QWidget(parent), m_state(state),
      // Slides, jumps back, slides again; a frame only when the dot has moved a device pixel,
      // about 30 a second at most.
      m_travel(kTravelMs, QEasingCurve::InOutQuad, kTravelFrameMs,
               [this](qreal t) { return qRound64(dotShape(t).left() * devicePixelRatioF()); })
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(sizeHint());
    connect(&m_travel, &LoopClock::tick, this, [this] {
        // Reduce motion switched on while the dot runs: it stops at the next tick.
        if (!showsDot()) {
            syncTravel();
            return;
        }
        // Only where the dot was and where it is now.
        const QRect now = dotRect();
        update(m_paintedDot.united(now));
        m_paintedDot = now;
    });
    updateAccessibleName();
}

void LinkDiagram::setState(const LinkState &state)
{
    if (state == m_state)
        return;
    m_state = state;
    updateAccessibleName();
    syncTravel();
    update();
}

void LinkDiagram::syncTravel()
{
    const bool run = m_onScreen && showsDot();
    if (run && !m_travel.isRunning()) {
        m_travel.start();
        m_paintedDot = dotRect();
    } else if (!run && m_travel.isRunning()) {
        m_travel.stop();
        update(m_paintedDot);
        m_paintedDot = {};
    }
}

bool LinkDiagram::isActive(const LinkState &state)
{
    using C = LinkState::Case;
    switch (state.kind) {
    case C::working:
    case C::recovery:
    case C::sideload:
    case C::fastboot:
    case C::connected:
        return true;
    default:
        return false;
    }
}

bool LinkDiagram::showsDot() const
{
    return !A11y::reduceMotion() && (isActive(m_state) || m_state.kind == LinkState::Case::searching);
}

QColor LinkDiagram::tint() const { return foreground(tone(m_state)); }
QColor LinkDiagram::handsetStroke() const { return isActive(m_state) ? tint() : Ink::strokeStrong(); }
QColor LinkDiagram::iconColor() const { return isActive(m_state) ? tint() : Ink::textTertiary(); }

QSize LinkDiagram::sizeHint() const
{
    return {int(kComputerWidth + kConnectorWidth + kHandset.width()) + 2 * kGlowRoom, kHeight};
}

QRectF LinkDiagram::dotShape(qreal t)
{
    const qreal left = kGlowRoom + kComputerWidth;
    const qreal lineY = kHeight / 2.0 - kConnectorLift / 2;
    return {left + t * (kConnectorWidth - kDot), lineY - kDot / 2, kDot, kDot};
}

QRect LinkDiagram::dotRect() const
{
    if (!showsDot() || !isTravelling())
        return {};
    const qreal reach = ShadowCache::reach(kDotGlow) + 1;
    return dotShape(m_travel.value()).adjusted(-reach, -reach, reach, reach).toAlignedRect();
}

// Shown and hidden also when the window is minimised and restored: the dot runs only on screen.
void LinkDiagram::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_onScreen = true;
    syncTravel();
}

void LinkDiagram::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_onScreen = false;
    syncTravel();
}

void LinkDiagram::updateAccessibleName()
{
    setAccessibleName(PlatformTexts::text(PlatformTexts::diagramName) + title(m_state));
}

void LinkDiagram::paintEvent(QPaintEvent *event)
{
    // A tick of the dot repaints a small rectangle: the parts it does not touch are skipped.
    const QRectF dirty(event->rect());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool active = isActive(m_state);
    const QColor tintColor = tint();
    const qreal midY = kHeight / 2.0;
    qreal x = kGlowRoom;

    // The computer: screen over stand, centred as one block.
    const qreal computerHeight = kScreen.height() + kComputerSpacing + kStand.height();
    const QRectF screen(x + (kComputerWidth - kScreen.width()) / 2, midY - computerHeight / 2, kScreen.width(),
                        kScreen.height());
    const QRectF stand(x, screen.bottom() + kComputerSpacing, kStand.width(), kStand.height());
    if (dirty.intersects(screen.united(stand))) {
        p.fillPath(Squircle::path(screen, 5), Ink::surfaceSunken());
        p.setPen(QPen(Ink::strokeStrong(), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(Squircle::strokePath(screen, 5, 1));
        Symbols::paint(p, PlatformTexts::text(PlatformTexts::computerSymbol), screen, 15, Ink::textTertiary());
        p.fillPath(Squircle::path(stand, Radius::pill), Ink::strokeStrong());
    }
    x += kComputerWidth;

    // Connector: the track, the lit line, the dot.
    const qreal lineY = midY - kConnectorLift / 2;
    const QRectF track(x, lineY - 1, kConnectorWidth, 2);
    p.fillPath(Squircle::path(track, 1), Ink::stroke());
    if (active) {
        paintGlow(p, track, 1, 5, withOpacity(tintColor, 0.6));
        QLinearGradient gradient(track.topLeft(), track.topRight());
        gradient.setColorAt(0, withOpacity(tintColor, 0.2));
        gradient.setColorAt(1, tintColor);
        p.fillRect(track, gradient);
    }
    if (showsDot()) {
        const QRectF dot = dotShape(m_travel.value());
        paintGlow(p, dot, kDot / 2, kDotGlow, tintColor);
        p.setPen(Qt::NoPen);
        p.setBrush(tintColor);
        p.drawEllipse(dot);
    }
    x += kConnectorWidth;

    // Handset.
    const QRectF handset(x, midY - kHandset.height() / 2, kHandset.width(), kHandset.height());
    const qreal glowReach = ShadowCache::reach(14);
    if (!dirty.intersects(handset.adjusted(-glowReach, -glowReach, glowReach, glowReach)))
        return;
    if (active)
        paintGlow(p, handset, kHandsetRadius, 14, withOpacity(tintColor, 0.35));
    p.fillPath(Squircle::path(handset, kHandsetRadius), Ink::surfaceSunken());
    p.setPen(QPen(handsetStroke(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Squircle::path(handset.adjusted(0.5, 0.5, -0.5, -0.5), kHandsetRadius - 0.5));
    Symbols::paint(p, icon(m_state), handset, 13, iconColor());
}
