#include "FilterChip.h"

#include "Accessibility.h"
#include "FocusRing.h"
#include "Ink.h"
#include "Squircle.h"
#include "Symbols.h"
#include "Theme.h"
#include "ToneInk.h"
#include "Tokens.h"
#include "Typo.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr qreal kPad = 9;
constexpr qreal kIcon = 10;
} // namespace

FilterChip::FilterChip(const QString &title, std::optional<QString> icon, std::optional<int> count, bool isOn,
                       Tone tone, QWidget *parent)
    : QAbstractButton(parent), m_title(title), m_icon(std::move(icon)), m_count(count), m_on(isOn), m_tone(tone),
      m_onValue(new AnimatedValue(isOn ? 1 : 0, this))
{
    setText(title);
    setFont(Typo::label());
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedHeight(int(kHeight));
    setCheckable(false);
    setAccessibleName(title);
}

void FilterChip::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    m_onValue->animateTo(on ? 1 : 0, Motion::resolve(Motion::quick(), A11y::reduceMotion()));
}

void FilterChip::setCount(std::optional<int> count)
{
    m_count = count;
    updateGeometry();
    update();
}

void FilterChip::reserveCountDigits(int digits)
{
    m_countDigits = std::max(digits, 0);
    updateGeometry();
    update();
}

void FilterChip::setHovering(bool inside)
{
    if (inside == m_hovering)
        return;
    m_hovering = inside;
    update();
}

void FilterChip::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    setHovering(true);
}

void FilterChip::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    setHovering(false);
}

QColor FilterChip::labelColor() const { return mix(Ink::textSecondary(), foreground(m_tone), m_onValue->value()); }

QColor FilterChip::capsuleFill() const
{
    const QColor off = m_hovering ? Ink::surfaceHover() : QColor(0, 0, 0, 0);
    return mix(off, fill(m_tone), m_onValue->value());
}

QColor FilterChip::borderColor() const
{
    return mix(Ink::stroke(), withOpacity(foreground(m_tone), 0.35), m_onValue->value());
}

QColor FilterChip::badgeTextColor() const
{
    return mix(Ink::textTertiary(), withOpacity(foreground(m_tone), 0.85), m_onValue->value());
}

QColor FilterChip::badgeFill() const
{
    return mix(Ink::neutralSoft(), withOpacity(foreground(m_tone), 0.14), m_onValue->value());
}

QString FilterChip::badgeText() const { return m_count ? QString::number(*m_count) : QString(); }

// Digits are measured as the widest one, so the badge's width follows the number of digits
// only, whatever the font's figures.
qreal FilterChip::badgeWidth(qsizetype digits) const
{
    const QFontMetricsF fm(Typo::caption());
    qreal digit = 0;
    for (char16_t d = u'0'; d <= u'9'; ++d)
        digit = std::max(digit, fm.horizontalAdvance(QChar(d)));
    return std::max(fm.horizontalAdvance(badgeText()), digit * digits) + 8;
}

QSizeF FilterChip::badgeSize() const
{
    if (!m_count)
        return {};
    return {badgeWidth(badgeText().size()), QFontMetricsF(Typo::caption()).height() + 2};
}

qreal FilterChip::contentWidth(qreal badge) const
{
    qreal w = QFontMetricsF(font()).horizontalAdvance(m_title);
    if (m_icon)
        w += kIcon + Space::xs;
    if (badge > 0)
        w += Space::xs + badge;
    return w;
}

QSize FilterChip::sizeHint() const
{
    qreal badge = badgeSize().width();
    if (m_countDigits > 0)
        badge = std::max(badge, badgeWidth(m_countDigits));
    return QSize(int(std::ceil(2 * kPad + contentWidth(badge))), int(kHeight));
}

void FilterChip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    p.fillPath(Squircle::path(r, Radius::pill), capsuleFill());
    p.setPen(QPen(borderColor(), Stroke::hairline));
    p.drawPath(Squircle::strokePath(r, Radius::pill, Stroke::hairline));

    const QColor ink = labelColor();
    qreal x = std::max(kPad, (r.width() - contentWidth(badgeSize().width())) / 2);
    if (m_icon) {
        Symbols::paint(p, *m_icon, QRectF(x, 0, kIcon, r.height()), kIcon, ink);
        x += kIcon + Space::xs;
    }
    const QFontMetricsF fm(font());
    p.setFont(font());
    p.setPen(ink);
    const qreal titleWidth = fm.horizontalAdvance(m_title);
    p.drawText(QRectF(x, 0, titleWidth + 1, r.height()), Qt::AlignLeft | Qt::AlignVCenter, m_title);
    x += titleWidth;
    if (m_count) {
        x += Space::xs;
        const QSizeF bs = badgeSize();
        const QRectF badge(x, (r.height() - bs.height()) / 2, bs.width(), bs.height());
        p.setPen(Qt::NoPen);
        p.fillPath(Squircle::path(badge, Radius::pill), badgeFill());
        p.setFont(Typo::caption());
        p.setPen(badgeTextColor());
        p.drawText(badge, Qt::AlignCenter, badgeText());
    }
    FocusRing::paintIfShown(p, this, r, Radius::pill);
}
