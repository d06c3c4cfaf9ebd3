#include "LinkDiagram.h"

#include "design/Accessibility.h"
#include "design/Ink.h"
#include "design/ShadowCache.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/ToneInk.h"

#include <QPainter>

namespace {
constexpr qreal kMacWidth = 100;      // the stand is the widest part
constexpr QSizeF kScreen{84, 54};
constexpr QSizeF kStand{100, 5};
constexpr qreal kMacSpacing = 3;
constexpr qreal kConnectorWidth = 96;
constexpr qreal kConnectorLift = 8;   // puts the line level with the middle of the screen
constexpr QSizeF kHandset{42, 76};
constexpr qreal kHandsetRadius = 9;
constexpr qreal kDot = 5;

void paintGlow(QPainter &p, const QRectF &shape, qreal radius, qreal blur, const QColor &color)
{
    if (color.alpha() == 0)
        return;
    const QImage glow = ShadowCache::shadow(shape.size(), radius, blur, color, p.device()->devicePixelRatioF());
    const qreal reach = ShadowCache::reach(blur);
    p.drawImage(QPointF(shape.left() - reach, shape.top() - reach), glow);
}
} // namespace

LinkDiagram::LinkDiagram(const LinkState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(sizeHint());
    m_travel.setStartValue(0.0);
    m_travel.setEndValue(1.0);
    m_travel.setDuration(1600);
    m_travel.setEasingCurve(QEasingCurve::InOutQuad);
    m_travel.setLoopCount(-1); // slides, jumps back, slides again
    connect(&m_travel, &QVariantAnimation::valueChanged, this, [this] { update(); });
    updateAccessibleName();
}

void LinkDiagram::setState(const LinkState &state)
{
    if (state == m_state)
        return;
    m_state = state;
    updateAccessibleName();
    update();
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
    return {int(kMacWidth + kConnectorWidth + kHandset.width()) + 2 * kGlowRoom, kHeight};
}

void LinkDiagram::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Sent once per diagram; with reduce motion the dot never appears.
    if (!A11y::reduceMotion() && m_travel.state() != QAbstractAnimation::Running)
        m_travel.start();
}

void LinkDiagram::updateAccessibleName()
{
    setAccessibleName(QStringLiteral("Схема подключения Mac и Android: ") + title(m_state));
}

void LinkDiagram::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool active = isActive(m_state);
    const QColor tintColor = tint();
    const qreal midY = kHeight / 2.0;
    qreal x = kGlowRoom;

    // Mac: screen over stand, centred as one block.
    const qreal macHeight = kScreen.height() + kMacSpacing + kStand.height();
    const QRectF screen(x + (kMacWidth - kScreen.width()) / 2, midY - macHeight / 2, kScreen.width(),
                        kScreen.height());
    p.fillPath(Squircle::path(screen, 5), Ink::surfaceSunken());
    p.setPen(QPen(Ink::strokeStrong(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Squircle::strokePath(screen, 5, 1));
    Symbols::paint(p, QStringLiteral("apple.logo"), screen, 15, Ink::textTertiary());
    const QRectF stand(x, screen.bottom() + kMacSpacing, kStand.width(), kStand.height());
    p.fillPath(Squircle::path(stand, Radius::pill), Ink::strokeStrong());
    x += kMacWidth;

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
        const qreal t = m_travel.currentValue().toReal();
        const QRectF dot(x + t * (kConnectorWidth - kDot), lineY - kDot / 2, kDot, kDot);
        paintGlow(p, dot, kDot / 2, 4, tintColor);
        p.setPen(Qt::NoPen);
        p.setBrush(tintColor);
        p.drawEllipse(dot);
    }
    x += kConnectorWidth;

    // Handset.
    const QRectF handset(x, midY - kHandset.height() / 2, kHandset.width(), kHandset.height());
    if (active)
        paintGlow(p, handset, kHandsetRadius, 14, withOpacity(tintColor, 0.35));
    p.fillPath(Squircle::path(handset, kHandsetRadius), Ink::surfaceSunken());
    p.setPen(QPen(handsetStroke(), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Squircle::path(handset.adjusted(0.5, 0.5, -0.5, -0.5), kHandsetRadius - 0.5));
    Symbols::paint(p, icon(m_state), handset, 13, iconColor());
}
